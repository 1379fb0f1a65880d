// The main window built: its menus, its surface with the marker lines, its controls in their
// places, the tab order and every connection.
#include "principal/lozarform.h"

#include "calculadoras/calculadoras.h"
#include "estudio/forma.h"
#include "plataforma/formulario.h"
#include "plataforma/paleta.h"
#include "plataforma/picturebox.h"
#include "plataforma/plataforma.h"
#include "principal/ayuda.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>

namespace {

// The form's surface: it carries the marker lines beneath the controls.
class Superficie : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { LineaControl::dibujaTodas(this); }
};

const QString kAyudaEfectivo = QStringLiteral("Costo efectivo de una unidad buena y, entre "
                                              "paréntesis, su exceso sobre el costo nominal en el "
                                              "objetivo");

// The client area holds every control with a margin like the design's left one.
constexpr int kAnchoCliente = 11550, kAltoCliente = 8820;

QPushButton* boton(QWidget* padre, const char* nombre, const QString& texto, int izq, int arr,
                   int ancho, int alto) {
    auto* b = new BotonComando(texto, padre);
    b->setObjectName(QLatin1String(nombre));
    colocaTwips(b, izq, arr, ancho, alto);
    return b;
}

} // namespace

LozarForm::LozarForm(QWidget* parent)
    : QMainWindow(parent), tabla_(plataforma().directorioAplicacion()) {
    setObjectName(QStringLiteral("Lozar"));
    setWindowTitle(QStringLiteral("Calculadora de Lozar Efectivo de Producción"));
    setAttribute(Qt::WA_DeleteOnClose);
    creaMenus();
    QWidget* s = creaSuperficie();
    creaLineas(s); // first: they lie beneath every control
    creaCajas(s);
    creaEtiquetas(s);
    creaControles(s);
    ordenaTabulacion();
    conecta();
    Form_Load();
}

