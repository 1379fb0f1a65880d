#include "plataforma/arranque.h"

#include "archivos/archivos.h"
#include "numeros/errores.h"
#include "plataforma/caratula.h"
#include "plataforma/formulario.h"
#include "plataforma/plataforma.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QPixmap>
#include <QPointer>

namespace {} // namespace

bool AplicacionLozar::notify(QObject* receptor, QEvent* evento) {
    try {
        return QApplication::notify(receptor, evento);
    } catch (const ErrorLozar& e) {
        avisaManejador(e);
    } catch (const std::exception& e) {
        avisaManejador(ErrorLozar(kErrInterno, QString::fromLocal8Bit(e.what())));
    }
    return false;
}

int ejecutaLozar(Plataforma& p, const std::function<QWidget*()>& creaPrincipal) {
    PlataformaInstalada instalada(p);
    QApplication::setApplicationName(QStringLiteral("Lozar"));
    QApplication::setOrganizationName(QStringLiteral("Lozar"));
    QGuiApplication::setDesktopFileName(QStringLiteral("lozar"));

    auto* caratula = new Caratula;
    caratula->setAttribute(Qt::WA_DeleteOnClose);
    try {
        caratula->Form_Load();
    } catch (const ErrorLozar& e) {
        delete caratula;
        plataforma().mensaje(e.descripcion(), Botones::Aceptar, Icono::Exclamacion);
        return 1;
    }
    // The main window is built, and its text laid out, while the splash is on screen (the
    // splash shows no text, so even the fonts wait until then); it then appears at once.
    QPointer<QWidget> principal;
    auto prepara = [&principal, &p, &creaPrincipal] {
        if (principal)
            return;
        // The icon, installed as "lozar" or found beside a copy run from its build folder,
        // takes a theme search and a decode that would hold the splash back by a third.
        QPixmap propio;
        try { // read as any file of ours: a pipe in its place would hang the start
            propio.loadFromData(leeArchivoEntero(
                QDir(p.directorioAplicacion()).filePath(QStringLiteral("lozar.png")), 1 << 20));
        } catch (const ErrorLozar&) {
        }
        QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("lozar"), QIcon(propio)));
        fijaFuenteDeLaAplicacion();
        principal = creaPrincipal();
        principal->grab();
        preparaVentana(principal);
    };
    QObject::connect(caratula, &Caratula::pintada, prepara);
    QObject::connect(caratula, &Caratula::descargada, [&principal, prepara] {
        prepara();
        principal->show();
    });
    // The splash may become active inside show(), before the event loop runs, and a quit asked
    // for then would be lost: the request waits in the queue for the loop to take it.
    QObject::connect(caratula, &Caratula::duplicada, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    caratula->show();
    const int codigo = QApplication::exec();
    delete principal; // built but never shown: a second copy
    return codigo;
}
