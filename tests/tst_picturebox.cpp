#include "comun/comparar.h"
#include "plataforma/picturebox.h"

// A 200 × 100 pixel drawing area scaled 0..100 each way: one scale unit is 2 × 1 pixels.
class TstPictureBox : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { delete pic_; }
    void estadoQueQueda();
    void relleno_data();
    void relleno();

private:
    QColor px(int x, int y) const { return pic_->imagen().pixelColor(x, y); }
    int pintados(int y, int x0, int x1, const QColor& c) const {
        int n = 0;
        for (int x = x0; x <= x1; ++x)
            n += px(x, y) == c;
        return n;
    }
    PictureBox* pic_ = nullptr;
};

void TstPictureBox::init() {
    pic_ = new PictureBox;
    pic_->resize(204, 104); // a 2-pixel frame on each side
    pic_->fijaEscala(0, 0, 100, 100);
    pic_->borra();
}

// A line in a colour of its own leaves the pen's colour; dashes last until the style changes;
// borra blanks the picture and restarts lines at the origin.
void TstPictureBox::estadoQueQueda() {
    pic_->fijaColor(QColor(0, 192, 0));
    pic_->fijaEstilo(EstiloTrazo::Discontinuo);
    pic_->linea(0, 20, 100, 20, Qt::black);
    pic_->fijaEstilo(EstiloTrazo::Solido);
    pic_->linea(0, 60, 100, 60, Qt::black);
    QCOMPARE(pic_->color(), QColor(0, 192, 0));
    const int n = pintados(20, 0, 199, Qt::black);
    QVERIFY2(n > 80 && n < 160, qPrintable(QString::number(n)));
    QCOMPARE(pintados(60, 0, 199, Qt::black), 200);
    pic_->borra();
    QCOMPARE(pintados(60, 0, 199, Qt::black), 0);
    pic_->lineaA(0, 50, Qt::red); // from (0, 0), not from where the last line ended
    QCOMPARE(px(0, 0), QColor(Qt::red));
    // Resized and drawn on at once (it crashed): the line spans the new width.
    pic_->resize(304, 104);
    pic_->linea(0, 60, 100, 60, Qt::black);
    QCOMPARE(pintados(60, 0, 299, Qt::black), 300);
}

void TstPictureBox::relleno_data() {
    columnas<QPoint, bool, bool>("semilla", "dentro", "fuera");
    QTest::newRow("dentro") << QPoint(60, 50) << true << false;
    QTest::newRow("fuera del cuadro") << QPoint(5, 5) << false << true;
    QTest::newRow("sobre el borde") << QPoint(40, 50) << false << false;
    QTest::newRow("fuera de la imagen") << QPoint(-1, 50) << false << false;
}

void TstPictureBox::relleno() {
    QFETCH(QPoint, semilla);
    QFETCH(bool, dentro);
    QFETCH(bool, fuera);
    const QColor rojo(255, 0, 0), amarillo(255, 255, 0);
    // A red square from pixel (40, 20) to (120, 80), with a yellow dot and a blue line inside
    // that the fill must run over.
    pic_->linea(20, 20, 60, 20, rojo);
    pic_->lineaA(60, 80, rojo);
    pic_->lineaA(20, 80, rojo);
    pic_->lineaA(20, 20, rojo);
    pic_->punto(40, 30, amarillo);
    pic_->linea(30, 50, 50, 50, Qt::blue);
    pic_->fijaColor(rojo);
    pic_->fijaColorRelleno(amarillo);
    const bool relleno = pic_->rellena(semilla);
    QCOMPARE(relleno, dentro || fuera);
    QCOMPARE(px(100, 70) == amarillo && px(41, 21) == amarillo && px(70, 50) == amarillo, dentro);
    QCOMPARE(px(10, 10) == amarillo && px(199, 99) == amarillo && px(130, 50) == amarillo, fuera);
    QCOMPARE(px(40, 50), rojo); // the border itself is never painted
}

QTEST_MAIN(TstPictureBox)
#include "tst_picturebox.moc"
