// The chart's whole computation (126 effective costs, each rewriting its detail file)
// against writing those 126 detail files alone, in one run. With an argument, also saves a
// picture of the chart window there. Run: build/bin/bench_grafico [captura.png]
#include "comun/estudio.h"
#include "comun/plataformadoble.h"
#include "medicion.h"
#include "shell/formulario.h"
#include "shell/module1.h"
#include "study/detalle.h"
#include "study/graf1.h"
#include "study/lozarform.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <algorithm>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    fijaFuenteDeLaAplicacion();
    EstudioTemporal e;
    LozarForm& f = *e.f;
    f.chkTaguchi->setChecked(true);
    rellenaCajas(f, {{"txtTitulo", "Diámetro del eje: costo efectivo por media y desviación"}});

    std::pair<double, double> extremos{0, 1};
    bool calculado = false;
    const double grafico = mediana(
        [&] {
            const auto r = f.calculaTablaGrafico();
            calculado = r.has_value();
            if (r)
                extremos = *r;
        },
        15);
    const double archivos = mediana(
        [&] {
            for (int i = 0; i < 126; ++i) {
                DetalleCalculo d(f.rutaDetalle());
                d.encabezado(f, QDateTime::currentDateTime());
                for (int j = 0; j < 101; ++j)
                    d.intervalo(-0.5 + j, 0.5 + j, 0.0039878, 12.5, 0.0498, 3.25 + j);
                d.totales(0.9973, 12.75, 1.02);
                d.cierra();
            }
        },
        15);
    QTextStream(stdout) << QStringLiteral("gráfico completo: %1 ms; solo sus 126 archivos de "
                                          "detalle: %2 ms; proporción %3 (meta <= 1.5)\n")
                               .arg(grafico, 0, 'f', 1)
                               .arg(archivos, 0, 'f', 1)
                               .arg(grafico / archivos, 0, 'f', 2);
    if (argc > 1 && calculado) {
        Graf1 g;
        g.TituloGrafico = f.txtTitulo->text();
        g.EjeMinimo = extremos.first;
        g.EjeMaximo = ejeMaximoDe(extremos.second);
        g.show();
        (void)QTest::qWaitForWindowExposed(&g);
        QTest::qWait(200);
        g.grab().save(QString::fromLocal8Bit(argv[1]));
    }
    return 0;
}
