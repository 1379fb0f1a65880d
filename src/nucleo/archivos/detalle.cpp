#include "archivos/detalle.h"

#include "archivos/archivos.h"
#include "archivos/cp1252.h"
#include "estudio/forma.h"
#include "estudio/zonas.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"

#include <QDir>
#include <QLocale>

namespace {
const QString kTab = QStringLiteral("\t");
const QString k3 = QStringLiteral("0.000"), kD3 = QStringLiteral("$ 0.000");

} // namespace

ErrorLozar DetalleCalculo::noSePuedeCrear(const QString& ruta, const QString& causa) {
    return ErrorLozar(kErrAccesoRuta,
                      QStringLiteral("No se puede crear el archivo de detalle \"%1\" (%2)")
                          .arg(QDir::toNativeSeparators(ruta), causa));
}

void DetalleCalculo::linea(const QString& texto) {
    bytes_ += aCp1252Aproximado(texto) + "\r\n";
}

void DetalleCalculo::encabezado(const Cajas& c, const QDateTime& ahora, const FormaProceso* forma,
                                double mu, double sigma) {
    const QLocale l;
    auto caja = [&](Caja k, const QString& patron) { return formateaTexto(c.texto(k), patron); };
    linea(l.toString(ahora.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
          l.toString(ahora.time(), QLocale::ShortFormat));
    linea(c.texto(Caja::txtTitulo));
    linea(QString());
    linea(QStringLiteral("Valor Objetivo:     ") + kTab + kTab + caja(Caja::XObj, k3));
    // The mean and spread the rows below were integrated with: a chart's cell has its own.
    linea(QStringLiteral("Media del Proceso:  ") + kTab + kTab + formatea(mu, k3));
    linea(QStringLiteral("Desviación Estándar:") + kTab + kTab + formatea(sigma, k3));
    if (forma) {
        linea(QStringLiteral("Sesgo:              ") + kTab + kTab + caja(Caja::Sesgo, k3));
        linea(QStringLiteral("Curtosis:           ") + kTab + kTab + caja(Caja::Curtosis, k3));
        linea(QStringLiteral("Distribución:       ") + kTab + kTab + forma->nombre());
        linea(QStringLiteral("Cpk (percentiles):  ") + kTab + kTab +
              textoDeIndice(
                  cpkDe(mu, sigma, c.flexible(Caja::XRetI), c.flexible(Caja::XRetS), forma)));
    }
    linea(QStringLiteral("Lozar Nominal"));
    linea(QStringLiteral("   Lado Inferior: ") + kTab + kTab + caja(Caja::YNomI, kD3));
    linea(QStringLiteral("   Lado Superior: ") + kTab + kTab + caja(Caja::YNomS, kD3));
    linea(QStringLiteral("   en el Objetivo:") + kTab + kTab +
          formatea(YNominal(c, c.estricto(Caja::XObj)), kD3));
    linea(QStringLiteral("Límite y Lozar Extra"));
    const struct {
        const char* etiqueta;
        Caja limite, costo;
    } extras[] = {{"   por Retrabajo Lado Inferior:  ", Caja::XRetI, Caja::YRetI},
                  {"   por Retrabajo Lado Superior:  ", Caja::XRetS, Caja::YRetS},
                  {"   por Desperdicio Lado Inferior:", Caja::XDesI, Caja::YDesI},
                  {"   por Desperdicio Lado Superior:", Caja::XDesS, Caja::YDesS}};
    for (const auto& e : extras)
        linea(QString::fromUtf8(e.etiqueta) + kTab + kTab + caja(e.limite, k3) + kTab +
              caja(e.costo, kD3));
    linea(QString());
    linea(QStringLiteral("Integración"));
    linea(QStringLiteral("Desde\thasta\tArea\tLozar\tParcial\tAcumulado"));
}

void DetalleCalculo::intervalo(double desde, double hasta, double area, double costo,
                               double parcial, double acumulado) {
    const QString d2 = QStringLiteral("$ 0.00");
    linea(formatea(desde, QStringLiteral("0.0000")) + kTab +
          formatea(hasta, QStringLiteral("0.0000")) + kTab +
          formatea(area, QStringLiteral("0.000 %")) + kTab + formatea(costo, d2) + kTab +
          formatea(parcial, d2) + kTab + formatea(acumulado, d2));
}

void DetalleCalculo::totales(double noDesperdiciada, double efectivo, double indice) {
    linea(QString());
    linea(QStringLiteral("Fracción no Desperdiciada: ") + kTab + kTab +
          formatea(noDesperdiciada, QStringLiteral("0.0000")));
    linea(QStringLiteral("Lozar Efectivo Unitario: ") + kTab + kTab +
          formatea(efectivo, QStringLiteral("$ 0.00")));
    linea(QStringLiteral("Índice de Lozar Efectivo: ") + kTab + kTab +
          formatea(indice, QStringLiteral("0.0 %")));
}

void DetalleCalculo::cierra() {
    // A report made again at every click: not worth waiting for the disk itself.
    guardaArchivoSeguro(ruta_, bytes_, QStringLiteral("el archivo de detalle "), false);
}
