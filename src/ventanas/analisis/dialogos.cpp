#include "analisis/dialogos.h"

#include "analisis/graficosmediciones.h"
#include "capacidad/capacidad.h"
#include "estudio/zonas.h"
#include "graficos/botonesgrafico.h"
#include "graficos/nuevografico.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/exporta.h"
#include "plataforma/plataforma.h"

#include <QAbstractTableModel>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {
QLabel* valor(const QString& texto) {
    auto* l = new QLabel(texto);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}
} // namespace

QPushButton* boton(QDialogButtonBox* caja, const QString& texto, const char* nombre,
                   QDialogButtonBox::ButtonRole papel) {
    QPushButton* b = caja->addButton(texto, papel);
    b->setObjectName(QLatin1String(nombre));
    return b;
}
QDialogButtonBox* botonesDeInforme(QDialog* d, const std::function<QList<QStringList>()>& filas,
                                   const QString& que, QPushButton*& copiar, QPushButton*& imprimir,
                                   QPushButton*& cerrar, QWidget* dibujo) {
    auto* botones = new QDialogButtonBox;
    copiar = boton(botones, QStringLiteral("Copiar"), "cmdCopiar", QDialogButtonBox::ActionRole);
    imprimir =
        boton(botones, QStringLiteral("Imprimir…"), "cmdImprimir", QDialogButtonBox::ActionRole);
    cerrar = boton(botones, QStringLiteral("Cerrar"), "cmdCerrar", QDialogButtonBox::RejectRole);
    copiar->setToolTip(QStringLiteral("Copiar %1 como texto separado por tabuladores, para "
                                      "pegarlo en una hoja de cálculo")
                           .arg(que));
    QObject::connect(copiar, &QPushButton::clicked, d, [filas, dibujo] {
        if (filas().isEmpty())
            return;
        if (dibujo)
            plataforma().copiaDibujo(dibujo->grab().toImage(), comoTexto(filas()));
        else
            plataforma().copiaAlPortapapeles(comoTexto(filas()));
    });
    QObject::connect(imprimir, &QPushButton::clicked, d, [filas, que] {
        if (!filas().isEmpty() && !plataforma().imprimeTexto(comoHtml(filas())))
            ofrecePdf(que, [&] { return pdfDeTexto(comoHtml(filas())); });
    });
    QObject::connect(cerrar, &QPushButton::clicked, d, &QDialog::reject);
    return botones;
}

