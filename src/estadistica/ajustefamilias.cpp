#include "ajuste.h"
#include "indices.h"

#include <algorithm>
#include <atomic>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/special_functions/digamma.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/trigamma.hpp>
#include <boost/math/tools/minima.hpp>
#include <cmath>
#include <limits>
#include <numeric>
#include <thread>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kLn2Pi = std::log(2 * M_PI);

// The values sorted, with what every fit asks of them.
struct Datos {
    std::vector<double> x;
    double n = 0, media = 0, sd = 0, minimo = 0, maximo = 0;
    bool finitos = true;
    explicit Datos(std::vector<double> v) : x(std::move(v)) {
        finitos = std::all_of(x.begin(), x.end(), [](double v) { return std::isfinite(v); });
        if (!finitos)
            return;
        std::sort(x.begin(), x.end());
        n = double(x.size());
        if (x.empty())
            return;
        minimo = x.front(), maximo = x.back();
        long double s = 0;
        for (double v : x)
            s += v;
        media = double(s / x.size());
        long double m2 = 0;
        for (double v : x)
            m2 += (v - media) * (v - media);
        sd = x.size() > 1 ? double(std::sqrt(m2 / (x.size() - 1))) : 0;
    }
};

// At most about 4000 evenly spaced order statistics, the ends included: what a search over a
// parameter needs to find its bracket on many values.
Datos raleo(const Datos& d) {
    const std::size_t n = d.x.size(), paso = n / 4000;
    if (paso < 2)
        return d;
    std::vector<double> v;
    for (std::size_t i = 0; i < n; i += paso)
        v.push_back(d.x[i]);
    if (v.back() != d.x.back())
        v.push_back(d.x.back());
    return Datos(std::move(v));
}

double suma(const std::vector<double>& v) {
    long double s = 0;
    for (double x : v)
        s += x;
    return double(s);
}

// A fit of two parameters to transformed values, before it is named.
struct Interior {
    double a = kNaN, b = kNaN, logL = -kInf;
    bool ok = false;
};

// The Weibull profile equation on v = ln y: Σ y^k ln y / Σ y^k − 1/k − mean(ln y) = 0, which
// rises from −∞ to max v − mean v, so one root, by Newton inside a shrinking bracket. Gives k and
// ln λ; the smallest extreme value of v has β = 1/k, ξ = ln λ.
Interior weibullLog(const std::vector<double>& v, double k0 = kNaN) {
    Interior r;
    const double n = double(v.size()), vm = suma(v) / n;
    const double top = *std::max_element(v.begin(), v.end());
    if (!(top - vm > 0))
        return r;
    if (!(k0 > 0)) {
        long double m2 = 0;
        for (double x : v)
            m2 += (x - vm) * (x - vm);
        k0 = 1.28 / std::sqrt(double(m2 / n)); // the sd of ln W is π/(k√6)
    }
    double lo = 0, hi = kInf, k = k0;
    for (int it = 0; it < 200; ++it) {
        long double S0 = 0, S1 = 0, S2 = 0;
        for (double x : v) {
            const double d = x - top, e = std::exp(k * d);
            S0 += e, S1 += e * d, S2 += e * d * d;
        }
        const double m1 = double(S1 / S0), g = m1 + top - vm - 1 / k;
        const double dg = double(S2 / S0) - m1 * m1 + 1 / (k * k);
        (g < 0 ? lo : hi) = k;
        double nuevo = k - g / dg;
        if (!(nuevo > lo && nuevo < hi))
            nuevo = std::isinf(hi) ? 2 * k : lo > 0 ? std::sqrt(lo * hi) : hi / 2;
        const bool fin = std::fabs(nuevo - k) <= 1e-13 * k || hi - lo <= 1e-14 * k;
        k = nuevo;
        if (fin) {
            r.ok = true;
            break;
        }
    }
    if (!r.ok)
        return r;
    long double S0 = 0;
    for (double x : v)
        S0 += std::exp(k * (x - top));
    r.a = k;
    r.b = top + std::log(double(S0 / n)) / k;
    // ℓ of v as the smallest extreme value: n ln k + k Σ(v − ln λ) − n.
    r.logL = n * std::log(k) + k * (n * vm - n * r.b) - n;
    return r;
}

// Gamma shape from s = ln(mean) − mean(ln y) > 0: ln α − ψ(α) = s, by Newton from Minka's start.
double formaGamma(double s) {
    if (!(s > 0) || !std::isfinite(s))
        return kNaN;
    double a = (3 - s + std::sqrt((s - 3) * (s - 3) + 24 * s)) / (12 * s);
    for (int it = 0; it < 100; ++it) {
        const double f = std::log(a) - boost::math::digamma(a) - s;
        const double df = 1 / a - boost::math::trigamma(a);
        double nuevo = a - f / df;
        if (!(nuevo > 0))
            nuevo = a / 2;
        if (std::fabs(nuevo - a) <= 1e-14 * a)
            return nuevo;
        a = nuevo;
    }
    return a;
}

