// Draws Lozar's cover picture: the title over a stylised loss function with the process
// distribution beneath it. Run under QT_QPA_PLATFORM=offscreen; the argument is the output.
#include "../comun/perdida.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <cmath>

namespace {

constexpr int kAncho = 540, kAlto = 340;

// The loss function of a typical study: scrap steps, rework steps and a Taguchi bowl.
double perdida(double x) {
    if (x < 10 || x >= 90)
        return 35;
    if (x < 20 || x >= 80)
        return 15;
    return 5 + 10 * (x - 50) * (x - 50) / (30.0 * 30.0);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        QTextStream(stderr) << "uso: lozar_caratula SALIDA.JPG\n";
        return 2;
    }
    QImage img(kAncho, kAlto, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient fondo(0, 0, 0, kAlto);
    fondo.setColorAt(0, QColor(16, 42, 84));
    fondo.setColorAt(1, QColor(36, 92, 150));
    p.fillRect(img.rect(), fondo);

    // Plot area.
    const QRectF area(60, 120, 420, 170);
    auto punto = [&](double x, double y) {
        return QPointF(area.left() + area.width() * x / 100,
                       area.bottom() - area.height() * y / 40);
    };
    // The process distribution, filled by zone.
    for (int c = 0; c <= 420; ++c) {
        const double x = c * 100.0 / 420;
        const double e = std::exp(-(x - 52) * (x - 52) / (2 * 12.0 * 12.0));
        QColor zona = (x < 10 || x >= 90)   ? QColor(230, 70, 60)
                      : (x < 20 || x >= 80) ? QColor(245, 200, 60)
                                            : QColor(90, 200, 110);
        zona.setAlpha(170);
        p.setPen(QPen(zona, 1.2));
        p.drawLine(punto(x, 0), punto(x, 34 * e));
    }
    // Limit lines.
    const struct {
        double x;
        QColor c;
    } limites[] = {{10, QColor(255, 90, 80)},
                   {20, QColor(255, 220, 80)},
                   {50, QColor(80, 220, 120)},
                   {80, QColor(255, 220, 80)},
                   {90, QColor(255, 90, 80)}};
    for (const auto& l : limites) {
        p.setPen(QPen(l.c, 1.5, Qt::DashLine));
        p.drawLine(punto(l.x, 0), punto(l.x, 40));
    }
    // The loss function.
    const QPainterPath camino = caminoDePerdida(perdida, punto, 1000);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(camino);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    p.drawLine(area.bottomLeft(), area.bottomRight());

    // Title.
    QFont titulo(QStringLiteral("DejaVu Sans"));
    titulo.setPixelSize(54);
    titulo.setBold(true);
    p.setFont(titulo);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 14, kAncho, 64), Qt::AlignCenter, QStringLiteral("Lozar"));
    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(17);
    p.setFont(sub);
    p.setPen(QColor(210, 228, 250));
    p.drawText(QRectF(0, 76, kAncho, 26), Qt::AlignCenter,
               QStringLiteral("Costo efectivo de la no calidad"));
    QFont pie(QStringLiteral("DejaVu Sans"));
    pie.setPixelSize(11);
    p.setFont(pie);
    p.setPen(QColor(190, 210, 235));
    p.drawText(QRectF(0, kAlto - 26, kAncho - 14, 20), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Función de pérdida · distribución del proceso · Cpk"));
    p.end();
    return img.save(QString::fromLocal8Bit(argv[1]), "JPG", 92) ? 0 : 1;
}
