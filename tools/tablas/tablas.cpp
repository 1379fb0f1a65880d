#include "tablas.hpp"

#include <boost/math/special_functions/erf.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace tablas {

namespace {

using Alta = boost::multiprecision::cpp_bin_float_50;

constexpr int kDecimalesNormal = 6; // all stored values lie in [0, 1)
constexpr int kDecimalesPearson = 3;

// The stored value for record r, column d, in 50 digits so the rounding to six decimals is
// exact. The tail uses erfc: 0.5 - A(z) is what matters there and erf would lose it.
Alta valorNormal(int registro, int columna) {
    const Alta z = Alta(zCentesimas(registro, columna)) / 100;
    const Alta x = z / sqrt(Alta(2));
    if (registro <= kRegistrosCentrales)
        return boost::math::erf(x) / 2;
    return 1 - 5000 * boost::math::erfc(x);
}

long long redondear(const Alta& v, int decimales) {
    return static_cast<long long>(round(v * pow(Alta(10), decimales)));
}

} // namespace

int zCentesimas(int registro, int columna) {
    if (registro <= kRegistrosCentrales)
        return 10 * (registro - 1) + columna;
    return 100 * (registro - 37) + 10 * columna;
}

std::string fijo(long long unidades, int decimales, int ancho) {
    long long escala = 1;
    for (int i = 0; i < decimales; ++i)
        escala *= 10;
    const long long absoluto = std::llabs(unidades);
    char texto[64];
    std::snprintf(texto, sizeof texto, "%s%lld.%0*lld", unidades < 0 ? "-" : "", absoluto / escala,
                  decimales, absoluto % escala);
    const std::string s(texto);
    if (static_cast<int>(s.size()) > ancho)
        throw std::range_error("no cabe en " + std::to_string(ancho) + " caracteres: " + s);
    return std::string(ancho - s.size(), ' ') + s;
}

std::string tablaNormal() {
    std::string salida;
    for (int r = 1; r <= kRegistrosNormal; ++r) {
        char etiqueta[16];
        std::snprintf(etiqueta, sizeof etiqueta, "%3.1f ", zCentesimas(r, 0) / 100.0);
        std::string registro = etiqueta;
        for (int d = 0; d < kCamposNormal; ++d)
            registro += fijo(redondear(valorNormal(r, d), kDecimalesNormal), kDecimalesNormal, 8);
        registro.resize(kLargoNormal - 2, ' ');
        salida += registro + "\r\n";
    }
    return salida;
}

std::string tablaPearson(const Rejilla& valores) {
    std::string salida;
    for (int j = 0; j < kFilas; ++j) {
        char etiqueta[16];
        std::snprintf(etiqueta, sizeof etiqueta, "%5.1f", (2 * j - 14) / 10.0);
        std::string registro = etiqueta;
        for (long double v : valores[j]) {
            if (std::isnan(v))
                registro += std::string(6, ' ');
            else
                registro += fijo(std::llround(v * 1000), kDecimalesPearson, 6);
        }
        salida += registro + "\r\n";
    }
    return salida;
}

long double leerCampo(const std::string& texto) {
    const auto inicio = texto.find_first_not_of(' ');
    if (inicio == std::string::npos)
        return std::numeric_limits<long double>::quiet_NaN();
    return std::strtold(texto.c_str() + inicio, nullptr);
}

} // namespace tablas
