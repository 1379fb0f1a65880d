#include "tablas/lectura.h"

#include "archivos/archivos.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cctype>

QString rutaDeTabla(const QString& directorio, const QString& nombre) {
    return QDir(directorio).filePath(nombre);
}

QByteArray leeTabla(const QString& ruta, int registros, int largo) {
    const qint64 necesarios = qint64(registros) * largo;
    QByteArray datos;
    try {
        datos = leeArchivoEntero(ruta, qint64(1) << 20);
    } catch (const ErrorLozar& e) {
        // The same error, told as a table's.
        throw ErrorLozar(
            e.numero(),
            QString(e.descripcion())
                .replace(QStringLiteral("el archivo \""), QStringLiteral("el archivo de tabla \""))
                .replace(QStringLiteral("leer \""), QStringLiteral("leer el archivo de tabla \"")));
    }
    if (datos.size() < necesarios)
        throw ErrorLozar(kErrEntradaSalida,
                         QStringLiteral("El archivo de tabla \"%1\" está incompleto: tiene %2 "
                                        "bytes y necesita %3")
                             .arg(QDir::toNativeSeparators(ruta))
                             .arg(datos.size())
                             .arg(necesarios));
    return datos.left(necesarios);
}

double leeCampoDeTabla(const QByteArray& datos, const QString& ruta, int registro, int largo,
                       int desde, int ancho, bool blancoEsCero) {
    const QByteArray campo = datos.mid(qsizetype(registro - 1) * largo + desde, ancho);
    const QByteArray t = campo.trimmed();
    // A number starts with a digit, after a sign and a point if any: a lone "-" is not 0.
    qsizetype i = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        ++i;
    if (i < t.size() && t[i] == '.')
        ++i;
    const bool numero = i < t.size() && std::isdigit(uchar(t[i]));
    // A blank field is 0 where the tables leave a cell empty; anything else must be a number,
    // or the table is damaged and would give wrong areas without a word.
    if (!numero && !(t.isEmpty() && blancoEsCero))
        throw ErrorLozar(kErrTipos,
                         QStringLiteral("El archivo de tabla \"%1\" está dañado: el registro %2 "
                                        "tiene «%3» donde debe haber un número")
                             .arg(QDir::toNativeSeparators(ruta))
                             .arg(registro)
                             .arg(QString::fromLatin1(campo)));
    return leeDato(QString::fromLatin1(campo));
}
