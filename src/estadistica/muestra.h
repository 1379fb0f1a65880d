#pragma once

// What a sample of measurements says of its process: pure routines over doubles.

#include <cstddef>
#include <vector>

struct ResumenMuestra {
    std::size_t n = 0;
    double media = 0;
    double desviacion = 0; // the sample standard deviation (divisor n − 1)
    double sesgo = 0;      // G1, the bias-corrected skewness spreadsheets print
    double curtosis = 0;   // G2, the bias-corrected excess kurtosis
    double minimo = 0, maximo = 0;
};

// Needs at least 4 values, and a spread for the shape (sesgo and curtosis stay 0 without).
ResumenMuestra resumeMuestra(const std::vector<double>& valores);

// The p-quantile of sorted values, interpolated between order statistics (the spreadsheets'
// inclusive rule: position p (n − 1)).
double cuantilMuestral(const std::vector<double>& ordenados, double p);

// Freedman–Diaconis class width for sorted values, 2 IQR n^(−1/3); 0 when the middle half has
// no spread.
double anchoFreedmanDiaconis(const std::vector<double>& ordenados);

// The histogram of sorted values: Freedman–Diaconis classes (Sturges' count where the middle
// half has no spread), at most 400, from the least value on, and how many fall in each.
struct Histograma {
    double desde = 0, ancho = 0;
    std::vector<int> cuentas;
};
Histograma histogramaDe(const std::vector<double>& ordenados);
