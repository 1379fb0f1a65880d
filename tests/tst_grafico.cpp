#include "comun/estudio.h"
#include "comun/ventanas.h"
#include "graficos/graficocostos.h"

#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QScatterSeries>
#include <QToolButton>
#include <QValueAxis>

namespace {
// Rework limits 7 and 13 around a target of 10.
struct Estudio : EstudioTemporal {
    Estudio() {
        const Textos retrabajo7y13 = {{"XRetI", "7"},  {"XRetS", "13"}, {"XDesI", "5"},
                                      {"XDesS", "15"}, {"XObj", "10"},  {"txtTitulo", "Eje"}};
        rellenaCajas(*f, retrabajo7y13);
    }
    // Runs "4. Gráfico" and hands the modal chart window to `mira` before closing it.
    bool grafica(const std::function<void(Graf1&)>& mira = {}) {
        return conDialogo<Graf1>([this] { f->cmdGraf_Click(); }, mira);
    }
};
} // namespace

class TstGrafico : public QObject {
    Q_OBJECT
private slots:
    void etiquetasYSeries();
    void celdas();
    void redimensionado();
    void exportar_data();
    void exportar();
};

void TstGrafico::etiquetasYSeries() {
    Estudio e;
    e.f->chkTaguchi->setChecked(true);
    QVERIFY(e.grafica([&](Graf1& g) {
        QChart* c = g.grafico();
        QCOMPARE(g.windowTitle(), QStringLiteral("Costo efectivo — Eje"));
        // Numbers in the user's separator; costs from 5 to twice the nominal 5, on round ticks.
        auto* x = qobject_cast<QBarCategoryAxis*>(c->axes(Qt::Horizontal)[0]);
        auto* y = qobject_cast<QValueAxis*>(c->axes(Qt::Vertical)[0]);
        QVERIFY(c->localizeNumbers());
        // Copied: a row per mean, a column per spread, the target's cost without spread 5.
        g.cmdCopiar->click();
        const QStringList filas = e.doble.portapapeles.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(filas.size(), 22);
        QVERIFY(filas[0].startsWith("Media\ts 0.0\ts 0.5\t"));
        QVERIFY(filas[11].startsWith("10\t5\t"));
        QCOMPARE(y->max(), 10.0);
        QCOMPARE(y->tickInterval(), 0.5);
        const QStringList cat = x->categories();
        QCOMPARE((QStringList{cat[0], cat[1], cat[10], cat[20]}),
                 (QStringList{" 7.0", " 7.3", " 10.0", " 13.0"}));
        QStringList series;
        for (auto* m : c->legend()->markers())
            if (m->isVisible())
                series << m->label();
        QCOMPARE(series, QStringList({"s 0.0", "s 0.5", "s 1.0", "s 1.5", "s 2.0", "s 2.5",
                                      "Media óptima"}));
        QList<QPointF> optimos;
        for (auto* s : c->series())
            if (auto* marcas = qobject_cast<QScatterSeries*>(s))
                optimos = marcas->points();
        // A symmetric study with the Taguchi loss costs least at its target, 10, the middle
        // category, for every spread: within one integration step (σ/10, in categories of 0.3).
        QCOMPARE(optimos.size(), 6);
        for (int k = 0; k < 6; ++k)
            QVERIFY2(std::fabs(optimos[k].x() - 10) <= 0.5 * k / 10 / 0.3 + 0.05,
                     qPrintable(QString::number(optimos[k].x())));
    }));
    QCOMPARE(TablaGrafico.celda(11, 1).toDouble(), 5.0); // the target itself, no spread
    QCOMPARE(ejeMaximoDe(12.3), 13.0);                   // the axis's top: the next whole number
    QCOMPARE(ejeMaximoDe(12.0004), 12.0);                // but for a hair over one
    // The detail file holds the last cell, its header too: mean XRetS, deviation 5 × 0.5.
    const QList<QByteArray> lineas = leeArchivo(e.dir.filePath("CostDetail.xls")).split('\n');
    QCOMPARE(lineas.value(4), QByteArray("Media del Proceso:  \t\t13.000\r"));
    QCOMPARE(lineas.value(5), QByteArray("Desviaci\xf3n Est\xe1ndar:\t\t2.500\r"));
    QVERIFY(lineas.value(18).startsWith("0.3750\t0.6250\t"));
}

