#include "study/graf1.h"

#include "shell/errores.h"
#include "shell/formulario.h"
#include "shell/module1.h"
#include "shell/plataforma.h"

#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPdfWriter>
#include <QToolButton>
#include <QValueAxis>
#include <cmath>

double ejeMaximoDe(double maximo) {
    return std::floor(maximo + 0.999);
}

namespace {
// A small printer, drawn rather than shipped.
QIcon iconoImpresora() {
    QPixmap p(20, 18);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setPen(QColor(40, 40, 40));
    g.setBrush(Qt::white);
    g.drawRect(5, 1, 9, 6); // paper in
    g.setBrush(QColor(150, 150, 150));
    g.drawRect(1, 6, 17, 7); // body
    g.setBrush(Qt::white);
    g.drawRect(5, 11, 9, 6); // paper out
    g.fillRect(15, 8, 2, 1, QColor(0, 160, 0));
    return QIcon(p);
}

bool guardaPdf(QWidget* ventana, const QString& ruta) {
    QPdfWriter pdf(ruta);
    pdf.setPageOrientation(QPageLayout::Landscape);
    return pintaVentana(ventana, &pdf);
}
} // namespace

Graf1::Graf1(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Graf1"));
    setWindowTitle(QStringLiteral("Form1"));
    resize(rectTwips(0, 0, 8370, 5745).size());
    MSChart1 = new QChartView(this);
    MSChart1->setObjectName(QStringLiteral("MSChart1"));
    MSChart1->setRenderHint(QPainter::Antialiasing);
    MSChart1->setAccessibleName(QStringLiteral("Gráfico del Lozar efectivo"));
    MSChart1->setAccessibleDescription(
        QStringLiteral("Costo efectivo por unidad buena para 21 medias entre los límites de "
                       "retrabajo, una línea por desviación estándar"));
    cmdPrint = new QToolButton(this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setIcon(iconoImpresora());
    cmdPrint->setIconSize(QSize(20, 18));
    cmdPrint->setToolTip(QStringLiteral("Imprimir el gráfico"));
    cmdPrint->setAccessibleName(cmdPrint->toolTip());
    cmdPrint->resize(rectTwips(0, 0, 435, 375).size());
    connect(cmdPrint, &QToolButton::clicked, this, &Graf1::cmdPrint_Click);
}

QChart* Graf1::grafico() const {
    return MSChart1->chart();
}

void Graf1::showEvent(QShowEvent* e) {
    if (!cargado_) {
        cargado_ = true;
        Form_Load();
    }
    QDialog::showEvent(e);
}

void Graf1::Form_Load() {
    auto* chart = new QChart;
    chart->setTitle(TituloGrafico);
    QFont f = chart->titleFont();
    f.setBold(true);
    f.setPixelSize(15);
    chart->setTitleFont(f);

    QStringList categorias;
    for (int fila = 1; fila < TablaDeGrafico::kFilas; ++fila)
        categorias << TablaGrafico.celda(fila, 0).toString();
    auto* ejeX = new QBarCategoryAxis;
    ejeX->append(categorias);
    ejeX->setLabelsAngle(-90); // 21 means fit side by side only standing up
    ejeX->setTruncateLabels(false);
    QFont chica = ejeX->labelsFont();
    chica.setPixelSize(10);
    ejeX->setLabelsFont(chica);
    auto* ejeY = new QValueAxis;
    ejeY->setRange(EjeMinimo.toDouble(), EjeMaximo.toDouble());
    ejeY->setTickCount(11);     // 10 major divisions
    ejeY->setMinorTickCount(1); // 2 minor divisions per major one
    ejeY->setLabelFormat(QStringLiteral("%.2f"));
    chart->addAxis(ejeX, Qt::AlignBottom);
    chart->addAxis(ejeY, Qt::AlignLeft);

    // One line per standard deviation; an empty cell (all scrap) breaks the line there.
    const QColor colores[] = {QColor(31, 119, 180),  QColor(44, 160, 44), QColor(255, 127, 14),
                              QColor(148, 103, 189), QColor(214, 39, 40), QColor(23, 190, 207)};
    for (int col = 1; col < TablaDeGrafico::kColumnas; ++col) {
        const QString nombre = TablaGrafico.celda(0, col).toString();
        QLineSeries* tramo = nullptr;
        const QColor color = colores[col - 1];
        bool primero = true;
        for (int fila = 1; fila < TablaDeGrafico::kFilas; ++fila) {
            const QVariant& v = TablaGrafico.celda(fila, col);
            if (v.typeId() != QMetaType::Double) {
                tramo = nullptr;
                continue;
            }
            if (!tramo) {
                tramo = new QLineSeries;
                tramo->setName(nombre);
                chart->addSeries(tramo);
                tramo->attachAxis(ejeX);
                tramo->attachAxis(ejeY);
                tramo->setPen(QPen(color, 2));
                chart->legend()->markers(tramo).value(0)->setVisible(primero);
                primero = false;
            }
            tramo->append(fila - 1, v.toDouble());
        }
    }
    chart->legend()->setAlignment(Qt::AlignRight);
    MSChart1->setChart(chart);
    Form_Resize();
}

void Graf1::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    Form_Resize();
}

void Graf1::Form_Resize() {
    // In twips from the window's outer size; never negative, even when minimised.
    const QRect exterior = frameGeometry().isValid() ? frameGeometry() : geometry();
    const int w = exterior.width() * kTwipsPorPixel, h = exterior.height() * kTwipsPorPixel;
    MSChart1->setGeometry(0, 0, aPixeles(std::max(0, w - 150)), aPixeles(std::max(0, h - 450)));
    cmdPrint->move(aPixeles(std::max(0, w - 660)), aPixeles(std::max(0, h - 900)));
    cmdPrint->raise();
}

void Graf1::cmdPrint_Click() {
    cmdPrint->hide(); // the button stays off the paper
    const bool impreso = plataforma().imprime(this);
    if (!impreso &&
        plataforma().mensaje(QStringLiteral("No hay ninguna impresora predeterminada.\n\n"
                                            "¿Desea guardar el gráfico como documento PDF?"),
                             Botones::SiNo, Icono::Pregunta) == Respuesta::Si) {
        const std::optional<QString> ruta =
            plataforma().dialogoGuardar(QStringLiteral("PDF (*.pdf)|*.pdf"));
        if (ruta && !guardaPdf(this, *ruta))
            plataforma().mensaje(
                QStringLiteral("No se pudo guardar el gráfico en \"%1\".").arg(*ruta),
                Botones::Aceptar, Icono::Exclamacion);
    }
    cmdPrint->show();
}
