// The capability study's statistics: spread within, intervals, normality, the individuals chart.
#include "capacidad/capacidad.h"
#include "capacidad/estabilidad.h"
#include "cartas.h"
#include "comun/cajasmapa.h"
#include "comun/comparar.h"
#include "estudio/zonas.h"
#include "indices.h"
#include "muestra.h"
#include "numeros/numeros.h"

#include <QtTest>
#include <functional>
#include <numeric>
#include <random>

using Valores = std::vector<double>;
using Calculo = std::function<Valores()>;
Q_DECLARE_METATYPE(Calculo)

namespace {
Valores ambos(const Intervalo& i) {
    return {i.bajo, i.alto};
}
// A sample's n, mean, s, G1 and G2, then Anderson–Darling's A² and p-value.
Calculo describe(const Valores& v) {
    return [v] {
        const ResumenMuestra r = resumeMuestra(v);
        const std::optional<PruebaNormalidad> ad = andersonDarling(v);
        return Valores{double(r.n), r.media, r.desviacion, r.sesgo, r.curtosis, ad->a2, ad->p};
    };
}
} // namespace

class TstIndices : public QObject {
    Q_OBJECT
private slots:
    void aMano_data();
    void aMano();
    void carta();
    void cartaPublicada();
    void conMediciones();
    void informePublicado_data();
    void informePublicado();
};

