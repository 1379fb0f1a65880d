#pragma once

#include "ajuste.h"
#include "cartas.h"
#include "indices.h"

#include <QDialog>
#include <QList>
#include <QPointF>
#include <vector>

class QChart;
class QChartView;
class QLabel;
struct Limites;

// Two pictures of the imported measurements, each in a window of its own, modal.

// The normal probability plot: the ordered values against the percent below them on a normal
// scale, the line of the normal with the values' mean and standard deviation and its 95 % band,
// N, A² and p, and the limits marked; values on it are as normal as values get.
// What it shows, worked out from the sorted values apart from any window: 10⁷ values take a
// while, a window may not wait.
struct DatosProbabilidad {
    std::size_t n = 0;
    QList<QPointF> puntos; // (value, normal score): every one in the tails, some between
    double media = 0, desviacion = 0;
    double zMin = -3, zMax = 3, desde = 0, hasta = 0;
    std::optional<PruebaNormalidad> normalidad;
};
DatosProbabilidad datosProbabilidad(const std::vector<double>& ordenadas, const Limites& l);

// The plot itself, for its window and for the capability summary.
QChart* graficoDeProbabilidad(const DatosProbabilidad& d, const Limites& l);

// The ordered values on the probability paper of a fitted distribution: each at the fitted
// quantile of its median rank, so that the fit is the straight line y = x, the percent below
// labelling the height; the 95 % band each ordered value keeps to under the fit; the limits.
struct DatosAjuste {
    QString titulo;
    QList<QPointF> puntos, bajo, alto;        // the values; the band's two sides
    QList<std::pair<QString, double>> marcas; // "5" at the fitted 5 % point …
    double yMin = 0, yMax = 1, desde = 0, hasta = 0;
};
DatosAjuste datosAjuste(const std::vector<double>& ordenadas, const Ajuste& a, const Limites& l);
QChart* graficoDeAjuste(const DatosAjuste& d, const Limites& l);

class DlgProbabilidad : public QDialog {
    Q_OBJECT
public:
    DlgProbabilidad(const DatosProbabilidad& d, const Limites& l, QWidget* padre = nullptr);
    DlgProbabilidad(const std::vector<double>& ordenadas, const Limites& l,
                    QWidget* padre = nullptr)
        : DlgProbabilidad(datosProbabilidad(ordenadas, l), l, padre) {}
    QChartView* grafico;
};

// The control chart of the values in their order (I-MR), or of their subgroups (X̄–R or X̄–S):
// centre lines and 3σ limits written on each chart, the points beyond them on either chart and
// those closing a run of 8 on one side in red, and a list of them.
// Its two charts and its verdict, worked out apart from any window.
struct DatosControl {
    struct Carta {
        QString titulo;
        QList<QPointF> trazo, senales; // the line, thinned; the points that signal, in red
        double centro = 0, lci = 0, lcs = 0, bajo = 0, alto = 0, fin = 0;
        // Steps, where the limits follow the subgroups' sizes; empty where they are constant.
        QList<QPointF> centroPasos, lciPasos, lcsPasos;
    };
    bool porSubgrupos = false;
    TipoCarta tipo = TipoCarta::Individuos;
    Carta valores, rangos;
    QString veredicto;
};
// `subgrupos` numbers each value's subgroup; empty for individual values.
DatosControl datosControl(const std::vector<double>& valores, const std::vector<int>& subgrupos);

// One of the two charts (`k` is d.valores or d.rangos), for its window and for the summary.
QChart* graficoDeControl(const DatosControl& d, const DatosControl::Carta& k);

class DlgControl : public QDialog {
    Q_OBJECT
public:
    explicit DlgControl(const DatosControl& d, QWidget* padre = nullptr);
    DlgControl(const std::vector<double>& valores, const std::vector<int>& subgrupos,
               QWidget* padre = nullptr)
        : DlgControl(datosControl(valores, subgrupos), padre) {}
    QChartView *graficoValores, *graficoRangos;
    QLabel* lblSenales;
};
