#pragma once

#include "estudio/costounitario.h"
#include "estudio/zonas.h"

#include <QDateTime>
#include <vector>

class FormaProceso;
class TablaNormal;

// The result that means 0.995 or more of the production is scrap; compared exactly.
constexpr double kTodoDesperdicio = -999;

// One integration step: the interval, its probability, the unit cost at its centre, their
// product and the running sum.
struct IntervaloEfectivo {
    double desde, hasta, area, costo, parcial, acumulado;
};

struct ResultadoEfectivo {
    std::vector<IntervaloEfectivo> intervalos; // none for a process without spread
    double noDesperdiciada = 0;                // 1 − D
    double efectivo = kTodoDesperdicio;        // CE, or the marker
    double indice = 0;                         // CE over the nominal cost at the target
    bool todoDesperdicio() const { return efectivo == kTodoDesperdicio; }
};

// Effective unit cost of a good unit: the unit cost integrated against the process
// distribution by intervals of σ/10 centred on μ − 5σ … μ + 5σ, divided by the fraction not
// scrapped. A normal process takes its areas from the normal-area table; a Pearson `forma`
// from its own distribution, over the range its tails need. Touches no file. Throws ErrorLozar
// (boxes, overflow, a negative σ).
ResultadoEfectivo calculaEfectivo(const Cajas& c, TablaNormal& tabla, double mu, double sigma,
                                  const FormaProceso* forma = nullptr);

// The production beyond each limit, as "3. Lozar Efectivo" reports it: a normal process from the
// normal-area table, a skewed one from its own distribution; XObj is not read.
Colas colasDelProceso(const Cajas& c, double mu, double sigma, TablaNormal& tabla,
                      const FormaProceso* forma);

// The detail file of a computation, replaced whole; ErrorLozar when it cannot be written.
// The boxes give the header and must be those the result was computed from, with its μ, σ
// and shape.
void escribeDetalle(const QString& ruta, const Cajas& c, const ResultadoEfectivo& r,
                    const QDateTime& ahora, double mu, double sigma,
                    const FormaProceso* forma = nullptr);

// Throws the error of the detail file at `ruta` when it cannot be written, without touching
// what is there.
void compruebaDetalle(const QString& ruta);

// One effective-cost computation as a click runs it: the detail file created first, then
// the computation, then its lines. Returns CE or kTodoDesperdicio.
double LozarEfectivo(const Cajas& c, TablaNormal& tabla, double mu, double sigma,
                     const QString& rutaDetalle, const QDateTime& ahora,
                     const FormaProceso* forma = nullptr);
