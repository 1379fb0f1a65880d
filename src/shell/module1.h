#pragma once

#include <QString>
#include <QVariant>

// Routines shared between windows.

// The directory part of a path, up to and including its last "\", "/" or ":"; empty for a
// bare file name.
QString RutaDe(const QString& ruta);

// Opens a document with the program associated with it, in the document's directory;
// parameters, show and owner are kept for the callers' sake and unused here. Returns
// whether the desktop accepted the request.
bool AbreDocumento(const QString& documento, const QString& parametros = QString(), int mostrar = 1,
                   long propietario = 0);

// The chart table the main window fills and the chart window shows: 22 rows by 7 columns of
// cells, each empty (an invalid QVariant), a text or a double. Row 0 holds the series labels,
// column 0 the category labels.
class TablaDeGrafico {
public:
    static constexpr int kFilas = 22, kColumnas = 7;
    void recrea() { *this = TablaDeGrafico(); }
    QVariant& celda(int fila, int columna) { return celdas_[fila][columna]; }
    const QVariant& celda(int fila, int columna) const { return celdas_[fila][columna]; }

private:
    QVariant celdas_[kFilas][kColumnas];
};

extern TablaDeGrafico TablaGrafico;
