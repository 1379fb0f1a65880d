// Gage R&R: the AIAG manual's example by both methods, a table small enough to work by hand,
// simulated gages with known components, and the studies it must refuse.
#include "comun/comparar.h"
#include "gage.h"

#include "comun/aiag.h"

#include <QtTest>
#include <algorithm>
#include <numeric>
#include <random>

using Medidas = std::vector<MedicionGage>;
using Valores = std::vector<double>;
Q_DECLARE_METATYPE(Medidas)

namespace {
Medidas aiag() {
    Medidas m;
    for (int f = 0; f < 9; ++f)
        for (int p = 0; p < 10; ++p)
            m.push_back({p + 1, f / 3, kAiag[f][p]});
    return m;
}

// A balanced table from its cells: celdas[piece][operator].
Medidas tabla(const std::vector<std::vector<Valores>>& celdas) {
    Medidas m;
    for (int p = 0; p < int(celdas.size()); ++p)
        for (int o = 0; o < int(celdas[p].size()); ++o)
            for (double v : celdas[p][o])
                m.push_back({p, o, v});
    return m;
}

Valores anova(const EstudioGage& e) {
    return {e.anovaPieza.sc,         e.anovaOperador.sc,       e.anovaInteraccion.sc,
            e.anovaRepetibilidad.sc, e.anovaRepetibilidad.gl,  e.anovaTotal.sc,
            e.anovaPieza.f,          e.anovaOperador.f,        e.anovaPieza.p,
            e.pInteraccion,          e.repetibilidad.varianza, e.operador.varianza,
            e.interaccion.varianza,  e.parte.varianza,         double(e.interaccionAgrupada)};
}

// Within an absolute tolerance, as the published figures are rounded to digits.
void comparaTodo(const Valores& a, const Valores& b, double tolerancia) {
    QCOMPARE(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        QVERIFY2(
            std::fabs(a[i] - b[i]) <= tolerancia,
            qPrintable(QStringLiteral("[%1] %2 != %3").arg(i).arg(a[i], 0, 'g', 12).arg(b[i])));
}

bool rechaza(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::invalid_argument&) {
        return true;
    }
    return false;
}
} // namespace

class TstGage : public QObject {
    Q_OBJECT
private slots:
    void aiagMediasRangos();
    void aiagAnova();
    void aMano_data();
    void aMano();
    void simulado_data();
    void simulado();
    void ordenIndiferente();
    void rechazos_data();
    void rechazos();
};

void TstGage::aiagMediasRangos() {
    // The manual prints EV, AV, GRR, PV, TV from R̿ = 0.3417, X̄diff = 0.4446 and Rp = 3.511
    // rounded, hence 5e-5; the percentages and ndc as printed.
    const EstudioGage e = gageMediasRangos(aiag());
    comparaTodo({e.repetibilidad.sigma, e.reproducibilidad.sigma, e.grr.sigma, e.parte.sigma,
                 e.total.sigma},
                {0.20188, 0.22963, 0.30575, 1.10456, 1.14610}, 5e-5);
    comparaTodo({e.repetibilidad.pctVariacion, e.reproducibilidad.pctVariacion, e.grr.pctVariacion,
                 e.parte.pctVariacion},
                {17.6, 20.0, 26.7, 96.4}, 0.05);
    QCOMPARE(e.categorias, 5);
    QVERIFY(std::isnan(e.grr.pctTolerancia) && std::isnan(e.anovaPieza.f));
}

