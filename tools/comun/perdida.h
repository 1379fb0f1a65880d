#pragma once

// What the cover and the icon both draw: a loss function over 0..100 sampled at `pasos` even
// steps, with its steps drawn upright.
#include <QPainterPath>
#include <cmath>

template <typename Perdida, typename Punto>
QPainterPath caminoDePerdida(Perdida perdida, Punto punto, int pasos) {
    const double paso = 100.0 / pasos;
    QPainterPath camino(punto(0, perdida(0)));
    for (int i = 1; i <= pasos; ++i) {
        const double x = 100.0 * i / pasos;
        const double previo = perdida(x - paso);
        if (std::fabs(perdida(x) - previo) > 1) // a step: straight up or down
            camino.lineTo(punto(x, previo));
        camino.lineTo(punto(x, perdida(x)));
    }
    return camino;
}
