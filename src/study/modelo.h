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
};

class Cajas {
public:
    virtual ~Cajas() = default;
    virtual QString texto(Caja caja) const = 0;
    // The Taguchi check box: 0 unticked, 1 ticked, 2 greyed (counts as unticked).
    virtual int taguchi() const = 0;

    double estricto(Caja caja) const;
    double flexible(Caja caja) const;
};

// The nominal production cost: the straight line through (xa, YNomI) and (xb, YNomS).
double YNominal(const Cajas& c, double x);

// Focal parameter p of the parabola y = k + (x - h)^2 / (4p) through (x1, y1).
double ParabolaA(double h, double k, double x1, double y1);

// Unit cost at x: nominal plus the rework or scrap cost of the region x falls in, or the
// Taguchi loss between the rework limits. Limits read strictly (error 13 only when a test
// reaches a bad one), costs leniently; each limit belongs to the region on its right.
double Lozar(const Cajas& c, double x);
