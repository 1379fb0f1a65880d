#pragma once

// The main window is the whole study:
//
//   boxes (texts) --read afresh--> Lozar(x), YNominal, Abcn --> Pic1 (plot, overlay)
//                                        |                  --> lblCpk, lblLozarEfec
//                                        +--> LozarEfectivo --> CostDetail.xls, messages
//
// Every handler reads the boxes, calls the pure routines and reports through plataforma().

#include "archivos/archivoestudio.h"
#include "estudio/costounitario.h"
#include "estudio/modeloestudio.h"
#include "tablas/tablanormal.h"

#include <QHash>
#include <QMainWindow>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class Graf1;
class QMenu;
class QPagedPaintDevice;
class QLineEdit;
class QPushButton;
class LineaControl;
class PictureBox;
class FormaProceso;
class Progreso;
struct DatosInforme;

class LozarForm : public QMainWindow, public Cajas {
    Q_OBJECT
public:
    explicit LozarForm(QWidget* parent = nullptr);
    ~LozarForm() override;

    QString texto(Caja caja) const override;
    int taguchi() const override;
    QString ajuste() const override;
    QString aceptacion() const override;

    // The model read from this window's boxes.
    double Lozar(double x) const { return ::Lozar(*this, x); }

    QLineEdit* caja(Caja c) const { return cajas_[std::size_t(c)]; }
    // The study the window shows.
    const ModeloEstudio& modelo() const { return modelo_; }

    // Controls, by their design names.
    QLineEdit *XObj, *XRetI, *XRetS, *XDesI, *XDesS, *YNomI, *YNomS, *YRetI, *YRetS, *YDesI, *YDesS,
        *Media, *StdDev, *xa, *xb, *ya, *yb, *txtTitulo, *Sesgo, *Curtosis, *DesvMedicion,
        *CostoEscape;
    QCheckBox* chkTaguchi;
    // 15 and 16 name the process shape's boxes, 17 and 18 the gauge's.
    static constexpr int kNumEtiquetas = 19;
    std::array<QLabel*, kNumEtiquetas> Label1;
    PictureBox* Pic1;
    QPushButton *cmdDrawCostFunction, *cmdNormal, *cmdLozarEfectivo, *cmdGraf, *cmdCLS;
    QLabel *lblCpk, *lblLozarEfec;
    std::array<LineaControl*, 6> LinX{};  // 1 to 5
    std::array<LineaControl*, 4> LinYI{}; // 1 to 3
    std::array<LineaControl*, 4> LinYS{}; // 1 to 3
    QAction *MArchivoAbrir, *MArchivoGuardarComo, *MArchivoGuardar, *MArchivoExportar,
        *MArchivoImportar, *MProbNorm, *MProbPearson, *MEdicionPegar, *MAnalisisCapacidad,
        *MAnalisisOptima, *MAnalisisEscenarios, *MAnalisisProbabilidad, *MAnalisisControl,
        *MAnalisisResumen, *MAyudaGuia, *MAyudaAcerca, *MArchivoNuevo, *MArchivoSalir,
        *MArchivoInforme, *MArchivoImprimir, *MVerMediciones, *MAnalisisIdentificar,
        *MAnalisisQuitarAjuste, *MAnalisisSistemaMedicion, *MAnalisisAceptacion, *MArchivoCartera;
    QMenu *MArchivoEjemplos, *MArchivoRecientes;

    // The measurements imported or pasted last, kept while the window shows this study.
    const std::vector<double>& mediciones() const { return medidas_.valores; }

    // Study values to plot coordinates (0..100 each way, y downwards).
    double ConvX(double x) const;
    double ConvY(double y) const;
    double Abcn(double z) { return tabla_.Abcn(z); }

    // The effective-cost computation with its detail file; reports its own failure
    // ("Lozar. LozarEfectivo.") and then answers nullopt.
    std::optional<double> LozarEfectivo(double mu, double sigma,
                                        const FormaProceso* forma = nullptr);
    QString rutaDetalle() const;

