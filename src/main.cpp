#include "plataforma/arranque.h"
#include "plataforma/plataformaqt.h"
#include "principal/lozarform.h"

#include <QApplication>

int main(int argc, char** argv) {
    AplicacionLozar app(argc, argv);
    PlataformaQt::cargaTraducciones();
    PlataformaQt plataforma;
    return ejecutaLozar(plataforma, [] { return new LozarForm; });
}
