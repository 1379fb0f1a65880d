#pragma once

// What the Pearson families share inside this library: the model every family implements, the
// helpers their fits use, and the makers of the families that live in files of their own.

#include "pearson.h"

#include <boost/math/constants/constants.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/quadrature/gauss.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/quadrature/tanh_sinh.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/tools/roots.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace pearson {

using Alta = boost::multiprecision::cpp_bin_float_50;
using boost::math::constants::pi;
inline constexpr long double kInf = std::numeric_limits<long double>::infinity();

// Returns infinity instead of throwing, where an infinite density just means "skip this".
inline const boost::math::policies::policy<
    boost::math::policies::overflow_error<boost::math::policies::ignore_error>>
    kSinExcepcion;

// Moments of loc + escala * Y from the first four raw moments of Y. Done in 50 digits because
// the raw moments of the near-degenerate fits cancel heavily.
inline MomentosPearson desdeCrudos(const Alta (&m)[4], long double loc, long double escala) {
    const Alta mu2 = m[1] - m[0] * m[0];
    const Alta mu3 = m[2] - 3 * m[0] * m[1] + 2 * m[0] * m[0] * m[0];
    const Alta mu4 =
        m[3] - 4 * m[0] * m[2] + 6 * m[0] * m[0] * m[1] - 3 * m[0] * m[0] * m[0] * m[0];
    const Alta e = escala;
    MomentosPearson r;
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

// Roots of q2 x^2 + q1 x + q0 (real, distinct), smaller first; written to avoid cancellation.
inline void raices(const EcuacionPearson& e, long double& r1, long double& r2) {
    const long double disc = e.q1 * e.q1 - 4 * e.q0 * e.q2;
    const long double w = -(e.q1 + std::sqrt(disc)) / 2; // q1 >= 0
    const long double a = w / e.q2, b = e.q0 / w;
    r1 = std::fmin(a, b);
    r2 = std::fmax(a, b);
}

inline long double acota01(long double v) {
    return std::fmin(1, std::fmax(0, v));
}

} // namespace pearson

class DistribucionPearson::Modelo {
public:
    Modelo(TipoPearson t, const EcuacionPearson& e) : tipo(t), ec(e) {}
    virtual ~Modelo() = default;
    virtual long double densidad(long double x) const = 0;
    // Q(x) f(x), Q = q0 + q1 x + q2 x² the equation's quadratic, inside the support. Q is written
    // through its roots, so that next to an end, where f may be infinite, it keeps its digits.
    virtual long double frontera(long double x) const = 0;
    long double masa(long double a, long double b) const;
    MomentosParciales parciales(long double a, long double b, long double masa) const;
    virtual long double cdf(long double x) const = 0;
    virtual long double cola(long double x) const = 0;
    virtual long double cuantil(long double p) const = 0;
    virtual long double minimo() const { return -pearson::kInf; }
    virtual long double maximo() const { return pearson::kInf; }
    virtual MomentosPearson momentos() const = 0;
    const TipoPearson tipo;
    // The equation the density solves exactly: a coefficient the type takes as 0 is 0 here.
    const EcuacionPearson ec;
};

namespace pearson {
using Modelo = DistribucionPearson::Modelo;
// Types I and II (the beta), III (gamma), V (inverse gamma), VI (beta prime), VII (Student t).
std::shared_ptr<const Modelo> beta(const EcuacionPearson& e, TipoPearson tipo);
std::shared_ptr<const Modelo> gamma(const EcuacionPearson& e);
std::shared_ptr<const Modelo> gammaInversa(const EcuacionPearson& e);
std::shared_ptr<const Modelo> betaPrima(const EcuacionPearson& e);
std::shared_ptr<const Modelo> studentT(const EcuacionPearson& e);
// Type IV, which no library function integrates.
std::shared_ptr<const Modelo> tipoIV(const EcuacionPearson& e);
} // namespace pearson
