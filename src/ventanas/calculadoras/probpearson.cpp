#include "calculadoras/probpearson.h"

#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/formulario.h"
#include "plataforma/picturebox.h"
#include "plataforma/plataforma.h"
#include "tablas/tablapearson.h"

#include <QLabel>
#include <QScrollBar>
#include <cmath>

namespace {

const CalculadoraBase::Diseno kDiseno = {"ProbPearson",
                                         "Calculadora de Áreas bajo curvas No Normales",
                                         "Área bajo Curvas Sesgadas",
                                         8460,
                                         7260,
                                         true,
                                         "Curva sesgada con el área entre los límites sombreada"};

QScrollBar* barra(QWidget* padre, const char* nombre, int izq, int minimo, int maximo, int pagina) {
    auto* b = new QScrollBar(Qt::Horizontal, padre);
    b->setObjectName(QLatin1String(nombre));
    colocaTwips(b, izq, 6780, 4200, 225);
    b->setRange(minimo, maximo);
    b->setSingleStep(1);
    b->setPageStep(pagina);
    b->setValue(0);
    b->setTracking(false);
    return b;
}

QLabel* lectura(QWidget* padre, const char* nombre, const QString& texto, int izq, int ancho) {
    auto* l = new QLabel(texto, padre);
    l->setObjectName(QLatin1String(nombre));
    colocaTwips(l, izq, 6810, ancho, 195);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

ProbPearson::ProbPearson(TablaNormal& tabla)
    : CalculadoraBase(kDiseno, tabla), directorio_(plataforma().directorioAplicacion()) {
    sbSK = barra(this, "sbSK", 1260, -9, 9, 3);
    lblSk = lectura(this, "lblSk", QStringLiteral("Sesgo"), 180, 915);
    sbKU = barra(this, "sbKU", 7320, -8, 16, 4);
    lblKu = lectura(this, "lblKu", QStringLiteral("Curtosis"), 6120, 1035);
    sbSK->setAccessibleName(lblSk->text());
    sbKU->setAccessibleName(lblKu->text());
    // The exact row, under the model's results and in their columns.
    auto exacta = [this](const char* nombre, int izq, int arr, int ancho, int alto, double pt) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(nombre));
        colocaTwips(l, izq, arr, ancho, alto);
        l->setAlignment(Qt::AlignCenter);
        l->setFont(fuenteTahoma(pt, true));
        return l;
    };
    // Each row of areas says what computed it: the tables' two half-normals, the exact curve.
    lblModelo = exacta("lblModelo", 660, 7020, 10335, 240, 8.25);
    lblModelo->setText(QStringLiteral("Modelo de dos semi-normales"));
    lblExacto = exacta("lblExacto", 660, 7740, 10335, 240, 8.25);
    lblExactoInf = exacta("lblExactoInf", 660, 7980, 2235, 330, 11.25);
    lblExactoCentro = exacta("lblExactoCentro", 4530, 7980, 2475, 330, 11.25);
    lblExactoSup = exacta("lblExactoSup", 8760, 7980, 2235, 330, 11.25);
    connect(sbSK, &QScrollBar::valueChanged, this, &ProbPearson::sbSK_Change);
    connect(sbKU, &QScrollBar::valueChanged, this, &ProbPearson::sbKU_Change);
    Form_Load();
}

void ProbPearson::sbSK_Change() {
    Accion accion(*this);
    Sk = sbSK->value() / 10.0;
    lblSk->setText(QStringLiteral("Sesgo ") + formatea(Sk, QStringLiteral("0.0")));
    ZInf_Change();
    ZSup_Change();
}

void ProbPearson::sbKU_Change() {
    Accion accion(*this);
    Ku = sbKU->value() / 10.0;
    lblKu->setText(QStringLiteral("Curtosis ") + formatea(Ku, QStringLiteral("0.0")));
    ZInf_Change();
    ZSup_Change();
}

void ProbPearson::dibujaCurva() {
    modelo_.reset();
    // The tables hold non-negative skewness only: a negative one is the mirror image, its
    // lower side being the upper side of |Sk| and its centre above the mean.
    const QString inf = Sk >= 0 ? QStringLiteral("1A") : QStringLiteral("1B");
    const QString sup = Sk >= 0 ? QStringLiteral("1B") : QStringLiteral("1A");
    const double s = std::fabs(Sk);
    const double L = TablaPearson(directorio_, inf, s, Ku);
    const double U = TablaPearson(directorio_, sup, s, Ku);
    double M = TablaPearson(directorio_, QStringLiteral("2"), s, Ku);
    if (Sk >= 0)
        M = -M;
    modelo_ = Modelo{60 - 10 * L, 60 + 10 * U, 60 + 10 * M};
    NoNormal(modelo_->xM, modelo_->xL, modelo_->xR, 0, 120);
}

