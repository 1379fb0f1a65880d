#pragma once

#include "pearson.hpp"

#include <array>
#include <string>

namespace tablas {

// Kvacnt.tbq: 43 records of a 4-character label, ten 8-character fields, blanks to 92, CR LF.
constexpr int kRegistrosNormal = 43;
constexpr int kLargoNormal = 94;
constexpr int kCamposNormal = 10;
// Records 1..40 hold A(z) = Phi(z) - 1/2 in steps of 0.01; 41..43 hold the far tail,
// (A(z) - 0.4999) * 10000, in steps of 0.1.
constexpr int kRegistrosCentrales = 40;

// Numerator of z in hundredths for record r (1-based) and column d.
int zCentesimas(int registro, int columna);

// kvtab*.tbq: 69 records of a 5-character label, 21 six-character fields, CR LF.
constexpr int kLargoPearson = 133;

using Rejilla = std::array<std::array<long double, kColumnas>, kFilas>; // [j][c]; NaN = blank

// Text of round(v * 10^decimales) / 10^decimales right-justified in `ancho` characters.
// Throws std::range_error if it does not fit.
std::string fijo(long long unidades, int decimales, int ancho);

std::string tablaNormal();
std::string tablaPearson(const Rejilla& valores);

// The tolerant reading the program does: blanks, then sign, digits, '.', digits. NaN if blank.
long double leerCampo(const std::string& texto);

} // namespace tablas
