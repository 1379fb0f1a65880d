#include "comun/comparar.h"
#include "comun/estudio.h"
#include "comun/plataformadoble.h"
#include "plataforma/formulario.h"
#include "plataforma/picturebox.h"

#include <QLabel>
#include <QtTest>

namespace {
const QRgb kRojo = 0xff0000, kAmarillo = 0xffff00, kVerdeObj = 0x00c000, kAzul = 0x0000ff,
           kVerde = 0x00ff00, kNegro = 0x000000;

struct Ventana : EstudioTemporal {
    using EstudioTemporal::EstudioTemporal;
    // The pixel under plot coordinates (0..100 each way).
    QRgb px(double x, double y) const {
        const QPoint p = f->Pic1->escala().aPixel(x, y);
        return f->Pic1->imagen().pixel(p) & 0xffffff;
    }
    // Colours met along a pixel column between two plot heights.
    QSet<QRgb> columna(double x, double y0, double y1) const {
        QSet<QRgb> c;
        const Escala e = f->Pic1->escala();
        const int col = e.aPixel(x, 0).x();
        for (int row = e.aPixel(0, y0).y(); row <= e.aPixel(0, y1).y(); ++row)
            c << (f->Pic1->imagen().pixel(col, row) & 0xffffff);
        return c;
    }
    // Whether a colour lies within one pixel of a plot point.
    bool cerca(double x, double y, QRgb color) const {
        const QPoint p = f->Pic1->escala().aPixel(x, y);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (f->Pic1->imagen().valid(p.x() + dx, p.y() + dy) &&
                    (f->Pic1->imagen().pixel(p.x() + dx, p.y() + dy) & 0xffffff) == color)
                    return true;
        return false;
    }
};
} // namespace

class TstDibujo : public QObject {
    Q_OBJECT
private slots:
    void lineasDeLimites_data();
    void lineasDeLimites();
    void marcadores();
    void curvaTaguchi();
    void zonas();
    void cpk_data();
    void cpk();
    void lectura();
    void campanaLejana_data();
    void campanaLejana();
};

void TstDibujo::lineasDeLimites_data() {
    // colores: the line colours met above the cost function; escala: xa, xb and yb after
    columnas<Textos, double, QList<QRgb>, QStringList>("textos", "x", "colores", "escala");
    const QStringList igual{"0", "100", "100"};
    fila("XDesI rojo", Textos{}, 10.0, QList<QRgb>{kRojo}, igual);
    fila("XRetI amarillo", Textos{}, 20.0, QList<QRgb>{kAmarillo}, igual);
    fila("XObj verde", Textos{}, 50.0, QList<QRgb>{kVerdeObj}, igual);
    fila("media azul", Textos{}, 52.0, QList<QRgb>{kAzul}, igual);
    fila("XDesS rojo", Textos{}, 90.0, QList<QRgb>{kRojo}, igual);
    // A rework limit on its scrap limit is dashed, letting the red show through its gaps.
    fila("XRetI igual discontinua", Textos{{"XRetI", "10"}}, 10.0, QList<QRgb>{kRojo, kAmarillo},
         igual);
    fila("XRetI 10.0 continua", Textos{{"XRetI", "10.0"}}, 10.0, QList<QRgb>{kAmarillo}, igual);
    fila("XRetS igual discontinua", Textos{{"XRetS", "90"}}, 90.0, QList<QRgb>{kRojo, kAmarillo},
         igual);
    // The scale widens to show every limit and cost.
    fila("xa baja a XDesI", Textos{{"xa", "20"}}, 50.0, QList<QRgb>{kVerdeObj},
         QStringList{"10", "100", "100"});
    fila("yb sube a 130", Textos{{"YNomS", "80"}, {"YDesS", "50"}}, 50.0, QList<QRgb>{kVerdeObj},
         QStringList{"0", "100", "130"});
    fila("ambos lados", Textos{{"xa", "30"}, {"xb", "60"}}, 50.0, QList<QRgb>{kVerdeObj},
         QStringList{"10", "90", "100"});
}

