#include "tables/lectura.h"

#include "shell/errores.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString rutaDeTabla(const QString& directorio, const QString& nombre) {
    return QDir(directorio).filePath(nombre);
}

QByteArray leeTabla(const QString& ruta, int registros, int largo) {
    const QString nombre = QDir::toNativeSeparators(ruta);
    if (!QFileInfo::exists(ruta))
        throw ErrorLozar(
            kErrArchivoNoEncontrado,
            QStringLiteral("No se ha encontrado el archivo de tabla \"%1\"").arg(nombre));
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        throw ErrorLozar(kErrEntradaSalida,
                         QStringLiteral("No se puede leer el archivo de tabla \"%1\"").arg(nombre));
    const qint64 necesarios = qint64(registros) * largo;
    const QByteArray datos = f.read(necesarios);
    if (datos.size() < necesarios)
        throw ErrorLozar(kErrEntradaSalida,
                         QStringLiteral("El archivo de tabla \"%1\" está incompleto: tiene %2 "
                                        "bytes y necesita %3")
                             .arg(nombre)
                             .arg(datos.size())
                             .arg(necesarios));
    return datos;
}
