#include "estudio/costounitario.h"

#include "numeros/errores.h"
#include "numeros/numeros.h"

QString nombreDeCaja(Caja caja) {
    switch (caja) {
    case Caja::XObj:
        return QStringLiteral("Objetivo");
    case Caja::XRetI:
        return QStringLiteral("Límite Retrabajo Lado Inferior");
    case Caja::XRetS:
        return QStringLiteral("Límite Retrabajo Lado Superior");
    case Caja::XDesI:
        return QStringLiteral("Límite Desperdicio Lado Inferior");
    case Caja::XDesS:
        return QStringLiteral("Límite Desperdicio Lado Superior");
    case Caja::YNomI:
        return QStringLiteral("Nominal Producción Lado Inferior");
    case Caja::YNomS:
        return QStringLiteral("Nominal Producción Lado Superior");
    case Caja::YRetI:
        return QStringLiteral("+ Retrabajo Lado Inferior");
    case Caja::YRetS:
        return QStringLiteral("+ Retrabajo Lado Superior");
    case Caja::YDesI:
        return QStringLiteral("+ Desperdicio Lado Inferior");
    case Caja::YDesS:
        return QStringLiteral("+ Desperdicio Lado Superior");
    case Caja::Media:
        return QStringLiteral("Media");
    case Caja::StdDev:
        return QStringLiteral("Desv. Std.");
    case Caja::xa:
        return QStringLiteral("Valor mínimo de la característica");
    case Caja::xb:
        return QStringLiteral("Valor máximo de la característica");
    case Caja::ya:
        return QStringLiteral("Valor inferior de la escala de Lozar");
    case Caja::yb:
        return QStringLiteral("Valor superior de la escala de Lozar");
    case Caja::txtTitulo:
        return QStringLiteral("Título del estudio");
    case Caja::Sesgo:
        return QStringLiteral("Sesgo");
    case Caja::Curtosis:
        return QStringLiteral("Curtosis");
    case Caja::DesvMedicion:
        return QStringLiteral("Desv. Std. de la medición");
    case Caja::CostoEscape:
        return QStringLiteral("+ Defecto que llega al cliente");
    }
    return QString();
}

double leeNumero(const QString& texto) {
    try {
        return leeEnCaja(texto);
    } catch (const ErrorLozar&) {
        return leeFlexible(texto);
    }
}

double Cajas::estricto(Caja caja) const {
    return leeEnCaja(texto(caja));
}

double Cajas::flexible(Caja caja) const {
    return leeNumero(texto(caja));
}

CajasInstantanea::CajasInstantanea(const Cajas& origen)
    : taguchi_(origen.taguchi()), ajuste_(origen.ajuste()), aceptacion_(origen.aceptacion()) {
    for (int i = 0; i < kCajas; ++i)
        textos_[i] = origen.texto(Caja(i));
}

double CajasInstantanea::estricto(Caja caja) const {
    const int i = int(caja);
    if (estado_[i] == 0) {
        try {
            estrictos_[i] = leeEnCaja(textos_[i]);
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
        flexibles_[i] = leeNumero(textos_[i]);
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

// Squares of differences, not differences of squares: far from 0 these cancel every digit.
double ParabolaA(double h, double k, double x1, double y1) {
    return div((x1 - h) * (x1 - h), (y1 - k) * 4);
}

namespace {
// Quadratic loss from 0 at the target to the side's rework cost at its rework limit.
double terminoTaguchi(const Cajas& c, double x, double nominal, Caja limite, Caja costo) {
    const double obj = c.estricto(Caja::XObj);
    const double p = ParabolaA(obj, nominal, c.estricto(limite), c.flexible(costo) + nominal);
    return div((x - obj) * (x - obj), 4 * p);
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
