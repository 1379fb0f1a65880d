#include "calculadoras/calculadorabase.h"

#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/formulario.h"
#include "plataforma/picturebox.h"
#include "plataforma/plataforma.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kAnchoCliente = 11580;
constexpr int kRojoPaleta = 12;
// Shown instead of a result that could not be computed.
const QString kSinResultado = QStringLiteral("—");

QLabel* etiqueta(QWidget* padre, const char* nombre, int izq, int arr, int ancho, int alto,
                 double puntos) {
    auto* l = new QLabel(QLatin1String(nombre), padre);
    l->setObjectName(QLatin1String(nombre));
    colocaTwips(l, izq, arr, ancho, alto);
    l->setAlignment(Qt::AlignCenter);
    l->setFont(fuenteTahoma(puntos, true));
    return l;
}

QScrollBar* barra(QWidget* padre, const char* nombre, int arr, int valor) {
    auto* b = new QScrollBar(Qt::Horizontal, padre);
    b->setObjectName(QLatin1String(nombre));
    colocaTwips(b, 60, arr, 11445, 225);
    b->setRange(-60, 60);
    b->setSingleStep(1);
    b->setPageStep(10);
    b->setValue(valor);
    // A dragged thumb changes nothing until it is released.
    b->setTracking(false);
    return b;
}

} // namespace

QString enPpm(double v) {
    // The table's arithmetic leaves noise far below its resolution (0.5 − 0.4999 is not exactly
    // 0.0001): a tail of 100 ppm must take the format of 100.
    v = std::round(v * 1e6) / 1e6;
    if (v >= 100)
        return formatea(v, QStringLiteral("0 ppm"));
    if (v >= 1)
        return formatea(v, QStringLiteral("0.00 ppm"));
    return formatea(v, QStringLiteral("0.000 ppm"));
}

namespace {

// Seeds of the shading, one unit above the bottom edge just inside a limit line. Beyond ±3 the
// curve lies on the bottom edge, so a seed there would find nothing under it.
std::optional<double> semillaInferior(double zi, double zs) {
    if (zs > -3) {
        if (zi <= -3)
            return 30.6;
        if (zi <= 3)
            return zi * 10 + 60 + 0.6;
    }
    return std::nullopt;
}

std::optional<double> semillaSuperior(double zi, double zs) {
    if (zi < 3) {
        if (zs >= 3)
            return 89.3;
        if (zs >= -3)
            return zs * 10 + 60 - 0.7;
    }
    return std::nullopt;
}

} // namespace

const QColor CalculadoraBase::kRojo = colorDePaleta(kRojoPaleta);

CalculadoraBase::CalculadoraBase(const Diseno& diseno, TablaNormal& tabla)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      tabla_(tabla), ambasSemillas_(diseno.ambasSemillas) {
    setObjectName(QLatin1String(diseno.nombre));
    setWindowTitle(QString::fromUtf8(diseno.titulo));
    setFixedSize(aPixeles(kAnchoCliente), aPixeles(diseno.altoCliente));

    txtTitulo = new QLineEdit(QString::fromUtf8(diseno.tituloCaja), this);
    txtTitulo->setObjectName(QStringLiteral("txtTitulo"));
    colocaTwips(txtTitulo, 1290, 135, 8895, 360);
    txtTitulo->setAlignment(Qt::AlignCenter);
    txtTitulo->setFont(fuenteTahoma(11.25, true));
    txtTitulo->setFrame(false);
    txtTitulo->setAccessibleName(QStringLiteral("Título"));

    Pic1 = new PictureBox(this);
    Pic1->setObjectName(QStringLiteral("Pic1"));
    colocaTwips(Pic1, 330, 600, 10890, 5205);
    Pic1->setAccessibleName(QString::fromUtf8(diseno.curva));
    Pic1->setAccessibleDescription(
        QStringLiteral("De −6 a 6 desviaciones estándar; un clic cambia el color del área"));

    lblZInf = etiqueta(this, "lblZInf", 2820, 5895, 855, 195, 8.25);
    lblZSup = etiqueta(this, "lblZSup", 7860, 5895, 855, 195, 8.25);
    ZSup = barra(this, "ZSup", 6210, 30);
    ZInf = barra(this, "ZInf", 6480, -30);
    ZSup->setAccessibleName(QStringLiteral("Límite superior (desviaciones estándar)"));
    ZInf->setAccessibleName(QStringLiteral("Límite inferior (desviaciones estándar)"));
    const int r = diseno.arribaResultados;
    lblInf = etiqueta(this, "lblInf", 660, r, 2235, 435, 14.25);
    lblCentro = etiqueta(this, "lblCentro", 4530, r, 2475, 435, 14.25);
    lblSup = etiqueta(this, "lblSup", 8760, r, 2235, 435, 14.25);

    connect(ZInf, &QScrollBar::valueChanged, this, &CalculadoraBase::ZInf_Change);
    connect(ZSup, &QScrollBar::valueChanged, this, &CalculadoraBase::ZSup_Change);
    connect(Pic1, &PictureBox::ratonAbajo, this, &CalculadoraBase::Pic1_MouseDown);
}

