// The optimal-mean search (2001 means scanned, each local minimum refined; no detail file) for a
// normal and a skewed process, and the import of a million measurements from CSV text with a
// header and decimal commas (columns, reading, summary). Run: build/bin/bench_analisis
#include "comun/estudio.h"
#include "medicion.h"
#include "stats/muestra.h"
#include "study/forma.h"
#include "study/mediciones.h"
#include "study/optimo.h"

#include <QApplication>
#include <QLineEdit>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    EstudioTemporal e;
    LozarForm& f = *e.f;
    f.chkTaguchi->setChecked(true);
    TablaNormal tabla(e.dir.path());
    bool ok = true;
    const double normal =
        mediana([&] { ok = ok && buscaMediaOptima(f, 8, nullptr).has_value(); }, 11);
    const FormaProceso forma(0.9, 1.6);
    const double sesgado =
        mediana([&] { ok = ok && buscaMediaOptima(f, 8, &forma).has_value(); }, 11);

    QString texto = QStringLiteral("lote;diámetro\n");
    texto.reserve(20'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        texto += QStringLiteral("%1;%2\n")
                     .arg(i)
                     .arg(20 + (i % 997) * 0.001, 0, 'f', 3)
                     .replace(QLatin1Char('.'), QLatin1Char(','));
    std::size_t n = 0;
    const double importa = mediana(
        [&] {
            const TablaMediciones t(texto);
            n = resumeMuestra(t.columna(1)).n;
        },
        5);
    QTextStream(stdout) << QStringLiteral("media óptima: normal %1 ms, Pearson tipo IV %2 ms "
                                          "(meta <= 100 ms normal)\nimportar %3 mediciones: "
                                          "%4 ms (meta <= 1000 ms)\n")
                               .arg(normal, 0, 'f', 1)
                               .arg(sesgado, 0, 'f', 1)
                               .arg(n)
                               .arg(importa, 0, 'f', 1);
    return ok && n == 1'000'000 ? 0 : 1;
}
