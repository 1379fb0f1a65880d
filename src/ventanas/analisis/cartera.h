#pragma once

#include "cartera/cartera.h"

#include <QDialog>

class QChartView;
class QLabel;
class QPushButton;
class QTableWidget;

// "Archivo > Cartera de estudios…": every study of a folder by what its poor quality costs a
// year, as a table and as a Pareto chart (bars dearest first, and the cumulative share); a
// double click opens the study.
class DlgCartera : public QDialog {
    Q_OBJECT
public:
    DlgCartera(QList<CostoDeEstudio> estudios, const QString& carpeta, QWidget* padre = nullptr);
    QLabel* lblCarpeta;
    QTableWidget* tabla;
    QChartView* grafico;
    QPushButton *cmdExportar, *cmdCopiar, *cmdImprimir, *cmdCerrar;

signals:
    // The study of a row, to open in the main window.
    void abre(const QString& ruta);

private:
    QList<CostoDeEstudio> estudios_;
};
