#include "shell/archivos.h"

#include "shell/errores.h"
#include "shell/progreso.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A limit on the size of files (ulimit -f) would end the program at the write that crosses it,
// the unsaved study with it: ignored, that write fails with EFBIG and is reported like a full
// disk. Set here, before main(), so that every program linking the core has it before anything
// is written (Qt's own settings included), with no call to forget at start-up.
[[maybe_unused]] const bool kLimiteDeTamanoNoMata = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;

// A descriptor that closes itself.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd() const { return fd_; }
    // Closes now; the errno of a failure (some file systems report a full disk only here), or 0.
    int cierra() {
        const int r = ::close(fd_);
        fd_ = -1;
        return r == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Opened without waiting: a pipe with nobody at its other end would block open() for ever.
int abre(const QString& ruta, int modo) {
    return ::open(QFile::encodeName(ruta).constData(), modo | O_NONBLOCK | O_CLOEXEC);
}

bool esRegular(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// Every byte, or the errno of the failure.
int escribeTodo(int fd, QByteArrayView b) {
    qsizetype hecho = 0;
    while (hecho < b.size()) {
        const ssize_t n = ::write(fd, b.data() + hecho, std::size_t(b.size() - hecho));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        hecho += n;
    }
    return 0;
}

int vuelcaADisco(int fd) {
    return ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno; // EINVAL: a file system without it
}

// The whole of what `fd` reads from its start, at most `limite` bytes; -1 in `error` past it.
QByteArray leeTodo(int fd, qint64 limite, qint64 tamano, int& error, Progreso* p = nullptr) {
    QByteArray b;
    b.reserve(qsizetype(std::min<qint64>(tamano, limite) + 1));
    char trozo[65536];
    error = 0;
    for (;;) {
        const ssize_t n = ::read(fd, trozo, sizeof trozo);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = errno;
            return b;
        }
        if (n == 0)
            return b;
        if (b.size() + n > limite) {
            error = -1;
            return b;
        }
        b.append(trozo, n);
        if (p && tamano > 0)
            p->avanza(std::min(1.0, double(b.size()) / double(tamano)));
    }
}

ErrorLozar noSePudoGuardar(const QString& ruta, const QString& que, const QString& causa) {
    return ErrorLozar(kErrEntradaSalida, QStringLiteral("No se pudo guardar %1\"%2\" (%3)")
                                             .arg(que, QDir::toNativeSeparators(ruta), causa));
}

// What `modo` is when it is not a regular file; empty when it is one.
QString noEsArchivo(mode_t modo) {
    if (S_ISREG(modo))
        return QString();
    if (S_ISDIR(modo))
        return QStringLiteral("es una carpeta, no un archivo");
    if (S_ISFIFO(modo))
        return QStringLiteral("es una tubería, no un archivo normal");
    if (S_ISCHR(modo) || S_ISBLK(modo))
        return QStringLiteral("es un dispositivo, no un archivo normal");
    if (S_ISSOCK(modo))
        return QStringLiteral("es un socket, no un archivo normal");
    return QStringLiteral("no es un archivo normal");
}

// The file a save replaces: `ruta`, or where its symbolic links lead, so that a link stays a
// link and its target gets the bytes.
QString destinoDe(const QString& ruta) {
    QFileInfo f(ruta);
    for (int i = 0; i < 40 && f.isSymLink(); ++i)
        f.setFile(f.symLinkTarget());
    return f.absoluteFilePath();
}

// The file rewritten where it is, for a folder that takes no temporary file; false when the file
// itself cannot be opened for writing. What was there is put back when the new bytes do not fit.
bool guardaEnSuSitio(const QString& ruta, const QByteArray& bytes, const QString& que) {
    Descriptor d(abre(ruta, O_RDWR));
    if (d.fd() < 0 || !esRegular(d.fd()))
        return false;
    int e = 0;
    const QByteArray antes = leeTodo(d.fd(), qint64(1) << 31, 0, e);
    if (e != 0)
        return false;
    auto escribe = [&](const QByteArray& b) {
        if (::lseek(d.fd(), 0, SEEK_SET) < 0)
            return errno;
        int r = escribeTodo(d.fd(), b);
        if (r == 0 && ::ftruncate(d.fd(), b.size()) != 0)
            r = errno;
        return r == 0 ? vuelcaADisco(d.fd()) : r;
    };
    e = escribe(bytes);
    if (e == 0)
        e = d.cierra();
    if (e == 0)
        return true;
    const int restaurado = d.fd() >= 0 ? escribe(antes) : -1;
    QString causa = causaDeFallo(ruta, e, QString::fromLocal8Bit(strerror(e)));
    if (restaurado != 0)
        causa += QStringLiteral("; el contenido anterior no se pudo restaurar");
    throw noSePudoGuardar(ruta, que, causa);
}
} // namespace

