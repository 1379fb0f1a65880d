// The study's core without a display: the cost curve, its zones, Cpk, checks, shapes near the
// normal, the exact cost and its optimum, and study values that hold quotes.
#include "ajuste.h"
#include "archivos/archivoestudio.h"
#include "capacidad/capacidad.h"
#include "comun/cajasmapa.h"
#include "comun/comparar.h"
#include "costo/efectivo.h"
#include "costo/escenarios.h"
#include "costo/exacto.h"
#include "costo/optimo.h"
#include "estudio/forma.h"
#include "estudio/modeloestudio.h"
#include "muestra.h"
#include "tablas/tablanormal.h"

#include <QSignalSpy>
#include <QtTest>

using Textos = QMap<Caja, QString>;
Q_DECLARE_METATYPE(Textos)

class TstNucleo : public QObject {
    Q_OBJECT
private slots:
    void lozar_data();
    void lozar();
    void mismaEntrada();
    void casiNormales_data();
    void casiNormales();
    void cpkPorPercentiles();
    void sinDispersion_data();
    void sinDispersion();
    void comprobaciones_data();
    void comprobaciones();
    void comillaYComa();
    void exacto_data();
    void exacto();
    void optimoPlano();
    void optimoExacto();
    void actualTodoDesperdicio();
    void procesoAjustado_data();
    void procesoAjustado();
    void ajusteEnArchivo();
};

namespace {
CajasMapa conTextos(const Textos& textos, int taguchi = 0) {
    CajasMapa c = CajasMapa::tipico(taguchi);
    for (auto it = textos.begin(); it != textos.end(); ++it)
        c.textos[it.key()] = it.value();
    return c;
}

TablaNormal& tabla() {
    static TablaNormal t(QCoreApplication::applicationDirPath());
    return t;
}

double Fi(double z) {
    return std::erfc(-z / std::sqrt(2.0)) / 2;
}
} // namespace

void TstNucleo::lozar_data() {
    // costo: NaN where the curve refuses a limit that is not a number (error 13)
    columnas<int, Textos, double, double>("taguchi", "cambios", "x", "costo");
    const Textos nada;
    const double error = std::nan("");
    // Steps: each limit belongs to the region on its right.
    fila("en XDesI ya retrabajo", 0, nada, 10.0, 15.0);
    fila("en XRetI ya nominal", 0, nada, 20.0, 5.0);
    fila("en XRetS retrabajo", 0, nada, 80.0, 15.0);
    fila("antes de XDesS", 0, nada, 89.99, 15.0);
    fila("gris cuenta como sin marcar", 2, nada, 35.0, 5.0);
    // The Taguchi bowl: YRet × (x − XObj)² / (XRet − XObj)² above the nominal.
    fila("taguchi objetivo", 1, nada, 50.0, 5.0);
    fila("taguchi 35", 1, nada, 35.0, 7.5);
    fila("taguchi cerca de XRetS", 1, nada, 79.9999, 5 + 10 * (29.9999 * 29.9999) / 900);
    fila("taguchi YRetI cero plano", 1, Textos{{Caja::YRetI, "0"}}, 35.0, 5.0);
    // Far from 0 a difference of squares cancels every digit of the loss.
    fila("taguchi lejos del cero", 1,
         Textos{{Caja::XDesI, "99999998"},
                {Caja::XRetI, "99999999"},
                {Caja::XObj, "1e8"},
                {Caja::XRetS, "100000001"},
                {Caja::XDesS, "100000002"}},
         1e8 + 0.5, 7.5);
    fila("taguchi XRetI igual XObj", 1, Textos{{Caja::XRetI, "50"}}, 35.0, 15.0);
    // Costs read leniently, limits strictly; limits out of order: the first test decides.
    fila("costo con letras", 0, Textos{{Caja::YDesI, "12abc"}}, 5.0, 17.0);
    fila("costo solo letras", 0, Textos{{Caja::YDesI, "abc"}}, 5.0, 5.0);
    fila("limites desordenados", 0, Textos{{Caja::XRetI, "5"}}, 7.0, 35.0);
    // A bad limit fails only when a test reaches it.
    fila("XDesI vacio siempre", 1, Textos{{Caja::XDesI, ""}}, 95.0, error);
    fila("XRetS letras no alcanzado", 1, Textos{{Caja::XRetS, "abc"}}, 15.0, 15.0);
    fila("XRetS letras alcanzado", 1, Textos{{Caja::XRetS, "abc"}}, 60.0, error);
    fila("XDesS vacio alcanzado", 1, Textos{{Caja::XDesS, ""}}, 85.0, error);
    fila("XObj usado por taguchi", 1, Textos{{Caja::XObj, ""}}, 25.0, error);
    // The nominal cost: the straight line through (xa, YNomI) and (xb, YNomS), also beyond xb.
    fila("nominal en recta", 0, Textos{{Caja::YNomS, "15"}}, 50.0, 10.0);
    fila("nominal desde xa", 0, Textos{{Caja::YNomS, "15"}, {Caja::xa, "20"}}, 50.0, 8.75);
    fila("nominal mas alla de xb", 0, Textos{{Caja::YNomS, "15"}, {Caja::xb, "40"}}, 50.0, 17.5);
    fila("nominal plano si xb igual xa", 0, Textos{{Caja::YNomS, "15"}, {Caja::xb, "0"}}, 50.0,
         5.0);
}