void TstIndices::aMano_data() {
    columnas<Calculo, Valores, double>("calculo", "esperado", "tolerancia");
    // Tabulated in every SPC text (e.g. Montgomery, Introduction to Statistical Quality Control,
    // appendix VI).
    fila("c4", Calculo([] {
             return Valores{c4(2), c4(5), c4(25)};
         }),
         Valores{0.7979, 0.9400, 0.9896}, 1e-4);
    // Two subgroups {1, 3} and {2, 6}: s² 2 and 8, pooled √5, over c4(3) = 0.8862.
    const std::vector<Valores> grupos{{1, 3}, {2, 6}};
    fila("agrupada", Calculo([=] { return Valores{sigmaAgrupada(grupos)}; }),
         Valores{std::sqrt(5.0) / 0.886227}, 1e-5);
    // Moving ranges 2, 1, 3 in the values' order: mean 2, over 1.128.
    const Valores v{1, 3, 2, 5};
    fila("rango movil", Calculo([=] {
             return Valores{sigmaRangoMovil(v), sigmaRangoMovil({1, 4})};
         }),
         Valores{2 / 1.128, 3 / 1.128}, 1e-12);
    // {1, 2, 4, 7, 11}: p 0.3 lies at position 1.2, a fifth of the way from 2 to 4; p 0.9 at 3.6.
    // The histogram's class width from the quartiles 2 and 7: 2 × 5 / ∛5.
    const Valores o{1, 2, 4, 7, 11};
    fila("cuantiles", Calculo([=] {
             return Valores{cuantilMuestral(o, 0.3), cuantilMuestral(o, 0.9), cuantilMuestral(o, 1),
                            anchoFreedmanDiaconis(o)};
         }),
         Valores{2.4, 9.4, 11, 5.8480354764257}, 1e-12);
    // Intervals from the tables' quantiles: χ²(0.025; 29) = 16.0471, χ²(0.975; 29) = 45.7223.
    fila("Cp 1, 29 grados, 95 %", Calculo([] { return ambos(intervaloCp(1, 29, 0.95)); }),
         Valores{std::sqrt(16.0471 / 29), std::sqrt(45.7223 / 29)}, 1e-5);
    // 1.645 √(1/270 + 1.45² / 58) about a Cpk of 1.45 from 30 parts at 90 %, 1.960 at 95 %;
    // with a σ of 15 degrees of freedom, 1.960 √(1/270 + 1.45² / 30).
    const double e90 = 1.644854 * std::sqrt(1 / 270.0 + 1.45 * 1.45 / 58),
                 e95 = e90 / 1.644854 * 1.959964;
    const double e15 = 1.959964 * std::sqrt(1 / 270.0 + 1.45 * 1.45 / 30);
    fila("Cpk 1.45, n 30, 90 %", Calculo([] { return ambos(intervaloCpk(1.45, 30, 29, 0.90)); }),
         Valores{1.45 - e90, 1.45 + e90}, 1e-5);
    fila("Cpk 1.45, n 30, 95 %", Calculo([] { return ambos(intervaloCpk(1.45, 30, 29, 0.95)); }),
         Valores{1.45 - e95, 1.45 + e95}, 1e-5);
    fila("Cpk 1.45, n 30, 15 grados",
         Calculo([] { return ambos(intervaloCpk(1.45, 30, 15, 0.95)); }),
         Valores{1.45 - e15, 1.45 + e15}, 1e-5);
    // Boyles: ν = 50 (1.25)² / 1.5 = 52.083; χ²(0.005; ν) = 29.51 and χ²(0.995; ν) = 82.14 by
    // Wilson–Hilferty's approximation, good to a few parts in a thousand here.
    fila("Cpm 1, n 50, a 0.5, 99 %", Calculo([] { return ambos(intervaloCpm(1, 50, 0.5, 0.99)); }),
         Valores{std::sqrt(29.51 / 52.083), std::sqrt(82.14 / 52.083)}, 2e-3);
    // A million values: the interval narrows to ± z / √(2n), and the computation still answers.
    const double ancho = 2.575829 / std::sqrt(2e6);
    fila("Cp 1, un millón, 99 %", Calculo([] { return ambos(intervaloCp(1, 1e6, 0.99)); }),
         Valores{1 - ancho, 1 + ancho}, 1e-5);
    // Small samples worked in 30 digits: the moments by the spreadsheets' formulas, A² from its
    // definition, one in each of the p-value's four ranges of A²(1 + 0.75/n + 2.25/n²): 1.094,
    // 0.488, 0.295 and 0.151.
    fila("Fibonacci", describe({1, 1, 1, 2, 2, 3, 5, 8, 13, 21}),
         Valores{10, 5.7, 6.61731734835869, 1.701551409084996, 2.439857657949223, 0.997022710867,
                 0.00721926374419},
         1e-9);
    fila("ocho", describe({2, 4, 4, 4, 5, 5, 7, 9}),
         Valores{8, 5, 2.138089935299395, 0.8184875533567997, 0.940625, 0.432270139714,
                 0.223342610961},
         1e-9);
    fila("pi", describe({3, 1, 4, 1, 5, 9, 2, 6, 5, 3}),
         Valores{10, 3.9, 2.469817807045694, 0.8064575747273631, 0.6739099832354334, 0.26873662556,
                 0.597371982993},
         1e-9);
    fila("uno a ocho", describe({1, 2, 3, 4, 5, 6, 7, 8}),
         Valores{8, 4.5, 2.449489742783178, 0, -1.2, 0.134000458818, 0.961455692939}, 1e-9);
    // A typo among 1 999 values of about 10 (1000 where 10 was meant) lies 45 σ out, beyond the
    // double's normal tail: A² worked in 30 digits. Below 8 values, or none varying, no test.
    std::vector<double> errata(1999);
    for (std::size_t i = 0; i < errata.size(); ++i)
        errata[i] = std::round((10 + 0.14 * std::sin(double(i) * 1.7)) * 1e4) / 1e4;
    errata.push_back(1000);
    fila("una errata", Calculo([=] {
             return Valores{andersonDarling(errata)->a2,
                            double(andersonDarling({1, 2, 3, 4, 5, 6, 7}).has_value()),
                            double(andersonDarling(Valores(9, 2.5)).has_value())};
         }),
         Valores{764.15881027180416, 0, 0}, 1e-12);
    // The p-values of D'Agostino and Stephens' critical values (table 4.7), 10 % to 1 %; on each
    // border between their formulas (table 4.9) the upper one holds, worked by hand:
    // exp(1.2937 − 5.709 × 0.6 + 0.0186 × 0.6²), exp(0.9177 − 4.279 × 0.34 − 1.38 × 0.34²) and
    // 1 − exp(−8.318 + 42.796 × 0.2 − 59.938 × 0.2²); the next formula down would give 0.116893,
    // 0.501520 and 0.884352.
    const auto p = [](const Valores& a2) {
        return Calculo([a2] {
            Valores r;
            for (double a : a2)
                r.push_back(pAndersonDarling(a));
            return r;
        });
    };
    fila("p criticos", p({0.631, 0.752, 0.873, 1.035}), Valores{0.10, 0.05, 0.025, 0.01}, 0.002);
    // A million skewed values make an A² in the hundreds, where the upper formula turns back up.
    fila("p de una muestra enorme", p({160, 400, 1e6}), Valores{0, 0, 0}, 1e-12);
    fila("p en los bordes", p({0.6, 0.34, 0.2}),
         Valores{0.1194324905358, 0.4982327209344, 0.8842497006683}, 1e-9);
    // Where a measured value falls, 0 below scrap … 4 above: on a limit it conforms to it, as
    // inspection counts.
    fila("zonas", Calculo([] {
             Valores r;
             for (double x :
                  {40.0, 44.0, 56.0, 60.0, std::nextafter(56.0, 99.0), std::nextafter(40.0, 0.0)})
                 r.push_back(int(zonaDeMedicion(x, Limites{40, 44, 50, 56, 60})));
             return r;
         }),
         Valores{1, 2, 2, 3, 3, 0}, 0.0);
}

