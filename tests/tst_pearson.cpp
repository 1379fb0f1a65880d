#include "comun/cajasmapa.h"
#include "comun/comparar.h"
#include "costo/exacto.h"
#include "costo/optimo.h"
#include "estudio/forma.h"
#include "pearson.h"

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>

namespace {

// A textbook variable Y as E[Y^j; u < Y < v], j = 0 … 4, in 50 digits: through the incomplete
// beta or gamma functions of shifted parameters, or by quadrature where there are none.
using Alta = boost::multiprecision::cpp_bin_float_50;
using Parcial = std::function<Alta(int, const Alta&, const Alta&)>;
const Alta kInfinito = std::numeric_limits<Alta>::infinity();

// ibeta / gamma_p with the ends of their range (and beyond) taken exactly.
Alta I(const Alta& a, const Alta& b, const Alta& x) {
    return x <= 0 ? Alta(0) : x >= 1 ? Alta(1) : boost::math::ibeta(a, b, x);
}
Alta P(const Alta& a, const Alta& x) {
    return x <= 0 ? Alta(0) : isinf(x) ? Alta(1) : boost::math::gamma_p(a, x);
}

Parcial beta(Alta p, Alta q) {
    return [=](int j, const Alta& u, const Alta& v) {
        return boost::math::beta(p + j, q) / boost::math::beta(p, q) *
               (I(p + j, q, v) - I(p + j, q, u));
    };
}
Parcial gammaDe(Alta a) {
    return [=](int j, const Alta& u, const Alta& v) {
        return boost::math::tgamma_ratio(a + j, a) * (P(a + j, v) - P(a + j, u));
    };
}
Parcial gammaInversa(Alta a) { // 1 / Gamma(a)
    return [=](int j, const Alta& u, const Alta& v) {
        auto inversa = [](const Alta& y) { return y <= 0 ? kInfinito : 1 / y; };
        return boost::math::tgamma_ratio(a - j, a) * (P(a - j, inversa(u)) - P(a - j, inversa(v)));
    };
}
Parcial betaPrima(Alta a, Alta b) { // X / (1 − X), X beta(a, b)
    return [=](int j, const Alta& u, const Alta& v) {
        auto x = [](const Alta& y) { return y <= 0 ? Alta(0) : isinf(y) ? Alta(1) : y / (1 + y); };
        return boost::math::beta(a + j, b - j) / boost::math::beta(a, b) *
               (I(a + j, b - j, x(v)) - I(a + j, b - j, x(u)));
    };
}
Parcial student(Alta nu) { // T² / (nu + T²) is beta(1/2, nu/2)
    return [=](int j, const Alta& u, const Alta& v) {
        auto desdeCero = [&](const Alta& w) {
            const Alta a = Alta(1 + j) / 2, b = (nu - j) / 2,
                       x = isinf(w) ? 1 : w * w / (nu + w * w);
            const Alta media = pow(nu, Alta(j) / 2) * boost::math::beta(a, b) /
                               boost::math::beta(Alta(0.5), nu / 2) * I(a, b, x) / 2;
            return w >= 0 ? media : (j % 2 ? media : -media);
        };
        return desdeCero(v) - desdeCero(u);
    };
}
// Density (1 + y²)^(−m) exp(−nu atan y): with y = tan t, cos(t)^(2m−2) exp(−nu t) on (−π/2, π/2),
// smooth, integrated either side of its peak (in long double: its digits are plenty here, and
// 50-digit quadrature takes minutes).
Parcial tipoIV(long double m, long double nu) {
    const long double pico = std::atan(-nu / (2 * m - 2));
    auto integral = [=](int j, const Alta& u, const Alta& v) {
        auto f = [&](long double t) {
            return std::pow(std::tan(t), j) *
                   std::exp((2 * m - 2) * std::log(std::cos(t)) - nu * t);
        };
        auto trozo = [&](long double x, long double y) {
            return y > x ? boost::math::quadrature::gauss_kronrod<long double, 31>::integrate(
                               f, x, y, 15, 1e-13L)
                         : 0.0L;
        };
        const long double a = std::atan(static_cast<long double>(u)),
                          b = std::atan(static_cast<long double>(v));
        const bool parte = pico - a > 1e-6 && b - pico > 1e-6; // no sliver at either side
        return Alta(parte ? trozo(a, pico) + trozo(pico, b) : trozo(a, b));
    };
    const Alta total = integral(0, -kInfinito, kInfinito);
    return [=](int j, const Alta& u, const Alta& v) { return integral(j, u, v) / total; };
}

// −Y.
Parcial espejo(Parcial y) {
    return [=](int j, const Alta& u, const Alta& v) { return (j % 2 ? -1 : 1) * y(j, -v, -u); };
}

} // namespace

