#include "archivos/cp1252.h"
#include "comun/cajasmapa.h"
#include "comun/estudio.h"
#include "pearson.h"

#include <QDir>

namespace {

// The usual study with its detail file read back.
struct Estudio : EstudioTemporal {
    using EstudioTemporal::EstudioTemporal;
    QStringList lineas() const {
        const QByteArray b = leeArchivo(dir.filePath("CostDetail.xls"));
        if (!b.endsWith("\r\n"))
            return {"sin archivo o sin CR LF final"};
        return deCp1252(b.chopped(2)).split(QStringLiteral("\r\n"));
    }
};

} // namespace

class TstEfectivo : public QObject {
    Q_OBJECT
private slots:
    void calculo_data();
    void calculo();
    void mismoEstudioEnCadaLocale();
    void procesoSesgado();
    void fallos_data();
    void fallos();
};

// One study typed with commas under es_ES and with points under C: one detail file and one label,
// separators aside.
void TstEfectivo::mismoEstudioEnCadaLocale() {
    const Textos puntos = {{"XDesI", "17"},    {"XRetI", "18.5"},  {"XObj", "20"},
                           {"XRetS", "22.25"}, {"XDesS", "23.5"},  {"YNomI", "38.31"},
                           {"YNomS", "38.31"}, {"YRetI", "0.75"},  {"YRetS", "1.5"},
                           {"YDesI", "12.4"},  {"YDesS", "20.05"}, {"Media", "20.3"},
                           {"StdDev", "1.15"}, {"xa", "16"},       {"xb", "24.5"}};
    Textos comas;
    for (auto it = puntos.begin(); it != puntos.end(); ++it)
        comas.insert(it.key(), QString(it.value()).replace('.', ','));
    // The detail file but its date (in the locale's own format), then the label.
    auto calcula = [&](const QLocale& l, const Textos& t) {
        Estudio e(false, QByteArray(), l);
        rellenaCajas(*e.f, t);
        e.f->chkTaguchi->setChecked(true);
        e.f->cmdLozarEfectivo_Click();
        return e.lineas().mid(1) << e.f->lblLozarEfec->text();
    };
    const QStringList c = calcula(QLocale::c(), puntos);
    QCOMPARE(c.value(8), QStringLiteral("   en el Objetivo:\t\t$ 38.310"));
    QCOMPARE(c.value(10), QStringLiteral("   por Retrabajo Lado Inferior:  \t\t18.500\t$ 0.750"));
    const QStringList es = calcula(kEspanol, comas);
    QVERIFY(es.last().contains(',') && es.value(3).endsWith("20,300"));
    QCOMPARE(es.join('\n').replace(',', '.'), c.join('\n'));
}

// A skewed process through the window: its cost against a brute-force integration written here,
// and its own lines in the detail file.
void TstEfectivo::procesoSesgado() {
    Estudio e;
    rellenaCajas(*e.f, {{"Media", "45"}, {"StdDev", "6"}, {"Sesgo", "0.9"}, {"Curtosis", "1.6"}});
    e.f->chkTaguchi->setChecked(true);
    e.f->cmdLozarEfectivo_Click();
    const QStringList l = e.lineas();
    QCOMPARE(
        l.mid(6, 4),
        QStringList({"Sesgo:              \t\t0.900", "Curtosis:           \t\t1.600",
                     "Distribución:       \t\tPearson tipo IV", "Cpk (percentiles):  \t\t1.32"}));
    // The long upper tail widens the range beyond 5.05 σ.
    const QStringList ultima = l[l.size() - 5].split('\t');
    QVERIFY2(ultima[1].toDouble() > 45 + 5.05 * 6, qPrintable(l[l.size() - 5]));

    // The same study, integrated on a grid a hundred times finer.
    CajasMapa c = CajasMapa::tipico(1);
    const DistribucionPearson d(0.9, 1.6);
    double s = 0;
    const double h = 6 / 1000.0;
    for (double x = 45 - 30 * 6 + h / 2; x < 45 + 30 * 6; x += h)
        s += Lozar(c, x) * double(d.densidad((x - 45) / 6)) / 6 * h;
    const double noDesperdicio =
        1 - double(d.cdf((10 - 45) / 6.0) + d.colaSuperior((90 - 45) / 6.0));
    const double efectivo = s / noDesperdicio;
    // "Lozar Efectivo Unitario: ", two TABs, "$ 5.68".
    const double mostrado = l[l.size() - 2].section('\t', 2).mid(2).toDouble();
    LOZAR_COMPARA(mostrado, efectivo, 1e-3);
}

