#include "capacidad/mediciones.h"

#include "archivos/cp1252.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "numeros/progreso.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {
constexpr int kMinimo = 8;
constexpr int kMuestra = 50; // lines looked at to tell the layout

bool esNumero(QStringView t) {
    double v;
    return leeEstrictoEn(t, v) == 0;
}

bool digito(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// `t` with its thousands separator `g` taken out and its point `d` written ".", when it follows
// that pattern: digits grouped by threes after the first one to three (or not grouped at all),
// then the point and more digits if any. With `ambos`, both separators must appear.
std::optional<QString> sinMiles(QStringView t, QChar g, QChar d, bool ambos) {
    t = t.trimmed();
    QString s;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        s += t[i++];
    const qsizetype inicio = i;
    for (; i < t.size() && digito(t[i]); ++i)
        s += t[i];
    const qsizetype primeros = i - inicio;
    bool grupos = false;
    while (i < t.size() && t[i] == g) {
        if (primeros < 1 || primeros > 3)
            return std::nullopt;
        for (int k = 1; k <= 3; ++k)
            if (i + k >= t.size() || !digito(t[i + k]))
                return std::nullopt;
        s += t.mid(i + 1, 3);
        i += 4;
        grupos = true;
    }
    if (primeros == 0 || (i < t.size() && digito(t[i])))
        return std::nullopt;
    bool punto = false;
    if (i < t.size() && t[i] == d) {
        s += QLatin1Char('.');
        const qsizetype decimales = ++i;
        for (; i < t.size() && digito(t[i]); ++i)
            s += t[i];
        punto = i > decimales;
        if (!punto)
            return std::nullopt;
    }
    if (i != t.size() || (ambos && !(grupos && punto)))
        return std::nullopt;
    return s;
}

// The lines of a text, whichever of LF, CR LF or CR ends them.
QList<QStringView> partePorLineas(QStringView t, Progreso* p) {
    QList<QStringView> lineas;
    Avance avance(p, t.size(), 1 << 20);
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        avance.paso(i);
        if (t[i] != QLatin1Char('\n') && t[i] != QLatin1Char('\r'))
            continue;
        lineas.append(t.mid(inicio, i - inicio));
        if (t[i] == QLatin1Char('\r') && i + 1 < t.size() && t[i + 1] == QLatin1Char('\n'))
            ++i;
        inicio = i + 1;
    }
    lineas.append(t.mid(inicio));
    return lineas;
}
} // namespace

QString TablaMediciones::deArchivo(const QByteArray& bytes) {
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (!utf16 && bytes.contains('\0'))
        throw ErrorLozar(kErrTipos,
                         QStringLiteral("No es un archivo de texto: tiene bytes nulos (¿una "
                                        "hoja de cálculo sin exportar, o una imagen?)"));
    return textoDeArchivo(bytes);
}

