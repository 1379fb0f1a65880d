// The main window's boxes: where each stands, what it says of itself, and what they hold, which
// the study model keeps and checks.
#include "principal/lozarform.h"

#include "estudio/forma.h"
#include "plataforma/formulario.h"
#include "plataforma/picturebox.h"
#include "plataforma/plataforma.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct DisenoCaja {
    Caja caja;
    const char* nombre;
    const char* texto;
    int izq, arr, ancho, alto;
    const char* tip;
    // What the box holds and in which unit, for its tooltip after the accessible name.
    const char* ayuda;
};

// Design of the boxes: name, initial text, position in twips, tip, accessible name.
const DisenoCaja kCajas[] = {
    {Caja::txtTitulo, "txtTitulo", "Integración de Lozars de No Calidad", 1290, 120, 8895, 375, "",
     "aparece en el gráfico de costos, en el detalle del cálculo y en el informe de capacidad"},
    {Caja::XObj, "XObj", "0", 5400, 6300, 750, 315, "",
     "el valor ideal de la característica, donde el costo es solo el nominal (unidades de la "
     "característica)"},
    {Caja::XRetI, "XRetI", "0", 3810, 6300, 750, 315, "",
     "debajo de él la pieza se retrabaja (mismas unidades que el Objetivo)"},
    {Caja::XRetS, "XRetS", "0", 7020, 6300, 750, 315, "",
     "encima de él la pieza se retrabaja (mismas unidades que el Objetivo)"},
    {Caja::XDesI, "XDesI", "0", 2250, 6300, 750, 315, "",
     "debajo de él la pieza se desecha (mismas unidades que el Objetivo)"},
    {Caja::XDesS, "XDesS", "0", 8550, 6300, 750, 315, "",
     "encima de él la pieza se desecha (mismas unidades que el Objetivo)"},
    {Caja::YNomI, "YNomI", "0", 240, 4680, 750, 315, "",
     "costo de producir una unidad buena en el extremo izquierdo del gráfico, xa (dinero por "
     "unidad)"},
    {Caja::YNomS, "YNomS", "0", 10560, 4680, 750, 315, "",
     "costo de producir una unidad buena en el extremo derecho del gráfico, xb (dinero por "
     "unidad)"},
    {Caja::YRetI, "YRetI", "0", 240, 2280, 750, 315, "",
     "costo que se suma por retrabajar una unidad del lado inferior (dinero por unidad)"},
    {Caja::YRetS, "YRetS", "0", 10560, 2280, 750, 315, "",
     "costo que se suma por retrabajar una unidad del lado superior (dinero por unidad)"},
    {Caja::YDesI, "YDesI", "0", 240, 3165, 750, 315, "",
     "costo que se suma por desechar una unidad del lado inferior (dinero por unidad)"},
    {Caja::YDesS, "YDesS", "0", 10560, 3165, 750, 315, "",
     "costo que se suma por desechar una unidad del lado superior (dinero por unidad)"},
    {Caja::Media, "Media", "0", 1980, 7650, 750, 315, "",
     "media del proceso (mismas unidades que el Objetivo)"},
    {Caja::StdDev, "StdDev", "0", 2880, 7650, 750, 315, "",
     "desviación estándar del proceso (mismas unidades que el Objetivo); 0 para un proceso sin "
     "dispersión"},
    {Caja::xa, "xa", "0", 1260, 6120, 540, 285, "Valor mínimo de la característica", ""},
    {Caja::xb, "xb", "100", 9720, 6120, 540, 285, "Valor máximo de la característica", ""},
    {Caja::ya, "ya", "0", 720, 5760, 540, 285, "Valor inferior de la escala de Lozar", ""},
    {Caja::yb, "yb", "100", 720, 600, 540, 285, "Valor superior de la escala de Lozar", ""},
    // The process distribution's shape, in a row of its own under the mean and deviation.
    {Caja::Sesgo, "Sesgo", "", 1980, 8310, 750, 315, "",
     "asimetría de la distribución del proceso; vacío o 0, con la Curtosis, para un proceso "
     "normal"},
    {Caja::Curtosis, "Curtosis", "", 2880, 8310, 750, 315, "",
     "curtosis en exceso de la distribución del proceso (0 la normal); vacía o 0, con el Sesgo, "
     "para un proceso normal"},
    // The gauge, in the free row beside the shape.
    {Caja::DesvMedicion, "DesvMedicion", "", 4305, 8310, 750, 315, "",
     "desviación estándar del error del instrumento (mismas unidades que el Objetivo), del "
     "estudio del sistema de medición o escrita; vacía o 0 para un instrumento perfecto"},
    {Caja::CostoEscape, "CostoEscape", "", 6705, 8310, 750, 315, "",
     "costo que se suma por cada unidad fuera de los límites de desperdicio que, mal medida, "
     "llega al cliente (dinero por unidad); vacío es 0"},
};

struct DisenoEtiqueta {
    const char* texto;
    int izq, arr, ancho, alto; // centred over the box they name, wrapped when needed
};

