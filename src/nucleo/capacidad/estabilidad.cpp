#include "capacidad/estabilidad.h"

#include "numeros/numeros.h"

#include <QStringList>
#include <boost/math/distributions/poisson.hpp>

namespace {
QString cifraEsperada(double x) {
    return formatea(x, x < 10 ? QStringLiteral("0.0") : QStringLiteral("0"));
}

std::size_t fueraDeAmbos(const CartaControl& c) {
    return c.fuera.size() + c.fueraDispersion.size();
}

// Beyond the limits, with what chance gives: many points put some out by chance alone.
QString conElAzar(const CartaControl& c) {
    const std::size_t fuera = fueraDeAmbos(c), puntos = c.n + c.puntosDispersion();
    const double esperados = c.esperadosPorAzar();
    QString t = QStringLiteral("%1 de %2 puntos fuera de los límites; por azar se esperan unos %3")
                    .arg(fuera)
                    .arg(puntos)
                    .arg(cifraEsperada(esperados));
    // As many as chance explains at the 5 % level: the points may be no signal at all.
    if (fuera > 0 && esperados >= 1 &&
        boost::math::cdf(
            boost::math::complement(boost::math::poisson(esperados), double(fuera) - 1)) >= 0.05)
        t += QStringLiteral(", tantos como da el azar");
    return t;
}
} // namespace

QString nombreDeCarta(TipoCarta tipo) {
    switch (tipo) {
    case TipoCarta::MediasRangos:
        return QStringLiteral("X̄–R");
    case TipoCarta::MediasDesviaciones:
        return QStringLiteral("X̄–S");
    case TipoCarta::Individuos:
        break;
    }
    return QStringLiteral("I-MR");
}

QString resumenDeEstabilidad(const CartaControl& c) {
    if (c.estable())
        return QStringLiteral("estable: ningún punto fuera de los límites ni en rachas de %1 de "
                              "un lado (regla de Western Electric)")
            .arg(kRacha);
    return QStringLiteral("proceso no estable: los índices no predicen (%1; %2 en rachas de %3 "
                          "de un lado)")
        .arg(conElAzar(c))
        .arg(c.enRacha.size())
        .arg(kRacha);
}

QString veredictoDeEstabilidad(const CartaControl& c) {
    if (c.estable())
        return QStringLiteral("Ningún punto fuera de los límites ni en rachas de %1 de un lado "
                              "(regla de Western Electric): el proceso se mantuvo estable "
                              "mientras se medía.")
            .arg(kRacha);
    const bool individuos = c.tipo == TipoCarta::Individuos;
    QString v = QStringLiteral("Proceso no estable: los índices de capacidad no predicen lo que "
                               "hará. ") +
                conElAzar(c) + QLatin1Char('.');
    if (!c.fuera.empty())
        v += QStringLiteral("\n%1 fuera de los límites: %2.")
                 .arg(individuos ? QStringLiteral("Valores") : QStringLiteral("Medias"),
                      listaDePuntos(c.fuera));
    // A moving range is numbered by the later of its two values, where the chart draws it.
    std::vector<std::size_t> dispersion = c.fueraDispersion;
    if (individuos)
        for (std::size_t& i : dispersion)
            ++i;
    if (!dispersion.empty())
        v += QStringLiteral("\n%1 fuera de los límites: %2.")
                 .arg(individuos                          ? QStringLiteral("Rangos móviles")
                      : c.tipo == TipoCarta::MediasRangos ? QStringLiteral("Rangos")
                                                          : QStringLiteral("Desviaciones"),
                      listaDePuntos(dispersion));
    if (!c.enRacha.empty())
        v += QStringLiteral("\nCierran una racha de %1 o más de un lado del centro: %2.")
                 .arg(kRacha)
                 .arg(listaDePuntos(c.enRacha));
    return v;
}

QString listaDePuntos(const std::vector<std::size_t>& puntos) {
    constexpr int kTramos = 40;
    QStringList partes;
    std::size_t i = 0;
    for (; i < puntos.size() && partes.size() < kTramos;) {
        std::size_t j = i;
        while (j + 1 < puntos.size() && puntos[j + 1] == puntos[j] + 1)
            ++j;
        partes << (j > i ? QStringLiteral("%1–%2").arg(puntos[i] + 1).arg(puntos[j] + 1)
                         : QString::number(puntos[i] + 1));
        i = j + 1;
    }
    if (i < puntos.size())
        partes << QStringLiteral("y %1 puntos más").arg(puntos.size() - i);
    return partes.join(QStringLiteral(", "));
}