// The cost of one unit at x.
void TstNucleo::lozar() {
    QFETCH(int, taguchi);
    QFETCH(Textos, cambios);
    QFETCH(double, x);
    QFETCH(double, costo);
    double visto = 0;
    QCOMPARE(errorDe([&] { visto = Lozar(conTextos(cambios, taguchi), x); }),
             std::isnan(costo) ? 13 : 0);
    if (!std::isnan(costo))
        LOZAR_COMPARA(visto, costo, 1e-9);
}

// The same input again is no change: nothing made stale, nothing to save. (The window's boxes
// pass on only changes; which results each input makes stale, tst_ventanas checks.)
void TstNucleo::mismaEntrada() {
    ModeloEstudio m;
    m.fijaTexto(Caja::Media, QStringLiteral("7"));
    m.fijaTaguchi(1);
    QSignalSpy cambiado(&m, &ModeloEstudio::cambiado), caducado(&m, &ModeloEstudio::caducado);
    m.fijaTexto(Caja::Media, QStringLiteral("7"));
    m.fijaTaguchi(1);
    QVERIFY(cambiado.isEmpty() && caducado.isEmpty());
}

void TstNucleo::casiNormales_data() {
    // normal: the shape is taken as the normal one
    columnas<QString, QString, bool>("sesgo", "curtosis", "normal");
    fila("sesgo 1e-6 sola", "0.000001", "0", true); // threw from Boost's gamma series
    fila("sesgo 1e-7, curtosis 1e-9", "0.0000001", "0.000000001", true); // Cpk −75
    fila("sesgo 1e-5, curtosis 1e-9", "1e-5", "1e-9", true);             // a negative cost
    fila("curtosis negativa mínima", "0", "-0.00009", true);
    fila("sesgo en el umbral", "0.0001", "0", false);
    fila("curtosis en el umbral", "0.0005", "0.0001", false);
    fila("cerca pero sesgado", "0.002", "0.0001", false);
}

// Shapes near the normal never crash nor give garbage: below the threshold they are the normal
// itself; from it on, the Pearson routines hold.
void TstNucleo::casiNormales() {
    QFETCH(QString, sesgo);
    QFETCH(QString, curtosis);
    QFETCH(bool, normal);
    const CajasMapa c = conTextos({{Caja::Sesgo, sesgo}, {Caja::Curtosis, curtosis}});
    const std::shared_ptr<const FormaProceso> forma = formaDe(c);
    QCOMPARE(forma == nullptr, normal);
    const double ce = calculaEfectivo(c, tabla(), 52, 8, forma.get()).efectivo;
    const double ceNormal = calculaEfectivo(c, tabla(), 52, 8, nullptr).efectivo;
    if (normal) {
        QCOMPARE(ce, ceNormal);
        return;
    }
    for (double z : {-6.0, -3.0, 0.0, 3.0, 6.0})
        LOZAR_COMPARA(forma->cdf(z) + forma->cola(z), 1.0, 1e-9);
    LOZAR_COMPARA(forma->cdf(forma->q00135()), 0.00135, 1e-6);
    LOZAR_COMPARA(ce, ceNormal, 1e-3); // a shape this near the normal costs as much
    LOZAR_COMPARA(cpkDe(52, 8, 20, 80, forma.get()), cpkDe(52, 8, 20, 80, nullptr), 1e-3);
}

