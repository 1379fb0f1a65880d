// Measurements as a file or the clipboard may bring them.
#include "shell/errores.h"
#include "stats/muestra.h"
#include "study/mediciones.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t n) {
    try {
        const TablaMediciones t(TablaMediciones::deArchivo(
            QByteArray(reinterpret_cast<const char*>(datos), qsizetype(n))));
        for (int c = 0; c < t.columnas().size() && c < 4; ++c)
            try {
                resumeMuestra(t.columna(c));
            } catch (const ErrorLozar&) {
            }
    } catch (const ErrorLozar&) {
    }
    return 0;
}
