// "1. Función Lozar": the plot frame, the cost function and the read-out of a clicked point.
#include "estudio/forma.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/formulario.h"
#include "plataforma/paleta.h"
#include "plataforma/picturebox.h"
#include "plataforma/plataforma.h"
#include "principal/lozarform.h"

#include <QLabel>
#include <QLineEdit>

namespace {
constexpr double kEpsilon = 0.00001; // the value just left of a limit
// Pic1 on the form, in twips: where the marker lines meet the plot.
constexpr double kPicIzq = 1260, kPicArr = 600, kPicAncho = 9000, kPicAlto = 5505;
} // namespace

double LozarForm::ConvX(double x) const {
    const Escala e = Pic1->escala();
    const double xa = estricto(Caja::xa), xb = estricto(Caja::xb);
    return revisa(e.izquierda() + e.ancho() * div(x - xa, xb - xa));
}

double LozarForm::ConvY(double y) const {
    const Escala e = Pic1->escala();
    const double ya = estricto(Caja::ya), yb = estricto(Caja::yb);
    return revisa(e.arriba() + e.alto() * (1 - div(y - ya, yb - ya)));
}

void LozarForm::cmdDrawCostFunction_Click() {
    Pic1->borra(); // nothing of an earlier study stays under the new drawing
    if (compruebaCajas(ModeloEstudio::ParaFuncion))
        dibujaFuncionLozar();
}

void LozarForm::dibujaFuncionLozar(bool conMedia) {
    plataforma().punteroOcupado();
    try {
        ordenaCostosExtra();
        ensanchaEscalas();
        lineasDeLimites(conMedia);
        mueveMarcadores();
        dibujaFuncion();
    } catch (const ErrorLozar& e) {
        plataforma().punteroFlecha();
        avisaManejador(e);
        return;
    }
    plataforma().punteroFlecha();
}

void LozarForm::cmdCLS_Click() {
    Pic1->borra();
}

// On each side the larger extra cost sits higher, like the plot's cost axis.
void LozarForm::ordenaCostosExtra() {
    struct Lado {
        QLabel *etRet, *etDes;
        QLineEdit *ret, *des;
        LineaControl *linRet, *linDes;
        bool extremoEnY1;
    };
    const Lado lados[] = {{Label1[3], Label1[5], YRetI, YDesI, LinYI[3], LinYI[2], true},
                          {Label1[9], Label1[8], YRetS, YDesS, LinYS[3], LinYS[2], false}};
    for (const Lado& l : lados) {
        const bool retArriba = leeNumero(l.ret->text()) >= leeNumero(l.des->text());
        const int arriba[3] = {1980, 2280, 2460}, abajo[3] = {2865, 3165, 3345};
        const int* pr = retArriba ? arriba : abajo;
        const int* pd = retArriba ? abajo : arriba;
        subeTwips(l.etRet, pr[0]);
        subeTwips(l.ret, pr[1]);
        l.extremoEnY1 ? l.linRet->fijaY1(pr[2]) : l.linRet->fijaY2(pr[2]);
        subeTwips(l.etDes, pd[0]);
        subeTwips(l.des, pd[1]);
        l.extremoEnY1 ? l.linDes->fijaY1(pd[2]) : l.linDes->fijaY2(pd[2]);
    }
}

// yb reaches the highest cost level; xa..xb holds every limit.
void LozarForm::ensanchaEscalas() {
    const std::pair<Caja, Caja> sumas[] = {{Caja::YNomI, Caja::YRetI},
                                           {Caja::YNomI, Caja::YDesI},
                                           {Caja::YNomS, Caja::YRetS},
                                           {Caja::YNomS, Caja::YDesS}};
    for (const auto& [a, b] : sumas) {
        const double suma = revisa(flexible(a) + flexible(b));
        if (estricto(Caja::yb) < suma)
            yb->setText(formatoGeneral(suma));
    }
    const Caja limites[] = {Caja::XDesI, Caja::XRetI, Caja::XObj, Caja::XRetS, Caja::XDesS};
    for (Caja l : limites)
        if (estricto(Caja::xa) > flexible(l))
            xa->setText(formatoGeneral(flexible(l)));
    for (Caja l : limites)
        if (estricto(Caja::xb) < flexible(l))
            xb->setText(formatoGeneral(flexible(l)));
}

