// The normal-area and Pearson table readers fed any file contents.
#include "numeros/errores.h"
#include "tablas/tablanormal.h"
#include "tablas/tablapearson.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t n) {
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(datos), qsizetype(n));
    for (const char* nombre : {"Kvacnt.tbq", "kvtab1A.tbq"}) {
        QFile f(dir.filePath(QLatin1String(nombre)));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 0;
    }
    try {
        TablaNormal t(dir.path());
        for (double z : {-7.0, -3.995, -0.125, 0.0, 1.234, 3.994, 4.26, 6.0})
            t.Abcn(z);
    } catch (const ErrorLozar&) {
    }
    for (double k : {-1.5, 0.0, 0.3, 12.2})
        try {
            TablaPearson(dir.path(), QStringLiteral("1A"), 0.45, k);
        } catch (const ErrorLozar&) {
        }
    return 0;
}
