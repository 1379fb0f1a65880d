#pragma once

#include "gage.h"

#include <QList>
#include <QStringList>
#include <vector>

class TablaMediciones;

// A gage study as a table brings it: a column for the piece, one for the operator, one for the
// value, in any order and any row order.
struct ColumnasGage {
    int pieza = -1, operador = -1, valor = -1; // -1 where no column's name says which
};
// The columns by their names ("Pieza", "Parte", "Operador", "Evaluador", "Valor", "Medición" and
// their English names), as the common packages' worksheets name them.
ColumnasGage columnasGage(const QStringList& nombres);
// ErrorLozar saying what is wrong: a value that is not a number, an uneven study.
std::vector<MedicionGage> medicionesGage(const TablaMediciones& t, const ColumnasGage& c);

// The study by either method, or ErrorLozar with the reason it cannot be computed.
EstudioGage estudioGage(const std::vector<MedicionGage>& m, bool anova, double tolerancia);

// The report as rows of cells: the ANOVA table (by that method), the variance components with
// their percentages of contribution, of study variation (6σ) and of the tolerance, the number of
// distinct categories, and the verdict by the usual 10 % and 30 % of study variation.
QList<QStringList> informeGage(const EstudioGage& g, bool anova, const QString& origen);