DlgMediciones::DlgMediciones(const ResumenMuestra& r, const QString& origen, const QString& decimal,
                             bool pearson, const QList<std::pair<QString, int>>& columnas,
                             const QString& aviso, QWidget* padre)
    : QDialog(padre) {
    setObjectName(QStringLiteral("Mediciones"));
    setWindowTitle(QStringLiteral("Mediciones"));
    auto* forma = new QFormLayout;
    auto num = [](double v) { return formatea(v, QStringLiteral("0.0#####")); };
    forma->addRow(QStringLiteral("Origen:"), valor(origen));
    forma->addRow(QStringLiteral("Separador decimal:"), valor(decimal));
    forma->addRow(QStringLiteral("Número de mediciones (n):"), valor(QString::number(r.n)));
    forma->addRow(QStringLiteral("Media:"), valor(num(r.media)));
    forma->addRow(QStringLiteral("Desviación estándar:"), valor(num(r.desviacion)));
    forma->addRow(QStringLiteral("Sesgo (G1):"), valor(formatea(r.sesgo, QStringLiteral("0.000"))));
    forma->addRow(QStringLiteral("Curtosis en exceso (G2):"),
                  valor(formatea(r.curtosis, QStringLiteral("0.000"))));
    forma->addRow(QStringLiteral("Mínimo:"), valor(num(r.minimo)));
    forma->addRow(QStringLiteral("Máximo:"), valor(num(r.maximo)));
    cboSubgrupos = new QComboBox;
    cboSubgrupos->setObjectName(QStringLiteral("cboSubgrupos"));
    cboSubgrupos->setAccessibleName(QStringLiteral("Subgrupos"));
    cboSubgrupos->setToolTip(QStringLiteral("Piezas tomadas juntas forman un subgrupo: la "
                                            "desviación dentro de ellos es la del proceso"));
    cboSubgrupos->addItem(QStringLiteral("Ninguno: valores individuales, en su orden"), 0);
    for (int k = 2; k <= 10; ++k)
        cboSubgrupos->addItem(QStringLiteral("De %1 en %1, consecutivos").arg(k), k);
    for (const auto& [nombre, c] : columnas)
        cboSubgrupos->addItem(QStringLiteral("Según la columna «%1»").arg(nombre), -(c + 1));
    forma->addRow(QStringLiteral("Subgrupos:"), cboSubgrupos);
    auto* botones = new QDialogButtonBox;
    cmdNormal = boton(botones, QStringLiteral("Usar como Normal"), "cmdNormal",
                      QDialogButtonBox::AcceptRole);
    cmdPearson = boton(botones, QStringLiteral("Usar como Pearson"), "cmdPearson",
                       QDialogButtonBox::AcceptRole);
    cmdCancelar =
        boton(botones, QStringLiteral("Cancelar"), "cmdCancelar", QDialogButtonBox::RejectRole);
    cmdPearson->setEnabled(pearson);
    if (!pearson)
        cmdPearson->setToolTip(QStringLiteral("Ninguna distribución de Pearson tiene ese sesgo y "
                                              "esa curtosis"));
    connect(cmdNormal, &QPushButton::clicked, this, [this] { uso_ = Normal, accept(); });
    connect(cmdPearson, &QPushButton::clicked, this, [this] { uso_ = Pearson, accept(); });
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(forma);
    if (!aviso.isEmpty()) {
        lblAviso = new QLabel(aviso);
        lblAviso->setObjectName(QStringLiteral("lblAviso"));
        lblAviso->setWordWrap(true);
        lblAviso->setStyleSheet(QStringLiteral("color: #b00000;"));
        todo->addWidget(lblAviso);
    }
    todo->addWidget(botones);
}

int DlgMediciones::subgrupos() const {
    return cboSubgrupos->currentData().toInt();
}

DlgCapacidad::DlgCapacidad(std::function<QList<QStringList>(double)> informe, QWidget* padre)
    : QDialog(padre), informe_(std::move(informe)) {
    setObjectName(QStringLiteral("Capacidad"));
    setWindowTitle(QStringLiteral("Capacidad del proceso"));
    cboConfianza = new QComboBox;
    cboConfianza->setObjectName(QStringLiteral("cboConfianza"));
    cboConfianza->setAccessibleName(QStringLiteral("Nivel de confianza de los intervalos"));
    for (int nivel : {90, 95, 99})
        cboConfianza->addItem(QStringLiteral("%1 %").arg(nivel), nivel / 100.0);
    cboConfianza->setCurrentIndex(1);
    auto* arriba = new QFormLayout;
    arriba->addRow(QStringLiteral("Confianza de los intervalos:"), cboConfianza);
    txtInforme = new QTextBrowser;
    txtInforme->setObjectName(QStringLiteral("txtInforme"));
    txtInforme->setAccessibleName(QStringLiteral("Informe de capacidad"));
    txtInforme->setMinimumSize(760, 480);
    auto muestra = [this] {
        filas_ = informe_(cboConfianza->currentData().toDouble());
        txtInforme->setHtml(comoHtml(filas_));
    };
    connect(cboConfianza, &QComboBox::currentIndexChanged, this, muestra);
    muestra();
    QDialogButtonBox* botones = botonesDeInforme(
        this, [this] { return filas_; }, QStringLiteral("el informe"), cmdCopiar, cmdImprimir,
        cmdCerrar);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addWidget(txtInforme);
    todo->addWidget(botones);
}

