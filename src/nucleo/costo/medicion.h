#pragma once

#include "estudio/costounitario.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class FormaProceso;

// What measurement error costs. Every decision (scrap, rework, ship) is made on the measured
// value Y = X + E, X the true value of the process and E ~ Normal(0, σm) independent of it: a
// good unit may be thrown away or reworked for nothing, a bad one shipped.

// The acceptance limits on the measured value: scrap below desI or above desS, rework between
// desI and retI or between retS and desS, ship between retI and retS.
struct Aceptacion {
    double desI, retI, retS, desS;
};

// The study's own limits, XDesI, XRetI, XRetS and XDesS, by the strict reading.
Aceptacion aceptacionDeLimites(const Cajas& c);

// The study's decision limits: those it was given (Cajas::aceptacion) or its own limits.
Aceptacion aceptacionDe(const Cajas& c);
// The four limits as the study file keeps them, with points: "12.5;20;80;87.5"; and back, or
// ErrorLozar 5 for a text that is not four numbers in order.
QString textoDeAceptacion(const Aceptacion& a);
Aceptacion leeAceptacion(const QString& texto);

// The gauge of the study, DesvMedicion and CostoEscape (empty boxes 0), strictly read.
struct Instrumento {
    double sigma = 0, escape = 0;
};
Instrumento instrumentoDe(const Cajas& c);
// Whether the study's decisions can go wrong: a gauge with error, or decision limits of its own.
bool conErrorDeMedicion(const Cajas& c);

struct CostoMedicion {
    // E[cost] / (1 − scrap), or kTodoDesperdicio when 0.995 or more is scrap.
    double efectivo = 0;
    // Fractions scrapped (decided so, or reworked in vain: truly beyond the scrap limits) and
    // decided rework.
    double desperdicio = 0, retrabajo = 0;
    // Fractions of the production: good units (true value within the rework limits) decided
    // scrap, and decided rework; bad units (true value beyond the scrap limits) shipped; units
    // truly in a rework zone shipped.
    double buenasDesechadas = 0, buenasRetrabajadas = 0, malasEnviadas = 0, retrabajoEnviado = 0;
    // What those mistakes cost per good unit delivered, in efectivo's money: the nominal and scrap
    // cost of the good units thrown away, the rework cost spent on good units, the escape cost of
    // the bad units shipped.
    double costoBuenasDesechadas = 0, costoBuenasRetrabajadas = 0, costoMalasEnviadas = 0;
};

// The effective cost when decisions follow the measured value: a unit decided scrap costs its
// nominal plus its side's scrap cost, one decided rework its nominal plus its side's rework cost
// (and, truly beyond the scrap limits, which no rework mends, its true side's scrap cost too, and
// it is not delivered), and one shipped its own true value's cost (Lozar) plus `costoEscape` when
// it is truly beyond the scrap limits. A perfect gauge (σm = 0) at the study's limits gives
// costoExacto exactly. Limits in order, checked by the caller. ErrorLozar 5 for σm negative or not
// finite, or an escape cost that is not finite.
CostoMedicion costoConMedicion(const Cajas& c, double mu, double sigma, const FormaProceso* forma,
                               double sigmaMedicion, double costoEscape, const Aceptacion& a);

// What the study's own gauge and decision limits make it cost (costoConMedicion with them);
// none when its decisions cannot go wrong, and costoExacto is the whole of it.
std::optional<CostoMedicion> costoMedidoDe(const Cajas& c, double mu, double sigma,
                                           const FormaProceso* forma);

// The acceptance limits (desI ≤ retI ≤ retS ≤ desS; a rework band may close) with the least
// effective cost, from the study's own: never dearer than them. None when the study's limits
// already scrap everything.
std::optional<Aceptacion> aceptacionOptima(const Cajas& c, double mu, double sigma,
                                           const FormaProceso* forma, double sigmaMedicion,
                                           double costoEscape);

// The guard bands as rows of cells: the study's limits, its current decision limits and the best
// ones side by side, then what each set costs per good unit (and a year, with `unidades`) and the
// gauge's mistakes it makes.
QList<QStringList> informeAceptacion(const Cajas& c, double mu, double sigma,
                                     const FormaProceso* forma, const Aceptacion& optima,
                                     std::optional<double> unidades);
