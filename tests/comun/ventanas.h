#pragma once

#include "plataforma/trabajo.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <type_traits>

// The shown top-level window of type T, named `nombre` if one is given.
template <typename T = QWidget> T* visible(const QString& nombre = QString()) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* v = qobject_cast<T*>(w);
            v && v->isVisible() && (nombre.isEmpty() || v->objectName() == nombre))
            return v;
    return nullptr;
}

// Runs `accion`, which opens one of our modal dialogs, lets `responde` work it and closes it if
// still open; whether the dialog showed. The dialog is looked for until it shows, however long
// the work before it takes; the timer dies with this call, so a dialog that never showed leaves
// nothing behind. A progress dialog on the way is not the dialog looked for.
template <typename Dialogo>
bool conDialogo(const std::function<void()>& accion,
                const std::function<void(Dialogo&)>& responde = {}) {
    bool visto = false;
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, [&] {
        // What shows is looked at whole: not while work it waits for goes on.
        QWidget* w = QApplication::activeModalWidget();
        if ((qobject_cast<QProgressDialog*>(w) || hayTrabajoEnCurso()) &&
            !std::is_same_v<Dialogo, QProgressDialog>)
            return;
        if (auto* d = qobject_cast<Dialogo*>(w)) {
            visto = true;
            t.stop();
            if (responde)
                responde(*d);
            if (d->isVisible())
                d->reject();
        }
    });
    t.start(5);
    accion();
    return visto;
}