TablaMediciones::TablaMediciones(QString texto, Progreso* p) : texto_(std::move(texto)) {
    lineas_ = partePorLineas(texto_, p);
    QList<QStringView> muestra; // the first lines that hold anything
    int primeraConAlgo = -1;
    for (int i = 0; i < lineas_.size() && muestra.size() < kMuestra; ++i)
        if (!lineas_[i].trimmed().isEmpty()) {
            muestra.append(lineas_[i]);
            if (primeraConAlgo < 0)
                primeraConAlgo = i;
        }
    if (muestra.isEmpty())
        throw ErrorLozar(kErrArgumento, QStringLiteral("No hay mediciones: el texto está vacío"));

    // Fields are parted by tabs, else by semicolons; a comma parts them only where it cannot be
    // a decimal comma: beside a point (unless the two group thousands, as in 1.101,5), more
    // than one a line, or between the header's names.
    auto hay = [&](QChar c) {
        return std::any_of(muestra.begin(), muestra.end(),
                           [c](QStringView l) { return l.contains(c); });
    };
    auto conMiles = [](QStringView l) {
        return sinMiles(l, QLatin1Char('.'), QLatin1Char(','), true) ||
               sinMiles(l, QLatin1Char(','), QLatin1Char('.'), true);
    };
    const bool cabeceraNoNumerica =
        !esNumero(muestra.first().trimmed()) && !conMiles(muestra.first());
    if (hay(QLatin1Char('\t')))
        separador_ = QLatin1Char('\t');
    else if (hay(QLatin1Char(';')))
        separador_ = QLatin1Char(';');
    else if (hay(QLatin1Char(','))) {
        bool csv = false;
        for (QStringView l : muestra)
            csv = csv || ((l.count(QLatin1Char(',')) > 1 || l.contains(QLatin1Char('.'))) &&
                          l.contains(QLatin1Char(',')) && !conMiles(l));
        if (cabeceraNoNumerica && muestra.first().contains(QLatin1Char(',')))
            csv = true;
        if (csv)
            separador_ = QLatin1Char(',');
    }

    // A first line that is not all numbers names the columns.
    const QList<QStringView> primera = campos(muestra.first());
    const bool encabezado = std::any_of(primera.begin(), primera.end(), [&](QStringView c) {
        return !esNumero(c) && !conMiles(c);
    });
    primeraDeDatos_ = primeraConAlgo + (encabezado ? 1 : 0);
    for (int i = 0; i < primera.size(); ++i)
        nombres_ << (encabezado && !primera[i].trimmed().isEmpty()
                         ? primera[i].trimmed().toString()
                         : QStringLiteral("Columna %1").arg(i + 1));
    for (int i = primeraDeDatos_; i < lineas_.size() && !coma_; ++i)
        if (separador_ != QLatin1Char(','))
            coma_ = lineas_[i].contains(QLatin1Char(','));
    if (std::all_of(lineas_.begin() + std::min<qsizetype>(primeraDeDatos_, lineas_.size()),
                    lineas_.end(), [](QStringView l) { return l.trimmed().isEmpty(); }))
        throw ErrorLozar(kErrArgumento, QStringLiteral("No hay mediciones: solo un encabezado"));
}

TablaMediciones::Miles TablaMediciones::milesDeColumna(int c) const {
    // Once a column: reading it and naming its decimal ask the same.
    if (const auto it = miles_.constFind(c); it != miles_.constEnd())
        return *it;
    Miles m = Miles::Ninguno;
    for (int i = primeraDeDatos_; i < lineas_.size() && m == Miles::Ninguno; ++i) {
        const QStringView f = campo(lineas_[i], c);
        if (!f.contains(QLatin1Char(',')) || !f.contains(QLatin1Char('.')))
            continue;
        if (sinMiles(f, QLatin1Char('.'), QLatin1Char(','), true))
            m = Miles::Punto;
        else if (sinMiles(f, QLatin1Char(','), QLatin1Char('.'), true))
            m = Miles::Coma;
    }
    miles_.insert(c, m);
    return m;
}

int TablaMediciones::columnaSugerida() const {
    constexpr int kMuestra = 100;
    auto pareceNumero = [](QStringView t) {
        return std::any_of(t.begin(), t.end(), [](QChar ch) { return ch.isDigit(); }) &&
               std::all_of(t.begin(), t.end(), [](QChar ch) {
                   return ch.isDigit() || QStringView(u"+-.,eE").contains(ch);
               });
    };
    for (int c = int(nombres_.size()) - 1; c > 0; --c) {
        bool numeros = true, distintos = false;
        QStringView primero;
        for (int i = primeraDeDatos_, n = 0; numeros && i < lineas_.size() && n < kMuestra; ++i) {
            if (lineas_[i].trimmed().isEmpty())
                continue;
            const QStringView t = campo(lineas_[i], c).trimmed();
            numeros = pareceNumero(t);
            distintos = distintos || (n > 0 && t != primero);
            if (n++ == 0)
                primero = t;
        }
        if (numeros && distintos)
            return c;
    }
    return 0;
}

