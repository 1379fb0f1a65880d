#include "study/archivoestudio.h"

#include "shell/cp1252.h"
#include "shell/numeros.h"

#include <cmath>

const char* const kClavesEstudio[kCamposTodos] = {
    "Titulo", "ya",     "yb",      "YRetI", "YDesI",    "YNomI",   "YRetS", "YDesS",
    "YNomS",  "xa",     "xb",      "XDesI", "XRetI",    "XObj",    "XRetS", "XDesS",
    "Media",  "StdDev", "Taguchi", "Sesgo", "Curtosis", "Unidades"};

namespace {
constexpr int kErrValorPropiedad = 380;

bool finDeLinea(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}
} // namespace

QByteArray escribeEstudio(const QStringList& valores) {
    QByteArray b;
    // A normal study stays the 19 lines it always was; what it lacks is not written.
    const bool forma =
        !valores.value(kCamposEstudio).isEmpty() || !valores.value(kCamposEstudio + 1).isEmpty();
    for (int i = 0; i < kCamposTodos; ++i) {
        if ((i >= kCamposEstudio && i < kCampoUnidades && !forma) ||
            (i == kCampoUnidades && valores.value(i).isEmpty()))
            continue;
        const QString linea =
            QString::fromLatin1(kClavesEstudio[i]) + QLatin1Char('=') + valores.value(i);
        const std::optional<QByteArray> bytes = aCp1252(linea);
        if (!bytes)
            throw ErrorLozar(kErrArgumento,
                             QStringLiteral("El valor de %1 tiene caracteres que un estudio "
                                            "no puede guardar (código de página Windows-1252); "
                                            "cámbielos y vuelva a guardar")
                                 .arg(QLatin1String(kClavesEstudio[i])));
        // A quoted field ends at the next quote: a value holding one is written unquoted, which
        // reads back whole up to the line's end, unless a comma (or a line end) cuts it first.
        if (!bytes->contains('"'))
            b += '"' + *bytes + "\"\r\n";
        else if (!bytes->contains(',') && !bytes->contains('\r') && !bytes->contains('\n'))
            b += *bytes + "\r\n";
        else
            throw ErrorLozar(kErrArgumento,
                             QStringLiteral("El valor de %1 tiene comillas (\") y una coma: un "
                                            "estudio no puede guardar ambas en una casilla; "
                                            "quite una de ellas y vuelva a guardar")
                                 .arg(QLatin1String(kClavesEstudio[i])));
    }
    return b;
}

LecturaEstudio leeEstudio(QByteArrayView bytes) {
    const QString t = textoDeArchivo(bytes);
    LecturaEstudio r;
    qsizetype i = 0;
    const qsizetype n = t.size();
    while (i < n) {
        // One field.
        while (i < n && t[i] == QLatin1Char(' '))
            ++i;
        QString campo;
        if (i < n && t[i] == QLatin1Char('"')) {
            const qsizetype cierre = t.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype fin = cierre < 0 ? n : cierre;
            campo = t.mid(i + 1, fin - i - 1);
            i = cierre < 0 ? n : cierre + 1;
            while (i < n && t[i] != QLatin1Char(',') && !finDeLinea(t[i]))
                ++i;
        } else {
            const qsizetype inicio = i;
            while (i < n && t[i] != QLatin1Char(',') && !finDeLinea(t[i]))
                ++i;
            campo = t.mid(inicio, i - inicio);
        }
        // Behind the comma or the line end (CR LF counts once).
        if (i < n && t[i] == QLatin1Char('\r') && i + 1 < n && t[i + 1] == QLatin1Char('\n'))
            i += 2;
        else if (i < n)
            ++i;

        const qsizetype igual = campo.indexOf(QLatin1Char('='));
        if (igual < 0)
            continue;
        const QString clave = campo.left(igual).toUpper();
        QString valor = campo.mid(igual + 1);
        int indice = -1;
        for (int k = 0; k < kCamposTodos && indice < 0; ++k)
            if (clave == QString::fromLatin1(kClavesEstudio[k]).toUpper())
                indice = k;
        if (indice < 0)
            continue;
        if (indice == kCampoTaguchi) {
            const double v = std::nearbyint(leeDato(valor)); // halves to even
            if (!(v == 0 || v == 1 || v == 2)) {
                r.error = ErrorLozar(kErrValorPropiedad,
                                     QStringLiteral("El valor de la propiedad no es válido: "
                                                    "Taguchi=%1 (se espera 0, 1 o 2)")
                                         .arg(valor.left(40)));
                return r;
            }
            valor = QString::number(int(v));
        } else if (valor.size() > kLargoMaximo) {
            r.error = ErrorLozar(kErrValorPropiedad,
                                 QStringLiteral("El valor de %1 es demasiado largo: %2 caracteres "
                                                "(una caja admite %3)")
                                     .arg(QLatin1String(kClavesEstudio[indice]))
                                     .arg(valor.size())
                                     .arg(kLargoMaximo));
            return r;
        }
        r.valores.append({indice, valor});
    }
    return r;
}
