#include "principal/ayuda.h"

#include "plataforma/caratula.h"
#include "plataforma/plataforma.h"

#include <boost/version.hpp>

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

Guia::Guia(QWidget* padre) : QWidget(padre, Qt::Window) {
    setObjectName(QStringLiteral("Guia"));
    setWindowTitle(QStringLiteral("Guía de Lozar"));
    txtGuia = new QTextBrowser(this);
    txtGuia->setObjectName(QStringLiteral("txtGuia"));
    txtGuia->setAccessibleName(QStringLiteral("Guía de Lozar"));
    txtGuia->setOpenExternalLinks(true);
    const QString guia =
        QDir(plataforma().directorioAplicacion()).filePath(QStringLiteral("ayuda/guia.html"));
    if (QFileInfo(guia).isFile()) // a regular file: a pipe there would hang the window
        txtGuia->setSource(QUrl::fromLocalFile(guia));
    else
        txtGuia->setPlainText(QStringLiteral("No se encuentra la guía: debería estar en \"%1\".")
                                  .arg(QDir::toNativeSeparators(guia)));
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(txtGuia);
    resize(820, 680);
    for (const QKeySequence& k : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(k, this), &QShortcut::activated, this, &QWidget::close);
}

void MAyudaGuia_Click() {
    static QPointer<Guia> abierta;
    if (!abierta) {
        abierta = new Guia;
        abierta->setAttribute(Qt::WA_DeleteOnClose);
        Centrar(abierta);
    }
    abierta->show();
    abierta->raise();
    abierta->activateWindow();
}

void MAyudaAcerca_Click() {
    plataforma().acercaDe(
        QStringLiteral(
            "Lozar %1\n\nCosto efectivo de la no calidad de un proceso de producción.\n\n"
            "Las tablas de áreas (Kvacnt.tbq, kvtab1A.tbq, kvtab1B.tbq y kvtab2.tbq) se "
            "calculan desde primeros principios con el generador lozar_tablas, a partir "
            "de la normal estándar y de las distribuciones de Pearson (tipos I a VII) "
            "con la media, la desviación, el sesgo y la curtosis de cada casilla.\n\n"
            "© 2026 equipo de Lozar. Lozar es software libre: puede redistribuirlo y "
            "modificarlo según la Licencia Pública General de GNU, versión 3 o (a su elección) "
            "cualquier versión posterior (GPL-3.0-or-later), publicada por la Free Software "
            "Foundation; se distribuye sin garantía alguna. El texto completo está en el "
            "archivo LICENSE.\n\nHecho con Qt %2 (Qt Charts, GPL 3) y Boost %3.")
            .arg(QStringLiteral(LOZAR_VERSION), QString::fromLatin1(qVersion()),
                 QStringLiteral("%1.%2.%3")
                     .arg(BOOST_VERSION / 100000)
                     .arg(BOOST_VERSION / 100 % 1000)
                     .arg(BOOST_VERSION % 100)));
}
