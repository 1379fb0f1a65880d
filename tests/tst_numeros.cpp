// Numbers as users type them, as our files keep them, as the program shows them, and as its
// tables give them.
#include "archivos/archivos.h"
#include "comun/comparar.h"
#include "comun/tablas.h"
#include "numeros/numeros.h"
#include "tablas/tablanormal.h"
#include "tablas/tablapearson.h"

#include <QTemporaryDir>
#include <fcntl.h>
#include <limits>

namespace {
const QLocale kC = QLocale::c(), kEeuu(QLocale::English, QLocale::UnitedStates);
constexpr double kMax = std::numeric_limits<double>::max();

// Each normal field holds a code of its place, r/100 + d/1000, so a lookup tells which
// record and column it read.
double codigo(int r, int d) {
    return r / 100.0 + d / 1000.0;
}

// One text read both ways: strictly (a number, or the error's number) and leniently.
struct Lectura {
    const char* nombre;
    QString texto;
    double estricto;
    int error;
    double flexible;
};
using Cuenta = std::function<double()>;
} // namespace
Q_DECLARE_METATYPE(Lectura)
Q_DECLARE_METATYPE(Cuenta)

class TstNumeros : public QObject {
    Q_OBJECT
private slots:
    void lecturas_data();
    void lecturas();
    void enCaja_data();
    void enCaja();
    void cuentas_data();
    void cuentas();
    void formato_data();
    void formato();
    void abcn_data();
    void abcn();
    void pearson_data();
    void pearson();
    void guardaSoloLoSuyo();

private:
    QTemporaryDir dir_;
};

void TstNumeros::lecturas_data() {
    columnas<QLocale, Lectura>("locale", "lectura");
    const Lectura filas[] = {
        {"entero", "12", 12, 0, 12},
        {"punto", "38.31", 38.31, 0, 38.31},
        {"coma", "38,31", 38.31, 0, 38.31},
        {"punto y coma", "1.234,5", 0, 13, 1.234},
        {"coma y punto", "1,234.5", 0, 13, 1.234},
        {"miles con punto", "12.345", 12.345, 0, 12.345},
        {"miles con coma", "12,345", 12.345, 0, 12.345},
        {"miles con blanco", "1 234", 0, 13, 1234},
        {"dos comas", "1,2,3", 0, 13, 1.2},
        {"exponente", "1,5E+2", 150, 0, 150},
        {"exponente negativo", "-2.5e-3", -0.0025, 0, -0.0025},
        {"exponente D", "1.5D2", 0, 13, 150},
        {"exponente sin cifras", "1E", 0, 13, 1},
        {"sin entero", ",5", 0.5, 0, 0.5},
        {"sin decimales", "5.", 5, 0, 5},
        {"blancos alrededor", "  -3,5 ", -3.5, 0, -3.5},
        {"tab y lf delante", " \t\n 4,5", 4.5, 0, 4.5},
        {"signo mas", "+7", 7, 0, 7},
        {"signo y blanco", "- 3", 0, 13, -3},
        {"signo solo", "-", 0, 13, 0},
        {"letras detras", "10,5x", 0, 13, 10.5},
        {"letras", "abc", 0, 13, 0},
        {"vacio", "", 0, 13, 0},
        {"hexadecimal", "&HFF", 0, 13, 255},
        {"inf no es numero", "inf", 0, 13, 0},
        {"desborda", "1e99999", 0, 6, kMax},
        {"desborda negativo", "-1e99999", 0, 6, -kMax},
        {"muy pequeno", "1e-99999", 0, 0, 0},
        {"mega de cifras", QString(1 << 20, QLatin1Char('9')), 0, 6, kMax},
        {"nul dentro", QString::fromUtf16(u"12\u000034", 5), 0, 13, 12},
        {"no latinas", QStringLiteral("١٢٣ абв"), 0, 13, 0},
    };
    const std::pair<const char*, QLocale> locales[] = {
        {"C", kC}, {"es_ES", kEspanol}, {"en_US", kEeuu}};
    for (const auto& [nombreLocale, locale] : locales)
        for (const Lectura& f : filas)
            QTest::addRow("%s %s", nombreLocale, f.nombre) << locale << f;
}

// Both readings give one number for one text, whatever the locale.
void TstNumeros::lecturas() {
    QFETCH(QLocale, locale);
    QFETCH(Lectura, lectura);
    LocaleFijo fijo(locale);
    double leido = 0;
    QCOMPARE(errorDe([&] { leido = leeEstricto(lectura.texto); }), lectura.error);
    if (!lectura.error)
        QCOMPARE(leido, lectura.estricto);
    QCOMPARE(leeFlexible(lectura.texto), lectura.flexible);
}

