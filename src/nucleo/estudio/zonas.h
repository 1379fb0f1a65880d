#pragma once

#include "estudio/costounitario.h"

#include <QString>

#include <array>
#include <functional>

class FormaProceso;

// How the production sits against its limits: the one place that says which zone a value is in,
// how much of the production each zone holds, and the capability index Cpk. Every window and
// report takes them from here.

// The five limits in order along the characteristic.
struct Limites {
    double desI, retI, obj, retS, desS;
};

// The limit boxes by the strict reading.
Limites limitesDe(const Cajas& c);

// Scrap below, rework below, inside the rework limits, rework above, scrap above.
enum class Zona {
    DesperdicioInferior,
    RetrabajoInferior,
    Dentro,
    RetrabajoSuperior,
    DesperdicioSuperior
};

// The zone of one value. A value on a scrap limit is scrap (a process without spread that sits
// there is scrapped); one on a rework limit belongs to the region on its right, as its cost does.
Zona zonaDe(double x, const Limites& l);

// The zone of a measured value, by the convention of inspection: a value on a limit conforms to
// it (LSL ≤ x ≤ USL is within the rework limits; XDesI ≤ x ≤ XDesS is not scrap). A process, a
// distribution, puts nothing on a limit, so its shares do not depend on the choice.
Zona zonaDeMedicion(double x, const Limites& l);

// The production beyond each limit: below the two lower ones, above the two upper ones.
struct Colas {
    double bajoDesI, bajoRetI, altoRetS, altoDesS;
    double desperdicio() const { return bajoDesI + altoDesS; }
    double retrabajo() const { return altoRetS + bajoRetI - bajoDesI - altoDesS; }
};

// The tails for a process of mean `mu` and spread `sigma` (not negative): without spread the
// whole production lies in its mean's zone; otherwise `bajo(z)` = P(Z ≤ z) and `alto(z)` =
// P(Z > z) of the standardised distribution give them, z = div(limit − mu, sigma).
Colas colasDe(const Limites& l, double mu, double sigma, const std::function<double(double)>& bajo,
              const std::function<double(double)>& alto);

// The five zones' shares, in Zona's order; they add up to 1.
std::array<double, 5> zonasDe(const Colas& c);

// Cpk against the rework limits: for a normal process the smaller distance from the mean to a
// limit in standard deviations, over 3 (0 when the mean sits on a limit); for a skewed `forma`,
// by percentiles (ISO 22514-2), the tolerance on each side of the median against the distance
// from the median to the 0.135 % or 99.865 % point, a side without spread leaving the other to
// decide. `sigma` must be positive.
double cpkDe(double mu, double sigma, double retI, double retS, const FormaProceso* forma);

// An index as the windows and files show it, "0.00"; "—" for one without bound (a degenerate
// shape with no spread on the side that decides).
QString textoDeIndice(double v);
