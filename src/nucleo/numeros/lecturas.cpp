// The readings of a number from a box, a file or a table.
#include "numeros/numeros.h"

#include "numeros/errores.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool esBlanco(QChar c) {
    return c == QLatin1Char(' ');
}
bool esDigito(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// &H and &O integers; the digits run until the first misfit, blanks ignored.
double leeEntero(QStringView t, qsizetype i, int base) {
    double v = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (esBlanco(c))
            continue;
        int d = -1;
        if (esDigito(c))
            d = c.unicode() - '0';
        else if (base == 16 && c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F'))
            d = c.toUpper().unicode() - 'A' + 10;
        if (d < 0 || d >= base)
            break;
        v = v * base + d;
    }
    return std::isfinite(v) ? v : std::numeric_limits<double>::max();
}

// A number gathered into plain ASCII (sign, digits, ".", "e" exponent), converted without any
// locale. Beyond the double range it gives ±the largest double and sets `desborda`.
double convierte(const std::string& s, bool* desborda = nullptr) {
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // from_chars leaves v alone: tell overflow from underflow by the exponent's sign.
        const auto pe = s.find('e');
        const bool pequeno = pe != std::string::npos && s.size() > pe + 1 && s[pe + 1] == '-';
        if (desborda)
            *desborda = !pequeno;
        const double m = pequeno ? 0.0 : std::numeric_limits<double>::max();
        return s[0] == '-' ? -m : m;
    }
    return v;
}

bool esPunto(QChar c, bool coma) {
    return c == QLatin1Char('.') || (coma && c == QLatin1Char(','));
}

double leeInicio(QStringView t, bool coma) {
    qsizetype i = 0;
    while (i < t.size() &&
           (t[i] == QLatin1Char(' ') || t[i] == QLatin1Char('\t') || t[i] == QLatin1Char('\n')))
        ++i;
    auto salta = [&] {
        while (i < t.size() && esBlanco(t[i]))
            ++i;
    };
    if (i + 1 < t.size() && t[i] == QLatin1Char('&')) {
        const QChar p = t[i + 1].toUpper();
        if (p == QLatin1Char('H'))
            return leeEntero(t, i + 2, 16);
        if (p == QLatin1Char('O'))
            return leeEntero(t, i + 2, 8);
        return 0;
    }
    // Gather what fits into plain ASCII, then convert once, independently of any locale.
    std::string s;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        if (t[i] == QLatin1Char('-'))
            s += '-';
        ++i;
    }
    bool digitos = false;
    auto copiaDigitos = [&] {
        for (salta(); i < t.size() && esDigito(t[i]); salta()) {
            s += char(t[i].unicode());
            digitos = true;
            ++i;
        }
    };
    copiaDigitos();
    if (i < t.size() && esPunto(t[i], coma)) {
        s += '.';
        ++i;
        copiaDigitos();
    }
    if (!digitos)
        return 0;
    salta();
    if (i < t.size() &&
        (t[i].toUpper() == QLatin1Char('E') || t[i].toUpper() == QLatin1Char('D'))) {
        qsizetype j = i + 1;
        std::string e = "e";
        while (j < t.size() && esBlanco(t[j]))
            ++j;
        if (j < t.size() && (t[j] == QLatin1Char('+') || t[j] == QLatin1Char('-')))
            e += char(t[j++].unicode());
        bool hay = false;
        for (; j < t.size() && (esDigito(t[j]) || esBlanco(t[j])); ++j) {
            if (esDigito(t[j]) && e.size() < 12) { // more digits only mean "too large"
                e += char(t[j].unicode());
                hay = true;
            }
        }
        if (hay)
            s += e;
    }
    return convierte(s);
}

} // namespace

double leeFlexible(QStringView texto) {
    return leeInicio(texto, true);
}

double leeFlexible(const QString& texto) {
    return leeInicio(QStringView(texto), true);
}

double leeDato(QStringView texto) {
    return leeInicio(texto, false);
}

int leeEstrictoEn(QStringView texto, double& v) {
    // Sign, digits with one optional point ("." or ","), optional exponent; blanks around. The
    // number gathers in a buffer of the thread's, so that millions of fields allocate nothing.
    const QStringView t = texto.trimmed();
    thread_local std::string s;
    s.clear();
    qsizetype i = 0;
    const qsizetype n = t.size();
    auto digito = [&] { return i < n && esDigito(t[i]); };
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        if (t[i++] == QLatin1Char('-')) // from_chars takes no "+"
            s += '-';
    bool digitos = false;
    for (; digito(); ++i, digitos = true)
        s += char(t[i].unicode());
    if (i < n && esPunto(t[i], true)) {
        s += '.';
        for (++i; digito(); ++i, digitos = true)
            s += char(t[i].unicode());
    }
    if (!digitos)
        return kErrTipos;
    if (i < n && t[i].toUpper() == QLatin1Char('E')) {
        s += 'e';
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            s += char(t[i++].unicode());
        if (!digito())
            return kErrTipos;
        // Leading zeros and a long tail of digits only mean "too large" or "too small".
        while (digito() && t[i] == QLatin1Char('0'))
            ++i;
        const std::size_t inicio = s.size();
        for (; digito(); ++i)
            if (s.size() - inicio < 12)
                s += char(t[i].unicode());
        if (s.size() == inicio)
            s += '0';
    }
    if (i != n)
        return kErrTipos;
    bool desborda = false;
    v = convierte(s, &desborda);
    return desborda ? int(kErrDesbordamiento) : 0;
}

double leeEstricto(const QString& texto) {
    double v = 0;
    if (const int error = leeEstrictoEn(texto, v))
        throw ErrorLozar(error);
    return v;
}

namespace {
// The grouped form of the user's locale, as plain ASCII for the strict reading: sign, one to
// three digits, then groups of exactly three behind the locale's separator, at least one, then
// its decimal point and exponent. Empty when the text is not that.
QString sinAgrupar(const QString& texto) {
    const QLocale l;
    const QString grupo = l.groupSeparator(), punto = l.decimalPoint();
    if (grupo.isEmpty() || grupo == punto)
        return QString();
    const QRegularExpression forma(
        QStringLiteral("^([+-]?\\d{1,3}(?:%1\\d{3})+)(?:%2(\\d*))?([eE][+-]?\\d+)?$")
            .arg(QRegularExpression::escape(grupo), QRegularExpression::escape(punto)));
    const QRegularExpressionMatch m = forma.match(texto.trimmed());
    if (!m.hasMatch())
        return QString();
    QString plano = m.captured(1).remove(grupo);
    if (m.capturedLength(2) > 0)
        plano += QLatin1Char('.') + m.captured(2);
    return plano + m.captured(3);
}
} // namespace

double leeEnCaja(const QString& texto) {
    try {
        return leeEstricto(texto);
    } catch (const ErrorLozar& e) {
        const QString plano = e.numero() == kErrTipos ? sinAgrupar(texto) : QString();
        if (plano.isEmpty())
            throw;
        return leeEstricto(plano);
    }
}

QString comoEnArchivo(const QString& texto) {
    try {
        leeEstricto(texto);
        return QString(texto).replace(QLatin1Char(','), QLatin1Char('.'));
    } catch (const ErrorLozar&) {
    }
    const QString plano = sinAgrupar(texto);
    return plano.isEmpty() ? texto : plano;
}
