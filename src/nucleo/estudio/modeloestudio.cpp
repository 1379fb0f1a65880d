#include "estudio/modeloestudio.h"

#include "estudio/forma.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"

#include <cmath>
#include <initializer_list>

ModeloEstudio::ModeloEstudio(QObject* padre) : QObject(padre) {}

void ModeloEstudio::fijaTexto(Caja c, const QString& texto) {
    if (textos_[int(c)] == texto)
        return;
    textos_[int(c)] = texto;
    emit cambiado();
    if (c == Caja::xa || c == Caja::xb)
        emit caducado(Efectivo);
    else if (c != Caja::txtTitulo && c != Caja::ya && c != Caja::yb)
        emit caducado(Cpk | Efectivo);
}

void ModeloEstudio::fijaTaguchi(int estado) {
    if (taguchi_ == estado)
        return;
    taguchi_ = estado;
    emit cambiado();
    emit caducado(Efectivo);
}

void ModeloEstudio::fijaUnidades(const QString& texto) {
    if (unidades_ == texto)
        return;
    unidades_ = texto;
    emit cambiado();
}

void ModeloEstudio::fijaAjuste(const QString& texto) {
    if (ajuste_ == texto)
        return;
    ajuste_ = texto;
    emit cambiado();
    emit caducado(Cpk | Efectivo);
}

void ModeloEstudio::fijaAceptacion(const QString& texto) {
    if (aceptacion_ == texto)
        return;
    aceptacion_ = texto;
    emit cambiado();
    emit caducado(Efectivo);
}

std::shared_ptr<const FormaProceso> ModeloEstudio::forma() const {
    return formaDe(*this);
}

void ModeloEstudio::compruebaEntradas(int necesita) const {
    auto leeCaja = [&](Caja c) {
        const QString t = texto(c);
        try {
            return leeEnCaja(t);
        } catch (const ErrorLozar& e) {
            const QString nombre = QStringLiteral("«%1»").arg(nombreDeCaja(c));
            if (e.numero() == kErrDesbordamiento)
                throw ErrorLozar(e.numero(), QStringLiteral("Desbordamiento: %1 es demasiado "
                                                            "grande")
                                                 .arg(nombre));
            throw ErrorLozar(kErrTipos, QStringLiteral("No coinciden los tipos: %1 %2")
                                            .arg(nombre, t.trimmed().isEmpty()
                                                             ? QStringLiteral("está vacía")
                                                             : QStringLiteral("no es un número")));
        }
    };
    auto lee = [&](std::initializer_list<Caja> cajas) {
        for (Caja c : cajas)
            leeCaja(c);
    };
    if (necesita & CajasLimites)
        lee({Caja::XDesI, Caja::XRetI, Caja::XObj, Caja::XRetS, Caja::XDesS});
    if (necesita & CajasCostos)
        lee({Caja::YNomI, Caja::YNomS, Caja::YRetI, Caja::YRetS, Caja::YDesI, Caja::YDesS, Caja::xa,
             Caja::xb});
    if (necesita & CajasEscala)
        lee({Caja::xa, Caja::xb, Caja::ya, Caja::yb});
    if (necesita & CajaMedia)
        leeCaja(Caja::Media);
    if (necesita & CajaDispersion) {
        leeCaja(Caja::StdDev);
        // Empty is the normal shape; a fitted distribution has its own.
        for (Caja c : {Caja::Sesgo, Caja::Curtosis})
            if (!texto(c).trimmed().isEmpty() && ajuste_.isEmpty())
                leeCaja(c);
    }
    if (necesita & CajasMedicion) {
        for (Caja c : {Caja::DesvMedicion, Caja::CostoEscape})
            if (!texto(c).trimmed().isEmpty())
                leeCaja(c);
        if (!texto(Caja::DesvMedicion).trimmed().isEmpty() && leeCaja(Caja::DesvMedicion) < 0)
            throw ErrorLozar(kErrArgumento,
                             QStringLiteral("La desviación estándar de la medición no puede ser "
                                            "negativa: vacía o 0 es un instrumento perfecto"));
    }
    if (necesita & CajasLimites) {
        const Limites l = limitesDe(*this);
        compruebaLimites(l, necesita & ConTolerancia);
    }
    if (necesita & CajaDispersion) {
        const double sigma = leeCaja(Caja::StdDev);
        if (necesita & SigmaCalculable)
            compruebaDesviacion(leeCaja(Caja::Media), sigma);
        else if (sigma < 0)
            compruebaDesviacion(0, sigma);
        forma();
    }
}

void compruebaDesviacion(double mu, double sigma) {
    if (sigma < 0)
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("La desviación estándar (Desv. Std.) no puede ser "
                                        "negativa. Corríjala y vuelva a calcular."));
    if (sigma > 0 && sigma < std::fabs(mu) * 1e-9)
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("La desviación estándar (Desv. Std.), %1, es menor que "
                                        "una milmillonésima de la media, %2: ningún cálculo la "
                                        "distingue de 0. Escriba 0 para un proceso sin "
                                        "dispersión.")
                             .arg(formatoGeneral(sigma), formatoGeneral(mu)));
}

void compruebaLimites(const Limites& l, bool tolerancia) {
    const struct {
        double valor;
        const char* nombre;
    } orden[] = {{l.desI, "Límite Desperdicio Lado Inferior"},
                 {l.retI, "Límite Retrabajo Lado Inferior"},
                 {l.obj, "Objetivo"},
                 {l.retS, "Límite Retrabajo Lado Superior"},
                 {l.desS, "Límite Desperdicio Lado Superior"}};
    for (int i = 0; i + 1 < 5; ++i)
        if (orden[i].valor > orden[i + 1].valor)
            throw ErrorLozar(
                kErrArgumento,
                QStringLiteral("Los límites deben ir en orden de menor a mayor, y %1 (%2) es "
                               "mayor que %3 (%4)")
                    .arg(QString::fromUtf8(orden[i].nombre), formatoGeneral(orden[i].valor),
                         QString::fromUtf8(orden[i + 1].nombre),
                         formatoGeneral(orden[i + 1].valor)));
    if (tolerancia && l.retI == l.retS)
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("Los límites de retrabajo son iguales (%1): no dejan "
                                        "tolerancia que medir")
                             .arg(formatoGeneral(l.retI)));
}
