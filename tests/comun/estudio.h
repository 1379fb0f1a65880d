#pragma once

#include "comun/comparar.h"
#include "comun/plataformadoble.h"
#include "comun/tablas.h"
#include "principal/lozarform.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QTemporaryDir>

// Box texts by box name.
using Textos = QMap<QString, QString>;

// Fills the main window's boxes by name; the rest keep their initial texts.
inline void rellenaCajas(LozarForm& f, const Textos& textos) {
    for (auto it = textos.begin(); it != textos.end(); ++it)
        f.findChild<QLineEdit*>(it.key())->setText(it.value());
}

// The window's title and every box by name, to tell whether anything on screen changed.
inline QStringList textosDeVentana(const LozarForm& f) {
    QStringList t{f.windowTitle()};
    for (const QLineEdit* c : f.findChildren<QLineEdit*>())
        t << c->objectName() + QLatin1Char('=') + c->text();
    return t;
}

// The usual study: limits 10/20/50/80/90, costs 30/10/5 on both sides.
inline void estudioTipico(LozarForm& f, bool taguchi = false) {
    const Textos tipico = {{"XDesI", "10"}, {"XRetI", "20"}, {"XObj", "50"},  {"XRetS", "80"},
                           {"XDesS", "90"}, {"YDesI", "30"}, {"YDesS", "30"}, {"YRetI", "10"},
                           {"YRetS", "10"}, {"YNomI", "5"},  {"YNomS", "5"},  {"Media", "52"},
                           {"StdDev", "8"}};
    rellenaCajas(f, tipico);
    f.chkTaguchi->setChecked(taguchi);
}

// A main window whose application directory is a temporary folder holding the shipped normal
// table (or `tabla`), with the locale pinned; the boxes start with the usual study unless
// `tipico` is false.
struct EstudioTemporal {
    PlataformaDoble doble;
    QTemporaryDir dir;
    LocaleFijo locale;
    LozarForm* f;
    explicit EstudioTemporal(bool tipico = true, const QByteArray& tabla = QByteArray(),
                             const QLocale& l = QLocale::c())
        : locale(l) {
        doble.directorio = dir.path();
        const QString entregada = QCoreApplication::applicationDirPath() + "/Kvacnt.tbq";
        escribeArchivo(dir.filePath("Kvacnt.tbq"), tabla.isEmpty() ? leeArchivo(entregada) : tabla);
        f = new LozarForm;
        if (tipico)
            estudioTipico(*f);
    }
    ~EstudioTemporal() { delete f; }
    // Archivo > Abrir and Guardar como, the file dialog answering `ruta`.
    void abre(const QString& ruta) {
        doble.rutas << ruta;
        f->MArchivoAbrir_Click();
    }
    void guarda(const QString& ruta) {
        doble.rutas << ruta;
        f->MArchivoGuardarComo_Click();
    }
};
