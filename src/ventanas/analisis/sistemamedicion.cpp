#include "analisis/sistemamedicion.h"

#include "analisis/dialogos.h"
#include "capacidad/capacidad.h"
#include "capacidad/sistemamedicion.h"
#include "graficos/nuevografico.h"
#include "numeros/errores.h"
#include "plataforma/paleta.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScatterSeries>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>

namespace {
const QSize kMinimoGrafico(420, 200);

// Pieces and operators numbered 1, 2, … as they first appear: their ids may be anything.
struct Numeracion {
    std::vector<int> pieza, operador; // of each measurement, from 0
    int piezas = 0, operadores = 0;
};

Numeracion numera(const std::vector<MedicionGage>& m) {
    Numeracion n;
    std::map<int, int> piezas, operadores;
    for (const MedicionGage& x : m) {
        n.pieza.push_back(piezas.try_emplace(x.pieza, int(piezas.size())).first->second);
        n.operador.push_back(
            operadores.try_emplace(x.operador, int(operadores.size())).first->second);
    }
    n.piezas = int(piezas.size());
    n.operadores = int(operadores.size());
    return n;
}

// Wide and low under the report: the legend at the side and thin margins leave the plot its
// height, which the axis labels need not to be cut.
QChart* graficoBajo() {
    auto* chart = nuevoGrafico();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignRight);
    return chart;
}

// An axis of numbered things, one tick at each from 1, thinned where they would crowd.
QValueAxis* ejeNumerado(QChart* chart, const QString& titulo, int cuantos) {
    QValueAxis* x = eje(chart, titulo, Qt::AlignBottom);
    x->setRange(0.5, cuantos + 0.5);
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(1);
    x->setTickInterval(std::max(1, (cuantos + 14) / 15));
    x->setLabelFormat(QStringLiteral("%.0f"));
    return x;
}

QValueAxis* ejeMedicion(QChart* chart, const std::vector<MedicionGage>& m) {
    QValueAxis* y = eje(chart, QStringLiteral("Medición"), Qt::AlignLeft);
    if (m.empty())
        return y;
    const auto [mn, mx] = std::minmax_element(
        m.begin(), m.end(), [](const auto& a, const auto& b) { return a.valor < b.valor; });
    const double margen = std::max(mx->valor - mn->valor, std::fabs(mx->valor) * 1e-3 + 1e-12);
    y->setRange(mn->valor - margen * 0.05, mx->valor + margen * 0.05);
    y->applyNiceNumbers();
    return y;
}

// Every measurement over its piece's or operator's number, and the line of their means.
QChart* graficoPorFactor(const std::vector<MedicionGage>& m, const std::vector<int>& numero,
                         int cuantos, const QString& titulo, const QString& medias) {
    auto* chart = graficoBajo();
    QValueAxis* x = ejeNumerado(chart, titulo, cuantos);
    QValueAxis* y = ejeMedicion(chart, m);
    auto* puntos = new QScatterSeries;
    puntos->setName(QStringLiteral("Mediciones"));
    puntos->setMarkerSize(7);
    puntos->setColor(kAzul);
    puntos->setBorderColor(kAzul);
    std::vector<double> suma(std::size_t(cuantos), 0.0);
    std::vector<int> n(std::size_t(cuantos), 0);
    for (std::size_t i = 0; i < m.size(); ++i) {
        puntos->append(numero[i] + 1, m[i].valor);
        suma[std::size_t(numero[i])] += m[i].valor;
        ++n[std::size_t(numero[i])];
    }
    QList<QPointF> p;
    for (int k = 0; k < cuantos; ++k)
        p.append({k + 1.0, suma[std::size_t(k)] / n[std::size_t(k)]});
    une(chart, puntos, x, y);
    QLineSeries* media = linea(medias, kRojo, Qt::SolidLine, p);
    media->setPointsVisible(true);
    une(chart, media, x, y);
    return chart;
}

// One line per operator through the means of its cells: lines that cross say the operators
// disagree on some pieces.
QChart* graficoDeInteraccion(const std::vector<MedicionGage>& m, const Numeracion& n) {
    auto* chart = graficoBajo();
    QValueAxis* x = ejeNumerado(chart, QStringLiteral("Pieza"), n.piezas);
    QValueAxis* y = ejeMedicion(chart, m);
    const std::size_t celdas = std::size_t(n.piezas) * std::size_t(n.operadores);
    std::vector<double> suma(celdas, 0.0);
    std::vector<int> cuenta(celdas, 0);
    for (std::size_t i = 0; i < m.size(); ++i) {
        const std::size_t c =
            std::size_t(n.operador[i]) * std::size_t(n.piezas) + std::size_t(n.pieza[i]);
        suma[c] += m[i].valor;
        ++cuenta[c];
    }
    const QColor colores[] = {kAzul,           kRojo, kVerdeObj, kAmarilloOscuro, colorDePaleta(5),
                              colorDePaleta(3)};
    for (int o = 0; o < n.operadores; ++o) {
        QList<QPointF> p;
        for (int k = 0; k < n.piezas; ++k) {
            const std::size_t c = std::size_t(o) * std::size_t(n.piezas) + std::size_t(k);
            if (cuenta[c]) // an uneven study may lack a cell; the report says so
                p.append({k + 1.0, suma[c] / cuenta[c]});
        }
        QLineSeries* s = linea(QStringLiteral("Operador %1").arg(o + 1),
                               colores[std::size_t(o) % std::size(colores)], Qt::SolidLine, p);
        s->setPointsVisible(true);
        une(chart, s, x, y);
    }
    return chart;
}
} // namespace

