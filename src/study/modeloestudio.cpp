#include "study/modeloestudio.h"

#include "shell/errores.h"
#include "shell/numeros.h"
#include "study/forma.h"

#include <cmath>

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

std::shared_ptr<const FormaProceso> ModeloEstudio::forma() const {
    return formaDe(*this);
}

void ModeloEstudio::compruebaParaAnalisis() const {
    compruebaLimites(limitesDe(*this));
    compruebaDesviacion(estricto(Caja::Media), estricto(Caja::StdDev));
    forma();
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

void compruebaLimites(const Limites& l) {
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
    if (l.retI == l.retS)
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("Los límites de retrabajo son iguales (%1): no dejan "
                                        "tolerancia que medir")
                             .arg(formatoGeneral(l.retI)));
}
