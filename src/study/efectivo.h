#pragma once

#include "study/modelo.h"

#include <QDateTime>

class TablaNormal;

// The result that means 0.995 or more of the production is scrap; compared exactly.
constexpr double kTodoDesperdicio = -999;

// Effective unit cost of a good unit: the unit cost integrated against the normal process
// distribution by intervals of σ/10 centred on μ − 5σ … μ + 5σ, divided by the fraction not
// scrapped. Writes every step to the detail file at `rutaDetalle`, created first. Returns CE
// or kTodoDesperdicio. Throws ErrorLozar (file, boxes, overflow; a negative σ is refused
// before anything is written).
double LozarEfectivo(const Cajas& c, TablaNormal& tabla, double mu, double sigma,
                     const QString& rutaDetalle, const QDateTime& ahora);
