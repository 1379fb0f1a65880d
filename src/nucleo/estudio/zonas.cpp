#include "estudio/zonas.h"

#include "estudio/forma.h"
#include "numeros/numeros.h"

#include <algorithm>
#include <cmath>
#include <limits>

Limites limitesDe(const Cajas& c) {
    return {c.estricto(Caja::XDesI), c.estricto(Caja::XRetI), c.estricto(Caja::XObj),
            c.estricto(Caja::XRetS), c.estricto(Caja::XDesS)};
}

Zona zonaDe(double x, const Limites& l) {
    if (x <= l.desI)
        return Zona::DesperdicioInferior;
    if (x >= l.desS)
        return Zona::DesperdicioSuperior;
    if (x < l.retI)
        return Zona::RetrabajoInferior;
    if (x >= l.retS)
        return Zona::RetrabajoSuperior;
    return Zona::Dentro;
}

Zona zonaDeMedicion(double x, const Limites& l) {
    if (x < l.desI)
        return Zona::DesperdicioInferior;
    if (x > l.desS)
        return Zona::DesperdicioSuperior;
    if (x < l.retI)
        return Zona::RetrabajoInferior;
    if (x > l.retS)
        return Zona::RetrabajoSuperior;
    return Zona::Dentro;
}

Colas colasDe(const Limites& l, double mu, double sigma, const std::function<double(double)>& bajo,
              const std::function<double(double)>& alto) {
    if (sigma == 0) {
        // Beyond a limit is every zone on its far side: the tails nest as the zones do.
        const int z = int(zonaDe(mu, l));
        return {
            double(z <= int(Zona::DesperdicioInferior)), double(z <= int(Zona::RetrabajoInferior)),
            double(z >= int(Zona::RetrabajoSuperior)), double(z >= int(Zona::DesperdicioSuperior))};
    }
    auto z = [&](double limite) { return div(limite - mu, sigma); };
    return {bajo(z(l.desI)), bajo(z(l.retI)), alto(z(l.retS)), alto(z(l.desS))};
}

std::array<double, 5> zonasDe(const Colas& c) {
    std::array<double, 5> z{};
    z[0] = c.bajoDesI;
    z[1] = std::max(0.0, c.bajoRetI - c.bajoDesI);
    z[4] = c.altoDesS;
    z[3] = std::max(0.0, c.altoRetS - c.altoDesS);
    z[2] = std::max(0.0, 1 - z[0] - z[1] - z[3] - z[4]);
    return z;
}

namespace {
// One side's index: the room to the limit over the spread on that side. A side without spread
// has no say (its index is unbounded), unless the process sits on or past its limit.
double lado(double holgura, double dispersion) {
    if (dispersion > 0)
        return holgura / dispersion;
    if (holgura > 0)
        return std::numeric_limits<double>::infinity();
    return holgura < 0 ? -std::numeric_limits<double>::infinity() : 0;
}
} // namespace

QString textoDeIndice(double v) {
    return std::isfinite(v) ? formatea(v, QStringLiteral("0.00")) : QStringLiteral("—");
}

double cpkDe(double mu, double sigma, double retI, double retS, const FormaProceso* forma) {
    if (!forma)
        return std::min(div(mu - retI, sigma), div(retS - mu, sigma)) / 3;
    const double med = mu + sigma * forma->mediana();
    return std::min(lado(med - retI, sigma * (forma->mediana() - forma->q00135())),
                    lado(retS - med, sigma * (forma->q99865() - forma->mediana())));
}