Interior gammaDe(const std::vector<double>& y, const std::vector<double>& lny) {
    Interior r;
    const double n = double(y.size()), m = suma(y) / n, ml = suma(lny) / n;
    const double a = formaGamma(std::log(m) - ml);
    if (!(a > 0))
        return r;
    r.a = a, r.b = m / a;
    r.logL = (a - 1) * n * ml - n * a - n * a * std::log(r.b) - n * std::lgamma(a);
    r.ok = std::isfinite(r.logL);
    return r;
}

Interior lognormalDe(const std::vector<double>& lny) {
    Interior r;
    const double n = double(lny.size()), m = suma(lny) / n;
    long double m2 = 0;
    for (double v : lny)
        m2 += (v - m) * (v - m);
    const double s = std::sqrt(double(m2 / n));
    if (!(s > 0))
        return r;
    r.a = m, r.b = s, r.ok = true;
    r.logL = -n * m - n * std::log(s) - n / 2 * (kLn2Pi + 1);
    return r;
}

// The logistic's ℓ, score and Hessian at (μ, s) in one pass; h(w) = 1 − 2F(w) = −tanh(w/2).
struct Logistica {
    double l, gm, gs, hmm, hms, hss;
};
Logistica logisticaEn(const std::vector<double>& v, double mu, double s) {
    long double l = 0, sh = 0, swh = 0, shp = 0, swhp = 0, sw2hp = 0;
    for (double x : v) {
        const double w = (x - mu) / s, e = std::exp(-std::fabs(w)), r = 1 / (1 + e);
        const double h = std::copysign((1 - e) * r, -w), hp = -2 * e * r * r;
        l += -std::fabs(w) - 2 * std::log1p(e);
        sh += h, swh += w * h, shp += hp, swhp += w * hp, sw2hp += w * w * hp;
    }
    const double n = double(v.size()), s2 = s * s;
    return {double(l) - n * std::log(s), double(-sh / s),
            double(-(swh + n) / s),      double(shp / s2),
            double((sh + swhp) / s2),    double((swh + n + swh + sw2hp) / s2)};
}

// The logistic by Newton on the score, halving back when a step loses likelihood.
Interior logisticaDe(const std::vector<double>& v, double mu0 = kNaN, double s0 = kNaN) {
    Interior r;
    const double n = double(v.size());
    if (!(s0 > 0)) {
        mu0 = suma(v) / n;
        long double m2 = 0;
        for (double x : v)
            m2 += (x - mu0) * (x - mu0);
        s0 = std::sqrt(double(m2 / n)) * std::sqrt(3.0) / M_PI;
        if (!(s0 > 0))
            return r;
    }
    double mu = mu0, s = s0, muAnt = mu, sAnt = s, lAnt = -kInf;
    for (int it = 0; it < 200; ++it) {
        const Logistica e = logisticaEn(v, mu, s);
        if (!(e.l >= lAnt - 1e-12 * std::fabs(lAnt))) { // overshot: back halfway
            mu = (mu + muAnt) / 2, s = (s + sAnt) / 2;
            continue;
        }
        lAnt = e.l, muAnt = mu, sAnt = s;
        const double det = e.hmm * e.hss - e.hms * e.hms;
        double dm, ds;
        if (e.hmm < 0 && det > 0) {
            dm = -(e.hss * e.gm - e.hms * e.gs) / det;
            ds = -(-e.hms * e.gm + e.hmm * e.gs) / det;
        } else { // Fisher scoring far from the top
            dm = e.gm * 3 * s * s / n;
            ds = e.gs * 9 * s * s / (n * (3 + M_PI * M_PI));
        }
        if (s + ds <= 0)
            ds = -s / 2;
        mu += dm, s += ds;
        if (std::fabs(dm) <= 1e-11 * s && std::fabs(ds) <= 1e-11 * s) {
            r.ok = true;
            break;
        }
    }
    r.a = mu, r.b = s;
    r.logL = logisticaEn(v, mu, s).l;
    return r;
}

