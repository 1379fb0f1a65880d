// The main window as a user meets it: controls, stale results, refused boxes, keys, names, help.
#include "archivos/archivoestudio.h"
#include "archivos/archivos.h"
#include "calculadoras/probpearson.h"
#include "comun/estudio.h"
#include "comun/ventanas.h"
#include "graficos/graficocostos.h"
#include "plataforma/caratula.h"
#include "plataforma/formulario.h"
#include "plataforma/picturebox.h"
#include "principal/ayuda.h"

#include <QAbstractSlider>
#include <QAccessible>
#include <QChartView>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QtTest>
#include <map>

namespace {
QString carpetaDelPrograma(const QString& sub) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + sub;
}
} // namespace

class TstVentanas : public QObject {
    Q_OBJECT
private slots:
    void marcoDelGrafico();
    void borraResultado_data();
    void borraResultado();
    void cadaCajaCadaCamino_data();
    void cadaCajaCadaCamino();
    void atajosTrasLosTitulos_data();
    void atajosTrasLosTitulos();
    void nombresAccesibles_data();
    void nombresAccesibles();
    void ejemplos_data();
    void ejemplos();
    void guia();

private:
    PlataformaDoble doble_; // the main window reads its directory from the platform
};

// The plot where the drawings' own twips put it: the marker lines beside it meet the curve.
void TstVentanas::marcoDelGrafico() {
    LozarForm f;
    QCOMPARE(f.Pic1->geometry(), rectTwips(1260, 600, 9000, 5505));
}

void TstVentanas::borraResultado_data() {
    // One box of each kind, by name. borra: Cpk, and the effective cost; costo: the effective
    // cost alone (an input of the cost but not of Cpk: the ends of the nominal line and the
    // Taguchi box)
    columnas<bool, bool>("borra", "costo");
    fila("XObj", true, true);
    fila("xb", false, true);
    fila("chkTaguchi", false, true);
    fila("yb", false, false);
}

void TstVentanas::borraResultado() {
    QFETCH(bool, borra);
    QFETCH(bool, costo);
    LozarForm f;
    f.lblCpk->setText(QStringLiteral("Cpk 0.67"));
    f.lblLozarEfec->setText(QStringLiteral("$11.50 (+15.0%)"));
    if (auto* e = f.findChild<QLineEdit*>(QTest::currentDataTag())) {
        e->setText(QStringLiteral("7")); // set by code, as a study file does
    } else { // a click ticks the box, never greys it, even from grey (a study file's)
        f.chkTaguchi->click();
        QCOMPARE(f.taguchi(), 1);
        f.chkTaguchi->setCheckState(Qt::PartiallyChecked);
        f.chkTaguchi->click();
        QCOMPARE(f.taguchi(), 1);
    }
    QCOMPARE(f.lblCpk->text().isEmpty(), borra);
    QCOMPARE(f.lblLozarEfec->text().isEmpty(), costo);
}

void TstVentanas::cadaCajaCadaCamino_data() {
    using M = ModeloEstudio;
    columnas<QString, QString, QString>("camino", "caja", "texto");
    const std::pair<const char*, int> caminos[] = {
        {"1", M::ParaFuncion},         {"2", M::ParaDistribucion},
        {"clic", M::ParaDistribucion}, {"3", M::ParaCosto},
        {"4", M::ParaCosto},           {"capacidad", M::ParaCapacidad},
        {"optima", M::ParaAnalisis},   {"escenarios", M::ParaAnalisis},
        {"informe", M::ParaInforme},   {"imprimir", M::ParaInforme},
        {"exportar", M::ParaFuncion}};
    const std::pair<const char*, int> cajas[] = {
        {"XObj", M::CajasLimites},      {"XRetI", M::CajasLimites},    {"XRetS", M::CajasLimites},
        {"XDesI", M::CajasLimites},     {"XDesS", M::CajasLimites},    {"YNomI", M::CajasCostos},
        {"YNomS", M::CajasCostos},      {"YRetI", M::CajasCostos},     {"YRetS", M::CajasCostos},
        {"YDesI", M::CajasCostos},      {"YDesS", M::CajasCostos},     {"xa", M::CajasCostos},
        {"xb", M::CajasEscala},         {"ya", M::CajasEscala},        {"yb", M::CajasEscala},
        {"Media", M::CajaMedia},        {"StdDev", M::CajaDispersion}, {"Sesgo", M::CajaDispersion},
        {"Curtosis", M::CajaDispersion}};
    // Texts a lenient reading would have taken for 0, 0, 1.2, 1.25 and 0.
    const char* malos[] = {"abc", "0x10", "1,2,3", "1.250,00", "∞", ""};
    int k = 0;
    for (const auto& [camino, necesita] : caminos)
        for (const auto& [caja, grupo] : cajas)
            if (necesita & grupo) {
                const char* texto = malos[k++ % 6];
                if (!*texto && (QByteArray(caja) == "Sesgo" || QByteArray(caja) == "Curtosis"))
                    texto = "x"; // an empty shape box is the normal shape
                QTest::addRow("%s %s «%s»", camino, caja, texto) << camino << caja << texto;
            }
}

