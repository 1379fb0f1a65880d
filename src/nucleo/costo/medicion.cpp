#include "costo/medicion.h"

#include "costo/efectivo.h"
#include "costo/exacto.h"
#include "estudio/forma.h"
#include "estudio/zonas.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"

#include <algorithm>
#include <array>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/tools/minima.hpp>
#include <cmath>
#include <limits>
#include <vector>

Aceptacion aceptacionDeLimites(const Cajas& c) {
    const Limites l = limitesDe(c);
    return {l.desI, l.retI, l.retS, l.desS};
}

Aceptacion aceptacionDe(const Cajas& c) {
    return c.aceptacion().isEmpty() ? aceptacionDeLimites(c) : leeAceptacion(c.aceptacion());
}

QString textoDeAceptacion(const Aceptacion& a) {
    QStringList t;
    for (double v : {a.desI, a.retI, a.retS, a.desS})
        t << QString::number(v, 'g', 17);
    return t.join(QLatin1Char(';'));
}

Aceptacion leeAceptacion(const QString& texto) {
    const QStringList partes = texto.split(QLatin1Char(';'));
    double v[4] = {};
    bool bien = partes.size() == 4;
    for (int i = 0; i < 4 && bien; ++i) {
        v[i] = partes[i].trimmed().toDouble(&bien);
        bien = bien && std::isfinite(v[i]) && (i == 0 || v[i] >= v[i - 1]);
    }
    if (!bien)
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("Los límites de aceptación «%1» no son cuatro números en "
                                        "orden")
                             .arg(texto.left(80)));
    return {v[0], v[1], v[2], v[3]};
}

Instrumento instrumentoDe(const Cajas& c) {
    auto lee = [&](Caja k) { return c.texto(k).trimmed().isEmpty() ? 0.0 : c.estricto(k); };
    return {lee(Caja::DesvMedicion), lee(Caja::CostoEscape)};
}

bool conErrorDeMedicion(const Cajas& c) {
    return instrumentoDe(c).sigma > 0 || !c.aceptacion().isEmpty();
}

namespace {
// The sums one pass of quadrature gathers, so that the density and the gauge's probabilities at a
// point are worked out once for all of them.
enum Suma {
    DecideDesI,
    DecideRetI,
    DecideEnvio,
    DecideRetS,
    DecideDesS,
    ExtraEnviado, // the shipped units' cost above nominal, escape included
    CostoBuenasDes,
    CostoBuenasRet,
    BuenasDes,
    BuenasRet,
    MalasEnv,
    RetEnv,
    MalasRet,      // bad units reworked in vain, then scrapped
    ExtraMalasRet, // their scrap cost
    kSumas
};

// The integrand's value, with the arithmetic Boost's Gauss–Kronrod asks of it; its size is its
// largest component, so that the tolerance holds for every sum (the money ones scaled to ~1).
struct Vector {
    std::array<double, kSumas> v{};
    Vector(double x = 0) { v.fill(x); }
    Vector& operator+=(const Vector& o) {
        for (int i = 0; i < kSumas; ++i)
            v[i] += o.v[i];
        return *this;
    }
    friend Vector operator+(Vector a, const Vector& b) { return a += b; }
    friend Vector operator-(Vector a, const Vector& b) {
        for (int i = 0; i < kSumas; ++i)
            a.v[i] -= b.v[i];
        return a;
    }
    friend Vector operator-(Vector a) { return a * -1.0; }
    friend Vector operator*(Vector a, double k) {
        for (double& x : a.v)
            x *= k;
        return a;
    }
    friend Vector operator*(double k, const Vector& a) { return a * k; }
    friend double abs(const Vector& a) {
        double m = 0;
        for (double x : a.v)
            m = std::max(m, std::fabs(x));
        return m;
    }
};

// Φ(u) and 1 − Φ(u), each from its own tail so that neither loses its digits.
struct Colas2 {
    double bajo, alto;
};
Colas2 normal(double u) {
    const double t = 0.5 * std::erfc(std::fabs(u) / std::sqrt(2.0));
    return u <= 0 ? Colas2{t, 1 - t} : Colas2{1 - t, t};
}
double entre(const Colas2& a, const Colas2& b, double ua, double ub) {
    if (ub <= 0)
        return b.bajo - a.bajo;
    if (ua >= 0)
        return a.alto - b.alto;
    return 1 - a.bajo - b.alto;
}

enum class Region { MalaI, RetI, Buena, RetS, MalaS };

class Evaluador {
public:
    Evaluador(const Cajas& c, double mu, double sigma, const FormaProceso* forma, double sm,
              double escape)
        : c_(c), mu_(mu), sigma_(sigma), forma_(forma), sm_(sm), escape_(escape), l_(limitesDe(c)) {
        yDesI_ = c.flexible(Caja::YDesI), yRetI_ = c.flexible(Caja::YRetI);
        yRetS_ = c.flexible(Caja::YRetS), yDesS_ = c.flexible(Caja::YDesS);
        if (c.taguchi() == 1) {
            kI_ = factorTaguchi(l_.obj, l_.retI, yRetI_);
            kS_ = factorTaguchi(l_.obj, l_.retS, yRetS_);
        }
        const double yNomI = c.flexible(Caja::YNomI), yNomS = c.flexible(Caja::YNomS);
        const double xa = c.flexible(Caja::xa);
        pendiente_ = div(yNomS - yNomI, c.flexible(Caja::xb) - xa);
        ordenada_ = yNomI - xa * pendiente_;
        escala_ = std::max({1.0, std::fabs(yDesI_), std::fabs(yRetI_), std::fabs(yRetS_),
                            std::fabs(yDesS_), std::fabs(escape), std::fabs(YNominal(c, mu))});
        // Where the process holds all but 1e-12 of its production.
        // A finite end of the support is kept exactly: the density may be infinite there.
        double zI = -7.5, zS = 7.5;
        if (forma) {
            extremoI_ = std::isfinite(forma->minimo());
            extremoS_ = std::isfinite(forma->maximo());
            zI = extremoI_ ? forma->minimo() : forma->cuantil(1e-13);
            zS = extremoS_ ? forma->maximo() : forma->cuantil(1 - 1e-13);
        }
        xI_ = mu + sigma * zI;
        xS_ = mu + sigma * zS;
        // What lies beyond: a far tail, or the share a density infinite at its end puts within a
        // rounding of it (a U-shaped type I can hold 0.1 % there).
        masaI_ = forma ? forma->cdf(zI) : 0.5 * std::erfc(-zI / std::sqrt(2.0));
        masaS_ = forma ? forma->cola(zS) : 0.5 * std::erfc(zS / std::sqrt(2.0));
    }

