#include "pearson.hpp"

#include <boost/math/constants/constants.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/quadrature/exp_sinh.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/tools/roots.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>

#include <cmath>
#include <cstdint>
#include <sstream>

namespace tablas {

namespace {

using Alta = boost::multiprecision::cpp_bin_float_50;
using boost::math::constants::pi;

constexpr long double kTolMomentos = 1e-9L;

// Returns infinity instead of throwing, where an infinite density just means "skip this".
const boost::math::policies::policy<
    boost::math::policies::overflow_error<boost::math::policies::ignore_error>>
    kSinExcepcion;

// Moments of loc + escala * Y from the first four raw moments of Y. Done in 50 digits because
// the raw moments of the near-degenerate fits cancel heavily.
Momentos desdeCrudos(const Alta (&m)[4], long double loc, long double escala) {
    const Alta mu2 = m[1] - m[0] * m[0];
    const Alta mu3 = m[2] - 3 * m[0] * m[1] + 2 * m[0] * m[0] * m[0];
    const Alta mu4 =
        m[3] - 4 * m[0] * m[2] + 6 * m[0] * m[0] * m[1] - 3 * m[0] * m[0] * m[0] * m[0];
    const Alta e = escala;
    Momentos r;
    r.media = static_cast<long double>(loc + e * m[0]);
    r.varianza = static_cast<long double>(e * e * mu2);
    r.asimetria = static_cast<long double>((e > 0 ? 1 : -1) * mu3 / (mu2 * sqrt(mu2)));
    r.curtosis = static_cast<long double>(mu4 / (mu2 * mu2) - 3);
    return r;
}

// Raw moments as running products, E[Y^n] = factor(0) * ... * factor(n-1): the form they take
// for the beta, gamma, beta-prime and inverse-gamma families.
template <class Factor> void crudos(Alta (&m)[4], Factor factor) {
    Alta acumulado = 1;
    for (int i = 0; i < 4; ++i) {
        acumulado *= factor(i);
        m[i] = acumulado;
    }
}

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

// Roots of q2 x^2 + q1 x + q0 (real, distinct), smaller first; written to avoid cancellation.
void raices(const Ecuacion& e, long double& r1, long double& r2) {
    const long double disc = static_cast<long double>(e.q1 * e.q1 - 4 * e.q0 * e.q2);
    const long double w = -(e.q1 + std::sqrt(disc)) / 2; // q1 >= 0
    const long double a = w / e.q2, b = e.q0 / w;
    r1 = std::fmin(a, b);
    r2 = std::fmax(a, b);
}

Ajuste normal() {
    Ajuste a;
    a.tipo = Tipo::Normal;
    a.cuantil = [](long double p) {
        return quantile(boost::math::normal_distribution<long double>(), p);
    };
    a.cdfIndependiente = [](long double x) { return std::erfc(-x / std::sqrt(2.0L)) / 2; };
    a.momentos = {0, 1, 0, 0};
    return a;
}

// Types I and II: density (x - a1)^(p-1) (a2 - x)^(q-1) on (a1, a2). Near b2 = b1 + 1 the
// shapes drop to a few hundredths (U-shaped), which the incomplete beta inverse handles.
Ajuste beta(const Ecuacion& e, Tipo tipo) {
    long double a1, a2;
    raices(e, a1, a2);
    const long double n1 = e.n1, q1 = e.q1, q2 = e.q2;
    const long double p = 1 - (n1 * a1 + q1) / (q2 * (a1 - a2));
    const long double q = 1 - (n1 * a2 + q1) / (q2 * (a2 - a1));
    const long double ancho = a2 - a1;
    Ajuste a;
    a.tipo = tipo;
    a.cuantil = [=](long double pr) {
        // ibeta_inv can stop a few 1e-10 short near the middle of a symmetric shape; one
        // Newton step, kept only if it helps, closes that.
        long double b = boost::math::ibeta_inv(p, q, pr);
        const long double d = boost::math::ibeta_derivative(p, q, b, kSinExcepcion);
        if (d > 0 && std::isfinite(d)) {
            const long double otro = b - (boost::math::ibeta(p, q, b) - pr) / d;
            if (otro > 0 && otro < 1 &&
                std::fabs(boost::math::ibeta(p, q, otro) - pr) <
                    std::fabs(boost::math::ibeta(p, q, b) - pr))
                b = otro;
        }
        return a1 + ancho * b;
    };
    a.cdfIndependiente = [=](long double x) {
        return boost::math::ibeta(p, q, std::fmin(1, std::fmax(0, (x - a1) / ancho)));
    };
    Alta m[4];
    crudos(m, [&](int i) { return (Alta(p) + i) / (Alta(p) + Alta(q) + i); });
    a.momentos = desdeCrudos(m, a1, ancho);
    return a;
}

// Type III: loc + theta * Gamma(alpha); q2 = 0 makes the equation first order.
Ajuste gamma(const Ecuacion& e) {
    const long double alfa = static_cast<long double>(e.n1 * e.q0) / (e.q1 * e.q1);
    const long double theta = static_cast<long double>(e.q1) / e.n1;
    const long double loc = -static_cast<long double>(e.q0) / e.q1;
    Ajuste a;
    a.tipo = Tipo::III;
    a.cuantil = [=](long double p) { return loc + theta * boost::math::gamma_p_inv(alfa, p); };
    a.cdfIndependiente = [=](long double x) {
        return boost::math::gamma_p(alfa, std::fmax(0, (x - loc) / theta));
    };
    Alta m[4];
    crudos(m, [&](int i) { return Alta(alfa) + i; });
    a.momentos = desdeCrudos(m, loc, theta);
    return a;
}

// Type VI: a2 + (a2 - a1) Y with Y beta prime, density y^(alfa-1) (1+y)^(-alfa-beta).
Ajuste betaPrima(const Ecuacion& e) {
    long double a1, a2;
    raices(e, a1, a2);
    const long double n1 = e.n1, q1 = e.q1, q2 = e.q2;
    const long double alfa = 1 - (n1 * a2 + q1) / (q2 * (a2 - a1));
    const long double bet = n1 / q2 - 1;
    const long double escala = a2 - a1;
    Ajuste a;
    a.tipo = Tipo::VI;
    a.cuantil = [=](long double p) {
        long double complemento;
        const long double b = boost::math::ibeta_inv(alfa, bet, p, &complemento);
        return a2 + escala * b / complemento;
    };
    a.cdfIndependiente = [=](long double x) {
        const long double y = std::fmax(0, (x - a2) / escala);
        return boost::math::ibeta(alfa, bet, y / (1 + y));
    };
    Alta m[4];
    crudos(m, [&](int i) { return (Alta(alfa) + i) / (Alta(bet) - (i + 1)); });
    a.momentos = desdeCrudos(m, a2, escala);
    return a;
}

// Type V: a0 + b / Gamma(alfa), where the quadratic has a double root a0.
Ajuste gammaInversa(const Ecuacion& e) {
    const long double a0 = -static_cast<long double>(e.q1) / (2 * e.q2);
    const long double alfa = static_cast<long double>(e.n1) / e.q2 - 1;
    const long double b = -(e.n1 * a0 + e.q1) / e.q2;
    Ajuste a;
    a.tipo = Tipo::V;
    a.cuantil = [=](long double p) { return a0 + b / boost::math::gamma_q_inv(alfa, p); };
    a.cdfIndependiente = [=](long double x) {
        return x <= a0 ? 0 : boost::math::gamma_q(alfa, b / (x - a0));
    };
    Alta m[4];
    crudos(m, [&](int i) { return 1 / (Alta(alfa) - (i + 1)); });
    a.momentos = desdeCrudos(m, a0, b);
    return a;
}

// Type VII: Student t with nu degrees of freedom, scaled to unit variance.
Ajuste studentT(const Ecuacion& e) {
    const long double nu = static_cast<long double>(e.n1) / e.q2 - 1;
    const long double escala = std::sqrt(static_cast<long double>(e.q0) / (e.q2 * nu));
    const boost::math::students_t_distribution<long double> t(nu);
    Ajuste a;
    a.tipo = Tipo::VII;
    a.cuantil = [=](long double p) { return escala * quantile(t, p); };
    // The t CDF is an incomplete beta of nu / (nu + t^2); ibeta_inv is not involved.
    a.cdfIndependiente = [=](long double x) {
        const long double u = x / escala;
        const long double cola = boost::math::ibeta(nu / 2, 0.5L, nu / (nu + u * u)) / 2;
        return u < 0 ? cola : 1 - cola;
    };
    const Alta n(nu);
    Alta m[4] = {0, n / (n - 2), 0, 3 * n * n / ((n - 2) * (n - 4))};
    a.momentos = desdeCrudos(m, 0, escala);
    return a;
}

// Type IV: density (1 + u^2)^(-m) exp(-nu atan u), u = (x - lambda) / delta. With
// u = cot t the density becomes sin(t)^(2m-2) exp(nu t) on (0, pi): bounded and smooth, so
// Gauss-Kronrod copes, and the heavy tail of x is the short stretch near t = 0.
class TipoIV {
public:
    explicit TipoIV(const Ecuacion& e) {
        const long double n1 = e.n1, q0 = e.q0, q1 = e.q1, q2 = e.q2;
        lambda_ = -q1 / (2 * q2);
        delta_ = std::sqrt(4 * q0 * q2 - q1 * q1) / (2 * q2);
        m_ = n1 / (2 * q2);
        nu_ = (n1 * lambda_ + q1) / (q2 * delta_);
        tModa_ = std::atan2(2 * m_ - 2, -nu_);
        logModa_ = logDensidad(tModa_);
        total_ = masa(0, pi<long double>());
    }

