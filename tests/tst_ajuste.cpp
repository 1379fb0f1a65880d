#include "ajuste.h"
#include "comun/comparar.h"

#include <boost/math/special_functions/trigamma.hpp>
#include <random>

namespace {

using Vector = std::vector<double>;
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// n values of a variable drawn from uniforms through its quantile function.
template <typename Q> Vector muestra(Q cuantil, int n = 2000, unsigned semilla = 7) {
    std::mt19937 g(semilla);
    std::uniform_real_distribution<double> u(0, 1);
    Vector v(n);
    for (double& x : v)
        x = cuantil(u(g));
    return v;
}

double normalInv(double p) {
    return DistribucionAjustada(Familia::Normal, {0, 1}).cuantil(p);
}

// A composite Simpson rule on m panels in s, x = a + (b − a) s², which smooths a density's
// power-law start at a: a method unlike the library's.
template <typename F> double simpson(F f, double a, double b, int m = 20000) {
    const double h = 1.0 / m;
    auto g = [&](double s) { return f(a + (b - a) * s * s) * 2 * (b - a) * s; };
    double t = g(1e-8 * h) + g(1); // the limit at s = 0, where x^(λ−1) can be infinite
    for (int i = 1; i < m; ++i)
        t += g(i * h) * (i % 2 ? 4 : 2);
    return t * h / 3;
}

} // namespace

Q_DECLARE_METATYPE(Familia)
Q_DECLARE_METATYPE(Vector)

class TstAjuste : public QObject {
    Q_OBJECT
private slots:
    void recupera_data();
    void recupera();
    void rodamientos();
    void valoresP_data();
    void valoresP();
    void distribucion_data();
    void distribucion();
    void fallos_data();
    void fallos();
    void identificacion();
};

// Samples of known parameters: each estimate within 3 of its standard errors, the errors within
// 30 % of the asymptotic ones where these are known (NaN where not), and the fitted quantiles
// where the true ones are.
void TstAjuste::recupera_data() {
    columnas<Familia, Vector, Vector, Vector>("familia", "datos", "verdad", "asintotico");
    const double n = 2000, pi = M_PI;
    auto logit = [](double p) { return std::log(p / (1 - p)); };
    auto weibull = [](double k, double l, double g) {
        return [=](double p) { return g + l * std::pow(-std::log1p(-p), 1 / k); };
    };
    fila("normal", Familia::Normal, muestra([](double p) { return 10 + 2 * normalInv(p); }),
         Vector{10, 2}, Vector{2 / std::sqrt(n), 2 / std::sqrt(2 * n)});
    fila("Box-Cox", Familia::BoxCox,
         muestra([](double p) { return std::pow(1 + 0.5 * (3 + 0.4 * normalInv(p)), 2); }),
         Vector{0.5, 3, 0.4}, Vector{kNaN, kNaN, kNaN});
    fila("lognormal", Familia::Lognormal,
         muestra([](double p) { return std::exp(1 + 0.5 * normalInv(p)); }), Vector{1, 0.5},
         Vector{0.5 / std::sqrt(n), 0.5 / std::sqrt(2 * n)});
    fila("lognormal 3", Familia::Lognormal3,
         muestra([](double p) { return 10 + std::exp(1 + 0.5 * normalInv(p)); }),
         Vector{1, 0.5, 10}, Vector{kNaN, kNaN, kNaN});
    fila("exponencial", Familia::Exponencial, muestra([](double p) { return -4 * std::log1p(-p); }),
         Vector{4}, Vector{4 / std::sqrt(n)});
    // Weibull: var k̂ = 0.608 k²/n, var λ̂ = 1.109 λ²/(k² n); the extreme values likewise.
    fila("Weibull", Familia::Weibull, muestra(weibull(1.8, 10, 0)), Vector{1.8, 10},
         Vector{1.8 * std::sqrt(0.608 / n), 10 / 1.8 * std::sqrt(1.109 / n)});
    fila("Weibull 3", Familia::Weibull3, muestra(weibull(2.5, 10, 5)), Vector{2.5, 10, 5},
         Vector{kNaN, kNaN, kNaN});
    fila("VE mínimo", Familia::ValorExtremoMenor,
         muestra([](double p) { return 50 + 3 * std::log(-std::log1p(-p)); }), Vector{50, 3},
         Vector{3 * std::sqrt(1.109 / n), 3 * std::sqrt(0.608 / n)});
    fila("VE máximo", Familia::ValorExtremoMayor,
         muestra([](double p) { return 50 - 3 * std::log(-std::log(p)); }), Vector{50, 3},
         Vector{3 * std::sqrt(1.109 / n), 3 * std::sqrt(0.608 / n)});
    { // gamma: the inverse of n [[ψ'(α), 1/θ], [1/θ, α/θ²]]
        const double a = 3, t = 2, det = (a * boost::math::trigamma(a) - 1) / (t * t);
        std::gamma_distribution<double> g(a, t);
        std::mt19937 r(7);
        Vector v(2000), w(2000);
        for (double& x : v)
            x = g(r);
        for (std::size_t i = 0; i < v.size(); ++i)
            w[i] = v[i] + 5;
        fila("gamma", Familia::Gamma, v, Vector{a, t},
             Vector{std::sqrt(a / (t * t) / det / n),
                    std::sqrt(boost::math::trigamma(a) / det / n)});
        fila("gamma 3", Familia::Gamma3, w, Vector{a, t, 5}, Vector{kNaN, kNaN, kNaN});
    }
    // Logistic: var μ̂ = 3 s²/n, var ŝ = 9 s²/((3 + π²) n).
    const Vector seLogistica{2 * std::sqrt(3 / n), 2 * std::sqrt(9 / ((3 + pi * pi) * n))};
    fila("logística", Familia::Logistica, muestra([&](double p) { return 20 + 2 * logit(p); }),
         Vector{20, 2}, seLogistica);
    fila("loglogística", Familia::LogLogistica,
         muestra([&](double p) { return std::exp(20 + 2 * logit(p)); }), Vector{20, 2},
         seLogistica);
    fila("loglogística 3", Familia::LogLogistica3,
         muestra([&](double p) { return 5 + std::exp(1 + 0.25 * logit(p)); }), Vector{1, 0.25, 5},
         Vector{kNaN, kNaN, kNaN});
    fila("Johnson SU", Familia::Johnson,
         muestra([](double p) { return 10 + 3 * std::sinh((normalInv(p) + 1) / 2); }),
         Vector{2, -1, 2, 10, 3}, Vector{});
    fila("Johnson SB", Familia::Johnson,
         muestra([](double p) { return 3 + 10 / (1 + std::exp(-(normalInv(p) - 0.5) / 1.2)); }),
         Vector{0, 0.5, 1.2, 3, 10}, Vector{});
}

