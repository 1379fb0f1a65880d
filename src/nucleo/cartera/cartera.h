#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Progreso;
class TablaNormal;

// What a study costs, read from its file without a window: what "3. Lozar Efectivo" shows, the
// exact cost (with the gauge's errors when it has one), scrap and rework, and the capability
// index the window shows ("Ppk" when Desv. Std. is the measurements' overall spread or a fitted
// distribution's, "Cpk" otherwise).
struct CostoDeEstudio {
    QString archivo; // as given, or relative to the portfolio's folder
    QString titulo;
    double xDesI = 0, xRetI = 0, xObj = 0, xRetS = 0, xDesS = 0;
    std::optional<double> efectivo; // "3. Lozar Efectivo"; none when all scrap
    std::optional<double> exacto;   // the exact effective cost; none when all scrap
    double nominal = 0;             // the nominal cost at the target
    double desperdicio = 0, retrabajo = 0;
    std::optional<double> noCalidad; // exacto − nominal, per good unit
    std::optional<double> unidades;  // the study's "Unidades" or the default given
    std::optional<double> noCalidadAnual;
    QString nombreIndice; // "Cpk" or "Ppk"
    std::optional<double> indice;
    QString error; // not empty: the study could not be read or computed, and why
};

// One study file, whole: ErrorLozar never escapes; a fault is the row's `error`.
// `tabla` is the normal-area table "3." integrates with.
CostoDeEstudio costoDeEstudio(const QString& ruta, TablaNormal& tabla,
                              std::optional<double> unidadesPorDefecto = std::nullopt);

// Every ".lzr" under `carpeta` (subfolders too), sorted by yearly cost of poor quality, dearest
// first (a study without units by its unit cost, after those with; the failed last). `progreso`
// hears how far it got and may cancel (ErrorLozar kErrCancelado).
QList<CostoDeEstudio> leeCartera(const QString& carpeta, TablaNormal& tabla,
                                 std::optional<double> unidadesPorDefecto = std::nullopt,
                                 Progreso* progreso = nullptr);

// The table as rows of cells in the user's locale, a header first and the total last, for the
// window, the clipboard and the printer.
QList<QStringList> filasDeCartera(const QList<CostoDeEstudio>& c);
// The same as CSV, UTF-8 with a point for decimals whatever the locale, fields quoted where they
// hold a comma, a quote or a line end; the total as the last line.
QByteArray csvDeCartera(const QList<CostoDeEstudio>& c);

// One study for the command line: "clave<TAB>valor" lines in the C locale, or one JSON object.
QByteArray textoDeCosto(const CostoDeEstudio& c);
QJsonObject jsonDeCosto(const CostoDeEstudio& c);