    long double cuantil(long double p) const {
        // Solve for the smaller tail so its mass is integrated directly, not by difference.
        const bool inferior = p <= 0.5L;
        const long double objetivo = (inferior ? p : 1 - p) * total_;
        auto f = [&](long double t) {
            return (inferior ? masa(t, pi<long double>()) : masa(0, t)) - objetivo;
        };
        const long double f0 = inferior ? total_ - objetivo : -objetivo;
        const long double fpi = inferior ? -objetivo : total_ - objetivo;
        std::uintmax_t iter = 200;
        const auto r = boost::math::tools::toms748_solve(
            f, 0.0L, pi<long double>(), f0, fpi, boost::math::tools::eps_tolerance<long double>(56),
            iter);
        const long double t = (r.first + r.second) / 2;
        return lambda_ + delta_ * std::cos(t) / std::sin(t);
    }

    // P(X <= x) integrated in x itself with exp-sinh, independent of the t substitution.
    long double cdfEnX(long double x) const {
        // Not const: Boost 1.74 only offers integrate(f, a, b) on a non-const object.
        static boost::math::quadrature::exp_sinh<long double> es;
        const long double uModa = -nu_ / (2 * m_);
        const long double hModa = logH(uModa);
        auto h = [&](long double u) { return std::exp(logH(u) - hModa); };
        const long double inf = std::numeric_limits<long double>::infinity();
        const long double tol = 1e-16L;
        const long double total =
            es.integrate(h, -inf, uModa, tol) + es.integrate(h, uModa, inf, tol);
        const long double u = (x - lambda_) / delta_;
        return u <= uModa ? es.integrate(h, -inf, u, tol) / total
                          : 1 - es.integrate(h, u, inf, tol) / total;
    }

