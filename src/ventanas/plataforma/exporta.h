#pragma once

#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QPainter;

// The formats a picture exports to. A new one is a row of the table in exporta.cpp and a branch
// of exporta() that draws it.
enum class Formato { Png, Svg, Pdf };

// The save dialog's filter for exported pictures, from that table.
extern const QString kFiltroExportar;

// The format a file's name asks for by its extension; nullopt for none of them.
std::optional<Formato> formatoDe(const QString& ruta);

// Writes a drawing of `tamano` screen pixels to `ruta` as PNG, SVG or PDF, by the file's
// extension: `pinta` draws it on a painter whose window runs over 0..tamano. A PNG has `escala`
// pixels per screen pixel; SVG and PDF keep whatever `pinta` draws as lines and text. The file
// is replaced whole or left as it was; ErrorLozar naming the file and the cause.
// A rich text (a report's table) as the bytes of an A4 PDF document.
QByteArray pdfDeTexto(const QString& html);

void exporta(const QString& ruta, QSize tamano, const std::function<void(QPainter&)>& pinta,
             double escala = 2);
