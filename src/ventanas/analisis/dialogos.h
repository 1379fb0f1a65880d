#pragma once

#include "ajuste.h"
#include "archivos/archivoestudio.h"
#include "costo/escenarios.h"
#include "muestra.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QList>
#include <QStringList>

#include <functional>

class QChartView;
class QCheckBox;
class QTableWidget;
struct Limites;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTextBrowser;

// A button of `caja`, named for tests.
QPushButton* boton(QDialogButtonBox* caja, const QString& texto, const char* nombre,
                   QDialogButtonBox::ButtonRole papel);
// The buttons of a report's dialog: "Copiar" tab-separated text of `filas`, "Imprimir…" it, or
// say there is no printer; "Cerrar". `que` is what the report is, for the texts ("el informe").
// With a `dibujo`, "Copiar" puts its picture beside the text.
QDialogButtonBox* botonesDeInforme(QDialog* d, const std::function<QList<QStringList>()>& filas,
                                   const QString& que, QPushButton*& copiar, QPushButton*& imprimir,
                                   QPushButton*& cerrar, QWidget* dibujo = nullptr);

// The summary of imported measurements, and the choice of the shape they set.
class DlgMediciones : public QDialog {
    Q_OBJECT
public:
    enum Uso { Ninguno, Normal, Pearson };
    // `origen` names where they came from; a Pearson use is offered only when `pearson`. The
    // subgroups may be consecutive groups of a size, or the texts of one of `columnas` (each
    // with its index in the table).
    // `aviso`, when not empty, warns of something the user should see before using them.
    DlgMediciones(const ResumenMuestra& r, const QString& origen, const QString& decimal,
                  bool pearson, const QList<std::pair<QString, int>>& columnas = {},
                  const QString& aviso = {}, QWidget* padre = nullptr);
    Uso uso() const { return uso_; }
    // How the values form subgroups: 0 individual values; k > 1 consecutive groups of k; −(c + 1)
    // by the texts of column c.
    int subgrupos() const;

    QComboBox* cboSubgrupos;
    QLabel* lblAviso = nullptr;
    QPushButton *cmdNormal, *cmdPearson, *cmdCancelar;

private:
    Uso uso_ = Ninguno;
};

// The capability report: shown as a table, copied as tab-separated text, printed; its
// intervals at the confidence level chosen (90, 95 or 99 %; 95 at first).
class DlgCapacidad : public QDialog {
    Q_OBJECT
public:
    // `informe(confianza)` gives the report's rows at a level.
    explicit DlgCapacidad(std::function<QList<QStringList>(double)> informe,
                          QWidget* padre = nullptr);

    QComboBox* cboConfianza;
    QTextBrowser* txtInforme;
    QPushButton *cmdCopiar, *cmdImprimir, *cmdCerrar;

private:
    std::function<QList<QStringList>(double)> informe_;
    QList<QStringList> filas_;
};

// The scenarios to decide on, side by side: the yearly volume and the spread's cut are typed
// here, and each change shows the comparison anew, as a table and as bars; copied as
// tab-separated text, printed.
class DlgEscenarios : public QDialog {
    Q_OBJECT
public:
    // `calcula(reduccion)` gives the scenarios for a cut of the spread (a fraction); `unidades`
    // the study's yearly volume as typed, which the dialog hands back through unidadesCambiadas.
    // `indice` names the capability index, as informeEscenarios does.
    DlgEscenarios(std::function<QList<Escenario>(double)> calcula, const QString& unidades,
                  const QString& indice, QWidget* padre = nullptr);

    QLineEdit *txtUnidades, *txtReduccion;
    QTextBrowser* txtInforme;
    QChartView* grafico;
    QPushButton *cmdCopiar, *cmdImprimir, *cmdCerrar, *cmdGuardarImagen;

signals:
    void unidadesCambiadas(const QString& texto);

private:
    void recalcula();
    void muestra();

    std::function<QList<Escenario>(double)> calcula_;
    QString indice_;
    QList<Escenario> escenarios_;
    QList<QStringList> filas_;
};

// The best process centre, against the current one; "Aplicar" takes it into Media.
class DlgMediaOptima : public QDialog {
    Q_OBJECT
public:
    // Each line a label and a value.
    DlgMediaOptima(const QList<QStringList>& lineas, QWidget* padre = nullptr);
    QPushButton *cmdAplicar, *cmdCerrar;
};

// "Ver > Mediciones…": the measurements the study keeps, as a table of value, subgroup and order
// (millions of them as quickly as ten: the table asks only for the rows it shows), with how many
// and where they came from.
class DlgVerMediciones : public QDialog {
    Q_OBJECT
public:
    explicit DlgVerMediciones(const MedicionesEstudio& m, QWidget* padre = nullptr);
    QLabel* lblOrigen;
    QTableView* tabla;
    QPushButton* cmdCerrar;
};

// The fits of every family to the measurements, best first, as a table of A², its p-value and
// the likelihood-ratio test of a third parameter; the selected fit on its probability paper;
// "Usar esta distribución" takes it as the process.
class DlgIdentificar : public QDialog {
    Q_OBJECT
public:
    // `boxCox(redondeada)` fits the Box-Cox transformation again, its λ rounded to a half or not
    // (none when the user cancelled it).
    DlgIdentificar(std::vector<Ajuste> ajustes, const std::vector<double>& ordenadas,
                   const Limites& l, std::function<std::optional<Ajuste>(bool)> boxCox,
                   QWidget* padre = nullptr);
    // The fit the user chose to use, once the dialog closed on "Usar esta distribución".
    const Ajuste* elegido() const;
    QTableWidget* tabla;
    QChartView* grafico;
    QCheckBox* chkLambda;
    QPushButton *cmdUsar, *cmdCopiar, *cmdImprimir, *cmdCerrar;

private:
    void llena();
    std::vector<Ajuste> ajustes_;
    const std::vector<double>& ordenadas_;
    std::function<std::optional<Ajuste>(bool)> boxCox_;
    int elegido_ = -1;
};

// The identification table as rows of cells: a header, then one row per fit.
QList<QStringList> tablaDeAjustes(const std::vector<Ajuste>& ajustes);