// Every path that computes, draws or prints a number refuses a box that is not one, by its
// caption, before anything: no result on screen, no picture, no scale widened, no dialog, no
// file, no busy pointer left.
void TstVentanas::cadaCajaCadaCamino() {
    QFETCH(QString, camino);
    QFETCH(QString, caja);
    QFETCH(QString, texto);
    EstudioTemporal e;
    LozarForm& f = *e.f;
    f.cmdNormal_Click();
    const QImage dibujo = f.Pic1->imagen();
    const QString yb = caja == "yb" ? texto : QStringLiteral("30"); // a drawing would widen it
    f.yb->setText(yb);
    f.findChild<QLineEdit*>(caja)->setText(texto);
    f.lblCpk->setText("Cpk 1.00");
    f.lblLozarEfec->setText("$1.00");
    const QString salida = e.dir.filePath("salida.pdf");
    e.doble.rutas << salida;
    const std::map<QString, std::function<void()>> acciones = {
        {"1", [&] { f.cmdDrawCostFunction_Click(); }},
        {"2", [&] { f.cmdNormal_Click(); }},
        {"clic", [&] { f.Pic1_MouseDown(Qt::LeftButton, {}, 50, 50); }},
        {"3", [&] { f.cmdLozarEfectivo_Click(); }},
        {"4", [&] { f.cmdGraf_Click(); }},
        {"capacidad", [&] { f.MAnalisisCapacidad_Click(); }},
        {"optima", [&] { f.MAnalisisOptima_Click(); }},
        {"escenarios", [&] { f.MAnalisisEscenarios_Click(); }},
        {"informe", [&] { f.MArchivoInforme_Click(); }},
        {"imprimir", [&] { f.MArchivoImprimir_Click(); }},
        {"exportar", [&] { f.MArchivoExportar_Click(); }}};
    QVERIFY(!conDialogo<QDialog>(acciones.at(camino)));
    QCOMPARE(e.doble.mensajes.size(), 1);
    const QString nombre = f.findChild<QLineEdit*>(caja)->accessibleName();
    QCOMPARE(e.doble.ultimoTexto(),
             QStringLiteral("Lozar\n13.- No coinciden los tipos: «%1» %2")
                 .arg(nombre, texto.isEmpty() ? "está vacía" : "no es un número"));
    QVERIFY(f.lblCpk->text().isEmpty() && f.lblLozarEfec->text().isEmpty());
    QImage enBlanco = dibujo;
    enBlanco.fill(f.Pic1->colorFondo());
    QVERIFY(dibujo != enBlanco && f.Pic1->imagen() == enBlanco);
    QVERIFY(!QFile::exists(salida) && !QFile::exists(e.dir.filePath("CostDetail.xls")));
    QCOMPARE(e.doble.impresiones, 0);
    QCOMPARE(f.yb->text(), yb);
    QVERIFY(!e.doble.ocupado);
}

void TstVentanas::atajosTrasLosTitulos_data() {
    // The captions "2. Distribución" takes, and a shape so near the normal that it is one.
    // normal: drawn and measured as the normal process (Cpk 1.17)
    columnas<QString, QString, QString, bool>("sesgo", "curtosis", "titulo", "normal");
    fila("normal", "", "", "2. Distribución Normal", true);
    fila("sesgada", "0.9", "1.6", "2. Distribución", false);
    fila("casi normal", "0.000001", "0", "2. Distribución", true); // it crashed the program
}

