#pragma once

// A crossed gage R&R study: every operator measures every piece the same number of times, and
// the spread of the measurements splits into the instrument's (repeatability), the operators'
// (reproducibility) and the pieces' own. Two methods: the two-factor random-effects ANOVA, as
// the common statistics packages compute it, and the Average and Range method of the AIAG
// Measurement Systems Analysis manual (4th edition). Pure routines over doubles, without Qt.

#include <limits>
#include <string>
#include <vector>

// One measurement; the ids are arbitrary and the rows may come in any order.
struct MedicionGage {
    int pieza;
    int operador;
    double valor;
};

struct ComponenteGage {
    double varianza = 0, sigma = 0;
    double variacion = 0;       // the study variation, 6σ
    double pctContribucion = 0; // 100 · varianza / the total's varianza
    double pctVariacion = 0;    // 100 · σ / the total's σ
    double pctTolerancia = std::numeric_limits<double>::quiet_NaN(); // 100 · 6σ / tolerance
};

// gl degrees of freedom, sc sum of squares, cm mean square; the total row has no cm, F or p.
struct FilaAnova {
    double gl = 0, sc = 0, cm = 0;
    double f = std::numeric_limits<double>::quiet_NaN(),
           p = std::numeric_limits<double>::quiet_NaN();
};

struct EstudioGage {
    int piezas = 0, operadores = 0, ensayos = 0;
    // ANOVA only. Pooled, `anovaInteraccion` keeps the full model's row that justified it, while
    // `anovaRepetibilidad` holds the pooled error and the F of piece and operator are against it.
    FilaAnova anovaPieza, anovaOperador, anovaInteraccion, anovaRepetibilidad, anovaTotal;
    bool interaccionAgrupada = false;
    double pInteraccion = std::numeric_limits<double>::quiet_NaN();
    // Reproducibility = operator + interaction; grr = repeatability + reproducibility; total =
    // grr + parte, as variances.
    ComponenteGage repetibilidad, reproducibilidad, operador, interaccion, grr, parte, total;
    // floor(1.41 · σparte / σgrr), at least 1; INT_MAX when the gage has no error at all.
    int categorias = 0;
};

// Both throw std::invalid_argument, with a message for the user, for fewer than 2 pieces, 2
// operators or 2 trials, a missing or uneven piece × operator cell, or a value not finite. A
// tolerance that is not a positive finite number leaves pctTolerancia NaN.

// The interaction is pooled into repeatability when its p-value exceeds `alfaInteraccion`
// (Minitab's rule, 0.05 by default); negative variance estimates count as 0.
EstudioGage gageAnova(const std::vector<MedicionGage>& m,
                      double tolerancia = std::numeric_limits<double>::quiet_NaN(),
                      double alfaInteraccion = 0.05);

// The manual's constants are tabulated for 2–3 trials, 2–3 operators and 2–10 pieces only;
// outside them it throws as well. AV goes into `reproducibilidad` and `operador`, and the
// percentages of variation are of TV; pctContribucion is their square, as some reports show it.
EstudioGage gageMediasRangos(const std::vector<MedicionGage>& m,
                             double tolerancia = std::numeric_limits<double>::quiet_NaN());

// The measurements of three columns of a table, each distinct piece and operator text numbered
// in the order it first appears. Throws std::invalid_argument when the columns' lengths differ.
std::vector<MedicionGage> gageDeColumnas(const std::vector<std::string>& piezas,
                                         const std::vector<std::string>& operadores,
                                         const std::vector<double>& valores);
