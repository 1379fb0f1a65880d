#pragma once

#include "estudio/costounitario.h"
#include "estudio/zonas.h"

#include <QObject>
#include <QString>
#include <memory>

class FormaProceso;

// The study: its inputs as typed or read (the texts of the boxes and the Taguchi state), the
// checks they must pass, and the one signal that says any of them changed. Windows write into it
// and read from it; every result they show is computed from it by the core's one routine for
// that result (zonas.h, efectivo.h, capacidad.h, optimo.h), so that a change of any input can
// clear every result at once and none stays on screen stale.
class ModeloEstudio : public QObject, public Cajas {
    Q_OBJECT
public:
    enum Resultado { Cpk = 1, Efectivo = 2 };

    explicit ModeloEstudio(QObject* padre = nullptr);

    QString texto(Caja c) const override { return textos_[int(c)]; }
    int taguchi() const override { return taguchi_; }

    // An input changes; cambiado() and caducado() follow when it differs from what the study
    // held.
    void fijaTexto(Caja c, const QString& texto);
    void fijaTaguchi(int estado);
    // The good units delivered in a year, as typed in the scenarios ("" when not given): what a
    // unit's cost of poor quality becomes in money a year. Saved with the study; no result of
    // the main window depends on it.
    QString unidades() const { return unidades_; }
    void fijaUnidades(const QString& texto);
    // The distribution fitted to the measurements that describes the process (see
    // textoDeAjuste; "" for none).
    QString ajuste() const override { return ajuste_; }
    void fijaAjuste(const QString& texto);
    // The decision limits on the measured value (see textoDeAceptacion; "" the study's limits).
    QString aceptacion() const override { return aceptacion_; }
    void fijaAceptacion(const QString& texto);

    // The process shape (null for a normal one); see formaDe.
    std::shared_ptr<const FormaProceso> forma() const;

    // What a path reads of the study, for the one check every path passes before it computes,
    // draws or prints a number.
    enum Necesita {
        CajasLimites = 1, // the five limits, in their order
        CajasCostos = 2,  // the six costs and the ends of the nominal line, xa and xb
        CajasEscala = 4,  // the picture's ranges, xa, xb, ya and yb
        CajaMedia = 8,
        CajaDispersion = 16,  // σ, not negative, and the shape
        SigmaCalculable = 32, // σ an integration can tell from 0 beside the mean
        ConTolerancia = 64,   // rework limits apart
        CajasMedicion = 128,  // the gauge's error (not negative) and the escape's cost, if given
        // "1. Función Lozar" (it marks the mean), then "2." and a click on the picture, "3.",
        // and what needs a tolerance: "4.", capability, optimum, scenarios.
        ParaFuncion = CajasLimites | CajasCostos | CajasEscala | CajaMedia,
        ParaDistribucion = ParaFuncion | CajaDispersion,
        ParaCosto = CajasLimites | CajasCostos | CajaMedia | CajaDispersion | SigmaCalculable,
        ParaAnalisis = ParaCosto | ConTolerancia | CajasMedicion,
        ParaCapacidad = CajasLimites | CajaMedia | CajaDispersion | SigmaCalculable | ConTolerancia,
        // The report draws the picture and prints every result.
        ParaInforme = ParaCosto | CajasEscala | CajasMedicion,
    };
    // Every box `necesita` names read by the strict reading in the user's locale, the limits in
    // order, σ not negative, a shape that exists. ErrorLozar naming the box by its caption: 13
    // for a text that is not a number ("«Media» no es un número"), 6 for one beyond a double, 5
    // for an order or a value no computation takes.
    void compruebaEntradas(int necesita) const;
    // What the capability study needs.
    void compruebaParaCapacidad() const { compruebaEntradas(ParaCapacidad); }

signals:
    // Some input changed, the title included: the study is not what was saved.
    void cambiado();
    // An input some result depends on changed: the results computed before no longer hold.
    // `resultados` says which, as Resultado flags: the overlay's Cpk and the effective cost for
    // the model's boxes and the shape; the effective cost alone for the ends of the nominal line
    // (xa, xb) and the Taguchi box. The title and the cost axis (ya, yb) change no result.
    void caducado(int resultados);

private:
    QString textos_[kNumCajas];
    int taguchi_ = 0;
    QString unidades_;
    QString ajuste_, aceptacion_;
};

// The spread a computation can take: not negative, and not so small beside the mean (below a
// billionth of it) that the integration's steps would vanish in the mean's last digits; 0, a
// process without spread, is fine. ErrorLozar 5 saying which, in words for the user.
void compruebaDesviacion(double mu, double sigma);

// The limits in their order along the characteristic, XDesI ≤ XRetI ≤ XObj ≤ XRetS ≤ XDesS,
// and, for what measures a tolerance, the rework limits apart. ErrorLozar 5 naming the two boxes
// out of order.
void compruebaLimites(const Limites& l, bool tolerancia = true);
