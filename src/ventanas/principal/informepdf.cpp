// "Archivo > Informe PDF…" and "Imprimir informe…": the study on one A4 page (a second one with
// the measurements' capability study), drawn once for the PDF writer and the printer alike.
#include "analisis/graficosmediciones.h"
#include "archivos/archivos.h"
#include "capacidad/capacidad.h"
#include "costo/efectivo.h"
#include "costo/escenarios.h"
#include "costo/exacto.h"
#include "estudio/forma.h"
#include "estudio/modeloestudio.h"
#include "estudio/zonas.h"
#include "graficos/graficocostos.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/plataforma.h"
#include "plataforma/trabajo.h"
#include "principal/figurarotulada.h"
#include "principal/lozarform.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QScopeGuard>
#include <QTextDocument>
#include <cmath>

namespace {
const QString kFiltroPdf = QStringLiteral("PDF (*.pdf)|*.pdf");

// The page in logical pixels, A4 at 96 per inch, and its margin.
constexpr double kAncho = 794, kAlto = 1123, kMargen = 40, kUtil = kAncho - 2 * kMargen;

// Text of `px` pixels, bold or not, from `y` down; answers where it ends.
double parrafo(QPainter& p, double y, const QString& t, int px, bool negrita = false,
               const QColor& color = Qt::black) {
    QFont f = p.font();
    f.setPixelSize(px);
    f.setBold(negrita);
    p.setFont(f);
    p.setPen(color);
    QRectF usado;
    p.drawText(QRectF(kMargen, y, kUtil, kAlto), Qt::TextWordWrap, t, &usado);
    return y + usado.height();
}

// A report's rows as a table, `px` pixels high, from `y` down; answers where it ends.
double tabla(QPainter& p, double y, const QList<QStringList>& filas, int px, double ancho = kUtil) {
    QTextDocument d;
    QFont f = p.font();
    f.setPixelSize(px);
    f.setBold(false);
    d.setDefaultFont(f);
    d.setDocumentMargin(0);
    d.setHtml(comoHtml(filas));
    d.setTextWidth(ancho);
    p.save();
    p.translate(kMargen, y);
    d.drawContents(&p);
    p.restore();
    return y + d.size().height();
}

// A chart drawn into `r` of the page, as its window would show it at that size.
void grafico(QPainter& p, QChartView* v, const QRectF& r) {
    QChart* c = v->chart();
    // Laid out larger than the page's rectangle and drawn into it, so that the screen's lettering
    // leaves room for the plot.
    c->setGeometry(QRectF(QPointF(0, 0), r.size() * 1.6));
    // The layout waits for the event loop, which a window's showing would run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    c->scene()->render(&p, r, c->geometry(), Qt::IgnoreAspectRatio);
}
} // namespace

// What the report shows that takes long with many measurements, worked out before any page.
struct DatosInforme {
    QList<QStringList> escenarios, capacidad, gage;
    QString errorEscenarios;
    QList<QPointF> optimos; // of the cost chart's spreads
    std::optional<DatosControl> control;
    std::optional<DatosProbabilidad> probabilidad;
};

std::shared_ptr<const DatosInforme> LozarForm::preparaInforme() {
    auto d = std::make_shared<DatosInforme>();
    d->gage = informeGage_;
    const std::shared_ptr<const FormaProceso> forma = formaDe(*this);
    const CajasInstantanea cajas(*this);
    const QString indice = nombreIndice(), unidades = modelo_.unidades();
    bool capacidadPosible = true;
    try {
        modelo_.compruebaParaCapacidad();
    } catch (const ErrorLozar& e) {
        capacidadPosible = false;
        d->capacidad << QStringList{QStringLiteral("Capacidad"), e.descripcion()};
    }
    const Limites l = limitesDe(cajas);
    try {
        trabajaConProgreso(this, QStringLiteral("Preparando el informe…"), [&](Progreso& p) {
            try {
                p.tramo(0, 0.1);
                d->escenarios = informeEscenarios(calculaEscenarios(cajas, forma.get(), 0.2),
                                                  unidadesDe(unidades), indice);
            } catch (const ErrorLozar& e) {
                if (e.numero() == kErrCancelado)
                    throw;
                d->errorEscenarios = e.descripcion();
            }
            p.tramo(0.1, 0.2);
            try {
                d->optimos = mediasOptimasDelGrafico(cajas, forma.get(), &p);
            } catch (const ErrorLozar& e) {
                if (e.numero() == kErrCancelado)
                    throw;
            }
            p.tramo(0.2, 0.7);
            if (capacidadPosible)
                d->capacidad = informeCapacidad(
                    cajas, forma.get(),
                    calculaCapacidad(cajas, forma.get(), medidas(), grupos(), 0.95, &p));
            if (!medidas())
                return;
            p.tramo(0.7, 0.85);
            d->control = datosControl(medidas_.valores, medidas_.subgrupos);
            p.tramo(0.85, 1);
            d->probabilidad = datosProbabilidad(ordenadas_, l);
        });
    } catch (const ErrorLozar& e) {
        if (e.numero() != kErrCancelado)
            avisaManejador(e);
        return nullptr;
    }
    return d;
}

