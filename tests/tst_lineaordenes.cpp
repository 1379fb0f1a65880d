// Lozar from a command line: the real executable run as a script runs it, without a display,
// and the portfolio's order, totals and CSV beneath it.
#include "archivos/archivoestudio.h"
#include "cartera/cartera.h"
#include "comun/cajasmapa.h"
#include "comun/comparar.h"
#include "comun/tablas.h"
#include "costo/exacto.h"
#include "tablas/tablanormal.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TstLineaOrdenes : public QObject {
    Q_OBJECT
private slots:
    void salidas_data();
    void salidas();
    void costo_data();
    void costo();
    void informe();
    void cartera_data();
    void cartera();
    void ordenDeCartera();
    void csv();
};

namespace {
struct Corrida {
    int codigo = -1;
    QString salida, error;
};

// The executable with no display and no platform chosen, as a cron job or a CI runner has it.
Corrida corre(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(v));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(LOZAR_EJECUTABLE), args);
    Corrida c;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return c;
    c.codigo = p.exitCode();
    c.salida = QString::fromUtf8(p.readAllStandardOutput());
    c.error = QString::fromUtf8(p.readAllStandardError());
    return c;
}

QString ejemplo(const char* nombre) {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/ejemplos/") +
           QLatin1String(nombre);
}

TablaNormal& tabla() {
    static TablaNormal t(QCoreApplication::applicationDirPath());
    return t;
}

// The example of the shaft, with its mean and yearly units changed, saved as `ruta`.
void escribeVariante(const QString& ruta, const QString& media, const QString& unidades) {
    EstudioEnArchivo e = leeEstudioEntero(leeArchivo(ejemplo("1-diametro-de-eje.lzr")));
    e.valores[16] = media;
    e.valores[kCampoUnidades] = unidades;
    QVERIFY(escribeArchivo(ruta, escribeEstudio(e.valores)));
}
} // namespace

void TstLineaOrdenes::salidas_data() {
    // args; the exit code; what stdout and stderr hold ("" for anything)
    columnas<QStringList, int, QString, QString>("args", "codigo", "salida", "error");
    fila("ayuda", QStringList{"--help"}, 0, "--cartera CARPETA", "");
    fila("versión", QStringList{"--version"}, 0, "Lozar 1.0\n", "");
    fila("opción desconocida", QStringList{"--costes", "x.lzr"}, 2, "", "opción desconocida");
    fila("sin argumento", QStringList{"--costo"}, 2, "", "le falta su argumento");
    fila("argumento que es otra opción", QStringList{"--informe", "--json"}, 2, "",
         "le falta su argumento");
    fila("informe sin salida", QStringList{"--informe", ejemplo("1-diametro-de-eje.lzr")}, 2, "",
         "necesita -o");
    fila("unidades negativas", QStringList{"--cartera", ".", "--unidades-por-defecto", "-3"}, 2, "",
         "no negativo");
    fila("unidades que no son número", QStringList{"--cartera", ".", "--unidades-por-defecto=1,5"},
         2, "", "no negativo");
    fila("dos órdenes", QStringList{"--costo", "a.lzr", "--cartera", "."}, 2, "", "una sola orden");
    fila("estudio que no existe", QStringList{"--costo", "/no/existe.lzr"}, 1, "",
         "/no/existe.lzr");
    fila("carpeta que no existe", QStringList{"--cartera", "/no/existe"}, 1, "", "no existe");
    fila("informe de un estudio que no existe",
         QStringList{"--informe", "/no/existe.lzr", "-o", "/tmp/nunca.pdf"}, 1, "",
         "/no/existe.lzr");
}

void TstLineaOrdenes::salidas() {
    QFETCH(QStringList, args);
    QFETCH(int, codigo);
    QFETCH(QString, salida);
    QFETCH(QString, error);
    const Corrida c = corre(args);
    QVERIFY2(c.codigo == codigo, qPrintable(QString::number(c.codigo) + ": " + c.error));
    QVERIFY2(c.salida.contains(salida), qPrintable(c.salida));
    QVERIFY2(c.error.contains(error), qPrintable(c.error));
    if (codigo != 0)
        QVERIFY(c.salida.isEmpty());
}

void TstLineaOrdenes::costo_data() {
    columnas<bool>("json");
    fila("clave y valor", false);
    fila("JSON", true);
}

