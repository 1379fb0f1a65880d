#include "analisis/resumencapacidad.h"

#include "estudio/forma.h"
#include "graficos/botonesgrafico.h"
#include "graficos/nuevografico.h"
#include "numeros/numeros.h"
#include "plataforma/paleta.h"

#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kUltimos = 25;
const QSize kTamano(460, 250); // six charts on one screen

// Bars as outlines on the density scale, the curves over them, the tolerance marked.
QChart* histogramaConCurvas(const DatosResumen& d) {
    auto* chart = nuevoGrafico();
    chart->setTitle(QStringLiteral("Histograma de capacidad"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    QValueAxis* x = eje(chart, QStringLiteral("Medición"), Qt::AlignBottom);
    QValueAxis* y = eje(chart, QStringLiteral("Densidad"), Qt::AlignLeft);
    const Histograma& h = d.histograma;
    const double n = double(d.cap.n);
    QList<QPointF> barras;
    double alto = 0;
    for (std::size_t i = 0; i < h.cuentas.size() && h.ancho > 0; ++i) {
        const double x0 = h.desde + h.ancho * double(i), dens = h.cuentas[i] / (n * h.ancho);
        barras << QPointF(x0, 0) << QPointF(x0, dens) << QPointF(x0 + h.ancho, dens)
               << QPointF(x0 + h.ancho, 0);
        alto = std::max(alto, dens);
    }
    une(chart, linea(QStringLiteral("Mediciones"), kGrisHistograma, Qt::SolidLine, barras), x, y);
    const double desde = std::min(d.limites.retI, h.desde),
                 hasta = std::max(d.limites.retS, h.desde + h.ancho * double(h.cuentas.size()));
    auto curva = [&](const QString& nombre, const QColor& color, Qt::PenStyle estilo, double sd) {
        if (!(sd > 0))
            return;
        QList<QPointF> p;
        for (int i = 0; i <= 200; ++i) {
            const double v = desde + (hasta - desde) * i / 200, z = (v - d.cap.media) / sd;
            const double f = d.forma ? d.forma->densidad(z) / sd
                                     : std::exp(-z * z / 2) / (sd * std::sqrt(2 * M_PI));
            p << QPointF(v, f);
            alto = std::max(alto, std::isfinite(f) ? f : 0.0);
        }
        une(chart, linea(nombre, color, estilo, p), x, y);
    };
    if (d.forma) {
        curva(QStringLiteral("Pearson (s total)"), kNegro, Qt::SolidLine, d.cap.sigmaTotal);
    } else {
        curva(QStringLiteral("Normal (σ dentro)"), kRojo, Qt::DashLine, d.cap.sigmaDentro);
        curva(QStringLiteral("Normal (s total)"), kNegro, Qt::SolidLine, d.cap.sigmaTotal);
    }
    for (const double limite : {d.limites.retI, d.limites.retS})
        une(chart,
            linea(QStringLiteral("Retrabajo"), kAmarilloOscuro, Qt::DashLine,
                  {{limite, 0}, {limite, alto * 1.05}}),
            x, y);
    chart->legend()->markers(chart->series().back()).value(0)->setVisible(false);
    const double margen = (hasta - desde) * 0.03;
    x->setRange(desde - margen, hasta + margen);
    y->setRange(0, alto > 0 ? alto * 1.08 : 1);
    return chart;
}

// Each of the last 25 subgroups' values over its number, or the last 25 values.
QChart* ultimosPuntos(const DatosResumen& d) {
    auto* chart = nuevoGrafico();
    chart->setTitle(d.control.porSubgrupos ? QStringLiteral("Últimos %1 subgrupos").arg(kUltimos)
                                           : QStringLiteral("Últimas %1 mediciones").arg(kUltimos));
    chart->legend()->hide();
    QValueAxis* x = eje(chart,
                        d.control.porSubgrupos ? QStringLiteral("Subgrupo")
                                               : QStringLiteral("Medición, en su orden"),
                        Qt::AlignBottom);
    QValueAxis* y = eje(chart, QString(), Qt::AlignLeft);
    auto* puntos = new QScatterSeries;
    puntos->setMarkerSize(6);
    puntos->setColor(kAzul);
    puntos->setBorderColor(kAzul);
    puntos->append(d.ultimos);
    une(chart, puntos, x, y);
    double bajo = d.cap.media, alto = d.cap.media, x0 = 0, x1 = 1;
    for (const QPointF& p : d.ultimos) {
        bajo = std::min(bajo, p.y());
        alto = std::max(alto, p.y());
    }
    if (!d.ultimos.isEmpty())
        x0 = d.ultimos.front().x(), x1 = d.ultimos.back().x();
    une(chart,
        linea(QStringLiteral("Media"), QColor(0, 140, 0), Qt::SolidLine,
              {{x0, d.cap.media}, {x1, d.cap.media}}),
        x, y);
    const double margen = std::max((alto - bajo) * 0.08, 1e-12);
    x->setRange(x0 - 1, x1 + 1);
    x->setLabelFormat(QStringLiteral("%.0f"));
    y->setRange(bajo - margen, alto + margen);
    return chart;
}
} // namespace

DatosResumen datosResumen(const Cajas& c, std::shared_ptr<const FormaProceso> forma,
                          const std::vector<double>& valores, const std::vector<int>& subgrupos,
                          const std::vector<double>& ordenadas, Progreso* progreso) {
    DatosResumen d;
    d.titulo = c.texto(Caja::txtTitulo);
    d.limites = limitesDe(c);
    d.forma = std::move(forma);
    d.cap = calculaCapacidad(c, d.forma.get(), &valores, &subgrupos, 0.95, progreso);
    // The report's rows from its index table to Z.bench.
    const QList<QStringList> filas = informeCapacidad(c, d.forma.get(), d.cap);
    bool dentro = false;
    for (const QStringList& f : filas) {
        dentro = dentro || f.value(0) == QStringLiteral("Índice");
        if (dentro && !f.isEmpty())
            d.indices << f;
        if (f.value(0) == QStringLiteral("Z.bench"))
            break;
    }
    d.control = datosControl(valores, subgrupos);
    d.probabilidad = datosProbabilidad(ordenadas, d.limites);
    d.histograma = histogramaDe(ordenadas);
    const std::vector<std::vector<double>> grupos = subgrupos.size() == valores.size()
                                                        ? agrupa(valores, subgrupos)
                                                        : std::vector<std::vector<double>>{};
    if (grupos.empty()) {
        for (std::size_t i = valores.size() > kUltimos ? valores.size() - kUltimos : 0;
             i < valores.size(); ++i)
            d.ultimos << QPointF(double(i + 1), valores[i]);
    } else {
        for (std::size_t g = grupos.size() > kUltimos ? grupos.size() - kUltimos : 0;
             g < grupos.size(); ++g)
            for (double v : grupos[g])
                d.ultimos << QPointF(double(g + 1), v);
    }
    return d;
}

DlgResumenCapacidad::DlgResumenCapacidad(const DatosResumen& d, QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("ResumenCapacidad"));
    setWindowTitle(QStringLiteral("Resumen de capacidad"));
    graficoValores = vista(graficoDeControl(d.control, d.control.valores), "graficoValores",
                           QStringLiteral("Gráfico de control"), kTamano);
    graficoRangos = vista(graficoDeControl(d.control, d.control.rangos), "graficoRangos",
                          QStringLiteral("Gráfico de la dispersión"), kTamano);
    graficoUltimos =
        vista(ultimosPuntos(d), "graficoUltimos", QStringLiteral("Últimos puntos"), kTamano);
    graficoHistograma =
        vista(histogramaConCurvas(d), "graficoHistograma", QStringLiteral("Histograma"), kTamano);
    graficoProbabilidad =
        vista(graficoDeProbabilidad(d.probabilidad, d.limites), "graficoProbabilidad",
              QStringLiteral("Gráfico de probabilidad"), kTamano);
    lblIndices = new QLabel(comoHtml(d.indices));
    lblIndices->setObjectName(QStringLiteral("lblIndices"));
    lblIndices->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblIndices->setAlignment(Qt::AlignCenter);
    auto* dibujo = new QWidget;
    dibujo->setAutoFillBackground(true);
    auto* rejilla = new QGridLayout(dibujo);
    auto* titulo =
        new QLabel(QStringLiteral("<b>Resumen de capacidad: %1</b>").arg(d.titulo.toHtmlEscaped()));
    titulo->setAlignment(Qt::AlignCenter);
    rejilla->addWidget(titulo, 0, 0, 1, 2);
    rejilla->addWidget(graficoValores, 1, 0);
    rejilla->addWidget(graficoHistograma, 1, 1);
    rejilla->addWidget(graficoRangos, 2, 0);
    rejilla->addWidget(graficoProbabilidad, 2, 1);
    rejilla->addWidget(graficoUltimos, 3, 0);
    rejilla->addWidget(lblIndices, 3, 1);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(dibujo);
    todo->addWidget(botonesDeGrafico(this, dibujo, [d] {
        return QStringLiteral("Resumen de capacidad\t%1\n").arg(d.titulo) + comoTexto(d.indices);
    }));
}
