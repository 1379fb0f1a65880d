#pragma once

#include "numeros/errores.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>
#include <vector>

class Progreso;

// Study files (.lzr): 19 lines "key=value" in double quotes, CR LF, Windows-1252; a skewed
// process adds "Sesgo=" and "Curtosis=" after them, a study that knows its yearly volume
// "Unidades=", one whose process is a distribution fitted to its measurements "Ajuste=" (see
// textoDeAjuste), one measured with an imperfect gauge "DesvMedicion=", "CostoEscape=" and its
// decision limits "Aceptacion=" (see textoDeAceptacion), and one with measurements their block
// last:
//
//   "Mediciones=120"          how many follow
//   "Origen=C:\datos\eje.csv"  where they came from (a file, or "el portapapeles")
//   "Columna=Diámetro"        the column's name
//   20.0123	3               one line each: the value with a point, a tab and its subgroup
//
// The value lines have no "=", which every reader of the 19 lines skips.

constexpr int kCamposEstudio = 19;
constexpr int kCampoTaguchi = 18;
constexpr int kCamposForma = 2;                               // Sesgo, Curtosis
constexpr int kCampoUnidades = kCamposEstudio + kCamposForma; // good units a year
constexpr int kCampoAjuste = kCampoUnidades + 1;              // the fitted distribution
constexpr int kCampoDesvMedicion = kCampoAjuste + 1;          // the gauge's error
constexpr int kCampoCostoEscape = kCampoDesvMedicion + 1;     // a bad unit shipped
constexpr int kCampoAceptacion = kCampoCostoEscape + 1;       // decision limits of its own
constexpr int kCamposTodos = kCampoAceptacion + 1;
// Keys as written, in file order: Titulo, ya, yb, YRetI, …, StdDev, Taguchi, Sesgo, Curtosis,
// Unidades, Ajuste, DesvMedicion, CostoEscape, Aceptacion.
extern const char* const kClavesEstudio[kCamposTodos];
// The longest value a box holds.
constexpr int kLargoMaximo = 32767;

// The measurements a study keeps: the values in their order, each one's subgroup when the user
// gave them, and where they came from.
struct MedicionesEstudio {
    std::vector<double> valores;
    std::vector<int> subgrupos; // empty, or one per value
    QString origen, columna;
    bool operator==(const MedicionesEstudio& o) const {
        return valores == o.valores && subgrupos == o.subgrupos && origen == o.origen &&
               columna == o.columna;
    }
};

// The file's bytes for the values in file order (Taguchi as "0", "1" or "2"): the 19 always, the
// shape's two when either is given, the units when given; each line in quotes; a value holding a
// quote goes unquoted, so that it reads back whole. Then the measurements' block when there are
// any. ErrorLozar naming the key when a value has no place in Windows-1252, or holds both a quote
// and a comma, which no line of the format keeps.
QByteArray escribeEstudio(const QStringList& valores, const MedicionesEstudio* mediciones = nullptr,
                          Progreso* progreso = nullptr);

struct LecturaEstudio {
    // (field index, value) in the order read; Taguchi already rounded to "0", "1" or "2".
    QList<std::pair<int, QString>> valores;
    // Set when reading stopped; the values before it still apply.
    std::optional<ErrorLozar> error;
};

// Reads the text of the bytes (UTF-8 or UTF-16 where an editor saved it so, else Windows-1252)
// as delimited fields: a quoted field runs to the next quote, an unquoted one to the next
// comma or line end (leading blanks skipped); after a field reading goes on behind the next
// comma or line end. The key before the first "=" is upper-cased and matched exactly.
LecturaEstudio leeEstudio(QByteArrayView bytes);

// A whole study as a file holds it: every value in file order (kCamposTodos of them, Taguchi "0",
// "1" or "2"; empty where the file has none), which of the 19 it lacks, and its measurements.
struct EstudioEnArchivo {
    QStringList valores;
    QList<int> faltan;
    MedicionesEstudio mediciones;
};

// Reads a study whole, or throws: ErrorLozar for the first fault of the file (a Taguchi value,
// a value too long, a measurement that is not a number, a block cut short, a fitted distribution
// Lozar does not know), or when it holds no
// value of a study at all. `progreso` hears how far the measurements got, and may cancel.
EstudioEnArchivo leeEstudioEntero(QByteArrayView bytes, Progreso* progreso = nullptr);