void LozarForm::creaMenus() {
    auto* menuArchivo = menuBar()->addMenu(QStringLiteral("&Archivo"));
    menuArchivo->setObjectName(QStringLiteral("MArchivo"));
    MArchivoAbrir = menuArchivo->addAction(QStringLiteral("&Abrir"));
    MArchivoAbrir->setObjectName(QStringLiteral("MArchivoAbrir"));
    MArchivoGuardarComo = menuArchivo->addAction(QStringLiteral("&Guardar como"));
    MArchivoGuardarComo->setObjectName(QStringLiteral("MArchivoGuardarComo"));
    MArchivoAbrir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    MArchivoGuardarComo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    MArchivoGuardar = menuArchivo->addAction(QStringLiteral("G&uardar"));
    MArchivoGuardar->setObjectName(QStringLiteral("MArchivoGuardar"));
    MArchivoGuardar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    menuArchivo->addSeparator();
    MArchivoExportar = menuArchivo->addAction(QStringLiteral("&Exportar gráfico…"));
    MArchivoExportar->setObjectName(QStringLiteral("MArchivoExportar"));
    MArchivoImportar = menuArchivo->addAction(QStringLiteral("&Importar mediciones…"));
    MArchivoImportar->setObjectName(QStringLiteral("MArchivoImportar"));
    menuArchivo->addSeparator();
    MArchivoEjemplos = menuArchivo->addMenu(QStringLiteral("E&jemplos"));
    MArchivoEjemplos->setObjectName(QStringLiteral("MArchivoEjemplos"));
    connect(MArchivoEjemplos, &QMenu::aboutToShow, this, &LozarForm::llenaEjemplos);
    // New items come after the old ones, which keep their places.
    menuArchivo->addSeparator();
    MArchivoNuevo = menuArchivo->addAction(QStringLiteral("&Nuevo"));
    MArchivoNuevo->setObjectName(QStringLiteral("MArchivoNuevo"));
    MArchivoNuevo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    MArchivoInforme = menuArchivo->addAction(QStringLiteral("In&forme PDF…"));
    MArchivoInforme->setObjectName(QStringLiteral("MArchivoInforme"));
    MArchivoImprimir = menuArchivo->addAction(QStringLiteral("Im&primir informe…"));
    MArchivoImprimir->setObjectName(QStringLiteral("MArchivoImprimir"));
    MArchivoImprimir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    MArchivoRecientes = menuArchivo->addMenu(QStringLiteral("Estudios &recientes"));
    MArchivoRecientes->setObjectName(QStringLiteral("MArchivoRecientes"));
    connect(MArchivoRecientes, &QMenu::aboutToShow, this, &LozarForm::llenaRecientes);
    menuArchivo->addSeparator();
    MArchivoCartera = menuArchivo->addAction(QStringLiteral("&Cartera de estudios…"));
    MArchivoCartera->setObjectName(QStringLiteral("MArchivoCartera"));
    MArchivoSalir = menuArchivo->addAction(QStringLiteral("&Salir"));
    MArchivoSalir->setObjectName(QStringLiteral("MArchivoSalir"));
    MArchivoSalir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    MProbNorm = menuBar()->addAction(QStringLiteral("&Curva Normal"));
    MProbNorm->setObjectName(QStringLiteral("MProbNorm"));
    MProbPearson = menuBar()->addAction(QStringLiteral("Curva &No Normal"));
    MProbPearson->setObjectName(QStringLiteral("MProbPearson"));
    // New menus come after the old ones, which keep their places.
    auto* menuEdicion = menuBar()->addMenu(QStringLiteral("&Edición"));
    menuEdicion->setObjectName(QStringLiteral("MEdicion"));
    MEdicionPegar = menuEdicion->addAction(QStringLiteral("&Pegar mediciones"));
    MEdicionPegar->setObjectName(QStringLiteral("MEdicionPegar"));
    MEdicionPegar->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    auto* menuAnalisis = menuBar()->addMenu(QStringLiteral("Aná&lisis"));
    menuAnalisis->setObjectName(QStringLiteral("MAnalisis"));
    MAnalisisCapacidad = menuAnalisis->addAction(QStringLiteral("&Capacidad…"));
    MAnalisisCapacidad->setObjectName(QStringLiteral("MAnalisisCapacidad"));
    MAnalisisOptima = menuAnalisis->addAction(QStringLiteral("&Media óptima…"));
    MAnalisisOptima->setObjectName(QStringLiteral("MAnalisisOptima"));
    MAnalisisEscenarios = menuAnalisis->addAction(QStringLiteral("&Escenarios…"));
    MAnalisisEscenarios->setObjectName(QStringLiteral("MAnalisisEscenarios"));
    menuAnalisis->addSeparator();
    MAnalisisProbabilidad = menuAnalisis->addAction(QStringLiteral("Gráfico de &probabilidad…"));
    MAnalisisProbabilidad->setObjectName(QStringLiteral("MAnalisisProbabilidad"));
    MAnalisisControl = menuAnalisis->addAction(QStringLiteral("Gráfico de con&trol…"));
    MAnalisisControl->setObjectName(QStringLiteral("MAnalisisControl"));
    MAnalisisResumen = menuAnalisis->addAction(QStringLiteral("&Resumen de capacidad…"));
    MAnalisisResumen->setObjectName(QStringLiteral("MAnalisisResumen"));
    MAnalisisIdentificar = menuAnalisis->addAction(QStringLiteral("&Identificar distribución…"));
    MAnalisisIdentificar->setObjectName(QStringLiteral("MAnalisisIdentificar"));
    MAnalisisQuitarAjuste =
        menuAnalisis->addAction(QStringLiteral("&Quitar la distribución ajustada"));
    MAnalisisQuitarAjuste->setObjectName(QStringLiteral("MAnalisisQuitarAjuste"));
    MAnalisisQuitarAjuste->setEnabled(false);
    MAnalisisSistemaMedicion = menuAnalisis->addAction(QStringLiteral("&Sistema de medición…"));
    MAnalisisSistemaMedicion->setObjectName(QStringLiteral("MAnalisisSistemaMedicion"));
    MAnalisisAceptacion =
        menuAnalisis->addAction(QStringLiteral("Límites de &aceptación óptimos…"));
    MAnalisisAceptacion->setObjectName(QStringLiteral("MAnalisisAceptacion"));
    auto* menuAyuda = menuBar()->addMenu(QStringLiteral("Ay&uda"));
    menuAyuda->setObjectName(QStringLiteral("MAyuda"));
    MAyudaGuia = menuAyuda->addAction(QStringLiteral("&Guía de Lozar"));
    MAyudaGuia->setObjectName(QStringLiteral("MAyudaGuia"));
    MAyudaGuia->setShortcut(QKeySequence(Qt::Key_F1));
    MAyudaAcerca = menuAyuda->addAction(QStringLiteral("&Acerca de Lozar"));
    MAyudaAcerca->setObjectName(QStringLiteral("MAyudaAcerca"));
    auto* menuVer = menuBar()->addMenu(QStringLiteral("&Ver"));
    menuVer->setObjectName(QStringLiteral("MVer"));
    MVerMediciones = menuVer->addAction(QStringLiteral("&Mediciones…"));
    MVerMediciones->setObjectName(QStringLiteral("MVerMediciones"));
}

