#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

// Measurements in a text, as a file or the clipboard brings them: one number a line, or CSV or
// TSV columns; the decimal point "." or ",", whichever the text uses; a header line skipped.
class TablaMediciones {
public:
    // ErrorLozar when the text holds no line of data.
    explicit TablaMediciones(QString texto);

    // The columns' names (the header's, or "Columna 1", …).
    const QStringList& columnas() const { return nombres_; }
    // "coma" or "punto", as the numbers are written.
    QString decimal() const;

    // The numbers of one column, in order. ErrorLozar naming the first line that is not a
    // number, or when there are fewer than 8 of them or they are all equal.
    std::vector<double> columna(int c) const;

    // Bytes of a file, as UTF-8 when they are, else in the Windows-1252 code page.
    static QString deArchivo(const QByteArray& bytes);

private:
    QList<QStringView> campos(QStringView linea) const;

    QString texto_;
    QList<QStringView> lineas_; // the file's lines, empty ones included
    int primeraDeDatos_ = 0;    // after the header, if there is one
    QChar separador_;           // '\t', ';', ',' or none
    bool coma_ = false;
    QStringList nombres_;
};
