#include "shell/plataforma.h"

#include "shell/errores.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdlib>

namespace {
Plataforma* gPlataforma = nullptr;
}

Plataforma& plataforma() {
    if (!gPlataforma)
        std::abort(); // a programming error: main() or the test installs one first
    return *gPlataforma;
}

void guardaArchivoSeguro(const QString& ruta, const QByteArray& bytes) {
    const QString nombre = QDir::toNativeSeparators(ruta);
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly)) {
        const int e = errno;
        throw ErrorLozar(kErrAccesoRuta, QStringLiteral("No se puede crear \"%1\" (%2)")
                                             .arg(nombre, causaDeFallo(ruta, e, f.errorString())));
    }
    f.write(bytes);
    if (!f.commit()) {
        const int e = errno;
        throw ErrorLozar(kErrEntradaSalida,
                         QStringLiteral("No se pudo guardar \"%1\" (%2)")
                             .arg(nombre, causaDeFallo(ruta, e, f.errorString())));
    }
}

QString rutaDeArchivoPropio(const QString& nombre) {
    // Tried rather than judged by permission bits, which say nothing of a read-only disk.
    const QString app = plataforma().directorioAplicacion();
    QTemporaryFile prueba(QDir(app).filePath(QStringLiteral("lozar-prueba-XXXXXX")));
    if (prueba.open())
        return QDir(app).filePath(nombre);
    const QString propia = plataforma().directorioDatosUsuario();
    QDir().mkpath(propia);
    return QDir(propia).filePath(nombre);
}

Plataforma* fijaPlataforma(Plataforma* p) {
    Plataforma* anterior = gPlataforma;
    gPlataforma = p;
    return anterior;
}
