#pragma once

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

class Progreso;

// Measurements in a text, as a file or the clipboard brings them: one number a line, or CSV or
// TSV columns; the decimal point "." or ",", whichever the text uses; a header line skipped.
// Lines may end in LF, CR LF or CR alone. A column whose numbers group thousands ("1.101,5" or
// "1,234.5") is read by that pattern, whole, or refused line by line; never split.
class TablaMediciones {
public:
    // ErrorLozar when the text holds no line of data. `p`, if given, hears how far it got and
    // may cancel.
    explicit TablaMediciones(QString texto, Progreso* p = nullptr);

    // The columns' names (the header's, or "Columna 1", …).
    const QStringList& columnas() const { return nombres_; }
    // How column `c` writes its numbers: "coma" or "punto", and the thousands separator when it
    // groups them ("coma, con punto de miles").
    QString decimal(int c) const;

    // The numbers of one column, in order. ErrorLozar naming the first line that is not a
    // number, or when there are fewer than 8 of them or they are all equal.
    std::vector<double> columna(int c, Progreso* p = nullptr) const;
    // The column to offer first: the rightmost whose first lines all hold numbers that are not
    // all equal (a spreadsheet puts the part's number first and the measurement after it); 0
    // when none does.
    int columnaSugerida() const;
    // The texts of column `c` on the same lines, each subgroup's label as a number: lines with
    // the same text are one subgroup, numbered in the order they first appear.
    std::vector<int> etiquetas(int c) const;

    // The text of a file's bytes: UTF-16 or UTF-8 where an editor saved it so, else
    // Windows-1252. ErrorLozar for bytes that are no text at all (NUL bytes).
    static QString deArchivo(const QByteArray& bytes);

private:
    enum class Miles { Ninguno, Punto, Coma }; // "1.234,5": groups by points; "1,234.5": commas
    QList<QStringView> campos(QStringView linea) const;
    // Field `c` of a line (empty where it has none), without parting the rest.
    QStringView campo(QStringView linea, int c) const;
    Miles milesDeColumna(int c) const;

    QString texto_;
    QList<QStringView> lineas_; // the file's lines, empty ones included
    int primeraDeDatos_ = 0;    // after the header, if there is one
    QChar separador_;           // '\t', ';', ',' or none
    bool coma_ = false;
    QStringList nombres_;
    mutable QHash<int, Miles> miles_; // each column's grouping, once looked for
};
