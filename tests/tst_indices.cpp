// The capability study's statistics: spread within, intervals, normality, the individuals chart.
#include "capacidad/capacidad.h"
#include "comun/cajasmapa.h"
#include "comun/comparar.h"
#include "estudio/zonas.h"
#include "indices.h"
#include "muestra.h"

#include <QtTest>
#include <functional>
#include <numeric>
#include <random>

using Calculo = std::function<double()>;
Q_DECLARE_METATYPE(Calculo)

class TstIndices : public QObject {
    Q_OBJECT
private slots:
    void aMano_data();
    void aMano();
    void intervalos_data();
    void intervalos();
    void normalidad_data();
    void normalidad();
    void carta();
    void conformidad_data();
    void conformidad();
    void conMediciones();
    void informePublicado_data();
    void informePublicado();
};

void TstIndices::aMano_data() {
    columnas<Calculo, double, double>("calculo", "esperado", "tolerancia");
    // Tabulated in every SPC text (e.g. Montgomery, Introduction to Statistical Quality Control,
    // appendix VI).
    fila("c4(2)", Calculo([] { return c4(2); }), 0.7979, 1e-4);
    fila("c4(5)", Calculo([] { return c4(5); }), 0.9400, 1e-4);
    fila("c4(25)", Calculo([] { return c4(25); }), 0.9896, 1e-4);
    // Two subgroups {1, 3} and {2, 6}: s² 2 and 8, pooled √5, over c4(3) = 0.8862.
    fila("agrupada", Calculo([] {
             return sigmaAgrupada({{1, 3}, {2, 6}});
         }),
         std::sqrt(5.0) / 0.886227, 1e-5);
    // Moving ranges 2, 1, 3 in the values' order: mean 2, over 1.128.
    fila("rango movil", Calculo([] { return sigmaRangoMovil({1, 3, 2, 5}); }), 2 / 1.128, 1e-12);
    // {1, 2, 4, 7, 11}: p 0.3 lies at position 1.2, a fifth of the way from 2 to 4; p 0.9 at 3.6.
    const std::vector<double> o{1, 2, 4, 7, 11};
    fila("cuantil 0.3", Calculo([o] { return cuantilMuestral(o, 0.3); }), 2.4, 1e-12);
    fila("cuantil 0.9", Calculo([o] { return cuantilMuestral(o, 0.9); }), 9.4, 1e-12);
    fila("cuantil 1", Calculo([o] { return cuantilMuestral(o, 1); }), 11.0, 1e-12);
    // The histogram's class width: quartiles 2 and 7, 2 × 5 / ∛5.
    fila("Freedman-Diaconis", Calculo([o] { return anchoFreedmanDiaconis(o); }), 5.8480354764257,
         1e-12);
}

void TstIndices::aMano() {
    QFETCH(Calculo, calculo);
    QFETCH(double, esperado);
    QFETCH(double, tolerancia);
    LOZAR_COMPARA(calculo(), esperado, tolerancia);
}

void TstIndices::intervalos_data() {
    // indice: 0 Cp, 1 Cpk, 2 Cpm (with a = 0.5); worked by hand from the tables' quantiles
    columnas<int, double, double, double, double, double>("indice", "valor", "n", "confianza",
                                                          "bajo", "alto");
    // χ²(0.025; 29) = 16.0471, χ²(0.975; 29) = 45.7223.
    fila("Cp 1, n 30, 95 %", 0, 1.0, 30.0, 0.95, std::sqrt(16.0471 / 29), std::sqrt(45.7223 / 29));
    // 1.645 √(1/270 + 1.45² / 58) about a Cpk of 1.45 from 30 parts at 90 %.
    const double e90 = 1.644854 * std::sqrt(1 / 270.0 + 1.45 * 1.45 / 58);
    fila("Cpk 1.45, n 30, 90 %", 1, 1.45, 30.0, 0.90, 1.45 - e90, 1.45 + e90);
    const double e95 = 1.959964 * std::sqrt(1 / 270.0 + 1.45 * 1.45 / 58);
    fila("Cpk 1.45, n 30, 95 %", 1, 1.45, 30.0, 0.95, 1.45 - e95, 1.45 + e95);
    // Boyles: ν = 50 (1.25)² / 1.5 = 52.083; χ²(0.005; ν) = 29.51 and χ²(0.995; ν) = 82.14 by
    // Wilson–Hilferty's approximation, good to a few parts in a thousand here.
    fila("Cpm 1, n 50, a 0.5, 99 %", 2, 1.0, 50.0, 0.99, std::sqrt(29.51 / 52.083),
         std::sqrt(82.14 / 52.083));
    // A million values: the interval narrows to ± z / √(2n), and the computation still answers.
    const double ancho = 2.575829 / std::sqrt(2e6);
    fila("Cp 1, un millón, 99 %", 0, 1.0, 1e6, 0.99, 1 - ancho, 1 + ancho);
}

