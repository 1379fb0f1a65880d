// What measurement error costs, in the usual study with the Taguchi loss, mean 55, σ 15, a gauge of
// σm 5 and an escape cost of 200: one cost at the study's limits and the search for the optimal
// acceptance limits, for a normal process and a Pearson IV one. Exits 1 when a median misses its
// target.
// Run: build/bin/bench_medicion [runs of each search, 11 by default]
#include "comun/cajasmapa.h"
#include "costo/medicion.h"
#include "estudio/forma.h"
#include "medicion.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int veces = argc > 1 ? std::max(1, QString(argv[1]).toInt()) : 11;
    const CajasMapa c = CajasMapa::tipico(1);
    const Aceptacion a = aceptacionDeLimites(c);
    const double metaCosto = 2, metaOptimo = 500;
    const FormaProceso pearson(0.9, 1.6);
    bool ok = true;
    QTextStream out(stdout);
    out << QStringLiteral("forma: costo con medición ms (meta <= %1), límites óptimos ms (meta <= "
                          "%2)\n")
               .arg(metaCosto)
               .arg(metaOptimo);
    for (const FormaProceso* forma : {static_cast<const FormaProceso*>(nullptr), &pearson}) {
        bool valido = true;
        const double costo = mediana(
            [&] { valido = valido && costoConMedicion(c, 55, 15, forma, 5, 200, a).efectivo > 0; },
            201);
        const double optimo = mediana(
            [&] { valido = valido && aceptacionOptima(c, 55, 15, forma, 5, 200).has_value(); },
            veces);
        QString marca = contraMeta(costo, metaCosto, ok);
        if (marca.isEmpty())
            marca = contraMeta(optimo, metaOptimo, ok);
        if (!valido) {
            ok = false;
            marca = QStringLiteral(" — NO CUMPLE");
        }
        out << QStringLiteral("%1: %2 ms, %3 ms%4\n")
                   .arg(forma ? forma->nombre() : QStringLiteral("normal"))
                   .arg(costo, 0, 'f', 3)
                   .arg(optimo, 0, 'f', 1)
                   .arg(marca);
        out.flush();
    }
    return ok ? 0 : 1;
}
