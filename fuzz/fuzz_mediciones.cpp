// Measurements as a file or the clipboard may bring them.
#include "capacidad/mediciones.h"
#include "muestra.h"
#include "numeros/errores.h"

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
