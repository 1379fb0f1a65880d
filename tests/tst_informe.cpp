// "Informe PDF…" and "Imprimir informe…" through the real window, read back with poppler's
// tools as a reader of the file would.
#include "analisis/dialogos.h"
#include "comun/estudio.h"
#include "comun/ventanas.h"
#include "graficos/graficocostos.h"

#include <QProcess>
#include <QPushButton>
#include <cmath>

class TstInforme : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void informe_data();
    void informe();
    void sinImpresora_data();
    void sinImpresora();
};

namespace {
// What a poppler tool prints about `ruta`.
QString poppler(const QString& herramienta, const QStringList& args) {
    QProcess p;
    p.start(herramienta, args);
    return p.waitForFinished(60000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}
} // namespace

void TstInforme::initTestCase() {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("poppler-utils (pdftotext, pdfinfo) no está instalado");
}

void TstInforme::informe_data() {
    columnas<bool, int>("mediciones", "paginas");
    fila("sin mediciones", false, 1);
    fila("con mediciones", true, 2);
}

// One page that says what the process costs and why (two with measurements), in the user's
// own number format.
void TstInforme::informe() {
    QFETCH(bool, mediciones);
    QFETCH(int, paginas);
    EstudioTemporal e(true, QByteArray(), kEspanol);
    rellenaCajas(*e.f, {{"txtTitulo", "Eje de prueba"}, {"XRetI", "20.5"}, {"Media", "51.25"}});
    if (mediciones) {
        QString csv;
        for (int i = 0; i < 200; ++i)
            csv += QStringLiteral("%1\n").arg(50 + 6 * std::sin(i * 1.7), 0, 'f', 3);
        e.doble.portapapeles = csv;
        QVERIFY(conDialogo<DlgMediciones>([&] { e.f->MEdicionPegar->trigger(); },
                                          [](DlgMediciones& d) { d.cmdNormal->click(); }));
    }
    const QString ruta = e.dir.filePath("informe.pdf");
    e.doble.rutas << ruta;
    e.f->MArchivoInforme->trigger();
    QVERIFY2(e.doble.mensajes.isEmpty(), qPrintable(e.doble.ultimoTexto()));

    QVERIFY(poppler("pdfinfo", {ruta})
                .contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(paginas))));
    const QString texto = poppler("pdftotext", {"-layout", ruta, "-"});
    // The last four only with measurements.
    const QStringList debe =
        QStringLiteral("Eje de prueba|Costo efectivo por unidad buena|Cpk|20,5|80|90|Escenarios|"
                       "Media óptima|IC 95 %|Anderson|Estabilidad|Rangos móviles")
            .split('|');
    for (const QString& t : debe.mid(0, debe.size() - (mediciones ? 0 : 4)))
        QVERIFY2(texto.contains(t), qPrintable(t + " | " + texto));
    // One name for one index: the measurements' overall spread gives Ppk, as in the window.
    const QString primera = poppler("pdftotext", {"-l", "1", "-layout", ruta, "-"});
    QVERIFY(primera.contains(mediciones ? "Ppk: " : "Cpk: "));
    QVERIFY(!primera.contains(mediciones ? "Cpk: " : "Ppk: "));
}

void TstInforme::sinImpresora_data() {
    // pregunta: how the question starts; pdf: a text the PDF saved instead holds
    columnas<QString, QString>("pregunta", "pdf");
    const QString informe = "No hay ninguna impresora.\n\n¿Desea guardar el informe";
    fila("informe", informe, "Costo efectivo por unidad buena");
    fila("capacidad", informe, "Cpk");
    fila("gráfico", "No hay ninguna impresora predeterminada.\n\n¿Desea guardar el gráfico", "");
}

// Without a printer, each print offers a PDF instead; with one, it prints and asks nothing.
void TstInforme::sinImpresora() {
    QFETCH(QString, pregunta);
    QFETCH(QString, pdf);
    const QString boton = QString::fromUtf8(QTest::currentDataTag());
    EstudioTemporal e;
    auto imprime = [&] {
        if (boton == "informe")
            e.f->MArchivoImprimir->trigger();
        else if (boton == "capacidad")
            QVERIFY(conDialogo<DlgCapacidad>([&] { e.f->MAnalisisCapacidad_Click(); },
                                             [](DlgCapacidad& d) { d.cmdImprimir->click(); }));
        else
            QVERIFY(conDialogo<Graf1>([&] { e.f->cmdGraf_Click(); },
                                      [](Graf1& g) { g.cmdPrint_Click(); }));
    };
    const QString ruta = e.dir.filePath("impreso.pdf");
    e.doble.hayImpresora = false;
    e.doble.respuestas << Respuesta::Si;
    e.doble.rutas << ruta;
    imprime();
    QCOMPARE(e.doble.mensajes.size(), 1);
    QVERIFY2(e.doble.ultimoTexto().startsWith(pregunta), qPrintable(e.doble.ultimoTexto()));
    QVERIFY(leeArchivo(ruta).startsWith("%PDF"));
    QVERIFY(poppler("pdftotext", {ruta, "-"}).contains(pdf));
    e.doble.hayImpresora = true;
    const qsizetype impresas = e.doble.impresiones + e.doble.textosImpresos.size();
    imprime();
    QCOMPARE(e.doble.mensajes.size(), 1);
    QCOMPARE(e.doble.impresiones + e.doble.textosImpresos.size(), impresas + 1);
}

QTEST_MAIN(TstInforme)
#include "tst_informe.moc"
