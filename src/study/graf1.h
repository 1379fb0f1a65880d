#pragma once

#include <QDialog>
#include <QVariant>

class QChart;
class QChartView;
class QToolButton;

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

    // Builds the chart from TablaGrafico; runs when the window is shown.
    void Form_Load();
    void Form_Resize();
    void cmdPrint_Click();
    // The chart as PNG, SVG or PDF.
    void cmdExportar_Click();

    QChartView* MSChart1 = nullptr;
    QToolButton* cmdPrint = nullptr;
    QToolButton* cmdExportar = nullptr;
    QChart* grafico() const;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    bool cargado_ = false;
};

// The top of the value axis: the maximum rounded up to a whole number, unless its fraction
// is below 0.001.
double ejeMaximoDe(double maximo);
