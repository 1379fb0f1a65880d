#include "archivos/archivoestudio.h"
#include "archivos/archivos.h"
#include "comun/estudio.h"
#include "comun/ventanas.h"
#include "costo/efectivo.h"
#include "estudio/forma.h"
#include "numeros/numeros.h"
#include "plataforma/plataformaqt.h"
#include "principal/ayuda.h"

#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QtTest>

namespace {
QString carpetaDelPrograma(const QString& sub) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + sub;
}
} // namespace

class TstAyuda : public QObject {
    Q_OBJECT
private slots:
    void ejemplos_data();
    void ejemplos();
    void guia();
};

void TstAyuda::ejemplos_data() {
    QTest::addColumn<QString>("ruta");
    const QDir dir(carpetaDelPrograma("ejemplos"));
    const QFileInfoList estudios = dir.entryInfoList({"*.lzr"}, QDir::Files, QDir::Name);
    QVERIFY(estudios.size() >= 4);
    for (const QFileInfo& f : estudios)
        QTest::newRow(qPrintable(f.fileName())) << f.filePath();
}

// Chosen from the menu, an example opens and draws without a message, costs what its own boxes
// cost, and saving it asks for a new name.
void TstAyuda::ejemplos() {
    QFETCH(QString, ruta);
    EstudioTemporal e(false);
    e.doble.directorio = QCoreApplication::applicationDirPath();
    emit e.f->MArchivoEjemplos->aboutToShow();
    QAction* entrada = nullptr;
    const LecturaEstudio lectura = leeEstudio(leeArchivoEntero(ruta, 1 << 20));
    for (QAction* a : e.f->MArchivoEjemplos->actions())
        if (a->text() == lectura.valores.value(0).second)
            entrada = a;
    QVERIFY2(entrada, "el menú lista el ejemplo por su título");
    entrada->trigger();
    e.f->cmdLozarEfectivo_Click();
    QCOMPARE(e.doble.mensajes.size(), 1); // only the question whether to see the details
    QCOMPARE(e.f->windowTitle(), "Lozars de No Calidad. " + ruta);

    // The cost of the boxes as shown, computed here.
    TablaNormal tabla(QCoreApplication::applicationDirPath());
    const double ce = calculaEfectivo(*e.f, tabla, leeEstricto(e.f->Media->text()),
                                      leeEstricto(e.f->StdDev->text()), formaDe(*e.f).get())
                          .efectivo;
    QVERIFY2(e.f->lblLozarEfec->text().startsWith(formatea(ce, "$0.00")),
             qPrintable(e.f->lblLozarEfec->text()));

    const QByteArray antes = leeArchivoEntero(ruta, 1 << 20);
    rellenaCajas(*e.f, {{"Media", "1"}});
    e.f->MArchivoGuardar_Click(); // no name given: nothing written anywhere
    QCOMPARE(e.doble.dialogos.last(), QStringLiteral("guardar"));
    QCOMPARE(leeArchivoEntero(ruta, 1 << 20), antes);
}

// The guide links only to its own sections and shows only pictures that are there.
void TstAyuda::guia() {
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

    // F1 opens it in a window of the program.
    EstudioTemporal e(false);
    e.doble.directorio = QCoreApplication::applicationDirPath();
    e.f->show();
    QVERIFY(QTest::qWaitForWindowActive(e.f));
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

    // The real box: its Qt button opens Qt's own box over it and leaves it open.
    PlataformaQt real;
    bool sigueAbierta = false, deQt = false;
    QTimer t;
    connect(&t, &QTimer::timeout, [&] {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caja)
            return;
        if (caja->text().contains("GPL-3.0-or-later")) {
            if (deQt) {
                sigueAbierta = caja->isVisible();
                caja->button(QMessageBox::Ok)->click();
                return;
            }
            for (QAbstractButton* b : caja->buttons())
                // Clicked from the event loop: Qt's box runs a loop of its own, and this timer
                // does not fire again while its handler runs.
                if (b->text() == QStringLiteral("Acerca de Qt…"))
                    QMetaObject::invokeMethod(b, &QAbstractButton::click, Qt::QueuedConnection);
        } else {
            deQt = true;
            caja->close();
        }
    });
    t.start(20);
    real.acercaDe(QStringLiteral("Lozar, GPL-3.0-or-later"));
    QVERIFY(deQt);
    QVERIFY(sigueAbierta);
}

QTEST_MAIN(TstAyuda)
#include "tst_ayuda.moc"