const DisenoEtiqueta kEtiquetas[LozarForm::kNumEtiquetas] = {
    {"Objetivo", 5400, 6720, 750, 420},
    {"Nominal Producción", 10440, 4200, 990, 420},
    {"Límite Retrabajo", 3690, 6720, 990, 420},
    {"+ Retrabajo", 90, 1980, 1050, 240},
    {"Límite Desperdicio", 2190, 6720, 870, 420},
    {"+ Desperdicio", 90, 2865, 1050, 240},
    {"Límite Retrabajo", 7020, 6720, 750, 420},
    {"Límite Desperdicio", 8490, 6720, 870, 420},
    {"+ Desperdicio", 10410, 2865, 1050, 240},
    {"+ Retrabajo", 10410, 1980, 1050, 240},
    {"Lozar Unitario Lado Inferior", 60, 1200, 1110, 630},
    {"Lozar Unitario Lado Superior", 10320, 1200, 1230, 630},
    {"Media", 1980, 7380, 750, 240},
    {"Desv. Std.", 2880, 7380, 750, 240},
    {"Nominal Producción", 150, 4200, 930, 420},
    {"Sesgo", 1980, 8040, 750, 240},
    {"Curtosis", 2880, 8040, 750, 240},
    {"Desv. Std. de la medición", 3630, 8040, 2100, 240},
    {"+ Defecto que llega al cliente", 5880, 8040, 2400, 240},
};

} // namespace

void LozarForm::creaCajas(QWidget* s) {
    for (const auto& d : kCajas) {
        auto* e = new QLineEdit(QString::fromUtf8(d.texto), s);
        e->setObjectName(QLatin1String(d.nombre));
        colocaTwips(e, d.izq, d.arr, d.ancho, d.alto);
        // The words of the label beside it, as every message names it.
        const QString nombre = nombreDeCaja(d.caja);
        e->setAccessibleName(nombre);
        // The design's own tips as they are; every other box says what it holds.
        e->setToolTip(*d.tip ? QString::fromUtf8(d.tip)
                             : nombre + QStringLiteral(": ") + QString::fromUtf8(d.ayuda));
        e->setProperty("ayuda", e->toolTip()); // again when a fit lends it another
        cajas_[std::size_t(d.caja)] = e;
    }
    XObj = caja(Caja::XObj), XRetI = caja(Caja::XRetI), XRetS = caja(Caja::XRetS);
    XDesI = caja(Caja::XDesI), XDesS = caja(Caja::XDesS), YNomI = caja(Caja::YNomI);
    YNomS = caja(Caja::YNomS), YRetI = caja(Caja::YRetI), YRetS = caja(Caja::YRetS);
    YDesI = caja(Caja::YDesI), YDesS = caja(Caja::YDesS), Media = caja(Caja::Media);
    StdDev = caja(Caja::StdDev), xa = caja(Caja::xa), xb = caja(Caja::xb), ya = caja(Caja::ya);
    yb = caja(Caja::yb), txtTitulo = caja(Caja::txtTitulo), Sesgo = caja(Caja::Sesgo);
    Curtosis = caja(Caja::Curtosis);
    DesvMedicion = caja(Caja::DesvMedicion), CostoEscape = caja(Caja::CostoEscape);
    txtTitulo->setFrame(false);
    txtTitulo->setAlignment(Qt::AlignCenter);
    txtTitulo->setFont(fuenteTahoma(12, true));
    for (auto* e : {xa, xb, ya, yb})
        e->setFont(fuenteTahoma(7, false));
    for (int c = 0; c < kNumCajas; ++c)
        modelo_.fijaTexto(Caja(c), cajas_[std::size_t(c)]->text());
}

void LozarForm::creaEtiquetas(QWidget* s) {
    for (int i = 0; i < kNumEtiquetas; ++i) {
        const auto& d = kEtiquetas[i];
        auto* l = new QLabel(QString::fromUtf8(d.texto), s);
        l->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        colocaTwips(l, d.izq, d.arr, d.ancho, d.alto);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l->setWordWrap(true);
        Label1[std::size_t(i)] = l;
    }
    for (int i : {10, 11})
        Label1[std::size_t(i)]->setFont(fuenteTahoma(8.25, true));
}

QString LozarForm::texto(Caja c) const {
    return modelo_.texto(c);
}

int LozarForm::taguchi() const {
    return modelo_.taguchi();
}

QString LozarForm::ajuste() const {
    return modelo_.ajuste();
}

QString LozarForm::aceptacion() const {
    return modelo_.aceptacion();
}

void LozarForm::nombraDistribucion() {
    cmdNormal->setText(formaNormal(Sesgo->text(), Curtosis->text()) && modelo_.ajuste().isEmpty()
                           ? QStringLiteral("2. Distribución Normal")
                           : QStringLiteral("2. Distribución"));
}

bool LozarForm::compruebaCajas(int necesita, bool avisa) {
    try {
        modelo_.compruebaEntradas(necesita);
        return true;
    } catch (const ErrorLozar& e) {
        // Nothing on screen may say what the boxes no longer do: the picture is a result too.
        BorraResultado(ModeloEstudio::Cpk | ModeloEstudio::Efectivo);
        Pic1->borra();
        plataforma().punteroFlecha();
        if (avisa)
            avisaManejador(e);
        return false;
    }
}
