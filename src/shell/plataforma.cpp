#include "shell/plataforma.h"

#include "shell/archivos.h"

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

Plataforma* fijaPlataforma(Plataforma* p) {
    Plataforma* anterior = gPlataforma;
    gPlataforma = p;
    return anterior;
}
