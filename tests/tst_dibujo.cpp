#include "comun/estudio.h"
#include "plataforma/formulario.h"
#include "plataforma/picturebox.h"

#include <QRegularExpression>
#include <QtTest>

namespace {
const QMap<QString, QRgb> kColores = {{"rojo", 0xff0000},     {"amarillo", 0xffff00},
                                      {"objetivo", 0x00c000}, {"azul", 0x0000ff},
                                      {"verde", 0x00ff00},    {"negro", 0x000000}};

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
    void dibujos_data();
    void dibujos();
    void marcadores();
    void campanaLejana_data();
    void campanaLejana();
};

void TstDibujo::dibujos_data() {
    // textos: boxes over the usual study, "Taguchi" its box; boton: "1." the cost function, "2."
    // the distribution, "clic" a real click at the picture's middle, whatever the screen's scale.
    // esperado: "caja=texto" a box's or label's text, "mensaje=…" the one message's; "x,y=color"
    // the pixel at plot point (x, y), 0..100 each way, "x,y~color" that colour within a pixel,
    // "x,y!color" not; "x|colores" exactly those limit lines' colours in the column at study
    // value x above the cost function (at most 35 of 100), and none just right of it.
    columnas<Textos, QString, QStringList>("textos", "boton", "esperado");
    using L = QStringList;
    fila("cada linea en su color", Textos{}, "1.",
         L{"10|rojo", "20|amarillo", "50|objetivo", "52|azul", "90|rojo", "xa=0", "xb=100",
           "yb=100"});
    // A rework limit on its scrap limit is dashed, letting the red show through its gaps.
    fila("XRetI igual discontinua", Textos{{"XRetI", "10"}}, "1.", L{"10|rojo amarillo"});
    // The scale widens to show every limit and cost.
    fila("escalas ensanchadas",
         Textos{{"xa", "30"}, {"xb", "60"}, {"YNomS", "80"}, {"YDesS", "50"}}, "1.",
         L{"xa=10", "xb=90", "yb=130", "50|objetivo"});
    // The Taguchi bowl over the nominal 5: 7.5 at 15 from the target, not the flat centre.
    fila("curva de Taguchi", Textos{{"Taguchi", "1"}}, "1.",
         L{"50,95~negro", "35,92.5~negro", "65,92.5~negro", "35,95!negro"});
    // A bell filled by zone, its peak at the top and one σ out at e^−½ of it.
    fila("zonas", Textos{{"Media", "50"}, {"StdDev", "20"}}, "2.",
         L{"5,97=rojo", "15,90=amarillo", "40,60=verde", "70,80=verde", "85,93=amarillo",
           "95,97=rojo", "40,5=fondo", "50.3,0.2~azul", "30,39.35~azul"});
    // Without spread, no Cpk and the mean line red; skewed, Cpk by percentiles.
    fila("Cpk sin dispersion", Textos{{"Media", "30"}, {"StdDev", "0"}}, "2.",
         L{"lblCpk=Cpk -", "30|rojo"});
    const auto sesgado = [](const QString& sesgo) {
        return Textos{{"Media", "45"}, {"StdDev", "6"}, {"Sesgo", sesgo}, {"Curtosis", "1.6"}};
    };
    fila("Cpk sesgo a la derecha", sesgado("0.9"), "2.", L{"lblCpk=Cpk 1.32"});
    fila("Cpk sesgo a la izquierda", sesgado("-0.9"), "2.", L{"lblCpk=Cpk 0.95"});
    // The readout of a click: the interval under it, its area and the cost there.
    fila("lectura", Textos{{"Media", "50"}, {"StdDev", "10"}}, "clic",
         L{"mensaje=Intervalo desde: 49.500\nIntervalo hasta: 50.500\nMarca de clase:  50.000\n"
           "Area cubierta:   3.988 %\nLozar unitario:  $ 5.00\n"});
}

void TstDibujo::dibujos() {
    QFETCH(Textos, textos);
    QFETCH(QString, boton);
    QFETCH(QStringList, esperado);
    Ventana v;
    v.f->chkTaguchi->setChecked(textos.take("Taguchi") == "1");
    rellenaCajas(*v.f, textos);
    const QRect r = v.f->Pic1->contentsRect();
    if (boton == "clic")
        QTest::mouseClick(v.f->Pic1, Qt::LeftButton, {}, QPoint(r.left() + r.width() / 2, 50));
    else if (boton == "1.")
        v.f->cmdDrawCostFunction_Click();
    else
        v.f->cmdNormal_Click();
    const QRgb fondo = v.f->Pic1->colorFondo().rgb() & 0xffffff;
    const auto color = [&](const QString& n) { return n == "fondo" ? fondo : kColores.value(n); };
    const QRegularExpression punto(R"(^([\d.]+),([\d.]+)([=~!])(\w+)$)"),
        columna(R"(^(\d+)\|(.*)$)");
    for (const QString& e : esperado) {
        const QRegularExpressionMatch p = punto.match(e), c = columna.match(e);
        if (p.hasMatch()) {
            const double x = p.captured(1).toDouble(), y = p.captured(2).toDouble();
            const QRgb c = color(p.captured(4));
            QVERIFY2(p.captured(3) == "=" ? v.px(x, y) == c
                                          : v.cerca(x, y, c) == (p.captured(3) == "~"),
                     qPrintable(e));
        } else if (c.hasMatch()) {
            const double x = v.f->ConvX(c.captured(1).toDouble());
            const QSet<QRgb> vistos = v.columna(x, 2, 55);
            for (const char* n : {"rojo", "amarillo", "objetivo", "azul"})
                QVERIFY2(vistos.contains(color(n)) == c.captured(2).split(' ').contains(n),
                         qPrintable(e + ": " + n));
            QCOMPARE(v.px(x + 1, 30), fondo);
        } else if (e.startsWith("mensaje=")) {
            QCOMPARE(v.doble.ultimoTexto(), e.mid(8));
        } else {
            QCOMPARE(v.f->findChild<QWidget*>(e.section('=', 0, 0))->property("text").toString(),
                     e.section('=', 1));
        }
    }
    QCOMPARE(v.doble.mensajes.size(), boton == "clic" ? 1 : 0);
    QVERIFY(!v.doble.ocupado);
    if (boton == "1.") { // the curve ends at (xb, its cost)
        const double xb = v.f->estricto(Caja::xb);
        QCOMPARE(v.f->Pic1->puntoActual(), QPointF(v.f->ConvX(xb), v.f->ConvY(Lozar(*v.f, xb))));
    }
}

void TstDibujo::marcadores() {
    Ventana v;
    rellenaCajas(*v.f, {{"YRetI", "5"}, {"YDesI", "50"}});
    v.f->cmdDrawCostFunction_Click();
    QCOMPARE(v.f->LinX[1]->X2(), 2160.0);
    QCOMPARE(v.f->LinYI[2]->Y2(), 600 + 5505 * (1 - 55 / 100.0));
    QCOMPARE(v.f->YDesI->y(), aPixeles(2280)); // the larger lower cost (scrap) goes on top
    rellenaCajas(*v.f, {{"YRetI", "10"}, {"YDesI", "10"}});
    v.f->cmdDrawCostFunction_Click();
    QCOMPARE(v.f->YRetI->y(), aPixeles(2280)); // equal costs: rework on top
}

void TstDibujo::campanaLejana_data() {
    // fuera: the bell lies wholly outside the plot, which says so
    columnas<QString, QString, bool>("media", "desviacion", "fuera");
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
}

QTEST_MAIN(TstDibujo)
#include "tst_dibujo.moc"
