#include "analisis/graficosmediciones.h"

#include "capacidad/capacidad.h"
#include "capacidad/estabilidad.h"
#include "estudio/zonas.h"
#include "graficos/botonesgrafico.h"
#include "graficos/nuevografico.h"
#include "indices.h"
#include "muestra.h"
#include "numeros/numeros.h"
#include "plataforma/paleta.h"
#include "principal/figurarotulada.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QHash>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <cmath>
#include <utility>

namespace {
// Beyond this many points a chart draws one in so many: the eye tells no more, and the chart
// stays quick. The limits and the signals are computed on every value.
constexpr std::size_t kPuntosDibujados = 4000;
constexpr std::size_t kMarcasDibujadas = 800;
const QSize kTamano(760, 320);

// The percents a probability plot labels.
constexpr double kPorcentajes[] = {0.1, 1, 5, 10, 20, 30, 50, 70, 80, 90, 95, 99, 99.9};

// A probability plot's percent scale on the left, labelled at `marcas` (text, height), and the
// measurements on it.
QValueAxis* porcentajeYPuntos(QChart* chart, QValueAxis* x,
                              const QList<std::pair<QString, double>>& marcas,
                              const QList<QPointF>& medidas) {
    auto* y = new QCategoryAxis;
    y->setTitleText(QStringLiteral("Porcentaje"));
    y->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    y->setTruncateLabels(false);
    for (const auto& [rotulo, altura] : marcas)
        y->append(rotulo, altura);
    chart->addAxis(y, Qt::AlignLeft);
    auto* puntos = new QScatterSeries;
    puntos->setName(QStringLiteral("Mediciones"));
    puntos->setMarkerSize(6);
    puntos->setColor(kAzul);
    puntos->setBorderColor(kAzul);
    puntos->append(medidas);
    une(chart, puntos, x, y);
    return y;
}

// The limits as vertical lines from `y0` to `y1`: one entry per kind of limit, the side being
// plain from where the line stands (a legend of five long names does not fit under the chart).
void marcaLimites(QChart* chart, const Limites& l, QValueAxis* x, QValueAxis* y, double y0,
                  double y1) {
    QHash<QString, bool> nombrados;
    for (const LimiteRotulado& k : limitesRotulados(l)) {
        if (k.color == kVerdeObj) // the target says nothing of the shape
            continue;
        const QString tipo = k.nombre.section(' ', 0, 0);
        une(chart, linea(tipo, k.color, Qt::DashLine, {{k.valor, y0}, {k.valor, y1}}), x, y);
        if (std::exchange(nombrados[tipo], true))
            chart->legend()->markers(chart->series().back()).value(0)->setVisible(false);
    }
}

// The line through values in their order, the first at `x0`. Past kPuntosDibujados values,
// each stretch of them is drawn by its lowest and highest in their order, so that no spike is
// lost to the thinning.
QList<QPointF> trazo(const std::vector<double>& v, double x0) {
    QList<QPointF> p;
    const std::size_t tramo = v.size() / (kPuntosDibujados / 2) + 1;
    if (tramo == 1) {
        for (std::size_t i = 0; i < v.size(); ++i)
            p.append({x0 + double(i), v[i]});
        return p;
    }
    for (std::size_t i = 0; i < v.size(); i += tramo) {
        const auto fin = v.begin() + std::ptrdiff_t(std::min(v.size(), i + tramo));
        const auto [mn, mx] = std::minmax_element(v.begin() + std::ptrdiff_t(i), fin);
        for (auto e : mn < mx ? std::array{mn, mx} : std::array{mx, mn})
            p.append({x0 + double(e - v.begin()), *e});
    }
    return p;
}

// A chart's numbers for a spreadsheet: its title (centre and limits), then each point drawn.
QString numerosDe(const DatosControl::Carta& k) {
    QString t = k.titulo + QStringLiteral("\nPunto\tValor\n");
    for (const QPointF& p : k.trazo)
        t += formatoGeneral(p.x()) + QLatin1Char('\t') + formatoGeneral(p.y()) + QLatin1Char('\n');
    return t;
}
} // namespace

