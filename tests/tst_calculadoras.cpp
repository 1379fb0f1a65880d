#include "calculadoras/calculadoras.h"
#include "calculadoras/probnorm.h"
#include "calculadoras/probpearson.h"
#include "comun/comparar.h"
#include "comun/plataformadoble.h"
#include "comun/tablas.h"
#include "comun/ventanas.h"
#include "plataforma/picturebox.h"

#include <QLabel>
#include <QRegularExpression>
#include <QScrollBar>
#include <QtTest>
#include <memory>

namespace {

const QColor kAmarilloRelleno(255, 255, 0), kRojoCurva(255, 0, 0);
using Campos = QMap<QPair<int, int>, QByteArray>; // (record, field from 1) -> text

// A folder with copies of the program's tables; any can be rewritten or taken away.
struct Carpeta {
    QTemporaryDir dir;
    Carpeta() {
        for (const char* n : {"Kvacnt.tbq", "kvtab1A.tbq", "kvtab1B.tbq", "kvtab2.tbq"})
            QFile::copy(QCoreApplication::applicationDirPath() + '/' + n, dir.filePath(n));
    }
    // The normal table (id "") or Pearson's table `id`, every field "0" but those given.
    void escribe(const QString& id, const Campos& c = {}) {
        const auto campo = [c](int r, int k) { return c.value({r, k}, "0"); };
        QVERIFY(escribeArchivo(dir.filePath(id.isEmpty() ? "Kvacnt.tbq" : "kvtab" + id + ".tbq"),
                               id.isEmpty() ? tablaNormalDePrueba(campo)
                                            : tablaPearsonDePrueba(campo)));
    }
};

QColor pixel(CalculadoraBase& f, double x, double y) {
    return f.Pic1->imagen().pixelColor(f.Pic1->escala().aPixel(x, y));
}

// The shading lies strictly between the limit lines and under the curve: a shaded pixel has a
// curve pixel above it, but in the odd column where the two halves of a curve meet at the top.
// Returns the number of shaded pixels, -1 for stray ones.
int sombreado(CalculadoraBase& f) {
    const QImage& img = f.Pic1->imagen();
    const Escala e = f.Pic1->escala();
    const int xi = e.aPixel(f.ZInf->value() + 60, 0).x();
    const int xs = e.aPixel(f.ZSup->value() + 60, 0).x();
    int n = 0, abiertas = 0;
    for (int x = 0; x < img.width(); ++x) {
        bool curva = false, abierta = false;
        for (int y = 0; y < img.height(); ++y) {
            const QColor c = img.pixelColor(x, y);
            curva = curva || c == kRojoCurva;
            if (c != kAmarilloRelleno)
                continue;
            ++n;
            if (x <= xi || x >= xs)
                return -1;
            abierta = abierta || !curva;
        }
        abiertas += abierta;
    }
    // Those columns are wider on a scaled screen.
    return abiertas > std::ceil(3 * f.Pic1->devicePixelRatioF()) ? -1 : n;
}

} // namespace

enum Tablas { Programa, Ppm, Ceros, SinKvacnt, SinKvtab2 };

class TstCalculadoras : public QObject {
    Q_OBJECT
private slots:
    void calculadora_data();
    void calculadora();
    void unaDeCadaUna();
};

