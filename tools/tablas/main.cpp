// lozar_tablas: writes Kvacnt.tbq, kvtab1A.tbq, kvtab1B.tbq and kvtab2.tbq into a folder.
// With --informe it reads them back and measures them against the unrounded values.

#include "pearson.hpp"
#include "tablas.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace tablas;

namespace {

constexpr long double kProbInferior = 0.00135L, kProbSuperior = 0.99865L, kMediana = 0.5L;

struct Tabla {
    const char* archivo;
    long double probabilidad;
    long double signo; // the stored value is signo * x(p)
};
const Tabla kTablas[] = {{"kvtab1A.tbq", kProbInferior, -1},
                         {"kvtab1B.tbq", kProbSuperior, 1},
                         {"kvtab2.tbq", kMediana, -1}};

struct Resultado {
    std::vector<Ajuste> ajustes; // [j * kColumnas + c]
    Rejilla valores[3];
};

Resultado calcular() {
    Resultado r;
    r.ajustes.resize(kFilas * kColumnas);
    for (int j = 0; j < kFilas; ++j) {
        for (int c = 0; c < kColumnas; ++c) {
            const Celda celda{c, j};
            Ajuste& a = r.ajustes[j * kColumnas + c];
            if (elegirTipo(celda) != Tipo::Imposible)
                a = ajustar(celda);
            for (int t = 0; t < 3; ++t)
                r.valores[t][j][c] =
                    a.cuantil
                        ? kTablas[t].signo * cuantilComprobado(a, celda, kTablas[t].probabilidad)
                        : std::numeric_limits<long double>::quiet_NaN();
        }
    }
    return r;
}

void escribir(const std::string& carpeta, const std::string& nombre, const std::string& texto) {
    std::filesystem::create_directories(carpeta);
    const std::string ruta = carpeta + "/" + nombre;
    std::ofstream f(ruta, std::ios::binary);
    f << texto;
    if (!f.flush())
        throw std::runtime_error("no se pudo escribir " + ruta);
}

std::string leerArchivo(const std::string& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    std::ostringstream os;
    os << f.rdbuf();
    return os.str();
}

void informeNormal(const std::string& carpeta) {
    const std::string texto = leerArchivo(carpeta + "/Kvacnt.tbq");
    long double errCentral = 0, errCola = 0;
    for (int r = 1; r <= kRegistrosNormal; ++r) {
        for (int d = 0; d < kCamposNormal; ++d) {
            const long double campo =
                leerCampo(texto.substr((r - 1) * kLargoNormal + 4 + 8 * d, 8));
            const long double x = zCentesimas(r, d) / 100.0L / std::sqrt(2.0L);
            if (r <= kRegistrosCentrales)
                errCentral = std::max(errCentral, std::fabs(campo - std::erf(x) / 2));
            else
                errCola = std::max(errCola, std::fabs(campo - (1 - 5000 * std::erfc(x))));
        }
    }
    std::printf("Kvacnt.tbq: error maximo contra Phi en long double: %.3Le (z < 4), %.3Le (cola, "
                "en unidades de 1e-4)\n",
                errCentral, errCola);
}

// Smallest power of ten e with F(x - e) <= p <= F(x + e), F being the independent CDF: the
// true quantile is then within e of x. A bracket rather than |F(x) - p|, which says nothing
// where the density is nearly zero (the U-shaped type I fits) or x sits at a support edge.
long double horquilla(const Ajuste& a, long double x, long double p) {
    for (long double e = 1e-15L; e < 1e-2L; e *= 10)
        if (a.cdfIndependiente(x - e) <= p && p <= a.cdfIndependiente(x + e))
            return e;
    return 1;
}

void informePearson(const std::string& carpeta, const Resultado& r) {
    std::map<Tipo, int> cuenta;
    std::map<Tipo, long double> error;
    long double margen = 1, momentos = 0;
    for (int j = 0; j < kFilas; ++j) {
        for (int c = 0; c < kColumnas; ++c) {
            const Ajuste& a = r.ajustes[j * kColumnas + c];
            ++cuenta[a.tipo];
            if (!a.cuantil)
                continue;
            const Momentos& m = a.momentos;
            const Celda celda{c, j};
            momentos =
                std::max({momentos, std::fabs(m.media), std::fabs(m.varianza - 1),
                          std::fabs(m.asimetria - celda.s()), std::fabs(m.curtosis - celda.k())});
            for (int t = 0; t < 3; ++t) {
                const long double v = r.valores[t][j][c];
                const long double x = kTablas[t].signo * v;
                error[a.tipo] = std::max(error[a.tipo], horquilla(a, x, kTablas[t].probabilidad));
                const long double milesimas = v * 1000;
                margen =
                    std::min(margen, std::fabs(milesimas - std::floor(milesimas) - 0.5L) / 1000);
            }
        }
    }
    for (int t = 0; t < 3; ++t) {
        const std::string texto = leerArchivo(carpeta + "/" + kTablas[t].archivo);
        long double err = 0;
        int blancos = 0, desplazados = 0;
        for (int j = 0; j < kFilas; ++j) {
            for (int c = 0; c < kColumnas; ++c) {
                const long double campo = leerCampo(texto.substr(j * kLargoPearson + 5 + 6 * c, 6));
                const long double v = r.valores[t][j][c];
                if (std::isnan(campo) != std::isnan(v))
                    ++desplazados;
                else if (std::isnan(campo))
                    ++blancos;
                else
                    err = std::max(err, std::fabs(campo - v));
            }
        }
        std::printf("%s: error maximo contra el valor sin redondear %.3Le, celdas en blanco %d "
                    "(%d fuera de sitio)\n",
                    kTablas[t].archivo, err, blancos, desplazados);
    }
    std::printf("momentos de los ajustes: desviacion maxima %.3Le\n", momentos);
    std::printf("margen minimo de un valor Pearson al punto de redondeo: %.3Le\n", margen);
    std::printf("tipo        celdas  cuantiles exactos a (CDF independiente)\n");
    for (const auto& [tipo, n] : cuenta)
        std::printf("%-10s %7d  %8.0Le\n", nombreTipo(tipo), n, error[tipo]);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool informe = !args.empty() && args.front() == "--informe";
    if (informe)
        args.erase(args.begin());
    if (args.size() != 1 || args.front().rfind("--", 0) == 0) {
        std::fprintf(stderr, "uso: lozar_tablas [--informe] CARPETA\n");
        return 2;
    }
    const std::string carpeta = args.front();
    try {
        const auto inicio = std::chrono::steady_clock::now();
        const Resultado r = calcular();
        escribir(carpeta, "Kvacnt.tbq", tablaNormal());
        for (int t = 0; t < 3; ++t)
            escribir(carpeta, kTablas[t].archivo, tablaPearson(r.valores[t]));
        const std::chrono::duration<double> segundos = std::chrono::steady_clock::now() - inicio;
        if (informe) {
            std::printf("tablas generadas en %.1f s\n", segundos.count());
            informeNormal(carpeta);
            informePearson(carpeta, r);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lozar_tablas: %s\n", e.what());
        return 1;
    }
    return 0;
}