// Every σ with the same skewed shape: the column without spread is as before, the others move.
// A mean on the lower scrap limit without spread is all scrap: a gap at the start of its line,
// which keeps its legend.
void TstGrafico::celdas() {
    Estudio e;
    QVERIFY(e.grafica());
    QVariant normal[22][7];
    for (int f = 1; f < 22; ++f)
        for (int c = 1; c < 7; ++c)
            normal[f][c] = TablaGrafico.celda(f, c);
    rellenaCajas(*e.f, {{"Sesgo", "-0.9"}, {"Curtosis", "1.6"}});
    QVERIFY(e.grafica());
    for (int f = 1; f < 22; ++f) {
        QCOMPARE(TablaGrafico.celda(f, 1), normal[f][1]);
        QVERIFY(TablaGrafico.celda(f, 6) != normal[f][6]);
    }
    rellenaCajas(*e.f, {{"XDesI", "7"}});
    int tramosSinLeyenda = 0;
    QVERIFY(e.grafica([&](Graf1& g) {
        for (auto* m : g.grafico()->legend()->markers())
            tramosSinLeyenda += !m->isVisible();
    }));
    QVERIFY(!TablaGrafico.celda(1, 1).isValid() && TablaGrafico.celda(2, 1).isValid());
    QCOMPARE(tramosSinLeyenda, 0);
}

void TstGrafico::redimensionado() {
    PlataformaDoble doble;
    Graf1 g;
    g.resize(558, 383);
    g.Form_Resize();
    QCOMPARE(g.MSChart1->size(), QSize(548, 353));
    QCOMPARE(g.cmdPrint->pos(), QPoint(514, 323));
    QVERIFY(g.cmdCopiar->geometry().right() < g.cmdExportar->x()); // beside, not over it
    g.resize(5, 5); // as small as a minimised window: nothing placed above or left of it
    g.Form_Resize();
    QCOMPARE(g.cmdPrint->pos(), QPoint(0, 0));
}

void TstGrafico::exportar_data() {
    // grafico: the chart window, else the main window's picture; comienzo: empty if it fails
    columnas<bool, QString, QByteArray>("grafico", "nombre", "comienzo");
    for (bool g : {false, true}) {
        const char* v = g ? "grafico" : "dibujo";
        QTest::addRow("%s png", v) << g << "x.png" << QByteArray("\x89PNG");
        QTest::addRow("%s svg", v) << g << "x.svg" << QByteArray("<?xml");
        QTest::addRow("%s pdf", v) << g << "x.pdf" << QByteArray("%PDF");
        QTest::addRow("%s carpeta", v) << g << "carpeta.png" << QByteArray();
    }
    QTest::newRow("extension desconocida") << false << "x.bmp" << QByteArray();
}

// Both pictures reach a file in each format; a failure names the file and leaves what was there.
void TstGrafico::exportar() {
    QFETCH(bool, grafico);
    QFETCH(QString, nombre);
    QFETCH(QByteArray, comienzo);
    Estudio e;
    const QString ruta = e.dir.filePath(nombre);
    if (nombre.startsWith("carpeta"))
        QVERIFY(QDir(e.dir.path()).mkdir(nombre));
    else if (comienzo.isEmpty())
        QVERIFY(escribeArchivo(ruta, "antes"));
    e.doble.rutas << ruta;
    if (grafico) {
        QVERIFY(e.grafica([](Graf1& g) { g.cmdExportar_Click(); }));
    } else {
        rellenaCajas(*e.f, {{"Media", "10"}, {"StdDev", "1"}, {"XRetI", "8.5"}});
        e.f->cmdDrawCostFunction_Click();
        e.f->cmdNormal_Click();
        LocaleFijo es(QLocale(QLocale::Spanish, QLocale::Spain));
        e.f->MArchivoExportar_Click();
    }
    const QByteArray escrito = leeArchivo(ruta);
    if (comienzo.isEmpty()) {
        QCOMPARE(e.doble.mensajes.size(), 1);
        QVERIFY2(e.doble.ultimoTexto().contains(QDir::toNativeSeparators(ruta)),
                 qPrintable(e.doble.ultimoTexto()));
        QCOMPARE(escrito, QByteArray(nombre.startsWith("carpeta") ? "" : "antes"));
        return;
    }
    QVERIFY(escrito.startsWith(comienzo));
    // The main picture leaves with its title, its axes and its limits by name and value, in the
    // user's separator.
    if (!grafico && nombre.endsWith(".svg"))
        for (const char* texto : {">Eje<", ">Costo por unidad<", ">Retrabajo<", ">8,5<", ">90<"})
            QVERIFY2(escrito.contains(texto), texto);
}

QTEST_MAIN(TstGrafico)
#include "tst_grafico.moc"
