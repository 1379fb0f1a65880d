#include "plataforma/plataforma.h"

#include "archivos/archivos.h"
#include "numeros/errores.h"

#include <QDir>
#include <cstdlib>

namespace {
Plataforma* gPlataforma = nullptr;
}

Plataforma& plataforma() {
    if (!gPlataforma)
        std::abort(); // a programming error: main() or the test installs one first
    return *gPlataforma;
}

QString rutaDeArchivoPropio(const QString& nombre) {
    const QString app = QDir(plataforma().directorioAplicacion()).filePath(nombre);
    if (errorAlEscribir(app) == 0)
        return app;
    const QString propia = plataforma().directorioDatosUsuario();
    QDir().mkpath(propia);
    return QDir(propia).filePath(nombre);
}

void avisaManejador(const ErrorLozar& e) {
    plataforma().mensaje(textoManejador(e), Botones::Aceptar, Icono::Ninguno);
}

void avisaRutina(const QString& encabezado, const ErrorLozar& e, int saltos) {
    plataforma().mensaje(textoRutina(encabezado, e, saltos), Botones::Aceptar, Icono::Exclamacion);
}

Plataforma* fijaPlataforma(Plataforma* p) {
    Plataforma* anterior = gPlataforma;
    gPlataforma = p;
    return anterior;
}

void ofrecePdf(const QString& que, const std::function<QByteArray()>& pdf) {
    if (plataforma().mensaje(QStringLiteral("No hay ninguna impresora.\n\n¿Desea guardar %1 como "
                                            "documento PDF?")
                                 .arg(que),
                             Botones::SiNo, Icono::Pregunta) != Respuesta::Si)
        return;
    const std::optional<QString> ruta =
        plataforma().dialogoGuardar(QStringLiteral("PDF (*.pdf)|*.pdf"));
    if (!ruta)
        return;
    try {
        PunteroOcupado ocupado;
        guardaArchivoSeguro(*ruta, pdf());
    } catch (const ErrorLozar& e) {
        plataforma().mensaje(e.descripcion(), Botones::Aceptar, Icono::Exclamacion);
    }
}
