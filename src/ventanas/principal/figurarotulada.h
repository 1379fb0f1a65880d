#pragma once

#include <QColor>
#include <QRectF>
#include <QSize>
#include <QString>
#include <array>

class LozarForm;
class QPainter;
struct Limites;

// The five limits as every picture marks them: value, name and colour, low to high.
struct LimiteRotulado {
    double valor;
    QString nombre;
    QColor color;
};
std::array<LimiteRotulado, 5> limitesRotulados(const Limites& l);

// The main window's picture as a figure that stands on its own, for a file or a report: the
// study's title above it, the cost axis on the left and the characteristic's axis below numbered
// on round steps, and the five limits named with their values, all in the user's separator.

// The size, in screen pixels, of the figure around the picture as the window shows it.
QSize tamanoFiguraRotulada(const LozarForm& f);
// Draws it into `area` of `p` (lines and text stay lines and text in an SVG or PDF).
void dibujaFiguraRotulada(QPainter& p, const QRectF& area, const LozarForm& f);