void TstIndices::intervalos() {
    QFETCH(int, indice);
    QFETCH(double, valor);
    QFETCH(double, n);
    QFETCH(double, confianza);
    QFETCH(double, bajo);
    QFETCH(double, alto);
    const Intervalo i = indice == 0   ? intervaloCp(valor, n, confianza)
                        : indice == 1 ? intervaloCpk(valor, n, confianza)
                                      : intervaloCpm(valor, n, 0.5, confianza);
    LOZAR_COMPARA(i.bajo, bajo, indice == 2 ? 2e-3 : 1e-5);
    LOZAR_COMPARA(i.alto, alto, indice == 2 ? 2e-3 : 1e-5);
}

void TstIndices::normalidad_data() {
    // valores: empty to take a2 as the adjusted statistic itself
    columnas<std::vector<double>, double, double, double>("valores", "a2", "p", "tolerancia");
    // Small samples whose A² was summed here from its definition in 30 digits, one in each of
    // the p-value's four ranges of A²(1 + 0.75/n + 2.25/n²): 1.094, 0.488, 0.295 and 0.151.
    fila("Fibonacci", std::vector<double>{1, 1, 1, 2, 2, 3, 5, 8, 13, 21}, 0.997022710867,
         0.00721926374419, 1e-9);
    fila("ocho", std::vector<double>{2, 4, 4, 4, 5, 5, 7, 9}, 0.432270139714, 0.223342610961, 1e-9);
    fila("cifras de pi", std::vector<double>{3, 1, 4, 1, 5, 9, 2, 6, 5, 3}, 0.26873662556,
         0.597371982993, 1e-9);
    fila("uno a ocho", std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8}, 0.134000458818, 0.961455692939,
         1e-9);
    // D'Agostino and Stephens' critical values of the adjusted statistic (table 4.7).
    fila("10 %", std::vector<double>(), 0.631, 0.10, 0.002);
    fila("5 %", std::vector<double>(), 0.752, 0.05, 0.001);
    fila("2.5 %", std::vector<double>(), 0.873, 0.025, 0.001);
    fila("1 %", std::vector<double>(), 1.035, 0.01, 0.0002);
    // On each border between their formulas (table 4.9) the upper one holds, worked by hand:
    // exp(1.2937 − 5.709 × 0.6 + 0.0186 × 0.6²), exp(0.9177 − 4.279 × 0.34 − 1.38 × 0.34²) and
    // 1 − exp(−8.318 + 42.796 × 0.2 − 59.938 × 0.2²); the next formula down would give 0.116893,
    // 0.501520 and 0.884352.
    fila("borde 0.6", std::vector<double>(), 0.6, 0.1194324905358, 1e-9);
    fila("borde 0.34", std::vector<double>(), 0.34, 0.4982327209344, 1e-9);
    fila("borde 0.2", std::vector<double>(), 0.2, 0.8842497006683, 1e-9);
}

// Known samples, and the p-value of statistics published or on the formulas' borders.
void TstIndices::normalidad() {
    QFETCH(std::vector<double>, valores);
    QFETCH(double, a2);
    QFETCH(double, p);
    QFETCH(double, tolerancia);
    if (valores.empty()) {
        QVERIFY2(std::fabs(pAndersonDarling(a2) - p) <= tolerancia,
                 qPrintable(QString::number(pAndersonDarling(a2), 'g', 12)));
        return;
    }
    const PruebaNormalidad r = andersonDarling(valores);
    LOZAR_COMPARA(r.a2, a2, 1e-10);
    QVERIFY2(std::fabs(r.p - p) <= tolerancia,
             qPrintable(QString("A² %1, p %2").arg(r.a2).arg(r.p)));
}