// ℓ of the data under a family's parameters, written out for the Hessian's many calls.
double logVer(Familia f, const std::vector<double>& p, const std::vector<double>& x) {
    long double l = 0;
    const double n = double(x.size());
    auto normal = [](double z) { return -0.5 * kLn2Pi - z * z / 2; };
    auto logistica = [](double w) {
        return -std::fabs(w) - 2 * std::log1p(std::exp(-std::fabs(w)));
    };
    switch (f) {
    case Familia::Normal:
        if (!(p[1] > 0))
            return -kInf;
        for (double v : x)
            l += normal((v - p[0]) / p[1]);
        return double(l) - n * std::log(p[1]);
    case Familia::BoxCox:
        if (!(p[2] > 0))
            return -kInf;
        for (double v : x) {
            const double lv = std::log(v);
            const double y = p[0] == 0 ? lv : std::expm1(p[0] * lv) / p[0];
            l += normal((y - p[1]) / p[2]) + (p[0] - 1) * lv;
        }
        return double(l) - n * std::log(p[2]);
    case Familia::Lognormal:
    case Familia::Lognormal3: {
        const double g = f == Familia::Lognormal ? 0 : p[2];
        if (!(p[1] > 0) || !(x.front() > g))
            return -kInf;
        for (double v : x) {
            const double ly = std::log(v - g);
            l += normal((ly - p[0]) / p[1]) - ly;
        }
        return double(l) - n * std::log(p[1]);
    }
    case Familia::Exponencial:
        return p[0] > 0 && x.front() >= 0 ? -n * std::log(p[0]) - suma(x) / p[0] : -kInf;
    case Familia::Weibull:
    case Familia::Weibull3: {
        const double g = f == Familia::Weibull ? 0 : p[2], k = p[0], lam = p[1];
        if (!(k > 0 && lam > 0) || !(x.front() > g))
            return -kInf;
        for (double v : x) {
            const double lu = std::log((v - g) / lam);
            l += (k - 1) * lu - std::exp(k * lu);
        }
        return double(l) + n * (std::log(k) - std::log(lam));
    }
    case Familia::ValorExtremoMenor:
    case Familia::ValorExtremoMayor: {
        if (!(p[1] > 0))
            return -kInf;
        const double signo = f == Familia::ValorExtremoMenor ? 1 : -1;
        for (double v : x) {
            const double w = signo * (v - p[0]) / p[1];
            l += w - std::exp(w);
        }
        return double(l) - n * std::log(p[1]);
    }
    case Familia::Gamma:
    case Familia::Gamma3: {
        const double g = f == Familia::Gamma ? 0 : p[2], a = p[0], t = p[1];
        if (!(a > 0 && t > 0) || !(x.front() > g))
            return -kInf;
        for (double v : x)
            l += (a - 1) * std::log(v - g) - (v - g) / t;
        return double(l) - n * (a * std::log(t) + std::lgamma(a));
    }
    case Familia::Logistica:
        if (!(p[1] > 0))
            return -kInf;
        for (double v : x)
            l += logistica((v - p[0]) / p[1]);
        return double(l) - n * std::log(p[1]);
    case Familia::LogLogistica:
    case Familia::LogLogistica3: {
        const double g = f == Familia::LogLogistica ? 0 : p[2];
        if (!(p[1] > 0) || !(x.front() > g))
            return -kInf;
        for (double v : x) {
            const double ly = std::log(v - g);
            l += logistica((ly - p[0]) / p[1]) - ly;
        }
        return double(l) - n * std::log(p[1]);
    }
    case Familia::Johnson: {
        const DistribucionAjustada d(f, p);
        for (double v : x)
            l += std::log(d.densidad(v));
        return double(l);
    }
    }
    return -kInf;
}

// Standard errors from the observed information: the numeric Hessian of −ℓ at the estimate,
// each step a small fraction of the parameter's own scale. Empty when it is not positive
// definite (no genuine maximum there). `fijos` leaves parameters out (NaN error).
std::vector<double> errores(Familia f, const std::vector<double>& p,
                            const std::vector<double>& escala, const std::vector<double>& x,
                            const std::vector<bool>& fijos = {}) {
    std::vector<int> libres;
    for (int i = 0; i < int(p.size()); ++i)
        if (fijos.empty() || !fijos[i])
            libres.push_back(i);
    const int m = int(libres.size());
    std::vector<double> h(p.size());
    for (int i : libres)
        h[i] = 1e-4 * escala[i];
    auto L = [&](int i, double di, int j, double dj) {
        std::vector<double> q = p;
        q[i] += di * h[i];
        q[j] += dj * h[j];
        return logVer(f, q, x);
    };
    const double l0 = logVer(f, p, x);
    std::vector<double> a(m * m); // the information, −H
    for (int r = 0; r < m; ++r)
        for (int c = r; c < m; ++c) {
            const int i = libres[r], j = libres[c];
            double v;
            if (i == j)
                v = -(L(i, 1, i, 0) - 2 * l0 + L(i, -1, i, 0)) / (h[i] * h[i]);
            else
                v = -(L(i, 1, j, 1) - L(i, 1, j, -1) - L(i, -1, j, 1) + L(i, -1, j, -1)) /
                    (4 * h[i] * h[j]);
            a[r * m + c] = a[c * m + r] = v;
        }
    // Gauss–Jordan without pivoting, which a positive definite matrix does not need: a pivot
    // that is not positive says it is not.
    std::vector<double> inv(m * m, 0);
    for (int i = 0; i < m; ++i)
        inv[i * m + i] = 1;
    for (int c = 0; c < m; ++c) {
        const double piv = a[c * m + c];
        if (!(piv > 0) || !std::isfinite(piv))
            return {};
        for (int k = 0; k < m; ++k)
            a[c * m + k] /= piv, inv[c * m + k] /= piv;
        for (int r = 0; r < m; ++r)
            if (r != c) {
                const double fct = a[r * m + c];
                for (int k = 0; k < m; ++k)
                    a[r * m + k] -= fct * a[c * m + k], inv[r * m + k] -= fct * inv[c * m + k];
            }
    }
    std::vector<double> e(p.size(), kNaN);
    for (int r = 0; r < m; ++r) {
        if (!(inv[r * m + r] > 0))
            return {};
        e[libres[r]] = std::sqrt(inv[r * m + r]);
    }
    return e;
}