void TstAjuste::recupera() {
    QFETCH(Familia, familia);
    QFETCH(Vector, datos);
    QFETCH(Vector, verdad);
    QFETCH(Vector, asintotico);
    const Ajuste a = ajusta(familia, datos);
    QVERIFY2(a.convergio, a.motivo.c_str());
    QCOMPARE(a.parametros.size(), verdad.size());
    if (familia == Familia::Johnson) // the percentile rule tells the type
        QCOMPARE(a.parametros[0], verdad[0]);
    for (std::size_t i = 0; i < asintotico.size(); ++i) {
        const double e = a.errores[i];
        QVERIFY2(std::fabs(a.parametros[i] - verdad[i]) <= 3 * e,
                 qPrintable(QString("%1: %2 ± %3").arg(i).arg(a.parametros[i]).arg(e)));
        if (!std::isnan(asintotico[i]))
            QVERIFY2(std::fabs(e / asintotico[i] - 1) < 0.3,
                     qPrintable(QString("%1: %2 contra %3").arg(i).arg(e).arg(asintotico[i])));
    }
    const DistribucionAjustada ajustada = a.distribucion(), real(familia, verdad);
    for (double p : {0.02, 0.1, 0.5, 0.9, 0.98})
        QVERIFY2(std::fabs(ajustada.cdf(real.cuantil(p)) - p) < 0.02,
                 qPrintable(QString::number(p)));
    QVERIFY(a.a2 < 3); // the sample is what it was drawn as
    // The likelihood the table's tests rest on is the fitted density's (the normal's σ is
    // reported with n − 1, its likelihood taken at the maximum).
    if (familia != Familia::Normal && familia != Familia::Johnson) {
        double l = 0;
        for (double x : datos)
            l += std::log(ajustada.densidad(x));
        QVERIFY2(std::fabs(a.logVerosimilitud - l) < 1e-7 * std::fabs(l),
                 qPrintable(QString("%1 contra %2").arg(a.logVerosimilitud).arg(l)));
    }
}

