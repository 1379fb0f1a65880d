// "4. Gráfico": the effective cost over 21 means and six standard deviations.
#include "costo/efectivo.h"
#include "costo/optimo.h"
#include "estudio/forma.h"
#include "graficos/graficocostos.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "numeros/progreso.h"
#include "plataforma/plataforma.h"
#include "principal/lozarform.h"

#include <QLineEdit>
#include <cmath>

std::optional<std::pair<double, double>> LozarForm::calculaTablaGrafico(bool conDetalle) {
    const double retI = estricto(Caja::XRetI), retS = estricto(Caja::XRetS);
    if (retS == retI)
        throw ErrorLozar(kErrDivisionPorCero,
                         QStringLiteral("Los límites de retrabajo son iguales: no hay medias "
                                        "entre ellos que graficar"));
    if (retS < retI)
        throw ErrorLozar(kErrArgumento, QStringLiteral("El límite de retrabajo inferior debe ser "
                                                       "menor que el superior"));
    const double dx = (retS - retI) / 20, ds = (retS - retI) / 6 / 2;
    TablaGrafico.recrea();
    auto fila = [&](double x) { return int(std::nearbyint((x - retI) / dx + 1)); };
    auto columna = [&](double s) { return int(std::nearbyint(s / ds + 1)); };
    for (int i = 0; i <= 20; ++i) {
        const double x = dx * i + retI;
        TablaGrafico.celda(fila(x), 0) =
            QStringLiteral(" ") + formatea(x, QStringLiteral("0.0###"));
    }
    for (int k = 0; k <= 5; ++k) {
        const double s = ds * k;
        TablaGrafico.celda(0, columna(s)) =
            QStringLiteral("s ") + formatea(s, QStringLiteral("0.0##"));
    }
    double minimo = 1e50, maximo = -1e50;
    // Each σ with the same shape; a bad shape is the handler's to report, as any bad box.
    const std::shared_ptr<const FormaProceso> forma = formaDe(*this);
    // Only the last cell's detail file would survive the 126 computations: it alone is
    // written, once the chart is computed, and the file is checked before anything starts.
    try {
        const QString ruta = rutaDetalle();
        if (conDetalle)
            compruebaDetalle(ruta);
        const CajasInstantanea cajas(*this);
        ResultadoEfectivo r;
        double x = 0, s = 0;
        for (int i = 0; i <= 20; ++i)
            for (int k = 0; k <= 5; ++k) {
                x = dx * i + retI, s = ds * k;
                r = calculaEfectivo(cajas, tabla_, x, s, forma.get());
                if (r.todoDesperdicio())
                    continue;
                TablaGrafico.celda(fila(x), columna(s)) = r.efectivo;
                minimo = std::min(minimo, r.efectivo);
                maximo = std::max(maximo, r.efectivo);
            }
        if (conDetalle)
            escribeDetalle(ruta, cajas, r, QDateTime::currentDateTime(), x, s, forma.get());
    } catch (const ErrorLozar& e) {
        // Reported once; the other cells would fail alike.
        avisaRutina(objectName() + QStringLiteral(". LozarEfectivo."), e);
        return std::nullopt;
    }
    if (minimo > maximo)
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("No hay nada que graficar: con todas las medias y "
                                        "desviaciones el 99,5 % o más de la producción es "
                                        "desperdicio"));
    // The axis stops at twice the larger nominal cost.
    const double nominal = std::max(estricto(Caja::YNomI), estricto(Caja::YNomS));
    if (2 * nominal < maximo)
        maximo = 2 * nominal;
    return std::make_pair(minimo, maximo);
}

void LozarForm::cmdGraf_Click() {
    Graf1 g(this);
    if (preparaGrafico(g))
        g.exec();
}

bool LozarForm::preparaGrafico(Graf1& g, bool conDetalle) {
    std::optional<std::pair<double, double>> extremos;
    {
        PunteroOcupado ocupado;
        if (!compruebaCajas(ModeloEstudio::ParaCosto))
            return false;
        try {
            extremos = calculaTablaGrafico(conDetalle);
        } catch (const ErrorLozar& e) {
            plataforma().punteroFlecha();
            avisaManejador(e);
            return false;
        }
    }
    if (!extremos)
        return false;
    g.TituloGrafico = txtTitulo->text();
    g.EjeMinimo = extremos->first;
    // An axis needs its top above its bottom, even when the cap falls below every cost.
    g.EjeMaximo = std::max(ejeMaximoDe(extremos->second), std::floor(extremos->first) + 1);
    // Where each spread costs least: a marker on its line, whatever the 21 means show.
    // The boxes as they are now: the search runs away from the window.
    g.MediasOptimas = [cajas = std::make_shared<const CajasInstantanea>(*this),
                       forma = formaDe(*this)](Progreso& p) {
        return mediasOptimasDelGrafico(*cajas, forma.get(), &p);
    };
    return true;
}

QList<QPointF> mediasOptimasDelGrafico(const Cajas& c, const FormaProceso* forma, Progreso* p) {
    QList<QPointF> puntos;
    const double retI = c.estricto(Caja::XRetI), retS = c.estricto(Caja::XRetS);
    const double dx = (retS - retI) / 20, ds = (retS - retI) / 6 / 2;
    for (int k = 0; k <= 5; ++k) {
        if (p)
            p->avanza(k / 6.0);
        if (const auto m = buscaMediaOptima(c, ds * k, forma);
            m && m->media >= retI && m->media <= retS)
            puntos << QPointF((m->media - retI) / dx, m->efectivo);
    }
    return puntos;
}
