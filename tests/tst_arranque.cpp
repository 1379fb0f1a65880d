#include "comun/comparar.h"
#include "comun/plataformadoble.h"
#include "comun/tablas.h"
#include "comun/ventanas.h"
#include "plataforma/arranque.h"
#include "plataforma/caratula.h"
#include "plataforma/plataformaqt.h"
#include "principal/lozarform.h"

#include <QDeadlineTimer>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>

class TstArranque : public QObject {
    Q_OBJECT
public:
    // Before the application exists: a runtime folder of this run's own, for itself and the
    // copies it starts, so that the single-copy lock there is neither a Lozar the user has open
    // nor another run of this test.
    static void initMain() {
        static QTemporaryDir ejecucion;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(ejecucion.path()));
    }

private slots:
    void caratulaTeclas_data();
    void caratulaTeclas();
    void caratulaReiniciaReloj();
    void arranque_data();
    void arranque();
    void segundaCopiaTerminaSola();
};

namespace {
// A splash over the shipped cover picture, with its signals counted.
struct Portada {
    PlataformaDoble doble;
    Caratula* c;
    QSignalSpy descargada;
    Portada() : c(new Caratula), descargada(c, &Caratula::descargada) {
        doble.directorio = QCoreApplication::applicationDirPath();
        c->Form_Load();
    }
    ~Portada() { delete c; }
};
} // namespace

void TstArranque::caratulaTeclas_data() {
    columnas<int, QString, bool>("tecla", "texto", "cierra");
    QTest::newRow("escape") << int(Qt::Key_Escape) << "\x1b" << true;
    QTest::newRow("flecha") << int(Qt::Key_Left) << "" << false;
}