// A² of sorted values against a fitted distribution, each tail from its own side.
double a2De(const DistribucionAjustada& d, const std::vector<double>& x) {
    const std::size_t n = x.size();
    const double mediana = d.cuantil(0.5);
    long double s = 0;
    for (std::size_t i = 0; i < n; ++i) {
        double lnF, lnS;
        if (x[i] < mediana) {
            const double F = d.cdf(x[i]);
            lnF = std::log(F), lnS = std::log1p(-F);
        } else {
            const double S = d.cola(x[i]);
            lnF = std::log1p(-S), lnS = std::log(S);
        }
        s += (2.0L * i + 1) * std::max(lnF, -745.0) + (2.0L * (n - i) - 1) * std::max(lnS, -745.0);
    }
    return double(-static_cast<long double>(n) - s / n);
}

// The family's own A² table: significance levels, critical values of the modified statistic.
struct TablaA2 {
    std::vector<double> nivel, valor;
};

std::string motivoPositivos(Familia f) {
    return f == Familia::BoxCox
               ? "Box-Cox necesita datos positivos"
               : "La distribución " + nombreFamilia(f) + " necesita datos positivos";
}

bool soloPositivos(Familia f) {
    return f == Familia::BoxCox || f == Familia::Lognormal || f == Familia::Exponencial ||
           f == Familia::Weibull || f == Familia::Gamma || f == Familia::LogLogistica;
}

std::size_t minimoValores(Familia f) {
    return f == Familia::Johnson ? 8 : std::max<std::size_t>(3, nombresParametros(f).size() + 1);
}

Ajuste fallo(Familia f, std::string motivo) {
    Ajuste a;
    a.familia = f;
    a.a2 = kInf;
    a.motivo = std::move(motivo);
    return a;
}

// Box-Cox: λ in [−5, 5] maximising −n/2 ln σ²(λ) + (λ − 1) Σ ln x, on x over its geometric
// mean, where the Jacobian's sum vanishes.
double lambdaBoxCox(const Datos& d) {
    auto logs = [](const Datos& d) {
        std::vector<double> lu(d.x.size());
        for (std::size_t i = 0; i < lu.size(); ++i)
            lu[i] = std::log(d.x[i]);
        const double c = suma(lu) / d.n;
        for (double& v : lu)
            v -= c;
        return lu;
    };
    std::vector<double> lu = logs(raleo(d));
    auto menosL = [&](double l) {
        long double s = 0, s2 = 0;
        for (double v : lu) {
            const double y = l == 0 ? v : std::expm1(l * v) / l;
            s += y, s2 += y * y;
        }
        const double m = double(s / d.n), var = double(s2 / d.n) - m * m;
        return var > 0 && std::isfinite(var) ? std::log(var) : kInf;
    };
    int mejor = 0;
    double vals[21];
    for (int i = 0; i <= 20; ++i) {
        vals[i] = menosL(-5 + 0.5 * i);
        if (vals[i] < vals[mejor])
            mejor = i;
    }
    const double lo = -5 + 0.5 * std::max(0, mejor - 1), hi = -5 + 0.5 * std::min(20, mejor + 1);
    lu = logs(d);
    return boost::math::tools::brent_find_minima(menosL, lo, hi, 24).first;
}

Ajuste ajustaBoxCox(const Datos& d, bool redondea) {
    Ajuste a;
    a.familia = Familia::BoxCox;
    double l = lambdaBoxCox(d);
    if (redondea)
        l = std::round(2 * l) / 2;
    std::vector<double> y(d.x.size());
    for (std::size_t i = 0; i < y.size(); ++i)
        y[i] = l == 0 ? std::log(d.x[i]) : std::expm1(l * std::log(d.x[i])) / l;
    const Datos t(y);
    if (!(t.sd > 0) || !std::isfinite(t.sd))
        return fallo(Familia::BoxCox, "La transformación de Box-Cox no tiene variación");
    a.parametros = std::vector<double>{l, t.media, t.sd};
    const double sML = t.sd * std::sqrt((d.n - 1) / d.n);
    long double sl = 0;
    for (double v : d.x)
        sl += std::log(v);
    a.logVerosimilitud = -d.n / 2 * (kLn2Pi + 2 * std::log(sML) + 1) + (l - 1) * double(sl);
    a.errores = errores(Familia::BoxCox, {l, t.media, sML}, {0.1, t.sd, t.sd}, d.x,
                        {redondea, false, false});
    if (!a.errores.empty())
        a.errores[2] *= t.sd / sML;
    a.convergio = !a.errores.empty();
    if (!a.convergio)
        a.motivo = "El ajuste no llegó a un máximo de la verosimilitud";
    else if (std::fabs(l) >= 5 - 1e-6)
        a.motivo = "λ quedó en el extremo del intervalo [−5, 5]";
    return a;
}