    double xInferior() const { return xI_; }
    double xSuperior() const { return xS_; }

    CostoMedicion evalua(const Aceptacion& a) const {
        Vector s;
        if (sigma_ == 0) {
            const double d[4] = {a.desI - mu_, a.retI - mu_, a.retS - mu_, a.desS - mu_};
            s = integrando(mu_, d, 0, regionDe(mu_), 1);
        } else {
            std::vector<double> cortes = {xI_,     xS_,    (xI_ + xS_) / 2, l_.desI,
                                          l_.retI, l_.obj, l_.retS,         l_.desS};
            const double lim[4] = {a.desI, a.retI, a.retS, a.desS};
            // The gauge's probabilities turn from 0 to 1 within a few σm of each acceptance limit.
            for (double x : lim)
                for (double k : {-8.0, -3.0, 0.0, 3.0, 8.0})
                    cortes.push_back(x + k * sm_);
            for (double xe : {xI_, xS_}) {
                const double d[4] = {a.desI - xe, a.retI - xe, a.retS - xe, a.desS - xe};
                s += integrando(xe, d, 0, regionDe(xe), xe == xI_ ? masaI_ : masaS_);
            }
            std::sort(cortes.begin(), cortes.end());
            const auto fin = std::unique(cortes.begin(), cortes.end());
            double x0 = xI_;
            for (auto it = cortes.begin(); it != fin; ++it) {
                const double x1 = std::min(*it, xS_);
                if (x1 <= x0)
                    continue;
                const Region r = regionDe((x0 + x1) / 2);
                // Offsets from the piece's start, so that a gauge far finer than the values
                // still sees its limits sharply; over [0, 1], for Boost measures its error on
                // that scale, whatever the piece's width.
                const double d[4] = {a.desI - x0, a.retI - x0, a.retS - x0, a.desS - x0};
                const double h = x1 - x0;
                // Next to an end where the density may be infinite, the quadrature only takes
                // what the integrand adds to its value at that end, whose weight is the piece's
                // exact share of the production.
                const bool enI = extremoI_ && x0 == xI_, enS = !enI && extremoS_ && x1 == xS_;
                Vector base;
                if (enI || enS) {
                    const double xe = enI ? x0 : x1;
                    base = integrando(xe, d, xe - x0, r, 1);
                    s += base * forma_->area((x0 - mu_) / sigma_, (x1 - mu_) / sigma_);
                }
                // And it draws its points towards that end, t = h u⁴, where the density changes
                // fastest.
                auto g = [&](double u) {
                    const double u3 = u * u * u;
                    const double t = enI ? h * u3 * u : enS ? h * (1 - u3 * u) : h * u;
                    const double w = densidad(x0 + t);
                    return (integrando(x0 + t, d, t, r, w) - base * w) *
                           (enI || enS ? 4 * u3 : 1.0);
                };
                s += h * boost::math::quadrature::gauss_kronrod<double, 15>::integrate(g, 0.0, 1.0,
                                                                                       12, 1e-11);
                x0 = x1;
            }
        }
        const auto& v = s.v;
        CostoMedicion r;
        // No rework mends a unit beyond the scrap limits: reworked, it is scrapped after all.
        r.desperdicio = v[DecideDesI] + v[DecideDesS] + v[MalasRet];
        r.retrabajo = v[DecideRetI] + v[DecideRetS];
        r.buenasDesechadas = v[BuenasDes];
        r.buenasRetrabajadas = v[BuenasRet];
        r.malasEnviadas = v[MalasEnv];
        r.retrabajoEnviado = v[RetEnv];
        if (r.desperdicio >= 0.995) {
            r.efectivo = kTodoDesperdicio;
            return r;
        }
        const double buenas = 1 - r.desperdicio;
        // The nominal line's expectation is its value at the mean.
        const double total = YNominal(c_, mu_) + yDesI_ * v[DecideDesI] + yRetI_ * v[DecideRetI] +
                             yRetS_ * v[DecideRetS] + yDesS_ * v[DecideDesS] +
                             escala_ * (v[ExtraEnviado] + v[ExtraMalasRet]);
        r.efectivo = revisa(total / buenas);
        r.costoBuenasDesechadas = escala_ * v[CostoBuenasDes] / buenas;
        r.costoBuenasRetrabajadas = escala_ * v[CostoBuenasRet] / buenas;
        r.costoMalasEnviadas = escape_ * r.malasEnviadas / buenas;
        return r;
    }

private:
    static double factorTaguchi(double objetivo, double limite, double costo) {
        const double p = ParabolaA(objetivo, 0, limite, costo);
        return p != 0 ? 1 / (4 * p) : 0;
    }

