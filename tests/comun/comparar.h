#pragma once

#include "numeros/errores.h"

#include <QLocale>
#include <QtTest>
#include <cmath>
#include <functional>

// Relative-tolerance compare shared by the numeric tests.
inline bool casiIgual(double a, double b, double tolerancia = 1e-12) {
    return std::fabs(a - b) <= tolerancia * std::max({1.0, std::fabs(a), std::fabs(b)});
}

#define LOZAR_COMPARA(a, b, tol)                                                                   \
    QVERIFY2(casiIgual((a), (b), (tol)),                                                           \
             qPrintable(QStringLiteral("%1 != %2").arg((a), 0, 'g', 17).arg((b), 0, 'g', 17)))

// The columns of a data-driven test: their types, then their names in the same order.
template <typename... Tipos, typename... Nombres> void columnas(const Nombres&... nombres) {
    (QTest::addColumn<Tipos>(nombres), ...);
}

// One row of a data-driven test: its name, then a value for each column in order.
template <typename... Valores> void fila(const char* nombre, const Valores&... valores) {
    (QTest::newRow(nombre) << ... << valores);
}

// The number of the ErrorLozar that `f` raised, or 0.
inline int errorDe(const std::function<void()>& f) {
    try {
        f();
    } catch (const ErrorLozar& e) {
        return e.numero();
    }
    return 0;
}

const QLocale kEspanol(QLocale::Spanish, QLocale::Spain); // a Spanish desktop, decimal comma

// Pins the default locale for one test and puts it back afterwards.
class LocaleFijo {
public:
    explicit LocaleFijo(const QLocale& l) : anterior_(QLocale()) { QLocale::setDefault(l); }
    ~LocaleFijo() { QLocale::setDefault(anterior_); }

private:
    QLocale anterior_;
};