QWidget* LozarForm::creaSuperficie() {
    auto* s = new Superficie(this);
    s->setObjectName(QStringLiteral("superficie"));
    s->setFixedSize(aPixeles(kAnchoCliente), aPixeles(kAltoCliente));
    setCentralWidget(s);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    return s;
}

void LozarForm::creaLineas(QWidget* s) {
    const struct {
        std::array<LineaControl*, 6>* arr;
        int i;
        const char* nombre;
        QColor color;
        int x1, y1, x2, y2;
    } lineas[] = {
        {&LinX, 1, "LinX(1)", kRojo, 2640, 6300, 2640, 6090},
        {&LinX, 2, "LinX(2)", kAmarillo, 4140, 6300, 4140, 6090},
        {&LinX, 3, "LinX(3)", kVerdeObj, 5760, 6300, 5760, 6090},
        {&LinX, 4, "LinX(4)", kAmarillo, 7380, 6300, 7380, 6090},
        {&LinX, 5, "LinX(5)", kRojo, 8880, 6300, 8880, 6090},
    };
    for (const auto& l : lineas)
        (*l.arr)[std::size_t(l.i)] =
            new LineaControl(QLatin1String(l.nombre), l.color, l.x1, l.y1, l.x2, l.y2, s);
    const struct {
        const char* nombre;
        QColor color;
        int y;
    } laterales[] = {{"1", kVerde, 4860}, {"2", kRojo, 3345}, {"3", kAmarillo, 2460}};
    for (std::size_t i = 1; i <= 3; ++i) {
        const auto& l = laterales[i - 1];
        LinYI[i] = new LineaControl(QStringLiteral("LinYI(%1)").arg(QLatin1String(l.nombre)),
                                    l.color, 990, l.y, 1260, l.y, s);
        LinYS[i] = new LineaControl(QStringLiteral("LinYS(%1)").arg(QLatin1String(l.nombre)),
                                    l.color, 10260, l.y, 10560, l.y, s);
    }
}

