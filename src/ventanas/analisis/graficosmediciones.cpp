#include "analisis/graficosmediciones.h"

#include "capacidad/capacidad.h"
#include "estudio/zonas.h"
#include "graficos/nuevografico.h"
#include "indices.h"
#include "muestra.h"
#include "numeros/numeros.h"
#include "plataforma/paleta.h"
#include "principal/figurarotulada.h"

#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>

namespace {
// Beyond this many points a chart draws one in so many: the eye tells no more, and the chart
// stays quick. The limits and the signals are computed on every value.
constexpr std::size_t kPuntosDibujados = 4000;
constexpr std::size_t kMarcasDibujadas = 800;

QValueAxis* eje(QChart* chart, const QString& titulo, Qt::Alignment lado) {
    auto* e = new QValueAxis;
    e->setTitleText(titulo);
    chart->addAxis(e, lado);
    return e;
}

void une(QChart* chart, QAbstractSeries* serie, QValueAxis* x, QValueAxis* y) {
    chart->addSeries(serie);
    serie->attachAxis(x);
    serie->attachAxis(y);
}

QLineSeries* linea(const QString& nombre, const QColor& color, Qt::PenStyle estilo,
                   std::initializer_list<QPointF> puntos) {
    auto* s = new QLineSeries;
    s->setName(nombre);
    s->setPen(QPen(color, 1.5, estilo));
    for (const QPointF& p : puntos)
        s->append(p);
    return s;
}

QChartView* vista(QChart* chart, const char* nombre, const QString& accesible) {
    auto* v = new QChartView(chart);
    v->setObjectName(QLatin1String(nombre));
    v->setAccessibleName(accesible);
    v->setRenderHint(QPainter::Antialiasing);
    v->setMinimumSize(760, 320);
    return v;
}

QDialogButtonBox* cerrar(QDialog* d) {
    auto* b = new QDialogButtonBox(QDialogButtonBox::Close);
    b->button(QDialogButtonBox::Close)->setText(QStringLiteral("Cerrar"));
    QObject::connect(b, &QDialogButtonBox::rejected, d, &QDialog::reject);
    return b;
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

// Points numbered from 1 for the user, runs of consecutive ones joined: "3, 17–24"; the first
// few dozen stretches, and how many points more, so that the list stays readable.
QString lista(const std::vector<std::size_t>& puntos) {
    constexpr int kTramos = 40;
    QStringList partes;
    std::size_t i = 0;
    for (; i < puntos.size() && partes.size() < kTramos;) {
        std::size_t j = i;
        while (j + 1 < puntos.size() && puntos[j + 1] == puntos[j] + 1)
            ++j;
        partes << (j > i ? QStringLiteral("%1–%2").arg(puntos[i] + 1).arg(puntos[j] + 1)
                         : QString::number(puntos[i] + 1));
        i = j + 1;
    }
    if (i < puntos.size())
        partes << QStringLiteral("y %1 puntos más").arg(puntos.size() - i);
    return partes.join(QStringLiteral(", "));
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
    return d;
}

DlgProbabilidad::DlgProbabilidad(const DatosProbabilidad& d, const Limites& l, QWidget* padre)
    : QDialog(padre) {
    setObjectName(QStringLiteral("Probabilidad"));
    setWindowTitle(QStringLiteral("Gráfico de probabilidad normal"));
    auto* chart = nuevoGrafico();
    chart->setTitle(
        QStringLiteral("Mediciones ordenadas frente a la normal (%1 valores)").arg(d.n));
    QValueAxis* x = eje(chart, QStringLiteral("Medición"), Qt::AlignBottom);
    QValueAxis* y = eje(chart, QStringLiteral("Puntuación normal"), Qt::AlignLeft);
    auto* puntos = new QScatterSeries;
    puntos->setName(QStringLiteral("Mediciones"));
    puntos->setMarkerSize(6);
    puntos->setColor(kAzul);
    puntos->setBorderColor(kAzul);
    puntos->append(d.puntos);
    une(chart, puntos, x, y);
    // The normal of the values' mean and deviation: z = (x − mean) / s.
    if (d.desviacion > 0)
        une(chart,
            linea(QStringLiteral("Normal ajustada"), kNegro, Qt::SolidLine,
                  {{d.media + d.zMin * d.desviacion, d.zMin},
                   {d.media + d.zMax * d.desviacion, d.zMax}}),
            x, y);
    for (const LimiteRotulado& k : limitesRotulados(l))
        if (k.color != kVerdeObj) // the target says nothing of normality
            une(chart,
                linea(k.nombre, k.color, Qt::DashLine, {{k.valor, d.zMin}, {k.valor, d.zMax}}), x,
                y);
    const double margen = (d.hasta - d.desde) * 0.03;
    x->setRange(d.desde - margen, d.hasta + margen);
    y->setRange(d.zMin, d.zMax);
    grafico = vista(chart, "grafico", QStringLiteral("Gráfico de probabilidad normal"));
    grafico->setMinimumHeight(480);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(grafico);
    todo->addWidget(cerrar(this));
}

DatosControl datosControl(const std::vector<double>& valores, const std::vector<int>& subgrupos) {
    DatosControl d;
    const std::vector<std::vector<double>> grupos = subgrupos.size() == valores.size()
                                                        ? agrupa(valores, subgrupos)
                                                        : std::vector<std::vector<double>>{};
    const bool porSubgrupos = d.porSubgrupos = !grupos.empty();
    // What each point is: a value, or a subgroup's mean; and its range.
    std::vector<double> puntos, rangos;
    CartaIndividuales c;
    if (porSubgrupos) {
        for (const std::vector<double>& g : grupos) {
            double s = 0;
            for (double v : g)
                s += v;
            puntos.push_back(s / double(g.size()));
            const auto [mn, mx] = std::minmax_element(g.begin(), g.end());
            rangos.push_back(*mx - *mn);
        }
        c = cartaMedias(grupos, sigmaAgrupada(grupos));
    } else {
        for (std::size_t i = 1; i < valores.size(); ++i)
            rangos.push_back(std::fabs(valores[i] - valores[i - 1]));
        c = cartaIndividuales(valores);
    }
    const std::vector<double>& centrales = porSubgrupos ? puntos : valores;
    auto carta = [&](const std::vector<double>& v, double centro, double lci, double lcs,
                     const std::vector<std::size_t>& senales, const QString& titulo,
                     std::size_t desplazamiento) {
        DatosControl::Carta k;
        k.titulo = titulo;
        k.centro = centro;
        k.lci = lci;
        k.lcs = lcs;
        k.trazo = trazo(v, double(1 + desplazamiento));
        k.fin = double(v.size() + desplazamiento);
        // A process far out of control flags nearly every point; each marker is an item of its
        // own, and a few hundred already paint the chart red.
        const std::size_t saltoRojo = std::max<std::size_t>(1, senales.size() / kMarcasDibujadas);
        for (std::size_t i = 0; i < senales.size(); i += saltoRojo)
            if (senales[i] < v.size())
                k.senales.append({double(senales[i] + 1 + desplazamiento), v[senales[i]]});
        const auto [mn, mx] = std::minmax_element(v.begin(), v.end());
        k.bajo = v.empty() ? lci : std::min(*mn, lci);
        k.alto = v.empty() ? lcs : std::max(*mx, lcs);
        return k;
    };
    // The lines' values to a thousandth of the spread within, as a box taken from data shows.
    const double resolucion = std::max((c.lcs - c.lci) / 6000, 1e-300);
    auto cifra = [&](double x) { return formatoConResolucion(x, resolucion); };
    std::vector<std::size_t> senales = c.fuera;
    senales.insert(senales.end(), c.enRacha.begin(), c.enRacha.end());
    std::sort(senales.begin(), senales.end());
    senales.erase(std::unique(senales.begin(), senales.end()), senales.end());
    d.valores =
        carta(centrales, c.centro, c.lci, c.lcs, senales,
              (porSubgrupos ? QStringLiteral("Medias") : QStringLiteral("Valores individuales")) +
                  QStringLiteral(": centro %1, límites %2 y %3")
                      .arg(cifra(c.centro), cifra(c.lci), cifra(c.lcs)),
              0);
    std::vector<std::size_t> rangosFuera;
    for (std::size_t i = 0; i < rangos.size(); ++i)
        if (rangos[i] > c.lcsRango)
            rangosFuera.push_back(i);
    d.rangos = carta(
        rangos, c.centroRango, 0, c.lcsRango, rangosFuera,
        (porSubgrupos ? QStringLiteral("Rangos") : QStringLiteral("Rangos móviles")) +
            QStringLiteral(": centro %1, límite %2").arg(cifra(c.centroRango), cifra(c.lcsRango)),
        porSubgrupos ? 0 : 1);
    if (c.estable()) {
        d.veredicto = QStringLiteral("Ningún punto fuera de los límites ni en rachas de 8 de un "
                                     "lado: el proceso se mantuvo estable mientras se medía.");
    } else {
        d.veredicto = QStringLiteral("Proceso no estable: los índices de capacidad no predicen lo "
                                     "que hará.");
        if (!c.fuera.empty())
            d.veredicto += QStringLiteral("\nFuera de los límites: %1.").arg(lista(c.fuera));
        if (!c.enRacha.empty())
            d.veredicto += QStringLiteral("\nCierran una racha de 8 o más de un lado del centro: "
                                          "%1.")
                               .arg(lista(c.enRacha));
    }
    return d;
}

DlgControl::DlgControl(const DatosControl& d, QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("Control"));
    const bool porSubgrupos = d.porSubgrupos;
    setWindowTitle(porSubgrupos ? QStringLiteral("Gráfico de control de medias y rangos")
                                : QStringLiteral("Gráfico de control de individuos y rangos "
                                                 "móviles"));
    auto carta = [&](const DatosControl::Carta& k) {
        auto* chart = nuevoGrafico();
        chart->setTitle(k.titulo);
        chart->legend()->hide();
        QValueAxis* x =
            eje(chart,
                porSubgrupos ? QStringLiteral("Subgrupo") : QStringLiteral("Medición, en su orden"),
                Qt::AlignBottom);
        QValueAxis* y = eje(chart, QString(), Qt::AlignLeft);
        auto* serie = new QLineSeries;
        serie->setPen(QPen(kAzul, 1));
        serie->replace(k.trazo);
        une(chart, serie, x, y);
        une(chart,
            linea(QStringLiteral("Centro"), QColor(0, 140, 0), Qt::SolidLine,
                  {{1, k.centro}, {k.fin, k.centro}}),
            x, y);
        for (double limite : {k.lci, k.lcs})
            une(chart,
                linea(QStringLiteral("Límite de control"), kRojo, Qt::DashLine,
                      {{1, limite}, {k.fin, limite}}),
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
    };
    graficoValores = vista(carta(d.valores), "graficoValores", windowTitle());
    graficoRangos = vista(carta(d.rangos), "graficoRangos", QStringLiteral("Gráfico de rangos"));
    lblSenales = new QLabel(d.veredicto);
    lblSenales->setObjectName(QStringLiteral("lblSenales"));
    lblSenales->setWordWrap(true);
    lblSenales->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(graficoValores);
    todo->addWidget(graficoRangos);
    todo->addWidget(lblSenales);
    todo->addWidget(cerrar(this));
}
