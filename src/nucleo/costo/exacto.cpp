#include "costo/exacto.h"

#include "costo/efectivo.h"
#include "estudio/forma.h"
#include "estudio/zonas.h"
#include "numeros/numeros.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <cmath>

bool CostoExacto::todoDesperdicio() const {
    return efectivo == kTodoDesperdicio;
}

namespace {
// The standardised distribution: its two tails, the share of an interval from the nearer tail
// (so that a small one keeps its digits), and E[(σZ + d)² over an interval], the Taguchi loss's
// partial moment.
class Distribucion {
public:
    explicit Distribucion(const FormaProceso* forma) : forma_(forma) {}

    double bajo(double z) const {
        if (std::isinf(z))
            return z < 0 ? 0.0 : 1.0;
        return forma_ ? recuerda(z, false, [&] { return forma_->cdf(z); })
                      : boost::math::cdf(normal_, z);
    }
    double alto(double z) const {
        if (std::isinf(z))
            return z < 0 ? 1.0 : 0.0;
        return forma_ ? recuerda(z, true, [&] { return forma_->cola(z); })
                      : boost::math::cdf(boost::math::complement(normal_, z));
    }
    // P(z1 ≤ Z < z2).
    double area(double z1, double z2) const {
        if (!(z2 > z1))
            return 0;
        if (z2 <= 0)
            return bajo(z2) - bajo(z1);
        if (z1 >= 0)
            return alto(z1) - alto(z2);
        return 1 - bajo(z1) - alto(z2);
    }
    double densidad(double z) const {
        if (std::isinf(z))
            return 0;
        return forma_ ? forma_->densidad(z) : std::exp(-z * z / 2) / std::sqrt(2 * M_PI);
    }
    // E[(σZ + d) over an interval], the first partial moment, which the slope of the Taguchi
    // loss's expectation needs.
    double momento1(double z1, double z2, double sigma, double d) const {
        if (!(z2 > z1))
            return 0;
        if (!forma_)
            return sigma * (densidad(z1) - densidad(z2)) + d * area(z1, z2);
        const double masa = area(z1, z2);
        const FormaProceso::Parciales m = forma_->parciales(z1, z2, masa);
        return sigma * m.primero + d * masa;
    }
    double momento2(double z1, double z2, double sigma, double d) const {
        if (!(z2 > z1))
            return 0;
        if (!forma_) {
            auto fi = [](double z) {
                return std::isinf(z) ? 0.0 : std::exp(-z * z / 2) / std::sqrt(2 * M_PI);
            };
            auto zfi = [&](double z) { return std::isinf(z) ? 0.0 : z * fi(z); };
            const double m0 = area(z1, z2), m1 = fi(z1) - fi(z2);
            const double m2 = m0 + zfi(z1) - zfi(z2);
            return sigma * sigma * m2 + 2 * sigma * d * m1 + d * d * m0;
        }
        const double masa = area(z1, z2);
        const FormaProceso::Parciales m = forma_->parciales(z1, z2, masa);
        return sigma * sigma * m.segundo + 2 * sigma * d * m.primero + d * d * masa;
    }

private:
    // A Pearson tail costs microseconds and each limit's is asked for several times: by the
    // regions on either side of it and by the Taguchi loss's moments.
    template <typename F> double recuerda(double z, bool arriba, F&& calcula) const {
        for (int i = 0; i < recordados_; ++i)
            if (memoria_[i].z == z && memoria_[i].arriba == arriba)
                return memoria_[i].valor;
        const double v = calcula();
        if (recordados_ < kMemoria)
            memoria_[recordados_++] = {z, arriba, v};
        return v;
    }

    const FormaProceso* forma_;
    boost::math::normal normal_;
    static constexpr int kMemoria = 12;
    mutable struct {
        double z;
        bool arriba;
        double valor;
    } memoria_[kMemoria];
    mutable int recordados_ = 0;
};

// The Taguchi loss's factor on one side: the side's rework cost at its rework limit, so that the
// loss is k (x − target)²; 0 where the Part's parabola degenerates (no cost, or the limit on the
// target).
double factorTaguchi(double objetivo, double limite, double costo) {
    const double p = ParabolaA(objetivo, 0, limite, costo);
    return p != 0 ? 1 / (4 * p) : 0;
}
} // namespace

