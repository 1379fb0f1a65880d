#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Lozar without its window, for scripts and a plant's nightly reports:
//
//   lozar --costo ESTUDIO.lzr [--json]        what a study costs, "clave<TAB>valor" or JSON
//   lozar --informe ESTUDIO.lzr -o SALIDA.pdf  the report of "Archivo > Informe PDF…"
//   lozar --cartera CARPETA [--unidades-por-defecto N]  every study under it, as CSV
//   lozar --help, lozar --version
//
// Exit codes: 0 done, 1 a study, folder or output that could not be read, computed or written,
// 2 arguments the program does not take.

constexpr int kSalidaBien = 0, kSalidaEntrada = 1, kSalidaUso = 2;

struct OrdenLinea {
    enum Tipo { Ventana, Ayuda, Version, Costo, Informe, Cartera };
    Tipo tipo = Ventana;
    QString ruta;   // the study or the folder
    QString salida; // the report's PDF
    bool json = false;
    std::optional<double> unidadesPorDefecto;
    QString error; // not empty: bad usage, and why
};

// Whether the arguments (without the program's name) ask for the command line rather than the
// window: any of ours ("--" anything, -h, -v or -o). Looked at before the application exists,
// so that a run without a display can choose its platform.
bool esLineaDeOrdenes(const QStringList& argumentos);
OrdenLinea analizaArgumentos(const QStringList& argumentos);

// The usage text, in Spanish.
QString textoDeAyuda();

// Runs the command the arguments give, with an application of its own (a display-less one when
// none is chosen), and returns the exit code.
int ejecutaLineaDeOrdenes(int& argc, char** argv);