void LozarForm::creaControles(QWidget* s) {
    chkTaguchi = new CasillaTresEstados(QStringLiteral("Taguchi"), s);
    chkTaguchi->setObjectName(QStringLiteral("chkTaguchi"));
    colocaTwips(chkTaguchi, 240, 7200, 1155, 195 + 60);

    Pic1 = new PictureBox(s);
    Pic1->setObjectName(QStringLiteral("Pic1"));
    colocaTwips(Pic1, 1260, 600, 9000, 5505);
    Pic1->setAccessibleName(QStringLiteral("Gráfico de la función Lozar"));
    Pic1->setAccessibleDescription(
        QStringLiteral("Costo por unidad a lo largo de la característica, de xa a xb, con los "
                       "límites de desperdicio en rojo, los de retrabajo en amarillo, el "
                       "objetivo en verde, la media del proceso en azul discontinuo y, cuando "
                       "se dibuja, la distribución del proceso coloreada por zonas. Un clic "
                       "muestra el intervalo de clase, su porcentaje y su costo."));

    cmdDrawCostFunction =
        boton(s, "cmdDrawCostFunction", QStringLiteral("1. Función Lozar"), 240, 7500, 1455, 495);
    cmdNormal =
        boton(s, "cmdNormal", QStringLiteral("2. Distribución Normal"), 3780, 7500, 1335, 495);
    cmdLozarEfectivo =
        boton(s, "cmdLozarEfectivo", QStringLiteral("3. Lozar Efectivo"), 6660, 7500, 1095, 495);
    cmdGraf = boton(s, "cmdGraf", QStringLiteral("4. Gráfico"), 10560, 7500, 915, 495);
    // Alt and the button's number, as the captions begin: the window's own shortcuts, which
    // no caption a button takes can clear (a button's caption sets its shortcut anew).
    const Qt::Key numeros[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4};
    int n = 0;
    for (QPushButton* b : {cmdDrawCostFunction, cmdNormal, cmdLozarEfectivo, cmdGraf}) {
        auto* atajo = new QShortcut(QKeySequence(Qt::ALT | numeros[n++]), this);
        connect(atajo, &QShortcut::activated, b, [b] { b->animateClick(); });
    }
    cmdCLS = boton(s, "cmdCLS", QStringLiteral("X"), 9945, 615, 300, 300);
    cmdCLS->raise(); // it sits on the plot's top right corner
    cmdDrawCostFunction->setToolTip(
        QStringLiteral("Dibuja la función de costo (Lozar) con sus límites; un clic en el gráfico "
                       "muestra el intervalo de clase, su porcentaje y su costo (Alt+1)"));
    cmdNormal->setToolTip(QStringLiteral("Superpone la distribución del proceso coloreada por "
                                         "zonas y calcula el Cpk (Alt+2)"));
    cmdLozarEfectivo->setToolTip(
        QStringLiteral("Calcula el costo efectivo de una unidad buena, su exceso sobre el nominal "
                       "y las fracciones de desperdicio y retrabajo, con el detalle del cálculo "
                       "(Alt+3)"));
    cmdGraf->setToolTip(QStringLiteral("Grafica el costo efectivo para 21 medias entre los límites "
                                       "de retrabajo y seis desviaciones (Alt+4)"));
    cmdCLS->setToolTip(QStringLiteral("Borra el gráfico"));
    cmdCLS->setAccessibleName(QStringLiteral("Borrar el gráfico"));
    chkTaguchi->setToolTip(
        QStringLiteral("Taguchi: entre los límites de retrabajo el costo crece como una parábola "
                       "desde el objetivo hasta el costo de retrabajo (pérdida de Taguchi); sin "
                       "marcar, allí el costo es el nominal"));

    lblCpk = new QLabel(QStringLiteral("Cpk"), s);
    lblCpk->setObjectName(QStringLiteral("lblCpk"));
    colocaTwips(lblCpk, 5280, 7680, 1335, 285);
    lblLozarEfec = new QLabel(QStringLiteral("0"), s);
    lblLozarEfec->setObjectName(QStringLiteral("lblLozarEfec"));
    colocaTwips(lblLozarEfec, 7920, 7620, 2580, 345);
    for (auto* l : {lblCpk, lblLozarEfec})
        l->setFont(fuenteTahoma(9.75, true));
    lblCpk->setToolTip(QStringLiteral("Cpk: capacidad del proceso frente a los límites de "
                                      "retrabajo (por percentiles si el proceso es sesgado)"));
    lblLozarEfec->setToolTip(kAyudaEfectivo);
}

void LozarForm::ordenaTabulacion() {
    // Tab order: the boxes as they read, top to bottom and left to right, then the buttons.
    QList<QWidget*> orden(cajas_.begin(), cajas_.end());
    orden << chkTaguchi;
    std::stable_sort(orden.begin(), orden.end(), [](QWidget* a, QWidget* b) {
        return std::make_pair(a->y(), a->x()) < std::make_pair(b->y(), b->x());
    });
    orden << cmdDrawCostFunction << cmdNormal << cmdLozarEfectivo << cmdGraf << cmdCLS;
    for (int i = 0; i + 1 < orden.size(); ++i)
        setTabOrder(orden[i], orden[i + 1]);
}

