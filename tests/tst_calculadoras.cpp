#include "calculadoras/calculadoras.h"
#include "calculadoras/probnorm.h"
#include "calculadoras/probpearson.h"
#include "comun/comparar.h"
#include "comun/plataformadoble.h"
#include "comun/tablas.h"
#include "comun/ventanas.h"
#include "numeros/numeros.h"
#include "plataforma/formulario.h"
#include "plataforma/picturebox.h"

#include <QLabel>
#include <QScrollBar>
#include <QtTest>
#include <memory>

namespace {

const QColor kAmarilloRelleno(255, 255, 0), kRojoCurva(255, 0, 0);
using Campos = QMap<QPair<int, int>, QByteArray>; // (record, field from 1) -> text

// A folder with copies of the program's tables; any can be rewritten or taken away.
class Carpeta {
public:
    Carpeta() {
        for (const char* n : {"Kvacnt.tbq", "kvtab1A.tbq", "kvtab1B.tbq", "kvtab2.tbq"})
            QFile::copy(QCoreApplication::applicationDirPath() + QLatin1Char('/') + n,
                        dir_.filePath(QLatin1String(n)));
    }
    QString path() const { return dir_.path(); }
    void quita(const QString& n) { QFile::remove(dir_.filePath(n)); }
    // Every field "0" but those given.
    void normal(const Campos& c = {}) { escribe("Kvacnt.tbq", tablaNormalDePrueba(campo(c))); }
    void pearson(const char* id, const Campos& c = {}) {
        escribe(QStringLiteral("kvtab%1.tbq").arg(QLatin1String(id)),
                tablaPearsonDePrueba(campo(c)));
    }

private:
    static std::function<QByteArray(int, int)> campo(const Campos& c) {
        return [c](int r, int k) { return c.value({r, k}, "0"); };
    }
    void escribe(const QString& n, const QByteArray& b) {
        QVERIFY(escribeArchivo(dir_.filePath(n), b));
    }
    QTemporaryDir dir_;
};

// Moves such as "ZSup=10", in order.
void mueve(QWidget& f, const QStringList& movimientos) {
    for (const QString& m : movimientos)
        f.findChild<QScrollBar*>(m.section(QLatin1Char('='), 0, 0))
            ->setValue(m.section(QLatin1Char('='), 1).toInt());
}

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

void porTipo() {
    QTest::addColumn<QString>("tipo");
    QTest::newRow("ProbNorm") << "ProbNorm";
    QTest::newRow("ProbPearson") << "ProbPearson";
}

} // namespace

class TstCalculadoras : public QObject {
    Q_OBJECT
private slots:
    void init() { doble_.mensajes.clear(); }
    void cleanup() { f_.reset(); }
    void resultados_data();
    void resultados();
    void empuje_data();
    void empuje();
    void sombra_data();
    void sombra();
    void sesgoNegativo();
    void tablaAusente_data();
    void tablaAusente();
    void unaDeCadaUna_data() { porTipo(); }
    void unaDeCadaUna();
    void filaExacta_data();
    void filaExacta();

private:
    // A calculator over the tables of `dir`, the program's own by default.
    CalculadoraBase& abre(const QString& tipo, const QString& dir = QString()) {
        doble_.directorio = dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
        f_.reset();
        tabla_ = std::make_unique<TablaNormal>(doble_.directorio);
        if (tipo == QLatin1String("ProbNorm"))
            f_ = std::make_unique<ProbNorm>(*tabla_);
        else
            f_ = std::make_unique<ProbPearson>(*tabla_);
        return *f_;
    }

    PlataformaDoble doble_;
    std::unique_ptr<TablaNormal> tabla_;
    std::unique_ptr<CalculadoraBase> f_;
};

enum Tablas { Programa, Ppm, Ceros, Curtosis };

