#include "archivos/archivos.h"
#include "calculadoras/probpearson.h"
#include "comun/discolleno.h"
#include "comun/estudio.h"
#include "comun/ventanas.h"
#include "plataforma/picturebox.h"

#include <QProcess>
#include <QtTest>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// A change to the system made for one test and undone after it. CI runs as root, for whom
// permission bits stop nothing; an immutable file (chattr +i) or a read-only mount does.
struct Cambio {
    Cambio(const QStringList& hace, const QStringList& deshace)
        : deshace(deshace), ok(QProcess::execute(hace[0], hace.mid(1)) == 0) {}
    ~Cambio() {
        if (ok)
            QProcess::execute(deshace[0], deshace.mid(1));
    }
    const QStringList deshace;
    const bool ok;
};

enum class Falla {
    Falta,
    Truncada,
    Guion,
    Carpeta,
    Tuberia,
    Dispositivo,
    Vacio,
    Gigante,
    Ilegible,
    DiscoLleno,
    CarpetaInmutable,
    ArchivoInmutable,
    ArchivoPorCarpeta, // a file where the path needs a folder
    Bucle,             // a symbolic link to itself
    SoloLectura        // a read-only file system
};
enum class Accion {
    Efectivo,
    Grafico,
    Pearson,
    Abrir,
    Importar,
    Guardar,
    GuardarComo,
    Exportar,
    Informe
};

} // namespace

class TstFallos : public QObject {
    Q_OBJECT
private slots:
    void fallos_data();
    void fallos();
    void guardadoMatado_data();
    void guardadoMatado();
    void temporalesAjenos_data();
    void temporalesAjenos();
};

void TstFallos::fallos_data() {
    // archivo: the file the fault is in; causa: a pattern of a line of the one message, from its
    // start, empty when the action must succeed all the same
    columnas<Accion, QString, Falla, QString>("accion", "archivo", "falla", "causa");
    // The four tables share one reader: each file once, each fault of a table once.
    fila("Kvacnt.tbq que falta", Accion::Efectivo, "Kvacnt.tbq", Falla::Falta,
         ".*No se ha encontrado el archivo de tabla");
    fila("kvtab1A.tbq truncada", Accion::Pearson, "kvtab1A.tbq", Falla::Truncada,
         ".+está incompleto");
    fila("kvtab1B.tbq con un guion por número", Accion::Pearson, "kvtab1B.tbq", Falla::Guion,
         ".+está dañado");
    fila("kvtab2.tbq tubería", Accion::Pearson, "kvtab2.tbq", Falla::Tuberia,
         ".+leer el archivo de tabla .+es una tubería");
    fila("abrir un estudio que falta", Accion::Abrir, "estudio.lzr", Falla::Falta,
         "53.- No se ha encontrado el archivo");
    fila("abrir un estudio vacío", Accion::Abrir, "estudio.lzr", Falla::Vacio,
         "13.- No contiene ningún dato de un estudio de Lozar, en \".+\"");
    fila("abrir un estudio de 10 MB", Accion::Abrir, "estudio.lzr", Falla::Gigante,
         "380.- El valor de Titulo es demasiado largo");
    fila("abrir un estudio ilegible", Accion::Abrir, "estudio.lzr", Falla::Ilegible,
         "57.- No se puede leer .+error de entrada/salida");
    fila("abrir una carpeta", Accion::Abrir, "estudio.lzr", Falla::Carpeta,
         "57.- No se puede leer .+es una carpeta");
    fila("importar mediciones de una tubería", Accion::Importar, "medidas.csv", Falla::Tuberia,
         "57.- No se puede leer .+es una tubería, no un archivo normal\\), en \".+\"$");

    // A full disk: the file as it was, one message naming it and the cause. A study and a
    // drawing share one writer; the detail file has its own.
    fila("exportar con el disco lleno", Accion::Exportar, "dibujo.png", Falla::DiscoLleno,
         "57.- No se pudo guardar \".+\" \\(no queda espacio en el disco\\)$");
    fila("detalle con el disco lleno", Accion::Efectivo, "CostDetail.xls", Falla::DiscoLleno,
         "57.- No se pudo guardar el archivo de detalle \".+\" \\(no queda espacio");
    // Only a regular file is replaced; the overwrite question has been answered by then.
    fila("informe sobre un dispositivo", Accion::Informe, "informe.pdf", Falla::Dispositivo,
         "75.- No se puede crear \".+\" \\(es un dispositivo, no un archivo normal\\)$");
    // A folder that takes no new file: nothing is saved there, not even over the study's own
    // file, which a rewrite in place could leave half old, half new.
    fila("ctrl+s en carpeta inmutable", Accion::Guardar, "estudio.lzr", Falla::CarpetaInmutable,
         "75.- No se puede guardar \".+\" \\(su carpeta no admite archivos nuevos: permiso "
         "denegado\\)$");
    // The detail file the program cannot write where it is goes to the user's own folder.
    fila("detalle en carpeta inmutable", Accion::Efectivo, "CostDetail.xls",
         Falla::CarpetaInmutable, "");
    fila("detalle inmutable", Accion::Efectivo, "CostDetail.xls", Falla::ArchivoInmutable, "");

    // Each system error a save or a reading meets, in words of ours; the system's own where we
    // have none.
    const QString crear = "75.- No se puede crear \".+\" \\(";
    fila("guardar como en una carpeta que falta", Accion::GuardarComo, "no existe/nuevo.lzr",
         Falla::Falta, crear + "no existe\\)$");
    fila("guardar como bajo un archivo", Accion::GuardarComo, "archivo/nuevo.lzr",
         Falla::ArchivoPorCarpeta, crear + "una parte de la ruta no es una carpeta\\)$");
    fila("guardar como en un disco de solo lectura", Accion::GuardarComo, "ro/nuevo.lzr",
         Falla::SoloLectura, crear + "el disco es de solo lectura\\)$");
    fila("abrir un enlace a sí mismo", Accion::Abrir, "bucle.lzr", Falla::Bucle,
         "57.- No se puede leer .+ \\(" +
             QRegularExpression::escape(QString::fromLocal8Bit(strerror(ELOOP))) + "\\), en");
    // A detail file that cannot be written where the program is goes to the user's folder: the
    // fault is in both. The chart checks it before computing.
    const QString detalle = "75.- No se puede crear el archivo de detalle \".+\" \\(";
    for (Accion a : {Accion::Efectivo, Accion::Grafico})
        QTest::addRow("%s con una carpeta por detalle", a == Accion::Grafico ? "gráfico" : "costo")
            << a << "CostDetail.xls" << Falla::Carpeta
            << detalle + "es una carpeta, no un archivo\\)$";
    fila("gráfico con un dispositivo por detalle", Accion::Grafico, "CostDetail.xls",
         Falla::Dispositivo,
         detalle + "no es un archivo normal, sino un socket o un dispositivo\\)$");
}

