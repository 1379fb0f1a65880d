// How long the window stops answering with 10⁷ measurements: a study saved with them is opened,
// then "Capacidad…", "Informe PDF…" and both charts of the measurements run. A timer that should
// tick every 10 ms measures the longest the event loop went without turning (the freeze), and
// the whole time to the result.
// Run: build/bin/bench_congela [mediciones]
#include "analisis/dialogos.h"
#include "analisis/graficosmediciones.h"
#include "archivos/archivoestudio.h"
#include "comun/estudio.h"
#include "comun/ventanas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <cmath>

namespace {
struct Medida {
    double total = 0, congelado = 0;
};

// The longest stretch without a turn of the event loop while `accion` runs, and its length.
Medida mide(const std::function<void()>& accion) {
    QElapsedTimer reloj, ultimo;
    double peor = 0;
    QTimer t;
    t.setInterval(10);
    QObject::connect(&t, &QTimer::timeout, [&] {
        peor = std::max(peor, ultimo.nsecsElapsed() / 1e6);
        ultimo.restart();
    });
    t.start();
    reloj.start();
    ultimo.start();
    accion();
    peor = std::max(peor, ultimo.nsecsElapsed() / 1e6);
    return {reloj.nsecsElapsed() / 1e6, peor};
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::size_t n = argc > 1 ? std::stoul(argv[1]) : 10'000'000;
    EstudioTemporal e(false);
    LozarForm& f = *e.f;
    f.show();
    MedicionesEstudio m;
    m.origen = QStringLiteral("bench");
    m.columna = QStringLiteral("x");
    for (std::size_t i = 0; i < n; ++i)
        m.valores.push_back(20.02 + 0.06 * std::sin(double(i) * 1.7) * 1.4);
    QStringList valores(kCamposTodos);
    for (int k = 0; k < kCamposEstudio; ++k)
        valores[k] = QStringLiteral("0");
    const std::pair<int, const char*> cajas[] = {{11, "19.7"},  {12, "19.85"}, {13, "20"},
                                                 {14, "20.15"}, {15, "20.3"},  {16, "20.02"},
                                                 {17, "0.06"},  {10, "21"},    {2, "100"}};
    for (const auto& [k, v] : cajas)
        valores[k] = QString::fromLatin1(v);
    const QString ruta = e.dir.filePath("grande.lzr");
    escribeArchivo(ruta, escribeEstudio(valores, &m));
    bool ok = true;
    const Medida abrir = mide([&] { e.abre(ruta); });
    ok = ok && f.mediciones().size() == n;
    const Medida capacidad =
        mide([&] { ok = conDialogo<DlgCapacidad>([&] { f.MAnalisisCapacidad_Click(); }) && ok; });
    const Medida control =
        mide([&] { ok = conDialogo<DlgControl>([&] { f.MAnalisisControl_Click(); }) && ok; });
    const Medida probabilidad = mide(
        [&] { ok = conDialogo<DlgProbabilidad>([&] { f.MAnalisisProbabilidad_Click(); }) && ok; });
    const QString pdf = e.dir.filePath("informe.pdf");
    e.doble.rutas << pdf;
    const Medida informe = mide([&] { f.MArchivoInforme_Click(); });
    ok = ok && QFile::exists(pdf) && e.doble.mensajes.isEmpty();
    QTextStream out(stdout);
    for (const auto& [que, m] : {std::pair<const char*, Medida>{"abrir el estudio", abrir},
                                 {"Capacidad…", capacidad},
                                 {"Gráfico de control…", control},
                                 {"Gráfico de probabilidad…", probabilidad},
                                 {"Informe PDF…", informe}})
        out << QStringLiteral("%1 con %2 mediciones: %3 ms en total, congelada %4 ms como mucho "
                              "(meta <= 200 ms)\n")
                   .arg(QString::fromUtf8(que))
                   .arg(n)
                   .arg(m.total, 0, 'f', 0)
                   .arg(m.congelado, 0, 'f', 0);
    if (!ok)
        out << "FALLÓ: " << e.doble.ultimoTexto() << '\n';
    return ok ? 0 : 1;
}
