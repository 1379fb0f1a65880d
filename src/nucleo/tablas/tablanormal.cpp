#include "tablas/tablanormal.h"

#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "tablas/lectura.h"

#include <cmath>
#include <limits>

int Trunca(double x) {
    const double f = std::floor(x);
    if (!(f >= std::numeric_limits<int>::min() && f <= std::numeric_limits<int>::max()))
        throw ErrorLozar(kErrDesbordamiento);
    return int(f);
}

namespace {
constexpr int kRegistros = 43, kLargo = 94;
}

QString TablaNormal::ruta() const {
    return rutaDeTabla(directorio_, QStringLiteral("Kvacnt.tbq"));
}

void TablaNormal::carga() {
    const QByteArray datos = leeTabla(ruta(), kRegistros, kLargo);
    // Record 43 holds only z = 6.0; its other columns are never read.
    for (int r = 1; r <= kRegistros; ++r)
        for (int d = 0; d < (r == kRegistros ? 1 : 10); ++d)
            campos_[std::size_t(r)][std::size_t(d)] =
                leeCampoDeTabla(datos, ruta(), r, kLargo, 4 + 8 * d, 8, false);
    cargada_ = true;
}

double TablaNormal::Abcn(double z) {
    if (!cargada_)
        carga();
    if (z < -6)
        z = -6;
    if (z > 6)
        z = 6;
    int redondeado, r, d;
    double a;
    if (std::fabs(z) < 3.995) {
        redondeado = Trunca(100 * z + 0.5);
        const int n = std::abs(redondeado);
        r = n / 10 + 1;
        d = n % 10;
        a = campos_[std::size_t(r)][std::size_t(d)];
    } else {
        redondeado = Trunca(10 * z + 0.5);
        const int n = std::abs(redondeado);
        r = n / 10 + 37;
        d = n % 10;
        a = campos_[std::size_t(r)][std::size_t(d)] / 10000 + 0.4999;
    }
    return redondeado > 0 ? 0.5 + a : 0.5 - a;
}
