#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <unistd.h>

// A full disk at `carpeta`, for real. Where this process may mount (root, as in CI), a 64 KB tmpfs
// over the folder, filled up by llena(); elsewhere llena() makes every write() under the folder
// fail with ENOSPC in the C library, through the shim ctest preloads (comun/sinespacio.cpp).
// Files written before llena() stay readable; unmounted, the folder is as it was before.
class DiscoLleno {
public:
    explicit DiscoLleno(const QString& carpeta) : carpeta_(QFileInfo(carpeta).canonicalFilePath()) {
        montado_ = geteuid() == 0 && QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k",
                                                                 "lozar-lleno", carpeta_}) == 0;
    }
    ~DiscoLleno() {
        qunsetenv("LOZAR_SIN_ESPACIO");
        if (montado_)
            QProcess::execute("umount", {"-l", carpeta_});
    }
    DiscoLleno(const DiscoLleno&) = delete;
    DiscoLleno& operator=(const DiscoLleno&) = delete;

    // From now on not one more byte fits; false when neither way could fill it.
    bool llena() {
        if (montado_) {
            QFile relleno(QDir(carpeta_).filePath(QStringLiteral("relleno")));
            relleno.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
            const QByteArray bloque(4096, 'x');
            while (relleno.write(bloque) == bloque.size()) {
            }
            while (relleno.write("x", 1) == 1) {
            }
        } else {
            qputenv("LOZAR_SIN_ESPACIO", QFile::encodeName(carpeta_));
        }
        QFile prueba(QDir(carpeta_).filePath(QStringLiteral("prueba-de-lleno")));
        const bool lleno =
            prueba.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && prueba.write("x", 1) != 1;
        prueba.remove();
        return lleno;
    }
    QString como() const {
        return montado_ ? QStringLiteral("un tmpfs de 64 KB lleno")
                        : QStringLiteral("write() con ENOSPC por LD_PRELOAD");
    }

private:
    QString carpeta_;
    bool montado_ = false;
};
