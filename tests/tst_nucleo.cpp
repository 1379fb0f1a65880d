// The study's core without a display: its model, zones, Cpk, checks, shapes near the normal, the
// optimum over a flat stretch and study values that hold quotes.
#include "archivos/archivoestudio.h"
#include "comun/cajasmapa.h"
#include "comun/comparar.h"
#include "comun/tablas.h"
#include "costo/efectivo.h"
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
    void senales();
    void casiNormales_data();
    void casiNormales();
    void cpkPorPercentiles();
    void sinDispersion_data();
    void sinDispersion();
    void comprobaciones_data();
    void comprobaciones();
    void comillas_data();
    void comillas();
    void optimoPlano();
    void exactoNormal_data();
    void exactoNormal();
    void exactoPearson_data();
    void exactoPearson();
    void exactoCerrado_data();
    void exactoCerrado();
    void optimoExacto();
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
} // namespace

// One signal for every input, saying which results it made stale.
void TstNucleo::senales() {
    ModeloEstudio m;
    QSignalSpy cambiado(&m, &ModeloEstudio::cambiado), caducado(&m, &ModeloEstudio::caducado);
    const int ambos = ModeloEstudio::Cpk | ModeloEstudio::Efectivo;
    const struct {
        Caja caja;
        int resultados; // 0: none stale
    } casos[] = {{Caja::Media, ambos},
                 {Caja::Sesgo, ambos},
                 {Caja::xa, ModeloEstudio::Efectivo},
                 {Caja::xb, ModeloEstudio::Efectivo},
                 {Caja::txtTitulo, 0},
                 {Caja::yb, 0}};
    for (const auto& c : casos) {
        cambiado.clear(), caducado.clear();
        m.fijaTexto(c.caja, QStringLiteral("7"));
        QCOMPARE(cambiado.size(), 1);
        QCOMPARE(caducado.size(), c.resultados ? 1 : 0);
        if (c.resultados)
            QCOMPARE(caducado[0][0].toInt(), c.resultados);
        m.fijaTexto(c.caja, QStringLiteral("7")); // the same text again is no change
        QCOMPARE(cambiado.size(), 1);
    }
    caducado.clear();
    m.fijaTaguchi(1);
    QCOMPARE(caducado.size(), 1);
    QCOMPARE(caducado[0][0].toInt(), int(ModeloEstudio::Efectivo));
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
    const double cpk = cpkDe(r.media, r.desviacion, 7.1, 7.6, &forma);
    QVERIFY2(cpk > 2.9 && cpk < 2.98, qPrintable(QString::number(cpk)));
    QCOMPARE(textoDeIndice(cpk), QStringLiteral("2.94"));
    // A mean past the lower limit: the side without spread still says it is not capable.
    QVERIFY(cpkDe(7.0, r.desviacion, 7.1, 7.6, &forma) < 0);
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
    fila("desviacion negativa", Textos{{Caja::StdDev, "-1"}}, analisis,
         "La desviación estándar (Desv. Std.) no puede ser negativa");
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
    fila("forma imposible", Textos{{Caja::Sesgo, "1"}, {Caja::Curtosis, "-1.5"}}, analisis,
         "Ninguna distribución tiene sesgo 1");
    // Only the boxes a path reads: a capability study has no costs.
    fila("costo malo en la capacidad", Textos{{Caja::YNomI, "x"}},
         int(ModeloEstudio::ParaCapacidad), "");
    fila("costo malo en el costo", Textos{{Caja::YNomI, "x"}}, int(ModeloEstudio::ParaCosto),
         "No coinciden los tipos: «Nominal Producción Lado Inferior» no es un número");
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

void TstNucleo::comillas_data() {
    // lineas: the title's line as written; empty when saving is refused
    columnas<QString, QByteArray>("titulo", "linea");
    fila("sin comillas", "Eje, lote 3", QByteArray("\"Titulo=Eje, lote 3\"\r\n"));
    fila("pulgadas", "Eje 3/4\" línea 2", QByteArray("Titulo=Eje 3/4\" l\xednea 2\r\n"));
    fila("entre comillas", "\"A\" = \"B\"", QByteArray("Titulo=\"A\" = \"B\"\r\n"));
    fila("comilla y coma", "Eje 3/4\", lote 2", QByteArray());
}

// A value holding a quote reads back whole; one that no line can keep is refused, naming it.
void TstNucleo::comillas() {
    QFETCH(QString, titulo);
    QFETCH(QByteArray, linea);
    QStringList valores(kCamposEstudio, QStringLiteral("1"));
    valores[0] = titulo;
    try {
        const QByteArray bytes = escribeEstudio(valores);
        QVERIFY2(!linea.isEmpty(), "guardado");
        QVERIFY(bytes.startsWith(linea));
        const LecturaEstudio l = leeEstudio(bytes);
        QCOMPARE(l.valores.value(0).second, titulo);
        QCOMPARE(l.valores.size(), kCamposEstudio);
    } catch (const ErrorLozar& e) {
        QVERIFY(linea.isEmpty());
        QVERIFY(e.descripcion().startsWith("El valor de Titulo tiene comillas"));
    }
}

// The coating example costs its nominal over a stretch of means (no rework cost below the
// target): the optimum is that stretch and its middle, and a spread changed in its ninth digit
// does not move it.
void TstNucleo::optimoPlano() {
    const CajasMapa c = conTextos({{Caja::XDesI, "40"},
                                   {Caja::XRetI, "40"},
                                   {Caja::XObj, "50"},
                                   {Caja::XRetS, "62"},
                                   {Caja::XDesS, "70"},
                                   {Caja::YRetI, "0"},
                                   {Caja::YDesI, "4"},
                                   {Caja::YNomI, "1.8"},
                                   {Caja::YRetS, "0.9"},
                                   {Caja::YDesS, "4"},
                                   {Caja::YNomS, "1.8"},
                                   {Caja::xa, "35"},
                                   {Caja::xb, "75"}},
                                  1);
    const std::optional<MediaOptima> sin = buscaMediaOptima(c, 0, nullptr);
    QVERIFY(sin && sin->plano());
    LOZAR_COMPARA(sin->efectivo, 1.8, 1e-12);
    QVERIFY2(sin->desde - 40 < 1e-3 && sin->desde > 40, // 40 itself is scrap
             qPrintable(QString("%1 .. %2, %3")
                            .arg(sin->desde, 0, 'g', 17)
                            .arg(sin->hasta, 0, 'g', 17)
                            .arg(sin->media, 0, 'g', 17)));
    QVERIFY(std::fabs(sin->hasta - 50) < 1e-3);
    QVERIFY(std::fabs(sin->media - 45) < 1e-3);
    const double tolerancia = 62 - 40;
    const std::optional<MediaOptima> a = buscaMediaOptima(c, 0.5, nullptr);
    const std::optional<MediaOptima> b = buscaMediaOptima(c, 0.5 * (1 + 1e-9), nullptr);
    QVERIFY(a && b && a->plano());
    QVERIFY2(
        std::fabs(a->media - b->media) < 1e-6 * tolerancia,
        qPrintable(QString("%1 contra %2").arg(a->media, 0, 'g', 17).arg(b->media, 0, 'g', 17)));
    QVERIFY(a->desde > 40 && a->hasta < 50);
}

namespace {
double Fi(double z) {
    return std::erfc(-z / std::sqrt(2.0)) / 2;
}
} // namespace

void TstNucleo::exactoNormal_data() {
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
    // The Taguchi loss alone, its limits 100σ away: k(σ² + (μ − T)²) on the nominal, with
    // k = 10 / 100².
    QTest::addRow("solo Taguchi") << Textos{{Caja::XDesI, "-1000"}, {Caja::XRetI, "-50"},
                                            {Caja::XRetS, "150"},   {Caja::XDesS, "1000"},
                                            {Caja::xa, "-1000"},    {Caja::xb, "1000"}}
                                  << 1 << 50.5 << 1.0 << 5 + 10.0 / 10000 * (1 + 0.25);
    // Without spread: the cost where the mean lies.
    QTest::addRow("sin dispersion") << Textos{} << 1 << 35.0 << 0.0 << 5 + 10.0 * 15 * 15 / 900;
}

// The expectation itself, against formulas derived here; its slope against the cost's own
// differences.
void TstNucleo::exactoNormal() {
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
    if (sigma > 0) {
        const double h = 1e-5;
        const double pendiente = (costoExacto(c, mu + h, sigma, nullptr).efectivo -
                                  costoExacto(c, mu - h, sigma, nullptr).efectivo) /
                                 (2 * h);
        QVERIFY2(std::fabs(r.derivada - pendiente) < 1e-6 * std::max(1.0, std::fabs(pendiente)),
                 qPrintable(QString("%1 contra %2").arg(r.derivada).arg(pendiente)));
    }
}

void TstNucleo::exactoPearson_data() {
    columnas<double, double, TipoPearson>("sesgo", "curtosis", "tipo");
    fila("tipo I", 0.5, -0.3, TipoPearson::I);
    fila("tipo IV", 0.9, 1.6, TipoPearson::IV);
    fila("tipo VI", 1.0, 1.6, TipoPearson::VI);
}

// A skewed process: the decomposition against a fine composite Simpson rule written here, over
// the cost itself between each pair of limits.
void TstNucleo::exactoPearson() {
    QFETCH(double, sesgo);
    QFETCH(double, curtosis);
    QFETCH(TipoPearson, tipo);
    const FormaProceso forma(sesgo, curtosis);
    QCOMPARE(forma.tipo(), tipo);
    const CajasMapa c = conTextos({{Caja::xa, "0"}, {Caja::xb, "100"}, {Caja::YNomS, "9"}}, 1);
    const double mu = 47, sigma = 12;
    // ∫ Lozar(μ + σz) f(z) dz, piece by piece where the cost is smooth.
    const double bajo = std::max(forma.minimo(), forma.cuantil(1e-14)),
                 alto = std::min(forma.maximo(), forma.cuantil(1 - 1e-14));
    std::vector<double> cortes{bajo};
    for (double l : {10.0, 20.0, 50.0, 80.0, 90.0})
        if ((l - mu) / sigma > bajo && (l - mu) / sigma < alto)
            cortes.push_back((l - mu) / sigma);
    cortes.push_back(alto);
    double total = 0;
    for (std::size_t i = 0; i + 1 < cortes.size(); ++i) {
        const int n = 20000;
        const double a = cortes[i], b = cortes[i + 1], h = (b - a) / n;
        // The cost of the piece at its inside: a limit belongs to the region on its right.
        auto g = [&](double z) {
            const double x =
                std::clamp(mu + sigma * z, mu + sigma * a + 1e-9, mu + sigma * b - 1e-9);
            return Lozar(c, x) * forma.densidad(z);
        };
        double suma = g(a) + g(b);
        for (int k = 1; k < n; ++k)
            suma += g(a + k * h) * (k % 2 ? 4 : 2);
        total += suma * h / 3;
    }
    const double desperdicio = forma.cdf((10 - mu) / sigma) + forma.cola((90 - mu) / sigma);
    const CostoExacto r = costoExacto(c, mu, sigma, &forma);
    LOZAR_COMPARA(r.efectivo, total / (1 - desperdicio), 1e-9);
}

void TstNucleo::exactoCerrado_data() {
    columnas<double, double, double, double>("sesgo", "curtosis", "mu", "sigma");
    // The J and U ends of type I, and a bounded bell, their whole support inside the rework
    // limits.
    fila("I en J", 1.5, 0.5, 50.0, 10.0);
    fila("I en U", -0.486, -1.608, 50.0, 10.0);
    fila("I acotada", 0.5, -0.3, 52.0, 5.0);
    // Spread far below the tolerance: the whole production on one side of the target.
    fila("IV fino", 0.5, 0.5, 55.0, 0.01);
    fila("IV casi normal fino", 0.01, 0.01, 35.74, 0.1);
}

// With the whole production between the rework limits the cost is the nominal 5 and the
// Taguchi loss, k = 10/30² on either side: 5 + k(σ² + (μ − T)²) exactly, its slope 2k(μ − T);
// and, where σ is small, the optimal mean is the target itself.
void TstNucleo::exactoCerrado() {
    QFETCH(double, sesgo);
    QFETCH(double, curtosis);
    QFETCH(double, mu);
    QFETCH(double, sigma);
    const FormaProceso forma(sesgo, curtosis);
    QVERIFY(mu + sigma * forma.cuantil(1e-15) > 20 && mu + sigma * forma.cuantil(1 - 1e-15) < 80);
    const CajasMapa c = CajasMapa::tipico(1);
    const double k = 10.0 / 900;
    const CostoExacto r = costoExacto(c, mu, sigma, &forma, true);
    LOZAR_COMPARA(r.efectivo, 5 + k * (sigma * sigma + (mu - 50) * (mu - 50)), 1e-12);
    LOZAR_COMPARA(r.derivada, 2 * k * (mu - 50), 1e-12);
    if (sigma <= 0.1) {
        const std::optional<MediaOptima> m = buscaMediaOptima(c, sigma, &forma);
        QVERIFY(m && std::fabs(m->media - 50) < 1e-6);
        LOZAR_COMPARA(m->efectivo, 5 + k * sigma * sigma, 1e-12);
    }
}

// Scrap below 196 at twice the cost of rework above 206, σ 2, a flat nominal 5. On the expected
// steps alone the best mean lies σ² ln 2 / (U − L) above the midpoint, at 201.2773; dividing by
// the good units, 1 − S, moves it to where (−2φ(zL) + φ(zU))(1 − S) = (5 + 2S + R) φ(zL), found
// here by bisection. The search must agree to a billionth of the tolerance, beat a fine scan,
// and not move when σ changes in its ninth digit.
void TstNucleo::optimoExacto() {
    const CajasMapa c = conTextos({{Caja::XDesI, "196"},
                                   {Caja::XRetI, "196"},
                                   {Caja::XObj, "201"},
                                   {Caja::XRetS, "206"},
                                   {Caja::XDesS, "10000"},
                                   {Caja::YDesI, "2"},
                                   {Caja::YRetS, "1"},
                                   {Caja::YDesS, "1"},
                                   {Caja::xa, "0"},
                                   {Caja::xb, "20000"}});
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
    const double soloEscalones = 201 + sigma * sigma * std::log(2.0) / (U - L);
    QVERIFY2(
        esperada > soloEscalones && esperada - soloEscalones < 1, // the scrapped units' nominal too
        qPrintable(QString("%1 y %2").arg(esperada, 0, 'g', 12).arg(soloEscalones, 0, 'g', 12)));

    const std::optional<MediaOptima> m = buscaMediaOptima(c, sigma, nullptr);
    QVERIFY(m && !m->plano());
    QVERIFY2(
        std::fabs(m->media - esperada) < 1e-9 * (U - L),
        qPrintable(QString("%1 contra %2").arg(m->media, 0, 'g', 17).arg(esperada, 0, 'g', 17)));
    for (double mu = 196; mu <= 206; mu += 0.001)
        QVERIFY(costoExacto(c, mu, sigma, nullptr).efectivo >= m->efectivo);
    const std::optional<MediaOptima> otra = buscaMediaOptima(c, sigma * (1 + 1e-9), nullptr);
    QVERIFY(std::fabs(otra->media - m->media) < 1e-6 * (U - L));
}

QTEST_GUILESS_MAIN(TstNucleo)
#include "tst_nucleo.moc"
