#pragma once

// Pearson's family of distributions, standardised (mean 0, standard deviation 1) and chosen
// by skewness and excess kurtosis: pure routines over long doubles, without Qt, shared by the
// program and the table generator.

#include <memory>
#include <stdexcept>

enum class TipoPearson { Normal, I, II, III, IV, V, VI, VII };

// "normal", "I", …, "VII".
const char* nombreTipo(TipoPearson tipo);

// Pearson's equation f'/f = −(n1 x + q1) / (q0 + q1 x + q2 x²) for mean 0 and standard
// deviation 1; the four coefficients may share any positive factor.
struct EcuacionPearson {
    long double n1, q0, q1, q2;
};

// The equation for skewness γ1 and excess kurtosis γ2 (β1 = γ1², β2 = γ2 + 3).
EcuacionPearson ecuacionPearson(long double sesgo, long double curtosis);

// Whether a distribution has these moments: every one has γ2 > γ1² − 2.
bool pearsonPosible(long double sesgo, long double curtosis);

// Pearson's criterion on the equation; a type boundary (III, V, the symmetric types) is taken
// within a relative `tolerancia`, so that values typed or rounded near one fall on it.
TipoPearson tipoPearson(const EcuacionPearson& e, long double sesgo, long double tolerancia);

struct MomentosPearson {
    long double media, varianza, asimetria, curtosis; // curtosis: excess kurtosis
};

// What an interval holds of the distribution: ∫ x^k f(x) dx over it for k = 0, 1, 2.
struct MomentosParciales {
    long double masa, primero, segundo;
};

// A point with γ2 ≤ γ1² − 2.
struct PearsonImposible : std::domain_error {
    using std::domain_error::domain_error;
};

class DistribucionPearson {
public:
    // The distribution for skewness and excess kurtosis; throws PearsonImposible.
    DistribucionPearson(long double sesgo, long double curtosis);
    // The distribution of a given type for an equation (the tables' grid, whose types are
    // known exactly).
    DistribucionPearson(TipoPearson tipo, const EcuacionPearson& e);

    TipoPearson tipo() const;
    long double densidad(long double x) const;
    long double cdf(long double x) const;          // P(X ≤ x)
    long double colaSuperior(long double x) const; // P(X > x), exact where it is tiny
    long double cuantil(long double p) const;      // x with P(X ≤ x) = p, 0 < p < 1
    // The support's ends (± infinity where it has none).
    long double minimo() const;
    long double maximo() const;
    // The fit's own four moments, from its parameters (a check on the fit).
    MomentosPearson momentos() const;
    // Over (a, b), either end possibly infinite. In closed form: the mass from the nearer tail,
    // the two moments from it and from the density at the ends, so that neither the mass next
    // to an end of the support nor a far tail is lost.
    MomentosParciales parciales(long double a, long double b) const;
    // The same for a caller that has the mass of (a, b) already, as cdf and colaSuperior give it.
    MomentosParciales parciales(long double a, long double b, long double masa) const;

    class Modelo;

private:
    std::shared_ptr<const Modelo> modelo_;
};
