// Start-up to the main window, the splash's wait left out, against a bare program that links Qt
// Widgets alone (ventana_desnuda), in the same run. Each start is a fresh process: the time runs
// from its launch to its first window on screen (the bare window, or Lozar's splash), plus, for
// Lozar, the time from the splash closing to the main window on screen. The splash stays up for 300
// ms, standing for its 3000 ms. Run under a display (Xvfb serves): build/bin/bench_arranque [veces]
#include "comun/plataformadoble.h"
#include "plataforma/arranque.h"
#include "plataforma/caratula.h"
#include "plataforma/plataformaqt.h"
#include "principal/lozarform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Calls `f` once, when a window of type T is first exposed.
template <typename T> class AlExponerse : public QObject {
public:
    explicit AlExponerse(std::function<void(T*)> f) : f_(std::move(f)) {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (!hecho_ && e->type() == QEvent::Expose) {
            auto* ventana = qobject_cast<QWindow*>(o);
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* t = qobject_cast<T*>(w); t && t->windowHandle() == ventana) {
                    hecho_ = true;
                    QTimer::singleShot(0, this, [this, t] { f_(t); });
                }
        }
        return false;
    }

private:
    std::function<void(T*)> f_;
    bool hecho_ = false;
};

void marca(const char* texto) {
    std::fputs(texto, stdout);
    std::fflush(stdout);
}

// main() but for the platform double, which answers no dialog here.
int lozar(int argc, char** argv) {
    QApplication app(argc, argv);
    PlataformaQt::cargaTraducciones();
    PlataformaDoble doble;
    doble.directorio = QCoreApplication::applicationDirPath();
    QElapsedTimer cierre;
    AlExponerse<Caratula> portada([&](Caratula* c) {
        marca("portada\n");
        QTimer::singleShot(300, c, [&cierre, c] {
            cierre.start();
            c->close();
        });
    });
    AlExponerse<LozarForm> principal([&](LozarForm* f) {
        std::printf("%.3f\n", cierre.nsecsElapsed() / 1e6);
        std::fflush(stdout);
        f->close();
    });
    return ejecutaLozar(doble, [] { return new LozarForm; });
}

// Milliseconds to the first window of one start, plus what the process reports after it.
double unaVez(const QString& modo) {
    // Each start finds the machine and the display server at rest, as a user's start does,
    // rather than still tearing down the previous program's windows.
    QThread::msleep(150);
    QProcess p;
    QElapsedTimer r;
    r.start();
    if (modo == QStringLiteral("--desnuda"))
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/ventana_desnuda"));
    else
        p.start(QCoreApplication::applicationFilePath(), {modo});
    if (!p.waitForReadyRead(10000))
        return -1;
    double ms = r.nsecsElapsed() / 1e6;
    p.readLine();
    if (modo == QStringLiteral("--lozar")) {
        if (!p.canReadLine() && !p.waitForReadyRead(10000))
            return -1;
        const double b = p.readLine().trimmed().toDouble();
        fprintf(stderr, "A %.1f B %.1f\n", ms, b);
        ms += b;
    }
    p.waitForFinished(10000);
    return ms;
}

double medianaDe(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], "--lozar") == 0)
        return lozar(argc, argv);
    QCoreApplication app(argc, argv);
    const int veces = argc > 1 ? QByteArray(argv[1]).toInt() : 21;
    // Alternated, so that a change in the machine's load touches both alike.
    std::vector<double> as, bs;
    for (int i = 0; i < veces; ++i) {
        as.push_back(unaVez(QStringLiteral("--desnuda")));
        bs.push_back(unaVez(QStringLiteral("--lozar")));
    }
    const double a = medianaDe(as), b = medianaDe(bs);
    QTextStream(stdout) << QStringLiteral("ventana Qt desnuda: %1 ms\nLozar (portada, y de su "
                                          "cierre a la ventana principal): %2 ms\n"
                                          "proporción: %3 (meta <= 1.1)%4\n")
                               .arg(a, 0, 'f', 1)
                               .arg(b, 0, 'f', 1)
                               .arg(b / a, 0, 'f', 2)
                               .arg(b / a <= 1.1 ? QString() : QStringLiteral(" — NO CUMPLE"));
    return a > 0 && b > 0 && b / a <= 1.1 ? 0 : 1;
}
