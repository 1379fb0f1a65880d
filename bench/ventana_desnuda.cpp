// The yardstick of bench_arranque: a program that links Qt Widgets and nothing else and shows one
// bare window of Lozar's size; it prints "ventana" when the window is first exposed, and ends.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>

namespace {
class AlExponerse : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (!visto_ && e->type() == QEvent::Expose && qobject_cast<QWindow*>(o)) {
            visto_ = true;
            std::fputs("ventana\n", stdout);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool visto_ = false;
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    AlExponerse expuesta;
    app.installEventFilter(&expuesta);
    QWidget w;
    w.resize(770, 570);
    w.show();
    return app.exec();
}
