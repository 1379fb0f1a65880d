#pragma once

#include <QByteArray>
#include <QString>

class Progreso;

// Reading and writing the files of users and of the program, so that nothing is ever lost
// half-way and nothing outside a regular file (a pipe, a device) can hang a window.

// Why a file could not be read or written, in Spanish: a folder where the file should be, or
// the system's error `e` (errno, taken right after the failure); `otra` when it has no name of
// ours.
QString causaDeFallo(const QString& ruta, int e, const QString& otra);

// The whole of a regular file (at most `limite` bytes), or ErrorLozar naming it and the cause:
// 53 when it does not exist, 57 when it cannot be read, is larger, or is not a regular file (a
// pipe, a device or a socket is refused before anything waits on it). `p`, if given, hears how
// far the reading got and may cancel it.
QByteArray leeArchivoEntero(const QString& ruta, qint64 limite, Progreso* p = nullptr);

// Writes a whole file. The bytes go to a temporary file beside it, each write and the flush to
// the disk checked, and only then into place, so that any failure (a full disk, a missing
// permission, a limit on the size of files) leaves an earlier file as it was. Where the folder
// takes no new file but the file itself can be written, it is rewritten in place, and put back as
// it was if that fails. What is not a regular file (a pipe, a device, a socket, a folder) is
// refused before anything is written; through a symbolic link, its target is replaced and the link
// kept. `sincroniza` waits until the bytes are on the disk itself, for what a power cut must not
// take. ErrorLozar naming `que` (e.g. "el archivo de detalle ") and the file, and the cause.
void guardaArchivoSeguro(const QString& ruta, const QByteArray& bytes,
                         const QString& que = QString(), bool sincroniza = true);

// Whether `ruta` could be written now: 0 when the file opens for writing (tried without changing
// it, and without waiting on a pipe) or, where there is none yet, its folder takes a new file;
// otherwise the system's error (errno) that stops it.
int errorAlEscribir(const QString& ruta);
