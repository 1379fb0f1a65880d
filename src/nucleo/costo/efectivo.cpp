#include "costo/efectivo.h"

#include "archivos/archivos.h"
#include "archivos/detalle.h"
#include "estudio/forma.h"
#include "estudio/modeloestudio.h"
#include "estudio/zonas.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "tablas/tablanormal.h"

#include <cstring>

Colas colasDelProceso(const Cajas& c, double mu, double sigma, TablaNormal& tabla,
                      const FormaProceso* forma) {
    const Limites l{c.estricto(Caja::XDesI), c.estricto(Caja::XRetI), 0, c.estricto(Caja::XRetS),
                    c.estricto(Caja::XDesS)};
    if (forma)
        return colasDe(
            l, mu, sigma, [&](double z) { return forma->cdf(z); },
            [&](double z) { return forma->cola(z); });
    return colasDe(
        l, mu, sigma, [&](double z) { return tabla.Abcn(z); },
        [&](double z) { return 1 - tabla.Abcn(z); });
}

namespace {
// The scrap fraction at the scrap limits themselves, whatever the integration's intervals.
double desperdicioDe(const Cajas& c, double mu, double sigma, TablaNormal& tabla,
                     const FormaProceso* forma) {
    const Colas k = colasDelProceso(c, mu, sigma, tabla, forma);
    return k.altoDesS + k.bajoDesI;
}
} // namespace

ResultadoEfectivo calculaEfectivo(const Cajas& cajas, TablaNormal& tabla, double mu, double sigma,
                                  const FormaProceso* forma) {
    const CajasInstantanea c(cajas); // nothing can change the boxes meanwhile
    compruebaDesviacion(mu, sigma);
    ResultadoEfectivo r;
    double S = 0, D;
    if (sigma == 0) {
        // No spread: the whole production lies at the mean, in its zone.
        S = Lozar(c, mu);
        D = desperdicioDe(c, mu, sigma, tabla, forma);
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
        D = desperdicioDe(c, mu, sigma, tabla, forma);
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
        D = desperdicioDe(c, mu, sigma, tabla, forma);
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
    compruebaDesviacion(mu, sigma); // refused before anything is written
    DetalleCalculo d(rutaDetalle);
    d.encabezado(c, ahora, forma, mu, sigma);
    const ResultadoEfectivo r = calculaEfectivo(c, tabla, mu, sigma, forma);
    escribeCuerpo(d, r);
    return r.efectivo;
}
