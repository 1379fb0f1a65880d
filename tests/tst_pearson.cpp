#include "comun/comparar.h"
#include "stats/pearson.h"

#include <QtTest>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/quadrature/exp_sinh.hpp>
#include <boost/math/quadrature/sinh_sinh.hpp>
#include <boost/math/quadrature/tanh_sinh.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <functional>

namespace {

using Funcion = std::function<double(double)>;

// ∫ f over [a, b], either end possibly infinite, by the rule each kind of interval wants; the
// distribution's own routines are not used.
double integral(const Funcion& f, double a, double b) {
    if (std::isfinite(a) && std::isfinite(b))
        return boost::math::quadrature::tanh_sinh<double>().integrate(f, a, b);
    if (std::isfinite(a))
        return boost::math::quadrature::exp_sinh<double>().integrate(f, a, b);
    if (std::isfinite(b))
        return boost::math::quadrature::exp_sinh<double>().integrate(
            [&](double x) { return f(-x); }, -b, -a);
    return boost::math::quadrature::sinh_sinh<double>().integrate(f);
}

// Type V's boundary at skewness 1: there the quadratic −31 β2² + 174 β2 − 99 vanishes.
const double kCurtosisV = (174 + std::sqrt(18000.0)) / 62 - 3;

} // namespace

class TstPearson : public QObject {
    Q_OBJECT
private slots:
    void distribucion_data();
    void distribucion();
    void contraBoost_data();
    void contraBoost();
    void imposible();
};

void TstPearson::distribucion_data() {
    columnas<double, double, TipoPearson>("sesgo", "curtosis", "tipo");
    QTest::newRow("normal") << 0.0 << 0.0 << TipoPearson::Normal;
    QTest::newRow("I") << 0.5 << 0.0 << TipoPearson::I;
    QTest::newRow("I muy sesgado") << 1.0 << 1.0 << TipoPearson::I;
    QTest::newRow("II") << 0.0 << -0.5 << TipoPearson::II;
    QTest::newRow("III") << 1.0 << 1.5 << TipoPearson::III;
    QTest::newRow("IV") << 0.9 << 1.6 << TipoPearson::IV;
    QTest::newRow("IV sesgo negativo") << -0.9 << 1.6 << TipoPearson::IV;
    QTest::newRow("V") << 1.0 << kCurtosisV << TipoPearson::V;
    QTest::newRow("VI") << 1.0 << 1.8 << TipoPearson::VI;
    QTest::newRow("VI sesgo negativo") << -1.0 << 1.8 << TipoPearson::VI;
    QTest::newRow("VII") << 0.0 << 1.0 << TipoPearson::VII;
}

// Each type against quadrature of its own density: the density has the four moments asked
// for, the cumulative areas are its integrals, and the quantiles invert them.
void TstPearson::distribucion() {
    QFETCH(double, sesgo);
    QFETCH(double, curtosis);
    QFETCH(TipoPearson, tipo);
    const DistribucionPearson d(sesgo, curtosis);
    QCOMPARE(d.tipo(), tipo);
    const double a = double(d.minimo()), b = double(d.maximo());
    const Funcion f = [&](double x) { return double(d.densidad(x)); };

    double m[5];
    for (int k = 0; k <= 4; ++k)
        m[k] = integral(
            [&](double x) {
                const double fx = f(x); // 0 far out, where x^k alone would overflow
                return fx == 0 ? 0 : std::pow(x, k) * fx;
            },
            a, b);
    QVERIFY2(std::fabs(m[0] - 1) < 1e-9 && std::fabs(m[1]) < 1e-8 && std::fabs(m[2] - 1) < 1e-8,
             qPrintable(QString("masa %1 media %2 varianza %3").arg(m[0]).arg(m[1]).arg(m[2])));
    QVERIFY2(std::fabs(m[3] - sesgo) < 1e-7 && std::fabs(m[4] - 3 - curtosis) < 1e-6,
             qPrintable(QString("sesgo %1 curtosis %2").arg(m[3]).arg(m[4] - 3)));

    for (double z = -6; z <= 6; z += 0.75) {
        const double bajo = z <= a ? 0 : z >= b ? 1 : integral(f, a, z);
        const double alto = z >= b ? 0 : z <= a ? 1 : integral(f, z, b);
        const double cdf = double(d.cdf(z)), cola = double(d.colaSuperior(z));
        QVERIFY2(std::fabs(cdf - bajo) < 1e-9 && std::fabs(cola - alto) < 1e-9,
                 qPrintable(QString("z %1: %2 contra %3").arg(z).arg(cdf).arg(bajo)));
        // A tail keeps six digits, however small.
        if (bajo < 1e-3 && bajo > 0)
            QVERIFY2(std::fabs(cdf / bajo - 1) < 1e-6, qPrintable(QString::number(z)));
        if (alto < 1e-3 && alto > 0)
            QVERIFY2(std::fabs(cola / alto - 1) < 1e-6, qPrintable(QString::number(z)));
    }
    for (double p : {1e-6, 0.00135, 0.3, 0.5, 0.99865, 1 - 1e-6}) {
        const double x = double(d.cuantil(p));
        QVERIFY2(d.cdf(x - 1e-9) <= p && p <= d.cdf(x + 1e-9),
                 qPrintable(QString("p %1: x %2").arg(p).arg(x, 0, 'g', 17)));
    }
    const MomentosPearson mp = d.momentos(); // the fit's own account of itself
    QVERIFY(std::fabs(mp.asimetria - sesgo) < 1e-9 && std::fabs(mp.curtosis - curtosis) < 1e-9);
}

