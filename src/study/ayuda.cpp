#include "study/ayuda.h"

#include "shell/caratula.h"
#include "shell/plataforma.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
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
    plataforma().mensaje(
        QStringLiteral(
            "Lozar %1\n\nCosto efectivo de la no calidad de un proceso de producción.\n\n"
            "Las tablas de áreas (Kvacnt.tbq, kvtab1A.tbq, kvtab1B.tbq y kvtab2.tbq) se "
            "calculan desde primeros principios con el generador lozar_tablas, a partir "
            "de la normal estándar y de las distribuciones de Pearson (tipos I a VII) "
            "con la media, la desviación, el sesgo y la curtosis de cada casilla.\n\n"
            "Licencia: © 2026 equipo de Lozar. Todos los derechos reservados.")
            .arg(QStringLiteral(LOZAR_VERSION)),
        Botones::Aceptar, Icono::Informacion);
}
