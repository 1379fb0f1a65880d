#include "study/efectivo.h"

#include "shell/errores.h"
#include "shell/numeros.h"
#include "study/detalle.h"
#include "tables/tablanormal.h"

double LozarEfectivo(const Cajas& cajas, TablaNormal& tabla, double mu, double sigma,
                     const QString& rutaDetalle, const QDateTime& ahora) {
    const CajasInstantanea c(cajas); // nothing can change the boxes meanwhile
    if (sigma < 0)
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("La desviación estándar no puede ser negativa"));
    DetalleCalculo detalle(rutaDetalle);
    detalle.encabezado(c, ahora);
    double S = 0, D;
    if (sigma == 0) {
        // No spread: the whole production lies at the mean; on a scrap limit it is scrap.
        S = Lozar(c, mu);
        D = (c.estricto(Caja::XDesI) >= mu || c.estricto(Caja::XDesS) <= mu) ? 1 : 0;
    } else {
        const double h = sigma / 10, fin = sigma * 5 + mu;
        bucleContado(mu - sigma * 5, fin, h, [&](double x) {
            const double lo = x - h / 2, hi = x + h / 2;
            const double inferior = tabla.Abcn(div(lo - mu, sigma));
            const double superior = tabla.Abcn(div(hi - mu, sigma));
            const double a = superior - inferior;
            const double costo = Lozar(c, x);
            const double p = revisa(costo * a);
            S = revisa(S + p);
            detalle.intervalo(lo, hi, a, costo, p, S);
        });
        D = (1 - tabla.Abcn(div(c.estricto(Caja::XDesS) - mu, sigma))) +
            tabla.Abcn(div(c.estricto(Caja::XDesI) - mu, sigma));
    }
    if (D >= 0.995) {
        detalle.cierra();
        return kTodoDesperdicio;
    }
    const double ce = div(S, 1 - D);
    detalle.totales(1 - D, ce, div(ce, YNominal(c, c.estricto(Caja::XObj))));
    detalle.cierra();
    return ce;
}
