#include "graficos/graficocostos.h"

#include "archivos/archivos.h"
#include "graficos/botonesgrafico.h"
#include "graficos/nuevografico.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/exporta.h"
#include "plataforma/formulario.h"
#include "plataforma/plataforma.h"
#include "plataforma/trabajo.h"

#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QTimer>
#include <QToolButton>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

TablaDeGrafico TablaGrafico;

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

// A sheet with its corner folded and an arrow into it: "save as a file".
QIcon iconoExportar() {
    QPixmap p(20, 18);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QColor(40, 40, 40));
    g.setBrush(Qt::white);
    g.drawPolygon(QPolygonF({{4.5, 1.5}, {12.5, 1.5}, {16.5, 5.5}, {16.5, 16.5}, {4.5, 16.5}}));
    g.drawPolyline(QPolygonF({{12.5, 1.5}, {12.5, 5.5}, {16.5, 5.5}}));
    g.setPen(QPen(QColor(0, 110, 200), 2));
    g.drawLine(QPointF(10.5, 6), QPointF(10.5, 13));
    g.drawPolyline(QPolygonF({{7.5, 10.5}, {10.5, 13.5}, {13.5, 10.5}}));
    return QIcon(p);
}

// Drawn in memory, then written whole or not at all.
void guardaPdf(QWidget* ventana, const QString& ruta) {
    guardaArchivoSeguro(
        ruta,
        pdfDeVentana(ventana,
                     QStringLiteral("el gráfico para \"%1\"").arg(QDir::toNativeSeparators(ruta))));
}
// Ticks on round steps, about ten of them over the axis's range (which stays as computed), with
// as many decimals as the step needs.
void marcasRedondas(QValueAxis& eje) {
    const double tramo = eje.max() - eje.min();
    if (!(tramo > 0) || !std::isfinite(tramo))
        return;
    const double paso = pasoRedondo(tramo, 12);
    eje.setTickType(QValueAxis::TicksDynamic);
    eje.setTickAnchor(0);
    eje.setTickInterval(paso);
    eje.setMinorTickCount(1);
    const QString patron = patronDePaso(paso); // "0.00": two decimals
    eje.setLabelFormat(QStringLiteral("%.%1f").arg(std::max<qsizetype>(0, patron.size() - 2)));
}
} // namespace

Graf1::Graf1(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Graf1"));
    setWindowTitle(QStringLiteral("Costo efectivo"));
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
    cmdExportar = new QToolButton(this);
    cmdExportar->setObjectName(QStringLiteral("cmdExportar"));
    cmdExportar->setIcon(iconoExportar());
    cmdExportar->setIconSize(QSize(20, 18));
    cmdExportar->setToolTip(QStringLiteral("Guardar el gráfico como imagen PNG, dibujo SVG o "
                                           "documento PDF"));
    cmdExportar->setAccessibleName(QStringLiteral("Guardar el gráfico"));
    cmdExportar->resize(cmdPrint->size());
    connect(cmdExportar, &QToolButton::clicked, this, &Graf1::cmdExportar_Click);
    cmdCopiar = new QToolButton(this);
    cmdCopiar->setObjectName(QStringLiteral("cmdCopiar"));
    cmdCopiar->setText(QStringLiteral("Copiar"));
    cmdCopiar->setToolTip(QStringLiteral("Copiar el gráfico como imagen y sus números como texto "
                                         "separado por tabuladores"));
    cmdCopiar->setAccessibleName(QStringLiteral("Copiar el gráfico"));
    cmdCopiar->resize(cmdCopiar->sizeHint().width(), cmdPrint->height());
    connect(cmdCopiar, &QToolButton::clicked, this, &Graf1::cmdCopiar_Click);
}

void Graf1::cmdCopiar_Click() {
    // A row per mean, a column per spread, as the chart's lines run.
    QList<QXYSeries*> lineas;
    for (QAbstractSeries* s : grafico()->series())
        if (auto* l = qobject_cast<QLineSeries*>(s); l && !l->points().isEmpty())
            lineas << l;
    QString texto = QStringLiteral("Media");
    for (QXYSeries* l : lineas)
        texto += QLatin1Char('\t') + l->name();
    texto += QLatin1Char('\n');
    for (qsizetype i = 0; !lineas.isEmpty() && i < lineas.front()->count(); ++i) {
        texto += formatoGeneral(lineas.front()->at(i).x());
        for (QXYSeries* l : lineas)
            texto +=
                QLatin1Char('\t') + (i < l->count() ? formatoGeneral(l->at(i).y()) : QString());
        texto += QLatin1Char('\n');
    }
    plataforma().copiaDibujo(MSChart1->grab().toImage(), texto);
}

QChart* Graf1::grafico() const {
    return MSChart1->chart();
}

void Graf1::showEvent(QShowEvent* e) {
    if (!cargado_) {
        cargado_ = true;
        Form_Load();
        if (MediasOptimas)
            QTimer::singleShot(0, this, &Graf1::marcaOptimos);
    }
    QDialog::showEvent(e);
}

