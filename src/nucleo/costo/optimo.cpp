#include "costo/optimo.h"

#include "costo/efectivo.h"
#include "costo/exacto.h"
#include "estudio/modeloestudio.h"
#include "estudio/zonas.h"
#include "numeros/errores.h"

#include <algorithm>
#include <boost/math/tools/minima.hpp>
#include <boost/math/tools/roots.hpp>
#include <cmath>
#include <iterator>
#include <vector>

namespace {
constexpr int kPuntos = 201;
} // namespace

std::optional<MediaOptima> buscaMediaOptima(const Cajas& cajas, double sigma,
                                            const FormaProceso* forma) {
    const CajasInstantanea c(cajas);
    compruebaLimites(limitesDe(c));
    const double desde = c.estricto(Caja::XDesI), hasta = c.estricto(Caja::XDesS);
    if (!(hasta > desde))
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("El límite de desperdicio inferior debe ser menor que el "
                                        "superior para buscar la media óptima"));
    // All scrap counts as the dearest possible, so that the search never settles there.
    auto costo = [&](double mu) {
        const CostoExacto r = costoExacto(c, mu, sigma, forma);
        return r.todoDesperdicio() ? HUGE_VAL : r.efectivo;
    };
    auto derivada = [&](double mu) { return costoExacto(c, mu, sigma, forma, true).derivada; };
    const double paso = (hasta - desde) / (kPuntos - 1);
    std::vector<double> valores(kPuntos);
    for (int i = 0; i < kPuntos; ++i)
        valores[std::size_t(i)] = costo(desde + paso * i);

    // The cost may dip more than once: every cell that is a local minimum of the scan is
    // searched, by Brent's minimisation on the cost's values, and the best kept. Where σ > 0 the
    // cost is smooth and its slope known: the minimum is then the slope's root, bracketed
    // around Brent's answer and found (TOMS 748) to the last digits.
    std::optional<MediaOptima> mejor;
    for (int i = 0; i < kPuntos; ++i) {
        const double v = valores[std::size_t(i)];
        // A flat stretch is searched once, from its first point.
        if (!std::isfinite(v) || (i > 0 && valores[std::size_t(i - 1)] <= v) ||
            (i + 1 < kPuntos && valores[std::size_t(i + 1)] < v))
            continue;
        const double a = desde + paso * std::max(0, i - 1),
                     b = desde + paso * std::min(kPuntos - 1, i + 1);
        double m = desde + paso * i, fm = v;
        const auto minimo = boost::math::tools::brent_find_minima(costo, a, b, 40);
        if (minimo.second < fm)
            m = minimo.first, fm = minimo.second;
        // Near a smooth minimum the cost is flat to the square root of the precision: the last
        // digits come from its slope, which changes sign there.
        const double cerca = std::max(std::fabs(m), hasta - desde) * 1e-6;
        const double lo = std::max(a, m - cerca), hi = std::min(b, m + cerca);
        if (sigma > 0) {
            const double dlo = derivada(lo), dhi = derivada(hi);
            if (dlo < 0 && dhi > 0) {
                std::uintmax_t iteraciones = 200;
                const auto raiz = boost::math::tools::toms748_solve(
                    derivada, lo, hi, dlo, dhi, boost::math::tools::eps_tolerance<double>(50),
                    iteraciones);
                const double x = (raiz.first + raiz.second) / 2, fx = costo(x);
                if (fx <= fm)
                    m = x, fm = fx;
            }
        }
        if (!mejor || fm < mejor->efectivo)
            mejor = MediaOptima{m, fm, m, m};
    }
    // A zone narrower than the scan's step can hold the least cost with no point of the scan in
    // it: each zone between two limits is also searched from its middle.
    const double limites[] = {desde, c.estricto(Caja::XRetI), c.estricto(Caja::XObj),
                              c.estricto(Caja::XRetS), hasta};
    for (std::size_t k = 0; k + 1 < std::size(limites); ++k) {
        const double a = std::max(desde, limites[k]), b = std::min(hasta, limites[k + 1]);
        if (!(b - a < paso))
            continue;
        const auto minimo = boost::math::tools::brent_find_minima(costo, a, b, 40);
        if (std::isfinite(minimo.second) && (!mejor || minimo.second < mejor->efectivo))
            mejor = MediaOptima{minimo.first, minimo.second, minimo.first, minimo.first};
    }
    if (!mejor)
        return mejor;

    // The least cost held over a range (a process without spread, or tails too thin to matter
    // there): its ends, between the scan's last point inside and first outside, by bisection;
    // then its middle, which a tiny change of the spread cannot move.
    const double tolerancia = (hasta - desde) * 1e-9;
    const double margen = std::fabs(mejor->efectivo) * 1e-12;
    auto dentro = [&](double x) { return costo(x) <= mejor->efectivo + margen; };
    auto extremo = [&](double en, double fuera) {
        while (std::fabs(fuera - en) > tolerancia) {
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
    return mejor;
}
