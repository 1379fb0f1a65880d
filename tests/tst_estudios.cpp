#include "analisis/dialogos.h"
#include "archivos/archivoestudio.h"
#include "comun/estudio.h"
#include "comun/ventanas.h"
#include "numeros/numeros.h"

#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QtTest>

using Valores = QList<std::pair<int, QString>>;

class TstEstudios : public QObject {
    Q_OBJECT
private slots:
    void idaYVuelta();
    void cambiosSinGuardar_data();
    void cambiosSinGuardar();
    void lectura_data();
    void lectura();
    void medicionesConElEstudio();
    void abrirEsTodoONada_data();
    void abrirEsTodoONada();
    void estudioIncompleto();
    void nuevoYRecientes();
};

// Every box as typed goes to the file, quoted, in the file's own order and code page, numbers with
// a point whatever was typed, a skewed shape after the 19 lines; the title, which holds quotes,
// unquoted, so that it reads back whole. A Spanish desktop shows the numbers in its separator,
// and saving what it read writes the same bytes, but for a title it cannot write.
void TstEstudios::idaYVuelta() {
    EstudioTemporal a(false);
    estudioTipico(*a.f, true);
    const Textos tecleado = {{"txtTitulo", "Eje 3.5\" = \"A\"ñ"},
                             {"xa", "-5"},
                             {"xb", "1e3"},
                             {"ya", "0.5"},
                             {"yb", " 80 "},
                             {"XRetI", "19.85"},
                             {"Sesgo", "0,9"},
                             {"Curtosis", "1.6"}};
    rellenaCajas(*a.f, tecleado);
    a.f->chkTaguchi->setCheckState(Qt::PartiallyChecked);
    a.guarda(a.dir.filePath("eje")); // typed without the studies' extension, which "Abrir" lists
    const QString ruta = a.dir.filePath("eje.lzr");
    const QByteArray escrito = leeArchivo(ruta);
    QCOMPARE(escrito,
             QByteArray("Titulo=Eje 3.5\" = \"A\"\xf1\r\n\"ya=0.5\"\r\n\"yb= 80 \"\r\n"
                        "\"YRetI=10\"\r\n\"YDesI=30\"\r\n\"YNomI=5\"\r\n\"YRetS=10\"\r\n"
                        "\"YDesS=30\"\r\n\"YNomS=5\"\r\n\"xa=-5\"\r\n\"xb=1e3\"\r\n"
                        "\"XDesI=10\"\r\n\"XRetI=19.85\"\r\n\"XObj=50\"\r\n\"XRetS=80\"\r\n"
                        "\"XDesS=90\"\r\n\"Media=52\"\r\n\"StdDev=8\"\r\n\"Taguchi=2\"\r\n"
                        "\"Sesgo=0.9\"\r\n\"Curtosis=1.6\"\r\n"));

    EstudioTemporal b(false, QByteArray(), kEspanol);
    b.abre(ruta);
    for (auto* c : a.f->findChildren<QLineEdit*>())
        QCOMPARE(b.f->findChild<QLineEdit*>(c->objectName())->text(),
                 c == a.f->txtTitulo ? c->text() : QString(c->text()).replace('.', ','));
    QCOMPARE(b.f->chkTaguchi->checkState(), Qt::PartiallyChecked);
    const QString copia = b.dir.filePath("copia.lzr");
    b.guarda(copia);
    QCOMPARE(leeArchivo(copia), escrito);
    // Typed in the desktop's separator, written with a point; a normal study stays 19 lines.
    rellenaCajas(*b.f, {{"StdDev", "0,07"}, {"Sesgo", "0"}, {"Curtosis", ""}});
    b.guarda(copia);
    const QByteArray normal = leeArchivo(copia);
    QVERIFY(normal.contains("\"StdDev=0.07\"") && normal.contains("\"XRetI=19.85\""));
    QCOMPARE(normal.count('\n'), 19);
    // A title the file's code page cannot hold: the file is untouched, the window still unsaved.
    rellenaCajas(*b.f, {{"txtTitulo", QStringLiteral("Eje Ø 20 → 30")}});
    b.doble.mensajes.clear();
    b.guarda(ruta);
    QCOMPARE(leeArchivo(ruta), escrito);
    QCOMPARE(b.doble.mensajes.size(), 1);
    QVERIFY(b.doble.ultimoTexto().startsWith("Lozar. MArchivoGuardarComo.\nLozar\n5.- El valor "
                                             "de Titulo"));
    QCOMPARE(b.doble.mensajes[0].icono, Icono::Exclamacion);
    QCOMPARE(b.f->windowTitle(), "Lozars de No Calidad. " + copia + "*");
}