// Fifty points in control, then a shift of 1.5σ: runs of 8 on one side are flagged after point
// 50, and a single wild point beyond the limits.
void TstIndices::carta() {
    std::mt19937 g(3);
    std::normal_distribution<double> ruido(0, 1);
    std::vector<double> v;
    for (int i = 0; i < 100; ++i)
        v.push_back(20 + ruido(g) + (i >= 50 ? 1.5 : 0));
    v[20] = 40;
    const CartaIndividuales c = cartaIndividuales(v);
    QVERIFY(!c.estable());
    QCOMPARE(c.fuera.front(), std::size_t(20));
    QVERIFY(std::any_of(c.enRacha.begin(), c.enRacha.end(), [](std::size_t i) { return i >= 57; }));
    LOZAR_COMPARA(c.lcsRango, 3.267 * c.centroRango, 1e-12);
    // In control, nothing flagged.
    std::vector<double> tranquilo;
    for (int i = 0; i < 30; ++i)
        tranquilo.push_back(i % 2 ? 1 : -1);
    QVERIFY(cartaIndividuales(tranquilo).estable());
}

void TstIndices::conformidad_data() {
    // limits 40 44 | 50 | 56 60; where a measured value falls (0 below scrap … 4 above scrap)
    columnas<double, int>("valor", "zona");
    fila("en el desperdicio inferior", 40.0, 1);
    fila("en el retrabajo inferior", 44.0, 2);
    fila("en el retrabajo superior", 56.0, 2);
    fila("en el desperdicio superior", 60.0, 3);
    fila("apenas encima", std::nextafter(56.0, 99.0), 3);
    fila("apenas debajo", std::nextafter(40.0, 0.0), 0);
}

// A measured value on a limit conforms to it, as inspection counts.
void TstIndices::conformidad() {
    QFETCH(double, valor);
    QFETCH(int, zona);
    QCOMPARE(int(zonaDeMedicion(valor, Limites{40, 44, 50, 56, 60})), zona);
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
    // limits, n values of a mean and standard deviation; the report's Pp and Ppk rows as printed
    columnas<double, double, int, double, double, QString, QString>("lsl", "usl", "n", "media", "s",
                                                                    "pp", "ppk");
    // Montgomery, Introduction to Statistical Quality Control: a process centred between 38 and
    // 62, n 20, s 1.75: Ĉp = 2.29, and with 95 % confidence 1.57 ≤ Cp ≤ 3.01. The book multiplies
    // the rounded 2.29; from 24 / 10.5 itself the lower end is 1.565, printed 1.56.
    fila("Cp de Montgomery", 38.0, 62.0, 20, 50.0, 1.75, "Pp\t2.29\t1.56\t3.01\ts total",
         "Ppk\t2.29\t1.54\t3.03\ts total");
    // Montgomery's exercise: limits 90 and 100, 30 parts, x̄ 97, s 1.6: Ĉpk = 0.625, and with
    // 95 % confidence 0.42 ≤ Cpk ≤ 0.83.
    fila("Cpk de Montgomery", 90.0, 100.0, 30, 97.0, 1.6, "Pp\t1.04\t0.77\t1.31\ts total",
         "Ppk\t0.63\t0.42\t0.83\ts total");
}

// The report printed from measurements agrees with published worked examples to the digits it
// prints. The overall deviation is the s of the examples (the within one comes from the order of
// values, which the books do not give).
void TstIndices::informePublicado() {
    QFETCH(double, lsl);
    QFETCH(double, usl);
    QFETCH(int, n);
    QFETCH(double, media);
    QFETCH(double, s);
    QFETCH(QString, pp);
    QFETCH(QString, ppk);
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
    cajas.textos = {{Caja::XDesI, QString::number(lsl - 10)},
                    {Caja::XRetI, QString::number(lsl)},
                    {Caja::XObj, QString::number((lsl + usl) / 2)},
                    {Caja::XRetS, QString::number(usl)},
                    {Caja::XDesS, QString::number(usl + 10)},
                    {Caja::Media, QString::number(media)},
                    {Caja::StdDev, QString::number(s)}};
    const QStringList filas =
        comoTexto(informeCapacidad(cajas, nullptr, calculaCapacidad(cajas, nullptr, &v)))
            .split('\n');
    QVERIFY2(filas.contains(pp), qPrintable(filas.filter("Pp").join(" | ")));
    QVERIFY2(filas.contains(ppk), qPrintable(filas.filter("Ppk").join(" | ")));
}

QTEST_GUILESS_MAIN(TstIndices)
#include "tst_indices.moc"
