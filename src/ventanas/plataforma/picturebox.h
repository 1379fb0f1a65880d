#pragma once

#include "numeros/escala.h"

#include <QColor>
#include <QFrame>
#include <QImage>

enum class EstiloTrazo { Solido = 0, Discontinuo = 1 };

// The drawing surface of every window: a retained image under a user scale. Settings
// (width, style, colours) persist between calls, like a pen left on the table; nothing is
// redrawn by itself, but the image survives the window being covered. No antialiasing,
// so a border flood fill stops at exact colours.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void fijaEscala(double izquierda, double arriba, double ancho, double alto);
    Escala escala() const;

    void fijaAnchoTrazo(int pixeles) { ancho_ = pixeles < 1 ? 1 : pixeles; }
    int anchoTrazo() const { return ancho_; }
    void fijaEstilo(EstiloTrazo e) { estilo_ = e; }
    EstiloTrazo estilo() const { return estilo_; }
    void fijaColor(const QColor& c) { color_ = c; }
    QColor color() const { return color_; }
    void fijaColorRelleno(const QColor& c) { relleno_ = c; }
    QColor colorRelleno() const { return relleno_; }
    QColor colorFondo() const { return fondo_; }

    // Colours one dot (the pen's width) at a scale point, which becomes the current point.
    void punto(float x, float y, const QColor& c);
    // A line in colour `c` (the drawing colour setting stays); its end becomes current.
    void linea(float x1, float y1, float x2, float y2, const QColor& c);
    void lineaA(float x, float y, const QColor& c);
    QPointF puntoActual() const { return actual_; }
    // Points and lines drawn since the last clear: what a drawing costs.
    int trazos() const { return trazos_; }

    // Back to the background colour; the current point returns to (0, 0).
    void borra();

    // Border flood fill from a pixel of the drawing area: the connected region around it,
    // bounded by pixels of the drawing colour, takes the fill colour. A seed on a border
    // pixel or outside the picture fills nothing; returns whether anything was filled.
    bool rellena(QPoint semilla);

    // The picture as PNG, SVG or PDF at its device pixels (see exporta()).
    void exporta(const QString& ruta) const;

    // The drawing area as it stands, in device pixels (tests read them).
    const QImage& imagen() const {
        ajusta();
        return imagen_;
    }

signals:
    void ratonAbajo(Qt::MouseButton boton, Qt::KeyboardModifiers shift, double x, double y);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void trazo(QPointF a, QPointF b, const QColor& c);
    // The image follows the widget's size even before the widget is shown, when Qt
    // delivers no resize event yet.
    void ajusta() const;

    mutable QImage imagen_;
    mutable qreal dpr_ = 1; // device pixels per screen pixel of the image
    double izq_ = 0, arr_ = 0, anchoEsc_ = 1, altoEsc_ = 1;
    int ancho_ = 1;
    EstiloTrazo estilo_ = EstiloTrazo::Solido;
    QColor color_, relleno_, fondo_;
    QPointF actual_{0, 0};
    int trazos_ = 0;
};
