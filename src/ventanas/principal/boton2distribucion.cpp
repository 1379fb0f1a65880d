// "2. Distribución Normal": the process bell over the plot, filled by zone, and Cpk.
#include "estudio/forma.h"
#include "estudio/zonas.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/paleta.h"
#include "plataforma/picturebox.h"
#include "plataforma/plataforma.h"
#include "principal/lozarform.h"

#include "muestra.h"

#include <QLabel>
#include <algorithm>
#include <cmath>

namespace {

// The bell in plot values: from ya far out up to yb at the mean (at the peak of a skewed
// shape), without normalising factor.
struct Campana {
    double ya, yb, mu, sigma;
    const FormaProceso* forma;
    double pico; // the shape's highest density
    double operator()(double x) const {
        if (!forma)
            return ya + (yb - ya) * std::exp(-(x - mu) * (x - mu) / 2 / (sigma * sigma));
        return ya + (yb - ya) * std::min(1.0, forma->densidad((x - mu) / sigma) / pico);
    }
};

// About one pixel of plot width.
double pasoDeCampana(LozarForm& f) {
    const double ancho = f.Pic1->width() * 15.0; // twips
    return revisa((f.estricto(Caja::xb) - f.estricto(Caja::xa)) / (ancho / 15));
}

// The bell's top in the standard shape's density: 1/√(2π) for the normal.
double picoDeCampana(double mu, double sigma, double desde, double hasta, double paso,
                     const FormaProceso* forma) {
    double pico = 1;
    if (forma) {
        // The highest point the curve reaches where it is drawn. A J- or U-shaped curve is
        // infinite at an end of its support: its top is taken a fiftieth of σ inside, and the
        // spike beyond runs off the top, so that the rest of its shape still shows.
        auto cuenta = [&](double z) {
            if (z - forma->minimo() >= 0.02 && forma->maximo() - z >= 0.02)
                pico = std::max(pico, forma->densidad(z));
        };
        pico = 0;
        cuenta(forma->moda());
        // At most a few thousand looks, whatever part of the curve the picture shows.
        if (paso > 0)
            bucleContado(desde, hasta, std::max(paso, (hasta - desde) / 4096),
                         [&](double x) { cuenta((x - mu) / sigma); });
        if (!(pico > 0) || !std::isfinite(pico))
            pico = 1;
    }
    return forma ? pico : 1 / std::sqrt(2 * M_PI);
}

// Sets up the bell and its first blue point and returns the drawing step, about one pixel of
// plot width; 0 leaves nothing to draw (a spread too small, or an empty range).
double empiezaCampana(LozarForm& f, double mu, double sigma, double desde, double hasta,
                      Campana& altura, const FormaProceso* forma) {
    if (sigma < 1e-8)
        return 0;
    const double paso = pasoDeCampana(f);
    const double pico = picoDeCampana(mu, sigma, desde, hasta, paso, forma);
    altura = {f.estricto(Caja::ya), f.estricto(Caja::yb), mu, sigma, forma, pico};
    f.Pic1->punto(f.ConvX(desde), f.ConvY(altura(desde)), kAzul);
    return paso;
}
} // namespace

void LozarForm::cmdNormal_Click() {
    redibuja();
}

