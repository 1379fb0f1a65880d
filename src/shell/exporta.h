#pragma once

#include <QSize>
#include <QString>
#include <functional>

class QPainter;

// The save dialog's filter for exported pictures.
extern const QString kFiltroExportar;

// Writes a drawing of `tamano` screen pixels to `ruta` as PNG, SVG or PDF, by the file's
// extension: `pinta` draws it on a painter whose window runs over 0..tamano. A PNG has `escala`
// pixels per screen pixel; SVG and PDF keep whatever `pinta` draws as lines and text. The file
// is replaced whole or left as it was; ErrorLozar naming the file and the cause.
void exporta(const QString& ruta, QSize tamano, const std::function<void(QPainter&)>& pinta,
             double escala = 2);