DatosProbabilidad datosProbabilidad(const std::vector<double>& o, const Limites& l) {
    DatosProbabilidad d;
    d.n = o.size();
    const ResumenMuestra r = resumeMuestra(o);
    d.media = r.media;
    d.desviacion = r.desviacion;
    // The tails are where normality fails: every value there, one in so many between; only the
    // points drawn need their score.
    constexpr std::size_t kCola = 50;
    const std::size_t n = o.size(), salto = std::max<std::size_t>(1, n / kMarcasDibujadas);
    for (std::size_t i = 0; i < n;
         i = i < kCola || i + kCola >= n ? i + 1 : std::min(n - kCola, (i / salto + 1) * salto))
        d.puntos.append({o[i], puntuacionNormal(i, n)});
    d.zMin = n == 0 ? -3 : std::min(-3.0, puntuacionNormal(0, n));
    d.zMax = n == 0 ? 3 : std::max(3.0, puntuacionNormal(n - 1, n));
    d.desde = std::min({l.desI, o.empty() ? l.desI : o.front()});
    d.hasta = std::max({l.desS, o.empty() ? l.desS : o.back()});
    d.normalidad = andersonDarling(o);
    return d;
}

QChart* graficoDeProbabilidad(const DatosProbabilidad& d, const Limites& l) {
    auto* chart = nuevoGrafico();
    // N, A² and p where the eye looks first, as the common packages put them in a corner.
    const QString prueba =
        d.normalidad
            ? QStringLiteral("A² %1   p %2")
                  .arg(formatea(d.normalidad->a2, QStringLiteral("0.000")),
                       d.normalidad->p < 0.005 ? QStringLiteral("< 0,005")
                                               : formatea(d.normalidad->p, QStringLiteral("0.000")))
            : QStringLiteral("A² — (menos de 8 mediciones)");
    chart->setTitle(QStringLiteral("Mediciones ordenadas frente a la normal<br>N %1 · %2")
                        .arg(d.n)
                        .arg(prueba));
    chart->legend()->setAlignment(Qt::AlignBottom);
    QValueAxis* x = eje(chart, QStringLiteral("Medición"), Qt::AlignBottom);
    // The normal scores, labelled with the percent of values below each: a normal sample lies
    // on a straight line.
    QList<std::pair<QString, double>> marcas;
    for (const double pct : kPorcentajes) {
        const double z = boost::math::quantile(boost::math::normal(), pct / 100);
        if (z >= d.zMin && z <= d.zMax)
            marcas.append({formatoGeneral(pct), z});
    }
    QValueAxis* y = porcentajeYPuntos(chart, x, marcas, d.puntos);
    // The normal of the values' mean and deviation: z = (x − mean) / s.
    if (d.desviacion > 0) {
        une(chart,
            linea(QStringLiteral("Normal"), kNegro, Qt::SolidLine,
                  {{d.media + d.zMin * d.desviacion, d.zMin},
                   {d.media + d.zMax * d.desviacion, d.zMax}}),
            x, y);
        // The fitted percentile x̄ + z s within 1.96 s √((1 + z²/2) / n) at 95 %: the band a
        // normal sample's points stay in.
        QList<QPointF> bajo, alto;
        for (int i = 0; i <= 60; ++i) {
            const double z = d.zMin + (d.zMax - d.zMin) * i / 60;
            const double e = 1.959964 * d.desviacion * std::sqrt((1 + z * z / 2) / double(d.n));
            bajo << QPointF(d.media + z * d.desviacion - e, z);
            alto << QPointF(d.media + z * d.desviacion + e, z);
        }
        auto* banda = linea(QStringLiteral("IC 95 %"), kNegro, Qt::DotLine, bajo);
        une(chart, banda, x, y);
        une(chart, linea(QString(), kNegro, Qt::DotLine, alto), x, y);
        chart->legend()->markers(chart->series().back()).value(0)->setVisible(false);
    }
    marcaLimites(chart, l, x, y, d.zMin, d.zMax);
    const double margen = (d.hasta - d.desde) * 0.03;
    x->setRange(d.desde - margen, d.hasta + margen);
    y->setRange(d.zMin, d.zMax);
    return chart;
}

