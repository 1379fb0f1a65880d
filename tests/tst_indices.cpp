// The capability study's statistics: spread within, intervals, normality, the individuals chart.
#include "capacidad/capacidad.h"
#include "comun/cajasmapa.h"
#include "comun/comparar.h"
#include "estudio/zonas.h"
#include "indices.h"
#include "muestra.h"

#include <QtTest>
#include <numeric>
#include <random>

class TstIndices : public QObject {
    Q_OBJECT
private slots:
    void constantes();
    void intervalos_data();
    void intervalos();
    void normalidad_data();
    void normalidad();
    void dentroYTotal();
    void carta();
    void conformidad_data();
    void conformidad();
    void subgruposDeUno();
    void informePublicado_data();
    void informePublicado();
};

// Tabulated in every SPC text (e.g. Montgomery, Introduction to Statistical Quality Control,
// appendix VI): c4 for subgroups of 2, 5 and 25.
void TstIndices::constantes() {
    LOZAR_COMPARA(c4(2), 0.7979, 1e-4);
    LOZAR_COMPARA(c4(5), 0.9400, 1e-4);
    LOZAR_COMPARA(c4(25), 0.9896, 1e-4);
    // Pooled: two subgroups {1, 3} and {2, 6}: s² 2 and 8, pooled √5, over c4(3) = 0.8862.
    LOZAR_COMPARA(sigmaAgrupada({{1, 3}, {2, 6}}), std::sqrt(5.0) / 0.886227, 1e-5);
    // Moving ranges 2, 1, 3: mean 2, over 1.128.
    LOZAR_COMPARA(sigmaRangoMovil({1, 3, 2, 5}), 2 / 1.128, 1e-12);
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
    columnas<std::vector<double>, double, double>("valores", "pMinimo", "pMaximo");
    // The normal's own quantiles are as normal as values get; an exponential's are not.
    std::vector<double> normal, exponencial, uniforme;
    for (int i = 1; i <= 100; ++i) {
        const double p = (i - 0.375) / 100.25;
        double a = -10, b = 10; // Φ⁻¹(p) by bisection, no routine under test
        for (int k = 0; k < 200; ++k)
            ((std::erfc(-(a + b) / 2 / std::sqrt(2.0)) / 2 < p) ? a : b) = (a + b) / 2;
        normal.push_back((a + b) / 2);
        exponencial.push_back(-std::log(1 - p));
        uniforme.push_back(p);
    }
    fila("normal", normal, 0.9, 1.0);
    fila("exponencial", exponencial, 0.0, 0.005);
    fila("uniforme", uniforme, 0.0, 0.05);
}

// Whole samples whose normality is known; then the p-value against D'Agostino and Stephens'
// critical values of the adjusted statistic (table 4.7): 0.631 at 10 %, 0.752 at 5 %, 0.873 at
// 2.5 %, 1.035 at 1 %.
void TstIndices::normalidad() {
    QFETCH(std::vector<double>, valores);
    QFETCH(double, pMinimo);
    QFETCH(double, pMaximo);
    const PruebaNormalidad r = andersonDarling(valores);
    QVERIFY2(r.p >= pMinimo && r.p <= pMaximo,
             qPrintable(QString("A² %1, p %2").arg(r.a2).arg(r.p)));
    const std::pair<double, double> criticos[] = {
        {0.631, 0.10}, {0.752, 0.05}, {0.873, 0.025}, {1.035, 0.01}};
    for (const auto& [a, p] : criticos)
        QVERIFY2(std::fabs(pAndersonDarling(a) - p) < 0.1 * p,
                 qPrintable(QString("%1: %2").arg(a).arg(pAndersonDarling(a))));
}

// Within and overall spread: apart on a drifting process, together on an independent one.
void TstIndices::dentroYTotal() {
    std::mt19937 g(7);
    std::normal_distribution<double> ruido(0, 1);
    std::vector<double> deriva, independientes;
    for (int i = 0; i < 2000; ++i) {
        const double e = ruido(g);
        independientes.push_back(10 + e);
        deriva.push_back(10 + e + i * 0.005); // ten σ of drift over the run
    }
    const double dentro = sigmaRangoMovil(independientes),
                 total = resumeMuestra(independientes).desviacion;
    QVERIFY2(std::fabs(dentro / total - 1) < 0.05, qPrintable(QString::number(dentro / total)));
    QVERIFY(resumeMuestra(deriva).desviacion > 2 * sigmaRangoMovil(deriva));
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
    const Limites l{40, 44, 50, 56, 60};
    QCOMPARE(int(zonaDeMedicion(valor, l)), zona);
    // A hundred values, ten of them on the upper rework limit and 16 beyond it: 16 % above.
    std::vector<double> v(74, 50.0);
    v.insert(v.end(), 10, 56.0);
    v.insert(v.end(), 16, 57.0);
    CajasMapa cajas;
    cajas.textos = {{Caja::XDesI, "40"}, {Caja::XRetI, "44"}, {Caja::XObj, "50"},
                    {Caja::XRetS, "56"}, {Caja::XDesS, "60"}, {Caja::Media, "52"},
                    {Caja::StdDev, "2"}};
    const Capacidad c = calculaCapacidad(cajas, nullptr, &v);
    LOZAR_COMPARA((*c.observada)[3], 0.16, 1e-12);
    LOZAR_COMPARA((*c.observada)[2], 0.84, 1e-12);
}

// A column naming every value apart (the part's number) makes no subgroups: the values are
// individual, and their spread within comes from the moving range, not from nothing.
void TstIndices::subgruposDeUno() {
    const std::vector<double> v{1, 3, 2, 5, 4, 6, 5, 8, 7, 9};
    std::vector<int> piezas(v.size());
    std::iota(piezas.begin(), piezas.end(), 1);
    QVERIFY(agrupa(v, piezas).empty());
    CajasMapa cajas;
    cajas.textos = {{Caja::XDesI, "-10"}, {Caja::XRetI, "0"},  {Caja::XObj, "5"},
                    {Caja::XRetS, "10"},  {Caja::XDesS, "20"}, {Caja::Media, "5"},
                    {Caja::StdDev, "2"}};
    const Capacidad c = calculaCapacidad(cajas, nullptr, &v, &piezas);
    QCOMPARE(c.subgrupos, std::size_t(0));
    LOZAR_COMPARA(c.sigmaDentro, sigmaRangoMovil(v), 1e-15);
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
