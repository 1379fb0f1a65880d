#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The named distributions a process can be fitted to, in the order the identification table
// lists them before it sorts them.
enum class Familia {
    Normal,            // μ, σ
    BoxCox,            // λ, μ, σ: (x^λ − 1)/λ (ln x for λ = 0) is normal (μ, σ); x > 0
    Lognormal,         // μ, σ of ln x
    Lognormal3,        // μ, σ of ln(x − γ), γ
    Exponencial,       // θ (the mean)
    Weibull,           // k (shape), λ (scale)
    Weibull3,          // k, λ, γ
    ValorExtremoMenor, // ξ (location), β (scale): F = 1 − exp(−exp((x − ξ)/β))
    ValorExtremoMayor, // ξ, β: F = exp(−exp(−(x − ξ)/β))
    Gamma,             // α (shape), θ (scale)
    Gamma3,            // α, θ, γ
    Logistica,         // μ, s
    LogLogistica,      // μ, s of ln x (logistic)
    LogLogistica3,     // μ, s of ln(x − γ), γ
    Johnson, // tipo (0 SB, 1 SL, 2 SU), γ, δ, ξ, λ: Φ⁻¹(F) = γ + δ h((x − ξ)/λ)
};
constexpr int kNumFamilias = int(Familia::Johnson) + 1;

// "Weibull de 3 parámetros", "Transformación de Johnson (SU)" …: for the table and the report.
std::string nombreFamilia(Familia f);
// The key the study file stores ("Weibull3"), and back (none for an unknown key).
std::string claveFamilia(Familia f);
std::optional<Familia> familiaDeClave(const std::string& clave);
// The parameters' names, in the order above ("Forma", "Escala", "Umbral", "λ" …).
std::vector<std::string> nombresParametros(Familia f);

// A distribution of one family in the measurement's units. The constructor refuses parameters
// outside the family's domain (std::domain_error).
class DistribucionAjustada {
public:
    DistribucionAjustada(Familia f, std::vector<double> parametros);

    Familia familia() const { return familia_; }
    const std::vector<double>& parametros() const { return parametros_; }

    double densidad(double x) const;
    double cdf(double x) const;
    double cola(double x) const; // 1 − cdf, with its own digits in the upper tail
    double cuantil(double p) const;
    double minimo() const; // the support's ends (± infinity where it has none)
    double maximo() const;
    // Moments; NaN where the distribution has none (a loglogistic with s ≥ 1/2 has no variance).
    double media() const;
    double desviacion() const;
    double sesgo() const;
    double curtosis() const; // excess
    // ∫ x^k f(x) dx over (a, b], k = 1 or 2 (a, b may be infinite): in closed form where the
    // family has one, by quadrature otherwise.
    double momentoParcial(int k, double a, double b) const;

private:
    // Box-Cox and Johnson, x = t(z) with z standard normal: the range of z and how fast ln x
    // grows with z, what the quadratures need.
    bool transformaNormal(double& zlo, double& zhi, double& crecimiento) const;
    double xDeZ(double z) const;
    double zDeX(double x) const;
    double momentoCentral(int j) const;
    double momentoParcialCuadratura(int k, double a, double b) const;

    Familia familia_;
    std::vector<double> parametros_;
    double media_, desviacion_, sesgo_, curtosis_;
};

// The family's name, with the Johnson type: "Transformación de Johnson (SU)".
std::string nombreDistribucion(const DistribucionAjustada& d);

// One family fitted to the data: by maximum likelihood (the Johnson system by percentiles).
struct Ajuste {
    Familia familia = Familia::Normal;
    std::vector<double> parametros;
    std::vector<double> errores; // standard errors from the observed information; NaN: none
    double logVerosimilitud = 0;
    double a2 = 0; // Anderson–Darling A² of the data against the fit
    // The p-value of A² where tables define one; `cota` says it lies beyond the table's ends.
    std::optional<double> p;
    enum class Cota { Exacto, Mayor, Menor } cota = Cota::Exacto;
    // The likelihood-ratio test of the third parameter (the threshold) against the fit without it.
    std::optional<double> pRazonVerosimilitud;
    bool convergio = false;
    std::string motivo; // in Spanish, when it did not converge or the data do not allow it

    DistribucionAjustada distribucion() const { return {familia, parametros}; }
};

// The p-value of a fit's A² to n values by D'Agostino and Stephens' tables for estimated
// parameters (normal, lognormal, exponential, Weibull, extreme values, logistic, loglogistic;
// none for the other families); `cota` hears when it lies beyond the table's ends.
std::optional<double> pAjuste(Familia f, double a2, std::size_t n, Ajuste::Cota* cota = nullptr);

// One family. `lambdaRedondeada` rounds the Box-Cox λ to the nearest half.
Ajuste ajusta(Familia f, const std::vector<double>& datos, bool lambdaRedondeada = false);

// Every family, best first (the smallest A² among the fits that converged; the rest last).
// `avance` hears the fraction done and returns false to cancel (then the result is empty).
std::vector<Ajuste> identifica(const std::vector<double>& datos, bool lambdaRedondeada = false,
                               const std::function<bool(double)>& avance = {});