QString causaDeFallo(const QString& ruta, int e, const QString& otra) {
    if (QFileInfo(ruta).isDir())
        return QStringLiteral("es una carpeta, no un archivo");
    switch (e) {
    case EACCES:
    case EPERM:
        return QStringLiteral("permiso denegado");
    case EROFS:
        return QStringLiteral("el disco es de solo lectura");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("no queda espacio en el disco");
    case ENOENT:
        return QStringLiteral("no existe");
    case ENOTDIR:
        return QStringLiteral("una parte de la ruta no es una carpeta");
    case EFBIG:
        return QStringLiteral("el archivo supera el tamaño máximo permitido");
    case EIO:
        return QStringLiteral("error de entrada/salida del disco");
    case EISDIR:
        return QStringLiteral("es una carpeta, no un archivo");
    case ENXIO:
        return QStringLiteral("no es un archivo normal, sino un socket o un dispositivo");
    default:
        return otra;
    }
}

QByteArray leeArchivoEntero(const QString& ruta, qint64 limite, Progreso* p) {
    const QString nombre = QDir::toNativeSeparators(ruta);
    auto falla = [&](const QString& causa) {
        return ErrorLozar(kErrEntradaSalida,
                          QStringLiteral("No se puede leer \"%1\" (%2)").arg(nombre, causa));
    };
    Descriptor d(abre(ruta, O_RDONLY));
    if (d.fd() < 0) {
        const int e = errno;
        if (e == ENOENT)
            throw ErrorLozar(kErrArchivoNoEncontrado,
                             QStringLiteral("No se ha encontrado el archivo \"%1\"").arg(nombre));
        throw falla(causaDeFallo(ruta, e, QString::fromLocal8Bit(strerror(e))));
    }
    struct stat st {};
    if (::fstat(d.fd(), &st) != 0) {
        const int e = errno;
        throw falla(causaDeFallo(ruta, e, QString::fromLocal8Bit(strerror(e))));
    }
    if (!S_ISREG(st.st_mode))
        throw falla(noEsArchivo(st.st_mode));
    if (st.st_size > limite)
        throw falla(QStringLiteral("tiene %1 MB; se leen hasta %2 MB")
                        .arg(st.st_size >> 20)
                        .arg(limite >> 20));
    // Read to its end, not to the size it told: /proc files tell none, others grow meanwhile.
    int e = 0;
    QByteArray bytes = leeTodo(d.fd(), limite, st.st_size, e, p);
    if (e < 0)
        throw falla(QStringLiteral("tiene más de %1 MB").arg(limite >> 20));
    if (e > 0)
        throw falla(causaDeFallo(ruta, e, QString::fromLocal8Bit(strerror(e))));
    return bytes;
}

void guardaArchivoSeguro(const QString& ruta, const QByteArray& bytes, const QString& que,
                         bool sincroniza) {
    // What is there is looked at before anything is opened: a pipe would wait, a device would
    // take the bytes, and either would be replaced by a file. Through a symbolic link, what it
    // leads to is what the save replaces, the link kept.
    const QString destino = destinoDe(ruta);
    struct stat st {};
    if (::stat(QFile::encodeName(destino).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        throw ErrorLozar(kErrAccesoRuta,
                         QStringLiteral("No se puede crear %1\"%2\" (%3)")
                             .arg(que, QDir::toNativeSeparators(ruta), noEsArchivo(st.st_mode)));
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly)) {
        const int e = errno;
        if (QFileInfo(ruta).isFile() && guardaEnSuSitio(ruta, bytes, que))
            return;
        // Qt refuses a read-only file before the system says why: asked again, it does.
        const int ahora = errorAlEscribir(ruta);
        throw ErrorLozar(kErrAccesoRuta,
                         QStringLiteral("No se puede crear %1\"%2\" (%3)")
                             .arg(que, QDir::toNativeSeparators(ruta),
                                  causaDeFallo(ruta, ahora ? ahora : e, f.errorString())));
    }
    // Written straight to the temporary file and checked byte for byte: Qt's buffered writing
    // has let a full disk pass as a saved file.
    int e = escribeTodo(int(f.handle()), bytes);
    if (e == 0 && sincroniza)
        e = vuelcaADisco(int(f.handle()));
    if (e != 0) {
        f.cancelWriting();
        throw noSePudoGuardar(ruta, que,
                              causaDeFallo(ruta, e, QString::fromLocal8Bit(strerror(e))));
    }
    if (!f.commit()) {
        e = errno;
        throw noSePudoGuardar(ruta, que, causaDeFallo(ruta, e, f.errorString()));
    }
}

int errorAlEscribir(const QString& ruta) {
    // Tried rather than judged by permission bits, which say nothing of a read-only disk, an
    // immutable file or root. A file that opens for writing can be replaced, through its folder
    // or in place; only a new one needs the folder.
    struct stat st {};
    if (::stat(QFile::encodeName(destinoDe(ruta)).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? EISDIR : ENXIO; // not even opened: a device could act on it
    Descriptor d(abre(ruta, O_WRONLY | O_APPEND));
    if (d.fd() >= 0)
        return 0;
    if (errno != ENOENT)
        return errno;
    QTemporaryFile prueba(
        QDir(QFileInfo(ruta).absolutePath()).filePath(QStringLiteral("lozar-prueba-XXXXXX")));
    if (!prueba.open())
        return errno != 0 ? errno : EACCES;
    return 0;
}
