// The exact effective cost and the optimal-mean search on it (no detail file) for a normal and a
// skewed process; "Análisis > Escenarios…" from the click to its dialog on screen; and the
// import of a million measurements from CSV text with a header and decimal commas (columns,
// reading, summary); the capability report of those million values, with its intervals,
// Anderson–Darling and the individuals chart; the control chart of 10⁵ values on screen.
// Run: build/bin/bench_analisis
#include "analisis/dialogos.h"
#include "analisis/graficosmediciones.h"
#include "capacidad/capacidad.h"
#include "capacidad/mediciones.h"
#include "comun/estudio.h"
#include "comun/ventanas.h"
#include "costo/exacto.h"
#include "costo/optimo.h"
#include "estudio/forma.h"
#include "estudio/zonas.h"
#include "medicion.h"
#include "muestra.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    EstudioTemporal e;
    LozarForm& f = *e.f;
    f.chkTaguchi->setChecked(true);
    bool ok = true;
    const FormaProceso forma(0.9, 1.6);
    const double exactoNormal =
        mediana([&] { ok = ok && costoExacto(f, 52, 8, nullptr).efectivo > 0; }, 2001);
    const double exactoSesgado =
        mediana([&] { ok = ok && costoExacto(f, 52, 8, &forma).efectivo > 0; }, 201);
    const double normal =
        mediana([&] { ok = ok && buscaMediaOptima(f, 8, nullptr).has_value(); }, 11);
    const double sesgado =
        mediana([&] { ok = ok && buscaMediaOptima(f, 8, &forma).has_value(); }, 11);

    // From the click to the dialog shown, its four scenarios computed.
    f.show();
    const double escenarios = mediana(
        [&] { ok = ok && conDialogo<DlgEscenarios>([&] { f.MAnalisisEscenarios_Click(); }); }, 11);

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
    // The whole report of the million values, as "Análisis > Capacidad…" makes it.
    const std::vector<double> millon = TablaMediciones(texto).columna(1);
    const double informe = mediana(
        [&] {
            ok = ok &&
                 !informeCapacidad(f, nullptr, calculaCapacidad(f, nullptr, &millon)).isEmpty();
        },
        5);
    // The same in subgroups of 5: the within spread pooled over 200 000 subgroups.
    std::vector<int> grupos(millon.size());
    for (std::size_t i = 0; i < grupos.size(); ++i)
        grupos[i] = int(i / 5);
    const double enSubgrupos = mediana(
        [&] {
            ok = ok && !informeCapacidad(f, nullptr, calculaCapacidad(f, nullptr, &millon, &grupos))
                            .isEmpty();
        },
        5);
    // The control chart of 10⁵ values, from the click to the window on screen.
    const std::vector<double> cien(millon.begin(), millon.begin() + 100000);
    const double control = mediana(
        [&] {
            DlgControl d(cien, {}, &f);
            d.show();
            QCoreApplication::processEvents();
            d.grab();
        },
        5);
    // The probability plot of the million, sorted as the window gets them.
    std::vector<double> ordenadas = millon;
    std::sort(ordenadas.begin(), ordenadas.end());
    const double probabilidad = mediana(
        [&] {
            DlgProbabilidad d(ordenadas, limitesDe(f), &f);
            d.show();
            QCoreApplication::processEvents();
            d.grab();
        },
        5);
    // The PDF report of a study with 10⁵ measurements: two pages, every table and chart.
    {
        QString cienMil;
        for (std::size_t i = 0; i < 100000; ++i)
            cienMil += QString::number(millon[i], 'f', 3) + QLatin1Char('\n');
        e.doble.portapapeles = cienMil;
        ok = ok && conDialogo<DlgMediciones>([&] { f.MEdicionPegar->trigger(); },
                                             [](DlgMediciones& d) { d.cmdNormal->click(); });
    }
    const double pdf = mediana([&] { ok = ok && f.informePdf().startsWith("%PDF"); }, 5);
    QTextStream(stdout) << QStringLiteral("informe PDF con 100000 mediciones: %1 ms (meta <= 500 "
                                          "ms)\n")
                               .arg(pdf, 0, 'f', 1);
    QTextStream(stdout) << QStringLiteral("informe de capacidad de %1 mediciones: %2 ms (meta <= "
                                          "300 ms)%5; en subgrupos de 5: %6 ms (meta <= 200 "
                                          "ms)%7\ngráfico de control de 100000 puntos en "
                                          "pantalla: %3 ms (meta <= 300 ms)\ngráfico de "
                                          "probabilidad de %1 mediciones en pantalla: %4 ms\n")
                               .arg(millon.size())
                               .arg(informe, 0, 'f', 1)
                               .arg(control, 0, 'f', 1)
                               .arg(probabilidad, 0, 'f', 1)
                               .arg(contraMeta(informe, 300, ok))
                               .arg(enSubgrupos, 0, 'f', 1)
                               .arg(contraMeta(enSubgrupos, 200, ok));
    QTextStream(stdout) << QStringLiteral("costo efectivo exacto: normal %1 ms (meta <= 0.1 ms), "
                                          "Pearson tipo IV %2 ms (meta <= 2 ms)\nmedia óptima: "
                                          "normal %3 ms, Pearson tipo IV %4 ms (meta <= 20 ms)\n"
                                          "escenarios en pantalla tras el clic: %5 ms (meta <= "
                                          "50 ms)\nimportar %6 mediciones: %7 ms (meta <= 1000 "
                                          "ms)\n")
                               .arg(exactoNormal, 0, 'f', 4)
                               .arg(exactoSesgado, 0, 'f', 3)
                               .arg(normal, 0, 'f', 1)
                               .arg(sesgado, 0, 'f', 1)
                               .arg(escenarios, 0, 'f', 1)
                               .arg(n)
                               .arg(importa, 0, 'f', 1);
    return ok && n == 1'000'000 ? 0 : 1;
}
