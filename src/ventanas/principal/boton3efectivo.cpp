// "3. Lozar Efectivo": the effective cost, its label, the question box and the detail file.
#include "archivos/detalle.h"
#include "costo/efectivo.h"
#include "costo/exacto.h"
#include "costo/medicion.h"
#include "estudio/forma.h"
#include "estudio/modeloestudio.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/documentos.h"
#include "plataforma/plataforma.h"
#include "principal/lozarform.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

QString LozarForm::rutaDetalle() const {
    return QDir::toNativeSeparators(rutaDeArchivoPropio(DetalleCalculo::nombre()));
}

std::optional<double> LozarForm::LozarEfectivo(double mu, double sigma, const FormaProceso* forma) {
    try {
        return ::LozarEfectivo(*this, tabla_, mu, sigma, rutaDetalle(),
                               QDateTime::currentDateTime(), forma);
    } catch (const ErrorLozar& e) {
        avisaRutina(objectName() + QStringLiteral(". LozarEfectivo."), e);
        return std::nullopt;
    }
}

// The label's tooltip: the same cost as the expectation itself, which the optimum and the
// scenarios use. Limits out of order have no exact cost.
QString LozarForm::textoExacto(double mu, double sigma, const FormaProceso* forma) const {
    try {
        compruebaLimites(limitesDe(*this));
        const CostoExacto r = costoExacto(*this, mu, sigma, forma);
        const QString exacto =
            r.todoDesperdicio()
                ? QStringLiteral("Exacto: 100% Desperdicio")
                : QStringLiteral("Exacto: ") + formatea(r.efectivo, QStringLiteral("$0.0000"));
        // Decisions on measured values: what they cost, beside the perfect gauge's.
        const std::optional<CostoMedicion> m = costoMedidoDe(*this, mu, sigma, forma);
        if (!m)
            return exacto;
        return (m->efectivo == kTodoDesperdicio
                    ? QStringLiteral("Exacto con el error de medición: 100% Desperdicio")
                    : QStringLiteral("Exacto con el error de medición: ") +
                          formatea(m->efectivo, QStringLiteral("$0.0000"))) +
               QStringLiteral("; con una medición perfecta, ") + exacto.mid(8);
    } catch (const ErrorLozar& e) {
        return QStringLiteral("Exacto: no se puede calcular (%1)").arg(e.descripcion());
    }
}

void LozarForm::cmdLozarEfectivo_Click() {
    PunteroOcupado ocupado;
    if (!compruebaCajas(ModeloEstudio::ParaCosto))
        return;
    try {
        const double mu = estricto(Caja::Media), sigma = estricto(Caja::StdDev);
        const std::shared_ptr<const FormaProceso> forma = formaDe(*this);
        const std::optional<double> ce = LozarEfectivo(mu, sigma, forma.get());
        if (!ce) // already reported; a made-up cost would mislead
            return;
        if (*ce == kTodoDesperdicio) {
            lblLozarEfec->setText(QStringLiteral("100% Desperdicio"));
            return;
        }
        const double indice = div(*ce, YNominal(*this, estricto(Caja::XObj)));
        lblLozarEfec->setText(formatea(*ce, QStringLiteral("$0.00")) + QStringLiteral(" (+") +
                              formatea(indice - 1, QStringLiteral("0.0%")) + QLatin1Char(')'));
        lblLozarEfec->setToolTip(textoExacto(mu, sigma, forma.get()));

        // Tail fractions at each limit, the boxes read again.
        const Colas colas = colasDelProceso(*this, estricto(Caja::Media), estricto(Caja::StdDev),
                                            tabla_, forma.get());
        const double desperdicio = colas.desperdicio();
        const double retrabajo = colas.retrabajo();
        const QString texto =
            QStringLiteral("Desperdicio: ") + formatea(desperdicio, QStringLiteral("0.0 %")) +
            QStringLiteral("\n\nRetrabajo:   ") + formatea(retrabajo, QStringLiteral("0.0 %")) +
            QStringLiteral("\n\nLozar Unitario Efectivo: ") +
            formatea(*ce, QStringLiteral("$ 0.00")) +
            QStringLiteral("\n\nLozar Adicional Efectivo: ") +
            formatea(indice - 1, QStringLiteral("0.0 %")) +
            QStringLiteral("\n\n¿Ver detalles de cálculo?\n");
        if (plataforma().mensaje(texto, Botones::SiNo, Icono::Pregunta) == Respuesta::Si &&
            !AbreDocumento(rutaDetalle()) &&
            plataforma().mensaje(QStringLiteral("Ningún programa de este equipo abre el detalle "
                                                "(un archivo .xls de texto separado por "
                                                "tabuladores). Está en:\n\n%1\n\n¿Abrir su "
                                                "carpeta?")
                                     .arg(QDir::toNativeSeparators(rutaDetalle())),
                                 Botones::SiNo, Icono::Informacion) == Respuesta::Si)
            plataforma().abreDocumento(QFileInfo(rutaDetalle()).absolutePath(), QString());
    } catch (const ErrorLozar& e) {
        plataforma().punteroFlecha();
        avisaManejador(e);
    }
}