void TstCalculadoras::resultados_data() {
    // textos: lblInf, lblCentro, lblSup; "" is not checked
    columnas<QString, int, QLocale, QStringList, QStringList>("tipo", "tablas", "locale",
                                                              "movimientos", "textos");
    const QLocale c = QLocale::c(), es = kEspanol;
    const char *n = "ProbNorm", *p = "ProbPearson";
    const QStringList abre{"1350 ppm", "99.730 %", "1350 ppm"};
    fila("normal apertura", n, +Programa, c, QStringList(), abre);
    fila("pearson apertura español", p, +Programa, es, QStringList(),
         QStringList{"1350 ppm", "99,730 %", ""});
    fila("100", n, +Ppm, c, QStringList{"ZInf=-40"}, QStringList{"100 ppm"});
    fila("99.99", n, +Ppm, c, QStringList{"ZInf=-41"}, QStringList{"99.99 ppm"});
    fila("1", n, +Ppm, c, QStringList{"ZInf=-42"}, QStringList{"1.00 ppm"});
    fila("0.5", n, +Ppm, c, QStringList{"ZInf=-43"}, QStringList{"0.500 ppm"});
    fila("pearson superior 0.5 español", p, +Ppm, es, QStringList{"ZSup=43"},
         QStringList{"", "", "0,500 ppm"});
    const QStringList ceros{"500000 ppm", "0.000 %", "500000 ppm"};
    fila("normal ceros", n, +Ceros, c, QStringList(), ceros);
    fila("pearson ceros", p, +Ceros, c, QStringList(), ceros);
    fila("pearson curtosis 0.3", p, +Curtosis, c, QStringList{"sbKU=3"}, abre);
}

void TstCalculadoras::resultados() {
    QFETCH(QString, tipo);
    QFETCH(int, tablas);
    QFETCH(QLocale, locale);
    QFETCH(QStringList, movimientos);
    QFETCH(QStringList, textos);
    LocaleFijo fijo(locale);
    Carpeta d;
    if (tablas == Ppm) // tails of 100 − 100 f ppm from 4.0 on, f = (A − 0.4999) × 10000
        d.normal({{{41, 1}, "0"}, {{41, 2}, "0.0001"}, {{41, 3}, "0.99"}, {{41, 4}, "0.995"}});
    if (tablas == Ceros) {
        d.normal();
        for (const char* id : {"1A", "1B", "2"})
            d.pearson(id);
    }
    if (tablas == Curtosis) { // lower distances 2 and 4 at kurtosis 0.2 and 0.4: their mean is 3
        d.pearson("1A", {{{9, 1}, "2.0"}, {{10, 1}, "4.0"}});
        d.pearson("1B", {{{9, 1}, "3.0"}, {{10, 1}, "3.0"}});
        d.pearson("2");
    }
    CalculadoraBase& f = abre(tipo, d.path());
    mueve(f, movimientos);
    const QLabel* etiquetas[] = {f.lblInf, f.lblCentro, f.lblSup};
    for (int i = 0; i < textos.size(); ++i)
        if (!textos[i].isEmpty())
            QCOMPARE(etiquetas[i]->text(), textos[i]);
    QVERIFY(doble_.mensajes.isEmpty());
    for (double x : {0.5, 119.5}) // the tails run along the bottom edge; nothing under a flat one
        QCOMPARE(pixel(f, x, 119.9), kRojoCurva);
    if (tablas == Ceros && tipo == QLatin1String("ProbPearson"))
        QCOMPARE(sombreado(f), 0);
    if (tablas == Curtosis)
        QCOMPARE(static_cast<ProbPearson&>(f).lblKu->text(), QStringLiteral("Curtosis 0.3"));
}

void TstCalculadoras::empuje_data() {
    columnas<QString, QString, int>("tipo", "movimiento", "valor");
    for (const char* t : {"ProbNorm", "ProbPearson"}) {
        QTest::addRow("%s apertura", t) << t << "ZInf=-30" << -30;
        QTest::addRow("%s ZInf a 2.9", t) << t << "ZInf=29" << 28;
        QTest::addRow("%s ZSup hasta ZInf", t) << t << "ZSup=-30" << -28;
        QTest::addRow("%s ZSup a 6.0", t) << t << "ZSup=60" << 60;
    }
}

