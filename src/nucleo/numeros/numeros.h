#pragma once

#include <QString>
#include <algorithm>
#include <cmath>
#include <utility>

// The two ways a box is read, the general format a number is written back with,
// and the guarded division every drawing and cost routine uses.

// A number in a box is one thing in every locale: "." and "," are both the decimal point,
// and no thousands separator is accepted ("1.234,5" is not a number).

// Strict reading: the whole text (blanks around allowed) must be a number: sign, digits
// with one optional point, optional exponent (E). Error 13 otherwise, error 6 when too large.
double leeEstricto(const QString& texto);
// The same reading of a view, for millions of fields: 0 with `v` set, or the error's number,
// without an exception or an allocation.
int leeEstrictoEn(QStringView texto, double& v);

// A box's number as its user writes it: the strict reading, or else a number grouped in the
// thousands as the user's locale groups them ("1.250,00" is 1250 in Spain, "1,250.00" in the
// United States). Error 13 for anything else: a grouping that does not follow the locale, an
// empty text, letters.
double leeEnCaja(const QString& texto);

// The text of a box as a study file writes it: a number with "." as its point and without
// grouping, whatever the locale; any other text as it stands.
QString comoEnArchivo(const QString& texto);

// Lenient reading: the number the text begins with ("1.234,5" reads 1.234); 0 when none.
// Never fails: a value beyond the double range reads as the largest double.
double leeFlexible(const QString& texto);
double leeFlexible(QStringView texto);

// The lenient reading of our own data (table fields, the Taguchi value of a study file):
// "." is the only point.
double leeDato(QStringView texto);

// A value written into a box: 15 significant digits, no trailing zeros, the locale's
// separator, exponent notation ("1E+15", "1E-05") for very large or small values.
QString formatoGeneral(double valor);

// A number as a file writes it ("12.50"), shown in the user's decimal separator ("12,50" in
// Spain); any other text as it stands.
QString conSeparadorLocal(const QString& texto);

// A value taken from data, for a box: rounded to the coarsest decimal place that moves it by
// less than `resolucion` (a positive size below which nothing matters), then written in the
// general format. So 120.00309812 with a resolution of 1.4e-7 is "120.0030981".
QString formatoConResolucion(double valor, double resolucion);

// A step of 1, 2 or 5 times a power of ten that cuts `tramo` (> 0) into at most `partes` parts,
// as a chart's axis is ticked; and the decimals its labels need ("0.00" for a step of 0.05).
double pasoRedondo(double tramo, int partes);
QString patronDePaso(double paso);

// a / b, but 0 when a or b is 0; error 6 when the quotient is not a finite double.
double div(double a, double b);

// Error 6 when `valor` is not a finite double; returns it otherwise.
double revisa(double valor);

// Writes `valor` by a pattern such as "0.000", "$ 0.00", "0.0 %", "0.0###", "0 ppm":
// "0" a digit, "#" a digit shown only when not a trailing zero, "." the locale's
// separator, "%" multiplies by 100; anything else is written as it stands. Halves
// round away from zero at the last shown digit (after rounding to 15 significant
// digits, so that 2.675 shows as 2.68); no minus sign for a value that rounds to zero.
QString formatea(double valor, const QString& patron);

// A box text by a pattern when it reads strictly as a number; unchanged otherwise.
QString formateaTexto(const QString& texto, const QString& patron);

// A counted loop over doubles, as the drawings and the integration run it: x starts at
// `desde`, a pass runs while x <= hasta (x >= hasta for a negative step), and x grows by
// repeated addition. Ends, rather than spinning for ever, when an addition no longer moves x
// (a zero step, or one lost in the magnitude of x).
template <typename F> void bucleContado(double desde, double hasta, double paso, F&& pasada) {
    for (double x = desde; paso >= 0 ? x <= hasta : x >= hasta;) {
        pasada(x);
        const double siguiente = x + paso;
        if (siguiente == x)
            break;
        x = siguiente;
    }
}

// The passes of that loop that can show in a picture spanning [a, b]: from the last x before it
// to the first x past it, each x exactly the value the whole loop reaches there (the loop's own
// additions up to the picture, unless a million would not reach it: then one multiplication).
// So that a typed value far outside the picture costs nothing, and what shows is unchanged.
template <typename F>
void bucleContadoEn(double desde, double hasta, double paso, double a, double b, F&& pasada) {
    constexpr double kSumasExactas = 1 << 20;
    const double margen = std::fabs(paso);
    const double bajo = std::min(a, b) - margen, alto = std::max(a, b) + margen;
    const bool sube = paso >= 0;
    if (sube ? hasta < bajo : hasta > alto) // it ends before the picture starts
        return;
    double x = desde;
    const double antes = sube ? bajo - x : x - alto; // how far the loop starts before the picture
    if (antes > 0 && margen > 0) {
        const double pasos = std::floor(antes / margen);
        if (pasos > kSumasExactas)
            x += pasos * paso;
        else
            for (double k = 0; k < pasos && x + paso != x; ++k)
                x += paso;
    }
    bucleContado(x, sube ? std::min(hasta, alto) : std::max(hasta, bajo), paso,
                 std::forward<F>(pasada));
}
