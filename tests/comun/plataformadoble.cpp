#include "comun/plataformadoble.h"

#include "shell/errores.h"

#include <QDir>

PlataformaDoble::PlataformaDoble() {
    anterior_ = fijaPlataforma(this);
}

PlataformaDoble::~PlataformaDoble() {
    fijaPlataforma(anterior_);
}

Respuesta PlataformaDoble::mensaje(const QString& texto, Botones botones, Icono icono) {
    mensajes.append({texto, botones, icono});
    if (botones == Botones::Aceptar)
        return Respuesta::Aceptar;
    return respuestas.isEmpty() ? Respuesta::No : respuestas.takeFirst();
}

std::optional<QString> PlataformaDoble::respondeDialogo(const QString& filtro) {
    filtros << filtro;
    return rutas.isEmpty() ? std::nullopt : rutas.takeFirst();
}

std::optional<QString> PlataformaDoble::dialogoAbrir(const QString& filtro) {
    dialogos << "abrir";
    return respondeDialogo(filtro);
}

std::optional<QString> PlataformaDoble::dialogoGuardar(const QString& filtro) {
    dialogos << "guardar";
    return respondeDialogo(filtro);
}

bool PlataformaDoble::abreDocumento(const QString& ruta, const QString& directorioTrabajo) {
    Q_UNUSED(directorioTrabajo);
    documentosAbiertos << ruta;
    return true;
}

void PlataformaDoble::guardaArchivo(const QString& ruta, const QByteArray& bytes) {
    if (discoLleno) // what the writing reports when the disk fills up half-way
        throw ErrorLozar(kErrEntradaSalida,
                         QStringLiteral("No se pudo guardar \"%1\" (No queda espacio en el "
                                        "dispositivo)")
                             .arg(QDir::toNativeSeparators(ruta)));
    guardaArchivoSeguro(ruta, bytes);
}

bool PlataformaDoble::imprime(QWidget* ventana) {
    Q_UNUSED(ventana);
    if (!hayImpresora)
        return false;
    ++impresiones;
    return true;
}