void TstArranque::caratulaTeclas() {
    QFETCH(int, tecla);
    QFETCH(QString, texto);
    QFETCH(bool, cierra);
    Portada p;
    p.c->show();
    QKeyEvent ev(QEvent::KeyPress, tecla, Qt::NoModifier, texto);
    QCoreApplication::sendEvent(p.c, &ev);
    QCOMPARE(p.descargada.count(), cierra ? 1 : 0);
    if (!cierra) { // a click on the picture closes it
        QTest::mouseClick(p.c->Image1, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(p.descargada.count(), 1);
    }
}

// On every activation the splash's wait starts over: a timer far from its end is back at 3 s.
void TstArranque::caratulaReiniciaReloj() {
    Portada p;
    p.c->Timer1->start(3600000);
    p.c->Form_Activate();
    QVERIFY(p.c->Timer1->isActive() && p.c->Timer1->interval() == 3000);
    p.c->Timer1->start(1); // and when it runs out, the splash goes
    QTRY_COMPARE(p.descargada.count(), 1);
}

void TstArranque::arranque_data() {
    // portada: empty for none; mensaje: a pattern of the one message, empty for none; the main
    // window shows where the run ends well
    columnas<QByteArray, int, QString>("portada", "codigo", "mensaje");
    const QByteArray portada = leeArchivo(QCoreApplication::applicationDirPath() + "/CARATULA.JPG");
    fila("normal", portada, 0, "");
    const char* ilegible = "^No se ha podido leer la portada \".*/CARATULA\\.JPG\"\\.$";
    fila("sin portada", QByteArray(), 1, ilegible);
    fila("portada ilegible", QByteArray("no es una imagen"), 1, ilegible);
}

// The whole run, main() but for the platform: the splash, then the main window or the end.
void TstArranque::arranque() {
    QFETCH(QByteArray, portada);
    QFETCH(int, codigo);
    QFETCH(QString, mensaje);
    QTemporaryDir dir;
    if (!portada.isEmpty())
        escribeArchivo(dir.filePath("CARATULA.JPG"), portada);
    QFile::copy(QCoreApplication::applicationDirPath() + "/lozar.png", dir.filePath("lozar.png"));
    PlataformaDoble doble;
    doble.directorio = dir.path();

    // A user who waits: the splash goes, the main window comes and is closed.
    bool principalVista = false, conIcono = false;
    QTimer usuario;
    connect(&usuario, &QTimer::timeout, [&] {
        if (auto* c = visible<Caratula>())
            c->close();
        else if (auto* f = visible<LozarForm>()) {
            principalVista = true;
            conIcono = !f->windowIcon().isNull();
            f->close();
        }
    });
    usuario.start(20);
    QCOMPARE(ejecutaLozar(doble, [] { return new LozarForm; }), codigo);
    QCOMPARE(principalVista, codigo == 0);
    QCOMPARE(conIcono, codigo == 0); // set while the splash waits, not before it shows
    QCOMPARE(doble.mensajes.size(), mensaje.isEmpty() ? 0 : 1);
    if (!mensaje.isEmpty())
        QVERIFY2(doble.ultimoTexto().contains(QRegularExpression(mensaje)),
                 qPrintable(doble.ultimoTexto()));
}

namespace {
// A program this test starts, killed and waited for however the test ends.
struct Proceso : QProcess {
    ~Proceso() override {
        if (state() != QProcess::NotRunning) {
            kill();
            waitForFinished(10000);
        }
    }
};

// Polls `hecho` until it holds or `ms` have passed; events go on meanwhile.
bool espera(const std::function<bool()>& hecho, int ms) {
    QDeadlineTimer plazo(ms);
    while (!hecho()) {
        if (plazo.hasExpired())
            return false;
        QTest::qWait(50);
    }
    return true;
}
} // namespace

// The real executable, started while this test holds the single-instance lock, shows its
// warning on a virtual display and ends by itself once the warning is answered. The offscreen
// platform takes no input from outside, so the box is answered on an X server of our own. The
// waits are deadlines polled, long enough for a loaded machine, never fixed sleeps.
void TstArranque::segundaCopiaTerminaSola() {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    const QString xdotool = QStandardPaths::findExecutable("xdotool");
    if (xvfb.isEmpty() || xdotool.isEmpty())
        QSKIP("hacen falta Xvfb y xdotool");
    Proceso servidor; // declared first, so it outlives the program that draws on it
    servidor.start(xvfb, {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    QVERIFY(servidor.waitForStarted(30000));
    QVERIFY(espera([&] { return servidor.canReadLine(); }, 60000));
    const QString pantalla = ":" + QString::fromLatin1(servidor.readLine()).trimmed();

    QLockFile bloqueo(PlataformaQt::rutaBloqueo());
    QVERIFY2(bloqueo.tryLock(0), "otra copia de Lozar está abierta");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", pantalla);
    env.insert("QT_QPA_PLATFORM", "xcb");
    Proceso lozar;
    lozar.setProcessEnvironment(env);
    lozar.start(QCoreApplication::applicationDirPath() + "/lozar", {});
    QVERIFY(lozar.waitForStarted(30000));

    // The warning is the only visible window titled "Lozar".
    const auto xdo = [xdotool, env](const QStringList& args) {
        Proceso p;
        p.setProcessEnvironment(env);
        p.start(xdotool, args);
        p.waitForFinished(30000);
        return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
    };
    QString aviso;
    const bool visto = espera(
        [&] {
            aviso = xdo({"search", "--onlyvisible", "--name", "^Lozar$"});
            return !aviso.isEmpty() || lozar.state() == QProcess::NotRunning;
        },
        90000);
    QVERIFY2(visto && !aviso.isEmpty(),
             qPrintable("no se vio el aviso; la copia dijo: " +
                        QString::fromLocal8Bit(lozar.readAllStandardError().right(2000))));
    QCOMPARE(lozar.state(), QProcess::Running); // it waits for the answer
    // Answered again should a key arrive before the box takes it.
    QVERIFY2(espera(
                 [&] {
                     xdo({"windowfocus", "--sync", aviso.section('\n', 0, 0)});
                     xdo({"key", "Return"});
                     return lozar.waitForFinished(2000);
                 },
                 60000),
             "la segunda copia sigue viva tras su aviso");
    QVERIFY2(lozar.exitStatus() == QProcess::NormalExit && lozar.exitCode() == 0,
             lozar.readAllStandardError().right(4000).constData());
}

QTEST_MAIN(TstArranque)
#include "tst_arranque.moc"