// A capable process with two values, 83 parts at 7.30 and 17 at 7.40: the median and the 0.135 %
// point coincide, so the lower side has no spread and the upper one decides, (7.6 − 7.30) over
// (99.865 % point − median), about 0.3 / 0.102.
void TstNucleo::cpkPorPercentiles() {
    std::vector<double> v(83, 7.30);
    v.insert(v.end(), 17, 7.40);
    const ResumenMuestra r = resumeMuestra(v);
    const FormaProceso forma(std::round(r.sesgo * 1000) / 1000,
                             std::round(r.curtosis * 1000) / 1000);
    QCOMPARE(textoDeIndice(cpkDe(r.media, r.desviacion, 7.1, 7.6, &forma)), QStringLiteral("2.94"));
    // A mean past the lower limit: the side without spread still says it is not capable.
    QVERIFY(cpkDe(7.0, r.desviacion, 7.1, 7.6, &forma) < 0);
    // Without spread a process on its limit is as capable as 0, one inside unboundedly.
    QCOMPARE(cpkDe(7.1, 0, 7.1, 7.6, &forma), 0.0);
    QVERIFY(std::isinf(cpkDe(7.3, 0, 7.1, 7.6, &forma)));
}

void TstNucleo::sinDispersion_data() {
    // zona: where the whole production lies
    columnas<QString, int>("media", "zona");
    fila("en el desperdicio inferior", "10", int(Zona::DesperdicioInferior));
    fila("entre desperdicio y retrabajo", "15", int(Zona::RetrabajoInferior));
    fila("en el retrabajo inferior", "20", int(Zona::Dentro));
    fila("en el retrabajo superior", "80", int(Zona::RetrabajoSuperior));
    fila("en el desperdicio superior", "90", int(Zona::DesperdicioSuperior));
}

// A process without spread lies wholly in one zone, the same for the effective cost and the
// capability report.
void TstNucleo::sinDispersion() {
    QFETCH(QString, media);
    QFETCH(int, zona);
    const CajasMapa c = conTextos({{Caja::Media, media}, {Caja::StdDev, "0"}});
    const double mu = c.estricto(Caja::Media);
    const std::array<double, 5> z = zonasDe(colasDelProceso(c, mu, 0, tabla(), nullptr));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(z[std::size_t(i)], i == zona ? 1.0 : 0.0);
    const bool desperdicio =
        zona == int(Zona::DesperdicioInferior) || zona == int(Zona::DesperdicioSuperior);
    QCOMPARE(calculaEfectivo(c, tabla(), mu, 0).todoDesperdicio(), desperdicio);
}

void TstNucleo::comprobaciones_data() {
    // error: the start of the message, empty when the study passes `necesita`
    columnas<Textos, int, QString>("textos", "necesita", "error");
    const int analisis = ModeloEstudio::ParaAnalisis;
    fila("estudio en orden", Textos{{Caja::Media, "50"}, {Caja::StdDev, "8"}}, analisis, "");
    fila("retrabajo igual al desperdicio", Textos{{Caja::XRetI, "10"}, {Caja::StdDev, "8"}},
         analisis, "");
    fila("desviacion negativa al dibujar", Textos{{Caja::StdDev, "-1"}},
         int(ModeloEstudio::ParaDistribucion), "La desviación estándar (Desv. Std.) no puede");
    fila("desviacion demasiado chica", Textos{{Caja::Media, "50"}, {Caja::StdDev, "1e-13"}},
         analisis, "La desviación estándar (Desv. Std.), 1E-13, es menor que una milmillonésima");
    // The bell shows no more than its mean there: a picture need not refuse it.
    fila("desviacion demasiado chica al dibujar",
         Textos{{Caja::Media, "50"}, {Caja::StdDev, "1e-13"}}, int(ModeloEstudio::ParaDistribucion),
         "");
    fila("retrabajo invertido", Textos{{Caja::XRetI, "80"}, {Caja::XRetS, "20"}}, analisis,
         "Los límites deben ir en orden de menor a mayor, y Límite Retrabajo Lado Inferior (80) "
         "es mayor que Objetivo (50)");
    fila("desperdicio dentro del retrabajo al dibujar", Textos{{Caja::XDesS, "70"}},
         int(ModeloEstudio::ParaFuncion), "Los límites deben ir en orden");
    fila("retrabajo igual", Textos{{Caja::XRetI, "50"}, {Caja::XObj, "50"}, {Caja::XRetS, "50"}},
         analisis, "Los límites de retrabajo son iguales (50)");
    // A cost needs no tolerance, a capability study does.
    fila("retrabajo igual para el costo",
         Textos{{Caja::XRetI, "50"}, {Caja::XObj, "50"}, {Caja::XRetS, "50"}},
         int(ModeloEstudio::ParaCosto), "");
    // On the border of the possible shapes, kurtosis = skewness² − 2: none.
    fila("forma en el borde", Textos{{Caja::Sesgo, "1"}, {Caja::Curtosis, "-1"}}, analisis,
         "Ninguna distribución tiene sesgo 1 y curtosis -1");
    // Only the boxes a path reads: a capability study has no costs.
    fila("costo malo en la capacidad", Textos{{Caja::YNomI, "x"}},
         int(ModeloEstudio::ParaCapacidad), "");
    fila("desborda", Textos{{Caja::ya, "1e999"}}, int(ModeloEstudio::ParaFuncion),
         "Desbordamiento: «Valor inferior de la escala de Lozar» es demasiado grande");
}

