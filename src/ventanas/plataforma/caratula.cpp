#include "plataforma/caratula.h"

#include "archivos/archivos.h"
#include "numeros/errores.h"
#include "plataforma/plataforma.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {
constexpr int kMarco = 3; // 90 twips of frame in all, 45 on each side
}

QString Slash(QString texto) {
    texto = texto.trimmed();
    if (texto.endsWith(QLatin1Char(':')) || texto.endsWith(QLatin1Char('\\')) ||
        texto.endsWith(QLatin1Char('/')))
        return texto;
    // Unix paths take their own separator; everything else the backslash.
    return texto + (texto.contains(QLatin1Char('/')) ? QLatin1Char('/') : QLatin1Char('\\'));
}

void Centrar(QWidget* ventana) {
    const QScreen* pantalla =
        ventana->screen() ? ventana->screen() : QGuiApplication::primaryScreen();
    if (!pantalla)
        return;
    const QRect p = pantalla->geometry();
    const QSize exterior = ventana->frameGeometry().size();
    ventana->move(p.x() + (p.width() - exterior.width()) / 2,
                  p.y() + (p.height() - exterior.height()) / 2);
}

Caratula::Caratula(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Caratula"));
    setWindowTitle(QString());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Portada de Lozar"));
    Image1->installEventFilter(this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &QWidget::close);
}

void Caratula::Form_Load() {
    directorio_ = Slash(plataforma().directorioAplicacion());
    const QString ruta = directorio_ + QStringLiteral("CARATULA.JPG");
    QImage imagen;
    try { // through the reader that refuses a pipe, which would hold the start for ever
        imagen = QImage::fromData(leeArchivoEntero(ruta, qint64(64) << 20));
    } catch (const ErrorLozar&) {
    }
    if (imagen.isNull())
        throw ErrorLozar(kErrArchivoNoEncontrado,
                         QStringLiteral("No se ha podido leer la portada \"%1\".").arg(ruta));
    Image1->setPixmap(QPixmap::fromImage(imagen));
    Image1->setGeometry(kMarco, kMarco, imagen.width(), imagen.height());
    setFixedSize(imagen.width() + 2 * kMarco, imagen.height() + 2 * kMarco);
    Centrar(this);
}

void Caratula::Form_Activate() {
    if (terminando_ || descargada_)
        return;
    if (plataforma().otraInstancia()) {
        terminando_ = true;
        plataforma().mensaje(QStringLiteral("La aplicación ya está ejecutándose."),
                             Botones::Aceptar, Icono::Exclamacion);
        hide();
        emit duplicada(); // the program ends once its event loop takes the request
        return;
    }
    Timer1->stop();
    Timer1->setInterval(3000);
    Timer1->start();
}

void Caratula::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Not every window system activates a frameless window: the first showing counts.
    QTimer::singleShot(0, this, &Caratula::Form_Activate);
}

void Caratula::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void Caratula::keyPressEvent(QKeyEvent* e) {
    // Only keys that produce a character; arrows, function keys and Shift produce none.
    if (!e->text().isEmpty())
        close();
    e->accept();
}

bool Caratula::eventFilter(QObject* objeto, QEvent* e) {
    if (objeto == Image1 && e->type() == QEvent::MouseButtonRelease) {
        const auto* m = static_cast<QMouseEvent*>(e);
        if (Image1->rect().contains(m->position().toPoint()))
            close();
        return true;
    }
    return QWidget::eventFilter(objeto, e);
}

void Caratula::closeEvent(QCloseEvent* e) {
    Timer1->stop();
    if (!terminando_ && !descargada_) {
        descargada_ = true;
        emit descargada(); // the main window is up before the splash goes
    }
    e->accept();
}

void Caratula::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    QPainter p(this);
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!pintada_) {
        pintada_ = true;
        QTimer::singleShot(0, this, &Caratula::pintada); // after the picture reaches the screen
    }
}
