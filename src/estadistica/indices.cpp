#include "indices.h"

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/normal.hpp>
#include <cmath>

namespace {
// In doubles throughout: the default promotion to long double triples the time of a million
// values' test, for digits no result shows.
using NormalDoble = boost::math::normal_distribution<
    double, boost::math::policies::policy<boost::math::policies::promote_double<false>>>;

double cuantilNormal(double p) {
    return boost::math::quantile(NormalDoble(), p);
}
} // namespace

double puntuacionNormal(std::size_t i, std::size_t n) {
    return cuantilNormal((double(i) + 1 - 0.375) / (double(n) + 0.25));
}

double c4(double n) {
    return std::sqrt(2 / (n - 1)) * std::exp(std::lgamma(n / 2) - std::lgamma((n - 1) / 2));
}

double sigmaRangoMovil(const std::vector<double>& v) {
    if (v.size() < 2)
        return 0;
    long double suma = 0;
    for (std::size_t i = 1; i < v.size(); ++i)
        suma += std::fabs(v[i] - v[i - 1]);
    return double(suma / (v.size() - 1)) / 1.128;
}

double sigmaAgrupada(const std::vector<std::vector<double>>& subgrupos) {
    long double cuadrados = 0;
    double d = 0;
    for (const std::vector<double>& g : subgrupos) {
        if (g.size() < 2)
            continue;
        long double media = 0;
        for (double x : g)
            media += x;
        media /= g.size();
        for (double x : g)
            cuadrados += (x - media) * (x - media);
        d += double(g.size() - 1);
    }
    if (d == 0)
        return 0;
    return double(std::sqrt(cuadrados / d)) / c4(d + 1);
}

namespace {
// The p-quantile of chi-square with ν degrees of freedom over ν. Past ten thousand degrees the
// incomplete gamma's series gives up, and Wilson and Hilferty's cube, good there to a part in a
// million, takes over.
double chiCuadradoSobreNu(double p, double nu) {
    if (nu <= 1e4)
        return boost::math::quantile(boost::math::chi_squared(nu), p) / nu;
    const double k = 2 / (9 * nu);
    return std::pow(1 - k + cuantilNormal(p) * std::sqrt(k), 3);
}

// The interval of an index proportional to 1/σ, from the chi-square of ν degrees of freedom.
Intervalo porChiCuadrado(double indice, double nu, double confianza) {
    const double a = (1 - confianza) / 2;
    return {indice * std::sqrt(chiCuadradoSobreNu(a, nu)),
            indice * std::sqrt(chiCuadradoSobreNu(1 - a, nu))};
}
} // namespace

Intervalo intervaloCp(double cp, double nu, double confianza) {
    return porChiCuadrado(cp, nu, confianza);
}

Intervalo intervaloCpk(double cpk, double n, double nu, double confianza) {
    const double z = cuantilNormal(1 - (1 - confianza) / 2);
    const double e = z * std::sqrt(1 / (9 * n) + cpk * cpk / (2 * nu));
    return {cpk - e, cpk + e};
}

Intervalo intervaloCpm(double cpm, double n, double a, double confianza) {
    const double a2 = a * a;
    return porChiCuadrado(cpm, n * (1 + a2) * (1 + a2) / (1 + 2 * a2), confianza);
}

namespace {
// ln Φ(z), finite however far the value: past the double's range the tail's asymptotic series,
// good there to a part in 10¹³.
double logFi(double z) {
    if (z > -37)
        return std::log(boost::math::cdf(NormalDoble(), z));
    const double r = 1 / (z * z);
    return -z * z / 2 - std::log(-z) - 0.5 * std::log(2 * M_PI) +
           std::log1p(-r * (1 - 3 * r * (1 - 5 * r * (1 - 7 * r))));
}
} // namespace

std::optional<PruebaNormalidad> andersonDarling(std::vector<double> v) {
    PruebaNormalidad r;
    const std::size_t n = v.size();
    if (n < 8)
        return std::nullopt;
    std::sort(v.begin(), v.end());
    long double media = 0;
    for (double x : v)
        media += x;
    media /= n;
    long double m2 = 0;
    for (double x : v)
        m2 += (x - media) * (x - media);
    const double s = double(std::sqrt(m2 / (n - 1)));
    if (!(s > 0))
        return std::nullopt;
    // ln Φ(z) and ln(1 − Φ(z)) from the tails themselves, so that far values keep their weight.
    long double suma = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double zi = (v[i] - double(media)) / s, zj = (v[n - 1 - i] - double(media)) / s;
        suma += (2.0L * i + 1) * (logFi(zi) + logFi(-zj));
    }
    r.a2 = double(-static_cast<long double>(n) - suma / n);
    const double nd = double(n);
    r.a2Ajustado = r.a2 * (1 + 0.75 / nd + 2.25 / (nd * nd));
    r.p = pAndersonDarling(r.a2Ajustado);
    return r;
}

double pAndersonDarling(double a) {
    double p;
    // The upper formula's parabola turns at A² = 153.5 (p ≈ 1e-190) and would climb back to
    // 1 for the A² of a large, plainly non-normal sample: past its turn, p stays at its least.
    if (const double t = std::min(a, 153.5); a >= 0.6)
        p = std::exp(1.2937 - 5.709 * t + 0.0186 * t * t);
    else if (a >= 0.34)
        p = std::exp(0.9177 - 4.279 * a - 1.38 * a * a);
    else if (a >= 0.2)
        p = 1 - std::exp(-8.318 + 42.796 * a - 59.938 * a * a);
    else
        p = 1 - std::exp(-13.436 + 101.14 * a - 223.73 * a * a);
    return std::clamp(p, 0.0, 1.0);
}
