#pragma once

#include <QByteArray>
#include <QString>

// The path of a table file in the application directory.
QString rutaDeTabla(const QString& directorio, const QString& nombre);

// The first `registros` records of `largo` bytes of a table file. Never creates the file:
// a missing one is error 53, a short or unreadable one error 57, each naming the file.
QByteArray leeTabla(const QString& ruta, int registros, int largo);
