#include "comun/comparar.h"
#include "shell/errores.h"
#include "shell/numeros.h"

#include <QtTest>
#include <limits>

namespace {
const QLocale kC = QLocale::c();
const QLocale kEs(QLocale::Spanish, QLocale::Spain);
constexpr double kMax = std::numeric_limits<double>::max();

} // namespace

class TstNumeros : public QObject {
    Q_OBJECT
private slots:
    void estricto_data();
    void estricto();
    void flexible_data();
    void flexible();
    void formato_data();
    void formato();
    void general_data();
    void general();
    void division_data();
    void division();
    void textoRaro_data();
    void textoRaro();
};

void TstNumeros::estricto_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<double>("valor");
    QTest::addColumn<int>("error");
    QTest::newRow("C entero") << kC << "12" << 12.0 << 0;
    QTest::newRow("C blancos alrededor") << kC << "  -3.5 " << -3.5 << 0;
    QTest::newRow("C miles") << kC << "1,000.5" << 1000.5 << 0;
    QTest::newRow("C coma decimal no") << kC << "10,5x" << 0.0 << 13;
    QTest::newRow("C vacio") << kC << "" << 0.0 << 13;
    QTest::newRow("C inf no es numero") << kC << "inf" << 0.0 << 13;
    QTest::newRow("C desborda") << kC << "1e99999" << 0.0 << 6;
    QTest::newRow("es coma decimal") << kEs << "10,5" << 10.5 << 0;
    QTest::newRow("es desborda") << kEs << "9e999" << 0.0 << 6;
}

void TstNumeros::estricto() {
    QFETCH(QLocale, locale);
    QFETCH(QString, texto);
    QFETCH(double, valor);
    QFETCH(int, error);
    LocaleFijo fijo(locale);
    double leido = 0;
    QCOMPARE(errorDe([&] { leido = leeEstricto(texto); }), error);
    if (!error)
        QCOMPARE(leido, valor);
}

void TstNumeros::flexible_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<double>("valor");
    QTest::newRow("vacio") << "" << 0.0;
    QTest::newRow("letras") << "abc" << 0.0;
    QTest::newRow("blancos tab y lf delante") << " \t\n 4.5" << 4.5;
    QTest::newRow("blancos dentro") << "1 2 . 5" << 12.5;
    QTest::newRow("tab dentro corta") << "1\t2" << 1.0;
    QTest::newRow("signo y blanco") << "- 3" << -3.0;
    QTest::newRow("exponente E") << "1.5E2x" << 150.0;
    QTest::newRow("hexadecimal") << "&HFF" << 255.0;
    QTest::newRow("ampersand solo") << "&H" << 0.0;
    QTest::newRow("desborda") << "1e99999" << kMax;
    QTest::newRow("desborda negativo") << "-1e99999" << -kMax;
}

void TstNumeros::flexible() {
    QFETCH(QString, texto);
    QFETCH(double, valor);
    LocaleFijo fijo(kEs); // never depends on the locale
    QCOMPARE(leeFlexible(texto), valor);
}

void TstNumeros::formato_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("valor");
    QTest::addColumn<QString>("patron");
    QTest::addColumn<QString>("texto");
    QTest::newRow("0 mitad") << kC << 2.5 << "0"
                             << "3";
    QTest::newRow("0.00 mitad") << kC << 0.125 << "0.00"
                                << "0.13";
    QTest::newRow("0.00 mitad decimal") << kC << 2.675 << "0.00"
                                        << "2.68";
    QTest::newRow("0.000 %") << kC << 0.0398776 << "0.000 %"
                             << "3.988 %";
    QTest::newRow("0.0% negativo") << kC << -0.05 << "0.0%"
                                   << "-5.0%";
    QTest::newRow("0.0% menos cien") << kC << -1.0 << "0.0%"
                                     << "-100.0%";
    QTest::newRow("$ 0.00") << kC << 11.5 << "$ 0.00"
                            << "$ 11.50";
    QTest::newRow("$0.00 negativo") << kC << -3.004 << "$0.00"
                                    << "-$3.00";
    QTest::newRow("0.0### muchas") << kC << 7.123456 << "0.0###"
                                   << "7.1235";
    QTest::newRow("0.0##") << kC << 0.41666666 << "0.0##"
                           << "0.417";
    QTest::newRow("0.000 ppm") << kC << 0.5 << "0.000 ppm"
                               << "0.500 ppm";
    QTest::newRow("cero negativo sin signo") << kC << -0.0004 << "0.000"
                                             << "0.000";
    QTest::newRow("acarreo") << kC << 9.9996 << "0.000"
                             << "10.000";
    QTest::newRow("es coma") << kEs << 10.5 << "0.000"
                             << "10,500";
    QTest::newRow("es pct") << kEs << 0.9973 << "0.000 %"
                            << "99,730 %";
    QTest::newRow("es dolar") << kEs << -11.5 << "$ 0.00"
                              << "-$ 11,50";
}

void TstNumeros::formato() {
    QFETCH(QLocale, locale);
    QFETCH(double, valor);
    QFETCH(QString, patron);
    QFETCH(QString, texto);
    LocaleFijo fijo(locale);
    QCOMPARE(formatea(valor, patron), texto);
}

void TstNumeros::general_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("valor");
    QTest::addColumn<QString>("texto");
    QTest::newRow("cero") << kC << 0.0 << "0";
    QTest::newRow("suma binaria") << kC << 0.1 + 0.2 << "0.3";
    QTest::newRow("exponente grande") << kC << 1e15 << "1E+15";
    QTest::newRow("exponente pequeno") << kC << 0.00001 << "1E-05";
    QTest::newRow("es coma") << kEs << 12.5 << "12,5";
}

void TstNumeros::general() {
    QFETCH(QLocale, locale);
    QFETCH(double, valor);
    QFETCH(QString, texto);
    LocaleFijo fijo(locale);
    QCOMPARE(formatoGeneral(valor), texto);
    QCOMPARE(leeEstricto(texto), valor == 0.1 + 0.2 ? 0.3 : valor); // reads back
}

void TstNumeros::division_data() {
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("cociente");
    QTest::addColumn<int>("error");
    QTest::newRow("normal") << 6.0 << 4.0 << 1.5 << 0;
    QTest::newRow("b cero") << 5.0 << 0.0 << 0.0 << 0;
    QTest::newRow("desborda") << 1e300 << 1e-300 << 0.0 << 6;
}

void TstNumeros::division() {
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, cociente);
    QFETCH(int, error);
    double r = 0;
    QCOMPARE(errorDe([&] { r = div(a, b); }), error);
    QCOMPARE(r, cociente);
}

void TstNumeros::textoRaro_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<double>("flexible");
    QTest::newRow("mega de cifras") << QString(1 << 20, QLatin1Char('9')) << kMax;
    QTest::newRow("nul dentro") << QString::fromUtf16(u"12\u000034", 5) << 12.0;
    QTest::newRow("no latinas") << QStringLiteral("١٢٣ абв") << 0.0;
}

void TstNumeros::textoRaro() {
    QFETCH(QString, texto);
    QFETCH(double, flexible);
    QCOMPARE(leeFlexible(texto), flexible);
    const int e = errorDe([&] { leeEstricto(texto); });
    QVERIFY2(e == 13 || e == 6, qPrintable(QString::number(e)));
}

QTEST_GUILESS_MAIN(TstNumeros)
#include "tst_numeros.moc"
