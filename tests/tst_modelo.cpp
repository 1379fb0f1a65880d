#include "comun/cajasmapa.h"
#include "comun/comparar.h"
#include "numeros/errores.h"

#include <QtTest>

using Textos = QMap<Caja, QString>;

class TstModelo : public QObject {
    Q_OBJECT
private slots:
    void lozar_data();
    void lozar();
    void limiteMalo_data();
    void limiteMalo();
};

void TstModelo::lozar_data() {
    columnas<int, Textos, double, double>("taguchi", "cambios", "x", "costo");
    const Textos nada;
    // Steps: each limit belongs to the region on its right.
    fila("en XDesI ya retrabajo", 0, nada, 10.0, 15.0);
    fila("en XRetI ya nominal", 0, nada, 20.0, 5.0);
    fila("en XRetS retrabajo", 0, nada, 80.0, 15.0);
    fila("antes de XDesS", 0, nada, 89.99, 15.0);
    fila("gris cuenta como sin marcar", 2, nada, 35.0, 5.0);
    // The Taguchi bowl: YRet × (x − XObj)² / (XRet − XObj)² above the nominal.
    fila("taguchi objetivo", 1, nada, 50.0, 5.0);
    fila("taguchi 35", 1, nada, 35.0, 7.5);
    fila("taguchi cerca de XRetS", 1, nada, 79.9999, 5 + 10 * (29.9999 * 29.9999) / 900);
    fila("taguchi YRetI cero plano", 1, Textos{{Caja::YRetI, "0"}}, 35.0, 5.0);
    fila("taguchi XRetI igual XObj", 1, Textos{{Caja::XRetI, "50"}}, 35.0, 15.0);
    // Costs read leniently, limits strictly; limits out of order: the first test decides.
    fila("costo con letras", 0, Textos{{Caja::YDesI, "12abc"}}, 5.0, 17.0);
    fila("costo solo letras", 0, Textos{{Caja::YDesI, "abc"}}, 5.0, 5.0);
    fila("limites desordenados", 0, Textos{{Caja::XRetI, "5"}}, 7.0, 35.0);
    // The nominal cost: the straight line through (xa, YNomI) and (xb, YNomS), also beyond xb.
    fila("nominal en recta", 0, Textos{{Caja::YNomS, "15"}}, 50.0, 10.0);
    fila("nominal mas alla de xb", 0, Textos{{Caja::YNomS, "15"}, {Caja::xb, "40"}}, 50.0, 17.5);
    fila("nominal plano si xb igual xa", 0, Textos{{Caja::YNomS, "15"}, {Caja::xb, "0"}}, 50.0,
         5.0);
}

void TstModelo::lozar() {
    QFETCH(int, taguchi);
    QFETCH(Textos, cambios);
    QFETCH(double, x);
    QFETCH(double, costo);
    CajasMapa c = CajasMapa::tipico(taguchi);
    for (auto it = cambios.begin(); it != cambios.end(); ++it)
        c.textos[it.key()] = it.value();
    LOZAR_COMPARA(Lozar(c, x), costo, 1e-9);
}

void TstModelo::limiteMalo_data() {
    columnas<Caja, double, int>("caja", "x", "error");
    // A bad limit fails only when a test reaches it.
    QTest::newRow("XDesI vacio siempre") << Caja::XDesI << 95.0 << 13;
    QTest::newRow("XRetS letras no alcanzado") << Caja::XRetS << 15.0 << 0;
    QTest::newRow("XRetS letras alcanzado") << Caja::XRetS << 60.0 << 13;
    QTest::newRow("XDesS vacio alcanzado") << Caja::XDesS << 85.0 << 13;
    QTest::newRow("XObj usado por taguchi") << Caja::XObj << 25.0 << 13;
}

void TstModelo::limiteMalo() {
    QFETCH(Caja, caja);
    QFETCH(double, x);
    QFETCH(int, error);
    CajasMapa c = CajasMapa::tipico(1);
    c.textos[caja] = caja == Caja::XRetS ? QStringLiteral("abc") : QString();
    QCOMPARE(errorDe([&] { Lozar(c, x); }), error);
}

QTEST_GUILESS_MAIN(TstModelo)
#include "tst_modelo.moc"