void TstDibujo::lineasDeLimites() {
    QFETCH(Textos, textos);
    QFETCH(double, x);
    QFETCH(QList<QRgb>, colores);
    QFETCH(QStringList, escala);
    Ventana v;
    rellenaCajas(*v.f, textos);
    v.f->cmdDrawCostFunction_Click();
    QVERIFY(v.doble.mensajes.isEmpty());
    QVERIFY(!v.doble.ocupado);
    QCOMPARE(QStringList({v.f->xa->text(), v.f->xb->text(), v.f->yb->text()}), escala);
    // Above the cost function (at most 35 of 100) only the vertical lines are drawn.
    x = v.f->ConvX(x);
    const QSet<QRgb> vistos = v.columna(x, 2, 55);
    for (QRgb c : {kRojo, kAmarillo, kVerdeObj, kAzul})
        QVERIFY2(vistos.contains(c) == colores.contains(c), qPrintable(QString::number(c, 16)));
    QCOMPARE(v.px(x + 1, 30), v.f->Pic1->colorFondo().rgb() & 0xffffff);
    // The picture is left with a 2-pixel solid black pen.
    QCOMPARE(v.f->Pic1->anchoTrazo(), 2);
    QCOMPARE(v.f->Pic1->estilo(), EstiloTrazo::Solido);
    QCOMPARE(v.f->Pic1->color(), QColor(Qt::black));
}

void TstDibujo::marcadores() {
    Ventana v;
    rellenaCajas(*v.f, {{"YRetI", "5"}, {"YDesI", "50"}});
    v.f->cmdDrawCostFunction_Click();
    QCOMPARE(v.f->LinX[1]->X2(), 2160.0);
    QCOMPARE(v.f->LinYI[2]->Y2(), 600 + 5505 * (1 - 55 / 100.0));
    // The larger lower cost (scrap) goes on top, with its label and line.
    QCOMPARE(v.f->YDesI->y(), aPixeles(2280));
    QCOMPARE(v.f->Label1[5]->y(), aPixeles(1980));
    QCOMPARE(v.f->LinYI[2]->Y1(), 2460.0);
    QCOMPARE(v.f->YRetS->y(), aPixeles(3165)); // scrap 30 over rework 10 on the right too
    rellenaCajas(*v.f, {{"YRetI", "10"}, {"YDesI", "10"}});
    v.f->cmdDrawCostFunction_Click();
    QCOMPARE(v.f->YRetI->y(), aPixeles(2280)); // equal costs: rework on top
    QCOMPARE(v.f->Label1[3]->y(), aPixeles(1980));
}

void TstDibujo::curvaTaguchi() {
    Ventana v;
    v.f->chkTaguchi->setChecked(true);
    v.f->cmdDrawCostFunction_Click();
    QVERIFY(v.cerca(v.f->ConvX(50), v.f->ConvY(5), kNegro));
    QVERIFY(v.cerca(v.f->ConvX(35), v.f->ConvY(7.5), kNegro));
    QVERIFY(v.cerca(v.f->ConvX(65), v.f->ConvY(7.5), kNegro));
    QVERIFY(!v.cerca(v.f->ConvX(35), v.f->ConvY(5), kNegro));   // not the flat centre
    QCOMPARE(v.f->Pic1->puntoActual(), QPointF(100, 100 - 35)); // ends at P(xb, L(xb))
}

void TstDibujo::zonas() {
    Ventana v;
    rellenaCajas(*v.f, {{"Media", "50"}, {"StdDev", "20"}});
    v.f->cmdNormal_Click();
    QVERIFY(v.doble.mensajes.isEmpty());
    QCOMPARE(v.px(5, 97), kRojo);
    QCOMPARE(v.px(15, 90), kAmarillo);
    QCOMPARE(v.px(40, 60), kVerde);
    QCOMPARE(v.px(70, 80), kVerde);
    QCOMPARE(v.px(85, 93), kAmarillo); // under the nominal line at 95
    QCOMPARE(v.px(95, 97), kRojo);
    QCOMPARE(v.px(40, 5), v.f->Pic1->colorFondo().rgb() & 0xffffff); // above the bell
    QVERIFY(v.cerca(50.3, 0.2, kAzul));                              // the peak at the top
    QVERIFY(v.cerca(30, 100 * (1 - std::exp(-0.5)), kAzul));         // one σ out
}

void TstDibujo::cpk_data() {
    columnas<Textos, QString>("textos", "texto");
    fila("0.67", Textos{{"Media", "10"}, {"StdDev", "1"}}, "Cpk 0.67");
    fila("negativo", Textos{{"Media", "13"}, {"StdDev", "1"}}, "Cpk -0.33");
    fila("sin dispersion", Textos{{"Media", "10"}, {"StdDev", "0"}}, "Cpk -");
    // A skewed process measures Cpk by percentiles.
    const auto sesgado = [](const char* sesgo) {
        return Textos{{"XDesI", "10"}, {"XRetI", "20"},  {"XObj", "50"},
                      {"XRetS", "80"}, {"XDesS", "90"},  {"Media", "45"},
                      {"StdDev", "6"}, {"Sesgo", sesgo}, {"Curtosis", "1.6"}};
    };
    fila("sesgo a la derecha", sesgado("0.9"), "Cpk 1.32");
    fila("sesgo a la izquierda", sesgado("-0.9"), "Cpk 0.95");
}