// Slifker and Shapiro's percentile rule: for z = 0.25 … 1.25, the percentiles at Φ(±z), Φ(±3z)
// choose the type by mn/p² and give its parameters; the fit kept is the one whose transformed
// values look most normal by A² (the largest p).
Ajuste ajustaJohnson(const Datos& d) {
    const std::vector<double>& x = d.x;
    const std::size_t n = x.size();
    auto percentil = [&](double p) {
        const double pos = std::clamp(n * p - 0.5, 0.0, double(n - 1));
        const std::size_t i = std::min(std::size_t(pos), n - 2);
        return x[i] + (pos - double(i)) * (x[i + 1] - x[i]);
    };
    // The candidates judged on at most 4000 evenly spaced order statistics.
    std::vector<double> muestra;
    const std::size_t paso = std::max<std::size_t>(1, n / 4000);
    for (std::size_t i = paso / 2; i < n; i += paso)
        muestra.push_back(x[i]);
    auto a2Normal = [](const std::vector<double>& z) {
        const double m = suma(z) / double(z.size());
        long double m2 = 0;
        for (double v : z)
            m2 += (v - m) * (v - m);
        const double s = std::sqrt(double(m2 / (z.size() - 1))), nn = double(z.size());
        if (!(s > 0))
            return kInf;
        long double t = 0;
        for (std::size_t i = 0; i < z.size(); ++i) {
            const double w = (z[i] - m) / s;
            t += (2.0L * i + 1) * std::max(std::log(std::erfc(-w / M_SQRT2) / 2), -745.0) +
                 (2.0L * (z.size() - i) - 1) *
                     std::max(std::log(std::erfc(w / M_SQRT2) / 2), -745.0);
        }
        return double(-nn - t / nn) * (1 + 0.75 / nn + 2.25 / (nn * nn));
    };
    std::vector<double> mejor;
    double mejorA2 = kInf;
    std::vector<double> z(muestra.size());
    for (int c = 25; c <= 125; ++c) {
        const double zz = c / 100.0;
        auto Phi = [](double v) { return std::erfc(-v / M_SQRT2) / 2; };
        const double x3 = percentil(Phi(3 * zz)), x1 = percentil(Phi(zz)),
                     xm1 = percentil(Phi(-zz)), xm3 = percentil(Phi(-3 * zz));
        const double m = x3 - x1, nn = xm1 - xm3, p = x1 - xm1;
        if (!(m > 0 && nn > 0 && p > 0))
            continue;
        const double r = m * nn / (p * p), mp = m / p, np = nn / p, centro = (x1 + xm1) / 2;
        std::vector<double> q;
        if (std::fabs(r - 1) < 0.01) { // SL
            const double delta = 2 * zz / std::log(mp);
            q = std::vector<double>{1, delta * std::log((mp - 1) / (p * std::sqrt(mp))), delta,
                                    centro - p / 2 * (mp + 1) / (mp - 1), 1};
        } else if (r > 1) { // SU
            const double delta = 2 * zz / std::acosh((mp + np) / 2);
            q = std::vector<double>{2, delta * std::asinh((np - mp) / (2 * std::sqrt(r - 1))),
                                    delta, centro + p * (np - mp) / (2 * (mp + np - 2)),
                                    2 * p * std::sqrt(r - 1) /
                                        ((mp + np - 2) * std::sqrt(mp + np + 2))};
        } else { // SB
            const double pm = p / m, pn = p / nn, u = (1 + pm) * (1 + pn);
            const double delta = zz / std::acosh(std::sqrt(u) / 2);
            const double lam = p * std::sqrt((u - 2) * (u - 2) - 4) / (pm * pn - 1);
            q = std::vector<double>{
                0, delta * std::asinh((pn - pm) * std::sqrt(u - 4) / (2 * (pm * pn - 1))), delta,
                centro - lam / 2 + p * (pn - pm) / (2 * (pm * pn - 1)), lam};
        }
        bool valido = std::all_of(q.begin(), q.end(), [](double v) { return std::isfinite(v); }) &&
                      q[2] > 0 && q[4] > 0;
        if (!valido)
            continue;
        const int tipo = int(q[0]);
        for (std::size_t i = 0; i < muestra.size() && valido; ++i) {
            const double u = (muestra[i] - q[3]) / q[4];
            const double h = tipo == 0   ? (u > 0 && u < 1 ? std::log(u / (1 - u)) : kNaN)
                             : tipo == 1 ? (u > 0 ? std::log(u) : kNaN)
                                         : std::asinh(u);
            z[i] = q[1] + q[2] * h;
            valido = std::isfinite(z[i]);
        }
        if (!valido)
            continue;
        const double a2 = a2Normal(z);
        if (a2 < mejorA2)
            mejorA2 = a2, mejor = q;
    }
    if (mejor.empty())
        return fallo(Familia::Johnson, "Ningún ajuste de Johnson es válido para estos datos");
    Ajuste a;
    a.familia = Familia::Johnson;
    a.parametros = mejor;
    a.errores.assign(5, kNaN);
    a.logVerosimilitud = logVer(Familia::Johnson, mejor, x);
    a.convergio = true;
    return a;
}

// A two-parameter fit to x − γ, the three-parameter profile's inner step; `previo` starts it
// where the last one ended.
Interior interior(Familia base, const Datos& d, double desde, double corrimiento,
                  const Interior* previo, std::vector<double>& y, std::vector<double>& ly) {
    // y = x − γ = (x − min) + corrimiento, exact at the smallest value.
    const std::size_t n = d.x.size();
    y.resize(n), ly.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        y[i] = (d.x[i] - desde) + corrimiento;
        ly[i] = std::log(y[i]);
    }
    switch (base) {
    case Familia::Lognormal:
        return lognormalDe(ly);
    case Familia::Weibull: {
        Interior r = weibullLog(ly, previo && previo->ok ? previo->a : kNaN);
        if (r.ok)
            r.b = std::exp(r.b), r.logL -= suma(ly); // ℓ of y, not of ln y
        return r;
    }
    case Familia::Gamma:
        return gammaDe(y, ly);
    default: { // loglogistic
        Interior r = previo && previo->ok ? logisticaDe(ly, previo->a, previo->b) : logisticaDe(ly);
        r.logL -= suma(ly);
        return r;
    }
    }
}

