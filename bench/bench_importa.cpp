// Import of measurements from a CSV file with decimal commas.
// 1. 10^6 normal values, shuffled: the work "Importar mediciones…" does away from the window
//    (read, decode, find the layout, read the column, summarise, sort) against the floor of
//    the job (read the bytes, parse each number with from_chars, sort). Targets: at most twice
//    the floor and 300 ms; and the same import through the window, click to summary.
// 2. 10^7 values through the window, with the progress dialog that shows after 200 ms, and how
//    soon "Cancelar" gives the window back.
// Run: build/bin/bench_importa   (exits 1 when a target is missed)
#include "analisis/dialogos.h"
#include "archivos/archivos.h"
#include "capacidad/mediciones.h"
#include "comun/estudio.h"
#include "comun/ventanas.h"
#include "medicion.h"
#include "muestra.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextStream>
#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <charconv>
#include <random>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    EstudioTemporal e(false);
    QTextStream out(stdout);
    bool ok = true;

    const QString millon = e.dir.filePath("normal.csv");
    {
        std::vector<double> v(1'000'000);
        const boost::math::normal n(20, 0.05);
        for (std::size_t i = 0; i < v.size(); ++i)
            v[i] = boost::math::quantile(n, (double(i) + 0.5) / double(v.size()));
        std::shuffle(v.begin(), v.end(), std::mt19937(7));
        QByteArray csv = "pieza;diámetro\n";
        for (std::size_t i = 0; i < v.size(); ++i)
            csv += QByteArray::number(qulonglong(i + 1)) + ';' +
                   QByteArray::number(v[i], 'f', 4).replace('.', ',') + '\n';
        escribeArchivo(millon, csv);
    }
    std::size_t leidas = 0;
    const double suelo = mediana(
        [&] {
            const QByteArray b = leeArchivoEntero(millon, qint64(1) << 30);
            std::vector<double> v;
            v.reserve(1'000'000);
            const char* p = b.constData();
            const char* const fin = p + b.size();
            p = std::find(p, fin, '\n') + 1; // the header
            char num[32];
            while (p < fin) {
                const char* linea = std::find(p, fin, '\n');
                const char* campo = std::find(p, linea, ';') + 1;
                const std::size_t largo = std::min<std::size_t>(std::size_t(linea - campo), 31);
                std::copy(campo, campo + largo, num);
                std::replace(num, num + largo, ',', '.');
                double x = 0;
                std::from_chars(num, num + largo, x);
                v.push_back(x);
                p = linea + 1;
            }
            std::sort(v.begin(), v.end());
            leidas = v.size();
        },
        5);
    const double nuestro = mediana(
        [&] {
            const TablaMediciones t(
                TablaMediciones::deArchivo(leeArchivoEntero(millon, qint64(1) << 30)));
            std::vector<double> v = t.columna(1);
            ok = ok && resumeMuestra(v).n == leidas;
            std::sort(v.begin(), v.end());
        },
        5);
    e.f->show();
    const double ventana = mediana(
        [&] {
            e.doble.rutas << millon;
            e.doble.opcionesElegidas << 1;
            ok = conDialogo<DlgMediciones>([&] { e.f->MArchivoImportar_Click(); }) && ok;
        },
        5);
    const bool cumple = nuestro <= 2 * suelo && nuestro <= 300;
    out << QStringLiteral("importar 10^6 mediciones con coma decimal: %1 ms (suelo: leer, "
                          "from_chars y ordenar, %2 ms; meta <= 2 veces el suelo y <= 300 ms)%3\n"
                          "  por la ventana, del clic al resumen: %4 ms\n")
               .arg(nuestro, 0, 'f', 0)
               .arg(suelo, 0, 'f', 0)
               .arg(cumple ? QString() : QStringLiteral(" — NO CUMPLE"))
               .arg(ventana, 0, 'f', 0);
    ok = ok && cumple;

    const QString ruta = e.dir.filePath("medidas.csv");
    {
        QByteArray csv = "pieza;diámetro\n";
        csv.reserve(200 << 20);
        for (int i = 0; i < 10000000; ++i)
            csv += QByteArray::number(i) + ';' + QByteArray::number(50 + (i % 1000) / 100.0) + '\n';
        escribeArchivo(ruta, csv);
    }
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
    ok = conDialogo<DlgMediciones>([&] { e.f->MArchivoImportar_Click(); },
                                   [](DlgMediciones& d) { d.cmdNormal->click(); }) &&
         ok;
    const double total = t.nsecsElapsed() / 1e6;
    out << QStringLiteral("importar 10^7 mediciones: %1 ms hasta el resumen, diálogo de "
                          "progreso: %2\n")
               .arg(total, 0, 'f', 0)
               .arg(progreso ? QStringLiteral("sí") : QStringLiteral("no"));
    ok = ok && progreso;

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
    return ok && e.doble.mensajes.isEmpty() ? 0 : 1;
}
