// The Pearson families that are textbook distributions: their densities, areas and moments
// through Boost.Math's special functions.
#include "pearsonmodelo.h"

namespace pearson {
namespace {

// Types I and II: density (x - a1)^(p-1) (a2 - x)^(q-1) on (a1, a2). Near b2 = b1 + 1 the
// shapes drop to a few hundredths (U-shaped), which the incomplete beta inverse handles. Such
// a shape holds a good share of its mass within 1e-16 of an end: the upper half works with the
// distance to a2 itself, which 1 − (x − a1) / (a2 − a1) would round away.
class Beta : public Modelo {
public:
    Beta(const EcuacionPearson& e, TipoPearson tipo) : Modelo(tipo, e) {
        raices(e, a1_, a2_);
        p_ = 1 - (e.n1 * a1_ + e.q1) / (e.q2 * (a1_ - a2_));
        q_ = 1 - (e.n1 * a2_ + e.q1) / (e.q2 * (a2_ - a1_));
        ancho_ = a2_ - a1_;
        f0_ = boost::math::ibeta_derivative(p_, q_, -a1_ / ancho_) / ancho_;
    }
    // Scaled from the density at the mean, 0, so that the beta function is not worked out at
    // every point.
    long double densidad(long double x) const override {
        if (x <= a1_ || x >= a2_)
            return 0;
        return f0_ * std::exp((p_ - 1) * std::log((x - a1_) / -a1_) +
                              (q_ - 1) * std::log((a2_ - x) / a2_));
    }
    long double frontera(long double x) const override {
        return ec.q2 * (x - a1_) * (x - a2_) * densidad(x);
    }
    long double cdf(long double x) const override {
        if (2 * x > a1_ + a2_)
            return boost::math::ibetac(q_, p_, acota01((a2_ - x) / ancho_));
        return boost::math::ibeta(p_, q_, acota01((x - a1_) / ancho_));
    }
    long double cola(long double x) const override {
        if (2 * x > a1_ + a2_)
            return boost::math::ibeta(q_, p_, acota01((a2_ - x) / ancho_));
        return boost::math::ibetac(p_, q_, acota01((x - a1_) / ancho_));
    }
    long double cuantil(long double pr) const override {
        // ibeta_inv can stop a few 1e-10 short near the middle of a symmetric shape; one
        // Newton step, kept only if it helps, closes that.
        long double b = boost::math::ibeta_inv(p_, q_, pr);
        const long double d = boost::math::ibeta_derivative(p_, q_, b, kSinExcepcion);
        if (d > 0 && std::isfinite(d)) {
            const long double otro = b - (boost::math::ibeta(p_, q_, b) - pr) / d;
            if (otro > 0 && otro < 1 &&
                std::fabs(boost::math::ibeta(p_, q_, otro) - pr) <
                    std::fabs(boost::math::ibeta(p_, q_, b) - pr))
                b = otro;
        }
        return a1_ + ancho_ * b;
    }
    long double minimo() const override { return a1_; }
    long double maximo() const override { return a2_; }
    MomentosPearson momentos() const override {
        Alta m[4];
        crudos(m, [&](int i) { return (Alta(p_) + i) / (Alta(p_) + Alta(q_) + i); });
        return desdeCrudos(m, a1_, ancho_);
    }

private:
    long double a1_, a2_, p_, q_, ancho_, f0_;
};

// Type III: loc + theta * Gamma(alpha); q2 = 0 makes the equation first order.
class Gamma : public Modelo {
public:
    explicit Gamma(const EcuacionPearson& e) : Modelo(TipoPearson::III, {e.n1, e.q0, e.q1, 0}) {
        alfa_ = e.n1 * e.q0 / (e.q1 * e.q1);
        theta_ = e.q1 / e.n1;
        loc_ = -e.q0 / e.q1;
        f0_ = boost::math::gamma_p_derivative(alfa_, alfa_) / theta_; // at the mean, 0
    }
    long double densidad(long double x) const override {
        if (x <= loc_)
            return 0;
        return f0_ * std::exp((alfa_ - 1) * std::log((x - loc_) / -loc_) - x / theta_);
    }
    long double frontera(long double x) const override { return ec.q1 * (x - loc_) * densidad(x); }
    long double cdf(long double x) const override {
        return boost::math::gamma_p(alfa_, std::fmax(0, (x - loc_) / theta_));
    }
    long double cola(long double x) const override {
        return boost::math::gamma_q(alfa_, std::fmax(0, (x - loc_) / theta_));
    }
    long double cuantil(long double p) const override {
        return loc_ + theta_ * boost::math::gamma_p_inv(alfa_, p);
    }
    long double minimo() const override { return loc_; }
    MomentosPearson momentos() const override {
        Alta m[4];
        crudos(m, [&](int i) { return Alta(alfa_) + i; });
        return desdeCrudos(m, loc_, theta_);
    }

private:
    long double alfa_, theta_, loc_, f0_;
};

// Type VI: a2 + (a2 - a1) Y with Y beta prime, density y^(alfa-1) (1+y)^(-alfa-beta).
class BetaPrima : public Modelo {
public:
    explicit BetaPrima(const EcuacionPearson& e) : Modelo(TipoPearson::VI, e) {
        raices(e, a1_, a2_);
        alfa_ = 1 - (e.n1 * a2_ + e.q1) / (e.q2 * (a2_ - a1_));
        beta_ = e.n1 / e.q2 - 1;
        escala_ = a2_ - a1_;
        const long double y0 = -a2_ / escala_; // the mean, 0
        f0_ = boost::math::ibeta_derivative(alfa_, beta_, y0 / (1 + y0)) /
              ((1 + y0) * (1 + y0) * escala_);
    }
    // y^(alfa-1) (1+y)^(-alfa-beta) against its value at the mean, where 1 + y is
    // (x - a1) / (a2 - a1).
    long double densidad(long double x) const override {
        if (x <= a2_)
            return 0;
        return f0_ * std::exp((alfa_ - 1) * std::log((x - a2_) / -a2_) -
                              (alfa_ + beta_) * std::log((x - a1_) / -a1_));
    }
    long double frontera(long double x) const override {
        return ec.q2 * (x - a1_) * (x - a2_) * densidad(x);
    }
    long double cdf(long double x) const override {
        return boost::math::ibeta(alfa_, beta_, beta(x));
    }
    long double cola(long double x) const override {
        return boost::math::ibetac(alfa_, beta_, beta(x));
    }
    long double cuantil(long double p) const override {
        long double complemento;
        const long double b = boost::math::ibeta_inv(alfa_, beta_, p, &complemento);
        return a2_ + escala_ * b / complemento;
    }
    long double minimo() const override { return a2_; }
    MomentosPearson momentos() const override {
        Alta m[4];
        crudos(m, [&](int i) { return (Alta(alfa_) + i) / (Alta(beta_) - (i + 1)); });
        return desdeCrudos(m, a2_, escala_);
    }

private:
    // The beta variable y / (1 + y), 1 at infinity.
    long double beta(long double x) const {
        return x <= a2_ ? 0 : std::isinf(x) ? 1 : (x - a2_) / (x - a1_);
    }

