#include "numeros/escala.h"

#include <cmath>
#include <limits>

namespace {
// Far-off points stay far off, without overflowing an int.
int aEntero(double v) {
    constexpr double lim = 1 << 24;
    if (!(v > -lim))
        return -int(lim);
    if (v > lim)
        return int(lim);
    return int(std::floor(v));
}
} // namespace

QPoint Escala::aPixel(double x, double y) const {
    const QPointF p = aPixelF(x, y);
    return {aEntero(p.x()), aEntero(p.y())};
}