void TstEfectivo::calculo_data() {
    // campo: every field of the normal table, empty for the shipped one; intervalos: the detail
    // file's interval lines; etiqueta, pregunta: how the label and the question box start, no
    // question when empty; centro: the middle interval's line, unchecked when empty; archivo: the
    // whole detail file but its date, unchecked when empty
    columnas<QByteArray, Textos, int, QString, QString, QString, QString>(
        "campo", "textos", "intervalos", "etiqueta", "pregunta", "centro", "archivo");
    // A mean on the scrap limit scraps half the production.
    fila("10 y 1", QByteArray(), Textos{{"Media", "10"}, {"StdDev", "1"}}, 101, "$",
         "Desperdicio: 50.0 %", "", "");
    // The centre interval: twice the area for z = 0.05, at the target's cost.
    fila("50 y 10", QByteArray(), Textos{{"Media", "50"}, {"StdDev", "10"}}, 101, "$",
         "Desperdicio: 0.0 %\n\nRetrabajo:   0.3 %\n\n",
         "49.5000\t50.5000\t3.988 %\t$ 5.00\t$ 0.20", "");
    // Abcn(0) = 0.5 and Abcn(2) = 0.5 + field: D = 1 − field, compared exactly with 0.995; with
    // the all-scrap marker the file ends with the interval lines, no totals.
    const Textos estrecho = {{"Media", "50"}, {"StdDev", "1"}, {"XDesI", "50"},
                             {"XRetI", "50"}, {"XRetS", "52"}, {"XDesS", "52"}};
    fila("marcador exacto", QByteArray("0.005"), estrecho, 100, "100% Desperdicio", "", "", "");
    fila("marcador apenas menos", QByteArray("0.00501"), estrecho, 100, "$", "Desperdicio: 99.5 %",
         "", "");
    // Without spread the whole production lies at the mean; the detail file, whole.
    fila("sin dispersion", QByteArray(),
         Textos{{"Media", "50"}, {"StdDev", "0"}, {"txtTitulo", "Eje\tdiámetro"}}, 0,
         "$5.00 (+0.0%)", "Desperdicio: 0.0 %", "",
         "Eje\tdiámetro\n\nValor Objetivo:     \t\t50.000\nMedia del Proceso:  \t\t50.000\n"
         "Desviación Estándar:\t\t0.000\nLozar Nominal\n   Lado Inferior: \t\t$ 5.000\n"
         "   Lado Superior: \t\t$ 5.000\n   en el Objetivo:\t\t$ 5.000\nLímite y Lozar Extra\n"
         "   por Retrabajo Lado Inferior:  \t\t20.000\t$ 10.000\n"
         "   por Retrabajo Lado Superior:  \t\t80.000\t$ 10.000\n"
         "   por Desperdicio Lado Inferior:\t\t10.000\t$ 30.000\n"
         "   por Desperdicio Lado Superior:\t\t90.000\t$ 30.000\n\nIntegración\n"
         "Desde\thasta\tArea\tLozar\tParcial\tAcumulado\n\n"
         "Fracción no Desperdiciada: \t\t1.0000\nLozar Efectivo Unitario: \t\t$ 5.00\n"
         "Índice de Lozar Efectivo: \t\t100.0 %");
    // All of it at 15, in the lower rework: nominal plus 1.5.
    const auto nominal = [](const char* y) {
        return Textos{
            {"YRetI", "1.5"}, {"StdDev", "0"}, {"Media", "15"}, {"YNomI", y}, {"YNomS", y}};
    };
    fila("15 por ciento", QByteArray(), nominal("10"), 0, "$11.50 (+15.0%)",
         "Desperdicio: 0.0 %\n\nRetrabajo:   100.0 %\n\nLozar Unitario Efectivo: $ 11.50\n\n"
         "Lozar Adicional Efectivo: 15.0 %\n\n¿Ver detalles de cálculo?\n",
         "", "");
    fila("nominal cero", QByteArray(), nominal("0"), 0, "$1.50 (+-100.0%)", "Desperdicio: 0.0 %",
         "", "");
    // 5 everywhere, nothing extra for scrap, and 15.9 % of the production above 60 scrapped: each
    // good unit carries the scrapped ones, 5 / Φ(1) = 5 / 0.8413 = 5.94, not 5 / 1.1587 = 4.32.
    const Textos sinExtras = {{"Media", "50"}, {"StdDev", "10"}, {"XRetS", "60"}, {"XDesS", "60"},
                              {"YRetI", "0"},  {"YRetS", "0"},   {"YDesI", "0"},  {"YDesS", "0"}};
    fila("desperdicio del 16 por ciento", QByteArray(), sinExtras, 101, "$5.94 (+18.9%)",
         "Desperdicio: 15.9 %\n\nRetrabajo:   0.1 %", "", "");
}

