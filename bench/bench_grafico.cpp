// The chart's whole computation (126 effective costs, each rewriting its detail file)
// against writing those 126 detail files alone, in one run. With an argument, also saves a
// picture of the chart window there. Run: build/bin/bench_grafico [captura.png]
#include "comun/plataformadoble.h"
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

namespace {
template <typename F> double mediana(F&& f) {
    std::vector<double> t;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer r;
        r.start();
        f();
        t.push_back(r.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    fijaFuenteDeLaAplicacion();
    PlataformaDoble doble;
    QTemporaryDir dir;
    doble.directorio = dir.path();
    QFile::copy(QCoreApplication::applicationDirPath() + "/Kvacnt.tbq", dir.filePath("Kvacnt.tbq"));
    LozarForm f;
    const std::pair<QLineEdit*, const char*> valores[] = {
        {f.XDesI, "10"}, {f.XRetI, "20"},
        {f.XObj, "50"},  {f.XRetS, "80"},
        {f.XDesS, "90"}, {f.YDesI, "30"},
        {f.YDesS, "30"}, {f.YRetI, "10"},
        {f.YRetS, "10"}, {f.YNomI, "5"},
        {f.YNomS, "5"},  {f.Media, "52"},
        {f.StdDev, "8"}, {f.txtTitulo, "Diámetro del eje: costo efectivo por media y desviación"}};
    for (const auto& [caja, texto] : valores)
        caja->setText(QString::fromUtf8(texto));
    f.chkTaguchi->setChecked(true);

    std::pair<double, double> extremos{0, 1};
    bool calculado = false;
    const double grafico = mediana([&] {
        const auto r = f.calculaTablaGrafico();
        calculado = r.has_value();
        if (r)
            extremos = *r;
    });
    const double archivos = mediana([&] {
        for (int i = 0; i < 126; ++i) {
            DetalleCalculo d(f.rutaDetalle());
            d.encabezado(f, QDateTime::currentDateTime());
            for (int j = 0; j < 101; ++j)
                d.intervalo(-0.5 + j, 0.5 + j, 0.0039878, 12.5, 0.0498, 3.25 + j);
            d.totales(0.9973, 12.75, 1.02);
            d.cierra();
        }
    });
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
