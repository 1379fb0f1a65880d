#pragma once

#include <QString>

// A document opened with the program the desktop associates with it.

// The directory part of a path, up to and including its last "\", "/" or ":"; empty for a
// bare file name.
QString RutaDe(const QString& ruta);

// Opens a document with the program associated with it, in the document's directory;
// parameters, show and owner are kept for the callers' sake and unused here. Returns
// whether the desktop accepted the request.
bool AbreDocumento(const QString& documento, const QString& parametros = QString(), int mostrar = 1,
                   long propietario = 0);
