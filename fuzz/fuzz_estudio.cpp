// Study files as any bytes may make them: the reader must answer with values or an error.
#include "study/archivoestudio.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t n) {
    const LecturaEstudio l = leeEstudio(QByteArrayView(datos, qsizetype(n)));
    // What was read must go back into a file, or be refused with an error.
    QStringList valores;
    for (const auto& [campo, valor] : l.valores)
        if (valores.size() < kCamposEstudio)
            valores << valor;
    try {
        escribeEstudio(valores);
    } catch (const ErrorLozar&) {
    }
    return 0;
}
