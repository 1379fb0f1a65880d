// Draws the guide's figures and the README's screenshots with the program's own windows and
// drawing code, over the shipped example studies: `lozar_figuras CARPETA_AYUDA CARPETA_DOCS`.
// Runs without a display (it picks the offscreen platform itself).
#include "analisis/dialogos.h"
#include "calculadoras/probpearson.h"
#include "graficos/graficocostos.h"
#include "plataforma/formulario.h"
#include "plataforma/picturebox.h"
#include "plataforma/plataformaqt.h"
#include "principal/figurarotulada.h"
#include "principal/lozarform.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextStream>
#include <QTimer>
#include <functional>

namespace {

// The real platform, but no box waits for an answer and the open dialog picks the example.
class PlataformaFiguras : public PlataformaQt {
public:
    QString aAbrir;
    std::optional<int> opcion;
    Respuesta mensaje(const QString&, Botones, Icono) override { return Respuesta::No; }
    std::optional<QString> dialogoAbrir(const QString&) override { return aAbrir; }
    std::optional<int> eligeOpcion(const QString&, const QStringList&, int) override {
        return opcion;
    }
};

// Runs `abre`, which shows a modal dialog of type D; `usa` gets it once it is on screen (a
// progress loop may run before it).
template <typename D>
void conDialogo(const std::function<void()>& abre, const std::function<void(D&)>& usa) {
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
            t.stop();
            QApplication::processEvents();
            usa(*d);
            d->close();
        }
    });
    t.start(5);
    abre();
}

bool guarda(const QPixmap& p, const QString& ruta) {
    if (p.save(ruta))
        return true;
    QTextStream(stderr) << "no se pudo escribir " << ruta << '\n';
    return false;
}

// The main window with numbered circles over the parts the guide explains.
QPixmap rotula(LozarForm& f) {
    QPixmap p = f.grab();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    auto enPantalla = [&](QWidget* w) { return QRect(w->mapTo(&f, QPoint(0, 0)), w->size()); };
    // Each circle on a part's top left corner, or its right one where text starts at the left.
    const struct {
        int n;
        QWidget* w;
        bool derecha;
    } partes[] = {{1, f.txtTitulo, false}, {2, f.YRetI, false},
                  {3, f.YRetS, false},     {4, f.XRetI, false},
                  {5, f.xa, false},        {6, f.Media, false},
                  {7, f.chkTaguchi, true}, {8, f.cmdDrawCostFunction, false},
                  {9, f.Pic1, false},      {10, f.cmdLozarEfectivo, true}};
    QFont fuente = g.font();
    fuente.setBold(true);
    fuente.setPixelSize(12);
    g.setFont(fuente);
    for (const auto& [n, w, derecha] : partes) {
        const QRect r = enPantalla(w);
        const QRectF c((derecha ? r.right() : r.left()) - 9, r.top() - 9, 18, 18);
        g.setPen(QPen(Qt::white, 2));
        g.setBrush(QColor(200, 30, 30));
        g.drawEllipse(c);
        g.setPen(Qt::white);
        g.drawText(c, Qt::AlignCenter, QString::number(n));
    }
    return p;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        QTextStream(stderr) << "uso: lozar_figuras CARPETA_AYUDA CARPETA_DOCS\n";
        return 2;
    }
    const QDir ayuda(QString::fromLocal8Bit(argv[1])), docs(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(ayuda.path());
    QDir().mkpath(docs.path());
    fijaFuenteDeLaAplicacion();
    // The guide is in Spanish: its pictures show numbers as a Spanish desktop writes them.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    PlataformaFiguras plataforma;
    fijaPlataforma(&plataforma);
    const QDir ejemplos(QCoreApplication::applicationDirPath() + QStringLiteral("/ejemplos"));
    bool ok = true;

    // The first example, opened as a user does, with its effective cost.
    LozarForm f;
    f.setAttribute(Qt::WA_DeleteOnClose, false);
    plataforma.aAbrir = ejemplos.filePath(QStringLiteral("1-diametro-de-eje.lzr"));
    f.show();
    f.MArchivoAbrir_Click();
    f.cmdLozarEfectivo_Click();
    ok = guarda(f.grab(), ayuda.filePath(QStringLiteral("ventana-principal.png"))) && ok;
    ok = guarda(f.grab(), docs.filePath(QStringLiteral("ventana-principal.png"))) && ok;
    ok = guarda(rotula(f), ayuda.filePath(QStringLiteral("ventana-rotulada.png"))) && ok;
    {
        // What "Exportar gráfico" writes.
        QPixmap figura(tamanoFiguraRotulada(f));
        QPainter p(&figura);
        p.setRenderHint(QPainter::Antialiasing);
        dibujaFiguraRotulada(p, QRectF(figura.rect()), f);
        p.end();
        ok = guarda(figura, ayuda.filePath(QStringLiteral("figura-exportada.png"))) && ok;
    }
    // The cost model alone: steps at the limits, the nominal line, the Taguchi bowl.
    f.cmdCLS_Click();
    f.cmdDrawCostFunction_Click();
    ok = guarda(f.Pic1->grab(), ayuda.filePath(QStringLiteral("modelo.png"))) && ok;

    // The chart window, taken while it is up.
    conDialogo<Graf1>([&] { f.cmdGraf_Click(); },
                      [&](Graf1& g) {
                          ok =
                              guarda(g.grab(), ayuda.filePath(QStringLiteral("grafico.png"))) && ok;
                          ok = guarda(g.grab(), docs.filePath(QStringLiteral("grafico.png"))) && ok;
                      });

    // A dialog of the main window's, as its menu item opens it.
    auto figuraDe = [&](const char* archivo, void (LozarForm::*abre)()) {
        conDialogo<QDialog>([&] { (f.*abre)(); },
                            [&](QDialog& d) {
                                ok = guarda(d.grab(), ayuda.filePath(QLatin1String(archivo))) && ok;
                            });
    };
    // The optimal mean and the scenarios of the example, before measurements change its mean.
    figuraDe("optimo.png", &LozarForm::MAnalisisOptima_Click);
    figuraDe("escenarios.png", &LozarForm::MAnalisisEscenarios_Click);

    // The example measurements, in the lots their file gives, and the three windows on them.
    plataforma.aAbrir = ejemplos.filePath(QStringLiteral("mediciones-de-diametro.csv"));
    plataforma.opcion = 2;
    conDialogo<DlgMediciones>(
        [&] { f.MArchivoImportar_Click(); },
        [&](DlgMediciones& d) {
            d.cboSubgrupos->setCurrentIndex(d.cboSubgrupos->count() - 1);
            ok = guarda(d.grab(), ayuda.filePath(QStringLiteral("mediciones.png"))) && ok;
            d.cmdNormal->click();
        });
    figuraDe("capacidad.png", &LozarForm::MAnalisisCapacidad_Click);
    figuraDe("probabilidad.png", &LozarForm::MAnalisisProbabilidad_Click);
    figuraDe("control.png", &LozarForm::MAnalisisControl_Click);

    // The skewed-curve calculator on a type IV curve, with its exact row.
    TablaNormal tabla(QCoreApplication::applicationDirPath());
    ProbPearson calculadora(tabla);
    calculadora.sbSK->setValue(9);
    calculadora.sbKU->setValue(16);
    calculadora.show();
    ok = guarda(calculadora.grab(), ayuda.filePath(QStringLiteral("calculadora.png"))) && ok;
    return ok ? 0 : 1;
}
