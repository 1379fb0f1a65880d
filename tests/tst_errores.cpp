#include "comun/plataformadoble.h"
#include "shell/errores.h"

#include <QtTest>

class TstErrores : public QObject {
    Q_OBJECT
private slots:
    void formas_data();
    void formas();
};

void TstErrores::formas_data() {
    QTest::addColumn<bool>("rutina");
    QTest::addColumn<QString>("encabezado");
    QTest::addColumn<int>("saltos");
    QTest::addColumn<int>("numero");
    QTest::addColumn<QString>("texto");
    QTest::newRow("manejador 13") << false << "" << 0 << 13 << "Lozar\n13.- No coinciden los tipos";
    QTest::newRow("manejador 6") << false << "" << 0 << 6 << "Lozar\n6.- Desbordamiento";
    QTest::newRow("rutina Normal")
        << true << "Normal." << 2 << 13 << "Normal.\n\nLozar\n13.- No coinciden los tipos";
    QTest::newRow("rutina LozarEfectivo")
        << true << "Lozar. LozarEfectivo." << 2 << 53
        << "Lozar. LozarEfectivo.\n\nLozar\n53.- No se ha encontrado el archivo";
    QTest::newRow("rutina MArchivoAbrir") << true << "Lozar. MArchivoAbrir." << 1 << 6
                                          << "Lozar. MArchivoAbrir.\nLozar\n6.- Desbordamiento";
}

void TstErrores::formas() {
    QFETCH(bool, rutina);
    QFETCH(QString, encabezado);
    QFETCH(int, saltos);
    QFETCH(int, numero);
    QFETCH(QString, texto);
    PlataformaDoble doble;
    const ErrorLozar e(numero);
    if (rutina)
        avisaRutina(encabezado, e, saltos);
    else
        avisaManejador(e);
    QCOMPARE(doble.mensajes.size(), 1);
    QCOMPARE(doble.mensajes[0].texto, texto);
    QCOMPARE(doble.mensajes[0].botones, Botones::Aceptar);
    QCOMPARE(doble.mensajes[0].icono, rutina ? Icono::Exclamacion : Icono::Ninguno);
}

QTEST_GUILESS_MAIN(TstErrores)
#include "tst_errores.moc"