Q_DECLARE_METATYPE(Parcial)

class TstPearson : public QObject {
    Q_OBJECT
private slots:
    void lineaV_data();
    void lineaV();
    void parciales_data();
    void parciales();
};

// The type V line as an inverse gamma's moments reach it in doubles: still V 0.7 of the
// criterion's tolerance away from it, IV just above it and VI just below.
void TstPearson::lineaV_data() {
    columnas<double, double, QString>("sesgo", "curtosis", "tipo");
    for (double a : {4.5, 11.0, 1e6}) {
        const double s = 4 * std::sqrt(a - 2) / (a - 3), k = (30 * a - 66) / ((a - 3) * (a - 4));
        QTest::addRow("V, forma %g", a) << s << k << QString("V");
        QTest::addRow("IV, forma %g", a) << s << k * (1 + 1e-10) << QString("IV");
        QTest::addRow("VI, forma %g", a) << s << k * (1 - 1e-10) << QString("VI");
        if (a == 11)
            for (double d : {4e-13, -4e-13})
                QTest::addRow("V por poco, %g", d) << s << k * (1 + d) << QString("V");
    }
}

void TstPearson::lineaV() {
    QFETCH(double, sesgo);
    QFETCH(double, curtosis);
    QFETCH(QString, tipo);
    QCOMPARE(QString(nombreTipo(DistribucionPearson(sesgo, curtosis).tipo())), tipo);
}

void TstPearson::parciales_data() {
    columnas<QString, Parcial>("tipo", "y");
    fila("I en J", QString("I"), beta(0.5, 3));
    fila("I en J, sesgo negativo", QString("I"), espejo(beta(0.3, 2)));
    fila("I en U", QString("I"), beta(0.06, 0.18));
    fila("I", QString("I"), beta(2, 3.5));
    fila("I casi normal", QString("I"), beta(3000, 3100));
    fila("II", QString("II"), beta(2.5, 2.5));
    fila("II en U", QString("II"), beta(0.2, 0.2));
    fila("II casi normal", QString("II"), beta(3000, 3000));
    fila("III", QString("III"), gammaDe(4));
    fila("III en J", QString("III"), espejo(gammaDe(0.7)));
    fila("IV", QString("IV"), tipoIV(28, 107));
    fila("IV sesgo negativo", QString("IV"), espejo(tipoIV(28, 107)));
    fila("IV casi normal", QString("IV"), tipoIV(3000, 100));
    fila("V", QString("V"), gammaInversa(11));
    fila("VI", QString("VI"), betaPrima(11, 18));
    fila("VI sesgo negativo", QString("VI"), espejo(betaPrima(11, 18)));
    fila("VII", QString("VII"), student(10));
    fila("VII casi normal", QString("VII"), student(6004));
}