void TstNumeros::enCaja_data() {
    // error: 13 when the box holds no number; archivo: the text a study file writes
    columnas<QLocale, QString, double, int, QString>("locale", "texto", "valor", "error",
                                                     "archivo");
    const QLocale francia(QLocale::French, QLocale::France);
    fila("es agrupado", kEspanol, "1.250,00", 1250.0, 0, "1250.00");
    fila("es miles sin decimales", kEspanol, "1.234.567", 1234567.0, 0, "1234567");
    fila("es un punto es decimal", kEspanol, "1.250", 1.25, 0, "1.250");
    fila("es coma decimal", kEspanol, " 20,5", 20.5, 0, " 20.5");
    fila("es agrupado con signo y exponente", kEspanol, "-1.250,5E2", -125050.0, 0, "-1250.5E2");
    fila("es agrupado al estilo de otro", kEspanol, "1,250.00", 0.0, 13, "1,250.00");
    fila("es grupo de dos", kEspanol, "12.50,0", 0.0, 13, "12.50,0");
    fila("es letras", kEspanol, "abc", 0.0, 13, "abc");
    fila("es vacia", kEspanol, "", 0.0, 13, "");
    fila("en agrupado", kEeuu, "1,250.00", 1250.0, 0, "1250.00");
    fila("en agrupado al estilo de otro", kEeuu, "1.250,00", 0.0, 13, "1.250,00");
    fila("fr agrupado", francia, QStringLiteral("1\u202f250,5"), 1250.5, 0, "1250.5");
}

// A box's number as its user writes it, and as a study file keeps it.
void TstNumeros::enCaja() {
    QFETCH(QLocale, locale);
    QFETCH(QString, texto);
    QFETCH(double, valor);
    QFETCH(int, error);
    QFETCH(QString, archivo);
    LocaleFijo fijo(locale);
    double leido = 0;
    QCOMPARE(errorDe([&] { leido = leeEnCaja(texto); }), error);
    QCOMPARE(leido, valor);
    QCOMPARE(comoEnArchivo(texto), archivo);
    if (!error) // the file's text reads the same in any locale
        for (const QLocale& otro : {kC, kEspanol})
            QCOMPARE((LocaleFijo(otro), leeEnCaja(archivo)), valor);
}

void TstNumeros::formato_data() {
    columnas<QLocale, double, QString, QString>("locale", "valor", "patron", "texto");
    fila("0 mitad", kC, 2.5, "0", "3");
    fila("0.00 mitad", kC, 0.125, "0.00", "0.13");
    fila("0.00 mitad decimal", kC, 2.675, "0.00", "2.68");
    fila("0.000 %", kC, 0.0398776, "0.000 %", "3.988 %");
    fila("0.0% negativo", kC, -0.05, "0.0%", "-5.0%");
    fila("$ 0.00", kC, 11.5, "$ 0.00", "$ 11.50");
    fila("$0.00 negativo", kC, -3.004, "$0.00", "-$3.00");
    fila("0.0### muchas", kC, 7.123456, "0.0###", "7.1235");
    fila("0.0##", kC, 0.41666666, "0.0##", "0.417");
    fila("0.000 ppm", kC, 0.5, "0.000 ppm", "0.500 ppm");
    fila("cero negativo sin signo", kC, -0.0004, "0.000", "0.000");
    fila("acarreo", kC, 9.9996, "0.000", "10.000");
    fila("es coma", kEspanol, 10.5, "0.000", "10,500");
    fila("es pct", kEspanol, 0.9973, "0.000 %", "99,730 %");
    fila("es dolar", kEspanol, -11.5, "$ 0.00", "-$ 11,50");
    // No pattern: the general format, which reads back as the value.
    fila("general cero", kC, 0.0, "", "0");
    fila("general suma binaria", kC, 0.1 + 0.2, "", "0.3");
    fila("general exponente grande", kC, 1e15, "", "1E+15");
    fila("general exponente pequeno", kC, 0.00001, "", "1E-05");
    fila("general es coma", kEspanol, 12.5, "", "12,5");
}

void TstNumeros::formato() {
    QFETCH(QLocale, locale);
    QFETCH(double, valor);
    QFETCH(QString, patron);
    QFETCH(QString, texto);
    LocaleFijo fijo(locale);
    QCOMPARE(patron.isEmpty() ? formatoGeneral(valor) : formatea(valor, patron), texto);
    if (patron.isEmpty())
        QCOMPARE(leeEstricto(texto), valor == 0.1 + 0.2 ? 0.3 : valor);
}

