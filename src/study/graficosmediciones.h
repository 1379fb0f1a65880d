#pragma once

#include <QDialog>
#include <vector>

class QChartView;
class QLabel;
struct Limites;

// Two pictures of the imported measurements, each in a window of its own, modal.

// The normal probability plot: the ordered values against their normal scores, the line of the
// normal with the values' mean and standard deviation, and the limits marked; values on it are
// as normal as values get.
class DlgProbabilidad : public QDialog {
    Q_OBJECT
public:
    DlgProbabilidad(const std::vector<double>& ordenadas, const Limites& l,
                    QWidget* padre = nullptr);
    QChartView* grafico;
};

// The control chart of the values in their order (individuals and moving ranges), or of their
// subgroups (means and ranges): centre lines, 3σ limits from the spread within, the points
// beyond them and those closing a run of 8 on one side in red, and a list of them.
class DlgControl : public QDialog {
    Q_OBJECT
public:
    // `subgrupos` numbers each value's subgroup; empty for individual values.
    DlgControl(const std::vector<double>& valores, const std::vector<int>& subgrupos,
               QWidget* padre = nullptr);
    QChartView *graficoValores, *graficoRangos;
    QLabel* lblSenales;
};
