// "&Archivo": saving a study to, and opening it from, a .lzr file.
#include "analisis/cartera.h"
#include "archivos/archivoestudio.h"
#include "archivos/archivos.h"
#include "estudio/forma.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/exporta.h"
#include "plataforma/picturebox.h"
#include "plataforma/plataforma.h"
#include "plataforma/trabajo.h"
#include "principal/figurarotulada.h"
#include "principal/lozarform.h"

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
#include <algorithm>

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

bool LozarForm::guardaEn(const QString& ruta, const QString& procedimiento) {
    try {
        PunteroOcupado ocupado;
        // Numbers with a point whatever the locale, so that the file reads the same everywhere.
        auto enArchivo = [&](Caja c) {
            return c == Caja::txtTitulo ? texto(c) : comoEnArchivo(texto(c));
        };
        QStringList valores;
        for (int i = 0; i < kCamposEstudio; ++i)
            valores << (i == kCampoTaguchi ? QString::number(taguchi()) : enArchivo(kOrden[i]));
        // A normal study stays the 19 lines it always was.
        const bool normal = formaNormal(texto(Caja::Sesgo), texto(Caja::Curtosis));
        valores << (normal ? QString() : enArchivo(Caja::Sesgo))
                << (normal ? QString() : enArchivo(Caja::Curtosis)) << modelo_.unidades()
                << modelo_.ajuste() << enArchivo(Caja::DesvMedicion) << enArchivo(Caja::CostoEscape)
                << modelo_.aceptacion();
        guardaArchivoSeguro(ruta, escribeEstudio(valores, &medidas_));
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
    return e << QString::number(taguchi()) << modelo_.unidades()
             << QString::number(revisionMediciones_) << modelo_.ajuste() << modelo_.aceptacion();
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
    // The figure names the limits by their values.
    if (!compruebaCajas(ModeloEstudio::ParaFuncion))
        return;
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

void LozarForm::MArchivoCartera_Click() {
    const std::optional<QString> carpeta = plataforma().dialogoCarpeta();
    if (!carpeta)
        return;
    try {
        QList<CostoDeEstudio> estudios;
        trabajaConProgreso(
            this, QStringLiteral("Leyendo los estudios de \"%1\"…").arg(*carpeta),
            [&](Progreso& p) { estudios = leeCartera(*carpeta, tabla_, std::nullopt, &p); });
        DlgCartera d(std::move(estudios), *carpeta, this);
        QString elegido;
        connect(&d, &DlgCartera::abre, this, [&](const QString& ruta) {
            elegido = ruta;
            d.accept();
        });
        d.exec();
        if (!elegido.isEmpty() && sigueTrasGuardar())
            abreEstudio(elegido, false);
    } catch (const ErrorLozar& e) {
        if (e.numero() != kErrCancelado)
            avisaManejador(e);
    }
}

void LozarForm::MArchivoNuevo_Click() {
    if (!sigueTrasGuardar())
        return;
    for (std::size_t i = 0; i < cajas_.size(); ++i)
        cajas_[i]->setText(inicial_.value(int(i)));
    chkTaguchi->setCheckState(Qt::Unchecked);
    modelo_.fijaUnidades(QString());
    fijaAjuste(QString());
    modelo_.fijaAceptacion(QString());
    tomaMediciones({}, {});
    archivo_.clear();
    mostrado_.clear();
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
    // The whole file into a study of its own first: the one on screen changes only when that
    // study is whole, so that a bad file leaves it, its file name and its "*" as they were.
    EstudioEnArchivo e;
    std::vector<double> ordenadas;
    try {
        trabajaConProgreso(this,
                           QStringLiteral("Abriendo \"%1\"…").arg(QDir::toNativeSeparators(ruta)),
                           [&](Progreso& p) {
                               // Measurements make a study as large as their files, no more.
                               p.tramo(0, 0.4);
                               const QByteArray bytes = leeArchivoEntero(ruta, qint64(1) << 30, &p);
                               p.tramo(0.4, 0.9);
                               e = leeEstudioEntero(bytes, &p);
                               p.tramo(0.9, 1);
                               ordenadas = e.mediciones.valores;
                               std::sort(ordenadas.begin(), ordenadas.end());
                           });
    } catch (const ErrorLozar& error) {
        if (error.numero() == kErrCancelado)
            return;
        // Which file, after what was wrong in it.
        avisaRutina(
            objectName() + QStringLiteral(". MArchivoAbrir."),
            ErrorLozar(error.numero(),
                       error.descripcion() +
                           QStringLiteral(", en \"%1\"").arg(QDir::toNativeSeparators(ruta)),
                       error.origen()),
            1);
        return;
    }
    for (int campo = 0; campo < kCamposTodos; ++campo) {
        const QString& valor = e.valores[campo];
        if (campo == kCampoUnidades)
            modelo_.fijaUnidades(valor);
        else if (campo == kCampoAjuste)
            fijaAjuste(valor);
        else if (campo == kCampoAceptacion)
            modelo_.fijaAceptacion(valor);
        else if (campo == kCampoDesvMedicion || campo == kCampoCostoEscape)
            caja(campo == kCampoDesvMedicion ? Caja::DesvMedicion : Caja::CostoEscape)
                ->setText(conSeparadorLocal(valor));
        else if (campo == kCampoTaguchi)
            chkTaguchi->setCheckState(valor == QLatin1String("1")   ? Qt::Checked
                                      : valor == QLatin1String("2") ? Qt::PartiallyChecked
                                                                    : Qt::Unchecked);
        else if (kOrden[campo] == Caja::txtTitulo)
            caja(Caja::txtTitulo)->setText(valor);
        else // a number the file wrote with a point, in the user's separator
            caja(kOrden[campo])->setText(conSeparadorLocal(valor));
    }
    tomaMediciones(std::move(e.mediciones), std::move(ordenadas));
    // An example is never overwritten: saving it asks for a name of the user's own.
    archivo_ = ejemplo ? QString() : ruta;
    if (!ejemplo)
        anotaReciente(ruta);
    mostrado_ = ruta;
    marcaGuardado();
    // The file is the study: what it lacks stays empty, and the user hears which.
    if (!e.faltan.isEmpty()) {
        QStringList faltan;
        for (int campo : e.faltan)
            faltan << QStringLiteral("«%1»").arg(
                campo == kCampoTaguchi ? QStringLiteral("Taguchi") : nombreDeCaja(kOrden[campo]));
        plataforma().mensaje(
            QStringLiteral("\"%1\" no trae %2: esas casillas quedan vacías (Taguchi sin "
                           "marcar). Escríbalas antes de calcular.")
                .arg(QDir::toNativeSeparators(ruta), faltan.join(QStringLiteral(", "))),
            Botones::Aceptar, Icono::Exclamacion);
    }
    redibuja(e.faltan.isEmpty());
    marcaGuardado(); // a range the drawing widened is the study as opened, not a change
}

void LozarForm::redibuja(bool avisa) {
    Pic1->borra();
    if (!compruebaCajas(ModeloEstudio::ParaDistribucion, avisa))
        return;
    // The ranges first, so that the bell and the function share one scale; the function over
    // the bell, so that the cost shows where most of the production is.
    try {
        ordenaCostosExtra();
        ensanchaEscalas();
    } catch (const ErrorLozar& e) {
        avisaManejador(e);
        return;
    }
    superponeDistribucion();
    dibujaFuncionLozar(false);
}