void Graf1::marcaOptimos() {
    QList<QPointF> puntos;
    try {
        trabajaConProgreso(this, QStringLiteral("Buscando la media óptima de cada desviación…"),
                           [&](Progreso& p) { puntos = MediasOptimas(p); });
    } catch (const ErrorLozar& e) {
        if (e.numero() != kErrCancelado) // the chart stands without its markers
            avisaManejador(e);
    }
    optimos_->append(puntos);
}

void Graf1::ocultaTramos() {
    // A line broken by empty cells is several series: only its first piece names it.
    for (QLegendMarker* m : grafico()->legend()->markers())
        m->setVisible(!sinLeyenda_.contains(m->series()));
}

void Graf1::Form_Load() {
    if (!TituloGrafico.trimmed().isEmpty())
        setWindowTitle(QStringLiteral("Costo efectivo — ") + TituloGrafico.trimmed());
    auto* chart = nuevoGrafico();
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
    ejeX->setTitleText(QStringLiteral("Media"));
    auto* ejeY = new QValueAxis;
    ejeY->setTitleText(QStringLiteral("Costo efectivo por unidad buena"));
    ejeY->setRange(EjeMinimo.toDouble(), EjeMaximo.toDouble());
    marcasRedondas(*ejeY);
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
                if (!primero)
                    sinLeyenda_ << tramo;
                primero = false;
            }
            tramo->append(fila - 1, v.toDouble());
        }
    }
    if (MediasOptimas) {
        // In place from the start, so that the legend is built once; its points come later.
        optimos_ = new QScatterSeries;
        optimos_->setName(QStringLiteral("Media óptima"));
        optimos_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
        optimos_->setMarkerSize(9);
        optimos_->setColor(Qt::white);
        optimos_->setBorderColor(Qt::black);
        chart->addSeries(optimos_);
        optimos_->attachAxis(ejeX);
        optimos_->attachAxis(ejeY);
    }
    chart->legend()->setAlignment(Qt::AlignRight);
    // The view gives up the chart it had made for itself, and nothing else frees it.
    QChart* anterior = MSChart1->chart();
    MSChart1->setChart(chart);
    delete anterior;
    ocultaTramos();
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
    // The save button stands just left of the print button.
    cmdExportar->move(std::max(0, cmdPrint->x() - cmdExportar->width() - 3), cmdPrint->y());
    cmdExportar->raise();
    cmdCopiar->move(std::max(0, cmdExportar->x() - cmdCopiar->width() - 3), cmdPrint->y());
    cmdCopiar->raise();
}

void Graf1::cmdExportar_Click() {
    const std::optional<QString> ruta = plataforma().dialogoExportar(kFiltroExportar);
    if (!ruta)
        return;
    try {
        // The chart itself, drawn anew: lines and text stay lines and text in a PDF. Qt's SVG
        // writer keeps no clipping, and values above the axis would run over the title, so an
        // SVG holds the chart as a picture of twice the screen's pixels.
        const QSize tam = MSChart1->size();
        const QRectF destino(QPointF(0, 0), QSizeF(tam));
        const bool svg = formatoDe(*ruta) == Formato::Svg;
        exporta(*ruta, tam, [&](QPainter& p) {
            if (!svg) {
                MSChart1->render(&p, destino, MSChart1->viewport()->rect());
                return;
            }
            QImage imagen(tam * 2, QImage::Format_RGB32);
            imagen.fill(Qt::white);
            QPainter q(&imagen);
            q.setRenderHint(QPainter::Antialiasing);
            MSChart1->render(&q, QRectF(imagen.rect()), MSChart1->viewport()->rect());
            q.end();
            p.drawImage(destino, imagen);
        });
    } catch (const ErrorLozar& e) {
        avisaRutina(objectName() + QStringLiteral(". cmdExportar."), e, 1);
    }
}

void Graf1::cmdPrint_Click() {
    // The buttons stay off the paper.
    cmdExportar->hide();
    cmdPrint->hide();
    cmdCopiar->hide();
    const bool impreso = plataforma().imprime(this);
    if (!impreso &&
        plataforma().mensaje(QStringLiteral("No hay ninguna impresora predeterminada.\n\n"
                                            "¿Desea guardar el gráfico como documento PDF?"),
                             Botones::SiNo, Icono::Pregunta) == Respuesta::Si) {
        const std::optional<QString> ruta =
            plataforma().dialogoGuardar(QStringLiteral("PDF (*.pdf)|*.pdf"));
        try {
            if (ruta)
                guardaPdf(this, *ruta);
        } catch (const ErrorLozar& e) {
            avisaRutina(objectName() + QStringLiteral(". cmdPrint."), e, 1);
        }
    }
    cmdPrint->show();
    cmdExportar->show();
    cmdCopiar->show();
}