void CalculadoraBase::Form_Load() {
    Accion accion(*this);
    const Escala e = Pic1->escala();
    Pic1->fijaEscala(e.izquierda(), 0, 120, 120);
    colorRelleno_ = 14;
    ZInf_Change();
    ZSup_Change();
}

double CalculadoraBase::ConvX(double x) const {
    const Escala e = Pic1->escala();
    return e.izquierda() + e.ancho() * div(x, 120.0);
}

double CalculadoraBase::ConvY(double y) const {
    const Escala e = Pic1->escala();
    return e.arriba() + e.alto() * (1 - div(y, 120.0));
}

void CalculadoraBase::Inunda(double x, double y, const QColor& relleno, const QColor& borde) {
    Pic1->fijaColor(borde);
    Pic1->fijaColorRelleno(relleno);
    const QImage& img = Pic1->imagen();
    QPoint semilla = Pic1->escala().aPixel(x, y);
    if (semilla.x() < 0 || semilla.x() >= img.width())
        return;
    semilla.ry() = std::clamp(semilla.y(), 0, img.height() - 1);
    // The seed is meant to lie under the curve. Where the pen or a flat tail covers it, the
    // part under the curve in its column is what lies below the lowest drawn pixel, if any.
    const QRgb b = borde.rgb() | 0xff000000u;
    for (int fila = img.height() - 1; fila >= semilla.y(); --fila)
        if ((img.pixel(semilla.x(), fila) | 0xff000000u) == b) {
            semilla.ry() = fila + 1;
            break;
        }
    if (semilla.y() < img.height())
        Pic1->rellena(semilla);
}

void CalculadoraBase::cambiaLimite(Lado lado) {
    Accion accion(*this);
    const bool inferior = lado == Lado::Inferior;
    // The moved bar is pushed back, which keeps both inside their range; setting it re-enters
    // this handler at once, and this run then goes on with the corrected value.
    if (inferior && ZInf->value() > ZSup->value() - 2)
        ZInf->setValue(ZSup->value() - 2);
    if (!inferior && ZSup->value() < ZInf->value() + 2)
        ZSup->setValue(ZInf->value() + 2);
    const double zi = ZInf->value() / 10.0, zs = ZSup->value() / 10.0;

    const double z = inferior ? zi : zs;
    QLabel* valor = inferior ? lblZInf : lblZSup;
    valor->setText(formatea(z, QStringLiteral("0.0")));
    valor->move(aPixeles(z * 876 + 5370), valor->y());

    Pic1->borra();
    bool conCurva = true;
    try {
        dibujaCurva();
    } catch (const ErrorLozar& e) {
        avisaTabla(e);
        conCurva = false;
    }
    for (double zl : {zi, zs}) {
        const double x = ConvX(zl * 10 + 60);
        Pic1->linea(x, ConvY(120), x, ConvY(0), kRojo);
    }
    // Without a curve there is nothing to shade under.
    if (conCurva)
        sombrea(lado, zi, zs);
    muestraExactas(zi, zs);

    QLabel* cola = inferior ? lblInf : lblSup;
    std::optional<std::pair<double, double>> p;
    try {
        if (const auto args = zDeAreas(zi, zs))
            p = std::make_pair(Abcn(args->first), Abcn(args->second));
    } catch (const ErrorLozar& e) {
        avisaTabla(e);
    }
    if (!p) {
        lblCentro->setText(kSinResultado);
        cola->setText(kSinResultado);
        return;
    }
    const auto [pInf, pSup] = *p;
    lblCentro->setText(formatea(pSup - pInf, QStringLiteral("0.000 %")));
    cola->setText(enPpm(inferior ? pInf * 1000000 : (1 - pSup) * 1000000));
}

