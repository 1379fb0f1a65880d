// Start-up to the main window shown, the splash's 3000 ms wait left out, against a bare Qt
// widgets program; each is a fresh process, timed from launch to its window exposed and
// the process gone. Run under a display: build/bin/bench_arranque [veces]
#include "comun/plataformadoble.h"
#include "shell/caratula.h"
#include "shell/formulario.h"
#include "shell/plataformaqt.h"
#include "study/lozarform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

int desnuda(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget w;
    w.resize(770, 570);
    w.show();
    return QTest::qWaitForWindowExposed(&w) ? 0 : 1;
}

// What main() does, with the splash closed as soon as it is on screen.
int lozar(int argc, char** argv) {
    QApplication app(argc, argv);
    fijaFuenteDeLaAplicacion();
    PlataformaQt::cargaTraducciones();
    PlataformaDoble doble;
    doble.directorio = QCoreApplication::applicationDirPath();
    Caratula c;
    c.Form_Load();
    LozarForm* f = nullptr;
    QObject::connect(&c, &Caratula::descargada, [&] {
        f = new LozarForm;
        f->show();
    });
    c.show();
    if (!QTest::qWaitForWindowExposed(&c))
        return 1;
    c.close();
    const bool ok = f && QTest::qWaitForWindowExposed(f);
    delete f;
    return ok ? 0 : 1;
}

double mediana(const QString& modo, int veces) {
    std::vector<double> t;
    for (int i = 0; i < veces; ++i) {
        QElapsedTimer r;
        r.start();
        if (QProcess::execute(QCoreApplication::applicationFilePath(), {modo}) != 0)
            return -1;
        t.push_back(r.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], "--desnuda") == 0)
        return desnuda(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--lozar") == 0)
        return lozar(argc, argv);
    QCoreApplication app(argc, argv);
    const int veces = argc > 1 ? QByteArray(argv[1]).toInt() : 21;
    const double a = mediana(QStringLiteral("--desnuda"), veces);
    const double b = mediana(QStringLiteral("--lozar"), veces);
    QTextStream(stdout) << QStringLiteral("ventana Qt desnuda: %1 ms\nLozar (portada + ventana "
                                          "principal): %2 ms\nproporción: %3 (meta <= 1.5)\n")
                               .arg(a, 0, 'f', 1)
                               .arg(b, 0, 'f', 1)
                               .arg(b / a, 0, 'f', 2);
    return a > 0 && b > 0 ? 0 : 1;
}