void ProbPearson::muestraExactas(double zi, double zs) {
    // Fitted once for each skewness and kurtosis: the bars' limits move far more often.
    if (!exacta_ || skExacta_ != Sk || kuExacta_ != Ku) {
        exacta_.emplace(Sk, Ku);
        skExacta_ = Sk;
        kuExacta_ = Ku;
    }
    const DistribucionPearson& d = *exacta_;
    lblExacto->setText(
        QStringLiteral("Pearson exacto (%1)")
            .arg(d.tipo() == TipoPearson::Normal
                     ? QStringLiteral("normal")
                     : QStringLiteral("tipo ") + QLatin1String(nombreTipo(d.tipo()))));
    const double inf = double(d.cdf(zi)), sup = double(d.colaSuperior(zs));
    lblExactoInf->setText(enPpm(inf * 1000000));
    lblExactoCentro->setText(formatea(1 - inf - sup, QStringLiteral("0.000 %")));
    lblExactoSup->setText(enPpm(sup * 1000000));
}

std::optional<std::pair<double, double>> ProbPearson::zDeAreas(double, double) {
    if (!modelo_)
        return std::nullopt;
    const auto [xL, xR, xM] = *modelo_;
    // Where each limit lies within its side, the side's reference point being 3 deviations
    // from the centre; a side without extent gives 0, so half the area.
    const double a = div(xM - 60 - ZInf->value(), xM - xL);
    const double b = div(ZSup->value() + 60 - xM, xR - xM);
    return std::make_pair(-3 * a, 3 * b);
}

double ProbPearson::alturaMitad(double x, double xM, double xL, double xR, bool inferior) {
    const double sL = (xM - xL) / 3, sR = (xR - xM) / 3, sC = (sL + sR) / 2;
    // The deviation blends linearly so that both halves meet with the same one.
    const double s =
        inferior ? sL + (sC - sL) * div(x - xL, xM - xL) : sR - (sR - sC) * div(xR - x, xR - xM);
    return s < 0.00000001 ? 0 : std::exp(-(x - xM) * (x - xM) / (2 * s * s));
}

double ProbPearson::alturaCurva(double x) const {
    if (!modelo_)
        return 0;
    // As NoNormal draws it: the upper half half a column right of its model place.
    const double n = modelo_->xM + 0.5;
    return 120 * (x <= n ? alturaMitad(x, modelo_->xM, modelo_->xL, modelo_->xR, true)
                         : alturaMitad(modelo_->xM + (x - n), modelo_->xM, modelo_->xL, modelo_->xR,
                                       false));
}

void ProbPearson::NoNormal(double xM, double xL, double xR, double x0, double x1) {
    try {
        Pic1->fijaAnchoTrazo(1);
        Pic1->fijaEstilo(EstiloTrazo::Discontinuo);
        const double m = ConvX(xM);
        Pic1->linea(m, ConvY(120), m, ConvY(0), kRojo);
        Pic1->fijaAnchoTrazo(2);
        Pic1->fijaEstilo(EstiloTrazo::Solido);

        const double paso = div(x1 - x0, 120.0);
        const double n = div(xM - x0, paso) + 0.5;
        const auto y = [&](double x, bool inferior) {
            return ConvY(120 * alturaMitad(x, xM, xL, xR, inferior));
        };

        double x = x0;
        Pic1->punto(ConvX(0), y(x, true), kRojo);
        // Columns beyond the right edge are not drawn: a centre far off would take for ever.
        for (double c = 0; c <= n && c <= 121; c += 1) {
            Pic1->lineaA(ConvX(c), y(x, true), kRojo);
            x += paso;
        }
        x = xM;
        double c = n;
        Pic1->punto(ConvX(c), y(x, false), kRojo);
        if (c < -1) { // the same for columns beyond the left edge
            const double salto = std::floor(-1 - c);
            c += salto;
            x += salto * paso;
        }
        for (; c <= 120; c += 1) {
            Pic1->lineaA(ConvX(c), y(x, false), kRojo);
            x += paso;
        }
    } catch (const ErrorLozar& e) {
        avisa(textoRutina(QStringLiteral("NoNormal."), e));
    }
}
