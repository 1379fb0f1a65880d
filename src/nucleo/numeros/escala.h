#pragma once

#include <QPoint>
#include <QPointF>
#include <QSize>

// A picture's user scale: scale units to pixels of its drawing area and back.
// y grows downwards, as on the screen.
class Escala {
public:
    Escala() = default;
    Escala(double izquierda, double arriba, double ancho, double alto, QSize pixeles)
        : izq_(izquierda), arr_(arriba), ancho_(ancho), alto_(alto), px_(pixeles) {}

    double izquierda() const { return izq_; }
    double arriba() const { return arr_; }
    double ancho() const { return ancho_; }
    double alto() const { return alto_; }
    QSize pixeles() const { return px_; }

    // Continuous pixel coordinates (0 at the left edge of the first pixel).
    QPointF aPixelF(double x, double y) const {
        return {ancho_ == 0 ? 0 : (x - izq_) * px_.width() / ancho_,
                alto_ == 0 ? 0 : (y - arr_) * px_.height() / alto_};
    }
    // The pixel a scale point falls in.
    QPoint aPixel(double x, double y) const;
    // The scale point at the centre of a pixel offset (continuous).
    QPointF aEscala(QPointF pixel) const {
        return {izq_ + pixel.x() * ancho_ / px_.width(), arr_ + pixel.y() * alto_ / px_.height()};
    }

private:
    double izq_ = 0, arr_ = 0, ancho_ = 1, alto_ = 1;
    QSize px_{1, 1};
};