// Lieblein and Zelen's (1956) ball bearings, millions of revolutions to failure. Lawless,
// Statistical Models and Methods for Lifetime Data, gives the Weibull MLE shape 2.102, scale
// 81.88, and the lognormal's μ 4.150, σ 0.522.
void TstAjuste::rodamientos() {
    const Vector v{17.88, 28.92, 33.00,  41.52,  42.12,  45.60,  48.48, 51.84,
                   51.96, 54.12, 55.56,  67.80,  68.64,  68.64,  68.88, 84.12,
                   93.12, 98.64, 105.12, 105.84, 127.92, 128.04, 173.40};
    const Ajuste w = ajusta(Familia::Weibull, v), l = ajusta(Familia::Lognormal, v);
    QVERIFY(w.convergio && l.convergio);
    QCOMPARE(std::round(w.parametros[0] * 1000) / 1000, 2.102);
    QCOMPARE(std::round(w.parametros[1] * 100) / 100, 81.88);
    QCOMPARE(std::round(l.parametros[0] * 1000) / 1000, 4.150);
    QCOMPARE(std::round(l.parametros[1] * 1000) / 1000, 0.522);
    // Box-Cox's λ, 0.19, rounds to 0: the lognormal again, σ with n − 1.
    const Ajuste b = ajusta(Familia::BoxCox, v, true);
    QCOMPARE(b.parametros[0], 0.0);
    QVERIFY(std::isnan(b.errores[0]) && b.errores[1] > 0);
    LOZAR_COMPARA(b.parametros[1], l.parametros[0], 1e-12);
    LOZAR_COMPARA(b.parametros[2], l.parametros[1] * std::sqrt(23.0 / 22), 1e-12);
    // The three-parameter Weibull improves on it, but not significantly at 23 values.
    const Ajuste w3 = ajusta(Familia::Weibull3, v);
    QVERIFY(w3.logVerosimilitud >= w.logVerosimilitud && w3.parametros[2] < v.front());
    QVERIFY(w3.pRazonVerosimilitud && *w3.pRazonVerosimilitud > 0.05);
}

// A modified A² exactly at a tabulated critical value gives its level, between two the
// log-linear mean, beyond the ends the end and which side.
void TstAjuste::valoresP_data() {
    columnas<Familia, int, double, double, int>("familia", "n", "a2", "p", "cota");
    const int e = int(Ajuste::Cota::Exacto), mayor = int(Ajuste::Cota::Mayor),
              menor = int(Ajuste::Cota::Menor);
    fila("exponencial 5 %", Familia::Exponencial, 20, 1.321 / (1 + 0.6 / 20), 0.05, e);
    fila("exponencial 1 %", Familia::Exponencial, 50, 1.959 / (1 + 0.6 / 50), 0.01, e);
    fila("exponencial 25 %", Familia::Exponencial, 50, 0.736 / (1 + 0.6 / 50), 0.25, e);
    fila("Weibull 10 %", Familia::Weibull, 30, 0.637 / (1 + 0.2 / std::sqrt(30)), 0.10, e);
    fila("VE mínimo 2,5 %", Familia::ValorExtremoMenor, 100, 0.877 / 1.02, 0.025, e);
    fila("VE máximo 1 %", Familia::ValorExtremoMayor, 100, 1.038 / 1.02, 0.01, e);
    fila("logística 0,5 %", Familia::Logistica, 40, 1.010 / (1 + 0.25 / 40), 0.005, e);
    fila("loglogística 5 %", Familia::LogLogistica, 40, 0.660 / (1 + 0.25 / 40), 0.05, e);
    fila("entre 5 y 2,5 %", Familia::ValorExtremoMayor, 100, (0.757 + 0.877) / 2 / 1.02,
         std::sqrt(0.05 * 0.025), e);
    fila("más allá del 25 %", Familia::Logistica, 40, 0.1, 0.25, mayor);
    fila("más allá del 1 %", Familia::Weibull, 30, 5.0, 0.01, menor);
    fila("normal lejísimos", Familia::Normal, 1000, 1000.0, 0.0, e);
}