DlgSistemaMedicion::DlgSistemaMedicion(std::vector<MedicionGage> m, double tolerancia,
                                       const QString& origen, QWidget* padre)
    : QDialog(padre), m_(std::move(m)), tolerancia_(tolerancia), origen_(origen) {
    setObjectName(QStringLiteral("SistemaMedicion"));
    setWindowTitle(QStringLiteral("Sistema de medición (R&R)"));
    cboMetodo = new QComboBox;
    cboMetodo->setObjectName(QStringLiteral("cboMetodo"));
    cboMetodo->setAccessibleName(QStringLiteral("Método del estudio"));
    cboMetodo->addItem(QStringLiteral("ANOVA"));
    cboMetodo->addItem(QStringLiteral("Medias y rangos (AIAG)"));
    cboMetodo->setToolTip(
        QStringLiteral("ANOVA separa la interacción operador × pieza y acepta cualquier número "
                       "de ensayos; medias y rangos es el cálculo a mano del manual MSA, para 2 "
                       "o 3 ensayos y operadores y hasta 10 piezas"));
    auto* arriba = new QFormLayout;
    arriba->addRow(QStringLiteral("Método:"), cboMetodo);

    txtInforme = new QTextBrowser;
    txtInforme->setObjectName(QStringLiteral("txtInforme"));
    txtInforme->setAccessibleName(QStringLiteral("Informe del sistema de medición"));
    txtInforme->setMinimumSize(560, 180);

    const Numeracion n = numera(m_);
    graficoPiezas = vista(graficoPorFactor(m_, n.pieza, n.piezas, QStringLiteral("Pieza"),
                                           QStringLiteral("Media de cada pieza")),
                          "graficoPiezas", QStringLiteral("Mediciones por pieza"), kMinimoGrafico);
    graficoOperadores =
        vista(graficoPorFactor(m_, n.operador, n.operadores, QStringLiteral("Operador"),
                               QStringLiteral("Media de cada operador")),
              "graficoOperadores", QStringLiteral("Mediciones por operador"), kMinimoGrafico);
    graficoInteraccion = vista(graficoDeInteraccion(m_, n), "graficoInteraccion",
                               QStringLiteral("Interacción operador × pieza"), kMinimoGrafico);
    auto* graficos = new QTabWidget;
    graficos->setObjectName(QStringLiteral("graficos"));
    graficos->addTab(graficoPiezas, QStringLiteral("Por pieza"));
    graficos->addTab(graficoOperadores, QStringLiteral("Por operador"));
    graficos->addTab(graficoInteraccion, QStringLiteral("Interacción"));

    // The user gives the report or the charts more room, as the question at hand asks.
    auto* division = new QSplitter(Qt::Vertical);
    division->setChildrenCollapsible(false);
    division->addWidget(txtInforme);
    division->addWidget(graficos);
    division->setSizes({380, 270});

    QDialogButtonBox* botones = botonesDeInforme(
        this, [this] { return filas_; }, QStringLiteral("el informe"), cmdCopiar, cmdImprimir,
        cmdCerrar);
    cmdUsar = boton(botones, QStringLiteral("&Usar la σ del R&&R"), "cmdUsar",
                    QDialogButtonBox::AcceptRole);
    cmdUsar->setToolTip(QStringLiteral("Llevar al estudio la desviación estándar del R&R total "
                                       "(GRR) del método elegido, como el error de medición"));
    connect(cmdUsar, &QPushButton::clicked, this, [this] {
        if (!estudio_)
            return;
        elegida_ = estudio_->grr.sigma;
        accept();
    });

    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addWidget(division, 1);
    todo->addWidget(botones);
    setSizeGripEnabled(true);
    connect(cboMetodo, &QComboBox::currentIndexChanged, this, &DlgSistemaMedicion::calcula);
    calcula();

    // Room for the widest table and a chart that reads, within small screens.
    QSize tamano(960, 720);
    if (const QScreen* s = padre ? padre->screen() : QGuiApplication::primaryScreen())
        tamano = tamano.boundedTo(s->availableGeometry().size() - QSize(40, 60));
    resize(tamano.expandedTo(minimumSizeHint()));
}

// The study anew by the method chosen; a method that cannot take it says why where the report
// goes, and nothing of it can be used.
void DlgSistemaMedicion::calcula() {
    const bool anova = cboMetodo->currentIndex() == 0;
    QString motivo; // the core's words, which say what the study lacks
    try {
        estudio_ = estudioGage(m_, anova, tolerancia_);
        filas_ = informeGage(*estudio_, anova, origen_);
    } catch (const ErrorLozar& e) {
        motivo = e.descripcion();
    } catch (const std::exception& e) {
        motivo = QString::fromUtf8(e.what());
    }
    if (!motivo.isEmpty()) {
        estudio_.reset();
        filas_.clear();
        txtInforme->setPlainText(motivo);
    } else {
        // The components' indent survives HTML only as non-breaking spaces.
        QList<QStringList> vistas = filas_;
        for (QStringList& f : vistas)
            if (!f.isEmpty()) {
                const qsizetype n = f[0].size() - f[0].trimmed().size();
                if (n > 0 && f[0].startsWith(QLatin1Char(' ')))
                    f[0] = QString(n * 2, QChar(0xA0)) + f[0].trimmed();
            }
        txtInforme->setHtml(comoHtml(vistas));
    }
    for (QPushButton* b : {cmdUsar, cmdCopiar, cmdImprimir})
        b->setEnabled(estudio_.has_value());
}
