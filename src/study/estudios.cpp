// "&Archivo": saving a study to, and opening it from, a .lzr file.
#include "shell/archivos.h"
#include "shell/errores.h"
#include "shell/exporta.h"
#include "shell/numeros.h"
#include "shell/picturebox.h"
#include "shell/plataforma.h"
#include "study/archivoestudio.h"
#include "study/figurarotulada.h"
#include "study/forma.h"
#include "study/lozarform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QSaveFile>
#include <QSettings>

namespace {
const QString kFiltro = QStringLiteral("lzr (*.lzr)|*.lzr");
const QString kCaption = QStringLiteral("Lozars de No Calidad. ");

// The text boxes in file order; the check box comes last.
// The text boxes in file order; the check box's place (Taguchi) holds none.
const Caja kOrden[kCamposEstudio + kCamposForma] = {
    Caja::txtTitulo, Caja::ya,    Caja::yb,      Caja::YRetI, Caja::YDesI, Caja::YNomI,
    Caja::YRetS,     Caja::YDesS, Caja::YNomS,   Caja::xa,    Caja::xb,    Caja::XDesI,
    Caja::XRetI,     Caja::XObj,  Caja::XRetS,   Caja::XDesS, Caja::Media, Caja::StdDev,
    Caja::txtTitulo, Caja::Sesgo, Caja::Curtosis};

} // namespace

void LozarForm::MArchivoGuardarComo_Click() {
    guardaComo();
}

void LozarForm::MArchivoGuardar_Click() {
    guarda();
}

bool LozarForm::guarda() {
    if (archivo_.isEmpty())
        return guardaComo();
    return guardaEn(archivo_, QStringLiteral("MArchivoGuardar"));
}

bool LozarForm::guardaComo() {
    std::optional<QString> ruta = plataforma().dialogoGuardar(kFiltro);
    // A name typed without extension gets the studies' own, or "Abrir" would never list it.
    if (ruta && QFileInfo(*ruta).suffix().isEmpty())
        *ruta += QStringLiteral(".lzr");
    return ruta && guardaEn(*ruta, QStringLiteral("MArchivoGuardarComo"));
}

QString LozarForm::textoParaArchivo(Caja c) const {
    const QString t = texto(c);
    const auto it = deArchivo_.constFind(int(c));
    return it != deArchivo_.constEnd() && it->first == t ? it->second : t;
}

bool LozarForm::guardaEn(const QString& ruta, const QString& procedimiento) {
    try {
        QStringList valores;
        for (int i = 0; i < kCamposEstudio; ++i)
            valores << (i == kCampoTaguchi ? QString::number(taguchi())
                                           : textoParaArchivo(kOrden[i]));
        // A normal study stays the 19 lines it always was.
        const bool normal = formaNormal(texto(Caja::Sesgo), texto(Caja::Curtosis));
        valores << (normal ? QString() : textoParaArchivo(Caja::Sesgo))
                << (normal ? QString() : textoParaArchivo(Caja::Curtosis)) << modelo_.unidades();
        guardaArchivoSeguro(ruta, escribeEstudio(valores));
        archivo_ = mostrado_ = ruta;
        anotaReciente(ruta);
        marcaGuardado();
        return true;
    } catch (const ErrorLozar& e) {
        avisaRutina(objectName() + QStringLiteral(". ") + procedimiento + QLatin1Char('.'), e, 1);
        return false;
    }
}

bool LozarForm::sigueTrasGuardar() {
    if (!cambiado())
        return true;
    switch (plataforma().mensaje(QStringLiteral("¿Desea guardar los cambios del estudio?"),
                                 Botones::SiNoCancelar, Icono::Pregunta)) {
    case Respuesta::Si:
        return guarda();
    case Respuesta::No:
        return true;
    default:
        return false;
    }
}

QStringList LozarForm::estado() const {
    QStringList e;
    for (const QLineEdit* c : cajas_)
        e << c->text();
    return e << QString::number(taguchi()) << modelo_.unidades();
}

