// Study files as any bytes may make them: the reader must answer with values or an error, and
// what it read, written back, must read back the same, or be refused with an error.
#include "shell/cp1252.h"
#include "study/archivoestudio.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t n) {
    const LecturaEstudio l = leeEstudio(QByteArrayView(datos, qsizetype(n)));
    // The study they make: every field its last value, the rest empty, Taguchi 0.
    QStringList valores(kCamposTodos);
    valores[kCampoTaguchi] = QStringLiteral("0");
    for (const auto& [campo, valor] : l.valores)
        valores[campo] = valor;
    QByteArray bytes;
    try {
        bytes = escribeEstudio(valores);
    } catch (const ErrorLozar&) {
        return 0;
    }
    // Windows-1252 bytes that happen to form UTF-8 read as UTF-8, as an editor's file would:
    // no real text does so, but random bytes can.
    if (textoDeArchivo(bytes) != deCp1252(bytes))
        return 0;
    const LecturaEstudio otra = leeEstudio(bytes);
    QStringList leidos(kCamposTodos);
    for (const auto& [campo, valor] : otra.valores)
        leidos[campo] = valor;
    if (otra.error || leidos != valores)
        std::abort(); // saved and opened again, the study changed
    return 0;
}