// Whatever goes wrong: one clear Spanish message naming the file and the cause, no crash, no
// wait, and nothing lost: the window as it was, a file already on disk byte for byte.
void TstFallos::fallos() {
    QFETCH(Accion, accion);
    QFETCH(QString, archivo);
    QFETCH(Falla, falla);
    QFETCH(QString, causa);
    EstudioTemporal e;
    const QString app = e.dir.path();
    for (const char* f : {"kvtab1A.tbq", "kvtab1B.tbq", "kvtab2.tbq"})
        QFile::copy(QCoreApplication::applicationDirPath() + '/' + f, app + '/' + f);
    QTemporaryDir estudios;
    const bool enApp = archivo.endsWith(".tbq") || archivo == QLatin1String("CostDetail.xls");
    const QString carpeta = enApp ? app : estudios.path();
    const QString ruta = carpeta + '/' + archivo;
    e.doble.datosUsuario = estudios.filePath("datos de usuario");
    TablaNormal tabla(app);

    std::unique_ptr<DiscoLleno> disco;
    if (falla == Falla::DiscoLleno) {
        if (enApp)
            e.f->Abcn(0); // the table is read before its folder fills up
        disco = std::make_unique<DiscoLleno>(carpeta);
    }
    const QString estudio = estudios.filePath("estudio.lzr");
    escribeArchivo(estudio, "\"Titulo=Guardado antes\"\r\n");
    // An installed copy's folder holds no detail file; elsewhere there is one from before.
    if (accion == Accion::Exportar ||
        (archivo == QLatin1String("CostDetail.xls") && falla != Falla::CarpetaInmutable))
        escribeArchivo(ruta, "lo que el usuario ya tenía");
    QStringList conFalla{ruta};
    if (archivo == QLatin1String("CostDetail.xls") && !causa.isEmpty() &&
        QDir().mkpath(e.doble.datosUsuario))
        conFalla << e.doble.datosUsuario + "/CostDetail.xls";
    std::unique_ptr<Cambio> cambio;
    for (const QString& r : conFalla) {
        switch (falla) {
        case Falla::Falta:
            QFile::remove(r);
            break;
        case Falla::Truncada:
            escribeArchivo(r, leeArchivo(r).left(1000));
            break;
        case Falla::Guion: // a lone "-" in a field the opening reads (kurtosis 0, record 8)
            escribeArchivo(r, leeArchivo(r).replace(7 * 133 + 5, 6, "     -"));
            break;
        case Falla::Carpeta:
            QFile::remove(r);
            QDir().mkdir(r);
            break;
        case Falla::Tuberia: // a pipe with nobody at its other end: opening it may wait for ever
            QFile::remove(r);
            QVERIFY(mkfifo(QFile::encodeName(r).constData(), 0666) == 0);
            break;
        case Falla::Dispositivo: // what /dev/null is, which root could otherwise replace
            QFile::remove(r);
            if (mknod(QFile::encodeName(r).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
                QSKIP("mknod no está disponible aquí");
            break;
        case Falla::Vacio:
            escribeArchivo(r, QByteArray());
            break;
        case Falla::Gigante:
            escribeArchivo(r, "Titulo=" + QByteArray(10 << 20, 'x'));
            break;
        case Falla::ArchivoPorCarpeta:
            QVERIFY(escribeArchivo(QFileInfo(r).path(), "x"));
            break;
        case Falla::Bucle:
            QVERIFY(symlink(QFile::encodeName(QFileInfo(r).fileName()).constData(),
                            QFile::encodeName(r).constData()) == 0);
            break;
        case Falla::SoloLectura: {
            const QString d = QFileInfo(r).path();
            QDir().mkpath(d);
            cambio = std::make_unique<Cambio>(
                QStringList{"mount", "-t", "tmpfs", "-o", "ro,size=16k", "lozar-ro", d},
                QStringList{"umount", "-l", d});
            if (!cambio->ok)
                QSKIP("no se puede montar un disco de solo lectura aquí");
            break;
        }
        default:
            break;
        }
    }
    if (accion == Accion::Guardar) { // the study opened from its file, then changed
        e.abre(estudio);
        rellenaCajas(*e.f, {{"Media", "51"}});
    }
    // Reading /proc/self/mem from its start fails for root too.
    const QString aAbrir = falla == Falla::Ilegible ? QStringLiteral("/proc/self/mem") : ruta;
    const QByteArray antes = leeArchivo(ruta);
    const auto tipo = [&] { // of what is at `ruta`, 0 for nothing
        struct stat st {};
        return lstat(QFile::encodeName(ruta).constData(), &st) == 0 ? st.st_mode & S_IFMT : 0;
    };
    const auto tipoAntes = tipo();
    const QStringList ventanaAntes = textosDeVentana(*e.f);
    const QImage dibujoAntes = e.f->Pic1->imagen();
    if (disco)
        QVERIFY2(disco->llena(), "no se pudo llenar el disco: sin tmpfs ni biblioteca precargada");
    if (falla == Falla::CarpetaInmutable || falla == Falla::ArchivoInmutable) {
        // Not even root may change, create, rename or delete there.
        const QString r = falla == Falla::CarpetaInmutable ? carpeta : ruta;
        cambio = std::make_unique<Cambio>(QStringList{"chattr", "+i", r},
                                          QStringList{"chattr", "-i", r});
        if (!cambio->ok)
            QSKIP("chattr +i no está disponible aquí");
    }
    const qsizetype mensajesAntes = e.doble.mensajes.size();

    // Each action's handler. The file dialogs answer the file; Guardar is Ctrl+S in the shown
    // window. The messages' headings share one formatter, pinned by other tests.
    const std::map<Accion, void (LozarForm::*)()> boton = {
        {Accion::Efectivo, &LozarForm::cmdLozarEfectivo_Click},
        {Accion::Grafico, &LozarForm::cmdGraf_Click},
        {Accion::Abrir, &LozarForm::MArchivoAbrir_Click},
        {Accion::Importar, &LozarForm::MArchivoImportar_Click},
        {Accion::GuardarComo, &LozarForm::MArchivoGuardarComo_Click},
        {Accion::Exportar, &LozarForm::MArchivoExportar_Click},
        {Accion::Informe, &LozarForm::MArchivoInforme_Click}};
    e.doble.rutas << aAbrir;
    e.f->lblLozarEfec->clear();
    std::unique_ptr<ProbPearson> calculadora;
    if (accion == Accion::Pearson) {
        calculadora = std::make_unique<ProbPearson>(tabla);
    } else if (accion == Accion::Guardar) {
        e.f->show();
        QVERIFY(QTest::qWaitForWindowActive(e.f));
        QTest::keyClick(e.f, Qt::Key_S, Qt::ControlModifier);
    } else {
        QVERIFY(!conDialogo<QDialog>([&] { (e.f->*boton.at(accion))(); }));
    }
    QList<PlataformaDoble::Mensaje> mensajes = e.doble.mensajes.mid(mensajesAntes);
    // The question before dropping the typed study aside.
    mensajes.removeIf(
        [](const PlataformaDoble::Mensaje& m) { return m.botones == Botones::SiNoCancelar; });
    // A pipe or a device stays one, and nothing on screen changes.
    QCOMPARE(leeArchivo(ruta), antes);
    QCOMPARE(tipo(), tipoAntes);
    QCOMPARE(textosDeVentana(*e.f), ventanaAntes);
    if (causa.isEmpty()) {
        // The detail file goes to the user's own folder instead, and the cost is computed.
        QVERIFY(QFile::exists(e.doble.datosUsuario + "/CostDetail.xls"));
        QVERIFY(e.f->lblLozarEfec->text().startsWith('$'));
        QCOMPARE(mensajes.size(), 1); // the question whether to see the details
        return;
    }
    QCOMPARE(mensajes.size(), 1);
    const QString m = mensajes.last().texto;
    QVERIFY2(m.contains(QFileInfo(aAbrir).fileName()) &&
                 m.contains(QRegularExpression('^' + causa, QRegularExpression::MultilineOption)),
             qPrintable(m));
    if (accion == Accion::Efectivo)
        QCOMPARE(e.f->lblLozarEfec->text(), QString()); // no result from a failed computation
    if (accion != Accion::Efectivo && accion != Accion::Pearson && accion != Accion::Informe)
        QCOMPARE(e.f->Pic1->imagen(), dibujoAntes); // the report draws the boxes' picture anew
    if (accion == Accion::Guardar) {
        // Closing asks again; "Sí" fails again, and the window stays open.
        e.doble.respuestas << Respuesta::Si;
        QVERIFY(!e.f->close());
        QCOMPARE(e.doble.mensajes.size() - mensajesAntes, 3);
        QCOMPARE(leeArchivo(estudio), antes);
    }
}

namespace {
const char* kGuarda = "--guarda";

// Saves the bytes of `origen` to `ruta` through guardaArchivoSeguro, files limited to `limite`
// bytes if given: run as this program's child, so that a fault kills the child alone.
int guarda(const QString& ruta, const QString& origen, const QString& limite) {
    const QByteArray bytes = leeArchivo(origen);
    rlimit r{};
    getrlimit(RLIMIT_FSIZE, &r);
    r.rlim_cur = limite.toULong();
    if (!limite.isEmpty() && setrlimit(RLIMIT_FSIZE, &r) != 0)
        return 2;
    try {
        guardaArchivoSeguro(ruta, bytes);
        return 0;
    } catch (const ErrorLozar& e) {
        std::fputs(e.descripcion().toUtf8().constData(), stdout);
        return 1;
    }
}
} // namespace

void TstFallos::guardadoMatado_data() {
    // ruta: the path saved, from a folder that holds the studies' folder; enlaces: links made
    // first, each path before its target; antes: the file before (none when empty); limite: on
    // the size of files (ulimit -f), in bytes, none when empty
    columnas<QString, QStringList, QByteArray, QString>("ruta", "enlaces", "antes", "limite");
    const QByteArray viejo(9000, 'v');
    fila("archivo nuevo", "estudios/estudio.lzr", QStringList(), QByteArray(), "");
    // A link whose target climbs out of a linked folder ("../") is followed as the system
    // follows it, to the file the link names, not the one its text seems to.
    fila("por un enlace que sube", "a/enlace.lzr",
         QStringList{"estudios/sub/enlace.lzr", "../estudio.lzr", "a", "estudios/sub"}, viejo, "");
    fila("más allá del límite de tamaño", "estudios/estudio.lzr", QStringList(), viejo, "4096");
}

// Killed at each point of a save in turn: the file is the old one or the new one, never a
// mixture; and once a save ends, nothing the killed ones left remains beside it. Past a size
// limit the save ends all the same (not killed by SIGXFSZ), says why, keeps the old file and
// leaves nothing.
void TstFallos::guardadoMatado() {
    QFETCH(QString, ruta);
    QFETCH(QStringList, enlaces);
    QFETCH(QByteArray, antes);
    QFETCH(QString, limite);
    QTemporaryDir base;
    const QString b = QFileInfo(base.path()).canonicalFilePath(), carpeta = b + "/estudios";
    const QString archivo = carpeta + "/estudio.lzr";
    QVERIFY(QDir(b).mkpath("estudios/sub"));
    if (!antes.isEmpty())
        QVERIFY(escribeArchivo(archivo, antes));
    for (int i = 0; i + 1 < enlaces.size(); i += 2)
        QVERIFY(symlink(QFile::encodeName(enlaces[i + 1]).constData(),
                        QFile::encodeName(b + '/' + enlaces[i]).constData()) == 0);
    const auto entradas = [&] {
        return QDir(carpeta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                       QDir::NoDotAndDotDot);
    };
    QStringList quedan = entradas(); // and the file, if it is new
    if (antes.isEmpty())
        quedan.prepend("estudio.lzr");
    const QByteArray nuevo(5000, 'n');
    QVERIFY(escribeArchivo(base.filePath("nuevo"), nuevo));
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert("LD_PRELOAD", LOZAR_MUERTE);
    entorno.insert("LOZAR_MUERE_CARPETA", carpeta);
    // A save past the limit runs once, unkilled (no call is the 0th), so that what stays beside
    // the file is what it left.
    for (int punto = limite.isEmpty() ? 1 : 0;; ++punto) {
        QProcess h; // killed, if still running, when it goes
        entorno.insert("LOZAR_MUERE_EN", QString::number(punto));
        h.setProcessEnvironment(entorno);
        h.setProcessChannelMode(QProcess::MergedChannels);
        h.start(QCoreApplication::applicationFilePath(),
                {kGuarda, b + '/' + ruta, base.filePath("nuevo"), limite});
        QVERIFY(h.waitForFinished(120000));
        const QString salida = QString::fromUtf8(h.readAll());
        QVERIFY2(punto < 100, qPrintable("el guardado no llega a su fin: " + salida));
        const QByteArray ahora = leeArchivo(archivo);
        const bool viejo = antes.isEmpty() ? !QFileInfo::exists(archivo) : ahora == antes;
        QVERIFY2(viejo || ahora == nuevo,
                 qPrintable(QString("muerto en el punto %1: bytes mezclados").arg(punto)));
        if (h.exitStatus() == QProcess::NormalExit) {
            QVERIFY2(limite.isEmpty() ? h.exitCode() == 0
                                      : salida.endsWith("estudio.lzr\" (el archivo supera el "
                                                        "tamaño máximo permitido)"),
                     qPrintable(salida));
            QCOMPARE(ahora, limite.isEmpty() ? nuevo : antes);
            break;
        }
    }
    QCOMPARE(entradas(), quedan);
    QCOMPARE(QFileInfo(b + '/' + ruta).isSymLink(), !enlaces.isEmpty());
    QVERIFY(!QFileInfo::exists(b + "/estudio.lzr")); // where "a/../estudio.lzr" seems to go
}

void TstFallos::temporalesAjenos_data() {
    // otro: a file beside "e (1).lzr", whose name a pattern must take letter for letter;
    // bloqueado: a save still writing it holds it locked
    columnas<QString, bool, bool>("otro", "bloqueado", "seQuita");
    fila("uno nuestro", "e (1).lzr.guardando-a1B2c3", false, true);
    fila("uno nuestro que se escribe", "e (1).lzr.guardando-a1B2c3", true, false);
    fila("que acaba en el nombre", "mi e (1).lzr.guardando-a1B2c3", false, false);
    fila("de letras de más", "e (1).lzr.guardando-a1B2c3d", false, false);
}

// A save removes the temporary files that killed saves of the same file left, and nothing else.
void TstFallos::temporalesAjenos() {
    QFETCH(QString, otro);
    QFETCH(bool, bloqueado);
    QFETCH(bool, seQuita);
    QTemporaryDir d;
    QFile f(d.filePath(otro));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(!bloqueado || flock(f.handle(), LOCK_EX) == 0);
    guardaArchivoSeguro(d.filePath("e (1).lzr"), "nuevo");
    QCOMPARE(QFileInfo::exists(d.filePath(otro)), !seQuita);
}

int main(int argc, char** argv) {
    if (argc == 5 && qstrcmp(argv[1], kGuarda) == 0)
        return guarda(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                      QString::fromLocal8Bit(argv[4]));
    QApplication app(argc, argv);
    TstFallos t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_fallos.moc"
