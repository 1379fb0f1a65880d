// A plant's portfolio: 1 000 studies (the four examples, each with its mean moved and a yearly
// volume, one in four skewed) read, costed, sorted and written as CSV and as the table, from a
// folder of the disk cache. Exits 1 when the median misses its target.
// Run: build/bin/bench_cartera [runs, 5 by default]
#include "archivos/archivoestudio.h"
#include "archivos/archivos.h"
#include "cartera/cartera.h"
#include "medicion.h"
#include "tablas/tablanormal.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int veces = argc > 1 ? std::max(1, QString(argv[1]).toInt()) : 5;
    const QString ejemplos = QCoreApplication::applicationDirPath() + QStringLiteral("/ejemplos");
    const QStringList nombres = QDir(ejemplos).entryList({QStringLiteral("*.lzr")}, QDir::Files);
    QTemporaryDir dir;
    constexpr int kEstudios = 1000, kPlantas = 10;
    for (int p = 0; p < kPlantas; ++p)
        QDir(dir.path()).mkpath(QStringLiteral("planta%1").arg(p));
    for (int i = 0; i < kEstudios; ++i) {
        EstudioEnArchivo e = leeEstudioEntero(
            leeArchivoEntero(ejemplos + QLatin1Char('/') + nombres[i % nombres.size()], 1 << 20));
        // A mean moved by up to a standard deviation either way, so that costs differ.
        const double sigma = e.valores[17].toDouble();
        const double media = e.valores[16].toDouble() + sigma * ((i % 21) - 10) / 10.0;
        e.valores[16] = QString::number(media, 'g', 15);
        e.valores[kCampoUnidades] = QString::number(1000 * (1 + i % 50));
        guardaArchivoSeguro(
            dir.filePath(QStringLiteral("planta%1/estudio%2.lzr").arg(i % kPlantas).arg(i)),
            escribeEstudio(e.valores), QString(), false);
    }
    TablaNormal tabla(QCoreApplication::applicationDirPath());
    bool valido = true;
    const double ms = mediana(
        [&] {
            const QList<CostoDeEstudio> c = leeCartera(dir.path(), tabla, 20000);
            valido = valido && c.size() == kEstudios && !csvDeCartera(c).isEmpty() &&
                     filasDeCartera(c).size() == kEstudios + 2;
            for (const CostoDeEstudio& e : c)
                valido = valido && e.error.isEmpty();
        },
        veces);
    const double meta = 2000;
    bool ok = valido;
    QTextStream out(stdout);
    out << QStringLiteral("cartera de %1 estudios, CSV y tabla: %2 ms (meta <= %3)%4%5\n")
               .arg(kEstudios)
               .arg(ms, 0, 'f', 0)
               .arg(meta)
               .arg(contraMeta(ms, meta, ok))
               .arg(valido ? QString() : QStringLiteral(" — RESULTADO INVÁLIDO"));
    return ok ? 0 : 1;
}
