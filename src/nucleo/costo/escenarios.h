#pragma once

#include "costo/exacto.h"
#include "costo/medicion.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class FormaProceso;

// What a decision rests on: the process as it is, centred at its optimal mean, with its spread
// reduced, and both, each with its exact cost (exacto.h) and the cost of poor quality it brings.
struct Escenario {
    QString nombre, corto; // the short one names its bar
    double media, sigma;
    CostoExacto costo;
    std::optional<double> cpk; // none without spread
    // With an imperfect gauge: what its decisions do (costo then holds their cost, parteMedicion
    // the gauge's share).
    std::optional<CostoMedicion> medicion;
};

// The four scenarios, `reduccion` the fraction the spread is cut by (0 to below 1); the optimal
// mean is searched for at each spread. A study whose decisions follow an imperfect gauge (see
// conErrorDeMedicion) prices them in each, and adds a fifth: the current process measured
// perfectly, which prices the gauge. ErrorLozar as the study's checks or the search raise it.
QList<Escenario> calculaEscenarios(const Cajas& c, const FormaProceso* forma, double reduccion);

// The good units a year a text gives: nullopt when empty; ErrorLozar for one that is not a
// number, or negative.
std::optional<double> unidadesDe(const QString& texto);

// The comparison as rows of cells, in Spanish with the user's decimal separator, for the window,
// the clipboard and the printer: per good unit, and with `unidades` a year also per year, the
// units scrapped and reworked, the saving against the current process, and where the money goes.
// `indice` names the capability index: "Ppk" when σ is the measurements' overall spread.
QList<QStringList> informeEscenarios(const QList<Escenario>& e, std::optional<double> unidades,
                                     const QString& indice = QStringLiteral("Cpk"));

// The cost of poor quality of each scenario in money: a year's with units, a unit's without;
// HUGE_VAL for one that is all scrap, dearer than any.
QList<double> costosDeEscenarios(const QList<Escenario>& e, std::optional<double> unidades);
