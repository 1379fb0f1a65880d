#pragma once

#include "analisis/graficosmediciones.h"
#include "capacidad/capacidad.h"
#include "estudio/zonas.h"
#include "muestra.h"

#include <QDialog>
#include <memory>

class FormaProceso;
class Progreso;
class QLabel;

// The capability summary on one page, as engineers know it from the common packages: the
// control chart (two charts), the last 25 subgroups or values, the histogram on the density
// scale with the normal curves of the spread within and the overall one (or the Pearson curve),
// the probability plot, and the table of indices with their intervals and parts per million.
// Everything worked out apart from any window: millions of values take a while.
struct DatosResumen {
    QString titulo;
    Limites limites;
    Capacidad cap;
    QList<QStringList> indices; // the report's index and ppm rows
    DatosControl control;
    DatosProbabilidad probabilidad;
    Histograma histograma;
    QList<QPointF> ultimos; // (subgroup or value number, value) of the last 25
    std::shared_ptr<const FormaProceso> forma;
};
DatosResumen datosResumen(const Cajas& c, std::shared_ptr<const FormaProceso> forma,
                          const std::vector<double>& valores, const std::vector<int>& subgrupos,
                          const std::vector<double>& ordenadas, Progreso* progreso = nullptr);

class DlgResumenCapacidad : public QDialog {
    Q_OBJECT
public:
    explicit DlgResumenCapacidad(const DatosResumen& d, QWidget* padre = nullptr);
    QChartView *graficoValores, *graficoRangos, *graficoUltimos, *graficoHistograma,
        *graficoProbabilidad;
    QLabel* lblIndices;
};