bool LozarForm::cambiado() const {
    return estado() != guardado_;
}

void LozarForm::marcaGuardado() {
    guardado_ = estado();
    ponTitulo();
}

void LozarForm::ponTitulo() {
    const QString base = mostrado_.isEmpty() ? QStringLiteral("Calculadora de Lozar Efectivo de "
                                                              "Producción")
                                             : kCaption + mostrado_;
    setWindowTitle(base + (cambiado() ? QStringLiteral("*") : QString()));
}

void LozarForm::llenaEjemplos() {
    MArchivoEjemplos->clear();
    const QDir dir(QDir(plataforma().directorioAplicacion()).filePath(QStringLiteral("ejemplos")));
    for (const QFileInfo& f :
         dir.entryInfoList({QStringLiteral("*.lzr")}, QDir::Files, QDir::Name)) {
        // Listed by their titles, which say what each shows.
        QString titulo = f.completeBaseName();
        try {
            const LecturaEstudio l = leeEstudio(leeArchivoEntero(f.filePath(), 1 << 20));
            for (const auto& [campo, valor] : l.valores)
                if (campo == 0 && !valor.isEmpty())
                    titulo = valor;
        } catch (const ErrorLozar&) {
        }
        const QString ruta = f.filePath();
        connect(MArchivoEjemplos->addAction(titulo), &QAction::triggered, this,
                [this, ruta] { abreEjemplo(ruta); });
    }
    for (const QFileInfo& f :
         dir.entryInfoList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name)) {
        const QString ruta = f.filePath();
        connect(MArchivoEjemplos->addAction(QStringLiteral("Mediciones: ") + f.fileName()),
                &QAction::triggered, this, [this, ruta] { importaMediciones(ruta); });
    }
    if (MArchivoEjemplos->isEmpty())
        MArchivoEjemplos->addAction(QStringLiteral("(no hay ejemplos junto al programa)"))
            ->setEnabled(false);
}

void LozarForm::closeEvent(QCloseEvent* e) {
    if (sigueTrasGuardar())
        e->accept();
    else
        e->ignore();
}

void LozarForm::MArchivoExportar_Click() {
    const std::optional<QString> ruta = plataforma().dialogoExportar(kFiltroExportar);
    if (!ruta)
        return;
    try {
        // The picture with its title, numbered axes and limits: a figure that stands alone.
        const QSize tam = tamanoFiguraRotulada(*this);
        exporta(*ruta, tam, [&](QPainter& p) {
            dibujaFiguraRotulada(p, QRectF(QPointF(0, 0), QSizeF(tam)), *this);
        });
    } catch (const ErrorLozar& e) {
        avisaRutina(objectName() + QStringLiteral(". MArchivoExportar."), e, 1);
    }
}

void LozarForm::MArchivoAbrir_Click() {
    if (!sigueTrasGuardar())
        return;
    if (const std::optional<QString> ruta = plataforma().dialogoAbrir(kFiltro))
        abreEstudio(*ruta, false);
}

void LozarForm::MArchivoNuevo_Click() {
    if (!sigueTrasGuardar())
        return;
    for (std::size_t i = 0; i < cajas_.size(); ++i)
        cajas_[i]->setText(inicial_.value(int(i)));
    chkTaguchi->setCheckState(Qt::Unchecked);
    modelo_.fijaUnidades(QString());
    mediciones_.clear();
    ordenadas_.clear();
    subgrupos_.clear();
    archivo_.clear();
    mostrado_.clear();
    deArchivo_.clear();
    Pic1->borra();
    Form_Load();
}

namespace {
constexpr int kRecientes = 5;
const QString kClaveRecientes = QStringLiteral("estudiosRecientes");
} // namespace

void LozarForm::anotaReciente(const QString& ruta) {
    QSettings ajustes;
    QStringList r = ajustes.value(kClaveRecientes).toStringList();
    const QString absoluta = QFileInfo(ruta).absoluteFilePath();
    r.removeAll(absoluta);
    r.prepend(absoluta);
    ajustes.setValue(kClaveRecientes, r.mid(0, kRecientes));
}

