#include "study/mediciones.h"

#include "shell/cp1252.h"
#include "shell/errores.h"
#include "shell/numeros.h"

#include <QStringDecoder>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kMinimo = 8;
constexpr int kMuestra = 50; // lines looked at to tell the layout

bool esNumero(QStringView t) {
    try {
        leeEstricto(t.toString());
        return true;
    } catch (const ErrorLozar&) {
        return false;
    }
}
} // namespace

QString TablaMediciones::deArchivo(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString texto = utf8.decode(bytes);
    if (utf8.hasError())
        texto = deCp1252(bytes);
    if (texto.startsWith(QChar(0xFEFF))) // a byte-order mark some editors write
        texto.remove(0, 1);
    return texto;
}

TablaMediciones::TablaMediciones(QString texto) : texto_(std::move(texto)) {
    for (QStringView l : QStringView(texto_).split(QLatin1Char('\n')))
        lineas_.append(l.endsWith(QLatin1Char('\r')) ? l.chopped(1) : l);
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
    // a decimal comma: beside a point, more than one a line, or between the header's names.
    auto hay = [&](QChar c) {
        return std::any_of(muestra.begin(), muestra.end(),
                           [c](QStringView l) { return l.contains(c); });
    };
    const bool cabeceraNoNumerica = !esNumero(muestra.first().trimmed());
    if (hay(QLatin1Char('\t')))
        separador_ = QLatin1Char('\t');
    else if (hay(QLatin1Char(';')))
        separador_ = QLatin1Char(';');
    else if (hay(QLatin1Char(','))) {
        bool csv = false;
        for (QStringView l : muestra)
            csv = csv || l.count(QLatin1Char(',')) > 1 ||
                  (l.contains(QLatin1Char(',')) && l.contains(QLatin1Char('.')));
        if (cabeceraNoNumerica && muestra.first().contains(QLatin1Char(',')))
            csv = true;
        if (csv)
            separador_ = QLatin1Char(',');
    }

    // A first line that is not all numbers names the columns.
    const QList<QStringView> primera = campos(muestra.first());
    const bool encabezado =
        std::any_of(primera.begin(), primera.end(), [](QStringView c) { return !esNumero(c); });
    primeraDeDatos_ = primeraConAlgo + (encabezado ? 1 : 0);
    for (int i = 0; i < primera.size(); ++i)
        nombres_ << (encabezado && !primera[i].trimmed().isEmpty()
                         ? primera[i].trimmed().toString()
                         : QStringLiteral("Columna %1").arg(i + 1));
    for (int i = primeraDeDatos_; i < lineas_.size() && !coma_; ++i)
        if (separador_ != QLatin1Char(','))
            coma_ = lineas_[i].contains(QLatin1Char(','));
    if (lineas_.mid(primeraDeDatos_).isEmpty())
        throw ErrorLozar(kErrArgumento, QStringLiteral("No hay mediciones: solo un encabezado"));
}

QString TablaMediciones::decimal() const {
    return coma_ ? QStringLiteral("coma") : QStringLiteral("punto");
}

QList<QStringView> TablaMediciones::campos(QStringView linea) const {
    if (separador_.isNull())
        return {linea};
    return linea.split(separador_);
}

std::vector<double> TablaMediciones::columna(int c) const {
    std::vector<double> v;
    v.reserve(std::size_t(lineas_.size()));
    for (int i = primeraDeDatos_; i < lineas_.size(); ++i) {
        if (lineas_[i].trimmed().isEmpty())
            continue;
        const QList<QStringView> f = campos(lineas_[i]);
        const QString campo = c < f.size() ? f[c].trimmed().toString() : QString();
        try {
            v.push_back(leeEstricto(campo));
        } catch (const ErrorLozar&) {
            throw ErrorLozar(kErrTipos, QStringLiteral("La línea %1 no tiene un número en la "
                                                       "columna «%2»: «%3»")
                                            .arg(i + 1)
                                            .arg(nombres_.value(c))
                                            .arg(lineas_[i].left(60).toString()));
        }
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
