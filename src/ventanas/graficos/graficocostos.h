#pragma once

#include <QDialog>
#include <QPointF>
#include <QVariant>
#include <functional>

class QAbstractSeries;
class QScatterSeries;
class QChart;
class QChartView;
class QToolButton;
class Progreso;
class Cajas;
class FormaProceso;

// The chart table the main window fills and the chart window shows: 22 rows by 7 columns of
// cells, each empty (an invalid QVariant), a text or a double. Row 0 holds the series labels,
// column 0 the category labels.
class TablaDeGrafico {
public:
    static constexpr int kFilas = 22, kColumnas = 7;
    void recrea() { *this = TablaDeGrafico(); }
    QVariant& celda(int fila, int columna) { return celdas_[fila][columna]; }
    const QVariant& celda(int fila, int columna) const { return celdas_[fila][columna]; }

private:
    QVariant celdas_[kFilas][kColumnas];
};

extern TablaDeGrafico TablaGrafico;

// The cost chart: one line per standard deviation over the 21 process means of the chart
// table, the study's title on top, the value axis from EjeMinimo to EjeMaximo.
class Graf1 : public QDialog {
    Q_OBJECT
public:
    explicit Graf1(QWidget* parent = nullptr);

    // Set by the main window before the window is shown.
    QString TituloGrafico;
    QVariant EjeMaximo;
    QVariant EjeMinimo;
    // The best mean of each σ series, as (category position, effective cost); asked for once the
    // chart is on screen, away from the window with progress, since the search takes longer than
    // the chart itself. It must touch no widget.
    std::function<QList<QPointF>(Progreso&)> MediasOptimas;

    // Builds the chart from TablaGrafico; runs when the window is shown.
    void Form_Load();
    void Form_Resize();
    void cmdPrint_Click();
    // The chart as PNG, SVG or PDF.
    void cmdExportar_Click();
    // The chart's picture and its numbers (a column per spread), for a document or a sheet.
    void cmdCopiar_Click();

    QChartView* MSChart1 = nullptr;
    QToolButton* cmdPrint = nullptr;
    QToolButton* cmdExportar = nullptr;
    QToolButton* cmdCopiar = nullptr;
    QChart* grafico() const;
    // Asks MediasOptimas and marks them; the window does so once it is on screen.
    void marcaOptimos();

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void ocultaTramos();
    QList<QAbstractSeries*> sinLeyenda_;
    QScatterSeries* optimos_ = nullptr;
    bool cargado_ = false;
};

// The top of the value axis: the maximum rounded up to a whole number, unless its fraction
// is below 0.001.
double ejeMaximoDe(double maximo);

// Where each of the chart's six spreads costs least, between the rework limits, as (category
// position, exact effective cost). ErrorLozar as the search raises it; `p` may cancel.
QList<QPointF> mediasOptimasDelGrafico(const Cajas& c, const FormaProceso* forma,
                                       Progreso* p = nullptr);
