#include "shell/caratula.h"
#include "shell/errores.h"
#include "shell/formulario.h"
#include "shell/plataformaqt.h"
#include "study/lozarform.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lozar"));
    fijaFuenteDeLaAplicacion();
    PlataformaQt::cargaTraducciones();
    PlataformaQt plataformaQt;
    fijaPlataforma(&plataformaQt);

    auto* caratula = new Caratula;
    caratula->setAttribute(Qt::WA_DeleteOnClose);
    try {
        caratula->Form_Load();
    } catch (const ErrorLozar& e) {
        plataforma().mensaje(e.descripcion(), Botones::Aceptar, Icono::Exclamacion);
        return 1;
    }
    QObject::connect(caratula, &Caratula::descargada, [] { (new LozarForm)->show(); });
    caratula->show();
    return app.exec();
}
