// Import of 10^7 measurements from a CSV file ("Archivo > Importar mediciones…", the column
// chosen, "Usar como Normal" answered), through the window, with the progress dialog that
// shows after 200 ms; and how soon "Cancelar" gives the window back. Run: build/bin/bench_importa
#include "comun/estudio.h"
#include "comun/ventanas.h"
#include "study/dialogos.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    EstudioTemporal e;
    const QString ruta = e.dir.filePath("medidas.csv");
    {
        QByteArray csv = "pieza;diámetro\n";
        csv.reserve(200 << 20);
        for (int i = 0; i < 10000000; ++i)
            csv += QByteArray::number(i) + ';' + QByteArray::number(50 + (i % 1000) / 100.0) + '\n';
        escribeArchivo(ruta, csv);
    }
    QTextStream out(stdout);
    bool progreso = false;
    QTimer mira; // whether the progress dialog showed
    QObject::connect(&mira, &QTimer::timeout, [&] {
        progreso = progreso || qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    });
    mira.start(20);
    e.doble.rutas << ruta;
    e.doble.opcionesElegidas << 1;
    QElapsedTimer t;
    t.start();
    const bool dialogo = conDialogo<DlgMediciones>([&] { e.f->MArchivoImportar_Click(); },
                                                   [](DlgMediciones& d) { d.cmdNormal->click(); });
    const double total = t.nsecsElapsed() / 1e6;
    out << QStringLiteral("importar 10^7 mediciones: %1 ms hasta el resumen (meta <= 1000 ms "
                          "por 10^6), diálogo de progreso: %2\n")
               .arg(total, 0, 'f', 0)
               .arg(progreso ? QStringLiteral("sí") : QStringLiteral("no"));

    // Cancelled half-way: from the click to the window given back.
    QElapsedTimer cancelado;
    QTimer cancela;
    QObject::connect(&cancela, &QTimer::timeout, [&] {
        if (auto* p = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            cancela.stop();
            cancelado.start();
            p->findChild<QPushButton*>()->click();
        }
    });
    cancela.start(20);
    e.doble.rutas << ruta;
    e.f->MArchivoImportar_Click();
    out << QStringLiteral("«Cancelar»: la ventana vuelve en %1 ms\n")
               .arg(cancelado.isValid() ? cancelado.nsecsElapsed() / 1e6 : -1.0, 0, 'f', 1);
    return dialogo && e.doble.mensajes.isEmpty() ? 0 : 1;
}
