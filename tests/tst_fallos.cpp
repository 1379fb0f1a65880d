#include "calculators/probpearson.h"
#include "comun/estudio.h"
#include "shell/picturebox.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

namespace {

// A folder made immutable: not even root may create, rename or delete in it. CI runs as root,
// for whom permission bits stop nothing; the attribute does.
class Inmutable {
public:
    explicit Inmutable(const QString& carpeta) : carpeta_(carpeta) {
        ok_ = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), carpeta_}) == 0;
    }
    ~Inmutable() {
        if (ok_)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), carpeta_});
    }
    bool ok() const { return ok_; }

private:
    QString carpeta_;
    bool ok_ = false;
};

enum class Falla {
    Falta,
    Truncada,
    NoNumerica,
    Carpeta,
    Vacio,
    Binario,
    LineaGigante,
    Gigante,
    Ilegible,
    CarpetaInmutable,
    DiscoLleno,
    DetalleInmutable
};
enum class Accion { Efectivo, Pearson, Abrir, Guardar };

} // namespace

class TstFallos : public QObject {
    Q_OBJECT
private slots:
    void fallos_data();
    void fallos();
};

void TstFallos::fallos_data() {
    // archivo: the file the fault is in; causa: a pattern of the message, empty: no message
    columnas<Accion, QString, Falla, QString>("accion", "archivo", "falla", "causa");
    struct Caso {
        Falla falla;
        const char *nombre, *causa;
    };
    const Caso tablas[] = {{Falla::Falta, "falta", "No se ha encontrado el archivo de tabla"},
                           {Falla::Truncada, "truncada", "está incompleto"},
                           {Falla::NoNumerica, "no numérica", "está dañado"},
                           {Falla::Carpeta, "carpeta", "es una carpeta"}};
    for (const char* t : {"Kvacnt.tbq", "kvtab1A.tbq", "kvtab1B.tbq", "kvtab2.tbq"})
        for (const auto& f : tablas)
            QTest::addRow("%s %s", t, f.nombre)
                << (t[0] == 'K' ? Accion::Efectivo : Accion::Pearson) << t << f.falla << f.causa;
    const Caso estudios[] = {
        {Falla::Falta, "que falta", "53.- No se ha encontrado el archivo"},
        {Falla::Vacio, "vacío", "13.- \".+\" no contiene ningún dato"},
        {Falla::Binario, "basura", "13.- \".+\" no contiene ningún dato"},
        {Falla::LineaGigante, "de una línea de 10 MB", "13.- \".+\" no contiene ningún dato"},
        {Falla::Gigante, "de 10 MB", "380.- El valor de Titulo es demasiado largo"},
        {Falla::Ilegible, "ilegible", "57.- No se puede leer .+error de entrada/salida"},
        {Falla::Carpeta, "carpeta", "57.- No se puede leer .+es una carpeta"}};
    for (const auto& f : estudios)
        QTest::addRow("abrir estudio %s", f.nombre)
            << Accion::Abrir << "estudio.lzr" << f.falla
            << QStringLiteral("^Lozar. MArchivoAbrir.\nLozar\n") + f.causa;
    fila("guardar en carpeta inmutable", Accion::Guardar, "estudio.lzr", Falla::CarpetaInmutable,
         "permiso denegado");
    fila("guardar con el disco lleno", Accion::Guardar, "estudio.lzr", Falla::DiscoLleno,
         "No queda espacio");
    fila("detalle en carpeta inmutable", Accion::Efectivo, "CostDetail.xls",
         Falla::DetalleInmutable, "");
}

