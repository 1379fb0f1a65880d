#include "comun/plataformadoble.h"

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