void TstEstudios::cambiosSinGuardar_data() {
    // respuesta: to the question, -1 when nothing was typed
    columnas<int>("respuesta");
    fila("sin cambios", -1);
    fila("Sí", int(Respuesta::Si));
    fila("No", int(Respuesta::No));
    fila("Cancelar", int(Respuesta::Cancelar));
}

// Typed into the shown window: closing it asks first, and only then; all but Cancelar close it,
// and Sí saves first. Nuevo and opening ask the same (nuevoYRecientes, estudioIncompleto).
void TstEstudios::cambiosSinGuardar() {
    QFETCH(int, respuesta);
    const bool cambiar = respuesta >= 0, sigue = respuesta != int(Respuesta::Cancelar);
    EstudioTemporal v(false);
    const QString propio = v.dir.filePath("propio.lzr");
    v.guarda(propio);
    const QByteArray antes = leeArchivo(propio);
    v.f->setAttribute(Qt::WA_DeleteOnClose, false);
    v.f->show();
    QVERIFY(QTest::qWaitForWindowActive(v.f));
    if (cambiar) {
        v.f->XObj->setFocus();
        QTest::keyClicks(v.f->XObj, "5");
        QCOMPARE(v.f->windowTitle(), "Lozars de No Calidad. " + propio + "*");
    }
    if (respuesta >= 0)
        v.doble.respuestas << Respuesta(respuesta);
    const qsizetype mensajes = v.doble.mensajes.size();
    QCOMPARE(v.f->close(), sigue);
    QCOMPARE(v.doble.mensajes.size() - mensajes, cambiar ? 1 : 0);
    if (cambiar)
        QCOMPARE(v.doble.mensajes[mensajes].texto,
                 QStringLiteral("¿Desea guardar los cambios del estudio?"));
    QCOMPARE(leeArchivo(propio) != antes, respuesta == int(Respuesta::Si)); // to its own file
    if (!sigue)
        QCOMPARE(v.f->XObj->text(), QStringLiteral("05")); // nothing lost
}

void TstEstudios::lectura_data() {
    columnas<QByteArray, Valores, int>("bytes", "valores", "error");
    fila("sin comillas minusculas", QByteArray("xobj=12.5\r\n"), Valores{{13, "12.5"}}, 0);
    fila("igual en el valor", QByteArray("\"Titulo=a=b\"\r\n"), Valores{{0, "a=b"}}, 0);
    fila("sin igual y vacias", QByteArray("hola\r\n\r\nfoo=1\r\n=2\r\n"), Valores{}, 0);
    fila("coma parte la linea", QByteArray("titulo=a,b=c\r\n"), Valores{{0, "a"}}, 0);
    fila("taguchi 0.5", QByteArray("Taguchi=0.5"), Valores{{18, "0"}}, 0);
    fila("taguchi 1.5", QByteArray("Taguchi=1.5"), Valores{{18, "2"}}, 0);
    fila("comilla sin cerrar", QByteArray("\"xa=1\r\nxb=2"), Valores{{9, "1\r\nxb=2"}}, 0);
    // Whatever editor saved it last: the title keeps its accents.
    const QString titulo = QStringLiteral("Café, ñandú y €");
    const QByteArray linea = "\"Titulo=" + titulo.toUtf8() + "\"\r\n";
    fila("windows-1252",
         QByteArray("\"Titulo=Caf\xE9, \xF1"
                    "and\xFA y \x80\"\r\n"),
         Valores{{0, titulo}}, 0);
    fila("utf-8", linea, Valores{{0, titulo}}, 0);
    fila("utf-8 con marca", "\xEF\xBB\xBF" + linea, Valores{{0, titulo}}, 0);
}

void TstEstudios::lectura() {
    QFETCH(QByteArray, bytes);
    QFETCH(Valores, valores);
    QFETCH(int, error);
    const LecturaEstudio l = leeEstudio(bytes);
    QCOMPARE(l.valores, valores);
    QCOMPARE(l.error ? l.error->numero() : 0, error);
}

