#include "pearson.hpp"

#include "pearson.h"

#include <boost/math/quadrature/exp_sinh.hpp>

#include <cmath>
#include <limits>
#include <memory>
#include <sstream>

namespace tablas {

namespace {

constexpr long double kTolMomentos = 1e-9L;

void comprobarMomentos(Celda celda, const Ajuste& a) {
    const Momentos& m = a.momentos;
    const long double errores[] = {std::fabs(m.media), std::fabs(m.varianza - 1),
                                   std::fabs(m.asimetria - celda.s()),
                                   std::fabs(m.curtosis - celda.k()) / std::fmax(1, celda.k())};
    for (long double e : errores) {
        if (!(e <= kTolMomentos)) {
            std::ostringstream os;
            os << "ajuste tipo " << nombreTipo(a.tipo) << " en s=" << celda.s()
               << " k=" << celda.k() << ": media " << m.media << ", varianza " << m.varianza
               << ", asimetria " << m.asimetria << ", curtosis " << m.curtosis;
            throw FalloAjuste(os.str());
        }
    }
}

// P(X <= x) for type IV integrated in x itself with exp-sinh: a route independent of the
// program's, which integrates over t with u = cot t.
std::function<long double(long double)> cdfEnX(const Ecuacion& e) {
    const long double n1 = e.n1, q0 = e.q0, q1 = e.q1, q2 = e.q2;
    const long double lambda = -q1 / (2 * q2);
    const long double delta = std::sqrt(4 * q0 * q2 - q1 * q1) / (2 * q2);
    const long double m = n1 / (2 * q2);
    const long double nu = (n1 * lambda + q1) / (q2 * delta);
    return [=](long double x) {
        // Not const: Boost 1.74 only offers integrate(f, a, b) on a non-const object.
        static boost::math::quadrature::exp_sinh<long double> es;
        auto logH = [&](long double u) { return -m * std::log1p(u * u) - nu * std::atan(u); };
        const long double uModa = -nu / (2 * m);
        const long double hModa = logH(uModa);
        auto h = [&](long double u) { return std::exp(logH(u) - hModa); };
        const long double inf = std::numeric_limits<long double>::infinity();
        const long double tol = 1e-16L;
        const long double total =
            es.integrate(h, -inf, uModa, tol) + es.integrate(h, uModa, inf, tol);
        const long double u = (x - lambda) / delta;
        return u <= uModa ? es.integrate(h, -inf, u, tol) / total
                          : 1 - es.integrate(h, u, inf, tol) / total;
    };
}

} // namespace

const char* nombreTipo(Tipo tipo) {
    switch (tipo) {
    case Tipo::Imposible:
        return "imposible";
    case Tipo::Normal:
        return "normal";
    case Tipo::I:
        return "I";
    case Tipo::II:
        return "II";
    case Tipo::III:
        return "III";
    case Tipo::IV:
        return "IV";
    case Tipo::V:
        return "V";
    case Tipo::VI:
        return "VI";
    case Tipo::VII:
        return "VII";
    }
    return "?";
}

Ecuacion ecuacion(Celda celda) {
    // b1 = c^2/100 and b2 = (2j + 16)/10, so 100 times each coefficient is an integer.
    const long long c = celda.c, j = celda.j;
    return {200 * j - 200 - 12 * c * c, 80 * j + 640 - 3 * c * c, c * (2 * j + 46),
            40 * j - 280 - 3 * c * c};
}

Tipo elegirTipo(Celda celda) {
    const long long c = celda.c, j = celda.j;
    if (20 * j + 60 - c * c <= 0) // 100 (b2 - b1 - 1) <= 0
        return Tipo::Imposible;
    const Ecuacion e = ecuacion(celda);
    if (c == 0)
        return e.q2 < 0 ? Tipo::II : e.q2 == 0 ? Tipo::Normal : Tipo::VII;
    if (e.q2 == 0)
        return Tipo::III;
    if (e.q2 < 0)
        return Tipo::I;
    const long long disc = e.q1 * e.q1 - 4 * e.q0 * e.q2;
    return disc < 0 ? Tipo::IV : disc == 0 ? Tipo::V : Tipo::VI;
}

Ajuste ajustar(Celda celda) {
    const Tipo tipo = elegirTipo(celda);
    if (tipo == Tipo::Imposible)
        throw FalloAjuste("no hay distribucion con b2 <= b1 + 1");
    const Ecuacion e = ecuacion(celda);
    // The grid's coefficients are exact whole numbers, and so is the type chosen from them.
    const auto d = std::make_shared<const DistribucionPearson>(
        TipoPearson(int(tipo) - 1),
        EcuacionPearson{static_cast<long double>(e.n1), static_cast<long double>(e.q0),
                        static_cast<long double>(e.q1), static_cast<long double>(e.q2)});
    Ajuste a;
    a.tipo = tipo;
    a.cuantil = [d](long double p) { return d->cuantil(p); };
    a.cdfIndependiente = tipo == Tipo::IV ? cdfEnX(e) : [d](long double x) { return d->cdf(x); };
    const MomentosPearson m = d->momentos();
    a.momentos = {m.media, m.varianza, m.asimetria, m.curtosis};
    comprobarMomentos(celda, a);
    return a;
}

long double cuantilComprobado(const Ajuste& a, Celda celda, long double p) {
    const long double x = a.cuantil(p), e = 1e-9L;
    if (!(a.cdfIndependiente(x - e) <= p && p <= a.cdfIndependiente(x + e))) {
        std::ostringstream os;
        os << "cuantil tipo " << nombreTipo(a.tipo) << " en s=" << celda.s() << " k=" << celda.k()
           << ": x(" << p << ") = " << x << " pero F(x) = " << a.cdfIndependiente(x);
        throw FalloAjuste(os.str());
    }
    return x;
}

} // namespace tablas