// Each computation against values worked by hand or published.
void TstIndices::aMano() {
    QFETCH(Calculo, calculo);
    QFETCH(Valores, esperado);
    QFETCH(double, tolerancia);
    const Valores visto = calculo();
    QCOMPARE(visto.size(), esperado.size());
    for (std::size_t i = 0; i < visto.size(); ++i)
        LOZAR_COMPARA(visto[i], esperado[i], tolerancia);
}

// Fifty points in control, then a shift of 1.5σ: runs of 8 on one side are flagged after point
// 50, and a single wild point beyond the limits, on the values' chart and on both of its moving
// ranges.
void TstIndices::carta() {
    std::mt19937 g(3);
    std::normal_distribution<double> ruido(0, 1);
    std::vector<double> v;
    for (int i = 0; i < 100; ++i)
        v.push_back(20 + ruido(g) + (i >= 50 ? 1.5 : 0));
    v[20] = 40;
    const CartaControl c = cartaIndividuales(v);
    QVERIFY(!c.estable() && c.tipo == TipoCarta::Individuos);
    QCOMPARE(c.fuera.front(), std::size_t(20));
    QCOMPARE(c.fueraDispersion, (std::vector<std::size_t>{19, 20}));
    QVERIFY(std::any_of(c.enRacha.begin(), c.enRacha.end(), [](std::size_t i) { return i >= 57; }));
    LOZAR_COMPARA(c.dispersion(0).lcs, 3.267 * c.mediaDispersion, 2e-4);
    LOZAR_COMPARA(c.puntos(0).lcs - c.centro, 2.66 * c.mediaDispersion, 1e-3);
    {
        LocaleFijo en(QLocale::c());
        QVERIFY2(resumenDeEstabilidad(c).contains("(3 de 199 puntos fuera de los límites; por azar "
                                                  "se esperan unos 0.5; "),
                 qPrintable(resumenDeEstabilidad(c)));
    }
    // Exactly 8 in a row above the centre close a run at the eighth.
    std::vector<double> ocho;
    for (int i = 0; i < 13; ++i)
        ocho.push_back(i % 2 ? 1 : -1);
    ocho.insert(ocho.end(), 8, 0.5);
    ocho.push_back(-1);
    QCOMPARE(cartaIndividuales(ocho).enRacha, std::vector<std::size_t>{20});
    // In control, nothing flagged.
    std::vector<double> tranquilo;
    for (int i = 0; i < 30; ++i)
        tranquilo.push_back(i % 2 ? 1 : -1);
    QVERIFY(cartaIndividuales(tranquilo).estable());
    // Subgroups without spread within have no limits to judge their means by.
    QVERIFY(cartaMedias({{1, 1, 1}, {3, 3, 3}}).estable());
    // A range beyond its limit makes the process unstable though every mean is in.
    std::vector<std::vector<double>> rangos(20, {10, 11, 12, 13, 14});
    rangos[7] = {4, 10, 12, 14, 20};
    const CartaControl r = cartaMedias(rangos);
    QVERIFY(r.fuera.empty() && r.enRacha.empty() && !r.estable());
    QCOMPARE(r.fueraDispersion, std::vector<std::size_t>{7});
}

