#pragma once

#include "calculadoras/calculadorabase.h"
#include "pearson.h"

// "Calculadora de Áreas bajo curvas No Normales": a skewed curve chosen by skewness and
// kurtosis, modelled as two half-normal curves that meet at a centre read from the Pearson
// tables, each with a third of the distance to its side's reference point as deviation.
class ProbPearson : public CalculadoraBase {
    Q_OBJECT
public:
    explicit ProbPearson(TablaNormal& tabla);

    QScrollBar *sbSK, *sbKU;
    QLabel *lblSk, *lblKu;
    // The exact areas of the Pearson distribution with these moments, under the model's.
    QLabel *lblModelo, *lblExacto, *lblExactoInf, *lblExactoCentro, *lblExactoSup;
    double Sk = 0, Ku = 0;

    // The centre line and the two halves, in plot units: centre xM, reference points xL and
    // xR, model x at the left and right edges. Reports its own failure ("NoNormal.").
    void NoNormal(double xM, double xL, double xR, double x0, double x1);

public slots:
    void sbSK_Change();
    void sbKU_Change();

protected:
    void dibujaCurva() override;
    double alturaCurva(double x) const override;
    void muestraExactas(double zi, double zs) override;
    std::optional<std::pair<double, double>> zDeAreas(double zi, double zs) override;

private:
    // Height (0 to 1) of one half of the curve at model x.
    static double alturaMitad(double x, double xM, double xL, double xR, bool inferior);

    struct Modelo {
        double xL, xR, xM;
    };
    std::optional<Modelo> modelo_;
    std::optional<DistribucionPearson> exacta_; // for Sk and Ku
    double skExacta_ = 0, kuExacta_ = 0;
    QString directorio_;
};
