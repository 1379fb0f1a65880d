#pragma once

#include "estudio/costounitario.h"
#include "numeros/errores.h"
#include "pearson.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

class DistribucionAjustada;

// The shape of the process distribution: normal, Pearson by the skewness and excess kurtosis in
// the boxes Sesgo and Curtosis, or a named distribution fitted to the measurements; standardised
// (mean 0, standard deviation 1), so that Media and Desv. Std. place and stretch it.
class FormaProceso {
public:
    // ErrorLozar 5 naming both values when no distribution has them.
    FormaProceso(double sesgo, double curtosis);
    // A fitted distribution, by its own mean and standard deviation: ErrorLozar 5 when it has no
    // finite variance, for then nothing standardises it.
    explicit FormaProceso(std::shared_ptr<const DistribucionAjustada> ajuste);

    double sesgo() const { return sesgo_; }
    double curtosis() const { return curtosis_; }
    TipoPearson tipo() const { return d_ ? d_->tipo() : TipoPearson::Normal; }
    // The fitted distribution, in its own units; null for a Pearson shape.
    const DistribucionAjustada* ajuste() const { return ajuste_.get(); }
    // "Pearson tipo IV", "Weibull de 3 parámetros".
    QString nombre() const;
    // With what fixes the shape: "Pearson tipo IV (sesgo 0,9, curtosis 1,6)", "Weibull (Forma
    // 2,1; Escala 81,9)".
    QString descripcion() const;

    double densidad(double z) const;
    double cdf(double z) const;
    double cola(double z) const;
    // P(z1 < Z ≤ z2), from the nearer tail so that a small area keeps its digits.
    double area(double z1, double z2) const;
    double cuantil(double p) const;
    // ∫ z f(z) dz and ∫ z² f(z) dz over (z1, z2), in closed form from its mass, area(z1, z2),
    // where the family has one, by quadrature otherwise.
    struct Parciales {
        double primero, segundo;
    };
    Parciales parciales(double z1, double z2, double masa) const;

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
    double minimo() const { return minimo_; }
    double maximo() const { return maximo_; }

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
    // The range, percentiles and mode, once the distribution is in place.
    void completa();

    double sesgo_, curtosis_;
    std::optional<DistribucionPearson> d_;
    std::shared_ptr<const DistribucionAjustada> ajuste_;
    double m_ = 0, s_ = 1; // the fitted distribution's mean and standard deviation
    double minimo_, maximo_, zInf_, zSup_, mediana_, q00135_, q99865_, moda_;
    mutable std::vector<double> areas_;
};

// Whether two box texts leave the process normal: each empty or reading as 0.
bool formaNormal(const QString& sesgo, const QString& curtosis);

// Below this, a skewness or an excess kurtosis is taken as 0. No sample tells such a value from
// 0 (a million parts estimate them within ±0.0024 and ±0.0049), it moves a 3σ point by less than
// 0.0002σ (under a part per million of tail), and nearer the normal point the Pearson routines
// lose all accuracy (types IV and VI with huge parameters).
constexpr double kMomentoDespreciable = 1e-4;

// The shape the study gives: its fitted distribution when it has one, else the boxes' (nullptr
// for a normal process: both empty or, by the rule above, 0). Strict readings, an empty box
// counting as 0: error 13 for a box that is not a number, 5 for an impossible pair or a fit the
// study cannot hold. The last shape is kept, so that repeated computations do not fit it again.
std::shared_ptr<const FormaProceso> formaDe(const Cajas& c);

// A fitted distribution as the study file keeps it: its family's key and its parameters, each
// the shortest text that reads back as the same double, with a point: "Weibull3;2.1;81.9;10".
QString textoDeAjuste(const DistribucionAjustada& d);
// And back: ErrorLozar 5 for an unknown family or parameters it cannot take.
std::shared_ptr<const DistribucionAjustada> ajusteDeTexto(const QString& texto);
