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

// Writes a whole file. The bytes go to a temporary file beside it (its name, ".guardando-" and six
// letters or digits), each write and the flush to the disk checked, and only then renamed over
// it, so that any failure (a full disk, a size limit, a missing permission) or the program
// killed at any instant leaves the earlier file or the new one, never a mixture. Through a
// symbolic link, its target is replaced and the link kept. What is not a regular file (a pipe, a
// device, a socket, a folder) is refused before anything is written, and so is a file whose
// folder takes no new file. Temporary files that killed saves left are removed once the file is
// saved. `sincroniza` waits until the bytes are on the disk itself, for what a power cut must not
// take. ErrorLozar naming `que` (e.g. "el archivo de detalle ") and the file, and the cause.
void guardaArchivoSeguro(const QString& ruta, const QByteArray& bytes,
                         const QString& que = QString(), bool sincroniza = true);

// Whether `ruta` could be saved now: 0 when its folder takes a new file and, where there is one
// already, it is a regular file that opens for writing (tried without changing it, and nothing
// but a regular file opened at all); otherwise the system's error (errno) that stops it.
int errorAlEscribir(const QString& ruta);