Familia baseDe(Familia f) {
    switch (f) {
    case Familia::Lognormal3:
        return Familia::Lognormal;
    case Familia::Weibull3:
        return Familia::Weibull;
    case Familia::Gamma3:
        return Familia::Gamma;
    default:
        return Familia::LogLogistica;
    }
}

std::vector<double> escalas(Familia f, const std::vector<double>& p, double sd, double distancia) {
    switch (f) {
    case Familia::Normal:
    case Familia::Lognormal:
    case Familia::LogLogistica:
    case Familia::Logistica:
        return {p[1], p[1]};
    case Familia::ValorExtremoMenor:
    case Familia::ValorExtremoMayor:
        return {p[1], p[1]};
    case Familia::Lognormal3:
    case Familia::LogLogistica3:
        return {p[1], p[1], std::min(distancia, sd)};
    case Familia::Weibull3:
    case Familia::Gamma3:
        return {p[0], p[1], std::min(distancia, sd)};
    default:
        return std::vector<double>(p.begin(), p.end());
    }
}

Ajuste ajustaDos(Familia f, const Datos& d) {
    Ajuste a;
    a.familia = f;
    const std::size_t n = d.x.size();
    std::vector<double> v(n), lx;
    if (soloPositivos(f) && f != Familia::Exponencial) {
        lx.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            lx[i] = std::log(d.x[i]);
    }
    Interior r;
    switch (f) {
    case Familia::Normal: {
        a.parametros = std::vector<double>{d.media, d.sd};
        const double sML = d.sd * std::sqrt((d.n - 1) / d.n);
        a.logVerosimilitud = -d.n / 2 * (kLn2Pi + 2 * std::log(sML) + 1);
        a.errores = std::vector<double>{d.sd / std::sqrt(d.n), d.sd / std::sqrt(2 * d.n)};
        a.convergio = true;
        return a;
    }
    case Familia::Lognormal:
        r = lognormalDe(lx);
        break;
    case Familia::Exponencial:
        a.parametros = std::vector<double>{d.media};
        a.logVerosimilitud = -d.n * std::log(d.media) - d.n;
        a.errores = std::vector<double>{d.media / std::sqrt(d.n)};
        a.convergio = true;
        return a;
    case Familia::Weibull:
        r = weibullLog(lx);
        if (r.ok)
            r.b = std::exp(r.b), r.logL -= suma(lx);
        break;
    case Familia::ValorExtremoMenor:
        r = weibullLog(d.x);
        if (r.ok)
            r.a = 1 / r.a, std::swap(r.a, r.b);
        break;
    case Familia::ValorExtremoMayor:
        for (std::size_t i = 0; i < n; ++i)
            v[i] = -d.x[i];
        r = weibullLog(v);
        if (r.ok)
            r.a = 1 / r.a, std::swap(r.a, r.b), r.a = -r.a;
        break;
    case Familia::Gamma:
        r = gammaDe(d.x, lx);
        break;
    case Familia::Logistica:
        r = logisticaDe(d.x);
        break;
    default: // loglogistic
        r = logisticaDe(lx);
        r.logL -= suma(lx);
        break;
    }
    if (!r.ok || !std::isfinite(r.a) || !std::isfinite(r.b) || !(r.b > 0))
        return fallo(f, "El ajuste no convergió");
    a.parametros = std::vector<double>{r.a, r.b};
    a.logVerosimilitud = r.logL;
    if (f == Familia::Lognormal)
        a.errores = std::vector<double>{r.b / std::sqrt(d.n), r.b / std::sqrt(2 * d.n)};
    else
        a.errores = errores(f, a.parametros, escalas(f, a.parametros, d.sd, 0), d.x);
    a.convergio = !a.errores.empty();
    if (!a.convergio)
        a.motivo = "El ajuste no llegó a un máximo de la verosimilitud";
    return a;
}