    // Fills TablaGrafico with the 126 effective costs, and with `conDetalle` writes the last
    // cell's detail file; nullopt after reporting a failure, otherwise the lowest and highest
    // cost.
    std::optional<std::pair<double, double>> calculaTablaGrafico(bool conDetalle);
    // The cost chart's table and settings for `g`; false (said) when they cannot be computed.
    // Only the chart's own window writes the detail file; a report computes without it.
    bool preparaGrafico(Graf1& g, bool conDetalle = true);

protected:
    void closeEvent(QCloseEvent* e) override;

public slots:
    // The results an input change made stale, cleared (ModeloEstudio::caducado).
    void BorraResultado(int resultados);
    // The overlay's caption: "2. Distribución Normal", or "2. Distribución" for a skewed shape.
    void nombraDistribucion();
    void cmdDrawCostFunction_Click();
    void cmdCLS_Click();
    void cmdNormal_Click();
    void cmdLozarEfectivo_Click();
    void MArchivoAbrir_Click();
    void cmdGraf_Click();
    void MArchivoGuardarComo_Click();
    // Saves to the study's own file, or asks for one as "Guardar como" does.
    void MArchivoGuardar_Click();
    // The blank study the program starts with, after asking about unsaved changes.
    void MArchivoNuevo_Click();
    // The study on one A4 page (two with measurements), to a PDF file or to a printer (a PDF
    // where there is none).
    void MArchivoInforme_Click();
    void MArchivoImprimir_Click();
    // What takes long in the report (scenarios, capability, the measurements' charts), worked out
    // away from the window with progress; null when cancelled or said to have failed.
    std::shared_ptr<const DatosInforme> preparaInforme();
    void pintaInforme(QPagedPaintDevice& hoja, const DatosInforme& datos);
    QByteArray informePdf(const DatosInforme& datos);
    // The whole report as a PDF document, prepared then drawn; empty when it was not prepared.
    QByteArray informePdf();
    // For the command line: the study at `ruta` opened as "Archivo > Abrir" opens it (as an
    // example, so that no recent entry changes) and its report as "Archivo > Informe PDF…"
    // makes it, what either would say said through the platform layer; empty when it could not.
    QByteArray informeDeArchivo(const QString& ruta);
    // The plot picture as PNG, SVG or PDF.
    void MArchivoExportar_Click();
    void MArchivoImportar_Click();
    void MEdicionPegar_Click();
    void MAnalisisCapacidad_Click();
    void MAnalisisOptima_Click();
    // The current process, its optimal mean, its spread reduced, and both: exact costs, and
    // money a year.
    void MAnalisisEscenarios_Click();
    // The imported measurements against the normal, and in their order against their control
    // limits.
    void MAnalisisProbabilidad_Click();
    void MAnalisisControl_Click();
    void MAnalisisResumen_Click();
    // Every named distribution fitted to the measurements; the one chosen becomes the process.
    void MAnalisisIdentificar_Click();
    // Back to the shape of Sesgo and Curtosis.
    void MAnalisisQuitarAjuste_Click();
    // A gage R&R study from a file; its σ may become the study's measurement error.
    void MAnalisisSistemaMedicion_Click();
    // The decision limits that cost least with the study's gauge.
    void MAnalisisAceptacion_Click();
    // Every study of a folder by what its poor quality costs a year; one may be opened.
    void MArchivoCartera_Click();
    // The fitted distribution that shapes the process ("" none): Sesgo and Curtosis then show
    // its moments and cannot be typed in.
    void fijaAjuste(const QString& texto);
    // The measurements the study keeps, as a table.
    void MVerMediciones_Click();
    void Pic1_MouseDown(Qt::MouseButton boton, Qt::KeyboardModifiers shift, double x, double y);

private:
    // The window's construction, in the order its parts lie on one another.
    void creaMenus();
    QWidget* creaSuperficie();
    void creaLineas(QWidget* s);
    void creaCajas(QWidget* s);
    void creaEtiquetas(QWidget* s);
    void creaControles(QWidget* s);
    void ordenaTabulacion();
    void conecta();

