#include "numeros/errores.h"

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
    case kErrInterno:
        return QStringLiteral("Error interno");
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
