#include "shell/errores.h"

#include "shell/plataforma.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

ErrorLozar::ErrorLozar(int numero, QString descripcion, QString origen)
    : numero_(numero), origen_(std::move(origen)),
      descripcion_(descripcion.isEmpty() ? descripcionDe(numero) : std::move(descripcion)) {
    utf8_ = QStringLiteral("%1.- %2").arg(numero_).arg(descripcion_).toUtf8();
}

QString ErrorLozar::descripcionDe(int numero) {
    switch (numero) {
    case kErrArgumento:
        return QStringLiteral("Llamada a procedimiento o argumento no válido");
    case kErrDesbordamiento:
        return QStringLiteral("Desbordamiento");
    case kErrDivisionPorCero:
        return QStringLiteral("División por cero");
    case kErrTipos:
        return QStringLiteral("No coinciden los tipos");
    case kErrArchivoNoEncontrado:
        return QStringLiteral("No se ha encontrado el archivo");
    case kErrEntradaSalida:
        return QStringLiteral("Error de E/S de dispositivo");
    case kErrFinDeArchivo:
        return QStringLiteral("La entrada sobrepasa el final del archivo");
    case kErrPermisoDenegado:
        return QStringLiteral("Permiso denegado");
    case kErrAccesoRuta:
        return QStringLiteral("Error de acceso a la ruta o el archivo");
    case kErrCancelado:
        return QStringLiteral("Se ha cancelado el cuadro de diálogo");
    default:
        return QStringLiteral("Error definido por la aplicación o el objeto");
    }
}

QString causaDeFallo(const QString& ruta, int e, const QString& otra) {
    if (QFileInfo(ruta).isDir())
        return QStringLiteral("es una carpeta, no un archivo");
    switch (e) {
    case EACCES:
    case EPERM:
        return QStringLiteral("permiso denegado");
    case EROFS:
        return QStringLiteral("el disco es de solo lectura");
    case ENOSPC:
        return QStringLiteral("no queda espacio en el disco");
    case ENOENT:
        return QStringLiteral("no existe");
    case ENOTDIR:
        return QStringLiteral("una parte de la ruta no es una carpeta");
    case EIO:
        return QStringLiteral("error de entrada/salida del disco");
    case EISDIR:
        return QStringLiteral("es una carpeta, no un archivo");
    default:
        return otra;
    }
}

QByteArray leeArchivoEntero(const QString& ruta, qint64 limite) {
    const QString nombre = QDir::toNativeSeparators(ruta);
    QFile f(ruta);
    if (!f.exists())
        throw ErrorLozar(kErrArchivoNoEncontrado,
                         QStringLiteral("No se ha encontrado el archivo \"%1\"").arg(nombre));
    auto falla = [&](const QString& causa) {
        return ErrorLozar(kErrEntradaSalida,
                          QStringLiteral("No se puede leer \"%1\" (%2)").arg(nombre, causa));
    };
    if (QFileInfo(ruta).isDir())
        throw falla(causaDeFallo(ruta, 0, QString()));
    if (!f.open(QIODevice::ReadOnly)) {
        const int e = errno;
        throw falla(causaDeFallo(ruta, e, f.errorString()));
    }
    if (f.size() > limite)
        throw falla(QStringLiteral("tiene %1 MB; se leen hasta %2 MB")
                        .arg(f.size() >> 20)
                        .arg(limite >> 20));
    // Files that tell their size are read in one piece of that size; others (a pipe, /proc)
    // until they end.
    QByteArray bytes = f.size() > 0 ? f.read(f.size()) : f.readAll();
    if (f.error() != QFileDevice::NoError) {
        const int e = errno;
        throw falla(causaDeFallo(ruta, e, f.errorString()));
    }
    if (bytes.size() > limite)
        throw falla(QStringLiteral("tiene más de %1 MB").arg(limite >> 20));
    return bytes;
}

QString detalleError(const ErrorLozar& e) {
    return e.origen() + QLatin1Char('\n') + QString::number(e.numero()) + QStringLiteral(".- ") +
           e.descripcion();
}

QString textoManejador(const ErrorLozar& e) {
    return detalleError(e);
}

QString textoRutina(const QString& encabezado, const ErrorLozar& e, int saltos) {
    return encabezado + QString(saltos, QLatin1Char('\n')) + detalleError(e);
}

void avisaManejador(const ErrorLozar& e) {
    plataforma().mensaje(textoManejador(e), Botones::Aceptar, Icono::Ninguno);
}

void avisaRutina(const QString& encabezado, const ErrorLozar& e, int saltos) {
    plataforma().mensaje(textoRutina(encabezado, e, saltos), Botones::Aceptar, Icono::Exclamacion);
}