// Each type against the textbook variable standardised by its own moments: the cumulative areas
// and quantiles; the moments of intervals that split the whole line at the ends of the support,
// far in the tails and across the middle; and, from them, the Taguchi loss of a process spread
// far below its tolerance, and the whole cost of one spread across its limits, its slope and
// its optimum.
void TstPearson::parciales() {
    QFETCH(QString, tipo);
    QFETCH(Parcial, y);
    Alta e[5];
    for (int j = 0; j <= 4; ++j)
        e[j] = y(j, -kInfinito, kInfinito);
    const Alta media = e[1], var = e[2] - media * media, sd = sqrt(var);
    const Alta m3 = e[3] - 3 * media * e[2] + 2 * pow(media, 3);
    const Alta m4 = e[4] - 4 * media * e[3] + 6 * media * media * e[2] - 3 * pow(media, 4);
    const double sesgo = double(m3 / (var * sd)), curtosis = double(m4 / (var * var) - 3);
    const DistribucionPearson d(sesgo, curtosis);
    QCOMPARE(QString(nombreTipo(d.tipo())), tipo);
    // ∫ z^k f over (a, b), and ∫ |z| f, what M1's digits are measured against.
    auto referencia = [&](int k, double a, double b) -> double {
        if (!(b > a))
            return 0;
        const Alta u = media + sd * a, v = media + sd * b, e0 = y(0, u, v), e1 = y(1, u, v);
        if (k == 0)
            return double(e0);
        if (k == 1)
            return double((e1 - media * e0) / sd);
        return double((y(2, u, v) - 2 * media * e1 + media * media * e0) / var);
    };
    auto absoluto = [&](double a, double b) {
        return referencia(1, std::max(a, 0.0), b) - referencia(1, a, std::min(b, 0.0));
    };

    const double inf = std::numeric_limits<double>::infinity();
    // The cumulative areas from each end, to the last digits of the smallest tail.
    for (double z = -6; z <= 6; z += 0.5) {
        const double bajo = referencia(0, -inf, z), alto = referencia(0, z, inf);
        QVERIFY2(
            std::fabs(double(d.cdf(z)) - bajo) <= std::min(1e-12, 1e-6 * bajo) &&
                std::fabs(double(d.colaSuperior(z)) - alto) <= std::min(1e-12, 1e-6 * alto),
            qPrintable(QString::asprintf("z %g: %.17g, %.17g contra %.17g, %.17g", z,
                                         double(d.cdf(z)), double(d.colaSuperior(z)), bajo, alto)));
    }
    for (double p : {1e-6, 0.00135, 0.3, 0.5, 0.99865, 1 - 1e-6}) { // the quantiles invert them
        const double x = double(d.cuantil(p));
        QVERIFY2(d.cdf(x - 1e-9) <= p && p <= d.cdf(x + 1e-9), qPrintable(QString::number(p)));
    }
    std::vector<double> cortes{-inf, double(d.cuantil(1e-9)), double(d.cuantil(0.3)),
                               0,    double(d.cuantil(0.8)),  double(d.cuantil(1 - 1e-9)),
                               inf};
    // A J or U end holds much of its mass within 1e-4 of it. Nearer, a cut would measure where
    // the end falls for skewness and kurtosis rounded to doubles (within 1e-16), not the moments.
    for (double extremo : {double(d.minimo()), double(d.maximo())})
        if (std::isfinite(extremo)) {
            cortes.erase(std::remove_if(cortes.begin(), cortes.end(),
                                        [&](double z) { return std::fabs(z - extremo) < 1e-4; }),
                         cortes.end());
            cortes.push_back(extremo + (extremo < 0 ? 1e-4 : -1e-4));
        }
    std::sort(cortes.begin(), cortes.end());
    cortes.push_back(-inf); // and the whole line
    for (std::size_t i = 0; i + 1 < cortes.size(); ++i) {
        const double a = std::min(cortes[i], cortes[i + 1]), b = std::max(cortes[i], cortes[i + 1]);
        const MomentosParciales m = d.parciales(a, b);
        const double calculado[3] = {double(m.masa), double(m.primero), double(m.segundo)};
        for (int k = 0; k < 3; ++k) {
            const double esperado = referencia(k, a, b);
            const double escala = k == 1 ? absoluto(a, b) : esperado;
            QVERIFY2(std::fabs(calculado[k] - esperado) <= 1e-9 * escala,
                     qPrintable(QString::asprintf("M%d(%.17g, %.17g) = %.17g contra %.17g", k, a, b,
                                                  calculado[k], esperado)));
        }
    }

    // Rework limits 20 and 80 around the target 50, their costs 10 and 20, scrap beyond 10 and
    // 90; σ 60/600 or 60/6000, the mean where the target cuts the shape at its 30 % point, or 5
    // above the target with the whole shape on one side of it.
    CajasMapa c = CajasMapa::tipico(1);
    c.textos[Caja::YRetS] = "20";
    const FormaProceso forma(sesgo, curtosis);
    for (double sigma : {0.1, 0.01})
        for (double mu : {50 - sigma * double(d.cuantil(0.3)), 55.0}) {
            auto z = [&](double limite) { return (limite - mu) / sigma; };
            auto perdida = [&](double a, double b) { // E[(σZ + μ − 50)²; a < Z < b]
                const double d = mu - 50;
                return sigma * sigma * referencia(2, a, b) + 2 * sigma * d * referencia(1, a, b) +
                       d * d * referencia(0, a, b);
            };
            const double buenas = 1 - referencia(0, -inf, z(10)) - referencia(0, z(90), inf);
            const double esperado =
                (10 * perdida(z(20), z(50)) + 20 * perdida(z(50), z(80))) / 900 / buenas;
            const double calculado = costoExacto(c, mu, sigma, &forma).parteFueraDeObjetivo;
            QVERIFY2(std::fabs(calculado - esperado) <= 1e-9 * esperado,
                     qPrintable(QString::asprintf("media %.17g, σ %g: %.17g contra %.17g", mu,
                                                  sigma, calculado, esperado)));
        }

    // The whole cost of a process of mean 47 and σ 12, its nominal line rising to 9: between
    // limits the cost is a quadratic a + bx + cx², read off three of its points, whose
    // expectation over x = μ + σz the partial moments give.
    c.textos[Caja::YNomS] = "9";
    const double mu = 47, sigma = 12;
    const double limites[] = {-inf, 10, 20, 50, 80, 90, inf};
    double total = 0;
    for (int i = 0; i < 6; ++i) {
        const double lo = limites[i], hi = limites[i + 1];
        const double u = std::isfinite(lo) ? lo : hi - 3,
                     h = ((std::isfinite(hi) ? hi : lo + 3) - u) / 3;
        const double x = u + 1.5 * h, y0 = Lozar(c, x - h), y1 = Lozar(c, x), y2 = Lozar(c, x + h);
        const double cc = (y0 - 2 * y1 + y2) / (2 * h * h), b = (y2 - y0) / (2 * h) - 2 * cc * x,
                     a = y1 - b * x - cc * x * x;
        const double z0 = (lo - mu) / sigma, z1 = (hi - mu) / sigma;
        const double m0 = referencia(0, z0, z1), m1 = referencia(1, z0, z1),
                     m2 = referencia(2, z0, z1);
        total += a * m0 + b * (mu * m0 + sigma * m1) +
                 cc * (mu * mu * m0 + 2 * mu * sigma * m1 + sigma * sigma * m2);
    }
    const double buenas =
        1 - referencia(0, -inf, (10 - mu) / sigma) - referencia(0, (90 - mu) / sigma, inf);
    const CostoExacto r = costoExacto(c, mu, sigma, &forma, true);
    LOZAR_COMPARA(r.efectivo, total / buenas, 1e-9);
    // Its parts add up, and its slope is the cost's own differences.
    LOZAR_COMPARA(r.parteDesperdicio + r.parteRetrabajo + r.parteFueraDeObjetivo, r.noCalidad(),
                  1e-12);
    const double h = 1e-5;
    LOZAR_COMPARA(r.derivada,
                  (costoExacto(c, mu + h, sigma, &forma).efectivo -
                   costoExacto(c, mu - h, sigma, &forma).efectivo) /
                      (2 * h),
                  1e-6);
    // Spread far below the tolerance, the same cost either side: least at the target, 5 + kσ².
    const std::optional<MediaOptima> m = buscaMediaOptima(CajasMapa::tipico(1), 0.01, &forma);
    QVERIFY(m && std::fabs(m->media - 50) < 1e-6);
    LOZAR_COMPARA(m->efectivo, 5 + 10.0 / 900 * 1e-4, 1e-12);
}

QTEST_GUILESS_MAIN(TstPearson)
#include "tst_pearson.moc"