DatosAjuste datosAjuste(const std::vector<double>& o, const Ajuste& a, const Limites& l) {
    DatosAjuste d;
    const DistribucionAjustada f = a.distribucion();
    const std::size_t n = o.size();
    const double nn = double(n);
    auto rango = [&](double i) { return (i + 1 - 0.3) / (nn + 0.4); }; // Benard's median rank
    const std::size_t salto = std::max<std::size_t>(1, n / kMarcasDibujadas);
    constexpr std::size_t kCola = 50;
    for (std::size_t i = 0; i < n;
         i = i < kCola || i + kCola >= n ? i + 1 : std::min(n - kCola, (i / salto + 1) * salto))
        d.puntos.append({o[i], f.cuantil(rango(double(i)))});
    if (n == 0)
        return d;
    d.yMin = f.cuantil(rango(0));
    d.yMax = f.cuantil(rango(nn - 1));
    // The i-th of n ordered values has the fitted probability of a Beta(i, n + 1 − i) below it.
    for (int k = 0; k <= 60; ++k) {
        const double r = 1 + (nn - 1) * k / 60, altura = f.cuantil(rango(r - 1));
        d.bajo << QPointF(f.cuantil(boost::math::ibeta_inv(r, nn + 1 - r, 0.025)), altura);
        d.alto << QPointF(f.cuantil(boost::math::ibeta_inv(r, nn + 1 - r, 0.975)), altura);
    }
    for (const double pct : kPorcentajes) {
        const double q = f.cuantil(pct / 100);
        if (q >= d.yMin && q <= d.yMax)
            d.marcas.append({formatoGeneral(pct), q});
    }
    d.desde = std::min(l.desI, o.front());
    d.hasta = std::max(l.desS, o.back());
    d.titulo = QStringLiteral("%1<br>N %2 · A² %3")
                   .arg(QString::fromStdString(nombreDistribucion(a.distribucion())))
                   .arg(n)
                   .arg(formatea(a.a2, QStringLiteral("0.000")));
    return d;
}

QChart* graficoDeAjuste(const DatosAjuste& d, const Limites& l) {
    auto* chart = nuevoGrafico();
    chart->setTitle(d.titulo);
    chart->legend()->setAlignment(Qt::AlignBottom);
    QValueAxis* x = eje(chart, QStringLiteral("Medición"), Qt::AlignBottom);
    QValueAxis* y = porcentajeYPuntos(chart, x, d.marcas, d.puntos);
    une(chart,
        linea(QStringLiteral("Ajuste"), kNegro, Qt::SolidLine,
              {{d.yMin, d.yMin}, {d.yMax, d.yMax}}),
        x, y);
    une(chart, linea(QStringLiteral("IC 95 %"), kNegro, Qt::DotLine, d.bajo), x, y);
    une(chart, linea(QString(), kNegro, Qt::DotLine, d.alto), x, y);
    chart->legend()->markers(chart->series().back()).value(0)->setVisible(false);
    marcaLimites(chart, l, x, y, d.yMin, d.yMax);
    const double margen = (d.hasta - d.desde) * 0.03;
    x->setRange(d.desde - margen, d.hasta + margen);
    y->setRange(d.yMin, d.yMax);
    return chart;
}

DlgProbabilidad::DlgProbabilidad(const DatosProbabilidad& d, const Limites& l, QWidget* padre)
    : QDialog(padre) {
    setObjectName(QStringLiteral("Probabilidad"));
    setWindowTitle(QStringLiteral("Gráfico de probabilidad normal"));
    QChart* chart = graficoDeProbabilidad(d, l);
    grafico = vista(chart, "grafico", QStringLiteral("Gráfico de probabilidad normal"), kTamano);
    grafico->setMinimumHeight(480);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(grafico);
    todo->addWidget(botonesDeGrafico(this, grafico, [d] {
        QString t = QStringLiteral("Medición\tPorcentaje\n");
        for (const QPointF& p : d.puntos)
            t += formatoGeneral(p.x()) + QLatin1Char('\t') +
                 formatea(100 * boost::math::cdf(boost::math::normal(), p.y()),
                          QStringLiteral("0.0###")) +
                 QLatin1Char('\n');
        return t;
    }));
}

