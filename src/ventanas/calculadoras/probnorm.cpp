#include "calculadoras/probnorm.h"

#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/picturebox.h"

#include <cmath>

namespace {
const CalculadoraBase::Diseno kDiseno = {"ProbNorm",
                                         "Calculadora de Áreas bajo la curva Normal",
                                         "Área bajo la Curva Normal",
                                         7770,
                                         6960,
                                         false,
                                         "Curva normal con el área entre los límites sombreada"};
}

ProbNorm::ProbNorm(TablaNormal& tabla) : CalculadoraBase(kDiseno, tabla) {
    Form_Load();
}

void ProbNorm::Normal(double mu, double sigma, double x0, double x1) {
    try {
        Pic1->fijaAnchoTrazo(1);
        Pic1->fijaEstilo(EstiloTrazo::Discontinuo);
        const double m = ConvX(mu);
        Pic1->linea(m, ConvY(120), m, ConvY(0), kRojo);
        Pic1->fijaAnchoTrazo(2);
        Pic1->fijaEstilo(EstiloTrazo::Solido);
        if (sigma < 0.00000001)
            return;
        const auto e = [&](double x) {
            const double q = -(x - mu) * (x - mu) / 2;
            return std::exp(q / (sigma * sigma));
        };
        Pic1->punto(ConvX(x0), ConvY(120 * e(x0)), kRojo);
        // About one step per pixel column: the outer width in twips, over 15.
        const double s = 120 / (Pic1->width() * 15.0 / 15);
        if (s != 0)
            bucleContado(x0, x1, s,
                         [&](double x) { Pic1->lineaA(ConvX(x), ConvY(120 * e(x)), kRojo); });
        Pic1->fijaAnchoTrazo(1);
    } catch (const ErrorLozar& e) {
        avisa(textoRutina(QStringLiteral("Normal."), e));
    }
}
