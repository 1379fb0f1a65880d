#include "tablas/tablapearson.h"

#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "tablas/lectura.h"
#include "tablas/tablanormal.h"

namespace {
constexpr int kRegistros = 69, kLargo = 133;

// Blank cells are the impossible corner of the tables, and read as 0.
double campo(const QByteArray& datos, const QString& ruta, int registro, int columna) {
    return leeCampoDeTabla(datos, ruta, registro, kLargo, (columna - 1) * 6 + 5, 6, true);
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
    const QString ruta = rutaDeTabla(directorio, QStringLiteral("kvtab%1.tbq").arg(id));
    const QByteArray datos = leeTabla(ruta, kRegistros, kLargo);
    const double a = campo(datos, ruta, fila, col), b = campo(datos, ruta, fila, col + 1);
    const double c = campo(datos, ruta, fila + 1, col), d = campo(datos, ruta, fila + 1, col + 1);
    const double s10 = 10 * s, k5 = 5 * k;
    return Interpola(a, b, c, d, s10 - Trunca(s10), k5 - Trunca(k5));
}