DatosControl datosControl(const std::vector<double>& valores, const std::vector<int>& subgrupos) {
    DatosControl d;
    const std::vector<std::vector<double>> grupos = subgrupos.size() == valores.size()
                                                        ? agrupa(valores, subgrupos)
                                                        : std::vector<std::vector<double>>{};
    const bool porSubgrupos = d.porSubgrupos = !grupos.empty();
    const CartaControl c = porSubgrupos ? cartaMedias(grupos) : cartaIndividuales(valores);
    d.tipo = c.tipo;
    // What each point is: a value, or a subgroup's mean; and its spread.
    std::vector<double> puntos, dispersion;
    if (porSubgrupos) {
        for (const std::vector<double>& g : grupos) {
            double s = 0;
            for (double v : g)
                s += v;
            puntos.push_back(s / double(g.size()));
            dispersion.push_back(c.tipo == TipoCarta::MediasRangos ? rangoDe(g) : desviacionDe(g));
        }
    } else {
        for (std::size_t i = 1; i < valores.size(); ++i)
            dispersion.push_back(std::fabs(valores[i] - valores[i - 1]));
    }
    const std::vector<double>& centrales = porSubgrupos ? puntos : valores;
    // The lines' values to a thousandth of the spread within, as a box taken from data shows.
    const double resolucion = std::max(c.sigma / 1000, 1e-300);
    auto cifra = [&](double x) { return formatoConResolucion(x, resolucion); };
    auto carta = [&](const std::vector<double>& v, auto&& lineas,
                     const std::vector<std::size_t>& senales, const QString& nombre,
                     std::size_t desplazamiento) {
        DatosControl::Carta k;
        const LineasCarta l = lineas(std::size_t(0));
        k.centro = l.centro;
        k.lci = l.lci;
        k.lcs = l.lcs;
        k.trazo = trazo(v, double(1 + desplazamiento));
        k.fin = double(v.size() + desplazamiento);
        k.bajo = l.lci;
        k.alto = l.lcs;
        // Limits that change with the subgroup's size are drawn as steps.
        if (!c.tamanos.empty()) {
            for (std::size_t i = 0; i < v.size(); ++i) {
                const LineasCarta li = lineas(i);
                const double x = double(i + 1 + desplazamiento);
                k.lciPasos << QPointF(x - 0.5, li.lci) << QPointF(x + 0.5, li.lci);
                k.lcsPasos << QPointF(x - 0.5, li.lcs) << QPointF(x + 0.5, li.lcs);
                k.centroPasos << QPointF(x - 0.5, li.centro) << QPointF(x + 0.5, li.centro);
                k.bajo = std::min(k.bajo, li.lci);
                k.alto = std::max(k.alto, li.lcs);
            }
        }
        k.titulo =
            nombre + (c.tamanos.empty() ? QStringLiteral(": centro %1, límites %2 y %3")
                                              .arg(cifra(l.centro), cifra(l.lci), cifra(l.lcs))
                                        : QStringLiteral(": límites según el tamaño de "
                                                         "cada subgrupo"));
        // A process far out of control flags nearly every point; each marker is an item of its
        // own, and a few hundred already paint the chart red.
        const std::size_t saltoRojo = std::max<std::size_t>(1, senales.size() / kMarcasDibujadas);
        for (std::size_t i = 0; i < senales.size(); i += saltoRojo)
            if (senales[i] < v.size())
                k.senales.append({double(senales[i] + 1 + desplazamiento), v[senales[i]]});
        if (!v.empty()) {
            const auto [mn, mx] = std::minmax_element(v.begin(), v.end());
            k.bajo = std::min(*mn, k.bajo);
            k.alto = std::max(*mx, k.alto);
        }
        return k;
    };
    std::vector<std::size_t> senales = c.fuera;
    senales.insert(senales.end(), c.enRacha.begin(), c.enRacha.end());
    std::sort(senales.begin(), senales.end());
    senales.erase(std::unique(senales.begin(), senales.end()), senales.end());
    d.valores = carta(
        centrales, [&](std::size_t i) { return c.puntos(i); }, senales,
        porSubgrupos ? QStringLiteral("Medias") : QStringLiteral("Valores individuales"), 0);
    d.rangos = carta(
        dispersion, [&](std::size_t i) { return c.dispersion(i); }, c.fueraDispersion,
        c.tipo == TipoCarta::Individuos     ? QStringLiteral("Rangos móviles")
        : c.tipo == TipoCarta::MediasRangos ? QStringLiteral("Rangos")
                                            : QStringLiteral("Desviaciones estándar"),
        porSubgrupos ? 0 : 1);
    d.veredicto = veredictoDeEstabilidad(c);
    return d;
}

