// Time of one limit change of each calculator at design size: clear, curve, limit lines,
// shading, table lookups and labels. Run: build/bin/bench_calculadora [carpeta] (offscreen is
// fine); with a folder, each window is shown at a few settings and saved there as PNG.
#include "calculadoras/probnorm.h"
#include "calculadoras/probpearson.h"
#include "comun/plataformadoble.h"
#include "medicion.h"
#include "plataforma/formulario.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

// Alternates the lower limit between −3.0 and −2.9, one change per sample.
double medianaDeCambio(CalculadoraBase& c) {
    int i = 0;
    return mediana([&] { c.ZInf->setValue(++i % 2 ? -30 : -29); });
}

void guarda(QWidget& w, const QString& carpeta, const QString& nombre) {
    QApplication::processEvents();
    w.grab().save(QDir(carpeta).filePath(nombre));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    fijaFuenteDeLaAplicacion();
    PlataformaDoble doble;
    doble.directorio = QCoreApplication::applicationDirPath();
    QTextStream out(stdout);
    TablaNormal tabla(doble.directorio);

    ProbNorm normal(tabla);
    ProbPearson pearson(tabla);
    normal.show();
    pearson.show();
    bool ok = true;
    const double cambioNormal = medianaDeCambio(normal), cambioPearson = medianaDeCambio(pearson);
    out << QStringLiteral("ProbNorm: %1 ms%3; ProbPearson: %2 ms%4 por cambio de límite "
                          "(mediana, meta <= 4 ms)\n")
               .arg(cambioNormal, 0, 'f', 3)
               .arg(cambioPearson, 0, 'f', 3)
               .arg(contraMeta(cambioNormal, 4, ok), contraMeta(cambioPearson, 4, ok));
    // With the exact row of a type IV curve, and with a kurtosis change, which fits it anew.
    pearson.sbSK->setValue(9);
    pearson.sbKU->setValue(16);
    const double limite = medianaDeCambio(pearson);
    int i = 0;
    const double forma = mediana([&] { pearson.sbKU->setValue(++i % 2 ? 15 : 16); });
    out << QStringLiteral("ProbPearson tipo IV con la fila exacta: %1 ms%3 por cambio de límite, "
                          "%2 ms%4 por cambio de curtosis (mediana, meta <= 4 ms)\n")
               .arg(limite, 0, 'f', 3)
               .arg(forma, 0, 'f', 3)
               .arg(contraMeta(limite, 4, ok), contraMeta(forma, 4, ok));

    if (argc > 1) {
        const QString carpeta = QString::fromLocal8Bit(argv[1]);
        normal.ZInf->setValue(-30);
        guarda(normal, carpeta, QStringLiteral("probnorm.png"));
        normal.ZSup->setValue(10);
        normal.ZInf->setValue(-40);
        guarda(normal, carpeta, QStringLiteral("probnorm-4-1.png"));
        pearson.ZInf->setValue(-30);
        guarda(pearson, carpeta, QStringLiteral("probpearson.png"));
        pearson.sbSK->setValue(9);
        pearson.sbKU->setValue(16);
        guarda(pearson, carpeta, QStringLiteral("probpearson-sesgo.png"));
        pearson.sbSK->setValue(-4);
        pearson.sbKU->setValue(-8);
        guarda(pearson, carpeta, QStringLiteral("probpearson-sesgo-neg.png"));
    }
    return ok && doble.mensajes.isEmpty() ? 0 : 1;
}
