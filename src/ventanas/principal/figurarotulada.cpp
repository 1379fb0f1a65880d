#include "principal/figurarotulada.h"

#include "estudio/zonas.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/paleta.h"
#include "plataforma/picturebox.h"
#include "principal/lozarform.h"

#include <QLineEdit>
#include <QPainter>
#include <cmath>

namespace {
// Room around the picture: the title, the cost numbers, the characteristic's numbers and the
// limits' two staggered rows of names.
constexpr double kIzquierda = 72, kDerecha = 24, kArriba = 34, kAbajo = 86;

// The values of round steps within [a, b] (in either order).
template <typename F> void marcas(double a, double b, int partes, F&& cada) {
    const double bajo = std::min(a, b), alto = std::max(a, b);
    if (!(alto > bajo) || !std::isfinite(alto - bajo))
        return;
    const double paso = pasoRedondo(alto - bajo, partes);
    const QString patron = patronDePaso(paso);
    for (double k = std::ceil(bajo / paso - 1e-9); k * paso <= alto + paso * 1e-9; ++k)
        cada(k * paso, formatea(k * paso, patron));
}

// The limits by name and value below the characteristic's axis, in two rows so that close ones
// do not overlap.
template <typename A>
void rotulaLimites(QPainter& p, const QRectF& grafico, const LozarForm& f, A&& aX) {
    const std::array<LimiteRotulado, 5> limites = limitesRotulados(limitesDe(f));
    for (int i = 0; i < 5; ++i) {
        const double x = aX(limites[i].valor);
        if (x < grafico.left() - 1 || x > grafico.right() + 1)
            continue;
        const double y = grafico.bottom() + 22 + (i % 2) * 30;
        p.setPen(QPen(limites[i].color, 1, Qt::DotLine));
        p.drawLine(QPointF(x, grafico.bottom()), QPointF(x, y));
        p.setPen(kNegro);
        // Its kind (the side shows where it stands) over its value.
        p.drawText(QRectF(x - 50, y, 100, 28), Qt::AlignHCenter | Qt::AlignTop,
                   limites[i].nombre.section(QLatin1Char(' '), 0, 0) + QLatin1Char('\n') +
                       formatoGeneral(limites[i].valor));
    }
}
} // namespace

std::array<LimiteRotulado, 5> limitesRotulados(const Limites& l) {
    return {{{l.desI, QStringLiteral("Desperdicio inferior"), kRojo},
             {l.retI, QStringLiteral("Retrabajo inferior"), kAmarilloOscuro},
             {l.obj, QStringLiteral("Objetivo"), kVerdeObj},
             {l.retS, QStringLiteral("Retrabajo superior"), kAmarilloOscuro},
             {l.desS, QStringLiteral("Desperdicio superior"), kRojo}}};
}

QSize tamanoFiguraRotulada(const LozarForm& f) {
    const QSize pic = f.Pic1->contentsRect().size();
    return {int(pic.width() + kIzquierda + kDerecha), int(pic.height() + kArriba + kAbajo)};
}

void dibujaFiguraRotulada(QPainter& p, const QRectF& area, const LozarForm& f) {
    p.save();
    p.fillRect(area, Qt::white);
    const QRectF grafico = area.adjusted(kIzquierda, kArriba, -kDerecha, -kAbajo);
    p.drawImage(grafico, f.Pic1->imagen());
    p.setPen(QPen(kNegro, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(grafico);

    QFont fuente = p.font();
    fuente.setPixelSize(15);
    fuente.setBold(true);
    p.setFont(fuente);
    p.drawText(QRectF(area.left(), area.top(), area.width(), kArriba), Qt::AlignCenter,
               f.txtTitulo->text());
    fuente.setBold(false);
    fuente.setPixelSize(10);
    p.setFont(fuente);

    // The picture spans xa to xb across and ya (bottom) to yb (top), as the boxes say.
    try {
        const double xa = f.estricto(Caja::xa), xb = f.estricto(Caja::xb),
                     ya = f.estricto(Caja::ya), yb = f.estricto(Caja::yb);
        auto aX = [&](double x) { return grafico.left() + (x - xa) / (xb - xa) * grafico.width(); };
        auto aY = [&](double y) {
            return grafico.bottom() - (y - ya) / (yb - ya) * grafico.height();
        };
        marcas(ya, yb, 8, [&](double v, const QString& t) {
            const double y = aY(v);
            p.drawLine(QPointF(grafico.left() - 4, y), QPointF(grafico.left(), y));
            p.drawText(QRectF(area.left(), y - 8, kIzquierda - 8, 16),
                       Qt::AlignRight | Qt::AlignVCenter, t);
        });
        marcas(xa, xb, 10, [&](double v, const QString& t) {
            const double x = aX(v);
            p.drawLine(QPointF(x, grafico.bottom()), QPointF(x, grafico.bottom() + 4));
            p.drawText(QRectF(x - 40, grafico.bottom() + 5, 80, 14), Qt::AlignCenter, t);
        });
        rotulaLimites(p, grafico, f, aX);
    } catch (const ErrorLozar&) {
        // a scale not written yet: the picture is blank too
    }
    p.save();
    p.translate(area.left() + 12, grafico.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-grafico.height() / 2, -8, grafico.height(), 16), Qt::AlignCenter,
               QStringLiteral("Costo por unidad"));
    p.restore();

    p.restore();
}
