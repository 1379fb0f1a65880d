#pragma once

#include <QString>

// The boxes of the study, read afresh at every call: no parameter lives outside its box.
enum class Caja {
    XObj,
    XRetI,
    XRetS,
    XDesI,
    XDesS,
    YNomI,
    YNomS,
    YRetI,
    YRetS,
    YDesI,
    YDesS,
    Media,
    StdDev,
    xa,
    xb,
    ya,
    yb,
    txtTitulo,
    Sesgo,    // skewness of the process distribution; empty or 0 with Curtosis: normal
    Curtosis, // excess kurtosis
    // The gauge: the standard deviation of its error (empty or 0 a perfect gauge, whose every
    // decision is right), and what a bad unit that reaches the customer costs besides.
    DesvMedicion,
    CostoEscape,
};
constexpr int kNumCajas = int(Caja::CostoEscape) + 1;

// The caption a user knows a box by ("Nominal Producción Lado Inferior", "Desv. Std."), for
// messages and accessible names.
QString nombreDeCaja(Caja caja);

// The lenient reading, except that a box's number (leeEnCaja) is always read as that number:
// "1.250,00" is 1250 in Spain here too, never 1,25.
double leeNumero(const QString& texto);

class Cajas {
public:
    virtual ~Cajas() = default;
    virtual QString texto(Caja caja) const = 0;
    // The Taguchi check box: 0 unticked, 1 ticked, 2 greyed (counts as unticked).
    virtual int taguchi() const = 0;
    // The distribution fitted to the process, as the study file keeps it ("" when none): then
    // it, not Sesgo and Curtosis, gives the process its shape.
    virtual QString ajuste() const { return {}; }
    // The decision limits on the measured value, when the study has its own (see
    // textoDeAceptacion; "" for the limits themselves).
    virtual QString aceptacion() const { return {}; }

    virtual double estricto(Caja caja) const;
    virtual double flexible(Caja caja) const;
};

// The boxes as they stand at one moment, each reading done once: for a computation during
// which nothing can change them (the effective cost reads them thousands of times).
class CajasInstantanea : public Cajas {
public:
    explicit CajasInstantanea(const Cajas& origen);
    QString texto(Caja caja) const override { return textos_[int(caja)]; }
    int taguchi() const override { return taguchi_; }
    QString ajuste() const override { return ajuste_; }
    QString aceptacion() const override { return aceptacion_; }
    double estricto(Caja caja) const override;
    double flexible(Caja caja) const override;

private:
    static constexpr int kCajas = kNumCajas;
    QString textos_[kCajas];
    int taguchi_;
    QString ajuste_, aceptacion_;
    // Per box: 0 not read yet, 1 read, otherwise the error number the reading raised.
    mutable int estado_[kCajas] = {};
    mutable double estrictos_[kCajas] = {};
    mutable bool hayFlexible_[kCajas] = {};
    mutable double flexibles_[kCajas] = {};
};

// The nominal production cost: the straight line through (xa, YNomI) and (xb, YNomS).
double YNominal(const Cajas& c, double x);

// Focal parameter p of the parabola y = k + (x - h)^2 / (4p) through (x1, y1).
double ParabolaA(double h, double k, double x1, double y1);

// Unit cost at x: nominal plus the rework or scrap cost of the region x falls in, or the
// Taguchi loss between the rework limits. Limits read strictly (error 13 only when a test
// reaches a bad one), costs leniently; each limit belongs to the region on its right.
double Lozar(const Cajas& c, double x);
