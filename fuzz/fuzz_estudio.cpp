// Study files as any bytes may make them: the reader must answer with a whole study or an error,
// and what it read, written back, must read back the same, or be refused with an error.
#include "archivos/archivoestudio.h"
#include "archivos/cp1252.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t n) {
    const QByteArrayView bytes(datos, qsizetype(n));
    leeEstudio(bytes); // the fields alone, as the examples' menu reads titles
    EstudioEnArchivo e;
    try {
        e = leeEstudioEntero(bytes);
    } catch (const ErrorLozar&) {
        return 0;
    }
    const QStringList& valores = e.valores;
    QByteArray escritos;
    try {
        escritos = escribeEstudio(valores, &e.mediciones);
    } catch (const ErrorLozar&) {
        return 0;
    }
    // Windows-1252 bytes that happen to form UTF-8 read as UTF-8, as an editor's file would:
    // no real text does so, but random bytes can.
    const QByteArray campos = escribeEstudio(valores); // what the text decoding is decided on
    if (textoDeArchivo(campos) != deCp1252(campos))
        return 0;
    const EstudioEnArchivo otra = leeEstudioEntero(escritos); // throws, and fails, if it cannot
    if (otra.valores != valores || otra.mediciones.valores != e.mediciones.valores ||
        otra.mediciones.subgrupos != e.mediciones.subgrupos)
        std::abort(); // saved and opened again, the study changed
    return 0;
}
