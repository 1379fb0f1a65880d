#include "shell/arranque.h"
#include "shell/plataformaqt.h"
#include "study/lozarform.h"

#include <QApplication>

int main(int argc, char** argv) {
    AplicacionLozar app(argc, argv);
    PlataformaQt::cargaTraducciones();
    PlataformaQt plataforma;
    return ejecutaLozar(plataforma, [] { return new LozarForm; });
}