DlgEscenarios::DlgEscenarios(std::function<QList<Escenario>(double)> calcula,
                             const QString& unidades, const QString& indice, QWidget* padre)
    : QDialog(padre), calcula_(std::move(calcula)), indice_(indice) {
    setObjectName(QStringLiteral("Escenarios"));
    setWindowTitle(QStringLiteral("Escenarios"));
    auto* datos = new QFormLayout;
    txtUnidades = new QLineEdit(unidades);
    txtUnidades->setObjectName(QStringLiteral("txtUnidades"));
    txtUnidades->setAccessibleName(QStringLiteral("Unidades por año"));
    txtUnidades->setToolTip(QStringLiteral("Unidades buenas que se entregan en un año: el costo de "
                                           "la no calidad por unidad pasa a dinero por año. Se "
                                           "guarda con el estudio."));
    txtReduccion = new QLineEdit(QStringLiteral("20"));
    txtReduccion->setObjectName(QStringLiteral("txtReduccion"));
    txtReduccion->setAccessibleName(QStringLiteral("Reducción de la desviación (%)"));
    txtReduccion->setToolTip(QStringLiteral("Cuánto más angosto sería el proceso, en por ciento "
                                            "de su desviación estándar"));
    datos->addRow(QStringLiteral("Unidades por año:"), txtUnidades);
    datos->addRow(QStringLiteral("Reducción de la desviación (%):"), txtReduccion);
    txtInforme = new QTextBrowser;
    txtInforme->setObjectName(QStringLiteral("txtInforme"));
    txtInforme->setAccessibleName(QStringLiteral("Comparación de escenarios"));
    txtInforme->setMinimumSize(860, 380);
    auto* chart = nuevoGrafico();
    chart->legend()->hide();
    grafico = new QChartView(chart);
    grafico->setObjectName(QStringLiteral("grafico"));
    grafico->setAccessibleName(QStringLiteral("Costo de la no calidad de cada escenario"));
    grafico->setMinimumHeight(220);
    grafico->setRenderHint(QPainter::Antialiasing);
    QDialogButtonBox* botones = botonesDeInforme(
        this, [this] { return filas_; }, QStringLiteral("la comparación"), cmdCopiar, cmdImprimir,
        cmdCerrar, grafico);
    cmdGuardarImagen = boton(botones, QStringLiteral("Guardar imagen…"), "cmdGuardarImagen",
                             QDialogButtonBox::ActionRole);
    cmdGuardarImagen->setToolTip(
        QStringLiteral("Guardar el gráfico de barras como PNG, SVG o PDF"));
    connect(cmdGuardarImagen, &QPushButton::clicked, this,
            [this] { guardaImagen(grafico, objectName() + QStringLiteral(". ")); });
    setSizeGripEnabled(true);
    connect(txtUnidades, &QLineEdit::textChanged, this, [this](const QString& t) {
        emit unidadesCambiadas(t);
        muestra();
    });
    connect(txtReduccion, &QLineEdit::textChanged, this, &DlgEscenarios::recalcula);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(datos);
    todo->addWidget(txtInforme);
    todo->addWidget(grafico);
    todo->addWidget(botones);
    recalcula();
}

// The scenarios anew for the cut typed; what cannot be computed is said where the table goes.
void DlgEscenarios::recalcula() {
    escenarios_.clear();
    try {
        escenarios_ = calcula_(leeEstricto(txtReduccion->text()) / 100);
    } catch (const ErrorLozar& e) {
        filas_.clear();
        txtInforme->setPlainText(
            e.numero() == kErrTipos
                ? QStringLiteral("Escriba la reducción de la desviación en por ciento, por "
                                 "ejemplo 20.")
            : e.numero() == kErrCancelado
                ? QStringLiteral("Cálculo cancelado: cambie la reducción para calcularlo de nuevo.")
                : e.descripcion());
        grafico->chart()->removeAllSeries();
        return;
    }
    muestra();
}