void LozarForm::conecta() {
    // Every input goes into the study first, typed or set by code; the study then says that
    // the results shown are stale, and the caption whether it is saved.
    for (int c = 0; c < kNumCajas; ++c)
        connect(cajas_[std::size_t(c)], &QLineEdit::textChanged, &modelo_,
                [this, c](const QString& t) { modelo_.fijaTexto(Caja(c), t); });
    connect(chkTaguchi, &QCheckBox::stateChanged, &modelo_, [this] {
        modelo_.fijaTaguchi(chkTaguchi->checkState() == Qt::Checked            ? 1
                            : chkTaguchi->checkState() == Qt::PartiallyChecked ? 2
                                                                               : 0);
    });
    connect(&modelo_, &ModeloEstudio::caducado, this, &LozarForm::BorraResultado);
    connect(&modelo_, &ModeloEstudio::cambiado, this, &LozarForm::ponTitulo);
    for (auto* e : {Sesgo, Curtosis})
        connect(e, &QLineEdit::textChanged, this, &LozarForm::nombraDistribucion);

    connect(cmdDrawCostFunction, &QPushButton::clicked, this,
            &LozarForm::cmdDrawCostFunction_Click);
    connect(cmdCLS, &QPushButton::clicked, this, &LozarForm::cmdCLS_Click);
    connect(cmdNormal, &QPushButton::clicked, this, &LozarForm::cmdNormal_Click);
    connect(cmdLozarEfectivo, &QPushButton::clicked, this, &LozarForm::cmdLozarEfectivo_Click);
    connect(cmdGraf, &QPushButton::clicked, this, &LozarForm::cmdGraf_Click);
    // The calculators stand on their own: they read nothing from the study.
    connect(MProbNorm, &QAction::triggered, this, [] { ::MProbNorm_Click(); });
    connect(MProbPearson, &QAction::triggered, this, [] { ::MProbPearson_Click(); });
    connect(Pic1, &PictureBox::ratonAbajo, this, &LozarForm::Pic1_MouseDown);
    connect(MArchivoAbrir, &QAction::triggered, this, &LozarForm::MArchivoAbrir_Click);
    connect(MArchivoGuardarComo, &QAction::triggered, this, &LozarForm::MArchivoGuardarComo_Click);
    connect(MArchivoGuardar, &QAction::triggered, this, &LozarForm::MArchivoGuardar_Click);
    connect(MArchivoNuevo, &QAction::triggered, this, &LozarForm::MArchivoNuevo_Click);
    connect(MArchivoCartera, &QAction::triggered, this, &LozarForm::MArchivoCartera_Click);
    connect(MArchivoInforme, &QAction::triggered, this, &LozarForm::MArchivoInforme_Click);
    connect(MArchivoImprimir, &QAction::triggered, this, &LozarForm::MArchivoImprimir_Click);
    connect(MArchivoSalir, &QAction::triggered, this, &QWidget::close);
    connect(MArchivoExportar, &QAction::triggered, this, &LozarForm::MArchivoExportar_Click);
    connect(MArchivoImportar, &QAction::triggered, this, &LozarForm::MArchivoImportar_Click);
    connect(MEdicionPegar, &QAction::triggered, this, &LozarForm::MEdicionPegar_Click);
    connect(MAnalisisCapacidad, &QAction::triggered, this, &LozarForm::MAnalisisCapacidad_Click);
    connect(MAnalisisOptima, &QAction::triggered, this, &LozarForm::MAnalisisOptima_Click);
    connect(MAnalisisEscenarios, &QAction::triggered, this, &LozarForm::MAnalisisEscenarios_Click);
    connect(MAnalisisProbabilidad, &QAction::triggered, this,
            &LozarForm::MAnalisisProbabilidad_Click);
    connect(MAnalisisControl, &QAction::triggered, this, &LozarForm::MAnalisisControl_Click);
    connect(MAnalisisResumen, &QAction::triggered, this, &LozarForm::MAnalisisResumen_Click);
    connect(MAnalisisIdentificar, &QAction::triggered, this,
            &LozarForm::MAnalisisIdentificar_Click);
    connect(MAnalisisQuitarAjuste, &QAction::triggered, this,
            &LozarForm::MAnalisisQuitarAjuste_Click);
    connect(MAnalisisSistemaMedicion, &QAction::triggered, this,
            &LozarForm::MAnalisisSistemaMedicion_Click);
    connect(MAnalisisAceptacion, &QAction::triggered, this, &LozarForm::MAnalisisAceptacion_Click);
    connect(MVerMediciones, &QAction::triggered, this, &LozarForm::MVerMediciones_Click);
    connect(MAyudaGuia, &QAction::triggered, this, [] { MAyudaGuia_Click(); });
    connect(MAyudaAcerca, &QAction::triggered, this, [] { MAyudaAcerca_Click(); });
}

LozarForm::~LozarForm() = default;

void LozarForm::Form_Load() {
    Pic1->fijaEscala(0, 0, 100, 100);
    marcaGuardado();
    if (inicial_.isEmpty())
        inicial_ = guardado_;
}

QByteArray LozarForm::informeDeArchivo(const QString& ruta) {
    abreEstudio(ruta, true);
    if (mostrado_ != ruta) // it did not open, and said why
        return {};
    if (!compruebaCajas(ModeloEstudio::ParaInforme))
        return {};
    return informePdf();
}

void LozarForm::BorraResultado(int resultados) {
    if (resultados & ModeloEstudio::Cpk)
        lblCpk->clear();
    if (resultados & ModeloEstudio::Efectivo) {
        lblLozarEfec->clear();
        lblLozarEfec->setToolTip(kAyudaEfectivo);
    }
}