void TstCalculadoras::calculadora_data() {
    // movimientos: scroll bars moved in order; esperado: a label's text or a scroll bar's value
    // then, or the table a message names; sombra: whether the band between the limits is
    // shaded, -1 not checked
    columnas<QString, int, QLocale, QStringList, QStringList, int>(
        "tipo", "tablas", "locale", "movimientos", "esperado", "sombra");
    const QLocale c = QLocale::c(), es = kEspanol;
    const char *n = "ProbNorm", *p = "ProbPearson";
    using L = QStringList;
    const L abre{"lblInf=1350 ppm", "lblCentro=99.730 %", "lblSup=1350 ppm"};
    fila("normal apertura", n, +Programa, c, L(), abre, 1);
    // Tails of 100 − 100 f ppm from 4.0 on, f = (A − 0.4999) × 10000.
    fila("100", n, +Ppm, c, L{"ZInf=-40"}, L{"lblInf=100 ppm"}, -1);
    fila("99.99", n, +Ppm, c, L{"ZInf=-41"}, L{"lblInf=99.99 ppm"}, -1);
    fila("1", n, +Ppm, c, L{"ZInf=-42"}, L{"lblInf=1.00 ppm"}, -1);
    fila("pearson superior 0.5 español", p, +Ppm, es, L{"ZSup=43"}, L{"lblSup=0,500 ppm"}, -1);
    // Tables of zeros: nothing under a flat curve.
    fila("pearson ceros", p, +Ceros, c, L(),
         L{"lblInf=500000 ppm", "lblCentro=0.000 %", "lblSup=500000 ppm"}, 0);
    // A missing table: said once, naming it, and no areas.
    const L ninguna{"lblInf=—", "lblCentro=—", "lblSup=—"};
    fila("normal sin Kvacnt", n, +SinKvacnt, c, L(), ninguna + L{"mensaje=Kvacnt.tbq"}, -1);
    fila("pearson sin kvtab2", p, +SinKvtab2, c, L(), ninguna + L{"mensaje=kvtab2.tbq"}, -1);
    // A limit stops 0.2 short of the other.
    fila("ZInf a 2.9", n, +Programa, c, L{"ZInf=29"}, L{"ZInf=28", "ZSup=30"}, -1);
    fila("ZSup a 0.1 de ZInf", n, +Programa, c, L{"ZSup=-29"}, L{"ZSup=-28"}, -1);
    // Shading only where the curve rises above the bottom edge.
    fila("normal -4 -3 por ZSup", n, +Programa, c, L{"ZInf=-40", "ZSup=-30"}, L(), 1);
    fila("normal -4 -3 por ZInf", n, +Programa, c, L{"ZInf=-50", "ZSup=-30", "ZInf=-40"}, L(), 0);
    fila("pearson 3.0", p, +Programa, c, L{"ZSup=32", "ZInf=30"}, L(), 1);
    fila("pearson 3.1", p, +Programa, c, L{"ZSup=40", "ZInf=31"}, L(), 0);
    fila("pearson -3.1", p, +Programa, c, L{"ZInf=-40", "ZSup=-31"}, L(), 0);
    // Skewed curves whose short tail lies flat on the bottom edge at a seed.
    fila("pearson sesgo 0.9", p, +Programa, c, L{"sbSK=9"}, L(), 1);
    fila("pearson sesgo -0.4 curtosis -0.8", p, +Programa, c, L{"sbSK=-4", "sbKU=-8"}, L(), 1);
    // A negative skewness mirrors the tails of the positive one.
    fila("sesgo 0.4", p, +Programa, c, L{"sbSK=4"},
         L{"lblSk=Sesgo 0.4", "lblInf=37.00 ppm", "lblSup=3573 ppm", "lblCentro=99.639 %"}, 1);
    fila("sesgo -0.4", p, +Programa, c, L{"sbSK=-4"},
         L{"lblSk=Sesgo -0.4", "lblInf=3573 ppm", "lblSup=37.00 ppm", "lblCentro=99.639 %"}, 1);
    // Under the model's rows, the exact areas of the distribution with those moments.
    fila("exacto entre -4.3 y 2.2", p, +Programa, c, L{"ZSup=22", "ZInf=-43"},
         L{"lblExacto=Pearson exacto (normal)", "lblExactoInf=8.54 ppm", "lblExactoCentro=98.609 %",
           "lblExactoSup=13903 ppm"},
         1);
    fila("exacto tipo IV", p, +Programa, c, L{"sbSK=9", "sbKU=16"},
         L{"lblExacto=Pearson exacto (tipo IV)", "lblExactoInf=0.010 ppm",
           "lblExactoCentro=99.040 %", "lblExactoSup=9601 ppm"},
         1);
}