namespace {
// The usual study with 30 measurements in subgroups of 5.
void conMediciones(EstudioTemporal& v) {
    estudioTipico(*v.f);
    QString valores;
    for (int i = 0; i < 30; ++i)
        valores += QString::number(50 + (i % 7) * 1.25 - (i % 5) * 0.5 + i * 0.01) + '\n';
    v.doble.portapapeles = valores;
    [&] {
        QVERIFY(conDialogo<DlgMediciones>([&] { v.f->MEdicionPegar_Click(); },
                                          [](DlgMediciones& d) {
                                              d.cboSubgrupos->setCurrentIndex(4); // of 5
                                              d.cmdNormal->click();
                                          }));
    }();
}
} // namespace

// The measurements go with the study and come back whole, to the same bytes and the same index.
void TstEstudios::medicionesConElEstudio() {
    EstudioTemporal v(false);
    conMediciones(v);
    const QString ruta = v.dir.filePath("medido.lzr");
    v.guarda(ruta);
    const QByteArray bytes = leeArchivo(ruta);
    QVERIFY(bytes.contains("\"StdDev=") && bytes.contains("\"Mediciones=30\"\r\n"));
    QVERIFY(bytes.contains("\"Origen=el portapapeles\"\r\n\"Columna="));
    QVERIFY(bytes.endsWith("\t5\r\n")); // the last value, in the sixth subgroup

    EstudioTemporal otra(false);
    otra.abre(ruta);
    QVERIFY(otra.doble.mensajes.isEmpty());
    // "Ver > Mediciones…": each value with its subgroup and order, how many, and whence.
    QVERIFY(conDialogo<DlgVerMediciones>(
        [&] { otra.f->MVerMediciones->trigger(); },
        [&](DlgVerMediciones& d) {
            const QAbstractItemModel* t = d.tabla->model();
            QCOMPARE(t->rowCount(), 30);
            QCOMPARE(t->index(29, 0).data().toString(), formatoGeneral(otra.f->mediciones()[29]));
            QCOMPARE(t->index(29, 1).data().toInt(), 6);
            QCOMPARE(t->index(29, 2).data().toInt(), 30);
            QVERIFY(d.lblOrigen->text().startsWith("30 mediciones del portapapeles"));
        }));
    QVERIFY(otra.f->lblCpk->text().startsWith("Ppk ")); // σ is the data's overall s
    QVERIFY(!otra.f->windowTitle().endsWith('*'));
    otra.guarda(ruta);
    QCOMPARE(leeArchivo(ruta), bytes);
    // A typed σ is the study's own again: Cpk.
    rellenaCajas(*otra.f, {{"StdDev", "3"}});
    otra.f->cmdNormal_Click();
    QVERIFY(otra.f->lblCpk->text().startsWith("Cpk "));
}

void TstEstudios::abrirEsTodoONada_data() {
    columnas<QByteArray, QString>("archivo", "mensaje");
    const QByteArray tipico =
        "\"Titulo=B\"\r\n\"ya=0\"\r\n\"yb=100\"\r\n\"YRetI=1\"\r\n\"YDesI=3\"\r\n"
        "\"YNomI=5\"\r\n\"YRetS=1\"\r\n\"YDesS=3\"\r\n\"YNomS=5\"\r\n\"xa=0\"\r\n"
        "\"xb=100\"\r\n\"XDesI=1\"\r\n\"XRetI=2\"\r\n\"XObj=3\"\r\n\"XRetS=4\"\r\n"
        "\"XDesS=5\"\r\n\"Media=3\"\r\n\"StdDev=1\"\r\n";
    const QString abrir = QStringLiteral("Lozar. MArchivoAbrir.\nLozar\n");
    fila("taguchi 3", tipico + "\"Taguchi=3\"\r\n", abrir + "380.- El valor de la propiedad");
    fila("medicion que no es un numero",
         tipico + "\"Taguchi=0\"\r\n\"Mediciones=2\"\r\n1.5\r\nabc\r\n",
         abrir + "13.- La medición 2 del estudio no es un número: «abc»");
    fila("medicion infinita", tipico + "\"Mediciones=2\"\r\n1.5\r\ninf\r\n",
         abrir + "13.- La medición 2 del estudio no es un número: «inf»");
    fila("mediciones cortadas", tipico + "\"Mediciones=3\"\r\n1.5\r\n2.5\r\n",
         abrir + "62.- El estudio termina antes que sus mediciones: anuncia 3 y trae 2");
    fila("subgrupo en algunas", tipico + "\"Mediciones=2\"\r\n1.5\t1\r\n2.5\r\n", abrir + "13.- ");
}

