#include "plataforma/picturebox.h"

#include "plataforma/exporta.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    fondo_ = palette().color(QPalette::Base);
    color_ = palette().color(QPalette::Text);
    relleno_ = color_;
    setAttribute(Qt::WA_OpaquePaintEvent);
    imagen_ = QImage(1, 1, QImage::Format_RGB32);
    imagen_.fill(fondo_);
    anchoEsc_ = 1;
    altoEsc_ = 1;
}

void PictureBox::fijaEscala(double izquierda, double arriba, double ancho, double alto) {
    izq_ = izquierda;
    arr_ = arriba;
    anchoEsc_ = ancho;
    altoEsc_ = alto;
}

Escala PictureBox::escala() const {
    ajusta();
    return Escala(izq_, arr_, anchoEsc_, altoEsc_, imagen_.size());
}

void PictureBox::trazo(QPointF a, QPointF b, const QColor& c) {
    ++trazos_;
    // Fitting the image to the widget replaces it: before a painter holds it, never under one.
    const Escala e = escala();
    QPainter p(&imagen_);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Widths and dashes are in screen pixels; the image holds device pixels.
    const int ancho = std::max(1, int(std::lround(ancho_ * dpr_)));
    QPen pen(c, ancho, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    if (estilo_ == EstiloTrazo::Discontinuo)
        pen.setDashPattern({6.0 * dpr_ / ancho, 4.0 * dpr_ / ancho});
    p.setPen(pen);
    // Far-off ends are cut to a large frame first: the painter copes badly with huge values.
    const QRectF marco(-1e5, -1e5, 2e5 + imagen_.width(), 2e5 + imagen_.height());
    auto acota = [&](QPointF q) {
        return QPointF(qBound(marco.left(), q.x(), marco.right()),
                       qBound(marco.top(), q.y(), marco.bottom()));
    };
    const QPoint pa = e.aPixel(a.x(), a.y()), pb = e.aPixel(b.x(), b.y());
    if (pa == pb)
        p.drawPoint(pa);
    else if (marco.contains(pa) && marco.contains(pb))
        p.drawLine(pa, pb);
    else
        p.drawLine(acota(e.aPixelF(a.x(), a.y())), acota(e.aPixelF(b.x(), b.y())));
    update();
}

void PictureBox::punto(float x, float y, const QColor& c) {
    trazo({x, y}, {x, y}, c);
    actual_ = {x, y};
}

void PictureBox::linea(float x1, float y1, float x2, float y2, const QColor& c) {
    trazo({x1, y1}, {x2, y2}, c);
    actual_ = {x2, y2};
}

void PictureBox::lineaA(float x, float y, const QColor& c) {
    trazo(actual_, {x, y}, c);
    actual_ = {x, y};
}

void PictureBox::borra() {
    ajusta();
    imagen_.fill(fondo_);
    actual_ = {0, 0};
    trazos_ = 0;
    update();
}

bool PictureBox::rellena(QPoint semilla) {
    ajusta();
    const int w = imagen_.width(), h = imagen_.height();
    if (semilla.x() < 0 || semilla.y() < 0 || semilla.x() >= w || semilla.y() >= h)
        return false;
    const QRgb borde = color_.rgb() | 0xff000000u;
    const QRgb relleno = relleno_.rgb() | 0xff000000u;
    // Rows straight from the image's memory: a fill touches every pixel of its region.
    uchar* bits = imagen_.bits();
    const qsizetype porFila = imagen_.bytesPerLine();
    auto fila = [&](int y) { return reinterpret_cast<QRgb*>(bits + y * porFila); };
    auto esBorde = [&](const QRgb* f, int x) { return (f[x] | 0xff000000u) == borde; };
    if (esBorde(fila(semilla.y()), semilla.x()))
        return false;
    // Scanline fill over a visited map, so a fill colour already present inside the
    // region neither stops nor loops the fill.
    std::vector<char> visto(std::size_t(w) * std::size_t(h), 0);
    std::vector<QPoint> pila{semilla};
    while (!pila.empty()) {
        const QPoint q = pila.back();
        pila.pop_back();
        int x = q.x();
        const int y = q.y();
        QRgb* f = fila(y);
        char* v = visto.data() + std::size_t(y) * std::size_t(w);
        if (v[x] || esBorde(f, x))
            continue;
        while (x > 0 && !v[x - 1] && !esBorde(f, x - 1))
            --x;
        bool arriba = false, abajo = false;
        for (; x < w && !v[x] && !esBorde(f, x); ++x) {
            v[x] = 1;
            f[x] = relleno;
            for (int dy : {-1, 1}) {
                const int ny = y + dy;
                bool& marcado = dy < 0 ? arriba : abajo;
                if (ny < 0 || ny >= h)
                    continue;
                const bool libre = !visto[std::size_t(ny) * std::size_t(w) + std::size_t(x)] &&
                                   !esBorde(fila(ny), x);
                if (libre && !marcado)
                    pila.push_back({x, ny});
                marcado = libre;
            }
        }
    }
    update();
    return true;
}

void PictureBox::exporta(const QString& ruta) const {
    ajusta();
    const QImage imagen = imagen_;
    const QSize pantalla = contentsRect().size();
    ::exporta(
        ruta, pantalla,
        [&](QPainter& p) { p.drawImage(QRectF(QPointF(0, 0), QSizeF(pantalla)), imagen); }, dpr_);
}

void PictureBox::paintEvent(QPaintEvent* e) {
    ajusta();
    QPainter p(this);
    // One image pixel to one device pixel.
    p.drawImage(QRectF(contentsRect().topLeft(), QSizeF(imagen_.size()) / dpr_), imagen_);
    p.end();
    QFrame::paintEvent(e);
}

void PictureBox::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    ajusta();
}

void PictureBox::ajusta() const {
    // The image has the device's pixels, so that drawings stay crisp on a scaled screen.
    const qreal dpr = devicePixelRatioF();
    const QSize tam = (QSizeF(contentsRect().size()) * dpr).toSize().expandedTo(QSize(1, 1));
    if (tam == imagen_.size() && dpr == dpr_)
        return;
    QImage nueva(tam, QImage::Format_RGB32);
    nueva.fill(fondo_);
    QPainter p(&nueva);
    // Moved to a screen of another scale, what was drawn keeps its place and colours.
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(imagen_.size()) * (dpr / dpr_)), imagen_);
    p.end();
    imagen_ = nueva;
    dpr_ = dpr;
}

void PictureBox::mousePressEvent(QMouseEvent* e) {
    ajusta(); // the image, and with it dpr_, follows the screen first
    const QPointF local = (e->position() - contentsRect().topLeft()) * dpr_;
    const QPointF s = escala().aEscala(local);
    emit ratonAbajo(e->button(), e->modifiers(), s.x(), s.y());
}