// Montgomery's piston rings (Introduction to Statistical Quality Control, example 6.1, as the
// qcc package ships them): 25 subgroups of 5 diameters, x̿ 74.00118 and R̄ 0.02276. X̄–R as
// published: x̿ ± A2 R̄, 73.988 and 74.014; the range chart from 0 to D4 R̄. A subgroup with one value
// less turns the chart into X̄–S, each subgroup with its own limits, x̿ ± 3σ/√nᵢ from the pooled σ,
// and the S chart's upper limit (c4 + 3√(1 − c4²))σ.
void TstIndices::cartaPublicada() {
    std::vector<double> v = {
        74.03,  74.002, 74.019, 73.992, 74.008, 73.995, 73.992, 74.001, 74.011, 74.004, 73.988,
        74.024, 74.021, 74.005, 74.002, 74.002, 73.996, 73.993, 74.015, 74.009, 73.992, 74.007,
        74.015, 73.989, 74.014, 74.009, 73.994, 73.997, 73.985, 73.993, 73.995, 74.006, 73.994,
        74.0,   74.005, 73.985, 74.003, 73.993, 74.015, 73.988, 74.008, 73.995, 74.009, 74.005,
        74.004, 73.998, 74.0,   73.99,  74.007, 73.995, 73.994, 73.998, 73.994, 73.995, 73.99,
        74.004, 74.0,   74.007, 74.0,   73.996, 73.983, 74.002, 73.998, 73.997, 74.012, 74.006,
        73.967, 73.994, 74.0,   73.984, 74.012, 74.014, 73.998, 73.999, 74.007, 74.0,   73.984,
        74.005, 73.998, 73.996, 73.994, 74.012, 73.986, 74.005, 74.007, 74.006, 74.01,  74.018,
        74.003, 74.0,   73.984, 74.002, 74.003, 74.005, 73.997, 74.0,   74.01,  74.013, 74.02,
        74.003, 73.988, 74.001, 74.009, 74.005, 73.996, 74.004, 73.999, 73.99,  74.006, 74.009,
        74.01,  73.989, 73.99,  74.009, 74.014, 74.015, 74.008, 73.993, 74.0,   74.01,  73.982,
        73.984, 73.995, 74.017, 74.013,
    };
    std::vector<std::vector<double>> grupos;
    for (std::size_t i = 0; i < v.size(); i += 5)
        grupos.emplace_back(v.begin() + std::ptrdiff_t(i), v.begin() + std::ptrdiff_t(i + 5));
    const CartaControl c = cartaMedias(grupos);
    QVERIFY(c.tipo == TipoCarta::MediasRangos && c.tamanos.empty());
    LOZAR_COMPARA(c.centro, 74.001176, 1e-12);
    LOZAR_COMPARA(c.mediaDispersion, 0.02276, 1e-12);
    // The book's limits to its three decimals; against its constants A2 = 0.577 and
    // D4 = 2.114, to the constants' own rounding.
    QCOMPARE(formatea(c.puntos(3).lci, "0.000") + " " + formatea(c.puntos(3).lcs, "0.000"),
             QStringLiteral("73.988 74.014"));
    LOZAR_COMPARA(c.puntos(3).lcs - c.centro, 0.577 * 0.02276, 0.0005 * 0.02276);
    LOZAR_COMPARA(c.dispersion(3).lcs, 2.114 * 0.02276, 0.0005 * 0.02276);
    QCOMPARE(c.dispersion(3).lci, 0.0);
    QVERIFY(c.estable());

    grupos[2].pop_back();
    const CartaControl s = cartaMedias(grupos);
    QVERIFY(s.tipo == TipoCarta::MediasDesviaciones && s.tamanos.size() == 25);
    const double sigma = sigmaAgrupada(grupos);
    LOZAR_COMPARA(s.puntos(2).lcs - s.centro, 3 * sigma / 2, 1e-12);
    LOZAR_COMPARA(s.puntos(3).lcs - s.centro, 3 * sigma / std::sqrt(5.0), 1e-12);
    // c4(4) = 0.9213 and c4(5) = 0.9400 as tabulated, to their last digit.
    LOZAR_COMPARA(s.dispersion(2).lcs / sigma, 0.9213 + 3 * std::sqrt(1 - 0.9213 * 0.9213), 2e-4);
    LOZAR_COMPARA(s.dispersion(3).lcs / sigma, 0.9400 + 3 * std::sqrt(1 - 0.9400 * 0.9400), 2e-4);
}

