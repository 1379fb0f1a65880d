#pragma once

#include <QApplication>
#include <functional>

class Plataforma;
class QWidget;

// The whole run of the program, from the splash to the end of its event loop, on the platform
// layer `p` (installed for the run): the Qt one in main(), a recording double in tests. The main
// window comes from `creaPrincipal`, built while the splash shows. Returns the process's exit
// code: 0, or 1 when the cover picture cannot be read.
int ejecutaLozar(Plataforma& p, const std::function<QWidget*()>& creaPrincipal);

// The application of main(): a failure that no handler caught (a bug, or a library throwing
// where nobody expected it) is reported like any other error, and the study stays on screen
// instead of the program ending with everything typed lost.
class AplicacionLozar : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receptor, QEvent* evento) override;
};
