#pragma once

#include "shell/errores.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>

// Study files (.lzr): 19 lines "key=value" in double quotes, CR LF, Windows-1252; a skewed
// process adds "Sesgo=" and "Curtosis=" after them, and a study that knows its yearly volume
// "Unidades=" last.

constexpr int kCamposEstudio = 19;
constexpr int kCampoTaguchi = 18;
constexpr int kCamposForma = 2;                               // Sesgo, Curtosis
constexpr int kCampoUnidades = kCamposEstudio + kCamposForma; // good units a year
constexpr int kCamposTodos = kCampoUnidades + 1;
// Keys as written, in file order: Titulo, ya, yb, YRetI, …, StdDev, Taguchi, Sesgo, Curtosis,
// Unidades.
extern const char* const kClavesEstudio[kCamposTodos];
// The longest value a box holds.
constexpr int kLargoMaximo = 32767;

// The file's bytes for the values in file order (Taguchi as "0", "1" or "2"): the 19 always, the
// shape's two when either is given, the units when given; each line in quotes; a value holding a
// quote goes unquoted, so that it reads back whole. ErrorLozar naming the key when a value has no
// place in Windows-1252, or holds both a quote and a comma, which no line of the format keeps.
QByteArray escribeEstudio(const QStringList& valores);

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