void DlgEscenarios::muestra() {
    if (escenarios_.isEmpty())
        return;
    std::optional<double> unidades;
    try {
        unidades = unidadesDe(txtUnidades->text());
    } catch (const ErrorLozar& e) {
        txtInforme->setPlainText(e.descripcion());
        return;
    }
    filas_ = informeEscenarios(escenarios_, unidades, indice_);
    txtInforme->setHtml(comoHtml(filas_));
    // Bars of the cost of poor quality, each named with its figure in the table's own format.
    QChart* chart = grafico->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* eje : chart->axes()) {
        chart->removeAxis(eje); // handed back to us, not deleted
        delete eje;
    }
    const QList<double> costos = costosDeEscenarios(escenarios_, unidades);
    auto* barras = new QBarSet(unidades ? QStringLiteral("Costo de la no calidad por año")
                                        : QStringLiteral("Costo de la no calidad por unidad"));
    QStringList nombres;
    // An all-scrap scenario stands above the dearest of the others, its bar named as such.
    double tope = 0;
    for (double v : costos)
        if (std::isfinite(v))
            tope = std::max(tope, v);
    for (int i = 0; i < costos.size(); ++i) {
        const bool perdido = !std::isfinite(costos[i]);
        *barras << (perdido ? (tope > 0 ? tope * 1.15 : 1) : costos[i]);
        nombres << escenarios_[i].corto + QStringLiteral(": ") +
                       (perdido ? QStringLiteral("100% Desperdicio")
                                : formatea(costos[i], unidades ? QStringLiteral("$ 0.00")
                                                               : QStringLiteral("$ 0.0000")));
    }
    barras->setColor(QColor(44, 120, 180));
    auto* serie = new QBarSeries;
    serie->append(barras);
    chart->addSeries(serie);
    auto* ejeX = new QBarCategoryAxis;
    ejeX->append(nombres);
    ejeX->setTruncateLabels(false);
    auto* ejeY = new QValueAxis;
    ejeY->setLabelsVisible(false); // the figures stand under the bars, with the user's separator
    ejeY->setMin(0);
    chart->addAxis(ejeX, Qt::AlignBottom);
    chart->addAxis(ejeY, Qt::AlignLeft);
    serie->attachAxis(ejeX);
    serie->attachAxis(ejeY);
    chart->setTitle(barras->label());
}

DlgMediaOptima::DlgMediaOptima(const QList<QStringList>& lineas, QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("MediaOptima"));
    setWindowTitle(QStringLiteral("Media óptima"));
    auto* forma = new QFormLayout;
    for (const QStringList& l : lineas)
        forma->addRow(l.value(0), valor(l.value(1)));
    auto* botones = new QDialogButtonBox;
    cmdAplicar =
        boton(botones, QStringLiteral("Aplicar"), "cmdAplicar", QDialogButtonBox::AcceptRole);
    cmdAplicar->setToolTip(QStringLiteral("Escribir la media óptima en la caja Media"));
    cmdCerrar = boton(botones, QStringLiteral("Cerrar"), "cmdCerrar", QDialogButtonBox::RejectRole);
    connect(cmdAplicar, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(forma);
    todo->addWidget(botones);
}

namespace {
// The measurements as rows, read where the view asks.
class ModeloMediciones : public QAbstractTableModel {
public:
    explicit ModeloMediciones(const MedicionesEstudio& m, QObject* padre)
        : QAbstractTableModel(padre), m_(m) {}
    int rowCount(const QModelIndex& padre) const override {
        return padre.isValid() ? 0 : int(m_.valores.size());
    }
    int columnCount(const QModelIndex& padre) const override {
        return padre.isValid() ? 0 : m_.subgrupos.empty() ? 2 : 3;
    }
    QVariant data(const QModelIndex& i, int papel) const override {
        if (papel == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (papel != Qt::DisplayRole)
            return {};
        const std::size_t fila = std::size_t(i.row());
        if (i.column() == 0)
            return formatoGeneral(m_.valores[fila]);
        if (i.column() == 1 && !m_.subgrupos.empty())
            return m_.subgrupos[fila] + 1; // counted from 1, as the user counts them
        return i.row() + 1;
    }
    QVariant headerData(int seccion, Qt::Orientation o, int papel) const override {
        if (o != Qt::Horizontal || papel != Qt::DisplayRole)
            return {};
        if (seccion == 0)
            return QStringLiteral("Valor");
        return seccion == 1 && !m_.subgrupos.empty() ? QStringLiteral("Subgrupo")
                                                     : QStringLiteral("Orden");
    }

private:
    const MedicionesEstudio& m_;
};
} // namespace

DlgVerMediciones::DlgVerMediciones(const MedicionesEstudio& m, QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("Mediciones"));
    setWindowTitle(QStringLiteral("Mediciones del estudio"));
    const QString de = m.origen == QLatin1String("el portapapeles")
                           ? QStringLiteral("del portapapeles")
                           : QStringLiteral("de «%1»").arg(m.origen);
    lblOrigen = valor(QStringLiteral("%1 mediciones %2, columna «%3»%4.")
                          .arg(QLocale().toString(qulonglong(m.valores.size())), de, m.columna,
                               m.subgrupos.empty() ? QString() : QStringLiteral(", en subgrupos")));
    lblOrigen->setObjectName(QStringLiteral("lblOrigen"));
    lblOrigen->setWordWrap(true);
    tabla = new QTableView;
    tabla->setObjectName(QStringLiteral("tabla"));
    tabla->setAccessibleName(QStringLiteral("Mediciones"));
    tabla->setModel(new ModeloMediciones(m, tabla));
    tabla->verticalHeader()->hide();
    // Rows of one height need not be measured one by one.
    tabla->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tabla->verticalHeader()->setDefaultSectionSize(tabla->fontMetrics().height() + 6);
    tabla->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tabla->setMinimumSize(360, 420);
    auto* botones = new QDialogButtonBox;
    cmdCerrar = boton(botones, QStringLiteral("Cerrar"), "cmdCerrar", QDialogButtonBox::RejectRole);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(lblOrigen);
    todo->addWidget(tabla);
    todo->addWidget(botones);
}

