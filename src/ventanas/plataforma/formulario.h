#pragma once

#include <QCheckBox>
#include <QColor>
#include <QFont>
#include <QObject>
#include <QPushButton>
#include <QRect>
#include <QWidget>

// Design lengths are in twips; 15 twips make a pixel.
constexpr int kTwipsPorPixel = 15;
inline int aPixeles(double twips) {
    return int(twips / kTwipsPorPixel + (twips < 0 ? -0.5 : 0.5));
}
QRect rectTwips(int izquierda, int arriba, int ancho, int alto);

// Places a control at its design position in twips.
void colocaTwips(QWidget* control, int izquierda, int arriba, int ancho, int alto);
// Moves a control's top (twips), keeping everything else.
void subeTwips(QWidget* control, int arriba);

// Tahoma where it exists, a close sans-serif elsewhere.
QFont fuenteTahoma(double puntos, bool negrita);
// The windows' common font, like the classic 8-point dialog font.
void fijaFuenteDeLaAplicacion();

// Sets up a top-level window's native window and drawing memory before it is shown, which is
// most of the time a window takes to appear.
void preparaVentana(QWidget* ventana);

// Paints the window's image on a page (printer, PDF), as large as fits, keeping its shape.
bool pintaVentana(QWidget* ventana, QPaintDevice* pagina);

// A line control drawn on its window's surface, beneath the window's controls, between two
// ends given in twips. Code moves its ends; the window repaints it.
class LineaControl : public QObject {
    Q_OBJECT
public:
    LineaControl(const QString& nombre, const QColor& color, double x1, double y1, double x2,
                 double y2, QWidget* superficie);

    double X1() const { return x1_; }
    double Y1() const { return y1_; }
    double X2() const { return x2_; }
    double Y2() const { return y2_; }
    void fijaX1(double v) { x1_ = v, cambia(); }
    void fijaY1(double v) { y1_ = v, cambia(); }
    void fijaX2(double v) { x2_ = v, cambia(); }
    void fijaY2(double v) { y2_ = v, cambia(); }
    QColor color() const { return color_; }

    // Draws every line control that belongs to `superficie`.
    static void dibujaTodas(QWidget* superficie);

private:
    void cambia();

    QColor color_;
    double x1_, y1_, x2_, y2_;
    QWidget* superficie_;
};

// A command button whose caption wraps onto a second line when it does not fit.
class BotonComando : public QPushButton {
    Q_OBJECT
public:
    explicit BotonComando(const QString& texto, QWidget* padre = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;
};

// A three-state check box that a user only ticks or unticks: the greyed state comes from code
// (a study file), and a click on it ticks the box.
class CasillaTresEstados : public QCheckBox {
    Q_OBJECT
public:
    explicit CasillaTresEstados(const QString& texto, QWidget* padre = nullptr);

protected:
    void nextCheckState() override;
};