void TstAjuste::valoresP() {
    QFETCH(Familia, familia);
    QFETCH(int, n);
    QFETCH(double, a2);
    QFETCH(double, p);
    QFETCH(int, cota);
    Ajuste::Cota c;
    const std::optional<double> r = pAjuste(familia, a2, n, &c);
    QVERIFY(r);
    QVERIFY2(std::fabs(*r - p) <= 1e-9 * p + 1e-12, qPrintable(QString::number(*r, 'g', 17)));
    QCOMPARE(int(c), cota);
    QVERIFY(!pAjuste(Familia::Gamma, 0.5, 50) && !pAjuste(Familia::Weibull3, 0.5, 50));
}

// Each family against its own density: quantiles invert the cdf, the tails add to 1, the whole
// partial moments are the moments, and a partial over (a, b] and every moment agree with a
// Simpson rule over the density.
void TstAjuste::distribucion_data() {
    columnas<Familia, Vector>("familia", "parametros");
    fila("normal", Familia::Normal, Vector{10, 2});
    fila("Box-Cox λ > 0, con átomo en 0", Familia::BoxCox, Vector{0.5, 1, 1});
    fila("Box-Cox λ < 0", Familia::BoxCox, Vector{-0.5, 1.2, 0.05});
    fila("Box-Cox λ = 0", Familia::BoxCox, Vector{0, 1, 0.3});
    fila("lognormal", Familia::Lognormal, Vector{1, 0.4});
    fila("lognormal 3", Familia::Lognormal3, Vector{1, 0.4, -3});
    fila("exponencial", Familia::Exponencial, Vector{4});
    fila("Weibull", Familia::Weibull, Vector{1.5, 10});
    fila("Weibull 3", Familia::Weibull3, Vector{3.5, 10, 5});
    fila("VE mínimo", Familia::ValorExtremoMenor, Vector{50, 3});
    fila("VE máximo", Familia::ValorExtremoMayor, Vector{50, 3});
    fila("gamma", Familia::Gamma, Vector{2.5, 3});
    fila("gamma 3", Familia::Gamma3, Vector{9, 0.5, 2});
    fila("logística", Familia::Logistica, Vector{20, 2});
    fila("loglogística", Familia::LogLogistica, Vector{2, 0.1});
    fila("loglogística 3", Familia::LogLogistica3, Vector{1, 0.08, 4});
    fila("Johnson SB", Familia::Johnson, Vector{0, 0.5, 1.2, 3, 10});
    fila("Johnson SL", Familia::Johnson, Vector{1, -1, 3, 2, 1});
    fila("Johnson SU", Familia::Johnson, Vector{2, -1, 2, 10, 3});
}

void TstAjuste::distribucion() {
    QFETCH(Familia, familia);
    QFETCH(Vector, parametros);
    const DistribucionAjustada d(familia, parametros);
    for (double p : {1e-6, 0.01, 0.3, 0.5, 0.9, 0.999, 1 - 1e-7}) {
        const double x = d.cuantil(p);
        if (x == 0 && d.cdf(0) >= p)
            continue; // the Box-Cox atom
        LOZAR_COMPARA(d.cdf(x), p, 1e-9);
        LOZAR_COMPARA(d.cola(x) / (1 - p), 1.0, 1e-7);
        LOZAR_COMPARA(d.cuantil(d.cdf(x)), x, 1e-8);
    }
    // The density's moments by Simpson between quantiles far out in either tail.
    const double lo = std::max(d.cuantil(1e-13), d.minimo()), hi = d.cuantil(1 - 1e-13);
    auto momento = [&](int k, double a, double b, double c = 0) {
        return simpson([&](double x) { return std::pow(x - c, k) * d.densidad(x); }, a, b);
    };
    auto entero = [&](int k, double c) { // and what lies below lo, at lo: the Box-Cox atom
        return momento(k, lo, hi, c) + std::pow(lo - c, k) * d.cdf(lo);
    };
    const double m = entero(1, 0), v = entero(2, m);
    LOZAR_COMPARA(d.media(), m, 1e-8);
    LOZAR_COMPARA(d.desviacion(), std::sqrt(v), 1e-7);
    LOZAR_COMPARA(d.sesgo(), entero(3, m) / std::pow(v, 1.5), 1e-6);
    LOZAR_COMPARA(d.curtosis(), entero(4, m) / (v * v) - 3, 1e-5);
    LOZAR_COMPARA(d.momentoParcial(1, -kInf, kInf), d.media(), 1e-9);
    LOZAR_COMPARA(d.momentoParcial(2, -kInf, kInf), v + m * m, 1e-8);
    const double a = d.cuantil(0.1), b = d.cuantil(0.95), c = d.cuantil(0.6);
    for (int k : {1, 2}) {
        const double parcial = d.momentoParcial(k, a, b);
        LOZAR_COMPARA(parcial, momento(k, a, b), 1e-8);
        LOZAR_COMPARA(d.momentoParcial(k, a, c) + d.momentoParcial(k, c, b), parcial, 1e-10);
        LOZAR_COMPARA(d.momentoParcial(k, -kInf, b) + d.momentoParcial(k, b, kInf),
                      d.momentoParcial(k, -kInf, kInf), 1e-10);
    }
}

