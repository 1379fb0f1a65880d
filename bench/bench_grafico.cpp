// What a study's window does with every shape of process: "4. Gráfico" from the click to its
// window painted with the optimal mean of each spread (target 100 ms), "Análisis > Escenarios…"
// from the click to its dialog with four optimum searches done (50 ms) and "Informe PDF…" from
// the click to the file written (500 ms), for a normal process and for the Pearson families at
// their worst (the J and U ends of type I, near normal, types IV and VI). With an argument, also
// saves a picture of the normal chart's window there.
// Run: build/bin/bench_grafico [captura.png]   (QT_QPA_PLATFORM=offscreen without a display;
// exits 1 when a target is missed)
#include "analisis/dialogos.h"
#include "comun/estudio.h"
#include "comun/ventanas.h"
#include "graficos/graficocostos.h"
#include "medicion.h"
#include "plataforma/formulario.h"

#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QLineEdit>
#include <QScatterSeries>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    fijaFuenteDeLaAplicacion();
    EstudioTemporal e;
    LozarForm& f = *e.f;
    f.show();
    f.chkTaguchi->setChecked(true);
    rellenaCajas(f, {{"txtTitulo", "Diámetro del eje: costo efectivo por media y desviación"}});
    QTextStream out(stdout);
    bool ok = true;
    const struct {
        const char *nombre, *sesgo, *curtosis;
    } formas[] = {{"normal", "", ""},
                  {"Pearson IV", "0.9", "1.6"},
                  {"Pearson I en J", "1.5", "2"},
                  {"Pearson I en U", "-0.486", "-1.608"},
                  {"Pearson I acotada", "1", "-0.5"},
                  {"Pearson VI", "0.5", "0.5"},
                  {"casi normal", "0.01", "0.01"}};
    for (const auto& forma : formas) {
        rellenaCajas(f, {{"Sesgo", forma.sesgo}, {"Curtosis", forma.curtosis}});
        int optimos = 0;
        const double ms = mediana(
            [&] {
                ok = conDialogo<Graf1>([&] { f.cmdGraf_Click(); },
                                       [&](Graf1& g) {
                                           g.grab();
                                           for (auto* s : g.grafico()->series())
                                               if (auto* m = qobject_cast<QScatterSeries*>(s))
                                                   optimos = int(m->count());
                                           if (argc > 1 && !*forma.sesgo)
                                               g.grab().save(QString::fromLocal8Bit(argv[1]));
                                       }) &&
                     ok;
            },
            5);
        const bool cumple = ms <= 100 && optimos == 6;
        ok = ok && cumple;
        const double escenarios = mediana(
            [&] { ok = conDialogo<DlgEscenarios>([&] { f.MAnalisisEscenarios_Click(); }) && ok; },
            5);
        const QString pdf = e.dir.filePath(QStringLiteral("informe.pdf"));
        const double informe = mediana(
            [&] {
                e.doble.rutas << pdf;
                f.MArchivoInforme_Click();
            },
            3);
        ok = ok && QFile::exists(pdf);
        out << QStringLiteral("%1: «4. Gráfico» pintado con sus %2 medias óptimas %3 ms (meta <= "
                              "100 ms)%4; escenarios %5 ms (meta <= 50 ms)%6; informe PDF %7 ms "
                              "(meta <= 500 ms)%8\n")
                   .arg(QString::fromUtf8(forma.nombre))
                   .arg(optimos)
                   .arg(ms, 0, 'f', 1)
                   .arg(cumple ? QString() : QStringLiteral(" — NO CUMPLE"))
                   .arg(escenarios, 0, 'f', 1)
                   .arg(contraMeta(escenarios, 50, ok))
                   .arg(informe, 0, 'f', 0)
                   .arg(contraMeta(informe, 500, ok));
        out.flush();
    }
    return ok && e.doble.mensajes.isEmpty() ? 0 : 1;
}
