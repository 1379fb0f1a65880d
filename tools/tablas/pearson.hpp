#pragma once

#include <functional>
#include <stdexcept>

namespace tablas {

// One point of the Pearson tables: skewness s = c/10 and excess kurtosis k = (2j - 14)/10.
// Whole-number indices keep the type boundaries exact.
struct Celda {
    int c;
    int j;
    long double s() const { return c / 10.0L; }
    long double k() const { return (2 * j - 14) / 10.0L; }
};

constexpr int kColumnas = 21; // c = 0..20, s = 0.0..2.0
constexpr int kFilas = 69;    // j = 0..68, k = -1.4..12.2

// The program's TipoPearson, one place on, behind "no distribution here".
enum class Tipo { Imposible, Normal, I, II, III, IV, V, VI, VII };
const char* nombreTipo(Tipo tipo);

// Pearson's equation f'/f = -(n1 x + q1) / (q0 + q1 x + q2 x^2) for mean 0 and sd 1, every
// coefficient multiplied by 100 so that all of them are integers on the grid. n1 is the
// usual denominator 10 b2 - 12 b1 - 18, which is why nothing divides by it.
struct Ecuacion {
    long long n1, q0, q1, q2;
};
Ecuacion ecuacion(Celda celda);

Tipo elegirTipo(Celda celda);

struct Momentos {
    long double media, varianza, asimetria, curtosis; // curtosis: excess kurtosis
};

struct Ajuste {
    Tipo tipo = Tipo::Imposible;
    std::function<long double(long double)> cuantil; // x with P(X <= x) = p
    // P(X <= x) by a route other than the one cuantil inverts, for the accuracy report.
    std::function<long double(long double)> cdfIndependiente;
    Momentos momentos{}; // analytic moments of the fitted distribution
};

struct FalloAjuste : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Fits the cell with the program's Pearson distributions and checks the fit's four moments;
// throws FalloAjuste if they are off.
Ajuste ajustar(Celda celda);

// a.cuantil(p), checked against the independent CDF: the true quantile must lie within 1e-9.
// Throws FalloAjuste otherwise, so a quantile that disagrees with its own fit never reaches a
// table.
long double cuantilComprobado(const Ajuste& a, Celda celda, long double p);

} // namespace tablas