void LozarForm::superponeDistribucion() {
    try {
        const std::shared_ptr<const FormaProceso> forma = formaDe(*this);
        if (estricto(Caja::StdDev) > 0) {
            // A skewed shape reaches as far as its integration does.
            const double bajo = forma ? forma->zInferior() : 5,
                         alto = forma ? forma->zSuperior() : 5;
            double mu = estricto(Caja::Media), sigma = estricto(Caja::StdDev);
            NormalIris(mu, sigma, mu - bajo * sigma, mu + alto * sigma, flexible(Caja::XDesI),
                       flexible(Caja::XRetI), flexible(Caja::XObj), flexible(Caja::XRetS),
                       flexible(Caja::XDesS), forma.get());
            mu = estricto(Caja::Media), sigma = estricto(Caja::StdDev);
            dibujaHistograma(picoDeCampana(mu, sigma, mu - bajo * sigma, mu + alto * sigma,
                                           pasoDeCampana(*this), forma.get()) /
                             sigma);
            Normal(mu, sigma, mu - bajo * sigma, mu + alto * sigma, forma.get());
            // The rework limits are the tolerance that Cpk measures against; a skewed process
            // measures it by percentiles.
            mu = flexible(Caja::Media), sigma = flexible(Caja::StdDev);
            const double retI = flexible(Caja::XRetI), retS = flexible(Caja::XRetS);
            lblCpk->setText(nombreIndice() + QLatin1Char(' ') +
                            textoDeIndice(cpkDe(mu, sigma, retI, retS, forma.get())));
            avisaSiNoSeVe(estricto(Caja::Media) - bajo * estricto(Caja::StdDev),
                          estricto(Caja::Media) + alto * estricto(Caja::StdDev));
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

// A bell wholly outside the picture is drawn nowhere: the user is told why nothing shows.
void LozarForm::avisaSiNoSeVe(double desde, double hasta) {
    double xa, xb;
    try {
        xa = estricto(Caja::xa), xb = estricto(Caja::xb);
    } catch (const ErrorLozar&) {
        return; // nothing was drawn, and the drawing said why
    }
    if (hasta >= std::min(xa, xb) && desde <= std::max(xa, xb))
        return;
    plataforma().mensaje(
        QStringLiteral("La distribución del proceso, de %1 a %2, queda fuera del gráfico, que va "
                       "de %3 a %4, y no se ve. Revise la media y la desviación estándar, o "
                       "amplíe xa y xb.")
            .arg(formatoGeneral(desde), formatoGeneral(hasta), formatoGeneral(xa),
                 formatoGeneral(xb)),
        Botones::Aceptar, Icono::Informacion);
}

// The imported measurements as bar outlines under the curve: Freedman–Diaconis classes on the
// curve's own scale, each bar's height the measurements' density over the class (count over n
// times the width), against the curve's top density `pico`: how well the curve fits shows.
void LozarForm::dibujaHistograma(double pico) {
    if (ordenadas_.empty())
        return;
    const std::vector<double>& o = ordenadas_;
    const Histograma h = histogramaDe(o);
    if (!(h.ancho > 0)) // every value the same: a class of no width has no density
        return;
    const double desde = h.desde, ancho = h.ancho;
    const int clases = int(h.cuentas.size());
    const std::vector<int>& cuenta = h.cuentas;
    const double escala = 1 / (double(o.size()) * ancho * pico);
    const double ya = estricto(Caja::ya), yb = estricto(Caja::yb);
    Pic1->fijaAnchoTrazo(1);
    Pic1->fijaEstilo(EstiloTrazo::Solido);
    for (int i = 0; i < clases; ++i) {
        const double x0 = ConvX(desde + ancho * i), x1 = ConvX(desde + ancho * (i + 1));
        const double arriba = ConvY(ya + (yb - ya) * cuenta[std::size_t(i)] * escala);
        const double abajo = ConvY(ya);
        Pic1->linea(x0, abajo, x0, arriba, kGrisHistograma);
        Pic1->lineaA(x1, arriba, kGrisHistograma);
        Pic1->lineaA(x1, abajo, kGrisHistograma);
    }
}

void LozarForm::NormalIris(double mu, double sigma, double desde, double hasta, double xDesI,
                           double xRetI, double xObj, double xRetS, double xDesS,
                           const FormaProceso* forma) {
    try {
        Pic1->fijaAnchoTrazo(2);
        Pic1->fijaEstilo(EstiloTrazo::Solido);
        Campana altura{};
        const double s = empiezaCampana(*this, mu, sigma, desde, hasta, altura, forma);
        if (s == 0)
            return;
        const double cero = ConvY(0);
        const struct {
            double desde, hasta;
            QColor color;
        } barridos[] = {{desde, xDesI, kRojo},         {xDesI + s, xRetI, kAmarillo},
                        {xRetI + s, xObj, kVerde},     {xObj + s, xRetS, kVerde},
                        {xRetS + s, xDesS, kAmarillo}, {xDesS + s, hasta, kRojo}};
        const double xa = estricto(Caja::xa), xb = estricto(Caja::xb);
        for (const auto& b : barridos)
            bucleContadoEn(b.desde, b.hasta, s, xa, xb, [&](double x) {
                const double cx = ConvX(x);
                Pic1->linea(cx, cero, cx, ConvY(altura(x)), b.color);
            });
    } catch (const ErrorLozar& e) {
        avisaRutina(QStringLiteral("NormalIris."), e);
    }
}

void LozarForm::Normal(double mu, double sigma, double desde, double hasta,
                       const FormaProceso* forma) {
    try {
        Pic1->fijaAnchoTrazo(1);
        Pic1->fijaEstilo(EstiloTrazo::Discontinuo);
        const double m = ConvX(mu);
        Pic1->linea(m, ConvY(estricto(Caja::yb)), m, ConvY(estricto(Caja::ya)), kAzul);
        Pic1->fijaAnchoTrazo(2);
        Pic1->fijaEstilo(EstiloTrazo::Solido);
        Campana altura{};
        const double s = empiezaCampana(*this, mu, sigma, desde, hasta, altura, forma);
        if (s == 0)
            return;
        bucleContadoEn(desde, hasta, s, estricto(Caja::xa), estricto(Caja::xb),
                       [&](double x) { Pic1->lineaA(ConvX(x), ConvY(altura(x)), kAzul); });
    } catch (const ErrorLozar& e) {
        avisaRutina(QStringLiteral("Normal."), e);
    }
}