void TstCalculadoras::empuje() {
    QFETCH(QString, tipo);
    QFETCH(QString, movimiento);
    QFETCH(int, valor);
    LocaleFijo fijo(QLocale::c());
    CalculadoraBase& f = abre(tipo);
    mueve(f, {movimiento});
    const bool inf = movimiento.startsWith(QLatin1String("ZInf"));
    QCOMPARE((inf ? f.ZInf : f.ZSup)->value(), valor);
    QLabel* l = inf ? f.lblZInf : f.lblZSup;
    QCOMPARE(l->text(), QString::number(valor / 10.0, 'f', 1));
    QCOMPARE(l->x(), aPixeles(valor / 10.0 * 876 + 5370));
}

void TstCalculadoras::sombra_data() {
    columnas<QString, QStringList, bool>("tipo", "movimientos", "sombrea");
    const char *n = "ProbNorm", *p = "ProbPearson";
    fila("normal apertura", n, QStringList(), true);
    fila("normal -5 -4", n, QStringList{"ZInf=-50", "ZSup=-40"}, false);
    fila("normal 4 5", n, QStringList{"ZSup=50", "ZInf=40"}, false);
    fila("normal -4 1", n, QStringList{"ZSup=10", "ZInf=-40"}, true);
    fila("normal -4 -3 por ZSup", n, QStringList{"ZInf=-40", "ZSup=-30"}, true);
    fila("normal -4 -3 por ZInf", n, QStringList{"ZInf=-50", "ZSup=-30", "ZInf=-40"}, false);
    fila("pearson apertura", p, QStringList(), true);
    fila("pearson -6 6", p, QStringList{"ZInf=-60", "ZSup=60"}, true);
    fila("pearson 3.0", p, QStringList{"ZSup=32", "ZInf=30"}, true);
    fila("pearson 3.1", p, QStringList{"ZSup=40", "ZInf=31"}, false);
    fila("pearson -3.1", p, QStringList{"ZInf=-40", "ZSup=-31"}, false);
    // Skewed curves whose short tail lies flat on the bottom edge at a seed.
    fila("pearson sesgo 0.9", p, QStringList{"sbSK=9"}, true);
    fila("pearson sesgo -0.4 curtosis -0.8", p, QStringList{"sbSK=-4", "sbKU=-8"}, true);
}

void TstCalculadoras::sombra() {
    QFETCH(QString, tipo);
    QFETCH(QStringList, movimientos);
    QFETCH(bool, sombrea);
    CalculadoraBase& f = abre(tipo);
    mueve(f, movimientos);
    const int n = sombreado(f);
    QVERIFY2(n >= 0, "sombra fuera de la banda bajo la curva");
    QCOMPARE(n > 0, sombrea);
    if (sombrea && movimientos.size() < 2) // well inside the band, under the bell
        QCOMPARE(pixel(f, 58, 110), kAmarilloRelleno);
}

void TstCalculadoras::sesgoNegativo() {
    LocaleFijo fijo(QLocale::c());
    auto& f = static_cast<ProbPearson&>(abre(QStringLiteral("ProbPearson")));
    f.sbSK->setValue(4);
    const QString inf = f.lblInf->text(), sup = f.lblSup->text(), centro = f.lblCentro->text();
    QVERIFY(inf != sup);
    f.sbSK->setValue(-4);
    QCOMPARE(f.lblSk->text(), QStringLiteral("Sesgo -0.4"));
    QCOMPARE(f.lblInf->text(), sup);
    QCOMPARE(f.lblSup->text(), inf);
    QCOMPARE(f.lblCentro->text(), centro);
}

void TstCalculadoras::tablaAusente_data() {
    columnas<QString, QString>("tipo", "archivo");
    fila("normal sin Kvacnt", "ProbNorm", "Kvacnt.tbq");
    fila("pearson sin Kvacnt", "ProbPearson", "Kvacnt.tbq");
    fila("pearson sin kvtab2", "ProbPearson", "kvtab2.tbq");
}

