#include "comun/comparar.h"
#include "comun/tablas.h"
#include "numeros/errores.h"
#include "tablas/tablanormal.h"
#include "tablas/tablapearson.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Each normal field holds a code of its place, r/100 + d/1000, so a lookup tells which
// record and column it read.
double codigo(int r, int d) {
    return r / 100.0 + d / 1000.0;
}

QByteArray tablaNormalCodificada() {
    return tablaNormalDePrueba(
        [](int r, int k) { return QByteArray::number(codigo(r, k - 1), 'f', 4); });
}

// Pearson field of record r, column c holds r + c/100; one is left blank.
QByteArray tablaPearsonCodificada() {
    return tablaPearsonDePrueba([](int r, int c) {
        return (r == 20 && c == 3) ? QByteArray() : QByteArray::number(r + c / 100.0, 'f', 2);
    });
}

} // namespace

class TstTablas : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void abcn_data();
    void abcn();
    void tablaNormalFalta();
    void pearson_data();
    void pearson();

private:
    QTemporaryDir dir_;
};

void TstTablas::initTestCase() {
    QVERIFY(escribeArchivo(dir_.filePath("Kvacnt.tbq"), tablaNormalCodificada()));
    QVERIFY(escribeArchivo(dir_.filePath("kvtab1A.tbq"), tablaPearsonCodificada()));
}

void TstTablas::abcn_data() {
    columnas<double, int, int, int>("z", "registro", "columna", "signo");
    QTest::newRow("1") << 1.0 << 11 << 0 << 1;
    QTest::newRow("1.234") << 1.234 << 13 << 3 << 1;
    QTest::newRow("0.125 sube") << 0.125 << 2 << 3 << 1;
    QTest::newRow("0.004 cuenta como cero") << 0.004 << 1 << 0 << -1;
    QTest::newRow("3.994") << 3.994 << 40 << 9 << 1;
    QTest::newRow("3.995 decimas") << 3.995 << 41 << 0 << 1;
    QTest::newRow("4.26") << 4.26 << 41 << 3 << 1;
    QTest::newRow("6") << 6.0 << 43 << 0 << 1;
    QTest::newRow("1e9") << 1e9 << 43 << 0 << 1;
    QTest::newRow("-6.4") << -6.4 << 43 << 0 << -1;
}

void TstTablas::abcn() {
    QFETCH(double, z);
    QFETCH(int, registro);
    QFETCH(int, columna);
    QFETCH(int, signo);
    TablaNormal t(dir_.path());
    const double a =
        registro <= 40 ? codigo(registro, columna) : codigo(registro, columna) / 10000 + 0.4999;
    LOZAR_COMPARA(t.Abcn(z), 0.5 + signo * a, 1e-15);
}

// A missing table is an error naming it; nothing is created, and once the file is there the
// next lookup reads it.
void TstTablas::tablaNormalFalta() {
    QTemporaryDir d;
    const QString ruta = d.filePath("Kvacnt.tbq");
    TablaNormal t(d.path());
    QCOMPARE(errorDe([&] { t.Abcn(1); }), 53);
    QVERIFY(!QFile::exists(ruta));
    QVERIFY(escribeArchivo(ruta, tablaNormalCodificada()));
    LOZAR_COMPARA(t.Abcn(1), 0.5 + codigo(11, 0), 1e-15);
}

void TstTablas::pearson_data() {
    columnas<double, double, double>("s", "k", "valor");
    QTest::newRow("s 0 k 0") << 0.0 << 0.0 << 8.01;
    QTest::newRow("s 0.35 a medias") << 0.35 << 0.0 << 8.045;
    QTest::newRow("k -0.3 a medias") << 0.0 << -0.3 << 6.51;
    QTest::newRow("k 0.3 media de filas") << 0.4 << 0.3 << 9.55;
    QTest::newRow("s 2.5 recortada") << 2.5 << 0.0 << 8.0 + (0.20 + (0.21 - 0.20) * 0.99);
    QTest::newRow("k 15 recortada") << 0.0 << 15.0 << 68.01 + 0.95;
    QTest::newRow("campo en blanco cuenta 0") << 0.2 << 2.4 << 0.0;
}

void TstTablas::pearson() {
    QFETCH(double, s);
    QFETCH(double, k);
    QFETCH(double, valor);
    LOZAR_COMPARA(TablaPearson(dir_.path(), QStringLiteral("1A"), s, k), valor, 1e-9);
}

QTEST_GUILESS_MAIN(TstTablas)
#include "tst_tablas.moc"