CostoExacto costoExacto(const Cajas& c, double mu, double sigma, const FormaProceso* forma,
                        bool conDerivada) {
    const Limites l = limitesDe(c);
    const double yDesI = c.flexible(Caja::YDesI), yRetI = c.flexible(Caja::YRetI);
    const double yRetS = c.flexible(Caja::YRetS), yDesS = c.flexible(Caja::YDesS);
    const bool taguchi = c.taguchi() == 1;
    const double kI = taguchi ? factorTaguchi(l.obj, l.retI, yRetI) : 0;
    const double kS = taguchi ? factorTaguchi(l.obj, l.retS, yRetS) : 0;
    // The nominal line's slope: its expectation is its value at the mean.
    const double yNomI = c.flexible(Caja::YNomI), yNomS = c.flexible(Caja::YNomS);
    const double pendiente = div(yNomS - yNomI, c.flexible(Caja::xb) - c.flexible(Caja::xa));

    // The shares of the six regions of the cost, and the Taguchi loss of the two middle ones.
    double p[6], tag, derivadaExtra = 0, derivadaBuenas = 0;
    const double d = mu - l.obj;
    if (sigma == 0) {
        const Zona z = zonaDe(mu, l);
        const bool abajo = mu < l.obj;
        for (double& x : p)
            x = 0;
        switch (z) {
        case Zona::DesperdicioInferior:
            p[0] = 1;
            break;
        case Zona::RetrabajoInferior:
            p[1] = 1;
            break;
        case Zona::Dentro:
            p[abajo ? 2 : 3] = 1;
            break;
        case Zona::RetrabajoSuperior:
            p[4] = 1;
            break;
        case Zona::DesperdicioSuperior:
            p[5] = 1;
            break;
        }
        tag = z == Zona::Dentro ? (abajo ? kI : kS) * d * d : 0;
    } else {
        const Distribucion dist(forma);
        const double inf = std::numeric_limits<double>::infinity();
        const double corte[7] = {-inf,
                                 (l.desI - mu) / sigma,
                                 (l.retI - mu) / sigma,
                                 (l.obj - mu) / sigma,
                                 (l.retS - mu) / sigma,
                                 (l.desS - mu) / sigma,
                                 inf};
        for (int i = 0; i < 6; ++i)
            p[i] = dist.area(corte[i], corte[i + 1]);
        tag = kI * dist.momento2(corte[2], corte[3], sigma, d) +
              kS * dist.momento2(corte[3], corte[4], sigma, d);
        if (conDerivada) {
            // Moving the mean slides the distribution past the limits: each step of the cost
            // weighs the density at its limit; inside, the Taguchi loss grows by 2k(x − target),
            // and its parabola ends where a region begins (l − target)² k.
            const double constante[6] = {yDesI, yRetI, 0, 0, yRetS, yDesS};
            double f[7];
            for (int j = 0; j < 7; ++j)
                f[j] = dist.densidad(corte[j]);
            for (int j = 1; j < 6; ++j)
                derivadaExtra += f[j] * (constante[j] - constante[j - 1]) / sigma;
            derivadaExtra += kI * (2 * dist.momento1(corte[2], corte[3], sigma, d) +
                                   (l.retI - l.obj) * (l.retI - l.obj) * f[2] / sigma) +
                             kS * (2 * dist.momento1(corte[3], corte[4], sigma, d) -
                                   (l.retS - l.obj) * (l.retS - l.obj) * f[4] / sigma);
            derivadaBuenas = (f[1] - f[5]) / sigma;
        }
    }

    CostoExacto r;
    r.nominal = YNominal(c, l.obj);
    r.desperdicio = p[0] + p[5];
    r.retrabajo = p[1] + p[4];
    if (r.desperdicio >= 0.995) {
        r.efectivo = kTodoDesperdicio;
        return r;
    }
    const double buenas = 1 - r.desperdicio;
    const double extraDesperdicio = yDesI * p[0] + yDesS * p[5];
    const double extraRetrabajo = yRetI * p[1] + yRetS * p[4];
    const double nominalMedio = YNominal(c, mu); // E of a straight line: its value at the mean
    r.efectivo = revisa((nominalMedio + extraDesperdicio + extraRetrabajo + tag) / buenas);
    r.parteDesperdicio = (extraDesperdicio + r.nominal * r.desperdicio) / buenas;
    r.parteRetrabajo = extraRetrabajo / buenas;
    r.parteFueraDeObjetivo = (tag + pendiente * d) / buenas;
    if (conDerivada && sigma > 0) {
        const double total = nominalMedio + extraDesperdicio + extraRetrabajo + tag;
        r.derivada =
            ((pendiente + derivadaExtra) * buenas - total * derivadaBuenas) / (buenas * buenas);
    }
    return r;
}