void TstCalculadoras::tablaAusente() {
    QFETCH(QString, tipo);
    QFETCH(QString, archivo);
    LocaleFijo fijo(QLocale::c());
    Carpeta d;
    d.quita(archivo);
    CalculadoraBase& f = abre(tipo, d.path());
    QCOMPARE(doble_.mensajes.size(), 1);
    QVERIFY(doble_.ultimoTexto().contains(archivo));
    QCOMPARE(doble_.mensajes.last().icono, Icono::Exclamacion);
    for (QLabel* l : {f.lblInf, f.lblCentro, f.lblSup})
        QCOMPARE(l->text(), QStringLiteral("—"));
    f.ZInf->setValue(-20); // the same failure again: no second box
    QCOMPARE(doble_.mensajes.size(), 1);
}

void TstCalculadoras::unaDeCadaUna() {
    QFETCH(QString, tipo);
    LocaleFijo fijo(QLocale::c());
    Carpeta d;
    doble_.directorio = d.path();
    const auto menu = tipo == QLatin1String("ProbNorm") ? MProbNorm_Click : MProbPearson_Click;
    menu();
    CalculadoraBase* f = visible<CalculadoraBase>(tipo);
    QVERIFY(f);
    f->ZInf->setValue(-10);
    // Each click shades with the next of the 16 colours, from white round to white again.
    const QList<QColor> ciclo = {{255, 255, 255}, {0, 0, 0},       {0, 0, 128},   {0, 128, 0},
                                 {0, 128, 128},   {128, 0, 0},     {128, 0, 128}, {128, 128, 0},
                                 {192, 192, 192}, {128, 128, 128}, {0, 0, 255},   {0, 255, 0},
                                 {0, 255, 255},   {255, 0, 255},   {255, 255, 0}, {255, 255, 255}};
    for (const QColor& c : ciclo) {
        QTest::mouseClick(f->Pic1, Qt::LeftButton);
        QCOMPARE(pixel(*f, 58, 110), c);
    }
    QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
    menu(); // to the front, unchanged
    QCOMPARE(visible<CalculadoraBase>(tipo), f);
    QCOMPARE(f->ZInf->value(), -10);
    QCOMPARE(f->ColorRelleno(), 15);
    f->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    d.quita(QStringLiteral("Kvacnt.tbq")); // read once, kept for the next opening
    menu();
    f = visible<CalculadoraBase>(tipo);
    QVERIFY(f);
    QCOMPARE(f->ZInf->value(), -30);
    QCOMPARE(f->ColorRelleno(), 14);
    QCOMPARE(f->lblCentro->text(), QStringLiteral("99.730 %"));
    QVERIFY(doble_.mensajes.isEmpty());
    f->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TstCalculadoras::filaExacta_data() {
    // textos: caption, below, between, above
    columnas<QStringList, QStringList>("movimientos", "textos");
    auto normal = [](double zi, double zs) {
        const double inf = std::erfc(-zi / std::sqrt(2.0)) / 2,
                     sup = std::erfc(zs / std::sqrt(2.0)) / 2;
        return QStringList{"Pearson exacto (normal)", enPpm(inf * 1e6),
                           formatea(1 - inf - sup, "0.000 %"), enPpm(sup * 1e6)};
    };
    fila("sesgo 0 en la apertura", QStringList(), normal(-3, 3));
    fila("sesgo 0 entre -4.3 y 2.2", QStringList{"ZSup=22", "ZInf=-43"}, normal(-4.3, 2.2));
    fila("tipo IV", QStringList{"sbSK=9", "sbKU=16"},
         QStringList{"Pearson exacto (tipo IV)", "0.010 ppm", "99.040 %", "9601 ppm"});
}

// Under the model's rows, the exact areas of the distribution with those moments.
void TstCalculadoras::filaExacta() {
    QFETCH(QStringList, movimientos);
    QFETCH(QStringList, textos);
    LocaleFijo fijo(QLocale::c());
    auto& f = static_cast<ProbPearson&>(abre(QStringLiteral("ProbPearson")));
    mueve(f, movimientos);
    QCOMPARE(QStringList({f.lblExacto->text(), f.lblExactoInf->text(), f.lblExactoCentro->text(),
                          f.lblExactoSup->text()}),
             textos);
}

QTEST_MAIN(TstCalculadoras)
#include "tst_calculadoras.moc"
