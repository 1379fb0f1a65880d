#include "plataforma/arranque.h"
#include "plataforma/plataformaqt.h"
#include "principal/lineaordenes.h"
#include "principal/lozarform.h"

#include <QApplication>

int main(int argc, char** argv) {
    QStringList argumentos;
    for (int i = 1; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    if (esLineaDeOrdenes(argumentos))
        return ejecutaLineaDeOrdenes(argc, argv);
    AplicacionLozar app(argc, argv);
    PlataformaQt::cargaTraducciones();
    PlataformaQt plataforma;
    return ejecutaLozar(plataforma, [] { return new LozarForm; });
}
