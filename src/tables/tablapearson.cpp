#include "tables/tablapearson.h"

#include "shell/errores.h"
#include "shell/numeros.h"
#include "tables/lectura.h"
#include "tables/tablanormal.h"

namespace {
constexpr int kRegistros = 69, kLargo = 133;

double campo(const QByteArray& datos, int registro, int columna) {
    const qsizetype inicio = qsizetype(registro - 1) * kLargo + qsizetype(columna - 1) * 6 + 5;
    return leeDato(QString::fromLatin1(datos.mid(inicio, 6)));
}
} // namespace

double Interpola(double a, double b, double c, double d, double fs, double fk) {
    const double p = (b - a) * fs + a;
    const double q = (d - c) * fs + c;
    return (q - p) * fk + p;
}

double TablaPearson(const QString& directorio, const QString& id, double s, double k) {
    if (s < 0) // callers mirror negative skewness; the tables hold none
        throw ErrorLozar(kErrArgumento);
    if (s > 1.999)
        s = 1.999;
    if (k > 12.19)
        k = 12.19;
    if (k < -1.399)
        k = -1.399;
    const int col = Trunca((s + 0.000001) / 0.1) + 1;
    const int fila = Trunca((k + 1.400001) / 0.2) + 1;
    const QByteArray datos = leeTabla(
        rutaDeTabla(directorio, QStringLiteral("kvtab%1.tbq").arg(id)), kRegistros, kLargo);
    const double a = campo(datos, fila, col), b = campo(datos, fila, col + 1);
    const double c = campo(datos, fila + 1, col), d = campo(datos, fila + 1, col + 1);
    const double s10 = 10 * s, k5 = 5 * k;
    return Interpola(a, b, c, d, s10 - Trunca(s10), k5 - Trunca(k5));
}
