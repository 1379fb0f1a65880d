#include "archivos/archivoestudio.h"

#include "archivos/cp1252.h"
#include "costo/medicion.h"
#include "estudio/forma.h"
#include "numeros/numeros.h"
#include "numeros/progreso.h"

#include <charconv>
#include <cmath>

const char* const kClavesEstudio[kCamposTodos] = {
    "Titulo",   "ya",     "yb",           "YRetI",       "YDesI",     "YNomI", "YRetS",
    "YDesS",    "YNomS",  "xa",           "xb",          "XDesI",     "XRetI", "XObj",
    "XRetS",    "XDesS",  "Media",        "StdDev",      "Taguchi",   "Sesgo", "Curtosis",
    "Unidades", "Ajuste", "DesvMedicion", "CostoEscape", "Aceptacion"};

namespace {
constexpr int kErrValorPropiedad = 380;
const QByteArray kBloque = QByteArrayLiteral("\"Mediciones=");

// A line of the measurements' block: no quote, a comma or a line end could cut it on reading.
QString limpio(const QString& t) {
    QString r = t;
    for (QChar& c : r)
        if (c == QLatin1Char('"') || c == QLatin1Char(',') || c == QLatin1Char('\r') ||
            c == QLatin1Char('\n'))
            c = QLatin1Char(c == QLatin1Char('"') ? '\'' : ' ');
    return r;
}

bool finDeLinea(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}
} // namespace

