#pragma once

// What a capability study of measured values rests on, beyond the sample's summary: the spread
// within subgroups, confidence intervals of the indices, a test of normality, and the individuals
// chart that tells whether the process was stable. Pure routines over doubles, without Qt.

#include <cstddef>
#include <optional>
#include <vector>

// c4(n): E[s] / σ for samples of n normal values.
double c4(double n);

// The spread within: of individual values in their order, the average moving range over
// d2(2) = 1.128; of subgroups, the pooled standard deviation over c4(d + 1), d = Σ(nᵢ − 1), the
// unbiased estimate (subgroups of one value add nothing). 0 where there is nothing to measure.
double sigmaRangoMovil(const std::vector<double>& valores);
double sigmaAgrupada(const std::vector<std::vector<double>>& subgrupos);

struct Intervalo {
    double bajo, alto;
};

// Two-sided intervals at `confianza` (0.90, 0.95, 0.99) from n values whose σ has ν degrees of
// freedom (n − 1 for the overall s and for the moving range's, Σ(nᵢ − 1) for the pooled one):
// Cp and Pp by the chi-square distribution of the variance; Cpk and Ppk by Bissell's normal
// approximation, ± z √(1/(9n) + Cpk²/(2ν)); Cpm by Boyles', chi-square with
// n(1 + a²)² / (1 + 2a²) degrees of freedom, a = (mean − target) / s.
Intervalo intervaloCp(double cp, double nu, double confianza);
Intervalo intervaloCpk(double cpk, double n, double nu, double confianza);
Intervalo intervaloCpm(double cpm, double n, double a, double confianza);

// Anderson–Darling's test of normality with mean and variance estimated from the values: the
// statistic A², A² (1 + 0.75/n + 2.25/n²) and its p-value, by D'Agostino and Stephens' formulas
// (Goodness-of-Fit Techniques, 1986, table 4.9). None for fewer than 8 values or no spread,
// where the test says nothing; finite for any values, a far outlier included.
struct PruebaNormalidad {
    double a2 = 0, a2Ajustado = 0, p = 1;
};
std::optional<PruebaNormalidad> andersonDarling(std::vector<double> valores);
// The p-value of an adjusted statistic A²(1 + 0.75/n + 2.25/n²).
double pAndersonDarling(double a2Ajustado);

// The normal score of the i-th (from 0) of n ordered values, Blom's Φ⁻¹((i + 1 − 3/8) /
// (n + 1/4)): the probability plot's vertical axis.
double puntuacionNormal(std::size_t i, std::size_t n);
