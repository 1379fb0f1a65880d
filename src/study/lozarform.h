#pragma once

// The main window is the whole study:
//
//   boxes (texts) --read afresh--> Lozar(x), YNominal, Abcn --> Pic1 (plot, overlay)
//                                        |                  --> lblCpk, lblLozarEfec
//                                        +--> LozarEfectivo --> CostDetail.xls, messages
//
// Every handler reads the boxes, calls the pure routines and reports through plataforma().

#include "study/modelo.h"

#include <QMainWindow>
#include <array>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class LineaControl;
class PictureBox;

class LozarForm : public QMainWindow, public Cajas {
    Q_OBJECT
public:
    explicit LozarForm(QWidget* parent = nullptr);
    ~LozarForm() override;

    QString texto(Caja caja) const override;
    int taguchi() const override;

    // The model read from this window's boxes.
    double Lozar(double x) const { return ::Lozar(*this, x); }

    QLineEdit* caja(Caja c) const { return cajas_[std::size_t(c)]; }

    // Controls, by their design names.
    QLineEdit *XObj, *XRetI, *XRetS, *XDesI, *XDesS, *YNomI, *YNomS, *YRetI, *YRetS, *YDesI, *YDesS,
        *Media, *StdDev, *xa, *xb, *ya, *yb, *txtTitulo;
    QCheckBox* chkTaguchi;
    std::array<QLabel*, 15> Label1;
    PictureBox* Pic1;
    QPushButton *cmdDrawCostFunction, *cmdNormal, *cmdLozarEfectivo, *cmdGraf, *cmdCLS;
    QLabel *lblCpk, *lblLozarEfec;
    std::array<LineaControl*, 6> LinX{};  // 1 to 5
    std::array<LineaControl*, 4> LinYI{}; // 1 to 3
    std::array<LineaControl*, 4> LinYS{}; // 1 to 3
    QAction *MArchivoAbrir, *MArchivoGuardarComo, *MProbNorm, *MProbPearson;

public slots:
    void BorraResultado();

private:
    void Form_Load();

    std::array<QLineEdit*, 18> cajas_{};
};