void TstGage::aiagAnova() {
    // Minitab's two-way table for the same data: the interaction, F 0.434 and p 0.974, is pooled;
    // components 0.03997 + 0.05146 (GRR 0.09143, 7.76 % contribution, 27.86 % study variation)
    // and piece to piece 1.08645, 4 distinct categories.
    const EstudioGage e = gageAnova(aiag());
    comparaTodo({e.anovaPieza.sc, e.anovaOperador.sc, e.anovaInteraccion.sc,
                 e.anovaRepetibilidad.sc, e.anovaTotal.sc, e.anovaRepetibilidad.gl},
                {88.3619, 3.1673, 0.3590, 2.7589 + 0.3590, 94.6471, 78}, 5e-5);
    comparaTodo({e.anovaInteraccion.f, e.pInteraccion}, {0.434, 0.974}, 5e-4);
    QVERIFY(e.interaccionAgrupada);
    comparaTodo(
        {e.repetibilidad.varianza, e.reproducibilidad.varianza, e.grr.varianza, e.parte.varianza},
        {0.03997, 0.05146, 0.09143, 1.08645}, 1e-5);
    comparaTodo({e.grr.pctContribucion, e.grr.pctVariacion}, {7.76, 27.86}, 0.005);
    QCOMPARE(e.categorias, 4);
    // Kept in the model, piece and operator are tested against the interaction: F 492.29 and
    // 79.41; its variance estimate is negative and so 0.
    const EstudioGage c = gageAnova(aiag(), 6, 1);
    QVERIFY(!c.interaccionAgrupada);
    comparaTodo({c.anovaPieza.f, c.anovaOperador.f, c.interaccion.varianza}, {492.29, 79.41, 0},
                0.01);
    LOZAR_COMPARA(c.grr.pctTolerancia, 100 * c.grr.sigma, 1e-12);
}

void TstGage::aMano_data() {
    columnas<Medidas, double, Valores>("medidas", "alfa", "esperado");
    // Cell means 2, 5 / 6, 13, each cell ± 1: SS piece 4·(3² + 3²) = 72, operator 4·(2.5² +
    // 2.5²) = 50, interaction 2·4·1² = 8, within 8, total 138. F interaction 8/2 = 4 on (1, 4):
    // p = 1 − 5√2/8.
    const Medidas m = tabla({{{1, 3}, {4, 6}}, {{5, 7}, {12, 14}}});
    const double pInt = 1 - 5 * std::sqrt(2.0) / 8;
    // Pooled: error 16 on 5, MS 3.2; F 22.5 on (1, 5), p from the t distribution.
    fila("agrupada", m, 0.05,
         Valores{72, 50, 8, 16, 5, 138, 22.5, 15.625, 0.0051344617, pInt, 3.2, 11.7, 0, 17.2, 1});
    // Kept: against the interaction's 8, F 9 on (1, 1), p = 1 − 2 atan(3)/π.
    fila("completa", m, 0.2,
         Valores{72, 50, 8, 8, 4, 138, 9, 6.25, 1 - 2 * std::atan(3.0) / M_PI, pInt, 2, 10.5, 3, 16,
                 0});
}

void TstGage::aMano() {
    QFETCH(Medidas, medidas);
    QFETCH(double, alfa);
    QFETCH(Valores, esperado);
    comparaTodo(anova(gageAnova(medidas, 10, alfa)), esperado, 1e-8);
}

void TstGage::simulado_data() {
    columnas<double, double>("sigmaInteraccion", "alfa");
    fila("con interaccion", 0.15, 0.05);
    fila("sin interaccion", 0.0, 1.0);
}

void TstGage::simulado() {
    // Given the effects, each estimate is unbiased for their own spread, less the share of the
    // interaction (σ²/p of it for operators, σ²/o for pieces) that random effects would carry
    // and these, centred on every piece and operator, do not. 10 trials leave a per cent or two.
    QFETCH(double, sigmaInteraccion);
    QFETCH(double, alfa);
    const int p = 20, o = 5, r = 10;
    std::mt19937 azar(20240611);
    std::normal_distribution<double> n01;
    Valores a(p), b{-0.4, -0.2, 0, 0.2, 0.4}, w{1, -1, 2, -2, 0};
    for (double& x : a)
        x = n01(azar);
    const double media = std::accumulate(a.begin(), a.end(), 0.0) / p;
    double sa = 0, sg = 0;
    Medidas m;
    for (int i = 0; i < p; ++i) {
        sa += (a[i] - media) * (a[i] - media) / (p - 1);
        for (int j = 0; j < o; ++j) {
            const double g = sigmaInteraccion * (a[i] - media) * w[j];
            sg += g * g / ((p - 1) * (o - 1));
            for (int k = 0; k < r; ++k)
                m.push_back({i, j, 10 + a[i] + b[j] + g + 0.1 * n01(azar)});
        }
    }
    const EstudioGage e = gageAnova(m, std::numeric_limits<double>::quiet_NaN(), alfa);
    QVERIFY(!e.interaccionAgrupada);
    QVERIFY(std::fabs(e.parte.varianza / (sa - sg / o) - 1) < 0.02);
    QVERIFY(std::fabs(e.operador.varianza / (0.1 - sg / p) - 1) < 0.03);
    QVERIFY(std::fabs(e.interaccion.varianza - sg) < 0.006); // sg = 0.056 with interaction
    QVERIFY(std::fabs(e.repetibilidad.varianza - 0.01) < 0.001);
    QVERIFY(sigmaInteraccion > 0 ? e.pInteraccion < 1e-6 : e.pInteraccion > 0.01);
}

