#pragma once

#include "study/modelo.h"

#include <optional>

class FormaProceso;
class TablaNormal;

struct MediaOptima {
    double media;    // the process mean that costs least
    double efectivo; // its effective unit cost
};

// The process mean, between the scrap limits, whose effective cost is least for the spread
// `sigma` and the shape (normal when null): a scan of 2001 means, each local minimum then
// refined to a millionth of the tolerance, and the mean written with the fewest decimals that
// cost no more. No file is written. nullopt when every mean is all
// scrap; ErrorLozar as the effective cost raises it.
std::optional<MediaOptima> buscaMediaOptima(const Cajas& c, TablaNormal& tabla, double sigma,
                                            const FormaProceso* forma);
