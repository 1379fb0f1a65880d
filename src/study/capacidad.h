#pragma once

#include "study/modelo.h"

#include <QList>
#include <QStringList>
#include <optional>
#include <vector>

class FormaProceso;

// Capability of the study's process with its rework limits as the tolerance (LSL, USL) and
// XObj as target: Cp, Cpk, Cpm from the study's mean and standard deviation (by percentiles
// for a skewed shape), Pp and Ppk from measurements when there are some, and the production
// expected, and observed, in the five zones the limits make.
struct Capacidad {
    std::optional<double> cp, cpk, cpm, pp, ppk;  // none where the spread is 0
    double esperada[5];                           // fractions: below XDesI … above XDesS
    std::optional<std::vector<double>> observada; // the same, counted in the measurements
    std::size_t n = 0;                            // measurements
};

// ErrorLozar for a box the strict reading refuses.
Capacidad calculaCapacidad(const Cajas& c, const FormaProceso* forma,
                           const std::vector<double>* mediciones);

// The report as rows of cells, in Spanish with the user's decimal separator: what the window
// shows, the clipboard receives (tab-separated) and the printer prints.
QList<QStringList> informeCapacidad(const Cajas& c, const FormaProceso* forma,
                                    const Capacidad& cap);
QString comoTexto(const QList<QStringList>& filas);
QString comoHtml(const QList<QStringList>& filas);