void CalculadoraBase::sombrea(Lado lado, double zi, double zs) {
    const QColor relleno = colorDePaleta(colorRelleno_), borde = kRojo;
    // A seed is meant to lie under the curve. Where the curve lies on the bottom edge there (a
    // skewed curve's short tail, drawn thicker on a scaled screen), the first place towards the
    // band's inside with room under the curve takes its place; with none, nothing is shaded.
    const Escala e = Pic1->escala();
    const double columna = e.ancho() / e.pixeles().width();
    // Room for the pen's lower half and one pixel under it, in plot units.
    const double pluma = std::max(1L, std::lround(2 * devicePixelRatioF()));
    const double holgura = (pluma / 2 + 1) * 120 / e.pixeles().height();
    auto siembra = [&](double x, double hacia) {
        const double fin = hacia > 0 ? zs * 10 + 60 : zi * 10 + 60;
        while (alturaCurva(x) < holgura) {
            x += hacia * columna;
            if ((x - fin) * hacia >= 0)
                return;
        }
        Inunda(x, 119, relleno, borde);
    };
    if (ambasSemillas_ || lado == Lado::Superior)
        if (const auto x = semillaSuperior(zi, zs))
            siembra(*x, -1);
    if (ambasSemillas_ || lado == Lado::Inferior)
        if (const auto x = semillaInferior(zi, zs))
            siembra(*x, +1);
}

void CalculadoraBase::Pic1_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, double, double) {
    // The drawing colour never shades: it would merge with the border.
    ++colorRelleno_;
    if (colorRelleno_ == kRojoPaleta)
        colorRelleno_ = kRojoPaleta + 1;
    if (colorRelleno_ > 15)
        colorRelleno_ = 0;
    ZSup_Change();
}

CalculadoraBase::Accion::~Accion() {
    if (--c_.profundidad_ > 0)
        return;
    // A success in between lets the same failure be reported again.
    if (!c_.fallo_)
        c_.ultimoAviso_.clear();
    c_.fallo_ = false;
    c_.publica();
}

void CalculadoraBase::avisa(const QString& texto) {
    fallo_ = true;
    if (aviso_.isEmpty())
        aviso_ = texto;
    if (profundidad_ == 0) {
        publica();
        fallo_ = false;
    }
}

void CalculadoraBase::avisaTabla(const ErrorLozar& e) {
    avisa(e.descripcion() +
          QStringLiteral(".\n\nSin ese archivo la calculadora no puede mostrar las áreas."));
}

void CalculadoraBase::publica() {
    const QString texto = std::exchange(aviso_, QString());
    // One box at a time, and not the same one again while the failure persists: a held
    // arrow button would otherwise raise a box per step.
    if (texto.isEmpty() || avisando_ || texto == ultimoAviso_)
        return;
    ultimoAviso_ = texto;
    avisando_ = true;
    plataforma().mensaje(texto, Botones::Aceptar, Icono::Exclamacion);
    avisando_ = false;
}
