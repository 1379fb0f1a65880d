#pragma once

#include <QChart>
#include <QLocale>

// A chart whose axes write numbers as the rest of the program does: in the user's decimal
// separator (Qt Charts' own labels print a point whatever the locale).
inline QChart* nuevoGrafico() {
    auto* c = new QChart;
    c->setLocalizeNumbers(true);
    c->setLocale(QLocale());
    return c;
}
