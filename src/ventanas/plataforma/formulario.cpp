#include "plataforma/formulario.h"

#include <QApplication>
#include <QBackingStore>
#include <QFontDatabase>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <cmath>

QRect rectTwips(int izquierda, int arriba, int ancho, int alto) {
    return QRect(aPixeles(izquierda), aPixeles(arriba), aPixeles(ancho), aPixeles(alto));
}

void colocaTwips(QWidget* control, int izquierda, int arriba, int ancho, int alto) {
    control->setGeometry(rectTwips(izquierda, arriba, ancho, alto));
}

void subeTwips(QWidget* control, int arriba) {
    control->move(control->x(), aPixeles(arriba));
}

QFont fuenteTahoma(double puntos, bool negrita) {
    // Chosen once: each font-family query goes through fontconfig's alias rules, and the
    // windows ask for dozens of fonts while they are built.
    static const QString familia = [] {
        const QStringList hay = QFontDatabase::families();
        for (const auto* f : {"Tahoma", "Liberation Sans"})
            if (hay.contains(QLatin1String(f)))
                return QString::fromLatin1(f);
        return QStringLiteral("DejaVu Sans");
    }();
    QFont f(familia);
    // Design sizes are points at 96 dots per inch.
    f.setPixelSize(int(std::lround(puntos * 96.0 / 72.0)));
    f.setBold(negrita);
    return f;
}

void fijaFuenteDeLaAplicacion() {
    QApplication::setFont(fuenteTahoma(8.25, false));
}

void preparaVentana(QWidget* ventana) {
    ventana->winId();
    if (QBackingStore* memoria = ventana->backingStore()) {
        memoria->resize(ventana->size());
        memoria->beginPaint(QRegion(ventana->rect()));
        // Touched once, so that the first real paint finds the memory in place.
        QPainter(memoria->paintDevice()).fillRect(ventana->rect(), Qt::white);
        memoria->endPaint();
    }
}

bool pintaVentana(QWidget* ventana, QPaintDevice* pagina) {
    const QPixmap imagen = ventana->grab();
    QPainter p;
    if (!p.begin(pagina))
        return false;
    const QRect area = p.viewport();
    QSize tam = imagen.size();
    tam.scale(area.size(), Qt::KeepAspectRatio);
    p.setViewport(area.x(), area.y(), tam.width(), tam.height());
    p.setWindow(imagen.rect());
    p.drawPixmap(0, 0, imagen);
    return p.end();
}

LineaControl::LineaControl(const QString& nombre, const QColor& color, double x1, double y1,
                           double x2, double y2, QWidget* superficie)
    : QObject(superficie), color_(color), x1_(x1), y1_(y1), x2_(x2), y2_(y2),
      superficie_(superficie) {
    setObjectName(nombre);
}

void LineaControl::cambia() {
    superficie_->update();
}

void LineaControl::dibujaTodas(QWidget* superficie) {
    QPainter p(superficie);
    for (const auto* l :
         superficie->findChildren<LineaControl*>(QString(), Qt::FindDirectChildrenOnly)) {
        p.setPen(QPen(l->color_, 1));
        // Ends far outside the window (a limit far off the plotted range) stay drawable.
        auto px = [](double t) { return std::clamp(t / kTwipsPorPixel, -1e5, 1e5); };
        p.drawLine(QPointF(px(l->x1_), px(l->y1_)), QPointF(px(l->x2_), px(l->y2_)));
    }
}

BotonComando::BotonComando(const QString& texto, QWidget* padre) : QPushButton(texto, padre) {
    setAutoDefault(false);
}

void BotonComando::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton op;
    initStyleOption(&op);
    op.text.clear();
    p.drawControl(QStyle::CE_PushButton, op);
    p.drawText(rect().adjusted(3, 1, -3, -1), Qt::AlignCenter | Qt::TextWordWrap, text());
}

CasillaTresEstados::CasillaTresEstados(const QString& texto, QWidget* padre)
    : QCheckBox(texto, padre) {
    setTristate(true);
}

void CasillaTresEstados::nextCheckState() {
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}