// The exact cost the core computes for the file's own boxes, to the last bit.
void TstLineaOrdenes::costo() {
    QFETCH(bool, json);
    const QString ruta = ejemplo("1-diametro-de-eje.lzr");
    const Corrida c =
        corre(json ? QStringList{"--costo", ruta, "--json"} : QStringList{"--costo", ruta});
    QCOMPARE(c.codigo, 0);
    QVERIFY2(c.error.isEmpty(), qPrintable(c.error));
    QJsonObject o;
    if (json) {
        QJsonParseError e;
        o = QJsonDocument::fromJson(c.salida.toUtf8(), &e).object();
        QCOMPARE(e.error, QJsonParseError::NoError);
    } else {
        for (const QString& linea : c.salida.split('\n', Qt::SkipEmptyParts)) {
            const QStringList kv = linea.split('\t');
            QCOMPARE(kv.size(), 2);
            bool numero = false;
            const double v = kv[1].toDouble(&numero);
            o.insert(kv[0], numero ? QJsonValue(v) : QJsonValue(kv[1]));
        }
    }
    const EstudioEnArchivo e = leeEstudioEntero(leeArchivo(ruta));
    CajasMapa cajas;
    const Caja cajasDelArchivo[] = {Caja::ya,    Caja::yb,    Caja::YRetI, Caja::YDesI,
                                    Caja::YNomI, Caja::YRetS, Caja::YDesS, Caja::YNomS,
                                    Caja::xa,    Caja::xb,    Caja::XDesI, Caja::XRetI,
                                    Caja::XObj,  Caja::XRetS, Caja::XDesS};
    for (int i = 0; i < 15; ++i)
        cajas.textos[cajasDelArchivo[i]] = e.valores[i + 1];
    cajas.valorTaguchi = e.valores[kCampoTaguchi].toInt();
    const CostoExacto x =
        costoExacto(cajas, e.valores[16].toDouble(), e.valores[17].toDouble(), nullptr);
    QCOMPARE(o.value("costo_exacto").toDouble(), x.efectivo);
    QCOMPARE(o.value("no_calidad_por_unidad").toDouble(), x.noCalidad());
    QCOMPARE(o.value("desperdicio").toDouble(), x.desperdicio);
    QCOMPARE(o.value("titulo").toString(), e.valores[0]);
    QCOMPARE(o.value("indice").toString(), QStringLiteral("Cpk"));
    LOZAR_COMPARA(o.value("valor_indice").toDouble(), (20.15 - 20.02) / 0.06 / 3, 1e-12);
    QVERIFY(o.value("costo_efectivo").isDouble());
    if (json) // nothing to multiply a unit's cost by
        QVERIFY(o.value("no_calidad_por_anio").isNull());
}

void TstLineaOrdenes::informe() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("informe.pdf");
    const Corrida c = corre({"--informe", ejemplo("2-llenado-de-botellas.lzr"), "-o", pdf});
    QVERIFY2(c.codigo == 0, qPrintable(c.error));
    const QByteArray bytes = leeArchivo(pdf);
    QVERIFY(bytes.startsWith("%PDF"));
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        return;
    QProcess p;
    p.start("pdftotext", {pdf, "-"});
    QVERIFY(p.waitForFinished(60000));
    const QString titulo =
        leeEstudioEntero(leeArchivo(ejemplo("2-llenado-de-botellas.lzr"))).valores[0];
    const QString texto = QString::fromUtf8(p.readAllStandardOutput()).simplified();
    QVERIFY2(texto.contains(titulo.simplified()), qPrintable(titulo + " | " + texto));
}

void TstLineaOrdenes::cartera_data() {
    columnas<QStringList, int>("unidades", "columna");
    fila("sin unidades: por unidad", QStringList{}, 5);
    fila("con unidades: por año", QStringList{"--unidades-por-defecto", "20000"}, 7);
}