    long double a1_, a2_, alfa_, beta_, escala_, f0_;
};

// Type V: a0 + b / Gamma(alfa), where the quadratic has a double root a0.
class GammaInversa : public Modelo {
public:
    // The quadratic taken as q2 (x - a0)², its double root exact.
    explicit GammaInversa(const EcuacionPearson& e)
        : Modelo(TipoPearson::V, {e.n1, e.q1 * e.q1 / (4 * e.q2), e.q1, e.q2}) {
        a0_ = -e.q1 / (2 * e.q2);
        alfa_ = e.n1 / e.q2 - 1;
        b_ = -(e.n1 * a0_ + e.q1) / e.q2;
        f0_ = boost::math::gamma_p_derivative(alfa_, b_ / -a0_) * b_ / (a0_ * a0_); // at 0
    }
    // y^(-alfa-1) exp(-b/y), y = x - a0, against its value at the mean, where y = -a0.
    long double densidad(long double x) const override {
        if (x <= a0_)
            return 0;
        const long double y = x - a0_;
        return f0_ * std::exp(-(alfa_ + 1) * std::log(y / -a0_) + b_ * x / (y * -a0_));
    }
    long double frontera(long double x) const override {
        return ec.q2 * (x - a0_) * (x - a0_) * densidad(x);
    }
    long double cdf(long double x) const override {
        return x <= a0_ ? 0 : boost::math::gamma_q(alfa_, b_ / (x - a0_));
    }
    long double cola(long double x) const override {
        return x <= a0_ ? 1 : boost::math::gamma_p(alfa_, b_ / (x - a0_));
    }
    long double cuantil(long double p) const override {
        return a0_ + b_ / boost::math::gamma_q_inv(alfa_, p);
    }
    long double minimo() const override { return a0_; }
    MomentosPearson momentos() const override {
        Alta m[4];
        crudos(m, [&](int i) { return 1 / (Alta(alfa_) - (i + 1)); });
        return desdeCrudos(m, a0_, b_);
    }

private:
    long double a0_, alfa_, b_, f0_;
};

// Type VII: Student t with nu degrees of freedom, scaled to unit variance.
class StudentT : public Modelo {
public:
    explicit StudentT(const EcuacionPearson& e)
        : Modelo(TipoPearson::VII, {e.n1, e.q0, 0, e.q2}), nu_(e.n1 / e.q2 - 1),
          escala_(std::sqrt(e.q0 / (e.q2 * nu_))), t_(nu_), f0_(pdf(t_, 0.0L) / escala_) {}
    long double densidad(long double x) const override {
        const long double u = x / escala_;
        return f0_ * std::exp(-(nu_ + 1) / 2 * std::log1p(u * u / nu_));
    }
    long double frontera(long double x) const override {
        return (ec.q0 + ec.q2 * x * x) * densidad(x);
    }
    long double cdf(long double x) const override { return boost::math::cdf(t_, x / escala_); }
    long double cola(long double x) const override {
        return boost::math::cdf(complement(t_, x / escala_));
    }
    long double cuantil(long double p) const override { return escala_ * quantile(t_, p); }
    MomentosPearson momentos() const override {
        const Alta n(nu_);
        Alta m[4] = {0, n / (n - 2), 0, 3 * n * n / ((n - 2) * (n - 4))};
        return desdeCrudos(m, 0, escala_);
    }

private:
    long double nu_, escala_;
    boost::math::students_t_distribution<long double> t_;
    long double f0_;
};

} // namespace

std::shared_ptr<const Modelo> beta(const EcuacionPearson& e, TipoPearson tipo) {
    return std::make_shared<Beta>(e, tipo);
}
std::shared_ptr<const Modelo> gamma(const EcuacionPearson& e) {
    return std::make_shared<Gamma>(e);
}
std::shared_ptr<const Modelo> gammaInversa(const EcuacionPearson& e) {
    return std::make_shared<GammaInversa>(e);
}
std::shared_ptr<const Modelo> betaPrima(const EcuacionPearson& e) {
    return std::make_shared<BetaPrima>(e);
}
std::shared_ptr<const Modelo> studentT(const EcuacionPearson& e) {
    return std::make_shared<StudentT>(e);
}

} // namespace pearson