    void Form_Load();
    // The study's one check before a path computes, draws or prints a number: false, said (when
    // `avisa`) and with no result left on screen, picture included, when a box it needs is wrong.
    bool compruebaCajas(int necesita, bool avisa = true);
    // The cost function with its limit lines over what the picture holds, and the process mean's
    // line unless the distribution draws its own.
    void dibujaFuncionLozar(bool conMedia = true);
    // The process distribution by zone, the histogram, the mean and Cpk, over what the picture
    // holds.
    void superponeDistribucion();
    void ordenaCostosExtra();
    void ensanchaEscalas();
    void lineasDeLimites(bool conMedia);
    void mueveMarcadores();
    void dibujaFuncion();
    // The process curve over [desde, hasta]: the normal bell, or a skewed `forma`.
    void NormalIris(double mu, double sigma, double desde, double hasta, double xDesI, double xRetI,
                    double xObj, double xRetS, double xDesS, const FormaProceso* forma = nullptr);
    void Normal(double mu, double sigma, double desde, double hasta,
                const FormaProceso* forma = nullptr);

    // Summarises the measurements of the text `texto` gives (away from the window, with
    // progress and "Cancelar") and, as the user chooses, takes their mean, spread and shape
    // into the boxes. Reports its own failures, naming `origen` and, before it, the procedure.
    void usaMediciones(const QString& origen, const QString& procedimiento,
                       const std::function<QString(Progreso&)>& texto);

    // Study files: saving returns whether the study is now on disk; before the study on screen
    // is dropped (close, open), unsaved changes are offered for saving: false means stay.
    // Opens a study file into the boxes and redraws; an example keeps no file of its own.
    void abreEstudio(const QString& ruta, bool ejemplo);
    void abreEjemplo(const QString& ruta);
    // The last studies opened or saved, newest first, as the settings keep them.
    void llenaRecientes();
    void anotaReciente(const QString& ruta);
    void importaMediciones(const QString& ruta);
    // "Archivo > Ejemplos": the studies and measurements of the folder ejemplos beside the
    // program, made anew each time the menu opens.
    void llenaEjemplos();
    bool guarda();
    bool guardaComo();
    bool guardaEn(const QString& ruta, const QString& procedimiento);
    bool sigueTrasGuardar();
    QStringList estado() const;
    bool cambiado() const;
    void marcaGuardado();
    void ponTitulo(); // the caption, with "*" while there are unsaved changes
    void dibujaHistograma(double pico);
    // The plot drawn anew from the study on a cleared picture, as "2." and opening a study do:
    // the distribution, then the cost function and its limits over it, on one scale.
    void redibuja(bool avisa = true);
    void avisaSiNoSeVe(double desde, double hasta);
    QString textoExacto(double mu, double sigma, const FormaProceso* forma) const;

    ModeloEstudio modelo_; // the study itself; the boxes show it and write into it
    std::array<QLineEdit*, kNumCajas> cajas_{};
    // The measurements taken, saved with the study; and the same values sorted once when taken,
    // for the histogram.
    MedicionesEstudio medidas_;
    // The last gage study shown, for the report (not saved: its data live in their own file).
    QList<QStringList> informeGage_;
    std::vector<double> ordenadas_;
    // The overall standard deviation of the measurements: while Desv. Std. holds it, the index
    // the window shows is Ppk.
    double sigmaMediciones_ = 0;
    int revisionMediciones_ = 0; // counts each change of them, for unsaved changes
    // The measurements and their subgroups as the capability study takes them: null when none.
    const std::vector<double>* medidas() const;
    const std::vector<int>* grupos() const;
    // "Ppk" for an index of the measurements' overall spread, "Cpk" for a typed one.
    QString nombreIndice() const;
    // The measurements of a study opened or made anew, with what follows from them.
    void tomaMediciones(MedicionesEstudio m, std::vector<double> ordenadas);
    // Says so and answers false when no measurements have been taken.
    bool hayMediciones();
    QString archivo_;      // the study's own file, when it has one
    QString mostrado_;     // the file the caption names (an example's is not its own)
    QStringList guardado_; // the boxes as last opened or saved
    QStringList inicial_;  // the boxes as the program starts
    TablaNormal tabla_;
};
