// Time of each drawing of the main window at design size: the cost function ("1. Función
// Lozar") and the distribution overlay ("2. Distribución Normal") of a typical study, each
// drawn over a cleared plot. Run: build/bin/bench_dibujo [captura.png] (offscreen is fine).
#include "comun/estudio.h"
#include "comun/plataformadoble.h"
#include "medicion.h"
#include "shell/formulario.h"
#include "shell/picturebox.h"
#include "study/lozarform.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTextStream>
#include <algorithm>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    fijaFuenteDeLaAplicacion();
    PlataformaDoble doble;
    doble.directorio = QCoreApplication::applicationDirPath();
    QTextStream out(stdout);
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
        out << QStringLiteral("Taguchi %1: función Lozar %2 ms, distribución normal %3 ms "
                              "(meta <= 5 ms cada una)\n")
                   .arg(taguchi ? QStringLiteral("sí") : QStringLiteral("no"))
                   .arg(funcion, 0, 'f', 3)
                   .arg(normal, 0, 'f', 3);
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
    return doble.mensajes.isEmpty() ? 0 : 1;
}