// A hundred measured values, ten of them on the upper rework limit and 16 beyond it: 16 % above.
// Each its own part, they make no subgroups: the spread within comes from the moving range, not
// from nothing.
void TstIndices::conMediciones() {
    std::vector<double> v(74, 50.0);
    v.insert(v.end(), 10, 56.0);
    v.insert(v.end(), 16, 57.0);
    std::vector<int> piezas(v.size());
    std::iota(piezas.begin(), piezas.end(), 1);
    QVERIFY(agrupa(v, piezas).empty());
    CajasMapa cajas;
    cajas.textos = {{Caja::XDesI, "40"}, {Caja::XRetI, "44"}, {Caja::XObj, "50"},
                    {Caja::XRetS, "56"}, {Caja::XDesS, "60"}, {Caja::Media, "52"},
                    {Caja::StdDev, "2"}};
    const Capacidad c = calculaCapacidad(cajas, nullptr, &v, &piezas);
    LOZAR_COMPARA((*c.observada)[3], 0.16, 1e-12);
    LOZAR_COMPARA((*c.observada)[2], 0.84, 1e-12);
    QCOMPARE(c.subgrupos, std::size_t(0));
    LOZAR_COMPARA(c.sigmaDentro, 7 / 99.0 / 1.128, 1e-12);
}

