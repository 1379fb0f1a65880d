// "3. Lozar Efectivo": the effective cost, its label, the question box and the detail file.
#include "shell/errores.h"
#include "shell/module1.h"
#include "shell/numeros.h"
#include "shell/plataforma.h"
#include "study/detalle.h"
#include "study/efectivo.h"
#include "study/forma.h"
#include "study/lozarform.h"

#include <QDir>
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

void LozarForm::cmdLozarEfectivo_Click() {
    PunteroOcupado ocupado;
    try {
        const double mu = estricto(Caja::Media), sigma = estricto(Caja::StdDev);
        const std::shared_ptr<const FormaProceso> forma = formaDe(*this);
        if (sigma < 0) {
            plataforma().mensaje(QStringLiteral("La desviación estándar (Desv. Std.) no puede "
                                                "ser negativa. Corríjala y vuelva a calcular."),
                                 Botones::Aceptar, Icono::Exclamacion);
            return;
        }
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

        // Tail fractions at each limit, the boxes read again.
        auto cola = [&](Caja limite) {
            const double m = estricto(Caja::Media), s = estricto(Caja::StdDev);
            const double l = estricto(limite);
            // Without spread the whole production lies at the mean: all or nothing. A mean
            // on a scrap limit is scrap, as the computation counts it; the rework limits
            // split as the cost model does.
            if (s == 0)
                return limite == Caja::XDesI ? double(m <= l) : double(m < l);
            return forma ? forma->cdf(div(l - m, s)) : Abcn(div(l - m, s));
        };
        // Above a limit: the upper tail itself where the shape gives it, keeping its digits.
        auto arriba = [&](Caja limite) {
            const double m = estricto(Caja::Media), s = estricto(Caja::StdDev);
            return forma && s != 0 ? forma->cola(div(estricto(limite) - m, s)) : 1 - cola(limite);
        };
        const double pDI = cola(Caja::XDesI), pDS = arriba(Caja::XDesS);
        const double pRI = cola(Caja::XRetI), pRS = arriba(Caja::XRetS);
        const double desperdicio = pDI + pDS;
        const double retrabajo = pRS + pRI - pDI - pDS;
        const QString texto =
            QStringLiteral("Desperdicio: ") + formatea(desperdicio, QStringLiteral("0.0 %")) +
            QStringLiteral("\n\nRetrabajo:   ") + formatea(retrabajo, QStringLiteral("0.0 %")) +
            QStringLiteral("\n\nLozar Unitario Efectivo: ") +
            formatea(*ce, QStringLiteral("$ 0.00")) +
            QStringLiteral("\n\nLozar Adicional Efectivo: ") +
            formatea(indice - 1, QStringLiteral("0.0 %")) +
            QStringLiteral("\n\n¿Ver detalles de cálculo?\n");
        if (plataforma().mensaje(texto, Botones::SiNo, Icono::Pregunta) == Respuesta::Si)
            AbreDocumento(rutaDetalle());
    } catch (const ErrorLozar& e) {
        plataforma().punteroFlecha();
        avisaManejador(e);
    }
}
