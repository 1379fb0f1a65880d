#pragma once

#include "study/modelo.h"

#include <optional>

class FormaProceso;
class TablaNormal;

struct MediaOptima {
    double media;    // the process mean that costs least: the middle of `desde`..`hasta`
    double efectivo; // its effective unit cost
    // The means that cost as little (within a millionth of a millionth of the cost, which no
    // display shows): a single point where the least cost is reached at one mean only.
    double desde, hasta;
    bool plano() const { return hasta > desde; }
};

// The process mean, between the scrap limits, whose effective cost is least for the spread
// `sigma` and the shape (normal when null): a scan of 2001 means, each local minimum then
// refined to a millionth of the tolerance, and the mean written with the fewest decimals that
// cost no more. Where the least cost holds over a range of means, the range, its ends refined as
// finely, and its middle: a choice that a tiny change of the spread cannot move. No file is
// written. nullopt when every mean is all scrap; ErrorLozar as the effective cost raises it.
std::optional<MediaOptima> buscaMediaOptima(const Cajas& c, TablaNormal& tabla, double sigma,
                                            const FormaProceso* forma);
