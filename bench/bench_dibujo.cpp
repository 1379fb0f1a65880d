// Time of each drawing of the main window at design size: the cost function ("1. Función
// Lozar") and the distribution overlay ("2. Distribución Normal") of a typical study, each
// drawn over a cleared plot; then the overlay of the first example after a typo puts its bell
// far from the plot, or spreads it over the whole of it. Run: build/bin/bench_dibujo
// [captura.png] (offscreen is fine).
#include "comun/estudio.h"
#include "comun/plataformadoble.h"
#include "medicion.h"
#include "plataforma/formulario.h"
#include "plataforma/picturebox.h"
#include "principal/lozarform.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTextStream>
#include <algorithm>
#include <utility>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    fijaFuenteDeLaAplicacion();
    PlataformaDoble doble;
    doble.directorio = QCoreApplication::applicationDirPath();
    QTextStream out(stdout);
    bool ok = true;
    for (bool taguchi : {true, false}) {
        LozarForm f;
        estudioTipico(f, taguchi);
        rellenaCajas(f, {{"yb", "40"}});
        f.show();
        const double funcion = mediana([&] {
            f.cmdCLS_Click();
            f.cmdDrawCostFunction_Click();
        });
        const double normal = mediana([&] {
            f.cmdCLS_Click();
            f.cmdNormal_Click();
        });
        // "2." draws the function too, on a cleared picture.
        out << QStringLiteral("Taguchi %1: función Lozar %2 ms%4, distribución normal con la "
                              "función %3 ms%5 (meta <= 5 ms cada una)\n")
                   .arg(taguchi ? QStringLiteral("sí") : QStringLiteral("no"))
                   .arg(funcion, 0, 'f', 3)
                   .arg(normal, 0, 'f', 3)
                   .arg(contraMeta(funcion, 5, ok), contraMeta(normal, 5, ok));
        if (argc > 1) {
            f.cmdCLS_Click();
            f.cmdDrawCostFunction_Click();
            f.cmdNormal_Click();
            QString ruta = QString::fromLocal8Bit(argv[1]);
            if (!taguchi)
                ruta.replace(QStringLiteral(".png"), QStringLiteral("-sin-taguchi.png"));
            f.grab().save(ruta);
        }
    }
    // The typos that froze the window for seconds, or for ever.
    LozarForm f;
    f.show();
    const int avisos = int(doble.mensajes.size());
    for (const auto& [media, desviacion] : {std::pair{"20.02", "0.06"},
                                            {"2002", "0.06"},
                                            {"200200", "0.06"},
                                            {"1e300", "0.06"},
                                            {"20", "600"}}) {
        rellenaCajas(f, {{"xa", "19.6"},
                         {"xb", "20.4"},
                         {"XDesI", "19.70"},
                         {"XRetI", "19.85"},
                         {"XObj", "20.00"},
                         {"XRetS", "20.15"},
                         {"XDesS", "20.30"},
                         {"Media", media},
                         {"StdDev", desviacion}});
        const double t = mediana(
            [&] {
                f.cmdCLS_Click();
                f.cmdNormal_Click();
            },
            21);
        out << QStringLiteral("ejemplo 1 con media %1 y desviación %2: distribución %3 ms, %4 "
                              "trazos en %5 columnas (meta <= 16 ms, un cuadro)%6\n")
                   .arg(QLatin1String(media), QLatin1String(desviacion))
                   .arg(t, 0, 'f', 3)
                   .arg(f.Pic1->trazos())
                   .arg(f.Pic1->width())
                   .arg(contraMeta(t, 16, ok));
    }
    // Only the notices of the bells wholly outside the plot.
    return ok && doble.mensajes.size() == avisos + 3 * 21 ? 0 : 1;
}
