#include "archivos/archivos.h"

#include "numeros/errores.h"
#include "numeros/progreso.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
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

QString causaDe(const QString& ruta, int e) {
    return causaDeFallo(ruta, e, QString::fromLocal8Bit(strerror(e)));
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
    QString actual = QFileInfo(ruta).absoluteFilePath();
    for (int i = 0; i < 40; ++i) {
        // The folder as the kernel reaches it: a link's "../" climbs from there, not from the
        // text of the path, which may pass through a linked folder.
        const QFileInfo f(actual);
        const QString carpeta = QFileInfo(f.absolutePath()).canonicalFilePath();
        if (carpeta.isEmpty())
            return actual;
        actual = QDir(carpeta).filePath(f.fileName());
        char destino[PATH_MAX];
        const ssize_t n =
            ::readlink(QFile::encodeName(actual).constData(), destino, sizeof destino - 1);
        if (n < 0) // not a link
            return actual;
        actual = QDir(carpeta).absoluteFilePath(QFile::decodeName(QByteArray(destino, n)));
    }
    return actual;
}

// Our temporary files beside `destino`: its name, ".guardando-" and six letters or digits. A
// name a user would hardly give, and the only one a later save ever removes.
const QLatin1String kTemporal(".guardando-");
constexpr int kLetrasTemporal = 6;

// A new temporary file beside `destino`, open for writing and locked (a save that cleans up
// leaves a locked one alone); -1 and errno when the folder takes no new file.
int creaTemporal(const QString& destino, mode_t modo, QString& nombre) {
    static const char kLetras[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int intento = 0; intento < 100; ++intento) {
        QString n = destino + kTemporal;
        for (int i = 0; i < kLetrasTemporal; ++i)
            n += QLatin1Char(kLetras[QRandomGenerator::global()->bounded(int(sizeof kLetras - 1))]);
        const int fd =
            ::open(QFile::encodeName(n).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, modo);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return -1;
        // A cleanup that came between the creation and the lock has removed it: another name.
        struct stat st {};
        if (::flock(fd, LOCK_EX) != 0 || (::fstat(fd, &st) == 0 && st.st_nlink > 0)) {
            nombre = n;
            return fd;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// Removes what saves of `destino` killed half-way left beside it: only names of our pattern,
// only regular files, and only those no live save holds locked. Never a user's file.
void quitaTemporalesViejos(const QString& destino) {
    const QFileInfo fi(destino);
    const QRegularExpression nuestro(
        QStringLiteral("^%1%2[A-Za-z0-9]{%3}$")
            .arg(QRegularExpression::escape(fi.fileName()), QRegularExpression::escape(kTemporal))
            .arg(kLetrasTemporal));
    const QDir carpeta = fi.absoluteDir();
    const auto nombres = carpeta.entryList(QDir::Files | QDir::Hidden | QDir::System |
                                           QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QString& n : nombres) {
        if (!nuestro.match(n).hasMatch())
            continue;
        const QByteArray ruta = QFile::encodeName(carpeta.filePath(n));
        Descriptor d(::open(ruta.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (d.fd() >= 0 && esRegular(d.fd()) && ::flock(d.fd(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(ruta.constData());
    }
}

// 0 when the file opens for writing (tried without changing it), or the errno that stops it.
int abreParaEscribir(const QString& ruta) {
    Descriptor d(abre(ruta, O_WRONLY | O_APPEND));
    return d.fd() >= 0 ? 0 : errno;
}

// So that a rename survives a power cut; a folder that cannot be synced is no failure.
void vuelcaCarpeta(const QString& carpeta) {
    Descriptor d(abre(carpeta, O_RDONLY | O_DIRECTORY));
    if (d.fd() >= 0)
        vuelcaADisco(d.fd());
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
    const QString destino = destinoDe(ruta);
    auto noSePuedeCrear = [&](const QString& causa) {
        return ErrorLozar(kErrAccesoRuta, QStringLiteral("No se puede crear %1\"%2\" (%3)")
                                              .arg(que, QDir::toNativeSeparators(ruta), causa));
    };
    // What is there is looked at before anything is opened: a pipe would wait, a device would
    // take the bytes, and either would be replaced by a file.
    struct stat st {};
    const bool existe = ::stat(QFile::encodeName(destino).constData(), &st) == 0;
    if (!existe && errno != ENOENT)
        throw noSePuedeCrear(causaDe(ruta, errno));
    if (existe && !S_ISREG(st.st_mode))
        throw noSePuedeCrear(noEsArchivo(st.st_mode));
    // A file that cannot be written (read-only, immutable) is not replaced either.
    if (const int e = existe ? abreParaEscribir(destino) : 0)
        throw noSePuedeCrear(causaDe(ruta, e));

    // Always a new file beside the old one, renamed over it at the end, and never the old one
    // rewritten in place: a save killed half-way there leaves new bytes over old ones, and
    // nothing kept elsewhere would mend that for whoever opens the file next (another program,
    // another computer on a shared folder). Where the folder takes no new file, nothing is saved.
    QString temporal;
    Descriptor d(creaTemporal(destino, existe ? 0600 : 0666, temporal));
    if (d.fd() < 0) {
        const int e = errno;
        if (!existe)
            throw noSePuedeCrear(causaDe(ruta, e));
        throw ErrorLozar(
            kErrAccesoRuta,
            QStringLiteral(
                "No se puede guardar %1\"%2\" (su carpeta no admite archivos nuevos: %3)")
                .arg(que, QDir::toNativeSeparators(ruta), causaDe(ruta, e)));
    }
    if (existe) { // the old file's owner (where we may give it) and permissions
        [[maybe_unused]] const int dueno = ::fchown(d.fd(), st.st_uid, st.st_gid);
        ::fchmod(d.fd(), st.st_mode & 07777);
    }
    // Every write checked byte for byte, and the close too: some file systems report a full
    // disk only there. Between the close and the rename the file is unlocked, and a cleanup by
    // another save of the same file could take it: the rename then fails and says so.
    int e = escribeTodo(d.fd(), bytes);
    if (e == 0 && sincroniza)
        e = vuelcaADisco(d.fd());
    if (e == 0)
        e = d.cierra();
    const QByteArray temporal8 = QFile::encodeName(temporal);
    if (e == 0 && ::rename(temporal8.constData(), QFile::encodeName(destino).constData()) != 0)
        e = errno;
    if (e != 0) {
        ::unlink(temporal8.constData());
        throw noSePudoGuardar(ruta, que, causaDe(ruta, e));
    }
    if (sincroniza)
        vuelcaCarpeta(QFileInfo(destino).absolutePath());
    quitaTemporalesViejos(destino);
}

int errorAlEscribir(const QString& ruta) {
    // Tried rather than judged by permission bits, which say nothing of a read-only disk, an
    // immutable file or root. A file is replaced only through its folder, which must take a new
    // one; one already there must open for writing too, as a sign it is not to stay as it is.
    const QString destino = destinoDe(ruta);
    struct stat st {};
    if (::stat(QFile::encodeName(destino).constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) // not even opened: a device could act on it
            return S_ISDIR(st.st_mode) ? EISDIR : ENXIO;
        if (const int e = abreParaEscribir(destino))
            return e;
    } else if (errno != ENOENT) {
        return errno;
    }
    QTemporaryFile prueba(
        QDir(QFileInfo(destino).absolutePath()).filePath(QStringLiteral("lozar-prueba-XXXXXX")));
    if (!prueba.open())
        return errno != 0 ? errno : EACCES;
    return 0;
}
