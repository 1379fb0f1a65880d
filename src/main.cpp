#include "shell/plataformaqt.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lozar"));
    PlataformaQt::cargaTraducciones();
    PlataformaQt plataformaQt;
    fijaPlataforma(&plataformaQt);

    QMainWindow ventana;
    ventana.setWindowTitle(QStringLiteral("Calculadora de Lozar Efectivo de Producción"));
    ventana.show();
    return app.exec();
}
