#pragma once

#include "gage.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <optional>
#include <vector>

class QChartView;
class QComboBox;
class QPushButton;
class QTextBrowser;

// "Análisis > Sistema de medición…": a crossed gage R&R study by either method, its report,
// and its charts; "Usar la σ del R&R" hands the measurement's standard deviation to the study.
class DlgSistemaMedicion : public QDialog {
    Q_OBJECT
public:
    // `tolerancia` NaN when there is none; `origen` names where the measurements came from.
    DlgSistemaMedicion(std::vector<MedicionGage> m, double tolerancia, const QString& origen,
                       QWidget* padre = nullptr);
    // The σ of the gauge (GRR) of the method shown, once the dialog closed on "Usar la σ del R&R".
    std::optional<double> sigmaElegida() const { return elegida_; }
    // The report's rows as shown (for the PDF report and the clipboard); empty while the method
    // cannot take the study.
    const QList<QStringList>& filas() const { return filas_; }

    QComboBox* cboMetodo;
    QTextBrowser* txtInforme;
    QChartView *graficoPiezas, *graficoOperadores, *graficoInteraccion;
    QPushButton *cmdUsar, *cmdCopiar, *cmdImprimir, *cmdCerrar;

private:
    void calcula();

    std::vector<MedicionGage> m_;
    double tolerancia_;
    QString origen_;
    std::optional<EstudioGage> estudio_;
    QList<QStringList> filas_;
    std::optional<double> elegida_;
};
