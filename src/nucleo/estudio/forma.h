#pragma once

#include "estudio/costounitario.h"
#include "numeros/errores.h"
#include "pearson.h"

#include <QString>
#include <memory>
#include <vector>

// The shape of the process distribution: normal, or Pearson by the skewness and excess
// kurtosis in the boxes Sesgo and Curtosis, standardised (mean 0, standard deviation 1).
class FormaProceso {
public:
    // ErrorLozar 5 naming both values when no distribution has them.
    FormaProceso(double sesgo, double curtosis);

    double sesgo() const { return sesgo_; }
    double curtosis() const { return curtosis_; }
    TipoPearson tipo() const { return d_.tipo(); }
    // "Pearson tipo IV".
    QString nombre() const;

    double densidad(double z) const {
        return protege([&] { return double(d_.densidad(z)); });
    }
    double cdf(double z) const {
        return protege([&] { return double(d_.cdf(z)); });
    }
    double cola(double z) const {
        return protege([&] { return double(d_.colaSuperior(z)); });
    }
    // P(z1 < Z ≤ z2), from the nearer tail so that a small area keeps its digits.
    double area(double z1, double z2) const;
    double cuantil(double p) const {
        return protege([&] { return double(d_.cuantil(p)); });
    }
    // ∫ z f(z) dz and ∫ z² f(z) dz over (z1, z2), in closed form from its mass, area(z1, z2).
    struct Parciales {
        double primero, segundo;
    };
    Parciales parciales(double z1, double z2, double masa) const {
        return protege([&] {
            const MomentosParciales m = d_.parciales(z1, z2, masa);
            return Parciales{double(m.primero), double(m.segundo)};
        });
    }

    // The standardised integration range: centres from −zInferior to zSuperior, at least 5
    // each way, wider where the tail holds more than 1e-9 of the production (at most 30).
    double zInferior() const { return zInf_; }
    double zSuperior() const { return zSup_; }
    // The area of the k-th integration interval, (−zInferior + (k ∓ 1/2) / 10]: the same for
    // every mean and spread, so worked out once for the shape.
    double areaDeIntervalo(int k) const;

    // The median and the 0.135 % and 99.865 % points, for Cpk by percentiles.
    double mediana() const { return mediana_; }
    double q00135() const { return q00135_; }
    double q99865() const { return q99865_; }
    // The most likely value, where the density peaks (an end for a J-shaped curve).
    double moda() const { return moda_; }
    // The support's ends (± infinity where it has none).
    double minimo() const { return double(d_.minimo()); }
    double maximo() const { return double(d_.maximo()); }

private:
    // A failure of the numerics beneath (Boost's series and roots) as error 6 naming the shape,
    // which a handler reports, never as an exception no handler knows.
    template <typename F> auto protege(F&& f) const -> decltype(f()) {
        try {
            return f();
        } catch (const ErrorLozar&) {
            throw;
        } catch (const std::exception& e) {
            throw fallaNumerica(e);
        }
    }
    ErrorLozar fallaNumerica(const std::exception& e) const;

    double sesgo_, curtosis_;
    DistribucionPearson d_;
    double zInf_, zSup_, mediana_, q00135_, q99865_, moda_;
    mutable std::vector<double> areas_;
};

// Whether two box texts leave the process normal: each empty or reading as 0.
bool formaNormal(const QString& sesgo, const QString& curtosis);

// Below this, a skewness or an excess kurtosis is taken as 0. No sample tells such a value from
// 0 (a million parts estimate them within ±0.0024 and ±0.0049), it moves a 3σ point by less than
// 0.0002σ (under a part per million of tail), and nearer the normal point the Pearson routines
// lose all accuracy (types IV and VI with huge parameters).
constexpr double kMomentoDespreciable = 1e-4;

// The shape the boxes give: nullptr for a normal process (both empty or, by the rule above, 0).
// Strict readings, an empty box counting as 0: error 13 for a box that is not a number, 5 for
// an impossible pair. The last shape is kept, so that repeated computations do not fit it again.
std::shared_ptr<const FormaProceso> formaDe(const Cajas& c);
