#pragma once

#include <QColor>

// Every colour the windows draw with, in one place.

// Colour n (0 to 15) of the 16-colour palette; 12, light red, draws the calculators' curves.
QColor colorDePaleta(int n);

// The study's plot: scrap red, rework yellow, the zone between the rework limits green, the
// target a darker green, the process blue, the cost function black over a grey nominal line.
inline const QColor kRojo{255, 0, 0}, kAmarillo{255, 255, 0}, kVerde{0, 255, 0},
    kVerdeObj{0, 192, 0}, kAzul{0, 0, 255}, kNegro{0, 0, 0}, kGris{191, 191, 191},
    kGrisHistograma{80, 80, 80};
// Rework's yellow where it marks a line on white paper.
inline const QColor kAmarilloOscuro{200, 160, 0};
