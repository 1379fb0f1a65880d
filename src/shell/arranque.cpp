#include "shell/arranque.h"

#include "shell/caratula.h"
#include "shell/errores.h"
#include "shell/formulario.h"
#include "shell/plataforma.h"
#include "study/lozarform.h"

#include <QApplication>

namespace {
// Puts back the platform that was installed before the run.
class PlataformaDeLaEjecucion {
public:
    explicit PlataformaDeLaEjecucion(Plataforma& p) : anterior_(fijaPlataforma(&p)) {}
    ~PlataformaDeLaEjecucion() { fijaPlataforma(anterior_); }
    PlataformaDeLaEjecucion(const PlataformaDeLaEjecucion&) = delete;
    PlataformaDeLaEjecucion& operator=(const PlataformaDeLaEjecucion&) = delete;

private:
    Plataforma* anterior_;
};
} // namespace

int ejecutaLozar(Plataforma& p) {
    PlataformaDeLaEjecucion instalada(p);
    QApplication::setApplicationName(QStringLiteral("Lozar"));
    fijaFuenteDeLaAplicacion();

    auto* caratula = new Caratula;
    caratula->setAttribute(Qt::WA_DeleteOnClose);
    try {
        caratula->Form_Load();
    } catch (const ErrorLozar& e) {
        delete caratula;
        plataforma().mensaje(e.descripcion(), Botones::Aceptar, Icono::Exclamacion);
        return 1;
    }
    QObject::connect(caratula, &Caratula::descargada, [] { (new LozarForm)->show(); });
    // The splash may become active inside show(), before the event loop runs, and a quit asked
    // for then would be lost: the request waits in the queue for the loop to take it.
    QObject::connect(caratula, &Caratula::duplicada, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    caratula->show();
    return QApplication::exec();
}
