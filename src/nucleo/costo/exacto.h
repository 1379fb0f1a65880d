#pragma once

#include "estudio/costounitario.h"

class FormaProceso;

// The effective cost of a good unit as the expectation itself, without the midpoint steps of
// "3. Lozar Efectivo": the whole expected cost of production, E[Lozar(X)], charged to the units
// that are not scrapped, E[Lozar(X)] / (1 − D). The cost's steps are worked out as differences of
// the distribution's CDF at the limits, the nominal line by the mean, and the Taguchi quadratic
// by partial moments, in closed form for the normal and for every Pearson shape (the mass from
// its tails, the moments from it and from the density at the limits). Smooth in the mean wherever
// σ > 0, so that an optimum can be searched for on it.
struct CostoExacto {
    double efectivo = 0;    // E[Lozar(X)] / (1 − D), or kTodoDesperdicio
    double nominal = 0;     // the nominal cost at the target, N
    double desperdicio = 0; // D, the scrap fraction
    double retrabajo = 0;   // the rework fraction
    // The cost of poor quality of a good unit, efectivo − N, in its three sources: scrap (its
    // extra cost, and the nominal cost of the units thrown away), rework, and being off target
    // (the Taguchi loss, and the nominal line's slope between the mean and the target).
    double parteDesperdicio = 0, parteRetrabajo = 0, parteFueraDeObjetivo = 0;
    // And, where decisions follow an imperfect gauge (medicion.h), what its errors add.
    double parteMedicion = 0;
    // d efectivo / d mean, where asked for and σ > 0: the optimum is where it changes sign.
    double derivada = 0;

    bool todoDesperdicio() const;
    double noCalidad() const { return efectivo - nominal; }
};

// For the study's limits and costs (limits in order: checked by the caller, as every analysis
// does), a mean and a spread (σ = 0: all of the production at the mean, in its zone) and a
// shape (normal when null). The marker kTodoDesperdicio when 0.995 or more is scrap, as in the
// Part's computation. ErrorLozar for a box the strict reading refuses, or an overflow.
CostoExacto costoExacto(const Cajas& c, double mu, double sigma, const FormaProceso* forma,
                        bool conDerivada = false);
