// The exact effective cost and the optimal-mean search on it for a process of every Pearson
// family, each at its slowest shapes (the J and U ends of type I, the shapes next to the
// normal), in the usual study with the Taguchi loss, mean 52, σ 8; then the same for a process
// of every fitted family. Exits 1 when a median misses its target.
// Run: build/bin/bench_formas [runs of each search, 11 by default]
#include "ajuste.h"
#include "comun/cajasmapa.h"
#include "costo/exacto.h"
#include "costo/optimo.h"
#include "estudio/forma.h"
#include "medicion.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cmath>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int veces = argc > 1 ? std::max(1, QString(argv[1]).toInt()) : 11;
    const CajasMapa c = CajasMapa::tipico(1);
    const double curtosisV = (174 + std::sqrt(18000.0)) / 62 - 3; // type V at skewness 1
    const struct {
        const char* nombre;
        double sesgo, curtosis;
    } formas[] = {{"I en J", 1.5, 2},
                  {"I en J", 1.0, -0.5},
                  {"I en J", -1.5, 0.5},
                  {"I en U", -0.486, -1.608},
                  {"I casi normal", 1e-3, -1e-3},
                  {"II", 0, -0.5},
                  {"II casi normal", 0, -1e-3},
                  {"III", 1, 1.5},
                  {"IV", 0.9, 1.6},
                  {"IV casi normal", 1e-3, 1e-3},
                  {"V", 1, curtosisV},
                  {"VI", 1, 1.8},
                  {"VII", 0, 1},
                  {"VII casi normal", 0, 1e-3}};
    const double metaCosto = 0.1, metaOptimo = 20;
    bool ok = true;
    QTextStream out(stdout);
    out << QStringLiteral("forma (sesgo, curtosis): costo exacto ms (meta <= %1), media óptima ms "
                          "(meta <= %2)\n")
               .arg(metaCosto)
               .arg(metaOptimo);
    for (const auto& f : formas) {
        const FormaProceso forma(f.sesgo, f.curtosis);
        bool valido = true;
        const double costo =
            mediana([&] { valido = valido && costoExacto(c, 52, 8, &forma).efectivo > 0; }, 201);
        const double optimo =
            mediana([&] { valido = valido && buscaMediaOptima(c, 8, &forma).has_value(); }, veces);
        const bool cumple = valido && costo <= metaCosto && optimo <= metaOptimo;
        ok = ok && cumple;
        out << QStringLiteral("%1 (%2, %3): %4 ms, %5 ms%6\n")
                   .arg(QLatin1String(f.nombre))
                   .arg(f.sesgo)
                   .arg(f.curtosis, 0, 'g', 4)
                   .arg(costo, 0, 'f', 4)
                   .arg(optimo, 0, 'f', 1)
                   .arg(cumple ? "" : "  FUERA DE META");
        out.flush();
    }
    // A fitted process: closed forms where the family has them, quadrature otherwise.
    const double metaAjustado = 1;
    out << QStringLiteral("distribución ajustada: costo exacto ms (meta <= %1), media óptima ms\n")
               .arg(metaAjustado);
    for (const char* texto :
         {"Lognormal;3.9;0.3", "Weibull3;2;40;15", "Gamma3;3;10;20", "Exponencial;20",
          "VEMinimo;55;10", "VEMaximo;45;10", "Logistica;50;8", "LogLogistica3;3.7;0.15;10",
          "BoxCox;0.5;12.14;1.2", "Johnson;2;0.3;1.5;50;10", "Johnson;0;0.2;1.2;0;100"}) {
        CajasMapa a = c;
        a.valorAjuste = QString::fromLatin1(texto);
        const std::shared_ptr<const FormaProceso> forma = formaDe(a);
        bool valido = true;
        const double costo = mediana(
            [&] { valido = valido && costoExacto(a, 52, 8, forma.get()).efectivo > 0; }, 51);
        const double optimo = mediana(
            [&] { valido = valido && buscaMediaOptima(a, 8, forma.get()).has_value(); }, veces);
        const bool cumple = valido && costo <= metaAjustado;
        ok = ok && cumple;
        out << QStringLiteral("%1: %2 ms, %3 ms%4\n")
                   .arg(QLatin1String(texto))
                   .arg(costo, 0, 'f', 4)
                   .arg(optimo, 0, 'f', 1)
                   .arg(cumple ? "" : "  FUERA DE META");
        out.flush();
    }
    return ok ? 0 : 1;
}