void TstNumeros::cuentas_data() {
    columnas<Cuenta, double, int>("cuenta", "resultado", "error");
    fila("division", Cuenta([] { return div(6.0, 4.0); }), 1.5, 0);
    fila("division por cero", Cuenta([] { return div(5.0, 0.0); }), 0.0, 0);
    fila("division desborda", Cuenta([] { return div(1e300, 1e-300); }), 0.0, 6);
    fila("trunca hacia abajo", Cuenta([] { return Trunca(-2.5); }), -3.0, 0);
    fila("trunca desborda", Cuenta([] { return Trunca(1e10); }), 0.0, 6);
    fila("trunca desborda negativo", Cuenta([] { return Trunca(-1e10); }), 0.0, 6);
    // Our own files keep "." alone: a comma ends the number.
    fila("dato con coma", Cuenta([] { return leeDato(u"0,49865"); }), 0.0, 0);
    fila("dato con punto", Cuenta([] { return leeDato(u"  0.49865"); }), 0.49865, 0);
}

void TstNumeros::cuentas() {
    QFETCH(Cuenta, cuenta);
    QFETCH(double, resultado);
    QFETCH(int, error);
    double r = 0;
    QCOMPARE(errorDe([&] { r = cuenta(); }), error);
    QCOMPARE(r, resultado);
}

void TstNumeros::abcn_data() {
    // registro 0: no table at first
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
    QTest::newRow("falta, luego está") << 1.0 << 0 << 0 << 1;
}

// Each lookup reads the field its code names. A missing table is an error; nothing is created,
// and once the file is there the next lookup reads it.
void TstNumeros::abcn() {
    QFETCH(double, z);
    QFETCH(int, registro);
    QFETCH(int, columna);
    QFETCH(int, signo);
    QTemporaryDir d;
    TablaNormal t(d.path());
    if (registro == 0) {
        QCOMPARE(errorDe([&] { t.Abcn(z); }), 53);
        QVERIFY(!QFile::exists(d.filePath("Kvacnt.tbq")));
        registro = 11;
    }
    QVERIFY(escribeArchivo(d.filePath("Kvacnt.tbq"), tablaNormalDePrueba([](int r, int k) {
                               return QByteArray::number(codigo(r, k - 1), 'f', 4);
                           })));
    const double c = codigo(registro, columna), a = registro <= 40 ? c : c / 10000 + 0.4999;
    LOZAR_COMPARA(t.Abcn(z), 0.5 + signo * a, 1e-15);
}

void TstNumeros::pearson_data() {
    columnas<double, double, double>("s", "k", "valor");
    QTest::newRow("s 0 k 0") << 0.0 << 0.0 << 8.01;
    QTest::newRow("s 0.35 a medias") << 0.35 << 0.0 << 8.045;
    QTest::newRow("k -0.3 a medias") << 0.0 << -0.3 << 6.51;
    QTest::newRow("k 0.3 media de filas") << 0.4 << 0.3 << 9.55;
    QTest::newRow("entre cuatro casillas") << 0.35 << -0.3 << 6.545;
    QTest::newRow("s 2.5 recortada") << 2.5 << 0.0 << 8.0 + (0.20 + (0.21 - 0.20) * 0.99);
    QTest::newRow("k 15 recortada") << 0.0 << 15.0 << 68.01 + 0.95;
    QTest::newRow("campo en blanco cuenta 0") << 0.2 << 2.4 << 0.0;
}

// Pearson field of record r, column c holds r + c/100; one is left blank.
void TstNumeros::pearson() {
    QFETCH(double, s);
    QFETCH(double, k);
    QFETCH(double, valor);
    QVERIFY(escribeArchivo(dir_.filePath("kvtab1A.tbq"), tablaPearsonDePrueba([](int r, int c) {
                               return (r == 20 && c == 3)
                                          ? QByteArray()
                                          : QByteArray::number(r + c / 100.0, 'f', 2);
                           })));
    LOZAR_COMPARA(TablaPearson(dir_.path(), QStringLiteral("1A"), s, k), valor, 1e-9);
}

// A save closes its own file once and nothing else: the descriptors around it stay open.
void TstNumeros::guardaSoloLoSuyo() {
    QVERIFY(::fcntl(1, F_GETFD) != -1);
    guardaArchivoSeguro(dir_.filePath("guardado.lzr"), "Titulo=x\r\n");
    QCOMPARE(leeArchivo(dir_.filePath("guardado.lzr")), QByteArray("Titulo=x\r\n"));
    QVERIFY(::fcntl(1, F_GETFD) != -1);
}

QTEST_GUILESS_MAIN(TstNumeros)
#include "tst_numeros.moc"