// Three parameters: the profile likelihood over the threshold γ = min − d, d on a log grid
// from 10⁻⁶ to 10³ times the range, refined by Brent around the best interior peak. A
// likelihood that keeps rising towards the smallest value (shape below 1) or as γ runs off to
// −∞ (the family's two-parameter limit) has no interior maximum: the fit reports where it
// stopped, and that it did not converge.
Ajuste ajustaTres(Familia f, const Datos& d) {
    const Familia base = baseDe(f);
    const double rango = d.maximo - d.minimo;
    std::vector<double> y, ly;
    Interior ultimo;
    auto perfil = [&](const Datos& sobre, double t) {
        const Interior r = interior(base, sobre, d.minimo, std::exp(t), &ultimo, y, ly);
        if (r.ok)
            ultimo = r;
        return r;
    };
    // The grid only finds where the peak lies: on many values, a few thousand order
    // statistics draw the same profile.
    const Datos rejilla = raleo(d);
    const int J = 19;
    std::vector<double> t(J), l(J);
    std::vector<Interior> en(J);
    for (int j = 0; j < J; ++j) {
        t[j] = std::log(rango) + (j / 2.0 - 6) * std::log(10.0);
        en[j] = perfil(rejilla, t[j]);
        l[j] = en[j].ok ? en[j].logL : -kInf;
    }
    int pico = -1;
    for (int j = 1; j + 1 < J; ++j)
        if (l[j] > l[j - 1] && l[j] >= l[j + 1] && (pico < 0 || l[j] > l[pico]))
            pico = j;
    if (pico >= 0 && rejilla.x.size() != d.x.size()) {
        // All the values again about that peak: near the smallest value the peak moves with n.
        std::vector<double> lleno(J, kNaN);
        auto L = [&](int j) {
            if (std::isnan(lleno[j])) {
                ultimo = en[j];
                const Interior q = perfil(d, t[j]);
                lleno[j] = q.ok ? q.logL : -kInf;
                en[j] = q;
            }
            return lleno[j];
        };
        while (pico > 0 && pico + 1 < J) {
            if (L(pico - 1) > L(pico))
                --pico;
            else if (L(pico + 1) > L(pico))
                ++pico;
            else
                break;
        }
        for (int j = 0; j < J; ++j)
            l[j] = std::isnan(lleno[j]) ? l[j] : lleno[j];
        if (pico == 0 || pico + 1 == J)
            pico = -1;
    }
    Ajuste a;
    a.familia = f;
    double dist;
    Interior r;
    if (pico >= 0) {
        ultimo = en[pico];
        const auto m = boost::math::tools::brent_find_minima(
            [&](double tt) {
                const Interior q = perfil(d, tt);
                return q.ok ? -q.logL : kInf;
            },
            t[pico - 1], t[pico + 1], 24);
        dist = std::exp(m.first);
        r = perfil(d, m.first);
        a.convergio = r.ok;
        if (!r.ok)
            a.motivo = "El ajuste no convergió";
    } else {
        const int j = std::max_element(l.begin(), l.end()) - l.begin();
        const bool abajo = j < J / 2;
        ultimo = en[abajo ? 0 : J - 1];
        dist = std::exp(t[abajo ? 0 : J - 1]);
        r = perfil(d, t[abajo ? 0 : J - 1]);
        a.motivo = abajo ? "La verosimilitud crece sin límite al acercar el umbral al mínimo de "
                           "los datos: el umbral quedó en su cota"
                         : "El umbral se aleja sin límite: los datos no sostienen un tercer "
                           "parámetro, la distribución tiende a su límite de dos parámetros";
    }
    if (!r.ok || !std::isfinite(r.a) || !(r.b > 0))
        return fallo(f, "El ajuste no convergió");
    const double g = d.minimo - dist;
    a.parametros = std::vector<double>{r.a, r.b, g};
    a.logVerosimilitud = r.logL;
    a.errores = errores(f, a.parametros, escalas(f, a.parametros, d.sd, dist), d.x);
    if (a.errores.empty()) {
        a.errores.assign(3, kNaN);
        if (a.convergio)
            a.convergio = false, a.motivo = "El ajuste no llegó a un máximo de la verosimilitud";
    }
    // The threshold against the fit without it (γ = 0), where that one exists.
    if (d.minimo > 0) {
        const Interior dos = interior(base, d, d.minimo, d.minimo, nullptr, y, ly);
        if (dos.ok && std::isfinite(dos.logL)) {
            const double lr = std::max(0.0, 2 * (a.logVerosimilitud - dos.logL));
            a.pRazonVerosimilitud =
                boost::math::cdf(boost::math::complement(boost::math::chi_squared(1), lr));
        }
    }
    return a;
}

Ajuste ajustaOrdenados(Familia f, const Datos& d, bool redondea) {
    switch (f) {
    case Familia::BoxCox:
        return ajustaBoxCox(d, redondea);
    case Familia::Johnson:
        return ajustaJohnson(d);
    case Familia::Lognormal3:
    case Familia::Weibull3:
    case Familia::Gamma3:
    case Familia::LogLogistica3:
        return ajustaTres(f, d);
    default:
        return ajustaDos(f, d);
    }
}

Ajuste ajustaDatos(Familia f, const Datos& d, bool redondea) {
    if (!d.finitos)
        return fallo(f, "Hay valores que no son números finitos");
    if (d.x.size() < minimoValores(f))
        return fallo(f, "Se necesitan al menos " + std::to_string(minimoValores(f)) + " valores");
    if (!(d.maximo > d.minimo) || !(d.sd > 0))
        return fallo(f, "Los datos no tienen variación");
    if (soloPositivos(f) && !(d.minimo > 0))
        return fallo(f, motivoPositivos(f));
    Ajuste a;
    try {
        a = ajustaOrdenados(f, d, redondea);
        if (a.parametros.empty())
            return a;
        const DistribucionAjustada dist = a.distribucion();
        a.a2 = a2De(dist, d.x);
        a.p = pAjuste(f, a.a2, d.x.size(), &a.cota);
    } catch (const std::exception&) {
        return fallo(f, "El ajuste no convergió");
    }
    return a;
}

} // namespace