void LozarForm::pintaInforme(QPagedPaintDevice& hoja, const DatosInforme& datos) {
    redibuja(); // the picture as the boxes say now, whatever was last drawn
    QPainter p(&hoja);
    // The gage study last, on a page of its own, whichever page the study ends on.
    const auto conGage = qScopeGuard([&] {
        if (datos.gage.isEmpty())
            return;
        hoja.newPage();
        tabla(p, parrafo(p, kMargen, QStringLiteral("Sistema de medición (R&R)"), 16, true) + 6,
              datos.gage, 9);
    });
    p.setRenderHint(QPainter::Antialiasing);
    const QRect pagina = p.viewport();
    p.setWindow(0, 0, int(kAncho), int(kAlto));
    p.setViewport(pagina.x(), pagina.y(), pagina.width(), int(pagina.width() * kAlto / kAncho));

    double y = kMargen;
    y = parrafo(p, y, txtTitulo->text(), 20, true);
    y = parrafo(p, y + 2,
                QStringLiteral("Informe de Lozar, %1. Estudio: %2")
                    .arg(QLocale().toString(QDate::currentDate(), QLocale::LongFormat),
                         mostrado_.isEmpty() ? QStringLiteral("sin guardar")
                                             : QDir::toNativeSeparators(mostrado_)),
                10, false, QColor(90, 90, 90));
    // The picture as "Exportar gráfico" writes it.
    const QSize tam = tamanoFiguraRotulada(*this);
    const double alto = kUtil * 0.55 * tam.height() / tam.width();
    dibujaFiguraRotulada(p, QRectF(kMargen, y + 8, kUtil * 0.55, alto), *this);
    // Beside it, what the process costs.
    QStringList resultados;
    const std::shared_ptr<const FormaProceso> forma = formaDe(*this);
    try {
        const double mu = estricto(Caja::Media), sigma = estricto(Caja::StdDev);
        compruebaDesviacion(mu, sigma);
        resultados << QStringLiteral("Media %1, desviación estándar %2, distribución %3")
                          .arg(formatoGeneral(mu), formatoGeneral(sigma),
                               forma && forma->ajuste() ? forma->descripcion()
                               : forma ? QStringLiteral("de Pearson (sesgo %1, curtosis %2)")
                                             .arg(Sesgo->text(), Curtosis->text())
                                       : QStringLiteral("normal"));
        const ResultadoEfectivo r = calculaEfectivo(*this, tabla_, mu, sigma, forma.get());
        resultados << (r.todoDesperdicio()
                           ? QStringLiteral("Costo efectivo: 100 % desperdicio")
                           : QStringLiteral("Costo efectivo por unidad buena: %1 (%2 sobre el "
                                            "nominal)")
                                 .arg(formatea(r.efectivo, QStringLiteral("$ 0.00")),
                                      formatea(r.indice - 1, QStringLiteral("+0.0 %"))));
        resultados << textoExacto(mu, sigma, forma.get());
        const Colas c = colasDelProceso(*this, mu, sigma, tabla_, forma.get());
        resultados << QStringLiteral("Desperdicio: %1    Retrabajo: %2")
                          .arg(formatea(c.desperdicio(), QStringLiteral("0.00 %")),
                               formatea(c.retrabajo(), QStringLiteral("0.00 %")));
        const Limites l = limitesDe(*this);
        const double cpk = cpkDe(mu, sigma, l.retI, l.retS, forma.get());
        resultados << QStringLiteral("%1: %2")
                          .arg(nombreIndice())
                          .arg(std::isfinite(cpk) ? formatea(cpk, QStringLiteral("0.00"))
                                                  : QStringLiteral("—"));
    } catch (const ErrorLozar& e) {
        resultados << QStringLiteral("No se puede calcular el costo: %1").arg(e.descripcion());
    }
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(false);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRectF(kMargen + kUtil * 0.58, y + 16, kUtil * 0.42, alto), Qt::TextWordWrap,
               resultados.join(QStringLiteral("\n\n")));
    y += alto + 18;

    // The four scenarios, a year's money when the units are given.
    y = parrafo(p, y, QStringLiteral("Escenarios"), 13, true);
    y = datos.errorEscenarios.isEmpty() ? tabla(p, y + 4, datos.escenarios, 8)
                                        : parrafo(p, y, datos.errorEscenarios, 10);

    // The capability study: on this page, or with the measurements on a second one with their
    // charts.
    const QList<QStringList>& capacidad = datos.capacidad;
    // The cost over 21 means and six spreads, with where each spread costs least: beside the
    // capability table, or below the scenarios when that table has a page of its own.
    Graf1 g;
    const bool conGrafico = preparaGrafico(g, false);
    if (conGrafico) {
        g.MediasOptimas = [&](Progreso&) { return datos.optimos; };
        g.Form_Load();
        g.marcaOptimos();
    }
    if (!datos.control || !datos.probabilidad) {
        y = parrafo(p, y + 8, QStringLiteral("Capacidad"), 13, true);
        tabla(p, y + 4, capacidad, 8, kUtil * 0.5);
        if (conGrafico)
            grafico(p, g.MSChart1,
                    QRectF(kMargen + kUtil * 0.5, y, kUtil * 0.5,
                           std::clamp(kAlto - kMargen - y, 200.0, 300.0)));
        return;
    }
    if (conGrafico)
        grafico(p, g.MSChart1,
                QRectF(kMargen, y + 10, kUtil, std::clamp(kAlto - kMargen - y - 10, 200.0, 360.0)));
    hoja.newPage();
    y = parrafo(p, kMargen, QStringLiteral("Capacidad del proceso: ") + txtTitulo->text(), 16,
                true);
    y = tabla(p, y + 6, capacidad, 9);
    DlgControl control(*datos.control);
    const double h = (kAlto - kMargen - y - 20) / 2;
    grafico(p, control.graficoValores, QRectF(kMargen, y + 10, kUtil * 0.6, h));
    grafico(p, control.graficoRangos, QRectF(kMargen, y + 14 + h, kUtil * 0.6, h));
    DlgProbabilidad probabilidad(*datos.probabilidad, limitesDe(*this));
    grafico(p, probabilidad.grafico,
            QRectF(kMargen + kUtil * 0.61, y + 10, kUtil * 0.39, 2 * h + 4));
}

