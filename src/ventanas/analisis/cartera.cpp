#include "analisis/cartera.h"

#include "analisis/dialogos.h"
#include "archivos/archivos.h"
#include "capacidad/capacidad.h"
#include "graficos/nuevografico.h"
#include "numeros/numeros.h"
#include "plataforma/paleta.h"
#include "plataforma/plataforma.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace {
// Beyond this many bars the names cannot be read: the rest are one bar, "Otros".
constexpr int kBarras = 15;

// The money each study's bar shows: a year's where the studies give their units, else a unit's.
double monto(const CostoDeEstudio& e, bool anual) {
    if (!e.error.isEmpty())
        return 0;
    const std::optional<double>& v = anual ? e.noCalidadAnual : e.noCalidad;
    return v ? std::max(0.0, *v) : 0;
}

QChart* pareto(const QList<CostoDeEstudio>& estudios) {
    auto* chart = nuevoGrafico();
    const bool anual = std::any_of(estudios.begin(), estudios.end(),
                                   [](const CostoDeEstudio& e) { return e.noCalidadAnual; });
    QList<std::pair<QString, double>> barras;
    for (const CostoDeEstudio& e : estudios)
        if (monto(e, anual) > 0)
            barras.append({e.titulo.isEmpty() ? e.archivo : e.titulo, monto(e, anual)});
    std::stable_sort(barras.begin(), barras.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    if (barras.size() > kBarras) {
        double resto = 0;
        for (qsizetype i = kBarras - 1; i < barras.size(); ++i)
            resto += barras[i].second;
        barras.resize(kBarras - 1);
        barras.append({QStringLiteral("Otros"), resto});
    }
    double total = 0;
    for (const auto& b : barras)
        total += b.second;
    chart->setTitle(anual ? QStringLiteral("Costo de la no calidad por año")
                          : QStringLiteral("Costo de la no calidad por unidad buena"));
    auto* set = new QBarSet(anual ? QStringLiteral("Por año") : QStringLiteral("Por unidad"));
    set->setColor(kAzul);
    auto* acumulada = new QLineSeries;
    acumulada->setName(QStringLiteral("% acumulado"));
    acumulada->setColor(kRojo);
    QStringList nombres;
    double suma = 0;
    for (qsizetype i = 0; i < barras.size(); ++i) {
        *set << barras[i].second;
        suma += barras[i].second;
        acumulada->append(double(i), total > 0 ? 100 * suma / total : 0);
        // The axis shows the start of long titles; the table has them whole.
        nombres << (barras[i].first.size() > 18 ? barras[i].first.left(17) + QStringLiteral("…")
                                                : barras[i].first);
    }
    auto* serie = new QBarSeries;
    serie->append(set);
    chart->addSeries(serie);
    chart->addSeries(acumulada);
    auto* ejeX = new QBarCategoryAxis;
    ejeX->append(nombres);
    ejeX->setLabelsAngle(-45);
    auto* ejeY = new QValueAxis;
    ejeY->setTitleText(QStringLiteral("Dinero"));
    ejeY->setLabelFormat(QStringLiteral("%.0f"));
    auto* ejePct = new QValueAxis;
    ejePct->setRange(0, 100);
    ejePct->setTitleText(QStringLiteral("% acumulado"));
    ejePct->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(ejeX, Qt::AlignBottom);
    chart->addAxis(ejeY, Qt::AlignLeft);
    chart->addAxis(ejePct, Qt::AlignRight);
    serie->attachAxis(ejeX);
    serie->attachAxis(ejeY);
    acumulada->attachAxis(ejeX);
    acumulada->attachAxis(ejePct);
    ejeY->setRange(0, barras.isEmpty() ? 1 : barras.front().second * 1.05);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}
} // namespace

DlgCartera::DlgCartera(QList<CostoDeEstudio> estudios, const QString& carpeta, QWidget* padre)
    : QDialog(padre), estudios_(std::move(estudios)) {
    setObjectName(QStringLiteral("Cartera"));
    setWindowTitle(QStringLiteral("Cartera de estudios"));
    lblCarpeta = new QLabel(QStringLiteral("%1 estudios en \"%2\", del que más cuesta al que "
                                           "menos. Doble clic en uno para abrirlo.")
                                .arg(estudios_.size())
                                .arg(QDir::toNativeSeparators(carpeta)));
    lblCarpeta->setWordWrap(true);
    const QList<QStringList> filas = filasDeCartera(estudios_);
    tabla = new QTableWidget(int(filas.size()) - 1, int(filas.value(0).size()));
    tabla->setObjectName(QStringLiteral("tabla"));
    tabla->setAccessibleName(QStringLiteral("Estudios de la cartera"));
    tabla->setHorizontalHeaderLabels(filas.value(0));
    tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla->verticalHeader()->hide();
    for (int r = 1; r < filas.size(); ++r)
        for (int c = 0; c < filas[r].size(); ++c) {
            auto* item = new QTableWidgetItem(filas[r][c]);
            if (c >= 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tabla->setItem(r - 1, c, item);
        }
    tabla->resizeColumnsToContents();
    connect(tabla, &QTableWidget::cellDoubleClicked, this, [this, carpeta](int fila, int) {
        if (fila < estudios_.size()) // the total's row opens nothing
            emit abre(QDir(carpeta).filePath(estudios_[fila].archivo));
    });
    grafico = vista(pareto(estudios_), "grafico",
                    QStringLiteral("Pareto del costo de la no calidad"), QSize(760, 320));
    auto* partes = new QSplitter(Qt::Vertical);
    partes->addWidget(tabla);
    partes->addWidget(grafico);
    QDialogButtonBox* botones = botonesDeInforme(
        this, [filas] { return filas; }, QStringLiteral("la cartera"), cmdCopiar, cmdImprimir,
        cmdCerrar);
    cmdExportar = boton(botones, QStringLiteral("Exportar CSV…"), "cmdExportar",
                        QDialogButtonBox::ActionRole);
    cmdExportar->setToolTip(QStringLiteral("Guardar la tabla como CSV (UTF-8, punto decimal)"));
    connect(cmdExportar, &QPushButton::clicked, this, [this] {
        if (const std::optional<QString> ruta =
                plataforma().dialogoGuardar(QStringLiteral("CSV (*.csv)|*.csv")))
            try {
                guardaArchivoSeguro(*ruta, csvDeCartera(estudios_), QStringLiteral("la cartera "));
            } catch (const ErrorLozar& e) {
                avisaManejador(e);
            }
    });
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(lblCarpeta);
    todo->addWidget(partes, 1);
    todo->addWidget(botones);
    resize(980, 720);
}
