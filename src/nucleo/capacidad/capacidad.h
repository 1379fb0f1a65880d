#pragma once

#include "cartas.h"
#include "estudio/costounitario.h"
#include "indices.h"

#include <QList>
#include <QStringList>
#include <optional>
#include <vector>

class FormaProceso;
class Progreso;

// Capability of the study's process with its rework limits as the tolerance (LSL, USL) and
// XObj as target, and the production expected, and observed, in the five zones the limits make.
// Without measurements, Cp, Cpk and Cpm come from the study's mean and standard deviation (by
// percentiles for a skewed shape). With them, as the common packages compute it: Cp and Cpk
// from the spread within (the average moving range of the values in their order, or the pooled
// deviation of their subgroups; none for a skewed shape, whose percentiles are the whole
// sample's), Pp, Ppk and Cpm from all the data (Cpm from the mean square deviation from the
// target), each with its confidence interval (normal indices only), the Anderson–Darling test of
// normality, and whether the process was stable while measured (the individuals chart, or the
// chart of subgroup means).
struct Capacidad {
    std::optional<double> cp, cpk, cpm, pp, ppk;  // none where the spread is 0
    double esperada[5];                           // fractions: below XDesI … above XDesS
    std::optional<std::vector<double>> observada; // the same, counted in the measurements
    std::size_t n = 0;                            // measurements
    // With measurements:
    double media = 0, sigmaDentro = 0, sigmaTotal = 0;
    double gradosDentro = 0;   // the σ within's degrees of freedom, for its indices' intervals
    std::size_t subgrupos = 0; // 0: individual values
    double confianza = 0.95;
    std::optional<Intervalo> icCp, icCpk, icCpm, icPp, icPpk;
    std::optional<PruebaNormalidad> normalidad;
    std::optional<CartaControl> estabilidad; // of the values, or of the subgroups
    // Fractions below the lower and above the upper rework limit, expected from the spread
    // within and the overall one (none for a skewed shape's within), and observed.
    struct FueraDeTolerancia {
        double debajo = 0, encima = 0;
        double total() const { return debajo + encima; }
    };
    std::optional<FueraDeTolerancia> fueraDentro, fueraTotal, fueraObservado;
};

// `subgrupos`, when given, numbers each measurement's subgroup (as long as `mediciones`);
// `confianza` is the intervals' level; `progreso` hears how far it got, and may cancel (10⁷
// measurements take seconds). ErrorLozar for a box the strict reading refuses.
Capacidad calculaCapacidad(const Cajas& c, const FormaProceso* forma,
                           const std::vector<double>* mediciones,
                           const std::vector<int>* subgrupos = nullptr, double confianza = 0.95,
                           Progreso* progreso = nullptr);

// The intervals anew at another level, the rest as it was computed: no measurement read again.
void cambiaConfianza(Capacidad& cap, const Cajas& c, const FormaProceso* forma, double confianza);

// The measurements gathered by subgroup, in the order each subgroup first appears; none when no
// subgroup holds two values, for then they are individual values.
std::vector<std::vector<double>> agrupa(const std::vector<double>& valores,
                                        const std::vector<int>& subgrupo);

// The report as rows of cells, in Spanish with the user's decimal separator: what the window
// shows, the clipboard receives (tab-separated) and the printer prints.
QList<QStringList> informeCapacidad(const Cajas& c, const FormaProceso* forma,
                                    const Capacidad& cap);
QString comoTexto(const QList<QStringList>& filas);

// The capability index a study shows, by one name everywhere: "Ppk" when Desv. Std. is the
// overall spread of its `mediciones` values, `sigmaMediciones` (as taking them writes it into the
// box), or a distribution fitted to them; "Cpk" for a typed σ.
QString nombreDeIndice(const Cajas& c, std::size_t mediciones, double sigmaMediciones);
QString comoHtml(const QList<QStringList>& filas);
