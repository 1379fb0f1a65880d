#include "study/modelo.h"

#include "shell/errores.h"
#include "shell/numeros.h"

double Cajas::estricto(Caja caja) const {
    return leeEstricto(texto(caja));
}

double Cajas::flexible(Caja caja) const {
    return leeFlexible(texto(caja));
}

CajasInstantanea::CajasInstantanea(const Cajas& origen) : taguchi_(origen.taguchi()) {
    for (int i = 0; i < kCajas; ++i)
        textos_[i] = origen.texto(Caja(i));
}

double CajasInstantanea::estricto(Caja caja) const {
    const int i = int(caja);
    if (estado_[i] == 0) {
        try {
            estrictos_[i] = leeEstricto(textos_[i]);
            estado_[i] = 1;
        } catch (const ErrorLozar& e) {
            estado_[i] = e.numero();
        }
    }
    if (estado_[i] != 1)
        throw ErrorLozar(estado_[i]);
    return estrictos_[i];
}

double CajasInstantanea::flexible(Caja caja) const {
    const int i = int(caja);
    if (!hayFlexible_[i]) {
        flexibles_[i] = leeFlexible(textos_[i]);
        hayFlexible_[i] = true;
    }
    return flexibles_[i];
}

double YNominal(const Cajas& c, double x) {
    const double yi = c.flexible(Caja::YNomI), ys = c.flexible(Caja::YNomS);
    const double xa = c.flexible(Caja::xa), xb = c.flexible(Caja::xb);
    const double m = div(ys - yi, xb - xa);
    const double b = yi - xa * m;
    return revisa(m * x + b);
}

double ParabolaA(double h, double k, double x1, double y1) {
    return div(x1 * x1 - 2 * x1 * h + h * h, (y1 - k) * 4);
}

namespace {
// Quadratic loss from 0 at the target to the side's rework cost at its rework limit.
double terminoTaguchi(const Cajas& c, double x, double nominal, Caja limite, Caja costo) {
    const double obj = c.estricto(Caja::XObj);
    const double p = ParabolaA(obj, nominal, c.estricto(limite), c.flexible(costo) + nominal);
    return div(x * x - 2 * x * obj + obj * obj, 4 * p);
}
} // namespace

double Lozar(const Cajas& c, double x) {
    const double nominal = YNominal(c, x);
    double r;
    if (x < c.estricto(Caja::XDesI))
        r = c.flexible(Caja::YDesI) + nominal;
    else if (x < c.estricto(Caja::XRetI))
        r = c.flexible(Caja::YRetI) + nominal;
    else if (x < c.estricto(Caja::XObj))
        r = c.taguchi() == 1 ? nominal + terminoTaguchi(c, x, nominal, Caja::XRetI, Caja::YRetI)
                             : nominal;
    else if (x < c.estricto(Caja::XRetS))
        r = c.taguchi() == 1 ? nominal + terminoTaguchi(c, x, nominal, Caja::XRetS, Caja::YRetS)
                             : nominal;
    else if (x < c.estricto(Caja::XDesS))
        r = c.flexible(Caja::YRetS) + nominal;
    else
        r = c.flexible(Caja::YDesS) + nominal;
    return revisa(r);
}
