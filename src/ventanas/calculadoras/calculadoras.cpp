#include "calculadoras/calculadoras.h"

#include "calculadoras/probnorm.h"
#include "calculadoras/probpearson.h"
#include "plataforma/caratula.h"
#include "plataforma/plataforma.h"

#include <QPointer>
#include <memory>

namespace {

// Each kind of calculator keeps its table for the run, tied to the directory it reads.
TablaNormal& tablaDe(std::unique_ptr<TablaNormal>& tabla) {
    const QString directorio = plataforma().directorioAplicacion();
    if (!tabla || tabla->ruta() != TablaNormal(directorio).ruta())
        tabla = std::make_unique<TablaNormal>(directorio);
    return *tabla;
}

template <typename Calculadora>
void abre(QPointer<Calculadora>& abierta, std::unique_ptr<TablaNormal>& tabla) {
    // A hidden one is closing, and is deleted once the event loop runs.
    if (abierta && abierta->isVisible()) {
        abierta->setWindowState(abierta->windowState() & ~Qt::WindowMinimized);
        abierta->raise();
        abierta->activateWindow();
        return;
    }
    auto* c = new Calculadora(tablaDe(tabla));
    c->setAttribute(Qt::WA_DeleteOnClose);
    Centrar(c);
    c->show();
    abierta = c;
}

} // namespace

void MProbNorm_Click() {
    static QPointer<ProbNorm> abierta;
    static std::unique_ptr<TablaNormal> tabla;
    abre(abierta, tabla);
}

void MProbPearson_Click() {
    static QPointer<ProbPearson> abierta;
    static std::unique_ptr<TablaNormal> tabla;
    abre(abierta, tabla);
}