// Whatever goes wrong: one clear Spanish message naming the file and the cause, no crash, and
// nothing lost: the window as it was, a study already on disk byte for byte.
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
    const QString estudio = estudios.filePath("estudio.lzr");
    escribeArchivo(estudio, "\"Titulo=Guardado antes\"\r\n");
    const QString ruta =
        (accion == Accion::Abrir || accion == Accion::Guardar) ? estudio : app + '/' + archivo;
    switch (falla) {
    case Falla::Falta:
        QFile::remove(ruta);
        break;
    case Falla::Truncada:
        escribeArchivo(ruta, leeArchivo(ruta).left(1000));
        break;
    case Falla::NoNumerica: {
        QByteArray b = leeArchivo(ruta);
        // The first field of the normal table; in a Pearson table, one the opening reads
        // (kurtosis 0, record 8).
        b.replace(archivo.startsWith('K') ? 4 : 7 * 133 + 5, 6, "  abc ");
        escribeArchivo(ruta, b);
        break;
    }
    case Falla::Carpeta:
        QFile::remove(ruta);
        QDir().mkdir(ruta);
        break;
    case Falla::Vacio:
        escribeArchivo(ruta, QByteArray());
        break;
    case Falla::Binario: {
        QByteArray b(4096, 0);
        QRandomGenerator r(11);
        for (char& c : b)
            c = char(r.bounded(256));
        escribeArchivo(ruta, b.replace('=', '#'));
        break;
    }
    case Falla::LineaGigante:
    case Falla::Gigante:
        escribeArchivo(ruta,
                       (falla == Falla::Gigante ? "Titulo=" : "") + QByteArray(10 << 20, 'x'));
        break;
    default:
        break;
    }
    // Reading /proc/self/mem from its start fails for root too.
    const QString aAbrir = falla == Falla::Ilegible ? QStringLiteral("/proc/self/mem") : ruta;
    const QByteArray estudioAntes = leeArchivo(estudio);
    std::unique_ptr<Inmutable> inmutable;
    if (falla == Falla::CarpetaInmutable || falla == Falla::DetalleInmutable) {
        inmutable =
            std::make_unique<Inmutable>(falla == Falla::CarpetaInmutable ? estudios.path() : app);
        if (!inmutable->ok())
            QSKIP("chattr +i no está disponible aquí");
    }
    e.doble.discoLleno = falla == Falla::DiscoLleno;
    e.doble.datosUsuario = estudios.filePath("datos de usuario");
    const auto ventana = [&] { // the title and every box
        QStringList t{e.f->windowTitle()};
        for (auto* c : e.f->findChildren<QLineEdit*>())
            t << c->text();
        return t;
    };
    const QStringList ventanaAntes = ventana();
    const QImage dibujoAntes = e.f->Pic1->imagen();

    std::unique_ptr<ProbPearson> calculadora;
    TablaNormal tabla(app);
    switch (accion) {
    case Accion::Efectivo:
        rellenaCajas(*e.f, {{"Media", "50"}, {"StdDev", "8"}});
        e.f->cmdLozarEfectivo_Click();
        break;
    case Accion::Pearson:
        e.doble.directorio = app;
        calculadora = std::make_unique<ProbPearson>(tabla);
        break;
    case Accion::Abrir:
        e.abre(aAbrir);
        break;
    case Accion::Guardar:
        e.guarda(ruta);
        break;
    }
    if (causa.isEmpty()) {
        // The detail file goes to the user's own folder instead, and the cost is computed.
        QVERIFY(QFile::exists(e.doble.datosUsuario + "/CostDetail.xls"));
        QVERIFY(!QFile::exists(app + "/CostDetail.xls"));
        QVERIFY(e.f->lblLozarEfec->text().startsWith('$'));
        QCOMPARE(e.doble.mensajes.size(), 1); // the question whether to see the details
        return;
    }
    // The question before dropping the typed study aside, one message.
    e.doble.mensajes.removeIf(
        [](const PlataformaDoble::Mensaje& m) { return m.botones == Botones::SiNoCancelar; });
    QCOMPARE(e.doble.mensajes.size(), 1);
    const QString m = e.doble.ultimoTexto();
    QVERIFY2(m.contains(QFileInfo(aAbrir).fileName()) && m.contains(QRegularExpression(causa)),
             qPrintable(m));
    QCOMPARE(leeArchivo(estudio), estudioAntes);
    if (accion == Accion::Abrir || accion == Accion::Guardar) {
        QCOMPARE(ventana(), ventanaAntes);
        QCOMPARE(e.f->Pic1->imagen(), dibujoAntes);
    }
}

QTEST_MAIN(TstFallos)
#include "tst_fallos.moc"
