#include "graficos/botonesgrafico.h"

#include "numeros/errores.h"
#include "plataforma/exporta.h"
#include "plataforma/formulario.h"
#include "plataforma/plataforma.h"

#include <QBuffer>
#include <QDialog>
#include <QDialogButtonBox>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>

QByteArray pdfDeVentana(QWidget* ventana, const QString& que) {
    QByteArray bytes;
    QBuffer memoria(&bytes);
    memoria.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&memoria);
    pdf.setPageOrientation(QPageLayout::Landscape);
    if (!pintaVentana(ventana, &pdf))
        throw ErrorLozar(kErrEntradaSalida, QStringLiteral("No se pudo dibujar %1").arg(que));
    return bytes;
}

void guardaImagen(QWidget* dibujo, const QString& encabezado) {
    const std::optional<QString> ruta = plataforma().dialogoExportar(kFiltroExportar);
    if (!ruta)
        return;
    try {
        // Qt's SVG writer keeps no clipping: an SVG holds the chart as a picture of twice the
        // screen's pixels; PNG and PDF draw it anew.
        const QSize tam = dibujo->size();
        const bool svg = formatoDe(*ruta) == Formato::Svg;
        exporta(*ruta, tam, [&](QPainter& p) {
            if (!svg) {
                dibujo->render(&p);
                return;
            }
            QImage imagen(tam * 2, QImage::Format_RGB32);
            imagen.fill(Qt::white);
            QPainter q(&imagen);
            q.setRenderHint(QPainter::Antialiasing);
            q.scale(2, 2);
            dibujo->render(&q, QPoint(), QRegion(), QWidget::DrawChildren);
            q.end();
            p.drawImage(QRectF(QPointF(0, 0), QSizeF(tam)), imagen);
        });
    } catch (const ErrorLozar& e) {
        avisaRutina(encabezado + QStringLiteral("cmdGuardarImagen."), e, 1);
    }
}

QDialogButtonBox* botonesDeGrafico(QDialog* ventana, QWidget* dibujo,
                                   const std::function<QString()>& numeros) {
    auto* caja = new QDialogButtonBox;
    auto boton = [&](const QString& texto, const char* nombre, const QString& ayuda,
                     QDialogButtonBox::ButtonRole papel) {
        QPushButton* b = caja->addButton(texto, papel);
        b->setObjectName(QLatin1String(nombre));
        b->setToolTip(ayuda);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* copiar =
        boton(QStringLiteral("Copiar"), "cmdCopiar",
              QStringLiteral("Copiar el gráfico como imagen y sus números como texto separado por "
                             "tabuladores, para pegarlos en un documento o una hoja de cálculo"),
              QDialogButtonBox::ActionRole);
    QPushButton* guardar = boton(QStringLiteral("Guardar imagen…"), "cmdGuardarImagen",
                                 QStringLiteral("Guardar el gráfico como PNG, SVG o PDF"),
                                 QDialogButtonBox::ActionRole);
    QPushButton* imprimir =
        boton(QStringLiteral("Imprimir…"), "cmdImprimir", QStringLiteral("Imprimir el gráfico"),
              QDialogButtonBox::ActionRole);
    QPushButton* cerrar =
        boton(QStringLiteral("Cerrar"), "cmdCerrar", QStringLiteral("Cerrar esta ventana"),
              QDialogButtonBox::RejectRole);
    const QString encabezado = ventana->objectName() + QStringLiteral(". ");
    QObject::connect(copiar, &QPushButton::clicked, ventana, [dibujo, numeros] {
        plataforma().copiaDibujo(dibujo->grab().toImage(), numeros());
    });
    QObject::connect(guardar, &QPushButton::clicked, ventana,
                     [dibujo, encabezado] { guardaImagen(dibujo, encabezado); });
    QObject::connect(imprimir, &QPushButton::clicked, ventana, [dibujo] {
        if (!plataforma().imprime(dibujo))
            ofrecePdf(QStringLiteral("el gráfico"),
                      [&] { return pdfDeVentana(dibujo, QStringLiteral("el gráfico")); });
    });
    QObject::connect(cerrar, &QPushButton::clicked, ventana, &QDialog::reject);
    ventana->setSizeGripEnabled(true);
    return caja;
}
