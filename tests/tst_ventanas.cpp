#include "calculadoras/probnorm.h"
#include "calculadoras/probpearson.h"
#include "comun/estudio.h"
#include "comun/ventanas.h"
#include "graficos/graficocostos.h"
#include "plataforma/caratula.h"
#include "plataforma/formulario.h"
#include "plataforma/picturebox.h"

#include <QAbstractSlider>
#include <QAccessible>
#include <QChartView>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <map>

class TstVentanas : public QObject {
    Q_OBJECT
private slots:
    void controles_data();
    void controles();
    void borraResultado_data();
    void borraResultado();
    void cadaCajaCadaCamino_data();
    void cadaCajaCadaCamino();
    void atajos_data();
    void atajos();
    void atajosTrasLosTitulos_data();
    void atajosTrasLosTitulos();
    void nombresAccesibles_data();
    void nombresAccesibles();

private:
    PlataformaDoble doble_; // the main window reads its directory from the platform
};

void TstVentanas::controles_data() {
    // twips: where the control lies, in the designer's units (no size: as wide as its text)
    columnas<QRect, QString>("twips", "texto");
    fila("txtTitulo", QRect(1290, 120, 8895, 375), "Integración de Lozars de No Calidad");
    fila("Pic1", QRect(1260, 600, 9000, 5505), "");
    fila("cmdNormal", QRect(3780, 7500, 1335, 495), "2. Distribución Normal");
    fila("cmdGraf", QRect(10560, 7500, 915, 495), "4. Gráfico");
    fila("lblCpk", QRect(5280, 7680, -1, -1), "Cpk");
}

void TstVentanas::controles() {
    QFETCH(QRect, twips);
    QFETCH(QString, texto);
    LozarForm f;
    QCOMPARE(f.objectName(), QStringLiteral("Lozar"));
    QCOMPARE(f.windowTitle(), QStringLiteral("Calculadora de Lozar Efectivo de Producción"));
    auto* w = f.findChild<QWidget*>(QTest::currentDataTag());
    QVERIFY(w);
    const QRect esperado = rectTwips(twips.x(), twips.y(), twips.width(), twips.height());
    QCOMPARE(w->pos(), esperado.topLeft());
    if (twips.width() > 0)
        QCOMPARE(w->size(), esperado.size());
    QCOMPARE(w->property("text").toString(), texto);
}

void TstVentanas::borraResultado_data() {
    // borra: Cpk, and the effective cost; costo: the effective cost alone (an input of the cost
    // but not of Cpk: the ends of the nominal line and the Taguchi box)
    columnas<QString, bool, bool>("caja", "borra", "costo");
    for (const char* n : {"XObj", "XRetI", "XRetS", "XDesI", "XDesS", "YNomI", "YNomS", "YRetI",
                          "YRetS", "YDesI", "YDesS", "Media", "StdDev", "Sesgo", "Curtosis"})
        QTest::newRow(n) << n << true << true;
    for (const char* n : {"xa", "xb", "chkTaguchi"})
        QTest::newRow(n) << n << false << true;
    for (const char* n : {"ya", "yb", "txtTitulo"})
        QTest::newRow(n) << n << false << false;
}

void TstVentanas::borraResultado() {
    QFETCH(QString, caja);
    QFETCH(bool, borra);
    QFETCH(bool, costo);
    LozarForm f;
    f.lblCpk->setText(QStringLiteral("Cpk 0.67"));
    f.lblLozarEfec->setText(QStringLiteral("$11.50 (+15.0%)"));
    if (auto* e = f.findChild<QLineEdit*>(caja)) {
        e->setText(QStringLiteral("7")); // set by code, as a study file does
    } else { // a click ticks the box, never greys it; nor from grey, where a study file may leave
             // it
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

void TstVentanas::atajos_data() {
    columnas<QKeySequence, QString>("teclas", "dialogo");
    fila("abrir", QKeySequence("Ctrl+O"), "abrir");
    fila("guardar como", QKeySequence("Ctrl+Shift+S"), "guardar");
}

// The menu's keys a user presses in the real, shown window; the dialog cancelled, nothing is
// said and nothing changes. (The buttons' keys: atajosTrasLosTitulos.)
void TstVentanas::atajos() {
    QFETCH(QKeySequence, teclas);
    QFETCH(QString, dialogo);
    EstudioTemporal e(false);
    e.f->show();
    QVERIFY(QTest::qWaitForWindowActive(e.f));
    QTest::keySequence(e.f, teclas);
    QCOMPARE(e.doble.dialogos, QStringList{dialogo});
    QVERIFY(e.doble.mensajes.isEmpty());
    QCOMPARE(e.f->windowTitle(), QStringLiteral("Calculadora de Lozar Efectivo de Producción"));
}

void TstVentanas::atajosTrasLosTitulos_data() {
    // The captions "2. Distribución" takes, and a shape so near the normal that it is one.
    // normal: drawn and measured as the normal process (Cpk 1.17)
    columnas<QString, QString, QString, bool>("sesgo", "curtosis", "titulo", "normal");
    fila("normal", "", "", "2. Distribución Normal", true);
    fila("sesgada", "0.9", "1.6", "2. Distribución", false);
    fila("de nuevo normal", "0", "0", "2. Distribución Normal", true);
    fila("casi normal", "0.000001", "0", "2. Distribución", true); // it crashed the program
}

// Typed into a box, then Alt and a number: the button works, whatever caption it took, and the
// box keeps what was typed.
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
    QPushButton* botones[] = {e.f->cmdDrawCostFunction, e.f->cmdNormal, e.f->cmdLozarEfectivo,
                              e.f->cmdGraf};
    for (int n = 1; n <= 4; ++n) {
        e.f->Media->setFocus();
        e.f->Media->end(false);
        QSignalSpy pulsado(botones[n - 1], &QPushButton::clicked);
        conDialogo<Graf1>([&] {
            QTest::keySequence(e.f, QKeySequence(QStringLiteral("Alt+%1").arg(n)));
            QVERIFY(pulsado.wait(5000) || pulsado.size() == 1);
        });
        QCOMPARE(e.f->Media->text(), QStringLiteral("52"));
        if (n == 2)
            QCOMPARE(e.f->lblCpk->text() == QStringLiteral("Cpk 1.17"), normal);
    }
    e.doble.mensajes.removeIf(
        [](const PlataformaDoble::Mensaje& m) { return m.botones == Botones::SiNo; });
    QVERIFY2(e.doble.mensajes.isEmpty(), qPrintable(e.doble.ultimoTexto()));
}

using FabricaVentana = std::function<QWidget*(TablaNormal&)>;

void TstVentanas::nombresAccesibles_data() {
    QTest::addColumn<FabricaVentana>("fabrica");
    QTest::newRow("Lozar") << FabricaVentana([](TablaNormal&) { return new LozarForm; });
    QTest::newRow("ProbNorm") << FabricaVentana([](TablaNormal& t) { return new ProbNorm(t); });
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

QTEST_MAIN(TstVentanas)
#include "tst_ventanas.moc"