QChart* graficoDeControl(const DatosControl& d, const DatosControl::Carta& k) {
    const bool porSubgrupos = d.porSubgrupos;
    auto* chart = nuevoGrafico();
    chart->setTitle(k.titulo);
    chart->legend()->hide();
    QValueAxis* x = eje(
        chart, porSubgrupos ? QStringLiteral("Subgrupo") : QStringLiteral("Medición, en su orden"),
        Qt::AlignBottom);
    QValueAxis* y = eje(chart, QString(), Qt::AlignLeft);
    auto* serie = new QLineSeries;
    serie->setPen(QPen(kAzul, 1));
    serie->replace(k.trazo);
    une(chart, serie, x, y);
    const bool pasos = !k.lcsPasos.isEmpty();
    une(chart,
        linea(QStringLiteral("Centro"), QColor(0, 140, 0), Qt::SolidLine,
              pasos ? k.centroPasos : QList<QPointF>{{1, k.centro}, {k.fin, k.centro}}),
        x, y);
    // A lower limit of 0 under a spread's chart is no limit: nothing lies below it.
    if (pasos || k.lci > 0 || &k == &d.valores)
        une(chart,
            linea(QStringLiteral("Límite de control"), kRojo, Qt::DashLine,
                  pasos ? k.lciPasos : QList<QPointF>{{1, k.lci}, {k.fin, k.lci}}),
            x, y);
    une(chart,
        linea(QStringLiteral("Límite de control"), kRojo, Qt::DashLine,
              pasos ? k.lcsPasos : QList<QPointF>{{1, k.lcs}, {k.fin, k.lcs}}),
        x, y);
    auto* rojos = new QScatterSeries;
    rojos->setColor(kRojo);
    rojos->setBorderColor(kRojo);
    rojos->setMarkerSize(7);
    rojos->append(k.senales);
    une(chart, rojos, x, y);
    const double margen = std::max((k.alto - k.bajo) * 0.05, 1e-12);
    // Points are counted, not measured: whole ticks, 1, 2 or 5 times a power of ten apart,
    // and the axis ends where the points do.
    x->setRange(0, std::max(2.0, k.fin + 1));
    x->setLabelFormat(QStringLiteral("%.0f"));
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    const double paso = std::pow(10.0, std::floor(std::log10(std::max(1.0, k.fin / 5))));
    x->setTickInterval(k.fin / paso > 25 ? 5 * paso : k.fin / paso > 10 ? 2 * paso : paso);
    y->setRange(k.bajo - margen, k.alto + margen);
    return chart;
}

DlgControl::DlgControl(const DatosControl& d, QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("Control"));
    setWindowTitle(d.tipo == TipoCarta::MediasRangos
                       ? QStringLiteral("Gráfico de control de medias y rangos (X̄–R)")
                   : d.tipo == TipoCarta::MediasDesviaciones
                       ? QStringLiteral("Gráfico de control de medias y desviaciones (X̄–S)")
                       : QStringLiteral("Gráfico de control de individuos y rangos móviles "
                                        "(I-MR)"));
    graficoValores =
        vista(graficoDeControl(d, d.valores), "graficoValores", windowTitle(), kTamano);
    graficoRangos = vista(graficoDeControl(d, d.rangos), "graficoRangos",
                          QStringLiteral("Gráfico de rangos"), kTamano);
    lblSenales = new QLabel(d.veredicto);
    lblSenales->setObjectName(QStringLiteral("lblSenales"));
    lblSenales->setWordWrap(true);
    lblSenales->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* dibujo = new QWidget;
    auto* cartas = new QVBoxLayout(dibujo);
    cartas->setContentsMargins(0, 0, 0, 0);
    cartas->addWidget(graficoValores);
    cartas->addWidget(graficoRangos);
    cartas->addWidget(lblSenales);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(dibujo);
    todo->addWidget(botonesDeGrafico(this, dibujo, [d] {
        return numerosDe(d.valores) + QLatin1Char('\n') + numerosDe(d.rangos) + QLatin1Char('\n') +
               d.veredicto + QLatin1Char('\n');
    }));
}