// Rework limits 7 and 12 unless the row says otherwise.
void TstDibujo::cpk() {
    QFETCH(Textos, textos);
    QFETCH(QString, texto);
    Ventana v(false);
    rellenaCajas(*v.f,
                 {{"XDesI", "5"}, {"XRetI", "7"}, {"XObj", "9"}, {"XRetS", "12"}, {"XDesS", "15"}});
    rellenaCajas(*v.f, textos);
    v.f->cmdNormal_Click();
    QVERIFY(v.doble.mensajes.isEmpty());
    QCOMPARE(v.f->lblCpk->text(), texto);
    if (texto == "Cpk -")
        QVERIFY(v.columna(10, 0, 99).contains(kRojo)); // the mean line, xa..xb is 0..100
    if (!textos.contains("Sesgo"))
        return;
    // The curve peaks on the side away from its long tail, touching the top row; the dashed mean
    // line is blue too.
    const int media = v.f->Pic1->escala().aPixel(45, 0).x();
    const QImage& img = v.f->Pic1->imagen();
    int pico = -1;
    for (int x = 0; x < img.width() && pico < 0; ++x)
        if (std::abs(x - media) > 2 && (img.pixel(x, 0) & 0xffffff) == kAzul)
            pico = x;
    QVERIFY2(textos["Sesgo"].startsWith('-') ? pico > media : (pico >= 0 && pico < media),
             qPrintable(QString("pico %1, media %2").arg(pico).arg(media)));
}

void TstDibujo::lectura() {
    Ventana v(false);
    rellenaCajas(*v.f, {{"Media", "50"}, {"StdDev", "10"}});
    // A real click at the middle of the picture, whatever the screen's scale.
    const QRect r = v.f->Pic1->contentsRect();
    QTest::mouseClick(v.f->Pic1, Qt::LeftButton, {}, QPoint(r.left() + r.width() / 2, 50));
    QCOMPARE(v.doble.mensajes.size(), 1);
    QCOMPARE(v.doble.mensajes[0].icono, Icono::Informacion);
    QCOMPARE(v.doble.ultimoTexto(), QStringLiteral("Intervalo desde: 49.500\n"
                                                   "Intervalo hasta: 50.500\n"
                                                   "Marca de clase:  50.000\n"
                                                   "Area cubierta:   3.988 %\n"
                                                   "Lozar unitario:  $ 0.00\n"));
}

void TstDibujo::campanaLejana_data() {
    // fuera: the bell lies wholly outside the plot, which says so
    columnas<QString, QString, bool>("media", "desviacion", "fuera");
    fila("la del ejemplo", "20.02", "0.06", false);
    fila("media con un cero de más", "2002", "0.06", true);
    fila("media muy lejana", "200200", "0.06", true);
    fila("media 1e300", "1e300", "0.06", true);
    fila("media -1e300", "-1e300", "0.06", true);
    fila("desviacion enorme", "20", "600", false);
}

// A typo in the first example, then Alt+2 in the shown window: the drawing never visits more
// than the picture's columns, however far the bell lies.
void TstDibujo::campanaLejana() {
    QFETCH(QString, media);
    QFETCH(QString, desviacion);
    QFETCH(bool, fuera);
    Ventana v(false);
    v.abre(QCoreApplication::applicationDirPath() + "/ejemplos/1-diametro-de-eje.lzr");
    v.f->show();
    QVERIFY(QTest::qWaitForWindowActive(v.f));
    rellenaCajas(*v.f, {{"Media", media}, {"StdDev", desviacion}});
    v.f->cmdDrawCostFunction_Click();
    const int funcion = v.f->Pic1->trazos(); // "2." draws the function too
    v.f->lblCpk->clear();
    QTest::keySequence(v.f, QKeySequence("Alt+2"));
    QTRY_VERIFY(v.f->lblCpk->text().startsWith("Cpk "));
    const int columnas = v.f->Pic1->width();
    QVERIFY2(
        v.f->Pic1->trazos() <= funcion + 2 * columnas + 40,
        qPrintable(QString("%1 trazos en %2 columnas").arg(v.f->Pic1->trazos()).arg(columnas)));
    QCOMPARE(v.doble.mensajes.size(), fuera ? 1 : 0);
    if (fuera)
        QVERIFY(v.doble.ultimoTexto().contains("queda fuera del gráfico"));
    else // where it shows, it is filled by zone as ever: green beside the target's line
        QVERIFY(v.columna(v.f->ConvX(20) + 1, 1, 99).contains(kVerde));
}

QTEST_MAIN(TstDibujo)
#include "tst_dibujo.moc"
