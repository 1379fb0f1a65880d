// "&Archivo": saving a study to, and opening it from, a .lzr file.
#include "shell/errores.h"
#include "shell/exporta.h"
#include "shell/picturebox.h"
#include "shell/plataforma.h"
#include "study/archivoestudio.h"
#include "study/forma.h"
#include "study/lozarform.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSaveFile>

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

QString nativa(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}
} // namespace

void LozarForm::MArchivoGuardarComo_Click() {
    const std::optional<QString> ruta = plataforma().dialogoGuardar(kFiltro);
    if (!ruta)
        return;
    try {
        QStringList valores;
        for (int i = 0; i < kCamposEstudio; ++i)
            valores << (i == kCampoTaguchi ? QString::number(taguchi()) : texto(kOrden[i]));
        // A normal study stays the 19 lines it always was.
        if (!formaNormal(texto(Caja::Sesgo), texto(Caja::Curtosis)))
            valores << texto(Caja::Sesgo) << texto(Caja::Curtosis);
        const QByteArray bytes = escribeEstudio(valores);
        // Written aside and then put in place: a failed save leaves the old file whole.
        QSaveFile f(*ruta);
        if (!f.open(QIODevice::WriteOnly))
            throw ErrorLozar(kErrAccesoRuta, QStringLiteral("No se puede crear \"%1\" (%2)")
                                                 .arg(nativa(*ruta), f.errorString()));
        f.write(bytes);
        if (!f.commit())
            throw ErrorLozar(kErrEntradaSalida, QStringLiteral("No se pudo guardar \"%1\" (%2)")
                                                    .arg(nativa(*ruta), f.errorString()));
        setWindowTitle(kCaption + *ruta);
    } catch (const ErrorLozar& e) {
        avisaRutina(objectName() + QStringLiteral(". MArchivoGuardarComo."), e, 1);
    }
}

void LozarForm::MArchivoExportar_Click() {
    const std::optional<QString> ruta = plataforma().dialogoExportar(kFiltroExportar);
    if (!ruta)
        return;
    try {
        Pic1->exporta(*ruta);
    } catch (const ErrorLozar& e) {
        avisaRutina(objectName() + QStringLiteral(". MArchivoExportar."), e, 1);
    }
}

void LozarForm::MArchivoAbrir_Click() {
    const std::optional<QString> ruta = plataforma().dialogoAbrir(kFiltro);
    if (!ruta)
        return;
    try {
        QFile f(*ruta);
        if (!f.exists())
            throw ErrorLozar(
                kErrArchivoNoEncontrado,
                QStringLiteral("No se ha encontrado el archivo \"%1\"").arg(nativa(*ruta)));
        if (!f.open(QIODevice::ReadOnly))
            throw ErrorLozar(
                kErrAccesoRuta,
                QStringLiteral("No se puede leer \"%1\" (%2)").arg(nativa(*ruta), f.errorString()));
        const LecturaEstudio lectura = leeEstudio(f.readAll());
        f.close();
        // What was read before a fault stays applied; each box's change handling runs. A file
        // without a shape is a normal study, whatever shape was on screen.
        bool conForma = false;
        for (const auto& [campo, valor] : lectura.valores)
            conForma = conForma || campo >= kCamposEstudio;
        if (!conForma && !lectura.valores.isEmpty()) {
            Sesgo->clear();
            Curtosis->clear();
        }
        for (const auto& [campo, valor] : lectura.valores) {
            if (campo == kCampoTaguchi)
                chkTaguchi->setCheckState(valor == QLatin1String("1")   ? Qt::Checked
                                          : valor == QLatin1String("2") ? Qt::PartiallyChecked
                                                                        : Qt::Unchecked);
            else
                caja(kOrden[campo])->setText(valor);
        }
        if (lectura.error)
            throw *lectura.error;
        mediciones_.clear(); // they belonged to the study on screen before
        if (lectura.valores.isEmpty())
            throw ErrorLozar(kErrTipos,
                             QStringLiteral("\"%1\" no contiene ningún dato de un estudio de Lozar")
                                 .arg(nativa(*ruta)));
        setWindowTitle(kCaption + *ruta);
    } catch (const ErrorLozar& e) {
        avisaRutina(objectName() + QStringLiteral(". MArchivoAbrir."), e, 1);
        return;
    }
    Pic1->borra();
    cmdNormal_Click();
    cmdDrawCostFunction_Click();
}