void LozarForm::lineasDeLimites(bool conMedia) {
    const double arriba = ConvY(estricto(Caja::yb)), abajo = ConvY(estricto(Caja::ya));
    auto vertical = [&](double x) {
        const double cx = ConvX(x);
        Pic1->linea(cx, abajo, cx, arriba, Pic1->color());
    };
    Pic1->fijaAnchoTrazo(1);
    // Scrap lines keep whatever style the picture has.
    Pic1->fijaColor(kRojo);
    vertical(estricto(Caja::XDesI));
    vertical(estricto(Caja::XDesS));
    // A rework line on top of its scrap line is dashed, so that the red one shows through.
    Pic1->fijaColor(kAmarillo);
    Pic1->fijaEstilo(XRetI->text() == XDesI->text() ? EstiloTrazo::Discontinuo
                                                    : EstiloTrazo::Solido);
    vertical(estricto(Caja::XRetI));
    Pic1->fijaEstilo(XRetS->text() == XDesS->text() ? EstiloTrazo::Discontinuo
                                                    : EstiloTrazo::Solido);
    vertical(estricto(Caja::XRetS));
    Pic1->fijaEstilo(EstiloTrazo::Solido);
    Pic1->fijaColor(kVerdeObj);
    vertical(estricto(Caja::XObj));
    if (conMedia) {
        Pic1->fijaEstilo(EstiloTrazo::Discontinuo);
        const double media = ConvX(estricto(Caja::Media));
        Pic1->linea(media, ConvY(estricto(Caja::yb)), media, ConvY(estricto(Caja::ya)), kAzul);
    }
    Pic1->fijaEstilo(EstiloTrazo::Solido);
}

void LozarForm::mueveMarcadores() {
    const Caja limites[] = {Caja::XDesI, Caja::XRetI, Caja::XObj, Caja::XRetS, Caja::XDesS};
    for (int i = 1; i <= 5; ++i) {
        const double xa = estricto(Caja::xa), xb = estricto(Caja::xb);
        LinX[std::size_t(i)]->fijaX2(
            revisa(kPicIzq + kPicAncho * div(estricto(limites[i - 1]) - xa, xb - xa)));
    }
    auto altura = [&](double nivel) {
        const double ya = estricto(Caja::ya), yb = estricto(Caja::yb);
        return revisa(kPicArr + kPicAlto * (1 - div(nivel - ya, yb - ya)));
    };
    LinYI[1]->fijaY2(altura(estricto(Caja::YNomI)));
    LinYI[2]->fijaY2(altura(flexible(Caja::YDesI) + flexible(Caja::YNomI)));
    LinYI[3]->fijaY2(altura(flexible(Caja::YRetI) + flexible(Caja::YNomI)));
    LinYS[1]->fijaY1(altura(estricto(Caja::YNomS)));
    LinYS[2]->fijaY1(altura(flexible(Caja::YDesS) + flexible(Caja::YNomS)));
    LinYS[3]->fijaY1(altura(flexible(Caja::YRetS) + flexible(Caja::YNomS)));
}