    Region regionDe(double x) const {
        if (x < l_.desI)
            return Region::MalaI;
        if (x < l_.retI)
            return Region::RetI;
        if (x < l_.retS)
            return Region::Buena;
        if (x < l_.desS)
            return Region::RetS;
        return Region::MalaS;
    }

    double densidad(double x) const {
        const double z = (x - mu_) / sigma_;
        if (!forma_)
            return std::exp(-z * z / 2) / (sigma_ * std::sqrt(2 * M_PI));
        return forma_->densidad(z) / sigma_;
    }

    // The sums' integrand at true value x = x0 + t, in true region r, weighed by w; d holds the
    // acceptance limits less x0.
    Vector integrando(double x, const double d[4], double t, Region r, double w) const {
        Vector s;
        if (w == 0)
            return s;
        double p[5];
        if (sm_ > 0) {
            const double u[4] = {(d[0] - t) / sm_, (d[1] - t) / sm_, (d[2] - t) / sm_,
                                 (d[3] - t) / sm_};
            const Colas2 f[4] = {normal(u[0]), normal(u[1]), normal(u[2]), normal(u[3])};
            p[0] = f[0].bajo;
            for (int j = 0; j < 3; ++j)
                p[j + 1] = std::max(0.0, entre(f[j], f[j + 1], u[j], u[j + 1]));
            p[4] = f[3].alto;
        } else {
            p[0] = t < d[0];
            p[1] = d[0] <= t && t < d[1];
            p[2] = d[1] <= t && t <= d[2];
            p[3] = d[2] < t && t <= d[3];
            p[4] = t > d[3];
        }
        auto& v = s.v;
        for (int j = 0; j < 5; ++j)
            v[DecideDesI + j] = w * p[j];
        double extra = 0;
        switch (r) {
        case Region::MalaI:
            extra = yDesI_ + escape_;
            v[MalasEnv] = w * p[2];
            v[MalasRet] = w * (p[1] + p[3]);
            v[ExtraMalasRet] = v[MalasRet] * yDesI_ / escala_;
            break;
        case Region::RetI:
            extra = yRetI_;
            v[RetEnv] = w * p[2];
            break;
        case Region::Buena: {
            const double d = x - l_.obj;
            extra = (x < l_.obj ? kI_ : kS_) * d * d;
            const double nominal = pendiente_ * x + ordenada_;
            v[CostoBuenasDes] =
                w * (p[0] * (nominal + yDesI_) + p[4] * (nominal + yDesS_)) / escala_;
            v[CostoBuenasRet] = w * (p[1] * yRetI_ + p[3] * yRetS_) / escala_;
            v[BuenasDes] = w * (p[0] + p[4]);
            v[BuenasRet] = w * (p[1] + p[3]);
            break;
        }
        case Region::RetS:
            extra = yRetS_;
            v[RetEnv] = w * p[2];
            break;
        case Region::MalaS:
            extra = yDesS_ + escape_;
            v[MalasEnv] = w * p[2];
            v[MalasRet] = w * (p[1] + p[3]);
            v[ExtraMalasRet] = v[MalasRet] * yDesS_ / escala_;
            break;
        }
        v[ExtraEnviado] = w * p[2] * extra / escala_;
        return s;
    }