std::vector<int> TablaMediciones::etiquetas(int c) const {
    std::vector<int> r;
    QHash<QString, int> numeros;
    for (int i = primeraDeDatos_; i < lineas_.size(); ++i) {
        if (lineas_[i].trimmed().isEmpty())
            continue;
        const QString texto = campo(lineas_[i], c).trimmed().toString();
        auto it = numeros.constFind(texto);
        if (it == numeros.constEnd())
            it = numeros.insert(texto, int(numeros.size()));
        r.push_back(it.value());
    }
    return r;
}

QString TablaMediciones::decimal(int c) const {
    switch (milesDeColumna(c)) {
    case Miles::Punto:
        return QStringLiteral("coma, con punto de miles");
    case Miles::Coma:
        return QStringLiteral("punto, con coma de miles");
    default:
        return coma_ ? QStringLiteral("coma") : QStringLiteral("punto");
    }
}

QList<QStringView> TablaMediciones::campos(QStringView linea) const {
    if (separador_.isNull())
        return {linea};
    return linea.split(separador_);
}

QStringView TablaMediciones::campo(QStringView linea, int c) const {
    if (separador_.isNull())
        return c == 0 ? linea : QStringView();
    qsizetype inicio = 0;
    for (int k = 0; k < c; ++k) {
        const qsizetype sep = linea.indexOf(separador_, inicio);
        if (sep < 0)
            return {};
        inicio = sep + 1;
    }
    const qsizetype fin = linea.indexOf(separador_, inicio);
    return linea.sliced(inicio, (fin < 0 ? linea.size() : fin) - inicio);
}

std::vector<double> TablaMediciones::columna(int c, Progreso* p) const {
    const Miles miles = milesDeColumna(c);
    const QChar g = miles == Miles::Punto ? QLatin1Char('.') : QLatin1Char(',');
    const QChar d = miles == Miles::Punto ? QLatin1Char(',') : QLatin1Char('.');
    std::vector<double> v;
    v.reserve(std::size_t(lineas_.size()));
    Avance avance(p, lineas_.size());
    for (int i = primeraDeDatos_; i < lineas_.size(); ++i) {
        avance.paso(i);
        const QStringView campo = this->campo(lineas_[i], c).trimmed();
        if (campo.isEmpty() && lineas_[i].trimmed().isEmpty())
            continue;
        double x = 0;
        bool bien;
        if (miles == Miles::Ninguno) {
            bien = leeEstrictoEn(campo, x) == 0;
        } else {
            const std::optional<QString> s = sinMiles(campo, g, d, false);
            bien = s && leeEstrictoEn(*s, x) == 0;
        }
        if (bien) {
            v.push_back(x);
            continue;
        }
        const QString linea = lineas_[i].left(60).toString();
        if (miles != Miles::Ninguno)
            throw ErrorLozar(kErrTipos,
                             QStringLiteral("La línea %1 no sigue el formato de la columna «%2», "
                                            "que agrupa los miles como %3: «%4»")
                                 .arg(i + 1)
                                 .arg(nombres_.value(c),
                                      miles == Miles::Punto ? QStringLiteral("1.234,5")
                                                            : QStringLiteral("1,234.5"),
                                      linea));
        throw ErrorLozar(kErrTipos, QStringLiteral("La línea %1 no tiene un número en la "
                                                   "columna «%2»: «%3»")
                                        .arg(i + 1)
                                        .arg(nombres_.value(c), linea));
    }
    if (v.size() < std::size_t(kMinimo))
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("Hacen falta al menos %1 mediciones y la columna «%2» "
                                        "tiene %3")
                             .arg(kMinimo)
                             .arg(nombres_.value(c))
                             .arg(v.size()));
    if (std::all_of(v.begin(), v.end(), [&](double x) { return x == v.front(); }))
        throw ErrorLozar(kErrArgumento, QStringLiteral("Todas las mediciones de la columna «%1» "
                                                       "valen %2: sin variación no hay proceso "
                                                       "que estudiar")
                                            .arg(nombres_.value(c), formatoGeneral(v.front())));
    return v;
}