// What each path needs is checked in one place, each fault said in words.
void TstNucleo::comprobaciones() {
    QFETCH(Textos, textos);
    QFETCH(int, necesita);
    QFETCH(QString, error);
    LocaleFijo locale(QLocale::c());
    ModeloEstudio m;
    const CajasMapa c = conTextos(textos);
    for (int i = 0; i < kNumCajas; ++i)
        m.fijaTexto(Caja(i), c.texto(Caja(i)));
    try {
        m.compruebaEntradas(necesita);
        QVERIFY2(error.isEmpty(), "sin error");
    } catch (const ErrorLozar& e) {
        QVERIFY2(!error.isEmpty() && e.descripcion().startsWith(error),
                 qPrintable(e.descripcion()));
    }
    // The integration refuses what it could not resolve, rather than answer 0 or 10.
    if (error.contains("desviación"))
        QCOMPARE(errorDe([&] {
                     calculaEfectivo(m, tabla(), m.estricto(Caja::Media), m.estricto(Caja::StdDev));
                 }),
                 int(kErrArgumento));
}

// A comma alone is kept inside quotes; with a quote too, the value fits no line of a study and
// saving refuses it, naming it. (A quote alone goes unquoted and reads back whole: tst_estudios.)
void TstNucleo::comillaYComa() {
    QStringList valores(kCamposEstudio, QStringLiteral("1"));
    valores[0] = QStringLiteral("Eje, lote 3");
    QVERIFY(escribeEstudio(valores).startsWith("\"Titulo=Eje, lote 3\"\r\n"));
    valores[0] = QStringLiteral("Eje 3/4\", lote 2");
    try {
        escribeEstudio(valores);
        QFAIL("guardado");
    } catch (const ErrorLozar& e) {
        QVERIFY(e.descripcion().startsWith("El valor de Titulo tiene comillas"));
    }
    // A box holds 32 767 characters: the longest title reads back whole, one more is refused.
    for (const int largo : {kLargoMaximo, kLargoMaximo + 1}) {
        const LecturaEstudio l = leeEstudio("Titulo=" + QByteArray(largo, 'a'));
        QCOMPARE(l.error.has_value(), largo > kLargoMaximo);
        QCOMPARE(l.valores.size(), largo > kLargoMaximo ? 0 : 1);
    }
}

