#include "study/efectivo.h"

#include "shell/archivos.h"
#include "shell/errores.h"
#include "shell/numeros.h"
#include "study/detalle.h"
#include "study/forma.h"
#include "tables/tablanormal.h"

#include <cstring>

ResultadoEfectivo calculaEfectivo(const Cajas& cajas, TablaNormal& tabla, double mu, double sigma,
                                  const FormaProceso* forma) {
    const CajasInstantanea c(cajas); // nothing can change the boxes meanwhile
    if (sigma < 0)
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("La desviación estándar no puede ser negativa"));
    ResultadoEfectivo r;
    double S = 0, D;
    if (sigma == 0) {
        // No spread: the whole production lies at the mean; on a scrap limit it is scrap.
        S = Lozar(c, mu);
        D = (c.estricto(Caja::XDesI) >= mu || c.estricto(Caja::XDesS) <= mu) ? 1 : 0;
    } else if (!forma) {
        const double h = sigma / 10, fin = sigma * 5 + mu;
        r.intervalos.reserve(102);
        bucleContado(mu - sigma * 5, fin, h, [&](double x) {
            const double lo = x - h / 2, hi = x + h / 2;
            const double inferior = tabla.Abcn(div(lo - mu, sigma));
            const double superior = tabla.Abcn(div(hi - mu, sigma));
            const double a = superior - inferior;
            const double costo = Lozar(c, x);
            const double p = revisa(costo * a);
            S = revisa(S + p);
            r.intervalos.push_back({lo, hi, a, costo, p, S});
        });
        D = (1 - tabla.Abcn(div(c.estricto(Caja::XDesS) - mu, sigma))) +
            tabla.Abcn(div(c.estricto(Caja::XDesI) - mu, sigma));
    } else {
        // The same steps over the range the shape's tails need, each interval's area from the
        // distribution itself.
        const double h = sigma / 10, fin = sigma * forma->zSuperior() + mu;
        int k = 0;
        bucleContado(mu - sigma * forma->zInferior(), fin, h, [&](double x) {
            const double lo = x - h / 2, hi = x + h / 2;
            const double a = forma->areaDeIntervalo(k++);
            const double costo = Lozar(c, x);
            const double p = revisa(costo * a);
            S = revisa(S + p);
            r.intervalos.push_back({lo, hi, a, costo, p, S});
        });
        D = forma->cola(div(c.estricto(Caja::XDesS) - mu, sigma)) +
            forma->cdf(div(c.estricto(Caja::XDesI) - mu, sigma));
    }
    if (D >= 0.995)
        return r;
    r.noDesperdiciada = 1 - D;
    r.efectivo = div(S, 1 - D);
    r.indice = div(r.efectivo, YNominal(c, c.estricto(Caja::XObj)));
    return r;
}

namespace {
void escribeCuerpo(DetalleCalculo& d, const ResultadoEfectivo& r) {
    for (const IntervaloEfectivo& i : r.intervalos)
        d.intervalo(i.desde, i.hasta, i.area, i.costo, i.parcial, i.acumulado);
    if (!r.todoDesperdicio())
        d.totales(r.noDesperdiciada, r.efectivo, r.indice);
    d.cierra();
}
} // namespace

void escribeDetalle(const QString& ruta, const Cajas& c, const ResultadoEfectivo& r,
                    const QDateTime& ahora, double mu, double sigma, const FormaProceso* forma) {
    DetalleCalculo d(ruta);
    d.encabezado(c, ahora, forma, mu, sigma);
    escribeCuerpo(d, r);
}

void compruebaDetalle(const QString& ruta) {
    if (const int e = errorAlEscribir(ruta))
        throw DetalleCalculo::noSePuedeCrear(
            ruta, causaDeFallo(ruta, e, QString::fromLocal8Bit(strerror(e))));
}

double LozarEfectivo(const Cajas& cajas, TablaNormal& tabla, double mu, double sigma,
                     const QString& rutaDetalle, const QDateTime& ahora,
                     const FormaProceso* forma) {
    const CajasInstantanea c(cajas);
    if (sigma < 0) // refused before anything is written
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("La desviación estándar no puede ser negativa"));
    DetalleCalculo d(rutaDetalle);
    d.encabezado(c, ahora, forma, mu, sigma);
    const ResultadoEfectivo r = calculaEfectivo(c, tabla, mu, sigma, forma);
    escribeCuerpo(d, r);
    return r.efectivo;
}
