#include "study/optimo.h"

#include "shell/errores.h"
#include "study/efectivo.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr int kPuntos = 2001;
constexpr double kOro = 0.6180339887498949; // (√5 − 1) / 2
} // namespace

std::optional<MediaOptima> buscaMediaOptima(const Cajas& cajas, TablaNormal& tabla, double sigma,
                                            const FormaProceso* forma) {
    const CajasInstantanea c(cajas);
    const double desde = c.estricto(Caja::XDesI), hasta = c.estricto(Caja::XDesS);
    if (!(hasta > desde))
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("El límite de desperdicio inferior debe ser menor que el "
                                        "superior para buscar la media óptima"));
    // All scrap counts as the dearest possible, so that the search never settles there.
    auto costo = [&](double mu) {
        const double ce = calculaEfectivo(c, tabla, mu, sigma, forma).efectivo;
        return ce == kTodoDesperdicio ? HUGE_VAL : ce;
    };
    const double paso = (hasta - desde) / (kPuntos - 1);
    std::vector<double> valores(kPuntos);
    for (int i = 0; i < kPuntos; ++i)
        valores[std::size_t(i)] = costo(desde + paso * i);

    // The cost is piecewise and may dip more than once: every cell that is a local minimum of
    // the scan is refined by golden section over its two neighbours, and the best one kept.
    const double tolerancia = (hasta - desde) * 1e-6;
    std::optional<MediaOptima> mejor;
    for (int i = 0; i < kPuntos; ++i) {
        const double v = valores[std::size_t(i)];
        // A flat stretch is refined once, from its first point.
        if (!std::isfinite(v) || (i > 0 && valores[std::size_t(i - 1)] <= v) ||
            (i + 1 < kPuntos && valores[std::size_t(i + 1)] < v))
            continue;
        double a = desde + paso * std::max(0, i - 1),
               b = desde + paso * std::min(kPuntos - 1, i + 1);
        double x1 = b - kOro * (b - a), x2 = a + kOro * (b - a);
        double f1 = costo(x1), f2 = costo(x2);
        while (b - a > tolerancia) {
            if (f1 <= f2) {
                b = x2, x2 = x1, f2 = f1;
                x1 = b - kOro * (b - a), f1 = costo(x1);
            } else {
                a = x1, x1 = x2, f1 = f2;
                x2 = a + kOro * (b - a), f2 = costo(x2);
            }
        }
        // The scan's own point competes too: a step of the cost may sit at the cell's edge.
        double m = (a + b) / 2, fm = costo(m);
        if (v < fm)
            m = desde + paso * i, fm = v;
        if (!mejor || fm < mejor->efectivo)
            mejor = MediaOptima{m, fm, m, m};
    }
    if (!mejor)
        return mejor;
    mejor->desde = mejor->hasta = mejor->media;

    // The least cost held over a range: its ends, between the scan's last point inside and first
    // outside, by bisection; then its middle.
    const double margen = std::fabs(mejor->efectivo) * 1e-12;
    auto dentro = [&](double x) { return costo(x) <= mejor->efectivo + margen; };
    auto extremo = [&](double en, double fuera) {
        while (std::fabs(fuera - en) > tolerancia / 1000) {
            const double m = (en + fuera) / 2;
            (dentro(m) ? en : fuera) = m;
        }
        return en;
    };
    auto enElMinimo = [&](int k) {
        return k >= 0 && k < kPuntos && valores[std::size_t(k)] <= mejor->efectivo + margen;
    };
    int a = std::clamp(int(std::lround((mejor->media - desde) / paso)), 0, kPuntos - 1);
    if (!enElMinimo(a)) // the nearest cell may lie just past an edge of the stretch
        a = enElMinimo(a + 1) ? a + 1 : a - 1;
    int b = a;
    while (enElMinimo(a) && enElMinimo(a - 1))
        --a;
    while (enElMinimo(b) && enElMinimo(b + 1))
        ++b;
    if (enElMinimo(a) && b > a) {
        mejor->desde = a > 0 ? extremo(desde + paso * a, desde + paso * (a - 1)) : desde;
        mejor->hasta = b + 1 < kPuntos ? extremo(desde + paso * b, desde + paso * (b + 1)) : hasta;
        mejor->media = (mejor->desde + mejor->hasta) / 2;
        mejor->efectivo = std::min(mejor->efectivo, costo(mejor->media));
    }
    // The cost steps wherever an interval's centre crosses a limit, and the least cost often
    // lies right at such a step: the mean is given with the fewest decimals that keep it (and,
    // in a range, keep it inside).
    for (int d = 0; d <= 12; ++d) {
        const double escala = std::pow(10.0, d);
        const double r = std::round(mejor->media * escala) / escala;
        if (r < desde || r > hasta || (mejor->plano() && (r < mejor->desde || r > mejor->hasta)))
            continue;
        if (mejor->plano() && std::fabs(r - mejor->media) > (mejor->hasta - mejor->desde) / 20)
            continue;
        const double fr = costo(r);
        if (fr <= mejor->efectivo + 1e-12 * std::fabs(mejor->efectivo)) {
            mejor->media = r;
            mejor->efectivo = std::min(fr, mejor->efectivo);
            return mejor;
        }
    }
    return mejor;
}
