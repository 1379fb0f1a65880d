// The two readings of a box and the formats, over any text and any double.
#include "numeros/errores.h"
#include "numeros/numeros.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t n) {
    const QString texto = QString::fromUtf8(reinterpret_cast<const char*>(datos), qsizetype(n));
    leeFlexible(texto);
    leeDato(texto);
    try {
        const double v = leeEstricto(texto);
        // What reads strictly writes back (to 15 significant digits) and reads again to the
        // same number.
        const double otra = leeEstricto(formatoGeneral(v));
        if (std::fabs(otra - v) > 1e-14 * std::fabs(v))
            __builtin_trap();
    } catch (const ErrorLozar&) {
    }
    formateaTexto(texto, QStringLiteral("$ 0.00"));
    // The first bytes as a double, the rest as a pattern.
    if (n >= sizeof(double)) {
        double v;
        std::memcpy(&v, datos, sizeof v);
        const QString patron =
            QString::fromUtf8(reinterpret_cast<const char*>(datos) + 8, qsizetype(n - 8)).left(40);
        try {
            formatea(v, patron);
            formatoGeneral(v);
        } catch (const ErrorLozar&) {
        }
    }
    return 0;
}
