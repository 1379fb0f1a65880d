// Pearson's type IV, which no library function integrates: its own quadrature, once per shape.
#include "pearsonmodelo.h"

namespace pearson {
namespace {

// Type IV: density (1 + u^2)^(-m) exp(-nu atan u), u = (x - lambda) / delta. With
// u = cot t the density becomes sin(t)^(2m-2) exp(nu t) on (0, pi): bounded and smooth, so
// quadrature copes, and the heavy tail of x is the short stretch near t = 0. The masses from
// either end up to each of kTramos even steps in t are integrated once; any other mass is one
// of them plus a piece of a step.
class TipoIV : public Modelo {
public:
    explicit TipoIV(const EcuacionPearson& e) : Modelo(TipoPearson::IV, e) {
        lambda_ = -e.q1 / (2 * e.q2);
        delta_ = std::sqrt(4 * e.q0 * e.q2 - e.q1 * e.q1) / (2 * e.q2);
        m_ = e.n1 / (2 * e.q2);
        nu_ = (e.n1 * lambda_ + e.q1) / (e.q2 * delta_);
        logModa_ = logDensidad(std::atan2(2 * m_ - 2, -nu_));
        paso_ = pi<long double>() / kTramos;
        desdeCero_.assign(kTramos + 1, 0);
        hastaPi_.assign(kTramos + 1, 0);
        for (int i = 0; i < kTramos; ++i)
            desdeCero_[i + 1] = desdeCero_[i] + tramo(i, paso_ * i, paso_ * (i + 1));
        for (int i = kTramos; i > 0; --i)
            hastaPi_[i - 1] = hastaPi_[i] + tramo(i - 1, paso_ * (i - 1), paso_ * i);
        total_ = desdeCero_[kTramos];
    }

    long double densidad(long double x) const override {
        const long double u = (x - lambda_) / delta_;
        const long double log =
            -m_ * std::log1p(u * u) - nu_ * std::atan(u) + nu_ * pi<long double>() / 2 - logModa_;
        return std::exp(log) / (delta_ * total_);
    }
    long double frontera(long double x) const override {
        const long double u = x - lambda_;
        return ec.q2 * (u * u + delta_ * delta_) * densidad(x);
    }
    // x grows as t falls: the lower tail of x is the mass from t to pi.
    long double cdf(long double x) const override { return hastaPiDesde(tDe(x)) / total_; }
    long double cola(long double x) const override { return desdeCeroHasta(tDe(x)) / total_; }

    long double cuantil(long double p) const override {
        // Solve for the smaller tail so its mass is integrated directly, not by difference.
        const bool inferior = p <= 0.5L;
        const long double objetivo = (inferior ? p : 1 - p) * total_;
        auto f = [&](long double t) {
            return (inferior ? hastaPiDesde(t) : desdeCeroHasta(t)) - objetivo;
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

    MomentosPearson momentos() const override {
        // Closed forms for the moments of type IV, with r = 2(m - 1).
        const Alta r = 2 * (Alta(m_) - 1), v = nu_, d = delta_, rv = r * r + v * v;
        MomentosPearson mo;
        mo.media = static_cast<long double>(lambda_ - d * v / r);
        mo.varianza = static_cast<long double>(d * d * rv / (r * r * (r - 1)));
        mo.asimetria = static_cast<long double>(-4 * v / (r - 2) * sqrt((r - 1) / rv));
        mo.curtosis = static_cast<long double>(
            3 * (r - 1) * ((r + 6) * rv - 8 * r * r) / ((r - 2) * (r - 3) * rv) - 3);
        return mo;
    }

private:
    static constexpr int kTramos = 256;

    long double logDensidad(long double t) const {
        return (2 * m_ - 2) * std::log(std::sin(t)) + nu_ * t;
    }
    // In double: the integrands are smooth and their pieces summed in long double, so this
    // costs no digit the tables or the tests can see, and is several times faster.
    double g(double t) const {
        return std::exp(double(2 * m_ - 2) * std::log(std::sin(t)) + double(nu_) * t -
                        double(logModa_));
    }
    long double tDe(long double x) const { return std::atan2(delta_, x - lambda_); }

    // The mass over [a, b] within step i: the end steps meet sin(t)^(2m-2) at t = 0 or pi, where
    // it is not smooth, and take a rule that copes with such ends.
    long double tramo(int i, long double a, long double b) const {
        if (!(b > a))
            return 0;
        auto f = [this](double t) { return g(t); };
        if (i == 0 || i == kTramos - 1) {
            // Not const: Boost 1.74 only offers integrate(f, a, b) on a non-const object.
            thread_local boost::math::quadrature::tanh_sinh<double> ts; // each worker its own
            return ts.integrate(f, double(a), double(b));
        }
        return boost::math::quadrature::gauss<double, 20>::integrate(f, double(a), double(b));
    }
    int indice(long double t) const { return std::clamp(int(t / paso_), 0, kTramos - 1); }
    long double desdeCeroHasta(long double t) const {
        const int i = indice(t);
        return desdeCero_[i] + tramo(i, paso_ * i, t);
    }
    long double hastaPiDesde(long double t) const {
        const int i = indice(t);
        return hastaPi_[i + 1] + tramo(i, t, paso_ * (i + 1));
    }

    long double lambda_, delta_, m_, nu_, logModa_, paso_, total_;
    std::vector<long double> desdeCero_, hastaPi_; // masses from 0 up to, and from, each step
};

} // namespace

std::shared_ptr<const Modelo> tipoIV(const EcuacionPearson& e) {
    return std::make_shared<TipoIV>(e);
}

} // namespace pearson
