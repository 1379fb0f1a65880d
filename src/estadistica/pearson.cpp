#include "pearsonmodelo.h"

using namespace pearson;

// P(a < X < b) from the nearer tail, so that a small mass keeps its digits.
long double DistribucionPearson::Modelo::masa(long double a, long double b) const {
    if (!(b > a))
        return 0;
    return b <= 0 ? cdf(b) - cdf(a) : a >= 0 ? cola(a) - cola(b) : 1 - cdf(a) - cola(b);
}

// Pearson's equation, (Q f)' = (2 q2 − n1) x f and (x Q f)' = q0 f + q1 x f + (3 q2 − n1) x² f,
// integrated: the first two moments of an interval from its mass and Q f at its ends. Q f
// vanishes at an end of the support and far out, so over the whole line they are 0 and 1. This
// is the incomplete beta (gamma, Student t) of the shifted parameters, written without them.
MomentosParciales DistribucionPearson::Modelo::parciales(long double a, long double b,
                                                         long double masa) const {
    a = std::fmax(a, minimo());
    b = std::fmin(b, maximo());
    if (!(b > a))
        return {0, 0, 0};
    // x Q f, 0 at an end of the support (either infinite or where Q has a root).
    auto extremo = [&](long double x, long double& qf) {
        qf = x > minimo() && x < maximo() ? frontera(x) : 0;
        return qf != 0 ? x * qf : 0;
    };
    long double qfa, qfb;
    const long double xqfa = extremo(a, qfa), xqfb = extremo(b, qfb);
    const long double primero = (qfa - qfb) / (ec.n1 - 2 * ec.q2);
    const long double segundo =
        (ec.q0 * masa + ec.q1 * primero + xqfa - xqfb) / (ec.n1 - 3 * ec.q2);
    return {masa, primero, std::fmax(0, segundo)};
}

namespace {

class Normal : public Modelo {
public:
    Normal() : Modelo(TipoPearson::Normal, {1, 1, 0, 0}) {}
    long double densidad(long double x) const override {
        return std::exp(-x * x / 2) / std::sqrt(2 * pi<long double>());
    }
    long double frontera(long double x) const override { return densidad(x); }
    long double cdf(long double x) const override { return std::erfc(-x / std::sqrt(2.0L)) / 2; }
    long double cola(long double x) const override { return std::erfc(x / std::sqrt(2.0L)) / 2; }
    long double cuantil(long double p) const override {
        return quantile(boost::math::normal_distribution<long double>(), p);
    }
    MomentosPearson momentos() const override { return {0, 1, 0, 0}; }
};

// The mirror image of a distribution: what a negative skewness gives.
class Espejo : public Modelo {
public:
    explicit Espejo(std::shared_ptr<const Modelo> base)
        : Modelo(base->tipo, {base->ec.n1, base->ec.q0, -base->ec.q1, base->ec.q2}),
          b_(std::move(base)) {}
    long double densidad(long double x) const override { return b_->densidad(-x); }
    long double frontera(long double x) const override { return b_->frontera(-x); }
    long double cdf(long double x) const override { return b_->cola(-x); }
    long double cola(long double x) const override { return b_->cdf(-x); }
    long double cuantil(long double p) const override { return -b_->cuantil(1 - p); }
    long double minimo() const override { return -b_->maximo(); }
    long double maximo() const override { return -b_->minimo(); }
    MomentosPearson momentos() const override {
        MomentosPearson m = b_->momentos();
        m.media = -m.media;
        m.asimetria = -m.asimetria;
        return m;
    }

private:
    std::shared_ptr<const Modelo> b_;
};

std::shared_ptr<const Modelo> ajusta(TipoPearson tipo, const EcuacionPearson& e) {
    switch (tipo) {
    case TipoPearson::Normal:
        return std::make_shared<Normal>();
    case TipoPearson::I:
    case TipoPearson::II:
        return pearson::beta(e, tipo);
    case TipoPearson::III:
        return pearson::gamma(e);
    case TipoPearson::IV:
        return pearson::tipoIV(e);
    case TipoPearson::V:
        return pearson::gammaInversa(e);
    case TipoPearson::VI:
        return pearson::betaPrima(e);
    case TipoPearson::VII:
        return pearson::studentT(e);
    }
    return std::make_shared<Normal>();
}

} // namespace

const char* nombreTipo(TipoPearson tipo) {
    static const char* const nombres[] = {"normal", "I", "II", "III", "IV", "V", "VI", "VII"};
    return nombres[int(tipo)];
}

EcuacionPearson ecuacionPearson(long double sesgo, long double curtosis) {
    const long double b1 = sesgo * sesgo, b2 = curtosis + 3;
    return {10 * b2 - 12 * b1 - 18, 4 * b2 - 3 * b1, sesgo * (b2 + 3), 2 * b2 - 3 * b1 - 6};
}

bool pearsonPosible(long double sesgo, long double curtosis) {
    return curtosis > sesgo * sesgo - 2;
}

TipoPearson tipoPearson(const EcuacionPearson& e, long double sesgo, long double tolerancia) {
    const long double q2 = std::fabs(e.q2) <= tolerancia * std::fabs(e.q0) ? 0 : e.q2;
    if (std::fabs(sesgo) <= tolerancia)
        return q2 < 0 ? TipoPearson::II : q2 == 0 ? TipoPearson::Normal : TipoPearson::VII;
    if (q2 == 0)
        return TipoPearson::III;
    if (q2 < 0)
        return TipoPearson::I;
    const long double disc = e.q1 * e.q1 - 4 * e.q0 * q2;
    if (std::fabs(disc) <= tolerancia * (e.q1 * e.q1 + 4 * e.q0 * q2))
        return TipoPearson::V;
    return disc < 0 ? TipoPearson::IV : TipoPearson::VI;
}

DistribucionPearson::DistribucionPearson(long double sesgo, long double curtosis) {
    if (!pearsonPosible(sesgo, curtosis))
        throw PearsonImposible("no hay distribución con curtosis <= sesgo² - 2");
    // Fitted for |skewness|, the tables' side, and mirrored for a negative one.
    const long double s = std::fabs(sesgo);
    const EcuacionPearson e = ecuacionPearson(s, curtosis);
    modelo_ = ajusta(tipoPearson(e, s, 1e-12L), e);
    if (sesgo < 0)
        modelo_ = std::make_shared<Espejo>(modelo_);
}

DistribucionPearson::DistribucionPearson(TipoPearson tipo, const EcuacionPearson& e)
    : modelo_(ajusta(tipo, e)) {}

TipoPearson DistribucionPearson::tipo() const {
    return modelo_->tipo;
}
long double DistribucionPearson::densidad(long double x) const {
    return modelo_->densidad(x);
}
long double DistribucionPearson::cdf(long double x) const {
    return modelo_->cdf(x);
}
long double DistribucionPearson::colaSuperior(long double x) const {
    return modelo_->cola(x);
}
long double DistribucionPearson::cuantil(long double p) const {
    return modelo_->cuantil(p);
}
long double DistribucionPearson::minimo() const {
    return modelo_->minimo();
}
long double DistribucionPearson::maximo() const {
    return modelo_->maximo();
}
MomentosPearson DistribucionPearson::momentos() const {
    return modelo_->momentos();
}
MomentosParciales DistribucionPearson::parciales(long double a, long double b) const {
    return modelo_->parciales(a, b, modelo_->masa(a, b));
}
MomentosParciales DistribucionPearson::parciales(long double a, long double b,
                                                 long double masa) const {
    return modelo_->parciales(a, b, masa);
}