    Momentos momentos() const {
        // Closed forms for the moments of type IV, with r = 2(m - 1).
        const Alta r = 2 * (Alta(m_) - 1), v = nu_, d = delta_, rv = r * r + v * v;
        Momentos mo;
        mo.media = static_cast<long double>(lambda_ - d * v / r);
        mo.varianza = static_cast<long double>(d * d * rv / (r * r * (r - 1)));
        mo.asimetria = static_cast<long double>(-4 * v / (r - 2) * sqrt((r - 1) / rv));
        mo.curtosis = static_cast<long double>(
            3 * (r - 1) * ((r + 6) * rv - 8 * r * r) / ((r - 2) * (r - 3) * rv) - 3);
        return mo;
    }

private:
    long double logDensidad(long double t) const {
        return (2 * m_ - 2) * std::log(std::sin(t)) + nu_ * t;
    }
    long double logH(long double u) const { return -m_ * std::log1p(u * u) - nu_ * std::atan(u); }

    long double trozo(long double a, long double b) const {
        auto g = [this](long double t) { return std::exp(logDensidad(t) - logModa_); };
        return boost::math::quadrature::gauss_kronrod<long double, 31>::integrate(g, a, b, 12,
                                                                                  1e-14L);
    }

    // Splitting at the mode keeps each piece one-humped for the adaptive rule.
    long double masa(long double a, long double b) const {
        if (a < tModa_ && tModa_ < b)
            return trozo(a, tModa_) + trozo(tModa_, b);
        return trozo(a, b);
    }

    long double lambda_, delta_, m_, nu_, tModa_, logModa_, total_;
};

Ajuste tipoIV(const Ecuacion& e) {
    const auto iv = std::make_shared<const TipoIV>(e);
    Ajuste a;
    a.tipo = Tipo::IV;
    a.cuantil = [iv](long double p) { return iv->cuantil(p); };
    a.cdfIndependiente = [iv](long double x) { return iv->cdfEnX(x); };
    a.momentos = iv->momentos();
    return a;
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
    const Ecuacion e = ecuacion(celda);
    Ajuste a;
    switch (elegirTipo(celda)) {
    case Tipo::Imposible:
        throw FalloAjuste("no hay distribucion con b2 <= b1 + 1");
    case Tipo::Normal:
        a = normal();
        break;
    case Tipo::I:
        a = beta(e, Tipo::I);
        break;
    case Tipo::II:
        a = beta(e, Tipo::II);
        break;
    case Tipo::III:
        a = gamma(e);
        break;
    case Tipo::IV:
        a = tipoIV(e);
        break;
    case Tipo::V:
        a = gammaInversa(e);
        break;
    case Tipo::VI:
        a = betaPrima(e);
        break;
    case Tipo::VII:
        a = studentT(e);
        break;
    }
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
