#include "plataforma/plataformaconsola.h"

#include <cstdio>

void escribeError(const QString& texto) {
    QByteArray b = texto.toLocal8Bit();
    if (!b.endsWith('\n'))
        b += '\n';
    std::fwrite(b.constData(), 1, std::size_t(b.size()), stderr);
    std::fflush(stderr);
}

Respuesta PlataformaConsola::mensaje(const QString& texto, Botones botones, Icono icono) {
    Q_UNUSED(icono);
    escribeError(texto);
    return botones == Botones::Aceptar ? Respuesta::Aceptar
           : botones == Botones::SiNo  ? Respuesta::No
                                       : Respuesta::Cancelar;
}

void PlataformaConsola::acercaDe(const QString& texto) {
    escribeError(texto);
}

std::optional<QString> PlataformaConsola::dialogoAbrir(const QString& filtro) {
    Q_UNUSED(filtro);
    return std::nullopt;
}

std::optional<QString> PlataformaConsola::dialogoGuardar(const QString& filtro) {
    Q_UNUSED(filtro);
    return std::nullopt;
}

std::optional<QString> PlataformaConsola::dialogoExportar(const QString& filtro) {
    Q_UNUSED(filtro);
    return std::nullopt;
}

bool PlataformaConsola::abreDocumento(const QString& ruta, const QString& directorioTrabajo) {
    Q_UNUSED(ruta);
    Q_UNUSED(directorioTrabajo);
    return false;
}

bool PlataformaConsola::imprime(QWidget* ventana) {
    Q_UNUSED(ventana);
    return false;
}

bool PlataformaConsola::imprimeTexto(const QString& html) {
    Q_UNUSED(html);
    return false;
}

bool PlataformaConsola::imprimePaginas(const std::function<void(QPagedPaintDevice&)>& pinta) {
    Q_UNUSED(pinta);
    return false;
}

std::optional<int> PlataformaConsola::eligeOpcion(const QString& pregunta,
                                                  const QStringList& opciones, int inicial) {
    Q_UNUSED(opciones);
    Q_UNUSED(inicial);
    escribeError(pregunta);
    return std::nullopt;
}