// Data a family cannot take: no fit, a reason in Spanish, nothing thrown.
void TstAjuste::fallos_data() {
    columnas<Familia, Vector, QString>("familia", "datos", "motivo");
    const Vector negativos{-1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    fila("Weibull con negativos", Familia::Weibull, negativos, QString("necesita datos positivos"));
    fila("gamma con un cero", Familia::Gamma, Vector{0, 2, 3, 4, 5}, QString("datos positivos"));
    fila("lognormal", Familia::Lognormal, negativos, QString("datos positivos"));
    fila("exponencial", Familia::Exponencial, negativos, QString("datos positivos"));
    fila("loglogística", Familia::LogLogistica, negativos, QString("datos positivos"));
    fila("Box-Cox", Familia::BoxCox, negativos, QString("Box-Cox necesita datos positivos"));
    fila("dos valores", Familia::Normal, Vector{1, 2}, QString("al menos"));
    fila("uno solo", Familia::Gamma3, Vector{1}, QString("al menos"));
    fila("ninguno", Familia::Johnson, Vector{}, QString("al menos"));
    fila("constantes", Familia::Weibull3, Vector(50, 3.0), QString("variación"));
    fila("no finitos", Familia::Logistica, Vector{1, 2, kNaN, 4}, QString("finitos"));
    // Skewed to the left: the threshold runs off to −∞ and the gamma becomes the normal.
    fila("gamma 3 sin umbral", Familia::Gamma3,
         muestra([](double p) { return 10 - std::exp(0.3 * normalInv(p)); }, 500),
         QString("tercer parámetro"));
    // Shape below 1: the likelihood has no top short of the smallest value.
    fila("Weibull 3 de forma 0,6", Familia::Weibull3,
         muestra([](double p) { return 2 + std::pow(-std::log1p(-p), 1 / 0.6); }, 500),
         QString("sin límite"));
}

void TstAjuste::fallos() {
    QFETCH(Familia, familia);
    QFETCH(Vector, datos);
    QFETCH(QString, motivo);
    const Ajuste a = ajusta(familia, datos);
    QVERIFY(!a.convergio);
    QVERIFY2(QString::fromStdString(a.motivo).contains(motivo), a.motivo.c_str());
    QCOMPARE(int(identifica(datos).size()), kNumFamilias);
}

// All the families, the converged by A² first; the progress each family, and a cancel.
void TstAjuste::identificacion() {
    const Vector v = muestra([](double p) { return 5 + 10 * std::pow(-std::log1p(-p), 1 / 2.5); });
    std::vector<double> avances;
    const std::vector<Ajuste> r = identifica(v, false, [&](double f) {
        avances.push_back(f);
        return true;
    });
    QCOMPARE(int(r.size()), kNumFamilias);
    QVERIFY(std::is_sorted(avances.begin(), avances.end()) && avances.back() == 1);
    QVERIFY(avances.size() >= 2);
    bool vistos[kNumFamilias] = {};
    for (std::size_t i = 0; i < r.size(); ++i) {
        vistos[int(r[i].familia)] = true;
        if (i > 0 && r[i].convergio)
            QVERIFY(r[i - 1].convergio && r[i - 1].a2 <= r[i].a2);
    }
    QVERIFY(std::all_of(std::begin(vistos), std::end(vistos), [](bool b) { return b; }));
    QCOMPARE(r.front().familia, Familia::Weibull3); // what the sample was drawn from
    int llamadas = 0;
    QVERIFY(identifica(v, false, [&](double) { return ++llamadas < 3; }).empty());
    QCOMPARE(llamadas, 3);
    // A callback that throws (the window's cancellation) cancels; the second thread joins first.
    QVERIFY(identifica(v, false, [](double) -> bool {
                throw std::runtime_error("cancelado");
            }).empty());
}

QTEST_APPLESS_MAIN(TstAjuste)
#include "tst_ajuste.moc"
