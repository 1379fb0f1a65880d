#pragma once

#include "numeros/errores.h"

#include <atomic>

// What a long piece of work, running away from the window, tells the window that waits for it
// (how far it got) and hears from it (that the user cancelled). Safe between two threads.
class Progreso {
public:
    // The work's next stretch runs over [desde, hasta] of the whole, as fractions.
    void tramo(double desde, double hasta) {
        desde_ = desde;
        hasta_ = hasta;
        avanza(0);
    }
    // `fraccion` of the current stretch is done. Throws the cancellation (error 32755) once the
    // user asked for it, so that the work stops where it stands.
    void avanza(double fraccion) {
        milesimas_.store(int(1000 * (desde_ + (hasta_ - desde_) * fraccion)));
        if (cancelado_.load())
            throw ErrorLozar(kErrCancelado);
    }
    int milesimas() const { return milesimas_.load(); }
    void cancela() { cancelado_.store(true); }
    bool cancelado() const { return cancelado_.load(); }

private:
    std::atomic<int> milesimas_{0};
    std::atomic<bool> cancelado_{false};
    double desde_ = 0, hasta_ = 1; // touched by the working thread only
};

// Reports every `cada` steps of a loop of `total`, so that a tight loop pays one compare a pass.
class Avance {
public:
    Avance(Progreso* p, qint64 total, qint64 cada = 1 << 16) : p_(p), total_(total), cada_(cada) {}
    void paso(qint64 i) {
        if (p_ && i % cada_ == 0)
            p_->avanza(total_ > 0 ? double(i) / double(total_) : 1);
    }

private:
    Progreso* p_;
    qint64 total_, cada_;
};