void TstPearson::contraBoost_data() {
    columnas<double, double>("sesgo", "curtosis");
    // Each standardised from its textbook parameters, matched to the moments by hand.
    QTest::addColumn<Funcion>("cdf");
    // Type I: a beta whose shapes and width follow from β1 and β2.
    auto beta = [](double sesgo, double curtosis) {
        const double b1 = sesgo * sesgo, b2 = curtosis + 3;
        const double r = 6 * (b2 - b1 - 1) / (6 + 3 * b1 - 2 * b2);
        const double raiz = std::sqrt((r + 2) * (r + 2) * b1 + 16 * (r + 1));
        const double p = r / 2 * (1 - (r + 2) * sesgo / raiz);
        const double q = r / 2 * (1 + (r + 2) * sesgo / raiz);
        const double ancho = raiz / 2, desde = -ancho * p / (p + q);
        return Funcion([=](double z) {
            return boost::math::ibeta(p, q, std::clamp((z - desde) / ancho, 0.0, 1.0));
        });
    };
    QTest::newRow("I beta") << 0.5 << 0.0 << beta(0.5, 0);
    // J-shaped: infinite at its lower end, with most of its mass a hair from it.
    QTest::newRow("I beta en J") << 1.5 << 0.5 << beta(1.5, 0.5);
    QTest::newRow("III gamma") << 1.0 << 1.5 << Funcion([](double z) {
        return boost::math::gamma_p(4.0, std::max(0.0, 4 + 2 * z));
    });
    // Types V and VI: the inverse gamma and the beta prime, standardised through their raw
    // moments E[X^k] = Π m(i), i = 1..k.
    auto porMomentos = [](const char* nombre, const std::function<double(int)>& m,
                          const Funcion& cdfDeX) {
        const double e1 = m(1), e2 = e1 * m(2), e3 = e2 * m(3), e4 = e3 * m(4);
        const double var = e2 - e1 * e1, sd = std::sqrt(var);
        const double m3 = e3 - 3 * e1 * e2 + 2 * e1 * e1 * e1;
        const double m4 = e4 - 4 * e1 * e3 + 6 * e1 * e1 * e2 - 3 * e1 * e1 * e1 * e1;
        QTest::newRow(nombre) << m3 / (var * sd) << m4 / (var * var) - 3
                              << Funcion([=](double z) { return cdfDeX(e1 + z * sd); });
    };
    const double a = 11, b = 7;
    porMomentos(
        "V gamma inversa", [=](int i) { return 1 / (a - i); },
        [=](double x) { return x <= 0 ? 0 : boost::math::gamma_q(a, 1 / x); });
    porMomentos(
        "VI beta prima", [=](int i) { return (a + i - 1) / (b + a - i); },
        [=](double x) { return x <= 0 ? 0 : boost::math::ibeta(a, b + a, x / (1 + x)); });
    const double nu = 4 + 6 / 1.0;
    QTest::newRow("VII t de Student") << 0.0 << 1.0 << Funcion([=](double z) {
        return cdf(boost::math::students_t_distribution<double>(nu), z * std::sqrt(nu / (nu - 2)));
    });
}

void TstPearson::contraBoost() {
    QFETCH(double, sesgo);
    QFETCH(double, curtosis);
    QFETCH(Funcion, cdf);
    const DistribucionPearson d(sesgo, curtosis);
    // The fit takes the family the row is named after ("V gamma inversa" is type V).
    QCOMPARE(QString(QTest::currentDataTag()).section(' ', 0, 0), nombreTipo(d.tipo()));
    for (double z = -6; z <= 6; z += 0.5)
        QVERIFY2(std::fabs(double(d.cdf(z)) - cdf(z)) < 1e-12, qPrintable(QString::number(z)));
}

void TstPearson::imposible() {
    QVERIFY(!pearsonPosible(1, -1));
    QVERIFY_THROWS_EXCEPTION(PearsonImposible, DistribucionPearson(1.0L, -1.0L));
    QVERIFY_THROWS_EXCEPTION(PearsonImposible, DistribucionPearson(0.0L, -2.0L));
}

QTEST_GUILESS_MAIN(TstPearson)
#include "tst_pearson.moc"