// The coating example costs its nominal over a stretch of means (no rework cost below the
// target): the optimum is that stretch and its middle, and a spread changed in its ninth digit
// does not move it.
void TstNucleo::optimoPlano() {
    const Textos revestimiento = {{Caja::XDesI, "40"}, {Caja::XRetI, "40"},  {Caja::XObj, "50"},
                                  {Caja::XRetS, "62"}, {Caja::XDesS, "70"},  {Caja::YRetI, "0"},
                                  {Caja::YDesI, "4"},  {Caja::YNomI, "1.8"}, {Caja::YRetS, "0.9"},
                                  {Caja::YDesS, "4"},  {Caja::YNomS, "1.8"}, {Caja::xa, "35"},
                                  {Caja::xb, "75"}};
    const CajasMapa c = conTextos(revestimiento, 1);
    const std::optional<MediaOptima> sin = buscaMediaOptima(c, 0, nullptr);
    QVERIFY(sin && sin->plano());
    LOZAR_COMPARA(sin->efectivo, 1.8, 1e-12);
    QVERIFY(sin->desde > 40 && sin->desde < 40 + 1e-3); // 40 itself is scrap
    QVERIFY(std::fabs(sin->hasta - 50) < 1e-3 && std::fabs(sin->media - 45) < 1e-3);
    const std::optional<MediaOptima> a = buscaMediaOptima(c, 0.5, nullptr);
    const std::optional<MediaOptima> b = buscaMediaOptima(c, 0.5 * (1 + 1e-9), nullptr);
    QVERIFY(a && b && a->plano() && a->desde > 40 && a->hasta < 50);
    QVERIFY(std::fabs(a->media - b->media) < 1e-6 * (62 - 40));

    // A rework that pays (cost −3) in a band narrower than the scan's step, below the upper
    // scrap limit: the least cost, 2, lies there though no point of the scan falls in the band.
    const Textos banda = {{Caja::XDesI, "0"},     {Caja::XRetI, "0"},   {Caja::XObj, "100"},
                          {Caja::XRetS, "199.1"}, {Caja::XDesS, "200"}, {Caja::YRetI, "0"},
                          {Caja::YRetS, "-3"},    {Caja::xb, "200"}};
    const std::optional<MediaOptima> m = buscaMediaOptima(conTextos(banda), 0, nullptr);
    QVERIFY2(m && m->efectivo < 2 + 1e-9 && m->media >= 199.1 && m->media < 200,
             qPrintable(QString("%1 a %2").arg(m->efectivo).arg(m->media)));
}

void TstNucleo::exacto_data() {
    // taguchi: the quadratic loss between the rework limits; esperado: worked by hand here
    columnas<Textos, int, double, double, double>("textos", "taguchi", "mu", "sigma", "esperado");
    // Steps only: 5 nominal everywhere, 30 more for scrap beyond 10 and 90, 10 more for rework
    // beyond 20 and 80.
    for (double mu : {52.0, 30.0, 14.0}) {
        const double s = 8;
        const double dI = Fi((10 - mu) / s), rI = Fi((20 - mu) / s), rS = Fi((80 - mu) / s),
                     dS = Fi((90 - mu) / s);
        const double costo =
            35 * dI + 15 * (rI - dI) + 5 * (rS - rI) + 15 * (dS - rS) + 35 * (1 - dS);
        QTest::addRow("escalones, media %g", mu)
            << Textos{} << 0 << mu << s << costo / (1 - dI - (1 - dS));
    }
    // The Taguchi loss alone, its limits 50σ away: k(σ² + (μ − T)²) on the nominal, with
    // k = 10 / 100².
    QTest::addRow("solo Taguchi") << Textos{{Caja::XDesI, "-1000"}, {Caja::XRetI, "-50"},
                                            {Caja::XRetS, "150"},   {Caja::XDesS, "1000"},
                                            {Caja::xa, "-1000"},    {Caja::xb, "1000"}}
                                  << 1 << 50.5 << 2.0 << 5 + 10.0 / 10000 * 4.25;
    // Without spread: the cost where the mean lies.
    QTest::addRow("sin dispersion") << Textos{} << 1 << 35.0 << 0.0 << 5 + 10.0 * 15 * 15 / 900;
}

// The expectation of a normal process, against formulas derived here; its parts add up; its
// slope against the cost's own differences. (Skewed shapes: tst_pearson.)
void TstNucleo::exacto() {
    QFETCH(Textos, textos);
    QFETCH(int, taguchi);
    QFETCH(double, mu);
    QFETCH(double, sigma);
    QFETCH(double, esperado);
    const CajasMapa c = conTextos(textos, taguchi);
    const CostoExacto r = costoExacto(c, mu, sigma, nullptr, true);
    LOZAR_COMPARA(r.efectivo, esperado, 1e-12);
    LOZAR_COMPARA(r.parteDesperdicio + r.parteRetrabajo + r.parteFueraDeObjetivo, r.noCalidad(),
                  1e-12);
    const double h = 1e-5;
    if (sigma > 0)
        LOZAR_COMPARA(r.derivada,
                      (costoExacto(c, mu + h, sigma, nullptr).efectivo -
                       costoExacto(c, mu - h, sigma, nullptr).efectivo) /
                          (2 * h),
                      1e-6);
}

