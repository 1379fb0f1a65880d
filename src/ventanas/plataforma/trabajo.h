#pragma once

#include "numeros/progreso.h"

#include <QString>
#include <functional>

class QWidget;

// Runs `trabajo` on a thread of its own, so that the windows keep repainting while it lasts.
// Until 200 ms have passed the user's input waits, under the busy pointer; then a window-modal
// dialog with `texto`, a progress bar and "Cancelar" shows. Returns when the work has ended; an
// ErrorLozar it threw is thrown again here, and "Cancelar" makes it error 32755 (kErrCancelado).
// The work must touch no widget, and call Progreso::avanza often.
void trabajaConProgreso(QWidget* padre, const QString& texto,
                        const std::function<void(Progreso&)>& trabajo);

// Whether the window's thread is waiting in trabajaConProgreso: what it shows is not yet whole.
bool hayTrabajoEnCurso();
