#include "shell/arranque.h"
#include "shell/plataformaqt.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PlataformaQt::cargaTraducciones();
    PlataformaQt plataforma;
    return ejecutaLozar(plataforma);
}
