#pragma once

#include "estudio/costounitario.h"
#include "numeros/errores.h"

#include <QDateTime>

class FormaProceso;

// The calculation detail file "CostDetail.xls": tab-separated text in Windows-1252 with
// CR LF, numbers in the user's format, replaced by every computation. The lines gather in
// memory and reach the disk whole, so that a failure leaves the previous report as it was.
class DetalleCalculo {
public:
    explicit DetalleCalculo(QString ruta) : ruta_(std::move(ruta)) {}

    // Lines 1 to 18: date and time, title, inputs with the mean `mu` and spread `sigma` the
    // rows are integrated with, and the interval table's heading; for a Pearson process, its
    // skewness, kurtosis, type and Cpk after the standard deviation.
    void encabezado(const Cajas& c, const QDateTime& ahora, const FormaProceso* forma, double mu,
                    double sigma);
    void intervalo(double desde, double hasta, double area, double costo, double parcial,
                   double acumulado);
    void totales(double noDesperdiciada, double efectivo, double indice);
    // Replaces the file with the lines; ErrorLozar naming it and the cause when they did not all
    // reach the disk.
    void cierra();

    static QString nombre() { return QStringLiteral("CostDetail.xls"); }
    // The error of a detail file that cannot be created, with its cause.
    static ErrorLozar noSePuedeCrear(const QString& ruta, const QString& causa);

private:
    void linea(const QString& texto);

    QString ruta_;
    QByteArray bytes_;
};