    const Cajas& c_;
    double mu_, sigma_;
    const FormaProceso* forma_;
    double sm_, escape_;
    Limites l_;
    double yDesI_, yRetI_, yRetS_, yDesS_, kI_ = 0, kS_ = 0, pendiente_, ordenada_, escala_;
    double xI_, xS_;
    double masaI_, masaS_;
    bool extremoI_ = false, extremoS_ = false;
};

void compruebaArgumentos(double sigmaMedicion, double costoEscape) {
    if (!std::isfinite(sigmaMedicion) || sigmaMedicion < 0)
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("La desviación estándar de la medición debe ser un "
                                        "número finito no negativo."));
    if (!std::isfinite(costoEscape))
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("El costo de escape debe ser un número finito."));
}

bool mismos(const Aceptacion& a, const Aceptacion& b) {
    return a.desI == b.desI && a.retI == b.retI && a.retS == b.retS && a.desS == b.desS;
}
} // namespace

std::optional<CostoMedicion> costoMedidoDe(const Cajas& c, double mu, double sigma,
                                           const FormaProceso* forma) {
    if (!conErrorDeMedicion(c))
        return std::nullopt;
    const Instrumento g = instrumentoDe(c);
    return costoConMedicion(c, mu, sigma, forma, g.sigma, g.escape, aceptacionDe(c));
}

CostoMedicion costoConMedicion(const Cajas& c, double mu, double sigma, const FormaProceso* forma,
                               double sigmaMedicion, double costoEscape, const Aceptacion& a) {
    compruebaArgumentos(sigmaMedicion, costoEscape);
    const CajasInstantanea cajas(c);
    // A perfect gauge at the study's limits decides as the study does: its closed form, exactly.
    if (sigmaMedicion == 0 && mismos(a, aceptacionDeLimites(cajas))) {
        const CostoExacto e = costoExacto(cajas, mu, sigma, forma);
        CostoMedicion r;
        r.efectivo = e.efectivo;
        r.desperdicio = e.desperdicio;
        r.retrabajo = e.retrabajo;
        return r;
    }
    return Evaluador(cajas, mu, sigma, forma, sigmaMedicion, costoEscape).evalua(a);
}

std::optional<Aceptacion> aceptacionOptima(const Cajas& c, double mu, double sigma,
                                           const FormaProceso* forma, double sigmaMedicion,
                                           double costoEscape) {
    compruebaArgumentos(sigmaMedicion, costoEscape);
    const CajasInstantanea cajas(c);
    const Evaluador ev(cajas, mu, sigma, forma, sigmaMedicion, costoEscape);
    Aceptacion a = aceptacionDeLimites(cajas);
    auto costo = [&](const Aceptacion& x) {
        const double e = ev.evalua(x).efectivo;
        return e == kTodoDesperdicio ? std::numeric_limits<double>::max() : e;
    };
    double actual = costo(a);
    if (actual == std::numeric_limits<double>::max())
        return std::nullopt;
    // Beyond these the gauge's decisions no longer change.
    const double fuera = 8 * sigmaMedicion + 1e-9 * std::max(1.0, std::fabs(mu));
    const double bajo = std::min(ev.xInferior(), a.desI) - fuera;
    const double alto = std::max(ev.xSuperior(), a.desS) + fuera;
    double* limites[4] = {&a.desI, &a.retI, &a.retS, &a.desS};
    for (int vuelta = 0; vuelta < 20; ++vuelta) {
        const double antes = actual;
        for (int i = 0; i < 4; ++i) {
            const double lo = i == 0 ? bajo : *limites[i - 1];
            const double hi = i == 3 ? alto : *limites[i + 1];
            if (!(hi > lo))
                continue;
            Aceptacion prueba = a;
            double* x = i == 0   ? &prueba.desI
                        : i == 1 ? &prueba.retI
                        : i == 2 ? &prueba.retS
                                 : &prueba.desS;
            boost::uintmax_t iteraciones = 60;
            const auto m = boost::math::tools::brent_find_minima(
                [&](double v) {
                    *x = v;
                    return costo(prueba);
                },
                lo, hi, 30, iteraciones);
            // Brent may settle in a worse valley than the one the limit sits in: keep the better.
            if (m.second < actual) {
                *limites[i] = m.first;
                actual = m.second;
            }
        }
        if (std::fabs(antes - actual) <= 1e-10 * std::fabs(actual))
            break;
    }
    return a;
}

