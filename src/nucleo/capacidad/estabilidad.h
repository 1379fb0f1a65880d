#pragma once

#include "cartas.h"

#include <QString>

// What a control chart says, in the words the capability report and the chart's window share.

// "I-MR", "X̄–R" or "X̄–S".
QString nombreDeCarta(TipoCarta tipo);

// The report's line: stable or not, the points beyond the limits of both charts against those
// chance alone gives as many points, and the runs.
QString resumenDeEstabilidad(const CartaControl& c);

// The window's verdict: the same, with the points of each chart listed.
QString veredictoDeEstabilidad(const CartaControl& c);

// Points numbered from 1 for the user, runs of consecutive ones joined: "3, 17–24"; the first
// few dozen stretches, and how many points more, so that the list stays readable.
QString listaDePuntos(const std::vector<std::size_t>& puntos);