std::optional<double> pAjuste(Familia f, double a2, std::size_t n, Ajuste::Cota* cota) {
    if (cota)
        *cota = Ajuste::Cota::Exacto;
    const double nd = double(n);
    // pAndersonDarling's last formula turns back up past 150, where p is nothing anyway.
    if (f == Familia::Normal || f == Familia::Lognormal)
        return pAndersonDarling(std::min(150.0, a2 * (1 + 0.75 / nd + 2.25 / (nd * nd))));
    // D'Agostino and Stephens, Goodness-of-Fit Techniques (1986): table 4.14 (exponential,
    // scale estimated), 4.17 (extreme value and, through ln x, Weibull), 4.22 (logistic and,
    // through ln x, loglogistic), each for its modified statistic.
    static const TablaA2 exponencial{{0.25, 0.15, 0.10, 0.05, 0.025, 0.01},
                                     {0.736, 0.916, 1.062, 1.321, 1.591, 1.959}};
    static const TablaA2 extremo{{0.25, 0.10, 0.05, 0.025, 0.01},
                                 {0.474, 0.637, 0.757, 0.877, 1.038}};
    static const TablaA2 logistica{{0.25, 0.10, 0.05, 0.025, 0.01, 0.005},
                                   {0.426, 0.563, 0.660, 0.769, 0.906, 1.010}};
    const TablaA2* t;
    double m;
    switch (f) {
    case Familia::Exponencial:
        t = &exponencial, m = a2 * (1 + 0.6 / nd);
        break;
    case Familia::Weibull:
    case Familia::ValorExtremoMenor:
    case Familia::ValorExtremoMayor:
        t = &extremo, m = a2 * (1 + 0.2 / std::sqrt(nd));
        break;
    case Familia::Logistica:
    case Familia::LogLogistica:
        t = &logistica, m = a2 * (1 + 0.25 / nd);
        break;
    default:
        return std::nullopt;
    }
    if (std::isnan(m))
        return std::nullopt;
    const auto& v = t->valor;
    const auto& p = t->nivel;
    if (m <= v.front()) {
        if (cota && m < v.front())
            *cota = Ajuste::Cota::Mayor;
        return p.front();
    }
    if (m >= v.back()) {
        if (cota && m > v.back())
            *cota = Ajuste::Cota::Menor;
        return p.back();
    }
    // ln p linear in the statistic between the tabulated points.
    const std::size_t i = std::upper_bound(v.begin(), v.end(), m) - v.begin();
    const double w = (m - v[i - 1]) / (v[i] - v[i - 1]);
    return std::exp(std::log(p[i - 1]) + w * (std::log(p[i]) - std::log(p[i - 1])));
}

Ajuste ajusta(Familia f, const std::vector<double>& datos, bool lambdaRedondeada) {
    try {
        return ajustaDatos(f, Datos(datos), lambdaRedondeada);
    } catch (const std::exception&) {
        return fallo(f, "El ajuste no convergió");
    }
}

std::vector<Ajuste> identifica(const std::vector<double>& datos, bool lambdaRedondeada,
                               const std::function<bool(double)>& avance) {
    std::vector<Ajuste> r(kNumFamilias);
    try {
        const Datos d(datos);
        // The slowest first, so that the two threads finish together.
        static const Familia orden[kNumFamilias] = {Familia::Weibull3,
                                                    Familia::LogLogistica3,
                                                    Familia::Gamma3,
                                                    Familia::Lognormal3,
                                                    Familia::BoxCox,
                                                    Familia::Johnson,
                                                    Familia::Gamma,
                                                    Familia::LogLogistica,
                                                    Familia::Logistica,
                                                    Familia::Weibull,
                                                    Familia::ValorExtremoMenor,
                                                    Familia::ValorExtremoMayor,
                                                    Familia::Lognormal,
                                                    Familia::Exponencial,
                                                    Familia::Normal};
        std::atomic<int> siguiente{0}, hechas{0};
        std::atomic<bool> cancelado{false};
        // An exception must not leave a thread: each fit that throws is one that failed.
        auto una = [&](Familia f) {
            try {
                r[int(f)] = ajustaDatos(f, d, lambdaRedondeada);
            } catch (const std::exception&) {
                r[int(f)] = fallo(f, "El ajuste no convergió");
            }
            ++hechas;
        };
        auto trabaja = [&] {
            for (int i; !cancelado && (i = siguiente++) < kNumFamilias;)
                una(orden[i]);
        };
        std::thread otro;
        try {
            otro = std::thread(trabaja);
        } catch (const std::system_error&) {
        } // alone, then
        // This thread reports progress: the caller's callback never runs on the helper.
        for (int i; !cancelado && (i = siguiente++) < kNumFamilias;) {
            una(orden[i]);
            try {
                if (avance && !avance(double(hechas) / kNumFamilias))
                    cancelado = true;
            } catch (...) {
                cancelado = true; // a callback that throws cancels too, once the helper is back
            }
        }
        if (otro.joinable())
            otro.join();
        if (cancelado || (avance && !avance(1.0)))
            return {};
    } catch (const std::exception&) {
        return {};
    }
    std::stable_sort(r.begin(), r.end(), [](const Ajuste& a, const Ajuste& b) {
        if (a.convergio != b.convergio)
            return a.convergio;
        return a.convergio && a.a2 < b.a2;
    });
    return r;
}
