#pragma once

#include <QByteArray>
#include <QString>

// The path of a table file in the application directory.
QString rutaDeTabla(const QString& directorio, const QString& nombre);

// The first `registros` records of `largo` bytes of a table file. Never creates the file:
// a missing one is error 53, a short or unreadable one error 57, each naming the file.
QByteArray leeTabla(const QString& ruta, int registros, int largo);

// The number in the field of `ancho` characters from character `desde` (0-based) of record
// `registro` (from 1): the lenient reading with "." as the point. A blank field is 0 where
// `blancoEsCero`; any other text is error 13 naming the file and the record.
double leeCampoDeTabla(const QByteArray& datos, const QString& ruta, int registro, int largo,
                       int desde, int ancho, bool blancoEsCero);
