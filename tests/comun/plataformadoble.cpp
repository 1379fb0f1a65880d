#include "comun/plataformadoble.h"

#include "shell/errores.h"

#include <QDir>

Respuesta PlataformaDoble::mensaje(const QString& texto, Botones botones, Icono icono) {
    mensajes.append({texto, botones, icono});
    if (botones == Botones::Aceptar)
        return Respuesta::Aceptar;
    return respuestas.isEmpty() ? Respuesta::No : respuestas.takeFirst();
}

std::optional<QString> PlataformaDoble::respondeDialogo(const char* dialogo,
                                                        const QString& filtro) {
    dialogos << dialogo;
    filtros << filtro;
    return rutas.isEmpty() ? std::nullopt : rutas.takeFirst();
}

void PlataformaDoble::guardaArchivo(const QString& ruta, const QByteArray& bytes) {
    if (discoLleno) // what the writing reports when the disk fills up half-way
        throw ErrorLozar(kErrEntradaSalida,
                         QStringLiteral("No se pudo guardar \"%1\" (No queda espacio en el "
                                        "dispositivo)")
                             .arg(QDir::toNativeSeparators(ruta)));
    guardaArchivoSeguro(ruta, bytes);
}
