#pragma once

#include "estudio/costounitario.h"

#include <optional>

class FormaProceso;

struct MediaOptima {
    double media;    // the process mean that costs least: the middle of `desde`..`hasta`
    double efectivo; // its exact effective unit cost (exacto.h)
    // The means that cost as little (within a millionth of a millionth of the cost, which no
    // display shows): a single point where the least cost is reached at one mean only.
    double desde, hasta;
    bool plano() const { return hasta > desde; }
};

// The process mean, between the scrap limits, whose exact effective cost is least for the spread
// `sigma` and the shape (normal when null): a scan of 201 means, each local minimum then found
// to a billionth of the tolerance or better (where σ > 0, as the root of the cost's slope).
// Where the least cost holds over a range of means, the range, its ends found as finely, and its
// middle: a choice that a tiny change of the spread cannot move. No file is written. nullopt
// when every mean is all scrap; ErrorLozar for limits out of order, or as the cost raises it.
std::optional<MediaOptima> buscaMediaOptima(const Cajas& c, double sigma,
                                            const FormaProceso* forma);
