#include "plataforma/exporta.h"

#include "archivos/archivos.h"
#include "numeros/errores.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <QSvgGenerator>
#include <QTextDocument>
#include <cmath>

namespace {
const struct {
    Formato formato;
    const char *extension, *descripcion;
} kFormatos[] = {{Formato::Png, "png", "Imagen PNG"},
                 {Formato::Svg, "svg", "Dibujo SVG"},
                 {Formato::Pdf, "pdf", "Documento PDF"}};

QString filtro() {
    QStringList partes;
    for (const auto& f : kFormatos)
        partes << QStringLiteral("%1 (*.%2)|*.%2")
                      .arg(QString::fromUtf8(f.descripcion), QLatin1String(f.extension));
    return partes.join(QLatin1Char('|'));
}
} // namespace

const QString kFiltroExportar = filtro();

std::optional<Formato> formatoDe(const QString& ruta) {
    const QString extension = QFileInfo(ruta).suffix().toLower();
    for (const auto& f : kFormatos)
        if (extension == QLatin1String(f.extension))
            return f.formato;
    return std::nullopt;
}

namespace {
constexpr int kPuntosPorPulgada = 96; // a screen pixel, as the drawing was made

ErrorLozar noSePudo(const QString& ruta, const QString& causa) {
    return ErrorLozar(kErrAccesoRuta, QStringLiteral("No se pudo exportar a \"%1\" (%2)")
                                          .arg(QDir::toNativeSeparators(ruta), causa));
}

bool pintaEn(QPaintDevice* d, QSize tamano, const std::function<void(QPainter&)>& pinta) {
    QPainter p;
    if (!p.begin(d))
        return false;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setWindow(QRect(QPoint(0, 0), tamano));
    pinta(p);
    return p.end();
}
} // namespace

void exporta(const QString& ruta, QSize tamano, const std::function<void(QPainter&)>& pinta,
             double escala) {
    const std::optional<Formato> tipo = formatoDe(ruta);
    if (!tipo)
        throw noSePudo(ruta, QStringLiteral("el nombre debe terminar en .png, .svg o .pdf"));
    // Drawn in memory first, then written as any file of the user's: whole, or not at all.
    QByteArray bytes;
    QBuffer archivo(&bytes);
    archivo.open(QIODevice::WriteOnly);
    bool ok;
    if (*tipo == Formato::Png) {
        QImage imagen((QSizeF(tamano) * escala).toSize(), QImage::Format_RGB32);
        imagen.fill(Qt::white);
        ok = pintaEn(&imagen, tamano, pinta) && imagen.save(&archivo, "PNG");
    } else if (*tipo == Formato::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&archivo);
        svg.setSize(tamano);
        svg.setViewBox(QRect(QPoint(0, 0), tamano));
        svg.setResolution(kPuntosPorPulgada);
        svg.setTitle(QStringLiteral("Lozar"));
        ok = pintaEn(&svg, tamano, pinta);
    } else {
        QPdfWriter pdf(&archivo);
        pdf.setResolution(kPuntosPorPulgada);
        pdf.setCreator(QStringLiteral("Lozar"));
        // One page the drawing's own size, without margins.
        const QSizeF puntos = QSizeF(tamano) * 72.0 / kPuntosPorPulgada;
        pdf.setPageLayout(
            QPageLayout(QPageSize(puntos, QPageSize::Point), QPageLayout::Portrait, QMarginsF()));
        ok = pintaEn(&pdf, tamano, pinta);
    }
    if (!ok)
        throw noSePudo(ruta, QStringLiteral("no se pudo dibujar"));
    archivo.close();
    guardaArchivoSeguro(ruta, bytes);
}

QByteArray pdfDeTexto(const QString& html) {
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&b);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setCreator(QStringLiteral("Lozar"));
    QTextDocument d;
    d.setHtml(html);
    d.print(&pdf);
    return bytes;
}
