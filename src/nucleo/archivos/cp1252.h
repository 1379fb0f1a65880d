#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The Windows-1252 code page of stored studies and detail files.

// Bytes of `texto`, or nullopt when some character has no place in the code page.
std::optional<QByteArray> aCp1252(QStringView texto);
// The same, writing "?" for characters the code page cannot hold.
QByteArray aCp1252Aproximado(QStringView texto);
// Text of Windows-1252 bytes (the five unassigned bytes read as their C1 controls).
QString deCp1252(QByteArrayView bytes);

// Text of a file someone may have saved from any editor: UTF-16 with its byte-order mark;
// UTF-8 (its mark, if any, dropped) when the bytes are valid UTF-8 and not plain ASCII; else
// Windows-1252, in which our own files are written.
QString textoDeArchivo(QByteArrayView bytes);
