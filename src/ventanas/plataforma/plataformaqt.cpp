#include "plataforma/plataformaqt.h"

#include "numeros/errores.h"
#include "plataforma/formulario.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTranslator>
#include <QUrl>
#include <QWidget>

PlataformaQt::PlataformaQt() = default;
PlataformaQt::~PlataformaQt() = default;

Respuesta PlataformaQt::mensaje(const QString& texto, Botones botones, Icono icono) {
    QMessageBox caja(QApplication::activeWindow());
    caja.setWindowTitle(kTituloAplicacion);
    caja.setTextFormat(Qt::PlainText);
    caja.setText(texto);
    switch (icono) {
    case Icono::Ninguno:
        caja.setIcon(QMessageBox::NoIcon);
        break;
    case Icono::Informacion:
        caja.setIcon(QMessageBox::Information);
        break;
    case Icono::Pregunta:
        caja.setIcon(QMessageBox::Question);
        break;
    case Icono::Exclamacion:
        caja.setIcon(QMessageBox::Warning);
        break;
    }
    if (botones == Botones::SiNo) {
        caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        caja.setDefaultButton(QMessageBox::Yes);
    } else if (botones == Botones::SiNoCancelar) {
        caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        caja.setDefaultButton(QMessageBox::Yes);
        caja.setEscapeButton(QMessageBox::Cancel);
    } else {
        caja.setStandardButtons(QMessageBox::Ok);
    }
    // A message must be readable even while a long action shows the busy pointer.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int r = caja.exec();
    QApplication::restoreOverrideCursor();
    if (botones == Botones::Aceptar)
        return Respuesta::Aceptar;
    return r == QMessageBox::Yes  ? Respuesta::Si
           : r == QMessageBox::No ? Respuesta::No
                                  : Respuesta::Cancelar;
}

QString PlataformaQt::filtroQt(const QString& filtro) {
    const QStringList partes = filtro.split(QLatin1Char('|'));
    QStringList salida;
    for (int i = 0; i + 1 < partes.size(); i += 2) {
        QString desc = partes[i];
        // Qt reads the patterns from the parentheses of the description.
        if (!desc.contains(QLatin1Char('(')))
            desc += QStringLiteral(" (") + partes[i + 1] + QLatin1Char(')');
        salida << desc;
    }
    return salida.join(QStringLiteral(";;"));
}

std::optional<QString> PlataformaQt::dialogoAbrir(const QString& filtro) {
    const QString r = QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(),
                                                   QString(), filtroQt(filtro));
    if (r.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(r);
}