namespace {
// Four significant digits: parameters range from a shape of 0,5 to a scale of 10⁴.
QString cifras(double v) {
    if (!std::isfinite(v))
        return QStringLiteral("—");
    const double magnitud = v == 0 ? 0 : std::floor(std::log10(std::fabs(v)));
    return formatoConResolucion(v, std::pow(10.0, magnitud - 3));
}

QString textoP(const Ajuste& a, const std::optional<double>& p) {
    if (!p || !a.convergio)
        return QStringLiteral("—");
    const QString v = formatea(*p, QStringLiteral("0.000"));
    if (a.cota == Ajuste::Cota::Mayor)
        return QStringLiteral("> ") + v;
    if (a.cota == Ajuste::Cota::Menor || *p < 0.005)
        return QStringLiteral("< ") + (*p < 0.005 ? formatea(0.005, QStringLiteral("0.000")) : v);
    return v;
}
} // namespace

QList<QStringList> tablaDeAjustes(const std::vector<Ajuste>& ajustes) {
    QList<QStringList> f;
    f << QStringList{QStringLiteral("Distribución"), QStringLiteral("A²"), QStringLiteral("p"),
                     QStringLiteral("p (razón de verosimilitud)"), QStringLiteral("Parámetros")};
    for (const Ajuste& a : ajustes) {
        QStringList partes;
        const std::vector<std::string> nombres = nombresParametros(a.familia);
        // Johnson's type is in its name.
        for (std::size_t i = a.familia == Familia::Johnson; a.convergio && i < a.parametros.size();
             ++i) {
            QString t = QString::fromStdString(i < nombres.size() ? nombres[i] : std::string()) +
                        QLatin1Char(' ') + cifras(a.parametros[i]);
            if (i < a.errores.size() && std::isfinite(a.errores[i]))
                t += QStringLiteral(" (± %1)").arg(cifras(a.errores[i]));
            partes << t;
        }
        std::optional<double> lrt = a.pRazonVerosimilitud;
        f << QStringList{
            QString::fromStdString(a.convergio ? nombreDistribucion(a.distribucion())
                                               : nombreFamilia(a.familia)),
            a.convergio ? formatea(a.a2, QStringLiteral("0.000")) : QStringLiteral("—"),
            textoP(a, a.p),
            lrt && a.convergio ? formatea(*lrt, QStringLiteral("0.000")) : QStringLiteral("—"),
            a.convergio ? partes.join(QStringLiteral("; ")) : QString::fromStdString(a.motivo)};
    }
    return f;
}

