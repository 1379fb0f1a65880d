// Draws Lozar's icon, as the cover draws its picture: a loss function with its steps over the
// process distribution, coloured by zone, on the cover's blue. Writes DIR/lozar.svg and
// DIR/lozar-48.png, DIR/lozar-256.png: `lozar_icono DIR`.
#include "../comun/perdida.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <QTextStream>
#include <cmath>

namespace {

constexpr double kLado = 256; // the drawing's own units; every size scales them

// The loss function of a typical study: scrap steps, rework steps and a Taguchi bowl.
double perdida(double x) {
    if (x < 12 || x >= 88)
        return 36;
    if (x < 26 || x >= 74)
        return 20;
    return 6 + 14 * (x - 50) * (x - 50) / (24.0 * 24.0);
}

void dibuja(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF todo(8, 8, kLado - 16, kLado - 16);
    QLinearGradient fondo(0, todo.top(), 0, todo.bottom());
    fondo.setColorAt(0, QColor(16, 42, 84));
    fondo.setColorAt(1, QColor(36, 92, 150));
    p.setPen(Qt::NoPen);
    p.setBrush(fondo);
    p.drawRoundedRect(todo, 40, 40);

    const QRectF area(30, 44, kLado - 60, kLado - 80);
    auto punto = [&](double x, double y) {
        return QPointF(area.left() + area.width() * x / 100,
                       area.bottom() - area.height() * y / 40);
    };
    // The distribution, one filled shape a zone.
    const struct {
        double desde, hasta;
        QColor color;
    } zonas[] = {{0, 12, QColor(235, 80, 70)},
                 {12, 26, QColor(250, 205, 70)},
                 {26, 74, QColor(95, 205, 115)},
                 {74, 88, QColor(250, 205, 70)},
                 {88, 100, QColor(235, 80, 70)}};
    for (const auto& z : zonas) {
        QPainterPath zona(punto(z.desde, 0));
        for (double x = z.desde; x <= z.hasta + 1e-9; x += 0.5)
            zona.lineTo(punto(x, 30 * std::exp(-(x - 50) * (x - 50) / (2 * 15.0 * 15.0))));
        zona.lineTo(punto(z.hasta, 0));
        zona.closeSubpath();
        p.setBrush(z.color);
        p.drawPath(zona);
    }
    // The loss function, in white, with its steps.
    const QPainterPath camino = caminoDePerdida(perdida, punto, 200);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(camino);
    p.setPen(QPen(QColor(255, 255, 255, 170), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(punto(0, 0), punto(100, 0));
}

bool png(const QString& ruta, int lado) {
    QImage img(lado, lado, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.scale(lado / kLado, lado / kLado);
    dibuja(p);
    p.end();
    return img.save(ruta, "PNG");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen"); // a build step: no display needed
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        QTextStream(stderr) << "uso: lozar_icono CARPETA\n";
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    QSvgGenerator svg;
    svg.setFileName(dir + QStringLiteral("lozar.svg"));
    svg.setSize(QSize(int(kLado), int(kLado)));
    svg.setViewBox(QRectF(0, 0, kLado, kLado));
    svg.setTitle(QStringLiteral("Lozar"));
    QPainter p;
    if (!p.begin(&svg))
        return 1;
    dibuja(p);
    p.end();
    return png(dir + QStringLiteral("lozar-48.png"), 48) &&
                   png(dir + QStringLiteral("lozar-256.png"), 256)
               ? 0
               : 1;
}