// What a calculator shows after its scroll bars move: the areas in words, each limit's value,
// the shading inside the band and under the curve; a table that fails is said once.
void TstCalculadoras::calculadora() {
    QFETCH(QString, tipo);
    QFETCH(int, tablas);
    QFETCH(QLocale, locale);
    QFETCH(QStringList, movimientos);
    QFETCH(QStringList, esperado);
    QFETCH(int, sombra);
    LocaleFijo fijo(locale);
    Carpeta d;
    if (tablas == Ppm)
        d.escribe("", {{{41, 1}, "0"}, {{41, 2}, "0.0001"}, {{41, 3}, "0.99"}, {{41, 4}, "0.995"}});
    if (tablas == Ceros)
        for (const char* id : {"", "1A", "1B", "2"})
            d.escribe(id);
    if (tablas == SinKvacnt || tablas == SinKvtab2)
        QFile::remove(d.dir.filePath(tablas == SinKvacnt ? "Kvacnt.tbq" : "kvtab2.tbq"));
    PlataformaDoble doble;
    doble.directorio = d.dir.path();
    TablaNormal tabla(doble.directorio);
    std::unique_ptr<CalculadoraBase> ventana;
    if (tipo == "ProbNorm")
        ventana = std::make_unique<ProbNorm>(tabla);
    else
        ventana = std::make_unique<ProbPearson>(tabla);
    CalculadoraBase& f = *ventana;
    for (const QString& m : movimientos) // "ZSup=10": that scroll bar to that value
        f.findChild<QScrollBar*>(m.section('=', 0, 0))->setValue(m.section('=', 1).toInt());
    const QStringList mensaje = esperado.filter(QRegularExpression("^mensaje="));
    for (const QString& e : esperado) {
        const QString nombre = e.section('=', 0, 0), valor = e.section('=', 1);
        if (auto* l = f.findChild<QLabel*>(nombre))
            QCOMPARE(l->text(), valor);
        else if (auto* b = f.findChild<QScrollBar*>(nombre))
            QCOMPARE(b->value(), valor.toInt());
        else
            QVERIFY2(doble.ultimoTexto().contains(valor), qPrintable(e));
    }
    QCOMPARE(doble.mensajes.size(), mensaje.size());
    for (auto [barra, etiqueta] : {std::pair(f.ZInf, f.lblZInf), std::pair(f.ZSup, f.lblZSup)})
        QCOMPARE(etiqueta->text(), locale.toString(barra->value() / 10.0, 'f', 1));
    const int n = sombreado(f);
    QVERIFY2(n >= 0, "sombra fuera de la banda bajo la curva");
    if (sombra >= 0)
        QCOMPARE(n > 0, bool(sombra));
    f.ZInf->setValue(f.ZInf->value() - 1); // the same failure again: no second box
    QCOMPARE(doble.mensajes.size(), mensaje.size());
}

// The menu opens one calculator of a kind, bringing it to the front when open; each click on
// the picture shades with the next of the 16 colours; the tables are read once a run.
void TstCalculadoras::unaDeCadaUna() {
    LocaleFijo fijo(QLocale::c());
    Carpeta d;
    PlataformaDoble doble;
    doble.directorio = d.dir.path();
    MProbPearson_Click();
    auto* f = visible<ProbPearson>();
    QVERIFY(f);
    // From white round to white again.
    const QList<QColor> ciclo = {{255, 255, 255}, {0, 0, 0},       {0, 0, 128},   {0, 128, 0},
                                 {0, 128, 128},   {128, 0, 0},     {128, 0, 128}, {128, 128, 0},
                                 {192, 192, 192}, {128, 128, 128}, {0, 0, 255},   {0, 255, 0},
                                 {0, 255, 255},   {255, 0, 255},   {255, 255, 0}, {255, 255, 255}};
    for (const QColor& c : ciclo) {
        QTest::mouseClick(f->Pic1, Qt::LeftButton);
        QCOMPARE(pixel(*f, 58, 110), c);
    }
    QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
    MProbPearson_Click();
    QCOMPARE(visible<ProbPearson>(), f);
    f->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QFile::remove(d.dir.filePath("Kvacnt.tbq")); // read once, kept for the next opening
    MProbPearson_Click();
    f = visible<ProbPearson>();
    QVERIFY(f);
    QCOMPARE(f->lblCentro->text(), QStringLiteral("99.730 %"));
    QVERIFY(doble.mensajes.isEmpty());
    f->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QTEST_MAIN(TstCalculadoras)
#include "tst_calculadoras.moc"
