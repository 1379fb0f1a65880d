#include "plataforma/trabajo.h"

#include "plataforma/plataforma.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <exception>
#include <memory>
#include <optional>
#include <thread>

namespace {
int enCurso = 0; // the window's thread's own
}

bool hayTrabajoEnCurso() {
    return enCurso > 0;
}

void trabajaConProgreso(QWidget* padre, const QString& texto,
                        const std::function<void(Progreso&)>& trabajo) {
    ++enCurso;
    const std::unique_ptr<int, void (*)(int*)> fin(&enCurso, [](int* n) { --*n; });
    Progreso progreso;
    std::atomic<bool> terminado{false};
    std::optional<ErrorLozar> error;
    std::exception_ptr otro;
    QEventLoop bucle;
    std::thread hilo([&] {
        try {
            trabajo(progreso);
        } catch (const ErrorLozar& e) {
            error = e;
        } catch (...) {
            otro = std::current_exception();
        }
        terminado.store(true);
        // The waiting loop hears at once, not at its next look: a short job costs no frame.
        QMetaObject::invokeMethod(&bucle, &QEventLoop::quit, Qt::QueuedConnection);
    });

    {
        PunteroOcupado ocupado;
        QTimer espera;
        espera.setSingleShot(true);
        QObject::connect(&espera, &QTimer::timeout, &bucle, &QEventLoop::quit);
        espera.start(200);
        bucle.exec(QEventLoop::ExcludeUserInputEvents);
    }
    std::unique_ptr<QProgressDialog> dialogo;
    if (!terminado.load()) {
        dialogo =
            std::make_unique<QProgressDialog>(texto, QStringLiteral("Cancelar"), 0, 1000, padre);
        dialogo->setObjectName(QStringLiteral("Progreso"));
        dialogo->setWindowTitle(kTituloAplicacion);
        dialogo->setWindowModality(Qt::WindowModal);
        dialogo->setMinimumDuration(0);
        dialogo->setAutoClose(false);
        dialogo->setAutoReset(false);
        dialogo->setValue(progreso.milesimas());
        QObject::connect(dialogo.get(), &QProgressDialog::canceled, &bucle, [&] {
            progreso.cancela();
            dialogo->setLabelText(QStringLiteral("Cancelando…"));
        });
        // The bar moves as the work says how far it got; the end comes by itself.
        QTimer barra;
        QObject::connect(&barra, &QTimer::timeout, dialogo.get(),
                         [&] { dialogo->setValue(progreso.milesimas()); });
        barra.start(50);
        dialogo->show();
        // The quit that ended the first wait may have come with the work's end.
        if (!terminado.load())
            bucle.exec();
    }
    hilo.join();
    dialogo.reset();
    if (otro)
        std::rethrow_exception(otro);
    if (error)
        throw *error;
    if (progreso.cancelado()) // cancelled just as the work ended: the user's word holds
        throw ErrorLozar(kErrCancelado);
}