void TstGage::ordenIndiferente() {
    // Shuffled rows give the same bits; texts numbered by first appearance the same study.
    Medidas m = aiag();
    std::shuffle(m.begin(), m.end(), std::mt19937(7));
    const Valores base = anova(gageAnova(aiag()));
    QCOMPARE(anova(gageAnova(m)), base);
    QCOMPARE(gageMediasRangos(m).grr.sigma, gageMediasRangos(aiag()).grr.sigma);
    std::vector<std::string> piezas, operadores;
    Valores valores;
    for (const MedicionGage& x : m) {
        piezas.push_back("P-" + std::to_string(x.pieza));
        operadores.push_back(std::string(1, char('A' + x.operador)));
        valores.push_back(x.valor);
    }
    const Medidas t = gageDeColumnas(piezas, operadores, valores);
    QCOMPARE(t.front().pieza, 0);
    QCOMPARE(t.front().operador, 0);
    comparaTodo(anova(gageAnova(t)), base, 1e-10);
    QVERIFY(rechaza([&] { gageDeColumnas(piezas, {"A"}, valores); }));
}

void TstGage::rechazos_data() {
    columnas<Medidas, bool>("medidas", "soloMediasRangos");
    const Medidas dos = tabla({{{1, 2}, {3, 4}}, {{5, 6}, {7, 9}}});
    auto con = [&](std::function<void(Medidas&)> cambia) {
        Medidas m = dos;
        cambia(m);
        return m;
    };
    fila("vacio", Medidas{}, false);
    fila("celda de 3", con([](Medidas& m) { m.push_back({0, 0, 1.5}); }), false);
    fila("celda vacia", con([](Medidas& m) { m.erase(m.begin(), m.begin() + 2); }), false);
    fila("una pieza", con([](Medidas& m) { m.resize(4); }), false);
    fila("un operador",
         con([](Medidas& m) { m[2].operador = m[3].operador = m[6].operador = m[7].operador = 0; }),
         false);
    fila("un ensayo", tabla({{{1}, {3}}, {{5}, {7}}}), false);
    fila("NaN", con([](Medidas& m) { m[3].valor = std::nan(""); }), false);
    fila("infinito", con([](Medidas& m) { m[5].valor = INFINITY; }), false);
    Medidas dispersas; // a cell for each row: no table of 10¹⁰ cells
    for (int i = 0; i < 100000; ++i)
        dispersas.push_back({i, i, 1.0});
    fila("dispersas", dispersas, false);
    // Beyond the manual's constants only the Average and Range method refuses.
    fila("4 ensayos", tabla({{{1, 2, 3, 4}, {3, 4, 4, 5}}, {{5, 6, 6, 7}, {7, 9, 8, 8}}}), true);
    Medidas once;
    for (int i = 0; i < 44; ++i)
        once.push_back({i / 4, i / 2 % 2, i + 0.1 * (i % 2)});
    fila("11 piezas", once, true);
}

void TstGage::rechazos() {
    QFETCH(Medidas, medidas);
    QFETCH(bool, soloMediasRangos);
    QVERIFY(rechaza([&] { gageMediasRangos(medidas); }));
    QCOMPARE(rechaza([&] { gageAnova(medidas); }), !soloMediasRangos);
}

QTEST_APPLESS_MAIN(TstGage)
#include "tst_gage.moc"
