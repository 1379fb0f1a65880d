#pragma once

#include "shell/errores.h"
#include "study/modelo.h"

#include <QDateTime>

class FormaProceso;
#include <QFile>

// The calculation detail file "CostDetail.xls": tab-separated text in Windows-1252 with
// CR LF, numbers in the user's format, replaced by every computation.
class DetalleCalculo {
public:
    // Creates (replaces) the file; ErrorLozar naming it when it cannot be created.
    explicit DetalleCalculo(const QString& ruta);
    ~DetalleCalculo();

    // Lines 1 to 18: date and time, title, inputs, and the interval table's heading; for a
    // Pearson process, its skewness, kurtosis, type and Cpk after the standard deviation.
    void encabezado(const Cajas& c, const QDateTime& ahora, const FormaProceso* forma = nullptr,
                    double mu = 0, double sigma = 0);
    void intervalo(double desde, double hasta, double area, double costo, double parcial,
                   double acumulado);
    void totales(double noDesperdiciada, double efectivo, double indice);
    // Closes the file; ErrorLozar when what was written did not reach the disk.
    void cierra();

    static QString nombre() { return QStringLiteral("CostDetail.xls"); }
    // The error of a detail file that cannot be created, with its cause.
    static ErrorLozar noSePuedeCrear(const QString& ruta, const QString& causa);

private:
    void linea(const QString& texto);

    QFile archivo_;
};