// Scrap below 196 at twice the cost of rework above 206, σ 2, a flat nominal 5. On the expected
// steps alone the best mean lies σ² ln 2 / (U − L) above the midpoint, at 201.2773; dividing by
// the good units, 1 − S, moves it a little higher, to where (−2φ(zL) + φ(zU))(1 − S) = (5 + 2S + R)
// φ(zL), found here by bisection. The search must agree to a billionth of the tolerance and not
// move when σ changes in its ninth digit.
void TstNucleo::optimoExacto() {
    const Textos escalones = {{Caja::XDesI, "196"}, {Caja::XRetI, "196"},   {Caja::XObj, "201"},
                              {Caja::XRetS, "206"}, {Caja::XDesS, "10000"}, {Caja::YDesI, "2"},
                              {Caja::YRetS, "1"},   {Caja::YDesS, "1"},     {Caja::xb, "20000"}};
    const CajasMapa c = conTextos(escalones);
    const double sigma = 2, L = 196, U = 206;
    auto fi = [](double z) { return std::exp(-z * z / 2) / std::sqrt(2 * M_PI); };
    auto g = [&](double mu) {
        const double zL = (L - mu) / sigma, zU = (U - mu) / sigma;
        const double S = Fi(zL), R = 1 - Fi(zU);
        return (-2 * fi(zL) + fi(zU)) * (1 - S) - (5 + 2 * S + R) * fi(zL);
    };
    double a = 199, b = 204; // g(a) < 0 < g(b)
    QVERIFY(g(a) < 0 && g(b) > 0);
    for (int i = 0; i < 200; ++i)
        (g((a + b) / 2) < 0 ? a : b) = (a + b) / 2;
    const double esperada = (a + b) / 2;
    const std::optional<MediaOptima> m = buscaMediaOptima(c, sigma, nullptr);
    QVERIFY(m && !m->plano());
    QVERIFY(std::fabs(m->media - esperada) < 1e-9 * (U - L));
    const std::optional<MediaOptima> otra = buscaMediaOptima(c, sigma * (1 + 1e-9), nullptr);
    QVERIFY(std::fabs(otra->media - m->media) < 1e-6 * (U - L));
}

// A current process that is all scrap is the dearest scenario, and every other one saves
// without bound: never a negative saving against a cost taken as 0.
void TstNucleo::actualTodoDesperdicio() {
    CajasMapa c = CajasMapa::tipico();
    c.textos[Caja::Media] = "200";
    c.textos[Caja::StdDev] = "5";
    const QList<Escenario> e = calculaEscenarios(c, nullptr, 0.2);
    const QList<double> costos = costosDeEscenarios(e, 1000.0);
    QVERIFY(std::isinf(costos[0]) && std::isfinite(costos[1]) && costos[1] < costos[0]);
    const QList<QStringList> filas = informeEscenarios(e, 1000.0);
    for (const char* titulo :
         {"Ahorro por unidad buena frente al actual", "Ahorro por año frente al actual"}) {
        const QStringList f = *std::find_if(filas.begin(), filas.end(), [&](const QStringList& l) {
            return l.value(0) == QString::fromUtf8(titulo);
        });
        QCOMPARE(f.value(1), QStringLiteral("100% Desperdicio"));
        QCOMPARE(f.value(2), QStringLiteral("Ilimitado: el actual es 100% desperdicio"));
    }
}

void TstNucleo::procesoAjustado_data() {
    QTest::addColumn<QString>("ajuste");
    QTest::newRow("lognormal") << "Lognormal;3.9;0.3";
    QTest::newRow("Weibull 3") << "Weibull3;2;40;15";
    QTest::newRow("gamma 3") << "Gamma3;3;10;20";
    QTest::newRow("exponencial") << "Exponencial;20";
    QTest::newRow("valor extremo mínimo") << "VEMinimo;55;10";
    QTest::newRow("logística") << "Logistica;50;8";
    QTest::newRow("loglogística 3") << "LogLogistica3;3.7;0.15;10";
    QTest::newRow("Box-Cox") << "BoxCox;0.5;12.14;1.2";
    QTest::newRow("Johnson SU") << "Johnson;2;0.3;1.5;50;10";
    QTest::newRow("Johnson SB") << "Johnson;0;0.2;1.2;0;100";
}