void TstIndices::informePublicado_data() {
    // limits, target, n values of a mean and standard deviation; the report's Pp, Ppk and Cpm
    // rows as printed
    columnas<double, double, double, int, double, double, QString, QString, QString>(
        "lsl", "usl", "obj", "n", "media", "s", "pp", "ppk", "cpm");
    // Montgomery, Introduction to Statistical Quality Control: a process centred between 38 and
    // 62, n 20, s 1.75: Ĉp = 2.29, and with 95 % confidence 1.57 ≤ Cp ≤ 3.01. The book multiplies
    // the rounded 2.29; from 24 / 10.5 itself the lower end is 1.565, printed 1.56. Cpm is Cp on
    // target, its interval Boyles' on n degrees of freedom (worked in 30 digits here).
    fila("Cp de Montgomery", 38.0, 62.0, 50.0, 20, 50.0, 1.75, "Pp\t2.29\t1.56\t3.01\ts total",
         "Ppk\t2.29\t1.54\t3.03\ts total", "Cpm\t2.29\t1.58\t2.99");
    // Montgomery's exercise: limits 90 and 100, 30 parts, x̄ 97, s 1.6: Ĉpk = 0.625, and with
    // 95 % confidence 0.42 ≤ Cpk ≤ 0.83. Cpm: 5 / 3√(1.6² + 30/29 · 2²) = 0.644, ν = 47.76.
    fila("Cpk de Montgomery", 90.0, 100.0, 95.0, 30, 97.0, 1.6, "Pp\t1.04\t0.77\t1.31\ts total",
         "Ppk\t0.63\t0.42\t0.83\ts total", "Cpm\t0.64\t0.52\t0.77");
    // The target off the middle: the nearer side, 62 − 56, over 3√(1.75² + 20/19 · 6²).
    fila("objetivo descentrado", 38.0, 62.0, 56.0, 20, 50.0, 1.75, "Pp\t2.29\t1.56\t3.01\ts total",
         "Ppk\t2.29\t1.54\t3.03\ts total", "Cpm\t0.31\t0.27\t0.35");
}

// The report printed from measurements agrees with published worked examples to the digits it
// prints. The overall deviation is the s of the examples (the within one comes from the order of
// values, which the books do not give).
void TstIndices::informePublicado() {
    QFETCH(double, lsl);
    QFETCH(double, usl);
    QFETCH(double, obj);
    QFETCH(int, n);
    QFETCH(double, media);
    QFETCH(double, s);
    QFETCH(QString, pp);
    QFETCH(QString, ppk);
    QFETCH(QString, cpm);
    LocaleFijo c(QLocale::c());
    // n values with exactly that mean and standard deviation.
    std::vector<double> z;
    for (int i = 0; i < n; ++i)
        z.push_back(std::sin(i * 2.3) + (i % 3) * 0.2);
    const ResumenMuestra r = resumeMuestra(z);
    std::vector<double> v;
    for (double x : z)
        v.push_back(media + s * (x - r.media) / r.desviacion);
    CajasMapa cajas;
    cajas.textos = {{Caja::XDesI, QString::number(lsl - 10)}, {Caja::XRetI, QString::number(lsl)},
                    {Caja::XObj, QString::number(obj)},       {Caja::XRetS, QString::number(usl)},
                    {Caja::XDesS, QString::number(usl + 10)}, {Caja::Media, QString::number(media)},
                    {Caja::StdDev, QString::number(s)}};
    const QStringList filas =
        comoTexto(informeCapacidad(cajas, nullptr, calculaCapacidad(cajas, nullptr, &v)))
            .split('\n');
    QVERIFY2(filas.contains(pp), qPrintable(filas.filter("Pp").join(" | ")));
    QVERIFY2(filas.contains(ppk), qPrintable(filas.filter("Ppk").join(" | ")));
    QVERIFY2(filas.contains(cpm + "\ttodas, respecto del objetivo"),
             qPrintable(filas.filter("Cpm").join(" | ")));
    // Overall, the normal's tails beyond the limits in parts per million, and Z.bench: for
    // Montgomery's exercise 6.1 below 90 and 30 396.4 above 100, Z.bench 1.87.
    if (QByteArray(QTest::currentDataTag()) == "Cpk de Montgomery") {
        const QStringList total = filas.filter(QRegularExpression("^Total\t")).value(0).split('\t');
        const QStringList z = filas.filter(QRegularExpression("^Z.bench\t")).value(0).split('\t');
        QCOMPARE(filas.filter(QRegularExpression("^Debajo del límite inferior\t"))
                     .value(0)
                     .split('\t')
                     .value(2),
                 QStringLiteral("6.1"));
        QCOMPARE(total.value(2), QStringLiteral("30402.4"));
        QCOMPARE(z.value(2), QStringLiteral("1.87"));
    }
}

QTEST_GUILESS_MAIN(TstIndices)
#include "tst_indices.moc"