// Alt+2 works the button whatever caption it took: the caption would set its shortcut anew.
// (F1: guia.)
void TstVentanas::atajosTrasLosTitulos() {
    QFETCH(QString, sesgo);
    QFETCH(QString, curtosis);
    QFETCH(QString, titulo);
    QFETCH(bool, normal);
    EstudioTemporal e;
    e.f->show();
    QVERIFY(QTest::qWaitForWindowActive(e.f));
    for (const QString& pasada : {QStringLiteral("sesgada"), QStringLiteral("final")}) {
        rellenaCajas(*e.f, pasada == "final" ? Textos{{"Sesgo", sesgo}, {"Curtosis", curtosis}}
                                             : Textos{{"Sesgo", "0.9"}, {"Curtosis", "1.6"}});
        QCOMPARE(e.f->cmdNormal->text(),
                 pasada == "final" ? titulo : QStringLiteral("2. Distribución"));
    }
    QSignalSpy pulsado(e.f->cmdNormal, &QPushButton::clicked);
    QTest::keySequence(e.f, QKeySequence("Alt+2"));
    QVERIFY(pulsado.wait(5000) || pulsado.size() == 1);
    QCOMPARE(e.f->lblCpk->text() == QStringLiteral("Cpk 1.17"), normal);
    QVERIFY2(e.doble.mensajes.isEmpty(), qPrintable(e.doble.ultimoTexto()));
}

using FabricaVentana = std::function<QWidget*(TablaNormal&)>;

void TstVentanas::nombresAccesibles_data() {
    QTest::addColumn<FabricaVentana>("fabrica");
    QTest::newRow("Lozar") << FabricaVentana([](TablaNormal&) { return new LozarForm; });
    QTest::newRow("ProbPearson") << FabricaVentana(
        [](TablaNormal& t) { return new ProbPearson(t); });
    QTest::newRow("Graf1") << FabricaVentana([](TablaNormal&) {
        auto* g = new Graf1;
        g->Form_Load();
        return g;
    });
    QTest::newRow("Caratula") << FabricaVentana([](TablaNormal&) { return new Caratula; });
}

// A screen reader can name every control a user reads or works; on the main window every box,
// check box and button also says what it is for.
void TstVentanas::nombresAccesibles() {
    QFETCH(FabricaVentana, fabrica);
    doble_.directorio = QCoreApplication::applicationDirPath();
    TablaNormal tabla(doble_.directorio);
    std::unique_ptr<QWidget> ventana(fabrica(tabla));
    int vistos = 0;
    for (QWidget* w : ventana->findChildren<QWidget*>()) {
        const bool entrada = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSlider*>(w) ||
                             qobject_cast<QAbstractButton*>(w) || qobject_cast<PictureBox*>(w) ||
                             qobject_cast<QChartView*>(w) ||
                             (qobject_cast<QLabel*>(w) && w->objectName() == "Image1");
        // Qt's own helpers (a menu bar's overflow button, a view's scroll bars) stay hidden.
        if (!entrada || !w->isVisibleTo(ventana.get()))
            continue;
        ++vistos;
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
        QVERIFY2(i && !i->text(QAccessible::Name).trimmed().isEmpty(),
                 qPrintable(w->metaObject()->className() + QStringLiteral(" ") + w->objectName()));
        if (qobject_cast<LozarForm*>(ventana.get()) && !qobject_cast<PictureBox*>(w))
            QVERIFY2(w->toolTip().size() > 10, qPrintable(w->objectName()));
    }
    QVERIFY(vistos > 0);
    doble_.directorio.clear();
}

void TstVentanas::ejemplos_data() {
    QTest::addColumn<QString>("ruta");
    const QDir dir(carpetaDelPrograma("ejemplos"));
    const QFileInfoList estudios = dir.entryInfoList({"*.lzr"}, QDir::Files, QDir::Name);
    QVERIFY(estudios.size() >= 4);
    for (const QFileInfo& f : estudios)
        QTest::newRow(qPrintable(f.fileName())) << f.filePath();
}

