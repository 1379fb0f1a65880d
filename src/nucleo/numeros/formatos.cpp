// Numbers written for the user: the patterns, the general format, and the arithmetic that
// guards them.
#include "numeros/numeros.h"

#include "numeros/errores.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

QString formatoConResolucion(double valor, double resolucion) {
    // Beyond 15 significant digits the general format rounds anyway.
    const double magnitud = valor != 0 ? std::floor(std::log10(std::fabs(valor))) : 0;
    const int decimales =
        int(std::clamp(std::ceil(-std::log10(resolucion)), -magnitud, 14 - magnitud));
    if (decimales > 0) {
        const double escala = std::pow(10.0, decimales);
        return formatoGeneral(std::round(valor * escala) / escala);
    }
    const double escala = std::pow(10.0, -decimales);
    return formatoGeneral(std::round(valor / escala) * escala);
}

double pasoRedondo(double tramo, int partes) {
    const double potencia = std::pow(10.0, std::floor(std::log10(tramo / partes)));
    for (double m : {1.0, 2.0, 5.0})
        if (tramo / (m * potencia) <= partes)
            return m * potencia;
    return 10 * potencia;
}

QString patronDePaso(double paso) {
    const int decimales = std::clamp(int(-std::floor(std::log10(paso) + 1e-9)), 0, 12);
    return decimales ? QStringLiteral("0.") + QString(decimales, QLatin1Char('0'))
                     : QStringLiteral("0");
}

double div(double a, double b) {
    if (a == 0 || b == 0)
        return 0;
    return revisa(a / b);
}

double revisa(double valor) {
    if (!std::isfinite(valor))
        throw ErrorLozar(kErrDesbordamiento);
    return valor;
}

namespace {

// The decimal digits of |v| rounded to 15 significant figures: v ≈ 0.d1d2...d15 × 10^exp.
struct Decimal {
    std::string digitos; // no leading zeros; empty for zero
    int exp = 0;
};

Decimal aDecimal(double v) {
    Decimal d;
    v = std::fabs(v);
    if (v == 0)
        return d;
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    const std::string s(buf, r.ptr);
    const auto e = s.find('e');
    for (std::size_t k = 0; k < e; ++k)
        if (s[k] != '.')
            d.digitos += s[k];
    d.exp = std::stoi(s.substr(e + 1)) + 1;
    while (!d.digitos.empty() && d.digitos.back() == '0')
        d.digitos.pop_back();
    return d;
}

// Rounds half away from zero to `decimales` places; returns the digits of the integer
// part and of the fraction (exactly `decimales` of them).
void redondea(const Decimal& d, int decimales, std::string& entera, std::string& fraccion) {
    // All digits placed relative to the decimal point: position p holds 10^(exp-1-p).
    std::string todos = d.digitos;
    int exp = d.exp;
    const int guardar = exp + decimales; // how many of `todos` survive
    if (guardar < 0) {
        todos.clear();
    } else if (guardar < int(todos.size())) {
        const bool sube = todos[std::size_t(guardar)] >= '5';
        todos.resize(std::size_t(guardar));
        if (sube) {
            int k = guardar - 1;
            while (k >= 0 && todos[std::size_t(k)] == '9')
                todos[std::size_t(k--)] = '0';
            if (k >= 0)
                ++todos[std::size_t(k)];
            else {
                todos.insert(todos.begin(), '1');
                ++exp;
            }
        }
    }
    // Lay the digits out around the point.
    entera.clear();
    fraccion.clear();
    for (int p = 0; p < exp; ++p)
        entera += p < int(todos.size()) ? todos[std::size_t(p)] : '0';
    for (int q = 0; q < decimales; ++q) {
        const int p = exp + q;
        fraccion += (p >= 0 && p < int(todos.size())) ? todos[std::size_t(p)] : '0';
    }
    const auto nz = entera.find_first_not_of('0');
    entera = nz == std::string::npos ? std::string() : entera.substr(nz);
}

} // namespace

QString formatea(double valor, const QString& patron) {
    revisa(valor);
    // Split the pattern into literal prefix, the number part and literal suffix.
    const auto esCifra = [](QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('#'); };
    qsizetype ini = 0;
    while (ini < patron.size() && !esCifra(patron[ini]))
        ++ini;
    qsizetype fin = ini;
    int minEnteros = 0, minDec = 0, maxDec = 0;
    bool punto = false;
    for (; fin < patron.size(); ++fin) {
        const QChar c = patron[fin];
        if (c == QLatin1Char('.') && !punto) {
            punto = true;
        } else if (esCifra(c)) {
            if (!punto)
                minEnteros += c == QLatin1Char('0');
            else {
                ++maxDec;
                if (c == QLatin1Char('0'))
                    minDec = maxDec;
            }
        } else {
            break;
        }
    }
    const QString prefijo = patron.left(ini);
    const QString sufijo = patron.mid(fin);
    if (prefijo.contains(QLatin1Char('%')) || sufijo.contains(QLatin1Char('%')))
        valor = revisa(valor * 100);

    std::string entera, fraccion;
    redondea(aDecimal(valor), maxDec, entera, fraccion);
    while (int(fraccion.size()) > minDec && fraccion.back() == '0')
        fraccion.pop_back();
    const bool cero = entera.empty() && fraccion.find_first_not_of('0') == std::string::npos;
    while (int(entera.size()) < minEnteros)
        entera.insert(entera.begin(), '0');

    QString numero = QString::fromLatin1(entera.data(), qsizetype(entera.size()));
    if (!fraccion.empty() || (punto && maxDec == 0))
        numero += QLocale().decimalPoint() +
                  QString::fromLatin1(fraccion.data(), qsizetype(fraccion.size()));
    const QString signo = (valor < 0 && !cero) ? QStringLiteral("-") : QString();
    return signo + prefijo + numero + sufijo;
}

QString conSeparadorLocal(const QString& texto) {
    const QString separador = QLocale().decimalPoint();
    if (separador == QStringLiteral(".") || !texto.contains(QLatin1Char('.')))
        return texto;
    try {
        leeEstricto(texto);
    } catch (const ErrorLozar&) {
        return texto;
    }
    return QString(texto).replace(QLatin1Char('.'), separador);
}

QString formateaTexto(const QString& texto, const QString& patron) {
    try {
        return formatea(leeEnCaja(texto), patron);
    } catch (const ErrorLozar&) {
        return texto;
    }
}

QString formatoGeneral(double valor) {
    revisa(valor);
    if (valor == 0)
        return QStringLiteral("0");
    const Decimal d = aDecimal(valor);
    const QString signo = valor < 0 ? QStringLiteral("-") : QString();
    const QString sep = QLocale().decimalPoint();
    const QString cifras = QString::fromLatin1(d.digitos.data(), qsizetype(d.digitos.size()));
    const int e10 = d.exp - 1; // the exponent of the first digit
    if (e10 >= 15 || e10 < -4) {
        QString m = cifras.left(1);
        if (cifras.size() > 1)
            m += sep + cifras.mid(1);
        const QString ex = QString::number(std::abs(e10)).rightJustified(2, QLatin1Char('0'));
        return signo + m + QStringLiteral("E") +
               (e10 < 0 ? QStringLiteral("-") : QStringLiteral("+")) + ex;
    }
    if (d.exp <= 0)
        return signo + QStringLiteral("0") + sep + QString(-d.exp, QLatin1Char('0')) + cifras;
    if (cifras.size() <= d.exp)
        return signo + cifras + QString(d.exp - cifras.size(), QLatin1Char('0'));
    return signo + cifras.left(d.exp) + sep + cifras.mid(d.exp);
}