void TstEfectivo::calculo() {
    QFETCH(QByteArray, campo);
    QFETCH(Textos, textos);
    QFETCH(int, intervalos);
    QFETCH(QString, etiqueta);
    QFETCH(QString, pregunta);
    QFETCH(QString, centro);
    QFETCH(QString, archivo);
    // A table whose fields all hold `campo`, but A(0.00) = 0.
    const auto plana = [&](int r, int k) { return r == 1 && k == 1 ? QByteArray("0") : campo; };
    Estudio e(true, campo.isEmpty() ? QByteArray() : tablaNormalDePrueba(plana));
    rellenaCajas(*e.f, textos);
    e.f->cmdLozarEfectivo_Click();
    QVERIFY2(e.f->lblLozarEfec->text().startsWith(etiqueta), qPrintable(e.f->lblLozarEfec->text()));
    const QStringList l = e.lineas();
    // The interval lines: from line 19 to the end or the empty line before the totals.
    const int fin = l.indexOf(QString(), 18);
    QCOMPARE((fin < 0 ? int(l.size()) : fin) - 18, intervalos);
    QCOMPARE(l.size(), 18 + intervalos + (pregunta.isEmpty() ? 0 : 4));
    // The first line is the date and time, in the locale's own format.
    QVERIFY(l[0].startsWith(QLocale::c().toString(QDate::currentDate(), QLocale::ShortFormat)));
    if (!centro.isEmpty())
        QCOMPARE(l.value(18 + 50).section('\t', 0, 4), centro);
    if (!archivo.isEmpty())
        QCOMPARE(l.mid(1), archivo.split('\n'));
    if (pregunta.isEmpty()) {
        QVERIFY(e.doble.mensajes.isEmpty());
        return;
    }
    QCOMPARE(e.doble.mensajes.size(), 1);
    QVERIFY2(e.doble.ultimoTexto().startsWith(pregunta), qPrintable(e.doble.ultimoTexto()));
    QVERIFY(e.doble.documentosAbiertos.isEmpty()); // answered No; Sí opens the detail file
    QFile::remove(e.dir.filePath("CostDetail.xls"));
    e.doble.respuestas << Respuesta::Si;
    e.f->cmdLozarEfectivo_Click();
    const QString detalle = QDir::toNativeSeparators(e.dir.filePath("CostDetail.xls"));
    QCOMPARE(e.doble.documentosAbiertos, QStringList{detalle});
    // Where no program opens it, the message says where it is and opens its folder.
    e.doble.hayPrograma = false;
    e.doble.respuestas << Respuesta::Si << Respuesta::Si;
    e.f->cmdLozarEfectivo_Click();
    QVERIFY2(e.doble.ultimoTexto().contains(detalle), qPrintable(e.doble.ultimoTexto()));
    QCOMPARE(QDir(e.doble.documentosAbiertos.last()), QDir(e.dir.path()));
    QCOMPARE(e.lineas().mid(1), l.mid(1)); // each computation writes the whole file anew
}

void TstEfectivo::fallos_data() {
    // A box the study refuses is the handler's to report; a failed computation, the routine's.
    columnas<Textos, QString>("textos", "mensaje");
    fila("desborda", Textos{{"YNomI", "-1e308"}, {"YNomS", "1e308"}},
         "Lozar. LozarEfectivo.\n\nLozar\n6.- Desbordamiento");
    fila("desviacion negativa", Textos{{"StdDev", "-1"}},
         "Lozar\n5.- La desviación estándar (Desv. Std.) no puede");
}

void TstEfectivo::fallos() {
    QFETCH(Textos, textos);
    QFETCH(QString, mensaje);
    Estudio e;
    rellenaCajas(*e.f, textos);
    e.f->lblLozarEfec->setText(QStringLiteral("anterior"));
    e.f->cmdLozarEfectivo_Click();
    // One message, then the handler stops: no made-up cost, no question, no file.
    QCOMPARE(e.doble.mensajes.size(), 1);
    QVERIFY2(e.doble.ultimoTexto().startsWith(mensaje), qPrintable(e.doble.ultimoTexto()));
    const bool rutina = mensaje.contains("LozarEfectivo.");
    // A box refused leaves no result; a computation that failed, the last one.
    QCOMPARE(e.f->lblLozarEfec->text(), rutina ? QStringLiteral("anterior") : QString());
    QVERIFY(!QFile::exists(e.dir.filePath("CostDetail.xls")));
}

QTEST_MAIN(TstEfectivo)
#include "tst_efectivo.moc"