QByteArray LozarForm::informePdf(const DatosInforme& datos) {
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&b);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(txtTitulo->text());
    pdf.setCreator(QStringLiteral("Lozar"));
    pintaInforme(pdf, datos);
    return bytes;
}

QByteArray LozarForm::informePdf() {
    const std::shared_ptr<const DatosInforme> datos = preparaInforme();
    return datos ? informePdf(*datos) : QByteArray();
}

void LozarForm::MArchivoInforme_Click() {
    if (!compruebaCajas(ModeloEstudio::ParaInforme))
        return;
    const std::optional<QString> ruta = plataforma().dialogoGuardar(kFiltroPdf);
    if (!ruta)
        return;
    const std::shared_ptr<const DatosInforme> datos = preparaInforme();
    if (!datos)
        return;
    try {
        PunteroOcupado ocupado;
        guardaArchivoSeguro(*ruta, informePdf(*datos));
    } catch (const ErrorLozar& e) {
        avisaRutina(objectName() + QStringLiteral(". MArchivoInforme."), e, 1);
    }
}

void LozarForm::MArchivoImprimir_Click() {
    if (!compruebaCajas(ModeloEstudio::ParaInforme))
        return;
    const std::shared_ptr<const DatosInforme> datos = preparaInforme();
    if (!datos)
        return;
    if (!plataforma().imprimePaginas([&](QPagedPaintDevice& d) { pintaInforme(d, *datos); }))
        ofrecePdf(QStringLiteral("el informe"), [&] { return informePdf(*datos); });
}
