// "2. Distribución Normal": the process bell over the plot, filled by zone, and Cpk.
#include "shell/errores.h"
#include "shell/numeros.h"
#include "shell/picturebox.h"
#include "study/lozarform.h"

#include <QLabel>
#include <cmath>

namespace {
const QColor kAzul(0, 0, 255), kRojo(255, 0, 0), kAmarillo(255, 255, 0), kVerde(0, 255, 0);

// The bell in plot values: from ya far out up to yb at the mean, without normalising factor.
struct Campana {
    double ya, yb, mu, sigma;
    double operator()(double x) const {
        return ya + (yb - ya) * std::exp(-(x - mu) * (x - mu) / 2 / (sigma * sigma));
    }
};

// Sets up the bell and its first blue point and returns the drawing step, about one pixel of
// plot width; 0 leaves nothing to draw (a spread too small, or an empty range).
double empiezaCampana(LozarForm& f, double mu, double sigma, double desde, Campana& altura) {
    if (sigma < 1e-8)
        return 0;
    altura = {f.estricto(Caja::ya), f.estricto(Caja::yb), mu, sigma};
    f.Pic1->punto(f.ConvX(desde), f.ConvY(altura(desde)), kAzul);
    const double ancho = f.Pic1->width() * 15.0; // twips
    return revisa((f.estricto(Caja::xb) - f.estricto(Caja::xa)) / (ancho / 15));
}
} // namespace

void LozarForm::cmdNormal_Click() {
    try {
        if (estricto(Caja::StdDev) > 0) {
            double mu = estricto(Caja::Media), sigma = estricto(Caja::StdDev);
            NormalIris(mu, sigma, mu - 5 * sigma, mu + 5 * sigma, flexible(Caja::XDesI),
                       flexible(Caja::XRetI), flexible(Caja::XObj), flexible(Caja::XRetS),
                       flexible(Caja::XDesS));
            mu = estricto(Caja::Media), sigma = estricto(Caja::StdDev);
            Normal(mu, sigma, mu - 5 * sigma, mu + 5 * sigma);
            // The rework limits are the tolerance that Cpk measures against.
            mu = flexible(Caja::Media), sigma = flexible(Caja::StdDev);
            const double cpI = div(mu - flexible(Caja::XRetI), sigma);
            const double cpS = div(flexible(Caja::XRetS) - mu, sigma);
            lblCpk->setText(QStringLiteral("Cpk ") +
                            formatea(std::min(cpI, cpS) / 3, QStringLiteral("0.00")));
        } else {
            // A process without spread: a dashed red line at its mean, no bell.
            Pic1->fijaEstilo(EstiloTrazo::Discontinuo);
            const double m = ConvX(estricto(Caja::Media));
            Pic1->linea(m, ConvY(estricto(Caja::yb)), m, ConvY(estricto(Caja::ya)), kRojo);
            Pic1->fijaEstilo(EstiloTrazo::Solido);
            lblCpk->setText(QStringLiteral("Cpk -"));
        }
    } catch (const ErrorLozar& e) {
        avisaManejador(e);
    }
}

void LozarForm::NormalIris(double mu, double sigma, double desde, double hasta, double xDesI,
                           double xRetI, double xObj, double xRetS, double xDesS) {
    try {
        Pic1->fijaAnchoTrazo(2);
        Pic1->fijaEstilo(EstiloTrazo::Solido);
        Campana altura{};
        const double s = empiezaCampana(*this, mu, sigma, desde, altura);
        if (s == 0)
            return;
        const double cero = ConvY(0);
        const struct {
            double desde, hasta;
            QColor color;
        } barridos[] = {{desde, xDesI, kRojo},         {xDesI + s, xRetI, kAmarillo},
                        {xRetI + s, xObj, kVerde},     {xObj + s, xRetS, kVerde},
                        {xRetS + s, xDesS, kAmarillo}, {xDesS + s, hasta, kRojo}};
        for (const auto& b : barridos)
            bucleContado(b.desde, b.hasta, s, [&](double x) {
                const double cx = ConvX(x);
                Pic1->linea(cx, cero, cx, ConvY(altura(x)), b.color);
            });
    } catch (const ErrorLozar& e) {
        avisaRutina(QStringLiteral("NormalIris."), e);
    }
}

void LozarForm::Normal(double mu, double sigma, double desde, double hasta) {
    try {
        Pic1->fijaAnchoTrazo(1);
        Pic1->fijaEstilo(EstiloTrazo::Discontinuo);
        const double m = ConvX(mu);
        Pic1->linea(m, ConvY(estricto(Caja::yb)), m, ConvY(estricto(Caja::ya)), kAzul);
        Pic1->fijaAnchoTrazo(2);
        Pic1->fijaEstilo(EstiloTrazo::Solido);
        Campana altura{};
        const double s = empiezaCampana(*this, mu, sigma, desde, altura);
        if (s == 0)
            return;
        bucleContado(desde, hasta, s,
                     [&](double x) { Pic1->lineaA(ConvX(x), ConvY(altura(x)), kAzul); });
    } catch (const ErrorLozar& e) {
        avisaRutina(QStringLiteral("Normal."), e);
    }
}