std::optional<QString> PlataformaQt::dialogoCarpeta() {
    const QString r = QFileDialog::getExistingDirectory(QApplication::activeWindow());
    if (r.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(r);
}

std::optional<QString> PlataformaQt::dialogoGuardar(const QString& filtro) {
    const QString r = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(),
                                                   QString(), filtroQt(filtro));
    if (r.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(r);
}

std::optional<QString> PlataformaQt::dialogoExportar(const QString& filtro) {
    QFileDialog dialogo(QApplication::activeWindow());
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setNameFilter(filtroQt(filtro));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return std::nullopt;
    QString r = dialogo.selectedFiles().constFirst();
    if (QFileInfo(r).suffix().isEmpty()) {
        // The first pattern of the chosen filter: "Imagen PNG (*.png)" gives ".png".
        const QString f = dialogo.selectedNameFilter();
        const qsizetype i = f.indexOf(QStringLiteral("*."));
        if (i >= 0)
            r += f.mid(i + 1).section(QRegularExpression(QStringLiteral("[ );]")), 0, 0);
    }
    return QDir::toNativeSeparators(r);
}

void PlataformaQt::acercaDe(const QString& texto) {
    QMessageBox caja(QMessageBox::Information, kTituloAplicacion, texto, QMessageBox::Ok,
                     QApplication::activeWindow());
    caja.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    QPushButton* qt = caja.addButton(QStringLiteral("Acerca de Qt…"), QMessageBox::ActionRole);
    // The Qt button would close the box; it opens Qt's own over it instead.
    qt->disconnect();
    QObject::connect(qt, &QPushButton::clicked, &caja, [&caja] { QMessageBox::aboutQt(&caja); });
    caja.exec();
}

bool PlataformaQt::abreDocumento(const QString& ruta, const QString& directorioTrabajo) {
    Q_UNUSED(directorioTrabajo); // the desktop launcher chooses its own
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The desktop's launcher answers yes for any file and then opens nothing when no program
    // takes its type: ask the desktop first (a folder always has its file manager).
    if (!QFileInfo(ruta).isDir()) {
        QProcess consulta;
        consulta.start(QStringLiteral("xdg-mime"),
                       {QStringLiteral("query"), QStringLiteral("default"),
                        QMimeDatabase().mimeTypeForFile(ruta).name()});
        if (!consulta.waitForFinished(3000) || consulta.readAllStandardOutput().trimmed().isEmpty())
            return false;
    }
#endif
    return QDesktopServices::openUrl(QUrl::fromLocalFile(ruta));
}

bool PlataformaQt::imprime(QWidget* ventana) {
    if (QPrinterInfo::availablePrinters().isEmpty())
        return false;
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setPageOrientation(ventana->width() > ventana->height() ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait);
    QPrintDialog dialogo(&impresora, ventana);
    dialogo.setWindowTitle(QStringLiteral("Imprimir"));
    if (dialogo.exec() == QDialog::Accepted && !pintaVentana(ventana, &impresora))
        mensaje(QStringLiteral("No se pudo imprimir en \"%1\".").arg(impresora.printerName()),
                Botones::Aceptar, Icono::Exclamacion);
    return true;
}

bool PlataformaQt::imprimeTexto(const QString& html) {
    if (QPrinterInfo::availablePrinters().isEmpty())
        return false;
    QPrinter impresora(QPrinter::HighResolution);
    QPrintDialog dialogo(&impresora, QApplication::activeWindow());
    dialogo.setWindowTitle(QStringLiteral("Imprimir"));
    if (dialogo.exec() == QDialog::Accepted) {
        QTextDocument documento;
        documento.setHtml(html);
        documento.print(&impresora);
    }
    return true;
}

bool PlataformaQt::imprimePaginas(const std::function<void(QPagedPaintDevice&)>& pinta) {
    if (QPrinterInfo::availablePrinters().isEmpty())
        return false;
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialogo(&impresora, QApplication::activeWindow());
    dialogo.setWindowTitle(QStringLiteral("Imprimir"));
    if (dialogo.exec() == QDialog::Accepted)
        pinta(impresora);
    return true;
}

std::optional<int> PlataformaQt::eligeOpcion(const QString& pregunta, const QStringList& opciones,
                                             int inicial) {
    bool ok = false;
    const QString elegida = QInputDialog::getItem(QApplication::activeWindow(), kTituloAplicacion,
                                                  pregunta, opciones, inicial, false, &ok);
    if (!ok)
        return std::nullopt;
    return int(opciones.indexOf(elegida));
}

QString PlataformaQt::textoPortapapeles() {
    return QGuiApplication::clipboard()->text();
}

void PlataformaQt::copiaAlPortapapeles(const QString& texto) {
    QGuiApplication::clipboard()->setText(texto);
}

void PlataformaQt::copiaDibujo(const QImage& imagen, const QString& texto) {
    auto* datos = new QMimeData;
    datos->setImageData(imagen);
    datos->setText(texto);
    QGuiApplication::clipboard()->setMimeData(datos);
}

void PlataformaQt::punteroOcupado() {
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    else
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void PlataformaQt::punteroFlecha() {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

QString PlataformaQt::directorioAplicacion() {
    return QCoreApplication::applicationDirPath();
}

QString PlataformaQt::directorioDatosUsuario() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

bool PlataformaQt::otraInstancia() {
    if (comprobada_)
        return otra_;
    comprobada_ = true;
    // A lock held by a process that no longer exists is stale and taken over, so a
    // crashed copy never blocks the program for good; a live one is never stolen.
    bloqueo_ = std::make_unique<QLockFile>(rutaBloqueo());
    bloqueo_->setStaleLockTime(0);
    otra_ = !bloqueo_->tryLock(0);
    return otra_;
}

QString PlataformaQt::rutaBloqueo() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/lozar.lock");
}

void PlataformaQt::cargaTraducciones() {
    auto* qt = new QTranslator(qApp);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (qt->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"), dir))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
}