// A fitted process through the study's one path: its shape standardised by the fit's own mean and
// spread must give back the fit. The exact cost against Simpson's rule on Lozar(x) f(x) between
// the limits, written here from the fitted density alone; the percentile Cpk against the fit's
// own quantiles.
void TstNucleo::procesoAjustado() {
    QFETCH(QString, ajuste);
    CajasMapa c = CajasMapa::tipico(1);
    c.valorAjuste = ajuste;
    const std::shared_ptr<const DistribucionAjustada> d = ajusteDeTexto(ajuste);
    const double m = d->media(), s = d->desviacion();
    c.textos[Caja::Media] = QString::number(m, 'g', 17);
    c.textos[Caja::StdDev] = QString::number(s, 'g', 17);
    const std::shared_ptr<const FormaProceso> forma = formaDe(c);
    QVERIFY(forma && forma->ajuste());

    double esperado = 0;
    const double desde = std::max(d->minimo(), d->cuantil(1e-13));
    const double hasta = std::min(d->maximo(), d->cuantil(1 - 1e-13));
    const double cortes[] = {desde, 10, 20, 50, 80, 90, hasta};
    for (int k = 0; k + 1 < 7; ++k) {
        const double a = std::clamp(cortes[k], desde, hasta),
                     b = std::clamp(cortes[k + 1], a, hasta);
        const int n = 20000;
        const double h = (b - a) / n;
        // Midpoint of each piece's ends, for a density that is infinite at its support's end.
        auto g = [&](double x) { return Lozar(c, x) * d->densidad(x); };
        for (int i = 0; i < n; i += 2)
            esperado += h / 3 *
                        (g(a + i * h + (i == 0 ? 1e-12 : 0)) + 4 * g(a + (i + 1) * h) +
                         g(a + (i + 2) * h - (i + 2 == n ? 1e-12 : 0)));
    }
    const double desperdicio = d->cdf(10) + d->cola(90);
    const CostoExacto r = costoExacto(c, m, s, forma.get());
    LOZAR_COMPARA(r.efectivo, esperado / (1 - desperdicio), 1e-6);
    LOZAR_COMPARA(r.desperdicio, desperdicio, 1e-9);

    const Capacidad cap = calculaCapacidad(c, forma.get(), nullptr);
    const double med = d->cuantil(0.5);
    QVERIFY(cap.cpk);
    LOZAR_COMPARA(*cap.cpk,
                  std::min((80 - med) / (d->cuantil(0.99865) - med),
                           (med - 20) / (med - d->cuantil(0.00135))),
                  1e-9);
}

// The fit a study keeps reads back to the same doubles; a file naming a fit Lozar cannot build is
// refused whole, before anything of it reaches the study.
void TstNucleo::ajusteEnArchivo() {
    const DistribucionAjustada d(Familia::Weibull3, {1.0 / 3, 81.87654321, 1e-7});
    const QString texto = textoDeAjuste(d);
    QCOMPARE(ajusteDeTexto(texto)->parametros(), d.parametros());
    QStringList valores(kCamposTodos, QString());
    valores[kCampoTaguchi] = "0";
    for (const char* malo : {"Cauchy;1;2", "Weibull;2", "Weibull;2;-1", "Lognormal;nan;1",
                             "Lognormal;1,5;1", "Weibull3;2;1;x", "Weibull;-2;1"}) {
        valores[kCampoAjuste] = QString::fromLatin1(malo);
        QVERIFY_THROWS_EXCEPTION(ErrorLozar, leeEstudioEntero(escribeEstudio(valores)));
    }
    QVERIFY(ajusteDeTexto("LogLogistica3;-1;0.5;0")); // a log-location may be negative
    valores[kCampoAjuste] = texto;
    // A line without quotes runs to its comma or its end, as an editor may leave it.
    const LecturaEstudio sinComillas = leeEstudio("Media=52.5\r\nXObj=50,Taguchi=1\r\n");
    QCOMPARE(sinComillas.valores,
             (QList<std::pair<int, QString>>{{16, "52.5"}, {13, "50"}, {kCampoTaguchi, "1"}}));
    const QByteArray bytes = escribeEstudio(valores);
    QVERIFY(bytes.contains("\"Ajuste=Weibull3;0.3333333333333333;81.87654321;1e-07\""));
    QCOMPARE(leeEstudioEntero(bytes).valores[kCampoAjuste], texto);
}

QTEST_GUILESS_MAIN(TstNucleo)
#include "tst_nucleo.moc"
