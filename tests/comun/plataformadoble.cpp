#include "comun/plataformadoble.h"

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

bool PlataformaDoble::imprime(QWidget* ventana) {
    Q_UNUSED(ventana);
    if (!hayImpresora)
        return false;
    ++impresiones;
    return true;
}