// Chosen from the menu, an example opens by its title and costs without a message (the cost
// itself: tst_efectivo), and saving it asks for a new name.
void TstVentanas::ejemplos() {
    QFETCH(QString, ruta);
    EstudioTemporal e(false);
    e.doble.directorio = QCoreApplication::applicationDirPath();
    emit e.f->MArchivoEjemplos->aboutToShow();
    QAction* entrada = nullptr;
    const QByteArray antes = leeArchivoEntero(ruta, 1 << 20);
    const LecturaEstudio lectura = leeEstudio(antes);
    for (QAction* a : e.f->MArchivoEjemplos->actions())
        if (a->text() == lectura.valores.value(0).second)
            entrada = a;
    QVERIFY2(entrada, "el menú lista el ejemplo por su título");
    entrada->trigger();
    e.f->cmdLozarEfectivo_Click();
    QCOMPARE(e.doble.mensajes.size(), 1); // only the question whether to see the details
    QCOMPARE(e.f->windowTitle(), "Lozars de No Calidad. " + ruta);
    rellenaCajas(*e.f, {{"Media", "1"}});
    e.f->MArchivoGuardar_Click(); // no name given: nothing written anywhere
    QCOMPARE(e.doble.dialogos.last(), QStringLiteral("guardar"));
    QCOMPARE(leeArchivoEntero(ruta, 1 << 20), antes);
}

// The guide links only to its own sections and shows only pictures that are there; F1 and the
// menu's keys work in the real, shown window.
void TstVentanas::guia() {
    const QString html =
        QString::fromUtf8(leeArchivoEntero(carpetaDelPrograma("ayuda/guia.html"), 1 << 20));
    QSet<QString> ids;
    for (const auto& m : QRegularExpression(R"x(id="([^"]+)")x").globalMatch(html))
        ids << m.captured(1);
    int enlaces = 0, imagenes = 0;
    for (const auto& m : QRegularExpression(R"x(href="#([^"]+)")x").globalMatch(html)) {
        ++enlaces;
        QVERIFY2(ids.contains(m.captured(1)), qPrintable(m.captured(1)));
    }
    for (const auto& m : QRegularExpression(R"x(src="([^"]+)")x").globalMatch(html)) {
        ++imagenes;
        QVERIFY2(!QImage(carpetaDelPrograma("ayuda/" + m.captured(1))).isNull(),
                 qPrintable(m.captured(1)));
    }
    QVERIFY(enlaces >= 8 && imagenes >= 4);

    // In the shown window F1 opens the guide in a window of the program; Escape closes it.
    EstudioTemporal e(false);
    e.doble.directorio = QCoreApplication::applicationDirPath();
    e.f->show();
    QVERIFY(QTest::qWaitForWindowActive(e.f));
    QCOMPARE(e.f->windowTitle(), QStringLiteral("Calculadora de Lozar Efectivo de Producción"));
    QTest::keyClick(e.f, Qt::Key_F1);
    Guia* g = visible<Guia>();
    QVERIFY(g);
    QVERIFY(g->txtGuia->toPlainText().contains("costo efectivo de una unidad buena"));
    QVERIFY(QTest::qWaitForWindowActive(g));
    QTest::keyClick(g->txtGuia, Qt::Key_Escape);
    QTRY_VERIFY(!g->isVisible());

    // Every item of every menu has its place in the guide, by its name.
    const QString texto = QTextDocumentFragment::fromHtml(html).toPlainText();
    for (QAction* a : e.f->menuBar()->findChildren<QAction*>()) {
        const QString nombre = a->text().remove('&').remove(QStringLiteral("…")).trimmed();
        if (nombre.isEmpty() || a->menu())
            continue;
        QVERIFY2(texto.contains(nombre), qPrintable(nombre));
    }

    // The about box names the licence and what the program is made with.
    e.f->MAyudaAcerca->trigger();
    QVERIFY(e.doble.ultimoTexto().contains("GPL-3.0-or-later"));
    QVERIFY(e.doble.ultimoTexto().contains(QString("Qt ") + qVersion()));
}

QTEST_MAIN(TstVentanas)
#include "tst_ventanas.moc"
