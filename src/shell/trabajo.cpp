#include "shell/trabajo.h"

#include "shell/plataforma.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <exception>
#include <memory>
#include <optional>
#include <thread>

void trabajaConProgreso(QWidget* padre, const QString& texto,
                        const std::function<void(Progreso&)>& trabajo) {
    Progreso progreso;
    std::atomic<bool> terminado{false};
    std::optional<ErrorLozar> error;
    std::exception_ptr otro;
    std::thread hilo([&] {
        try {
            trabajo(progreso);
        } catch (const ErrorLozar& e) {
            error = e;
        } catch (...) {
            otro = std::current_exception();
        }
        terminado.store(true);
    });

    QEventLoop bucle;
    std::unique_ptr<QProgressDialog> dialogo;
    QTimer reloj;
    reloj.setInterval(15);
    QObject::connect(&reloj, &QTimer::timeout, &bucle, [&] {
        if (terminado.load())
            bucle.quit();
        else if (dialogo)
            dialogo->setValue(progreso.milesimas());
    });
    reloj.start();
    {
        PunteroOcupado ocupado;
        QTimer espera;
        espera.setSingleShot(true);
        QObject::connect(&espera, &QTimer::timeout, &bucle, &QEventLoop::quit);
        espera.start(200);
        bucle.exec(QEventLoop::ExcludeUserInputEvents);
    }
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
        dialogo->show();
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