void LozarForm::dibujaFuncion() {
    // Nominal line.
    Pic1->fijaColor(kGris);
    Pic1->fijaAnchoTrazo(1);
    Pic1->linea(ConvX(estricto(Caja::xa)), ConvY(estricto(Caja::YNomI)), ConvX(estricto(Caja::xb)),
                ConvY(estricto(Caja::YNomS)), kGris);

    Pic1->fijaAnchoTrazo(2);
    Pic1->fijaColor(kNegro);
    auto L = [&](double v) { return Lozar(v); };
    auto P = [&](double v, double c) { return QPointF(ConvX(v), ConvY(c)); };
    auto linea = [&](QPointF a, QPointF b) { Pic1->linea(a.x(), a.y(), b.x(), b.y(), kNegro); };
    auto hasta = [&](QPointF b) { Pic1->lineaA(b.x(), b.y(), kNegro); };
    const double xa = estricto(Caja::xa), xb = estricto(Caja::xb);
    const double desI = estricto(Caja::XDesI), retI = estricto(Caja::XRetI);
    const double obj = estricto(Caja::XObj), retS = estricto(Caja::XRetS);
    const double desS = estricto(Caja::XDesS);
    const bool taguchi = this->taguchi() == 1;

    linea(P(xa, L(xa)), P(desI, L(desI - kEpsilon)));
    linea(P(desI, L(desI - kEpsilon)), P(desI, L(desI)));
    linea(P(desI, L(desI)), P(retI, L(retI - kEpsilon)));
    if (taguchi) {
        const double d = (obj - retI) / 150;
        if (d != 0) {
            bucleContado(retI, obj, d, [&](double v) { hasta(P(v, L(v))); });
            hasta(P(obj, L(obj)));
        }
    } else {
        linea(P(retI, L(retI - kEpsilon)), P(retI, L(obj)));
        linea(P(retI, L(obj)), P(obj, L(obj)));
    }
    if (taguchi) {
        const double d = (retS - obj) / 150;
        if (d != 0)
            bucleContado(obj, retS, d, [&](double v) { hasta(P(v, L(v))); });
        hasta(P(retS, L(retS)));
    } else {
        linea(P(obj, L(obj)), P(retS, L(obj)));
        linea(P(retS, L(obj)), P(retS, L(retS)));
    }
    linea(P(retS, L(retS)), P(desS, L(desS - kEpsilon)));
    linea(P(desS, L(desS - kEpsilon)), P(desS, L(desS)));
    linea(P(desS, L(desS)), P(xb, L(xb)));
}

void LozarForm::Pic1_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, double X, double) {
    if (!compruebaCajas(ModeloEstudio::ParaDistribucion))
        return;
    QString texto;
    try {
        const Escala e = Pic1->escala();
        const double xa = estricto(Caja::xa), xb = estricto(Caja::xb);
        const double x = revisa(xa + (xb - xa) * (X - e.izquierda()) / e.ancho());
        const double w = estricto(Caja::StdDev) / 10;
        const double desde = x - w / 2, hasta = x + w / 2;
        const double media = estricto(Caja::Media), sd = estricto(Caja::StdDev);
        const std::shared_ptr<const FormaProceso> forma = formaDe(*this);
        const double area = forma ? forma->area(div(desde - media, sd), div(hasta - media, sd))
                                  : Abcn(div(hasta - media, sd)) - Abcn(div(desde - media, sd));
        const double costo = Lozar(x);
        texto = QStringLiteral("Intervalo desde: ") + formatea(desde, QStringLiteral("0.000")) +
                QLatin1Char('\n') + QStringLiteral("Intervalo hasta: ") +
                formatea(hasta, QStringLiteral("0.000")) + QLatin1Char('\n') +
                QStringLiteral("Marca de clase:  ") + formatea(x, QStringLiteral("0.000")) +
                QLatin1Char('\n') + QStringLiteral("Area cubierta:   ") +
                formatea(area, QStringLiteral("0.000 %")) + QLatin1Char('\n') +
                QStringLiteral("Lozar unitario:  ") + formatea(costo, QStringLiteral("$ 0.00")) +
                QLatin1Char('\n');
    } catch (const ErrorLozar& e) {
        avisaManejador(e);
        return;
    }
    plataforma().mensaje(texto, Botones::Aceptar, Icono::Informacion);
}