QList<QStringList> informeAceptacion(const Cajas& c, double mu, double sigma,
                                     const FormaProceso* forma, const Aceptacion& optima,
                                     std::optional<double> unidades) {
    const Instrumento g = instrumentoDe(c);
    const Aceptacion propios = aceptacionDeLimites(c), actuales = aceptacionDe(c);
    const CostoMedicion antes = costoConMedicion(c, mu, sigma, forma, g.sigma, g.escape, actuales);
    const CostoMedicion despues = costoConMedicion(c, mu, sigma, forma, g.sigma, g.escape, optima);
    const QString kDinero = QStringLiteral("$ 0.0000");
    auto limite = [&](double v) { return formatoConResolucion(v, std::max(g.sigma, 1e-12) / 100); };
    QList<QStringList> f;
    f << QStringList{QStringLiteral("Límites de aceptación óptimos"), c.texto(Caja::txtTitulo)};
    f << QStringList{QStringLiteral("Desv. Std. de la medición"), formatoGeneral(g.sigma)};
    f << QStringList{QStringLiteral("+ Defecto que llega al cliente"), formatea(g.escape, kDinero)};
    f << QStringList();
    f << QStringList{QStringLiteral("Límite"), QStringLiteral("Del estudio (valor verdadero)"),
                     QStringLiteral("De decisión actual (valor medido)"),
                     QStringLiteral("Óptimo (valor medido)")};
    const struct {
        const char* nombre;
        double Aceptacion::*l;
    } limites[] = {{"Desperdicio inferior", &Aceptacion::desI},
                   {"Retrabajo inferior", &Aceptacion::retI},
                   {"Retrabajo superior", &Aceptacion::retS},
                   {"Desperdicio superior", &Aceptacion::desS}};
    for (const auto& k : limites)
        f << QStringList{QString::fromUtf8(k.nombre), limite(propios.*k.l), limite(actuales.*k.l),
                         limite(optima.*k.l)};
    f << QStringList();
    f << QStringList{QString(), QString(), QStringLiteral("Con los límites actuales"),
                     QStringLiteral("Con los óptimos")};
    auto costo = [&](const CostoMedicion& m) {
        return m.efectivo == kTodoDesperdicio ? QStringLiteral("100% Desperdicio")
                                              : formatea(m.efectivo, kDinero);
    };
    f << QStringList{QStringLiteral("Costo efectivo por unidad buena"), QString(), costo(antes),
                     costo(despues)};
    auto fraccion = [](const CostoMedicion& m, double v) {
        return formatea(v / (1 - m.desperdicio), QStringLiteral("0.000 %"));
    };
    f << QStringList{QStringLiteral("Buenas desechadas por unidad buena"), QString(),
                     fraccion(antes, antes.buenasDesechadas),
                     fraccion(despues, despues.buenasDesechadas)};
    f << QStringList{QStringLiteral("Buenas retrabajadas por unidad buena"), QString(),
                     fraccion(antes, antes.buenasRetrabajadas),
                     fraccion(despues, despues.buenasRetrabajadas)};
    f << QStringList{QStringLiteral("Malas enviadas al cliente por unidad buena"), QString(),
                     fraccion(antes, antes.malasEnviadas),
                     fraccion(despues, despues.malasEnviadas)};
    if (antes.efectivo != kTodoDesperdicio && despues.efectivo != kTodoDesperdicio) {
        const double ahorro = antes.efectivo - despues.efectivo;
        f << QStringList{QStringLiteral("Ahorro por unidad buena"), QString(), QString(),
                         formatea(ahorro, kDinero)};
        if (unidades)
            f << QStringList{QStringLiteral("Ahorro por año"), QString(), QString(),
                             formatea(ahorro * *unidades, QStringLiteral("$ 0.00"))};
    }
    return f;
}
