#include "costo/escenarios.h"

#include "costo/efectivo.h"
#include "costo/optimo.h"
#include "estudio/modeloestudio.h"
#include "estudio/zonas.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"

#include <cmath>

QList<Escenario> calculaEscenarios(const Cajas& cajas, const FormaProceso* forma,
                                   double reduccion) {
    const CajasInstantanea c(cajas);
    const Limites l = limitesDe(c);
    compruebaLimites(l);
    const double mu = c.estricto(Caja::Media), sigma = c.estricto(Caja::StdDev);
    compruebaDesviacion(mu, sigma);
    if (!(reduccion >= 0 && reduccion < 1))
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("La reducción de la desviación debe estar entre 0 y 100 % "
                                        "(sin llegar a 100)"));
    const double reducida = sigma * (1 - reduccion);
    auto optima = [&](double s) {
        const std::optional<MediaOptima> m = buscaMediaOptima(c, s, forma);
        if (!m)
            throw ErrorLozar(kErrArgumento,
                             QStringLiteral("Con esa desviación, el 99,5 % o más de la producción "
                                            "es desperdicio en cualquier media"));
        return m->media;
    };
    const QString menos =
        QStringLiteral("Desviación −%1 %").arg(formatea(reduccion * 100, QStringLiteral("0.#")));
    const QString corto =
        QStringLiteral("−%1 %").arg(formatea(reduccion * 100, QStringLiteral("0.#")));
    const struct {
        QString nombre, corto;
        double media, sigma;
    } casos[] = {{QStringLiteral("Proceso actual"), QStringLiteral("Actual"), mu, sigma},
                 {QStringLiteral("Media óptima"), QStringLiteral("Centrado"), optima(sigma), sigma},
                 {menos, corto, mu, reducida},
                 {menos + QStringLiteral(" y media óptima"), corto + QStringLiteral(" y centrado"),
                  optima(reducida), reducida}};
    const bool medida = conErrorDeMedicion(c);
    QList<Escenario> r;
    for (const auto& k : casos) {
        Escenario e{k.nombre, k.corto, k.media, k.sigma, costoExacto(c, k.media, k.sigma, forma),
                    {},       {}};
        if (k.sigma > 0)
            e.cpk = cpkDe(k.media, k.sigma, l.retI, l.retS, forma);
        if (const std::optional<CostoMedicion> medido = costoMedidoDe(c, k.media, k.sigma, forma)) {
            const CostoMedicion& m = *medido;
            e.medicion = m;
            e.costo.parteMedicion = e.costo.todoDesperdicio() || m.efectivo == kTodoDesperdicio
                                        ? 0
                                        : m.efectivo - e.costo.efectivo;
            e.costo.efectivo = m.efectivo;
            e.costo.desperdicio = m.desperdicio;
            e.costo.retrabajo = m.retrabajo;
        }
        r << e;
    }
    if (medida) {
        Escenario perfecta = r.front();
        perfecta.nombre = perfecta.corto = QStringLiteral("Medición perfecta");
        perfecta.costo = costoExacto(c, mu, sigma, forma);
        perfecta.medicion = CostoMedicion{};
        r << perfecta;
    }
    return r;
}

std::optional<double> unidadesDe(const QString& texto) {
    if (texto.trimmed().isEmpty())
        return std::nullopt;
    double v;
    try {
        v = leeEstricto(texto);
    } catch (const ErrorLozar&) {
        throw ErrorLozar(kErrTipos,
                         QStringLiteral("«%1» no es un número de unidades por año").arg(texto));
    }
    if (v < 0)
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("Las unidades por año no pueden ser negativas"));
    return v;
}

QList<double> costosDeEscenarios(const QList<Escenario>& e, std::optional<double> unidades) {
    QList<double> r;
    for (const Escenario& k : e)
        r << (k.costo.todoDesperdicio() ? HUGE_VAL : k.costo.noCalidad() * unidades.value_or(1));
    return r;
}

