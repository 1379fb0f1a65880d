#pragma once

#include "calculadoras/calculadorabase.h"

#include <cmath>

// "Calculadora de Áreas bajo la curva Normal": areas under the standard normal curve between
// two limits, with the bell drawn over z = −6 to 6.
class ProbNorm : public CalculadoraBase {
    Q_OBJECT
public:
    explicit ProbNorm(TablaNormal& tabla);

    // The mean line and the bell of height 1 (no normalising factor) from x0 to x1, in plot
    // units. Reports its own failure ("Normal.") and lets the caller go on.
    void Normal(double mu, double sigma, double x0, double x1);

protected:
    void dibujaCurva() override { Normal(60, 10, 0, 120); }
    double alturaCurva(double x) const override {
        return 120 * std::exp(-(x - 60) * (x - 60) / 200);
    }
    std::optional<std::pair<double, double>> zDeAreas(double zi, double zs) override {
        return std::make_pair(zi, zs);
    }
};