// Three studies and a broken file: the studies dearest first, the broken one with its error,
// the total of the column they are sorted by.
void TstLineaOrdenes::cartera() {
    QFETCH(QStringList, unidades);
    QFETCH(int, columna);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    for (const char* n : {"1-diametro-de-eje.lzr", "2-llenado-de-botellas.lzr"})
        QVERIFY(QFile::copy(ejemplo(n), dir.filePath(n)));
    QVERIFY(QFile::copy(ejemplo("3-espesor-de-recubrimiento.lzr"),
                        dir.filePath("sub/3-espesor-de-recubrimiento.lzr")));
    QVERIFY(escribeArchivo(dir.filePath("roto.lzr"), "\"Taguchi=7\"\r\n"));
    QVERIFY(escribeArchivo(dir.filePath("notas.txt"), "no es un estudio"));
    const Corrida c = corre(QStringList{"--cartera", dir.path()} + unidades);
    QVERIFY2(c.codigo == 0, qPrintable(c.error));
    const QStringList lineas = c.salida.split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lineas.size(), 6);
    QVERIFY(lineas[0].startsWith("Estudio,"));
    QVERIFY(lineas[4].startsWith("roto.lzr,") && lineas[4].contains("Taguchi=7"));
    QVERIFY(lineas[5].startsWith("Total,"));
    double total = 0, anterior = HUGE_VAL;
    for (int i = 1; i <= 3; ++i) {
        // Titles may hold commas: count columns from the end.
        const QStringList campos = lineas[i].split(',');
        const double v = campos[campos.size() - 9 + columna].toDouble();
        QVERIFY2(v <= anterior, qPrintable(lineas[i]));
        anterior = v;
        total += v;
    }
    LOZAR_COMPARA(lineas[5].split(',')[columna].toDouble(), total, 1e-9);
}

// Dearest first: a year's money where there are units, a unit's where not, the failed last; all
// scrap dearer than any in its group.
void TstLineaOrdenes::ordenDeCartera() {
    QTemporaryDir dir;
    escribeVariante(dir.filePath("a.lzr"), "20.02", "1000");
    escribeVariante(dir.filePath("b.lzr"), "20.10", "1000");
    escribeVariante(dir.filePath("c.lzr"), "20.00", "");
    escribeVariante(dir.filePath("d.lzr"), "25", "");
    escribeVariante(dir.filePath("e.lzr"), "no", "");
    QStringList orden;
    const QList<CostoDeEstudio> r = leeCartera(dir.path(), tabla());
    for (const CostoDeEstudio& c : r)
        orden << c.archivo;
    QCOMPARE(orden.join(' '), QStringLiteral("b.lzr a.lzr d.lzr c.lzr e.lzr"));
    QVERIFY(!r[2].exacto && !r[2].efectivo);
    QVERIFY(r[4].error.contains("Media"));
    const QStringList d = filasDeCartera(r)[3];
    QCOMPARE(d[4], QStringLiteral("100% Desperdicio"));
}

// Quotes where a field holds a comma, a quote or a line end; points whatever the locale; the
// total of yearly costs, and of unit costs only where there are no units.
void TstLineaOrdenes::csv() {
    const LocaleFijo espanol(kEspanol);
    CostoDeEstudio a, b, f;
    a.archivo = "a.lzr";
    a.titulo = "Eje, \"fino\"\nlínea 2";
    a.xDesI = 1, a.xRetI = 2, a.xObj = 3.5, a.xRetS = 5, a.xDesS = 6;
    a.efectivo = 10.5, a.exacto = 10.25, a.noCalidad = 0.25, a.unidades = 1000,
    a.noCalidadAnual = 250;
    a.nombreIndice = "Ppk", a.indice = 0.444;
    b.archivo = "b.lzr";
    b.efectivo = 3, b.exacto = 3, b.noCalidad = 0.125;
    b.nombreIndice = "Cpk";
    f.archivo = "f.lzr";
    f.error = "no coinciden, los tipos";
    const QByteArray esperado =
        "Estudio,Título,\"Límites (desperdicio, retrabajo, objetivo)\",Costo efectivo,Costo "
        "exacto,No calidad por unidad,Unidades por año,No calidad por año,Índice\r\n"
        "a.lzr,\"Eje, \"\"fino\"\"\nlínea 2\",1; 2; 3.5; 5; 6,10.5000,10.2500,0.2500,1000,"
        "250.0000,Ppk 0.44\r\n"
        "b.lzr,,0; 0; 0; 0; 0,3.0000,3.0000,0.1250,,,Cpk —\r\n"
        "f.lzr,\"no coinciden, los tipos\",,,,,,,\r\n"
        "Total,,,,,0.1250,,250.0000,\r\n";
    QCOMPARE(csvDeCartera({a, b, f}), esperado);
    const QList<QStringList> filas = filasDeCartera({a, b, f});
    QCOMPARE(filas[1].mid(2), (QStringList{"1; 2; 3,5; 5; 6", "$ 10,50", "$ 10,2500", "$ 0,2500",
                                           "1000", "$ 250,00", "Ppk 0,44"}));
}

QTEST_MAIN(TstLineaOrdenes)
#include "tst_lineaordenes.moc"