QList<QStringList> informeEscenarios(const QList<Escenario>& e, std::optional<double> unidades,
                                     const QString& indice) {
    const QString kDinero = QStringLiteral("$ 0.0000"), kDineroAnual = QStringLiteral("$ 0.00");
    auto fila = [&](const QString& titulo, auto&& valor) {
        QStringList f{titulo};
        for (const Escenario& k : e)
            f << (k.costo.todoDesperdicio() ? QStringLiteral("100% Desperdicio") : valor(k));
        return f;
    };
    auto anual = [&](double v) { return formatea(v * *unidades, kDineroAnual); };
    // A current process that is all scrap delivers no good unit: any other one saves without
    // bound, never a negative amount against a cost taken as 0.
    const bool actualPerdido = e.isEmpty() || e[0].costo.todoDesperdicio();
    const double base = actualPerdido ? 0 : e[0].costo.noCalidad();
    auto ahorro = [&](double costo, auto&& formato) {
        return actualPerdido ? QStringLiteral("Ilimitado: el actual es 100% desperdicio")
                             : formato(base - costo);
    };
    QList<QStringList> f;
    QStringList cabecera{QStringLiteral("Escenario")};
    for (const Escenario& k : e)
        cabecera << k.nombre;
    f << cabecera;
    // Means and spreads to a thousandth of the spread, as values taken from data are.
    auto cifra = [](const Escenario& k, double v) {
        return k.sigma > 0 ? formatoConResolucion(v, k.sigma / 1000) : formatoGeneral(v);
    };
    f << fila(QStringLiteral("Media"), [&](const Escenario& k) { return cifra(k, k.media); });
    f << fila(QStringLiteral("Desviación estándar"),
              [&](const Escenario& k) { return cifra(k, k.sigma); });
    f << fila(QStringLiteral("Costo efectivo exacto por unidad buena"),
              [&](const Escenario& k) { return formatea(k.costo.efectivo, kDinero); });
    f << fila(QStringLiteral("Sobre el nominal"), [](const Escenario& k) {
        return formatea(div(k.costo.noCalidad(), k.costo.nominal), QStringLiteral("0.0 %"));
    });
    f << fila(indice, [](const Escenario& k) {
        return k.cpk ? textoDeIndice(*k.cpk) : QStringLiteral("—");
    });
    f << fila(QStringLiteral("Desperdicio"), [](const Escenario& k) {
        return formatea(k.costo.desperdicio, QStringLiteral("0.000 %"));
    });
    f << fila(QStringLiteral("Retrabajo"), [](const Escenario& k) {
        return formatea(k.costo.retrabajo, QStringLiteral("0.000 %"));
    });
    f << fila(QStringLiteral("Costo de la no calidad por unidad buena"),
              [&](const Escenario& k) { return formatea(k.costo.noCalidad(), kDinero); });
    f << fila(QStringLiteral("Ahorro por unidad buena frente al actual"), [&](const Escenario& k) {
        return ahorro(k.costo.noCalidad(), [&](double v) { return formatea(v, kDinero); });
    });
    if (unidades) {
        // Per good unit delivered: the scrapped and reworked ones on top of them.
        auto porBuenas = [](const Escenario& k, double fraccion) {
            return fraccion / (1 - k.costo.desperdicio);
        };
        f << fila(QStringLiteral("Costo de la no calidad por año"),
                  [&](const Escenario& k) { return anual(k.costo.noCalidad()); });
        f << fila(QStringLiteral("Ahorro por año frente al actual"),
                  [&](const Escenario& k) { return ahorro(k.costo.noCalidad(), anual); });
        f << fila(QStringLiteral("Unidades desechadas por año"), [&](const Escenario& k) {
            return formatea(*unidades * porBuenas(k, k.costo.desperdicio), QStringLiteral("0"));
        });
        f << fila(QStringLiteral("Unidades retrabajadas por año"), [&](const Escenario& k) {
            return formatea(*unidades * porBuenas(k, k.costo.retrabajo), QStringLiteral("0"));
        });
    }
    f << QStringList();
    // What the gauge's mistakes are, per unit delivered, and what they cost.
    const bool medida = !e.isEmpty() && e.front().medicion;
    if (medida) {
        const struct {
            const char* nombre;
            double CostoMedicion::*fraccion;
            double CostoMedicion::*costo;
        } errores[] = {{"Buenas desechadas por error de medición", &CostoMedicion::buenasDesechadas,
                        &CostoMedicion::costoBuenasDesechadas},
                       {"Buenas retrabajadas por error de medición",
                        &CostoMedicion::buenasRetrabajadas,
                        &CostoMedicion::costoBuenasRetrabajadas},
                       {"Malas enviadas al cliente", &CostoMedicion::malasEnviadas,
                        &CostoMedicion::costoMalasEnviadas}};
        for (const auto& m : errores) {
            f << fila(QStringLiteral("%1 (por unidad buena)").arg(QString::fromUtf8(m.nombre)),
                      [&](const Escenario& k) {
                          return formatea((*k.medicion).*m.fraccion / (1 - k.costo.desperdicio),
                                          QStringLiteral("0.000 %")) +
                                 QStringLiteral(" · ") + formatea((*k.medicion).*m.costo, kDinero);
                      });
            if (unidades)
                f << fila(QStringLiteral("%1 (por año)").arg(QString::fromUtf8(m.nombre)),
                          [&](const Escenario& k) {
                              return formatea(*unidades * (*k.medicion).*m.fraccion /
                                                  (1 - k.costo.desperdicio),
                                              QStringLiteral("0")) +
                                     QStringLiteral(" · ") + anual((*k.medicion).*m.costo);
                          });
        }
        f << QStringList();
    }
    // Where the money goes: the sources add up to the cost of poor quality.
    struct Parte {
        const char* nombre;
        double CostoExacto::*parte;
    };
    QList<Parte> partes = {{"el desperdicio", &CostoExacto::parteDesperdicio},
                           {"el retrabajo", &CostoExacto::parteRetrabajo},
                           {"estar fuera del objetivo", &CostoExacto::parteFueraDeObjetivo}};
    if (medida)
        partes << Parte{"el error de medición", &CostoExacto::parteMedicion};
    for (const auto& p : partes)
        f << fila(QStringLiteral("De ello, por %1 (por unidad)").arg(QString::fromUtf8(p.nombre)),
                  [&](const Escenario& k) { return formatea(k.costo.*p.parte, kDinero); });
    if (unidades)
        for (const auto& p : partes)
            f << fila(QStringLiteral("De ello, por %1 (por año)").arg(QString::fromUtf8(p.nombre)),
                      [&](const Escenario& k) { return anual(k.costo.*p.parte); });
    return f;
}