DlgIdentificar::DlgIdentificar(std::vector<Ajuste> ajustes, const std::vector<double>& ordenadas,
                               const Limites& l, std::function<std::optional<Ajuste>(bool)> boxCox,
                               QWidget* padre)
    : QDialog(padre), ajustes_(std::move(ajustes)), ordenadas_(ordenadas),
      boxCox_(std::move(boxCox)) {
    setObjectName(QStringLiteral("Identificar"));
    setWindowTitle(QStringLiteral("Identificar distribución"));
    auto* aviso = new QLabel(
        QStringLiteral(
            "%1 mediciones. Ajustes por máxima verosimilitud, del menor A² (el que mejor sigue a "
            "los datos) al mayor; p bajo %2 rechaza la distribución. La razón de verosimilitud "
            "dice si el tercer parámetro (el umbral) mejora el ajuste.")
            .arg(ordenadas.size())
            .arg(formatea(0.05, QStringLiteral("0.00"))));
    aviso->setWordWrap(true);
    tabla = new QTableWidget;
    tabla->setObjectName(QStringLiteral("tabla"));
    tabla->setAccessibleName(QStringLiteral("Distribuciones ajustadas"));
    tabla->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla->setSelectionMode(QAbstractItemView::SingleSelection);
    tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla->verticalHeader()->hide();
    tabla->setMinimumSize(900, 260);
    chkLambda = new QCheckBox(QStringLiteral("λ de Box-Cox redondeada a ½"));
    chkLambda->setObjectName(QStringLiteral("chkLambda"));
    chkLambda->setToolTip(QStringLiteral("Redondear λ al medio más cercano (−1, −½, 0, ½, 1 …), "
                                         "la transformación que se puede explicar"));
    grafico = vista(graficoDeAjuste(DatosAjuste{}, l), "grafico",
                    QStringLiteral("Gráfico de probabilidad del ajuste"), QSize(760, 360));
    grafico->setMinimumHeight(360);
    auto* botones = botonesDeInforme(
        this, [this] { return tablaDeAjustes(ajustes_); }, QStringLiteral("la tabla"), cmdCopiar,
        cmdImprimir, cmdCerrar);
    cmdUsar = boton(botones, QStringLiteral("&Usar esta distribución"), "cmdUsar",
                    QDialogButtonBox::AcceptRole);
    cmdUsar->setToolTip(QStringLiteral("El proceso pasa a ser la distribución ajustada: en la "
                                       "curva, la capacidad, el costo exacto, la media óptima y "
                                       "los escenarios"));
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(aviso);
    todo->addWidget(tabla);
    todo->addWidget(chkLambda);
    todo->addWidget(grafico);
    todo->addWidget(botones);
    llena();
    const Limites limites = l;
    connect(tabla, &QTableWidget::itemSelectionChanged, this, [this, limites] {
        const int i = tabla->currentRow();
        const bool valido =
            i >= 0 && i < int(ajustes_.size()) && ajustes_[std::size_t(i)].convergio;
        cmdUsar->setEnabled(valido);
        QChart* viejo = grafico->chart();
        grafico->setChart(graficoDeAjuste(
            valido ? datosAjuste(ordenadas_, ajustes_[std::size_t(i)], limites) : DatosAjuste{},
            limites));
        delete viejo;
    });
    connect(chkLambda, &QCheckBox::toggled, this, [this](bool redondeada) {
        const std::optional<Ajuste> otro = boxCox_(redondeada);
        if (!otro) { // cancelled: as it was
            const QSignalBlocker quieto(chkLambda);
            chkLambda->setChecked(!redondeada);
            return;
        }
        for (Ajuste& a : ajustes_)
            if (a.familia == Familia::BoxCox)
                a = *otro;
        const int fila = tabla->currentRow();
        llena();
        tabla->selectRow(fila);
    });
    connect(cmdUsar, &QPushButton::clicked, this, [this] {
        elegido_ = tabla->currentRow();
        accept();
    });
    tabla->selectRow(0);
}

void DlgIdentificar::llena() {
    const QList<QStringList> filas = tablaDeAjustes(ajustes_);
    const QSignalBlocker quieta(tabla);
    tabla->clear();
    tabla->setColumnCount(int(filas.front().size()));
    tabla->setRowCount(int(filas.size()) - 1);
    tabla->setHorizontalHeaderLabels(filas.front());
    for (int r = 1; r < filas.size(); ++r)
        for (int c = 0; c < filas[r].size(); ++c) {
            auto* item = new QTableWidgetItem(filas[r][c]);
            if (c > 0 && c < 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tabla->setItem(r - 1, c, item);
        }
    tabla->resizeColumnsToContents();
    tabla->horizontalHeader()->setStretchLastSection(true);
}

const Ajuste* DlgIdentificar::elegido() const {
    return elegido_ >= 0 && elegido_ < int(ajustes_.size()) ? &ajustes_[std::size_t(elegido_)]
                                                            : nullptr;
}