QByteArray escribeEstudio(const QStringList& valores, const MedicionesEstudio* mediciones,
                          Progreso* progreso) {
    QByteArray b;
    // A normal study stays the 19 lines it always was; what it lacks is not written.
    const bool forma =
        !valores.value(kCamposEstudio).isEmpty() || !valores.value(kCamposEstudio + 1).isEmpty();
    for (int i = 0; i < kCamposTodos; ++i) {
        if ((i >= kCamposEstudio && i < kCampoUnidades && !forma) ||
            (i >= kCampoUnidades && valores.value(i).isEmpty()))
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
    if (!mediciones || mediciones->valores.empty())
        return b;
    const MedicionesEstudio& m = *mediciones;
    const std::size_t n = m.valores.size();
    const bool grupos = m.subgrupos.size() == n;
    b += kBloque + QByteArray::number(qulonglong(n)) + "\"\r\n";
    b += "\"Origen=" + aCp1252Aproximado(limpio(m.origen)) + "\"\r\n";
    b += "\"Columna=" + aCp1252Aproximado(limpio(m.columna)) + "\"\r\n";
    b.reserve(b.size() + qsizetype(n) * (grupos ? 28 : 22));
    Avance avance(progreso, qint64(n));
    char buf[64];
    for (std::size_t i = 0; i < n; ++i) {
        avance.paso(qint64(i));
        // The shortest text that reads back as the same double.
        char* fin = std::to_chars(buf, buf + sizeof buf, m.valores[i]).ptr;
        if (grupos) {
            *fin++ = '\t';
            fin = std::to_chars(fin, buf + sizeof buf, m.subgrupos[i]).ptr;
        }
        b.append(buf, fin - buf);
        b += "\r\n";
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

namespace {
bool esBlancoDeLinea(char c) {
    return c == ' ' || c == '\t';
}

// The measurements' block, from its "Mediciones=" line on: its header lines into `m`, then its
// values. Answers where the block ends, so that any line after it reads as any other.
qsizetype leeBloque(QByteArrayView b, qsizetype i, MedicionesEstudio& m, Progreso* progreso) {
    auto finDeLinea = [&](qsizetype desde) {
        while (desde < b.size() && b[desde] != '\n' && b[desde] != '\r')
            ++desde;
        return desde;
    };
    auto siguiente = [&](qsizetype fin) {
        if (fin < b.size() && b[fin] == '\r')
            ++fin;
        if (fin < b.size() && b[fin] == '\n')
            ++fin;
        return fin;
    };
    qsizetype fin = finDeLinea(i);
    const QString cabecera = textoDeArchivo(b.sliced(i, fin - i));
    // "Mediciones=n" in its quotes, nothing else on the line.
    bool ok = cabecera.endsWith(QLatin1Char('"'));
    const qulonglong n = cabecera.mid(kBloque.size()).chopped(ok ? 1 : 0).toULongLong(&ok);
    if (!ok)
        throw ErrorLozar(
            kErrValorPropiedad,
            QStringLiteral("El número de mediciones no es válido: %1").arg(cabecera.left(40)));
    i = siguiente(fin);
    // Each value takes a line of two bytes at least: no more can follow than the file holds.
    if (n > qulonglong(b.size() - i) / 2 + 1)
        throw ErrorLozar(
            kErrFinDeArchivo,
            QStringLiteral("El estudio termina antes que sus mediciones: anuncia %1").arg(n));
    // Its own keys, quoted, before the values.
    while (i < b.size() && b[i] == '"') {
        fin = finDeLinea(i);
        const QString campo = textoDeArchivo(b.sliced(i, fin - i)).remove(QLatin1Char('"'));
        const QString clave = campo.section(QLatin1Char('='), 0, 0).toUpper();
        const QString valor = campo.section(QLatin1Char('='), 1);
        if (clave == QLatin1String("ORIGEN"))
            m.origen = valor;
        else if (clave == QLatin1String("COLUMNA"))
            m.columna = valor;
        i = siguiente(fin);
    }
    m.valores.reserve(std::size_t(n));
    Avance avance(progreso, qint64(n));
    bool conGrupos = false;
    for (qulonglong k = 0; k < n; ++k) {
        avance.paso(qint64(k));
        if (i >= b.size())
            throw ErrorLozar(kErrFinDeArchivo,
                             QStringLiteral("El estudio termina antes que sus mediciones: "
                                            "anuncia %1 y trae %2")
                                 .arg(n)
                                 .arg(k));
        fin = finDeLinea(i);
        const char* p = b.data() + i;
        const char* const f = b.data() + fin;
        while (p < f && esBlancoDeLinea(*p))
            ++p;
        double v = 0;
        const auto r = std::from_chars(p, f, v);
        bool bien = r.ec == std::errc() && std::isfinite(v);
        p = r.ptr;
        // Every value has its subgroup, or none has.
        const bool conGrupo = bien && p < f && *p == '\t';
        if (k == 0)
            conGrupos = conGrupo;
        if (conGrupo) {
            int g = 0;
            const auto rg = std::from_chars(p + 1, f, g);
            bien = rg.ec == std::errc();
            p = rg.ptr;
            m.subgrupos.push_back(g);
        }
        while (p < f && esBlancoDeLinea(*p))
            ++p;
        if (!bien || p != f || conGrupo != conGrupos)
            throw ErrorLozar(kErrTipos, QStringLiteral("La medición %1 del estudio no es un "
                                                       "número: «%2»")
                                            .arg(k + 1)
                                            .arg(textoDeArchivo(b.sliced(i, fin - i)).left(40)));
        m.valores.push_back(v);
        i = siguiente(fin);
    }
    return i;
}
} // namespace

EstudioEnArchivo leeEstudioEntero(QByteArrayView bytes, Progreso* progreso) {
    // The block is found by its bytes, which an editor's UTF-16 would hide.
    QByteArray utf8;
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff")) {
        utf8 = textoDeArchivo(bytes).toUtf8();
        bytes = utf8;
    }
    EstudioEnArchivo e;
    QByteArray resto;
    qsizetype bloque = bytes.startsWith(kBloque) ? 0 : -1;
    if (bloque < 0) {
        bloque = bytes.indexOf(QByteArray("\n") + kBloque);
        if (bloque >= 0)
            ++bloque;
    }
    if (bloque >= 0) {
        const qsizetype tras = leeBloque(bytes, bloque, e.mediciones, progreso);
        resto = bytes.first(bloque).toByteArray() + bytes.sliced(tras).toByteArray();
    }
    const LecturaEstudio l = leeEstudio(bloque >= 0 ? QByteArrayView(resto) : bytes);
    if (l.error)
        throw *l.error;
    if (l.valores.isEmpty() && e.mediciones.valores.empty())
        throw ErrorLozar(kErrTipos,
                         QStringLiteral("No contiene ningún dato de un estudio de Lozar"));
    e.valores = QStringList(kCamposTodos, QString());
    std::vector<bool> leido(kCamposTodos, false);
    for (const auto& [campo, valor] : l.valores) {
        e.valores[campo] = valor;
        leido[std::size_t(campo)] = true;
    }
    for (int k = 0; k < kCamposEstudio; ++k)
        if (!leido[std::size_t(k)])
            e.faltan << k;
    if (!leido[kCampoTaguchi])
        e.valores[kCampoTaguchi] = QStringLiteral("0");
    if (!e.valores[kCampoAjuste].isEmpty())
        ajusteDeTexto(e.valores[kCampoAjuste]);
    if (!e.valores[kCampoAceptacion].isEmpty())
        leeAceptacion(e.valores[kCampoAceptacion]);
    return e;
}