// A file that cannot be read whole leaves the study on screen, its file and its state as they
// were: saving then writes the study that was open, to its own file, byte for byte.
void TstEstudios::abrirEsTodoONada() {
    QFETCH(QByteArray, archivo);
    QFETCH(QString, mensaje);
    EstudioTemporal v(false);
    conMediciones(v);
    const QString a = v.dir.filePath("A.lzr"), b = v.dir.filePath("B.lzr");
    v.guarda(a);
    const QByteArray antes = leeArchivo(a);
    v.abre(a);
    const QStringList ventana = textosDeVentana(*v.f);
    escribeArchivo(b, archivo);
    v.doble.mensajes.clear();
    v.abre(b);
    QCOMPARE(v.doble.mensajes.size(), 1);
    QVERIFY2(v.doble.ultimoTexto().startsWith(mensaje), qPrintable(v.doble.ultimoTexto()));
    QCOMPARE(textosDeVentana(*v.f), ventana);
    v.f->MArchivoGuardar_Click();
    QCOMPARE(leeArchivo(a), antes);
}

// The file is the study: what it lacks is empty, and the user hears which, once.
void TstEstudios::estudioIncompleto() {
    EstudioTemporal v(false);
    estudioTipico(*v.f, true);
    const QString ruta = v.dir.filePath("parcial.lzr");
    escribeArchivo(ruta, "\"Titulo=Solo esto\"\r\nmedia=7\r\n");
    v.doble.respuestas << Respuesta::No; // the study typed before is not saved
    v.abre(ruta);
    QCOMPARE(v.f->Media->text(), QStringLiteral("7"));
    QCOMPARE(v.f->XObj->text(), QString());
    QCOMPARE(v.f->chkTaguchi->checkState(), Qt::Unchecked);
    QCOMPARE(v.doble.mensajes.size(), 2);
    const QString m = v.doble.ultimoTexto();
    QVERIFY2(m.contains("«Objetivo»") && m.contains("«Desv. Std.»") && m.contains("«Taguchi»") &&
                 !m.contains("«Media»"),
             qPrintable(m));
    // The last occurrence of a key wins.
    escribeArchivo(ruta, "XObj=40\r\nXObj=45\r\n");
    v.abre(ruta);
    QCOMPARE(v.f->XObj->text(), QStringLiteral("45"));
}

// A saved study is listed among the recent ones of the next window and opens from there;
// "Nuevo" asks about the changes and puts back the boxes the program starts with.
void TstEstudios::nuevoYRecientes() {
    QTemporaryDir ajustes;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ajustes.path());
    EstudioTemporal a;
    const QString ruta = a.dir.filePath("reciente.lzr");
    a.guarda(ruta);
    EstudioTemporal b(false);
    const QStringList inicial = textosDeVentana(*b.f);
    emit b.f->MArchivoRecientes->aboutToShow();
    const QList<QAction*> r = b.f->MArchivoRecientes->actions();
    QCOMPARE(r.size(), 1);
    QCOMPARE(r[0]->text(), QStringLiteral("&1 reciente.lzr"));
    r[0]->trigger();
    QCOMPARE(b.f->windowTitle(), "Lozars de No Calidad. " + ruta);
    rellenaCajas(*b.f, {{"Media", "60"}});
    b.doble.respuestas << Respuesta::Cancelar;
    b.f->MArchivoNuevo_Click(); // cancelled: the study stays
    QCOMPARE(b.f->Media->text(), QStringLiteral("60"));
    b.doble.respuestas << Respuesta::No;
    b.f->MArchivoNuevo_Click();
    QCOMPARE(textosDeVentana(*b.f), inicial); // the boxes and the title of a new study
    // Ctrl+S now asks for a name: the new study is nobody's file.
    b.f->MArchivoGuardar_Click();
    QCOMPARE(b.doble.dialogos.last(), QStringLiteral("guardar"));
}

QTEST_MAIN(TstEstudios)
#include "tst_estudios.moc"