void LozarForm::llenaRecientes() {
    MArchivoRecientes->clear();
    const QStringList r = QSettings().value(kClaveRecientes).toStringList();
    for (int i = 0; i < r.size() && i < kRecientes; ++i) {
        const QString ruta = r[i];
        QAction* a = MArchivoRecientes->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(ruta).fileName()));
        a->setToolTip(QDir::toNativeSeparators(ruta));
        connect(a, &QAction::triggered, this, [this, ruta] {
            if (sigueTrasGuardar())
                abreEstudio(ruta, false);
        });
    }
    if (MArchivoRecientes->isEmpty())
        MArchivoRecientes->addAction(QStringLiteral("(ninguno todavía)"))->setEnabled(false);
}

void LozarForm::abreEjemplo(const QString& ruta) {
    if (sigueTrasGuardar())
        abreEstudio(ruta, true);
}

void LozarForm::abreEstudio(const QString& ruta, bool ejemplo) {
    try {
        // No study is anywhere near 64 MB: a larger file is not one.
        const LecturaEstudio lectura = leeEstudio(leeArchivoEntero(ruta, 64 << 20));
        // What was read before a fault stays applied; each box's change handling runs. A file
        // without a shape is a normal study, whatever shape was on screen.
        // Nor is one without units: the volume was the other study's.
        bool conForma = false, conUnidades = false;
        for (const auto& [campo, valor] : lectura.valores) {
            conForma = conForma || (campo >= kCamposEstudio && campo < kCampoUnidades);
            conUnidades = conUnidades || campo == kCampoUnidades;
        }
        if (!conForma && !lectura.valores.isEmpty()) {
            Sesgo->clear();
            Curtosis->clear();
        }
        if (!conUnidades && !lectura.valores.isEmpty())
            modelo_.fijaUnidades(QString());
        deArchivo_.clear();
        for (const auto& [campo, valor] : lectura.valores) {
            if (campo == kCampoUnidades)
                modelo_.fijaUnidades(valor);
            else if (campo == kCampoTaguchi)
                chkTaguchi->setCheckState(valor == QLatin1String("1")   ? Qt::Checked
                                          : valor == QLatin1String("2") ? Qt::PartiallyChecked
                                                                        : Qt::Unchecked);
            else if (kOrden[campo] == Caja::txtTitulo)
                caja(kOrden[campo])->setText(valor);
            else {
                const QString mostrado = conSeparadorLocal(valor);
                if (mostrado != valor)
                    deArchivo_.insert(int(kOrden[campo]), {mostrado, valor});
                caja(kOrden[campo])->setText(mostrado);
            }
        }
        if (lectura.error) // which file, after what was wrong in it
            throw ErrorLozar(lectura.error->numero(),
                             lectura.error->descripcion() +
                                 QStringLiteral(", en \"%1\"").arg(QDir::toNativeSeparators(ruta)));
        mediciones_.clear(); // they belonged to the study on screen before
        ordenadas_.clear();
        subgrupos_.clear();
        if (lectura.valores.isEmpty())
            throw ErrorLozar(kErrTipos,
                             QStringLiteral("\"%1\" no contiene ningún dato de un estudio de Lozar")
                                 .arg(QDir::toNativeSeparators(ruta)));
        // An example is never overwritten: saving it asks for a name of the user's own.
        archivo_ = ejemplo ? QString() : ruta;
        if (!ejemplo)
            anotaReciente(ruta);
        mostrado_ = ruta;
        marcaGuardado();
    } catch (const ErrorLozar& e) {
        avisaRutina(objectName() + QStringLiteral(". MArchivoAbrir."), e, 1);
        return;
    }
    redibuja();
    marcaGuardado(); // a range the drawing widened is the study as opened, not a change
}

void LozarForm::redibuja() {
    Pic1->borra();
    cmdNormal_Click();
    cmdDrawCostFunction_Click();
}
