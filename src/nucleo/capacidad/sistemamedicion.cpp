#include "capacidad/sistemamedicion.h"

#include "capacidad/mediciones.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"

#include <cmath>
#include <stdexcept>

namespace {
int columnaLlamada(const QStringList& nombres, std::initializer_list<const char*> prefijos) {
    for (int i = 0; i < nombres.size(); ++i) {
        const QString n = nombres[i].trimmed().toLower();
        for (const char* p : prefijos)
            if (n.startsWith(QString::fromUtf8(p)))
                return i;
    }
    return -1;
}

QString num(double v) {
    return std::isfinite(v) ? formatea(v, QStringLiteral("0.0####")) : QStringLiteral("—");
}

QString pct(double v) {
    return std::isfinite(v) ? formatea(v, QStringLiteral("0.00")) : QStringLiteral("—");
}
} // namespace

ColumnasGage columnasGage(const QStringList& nombres) {
    ColumnasGage c;
    c.pieza = columnaLlamada(nombres, {"pieza", "parte", "part", "muestra"});
    c.operador = columnaLlamada(
        nombres, {"operador", "evaluador", "operario", "operator", "appraiser", "inspector"});
    c.valor =
        columnaLlamada(nombres, {"valor", "medici", "medida", "value", "measure", "resultado"});
    return c;
}

std::vector<MedicionGage> medicionesGage(const TablaMediciones& t, const ColumnasGage& c) {
    const std::vector<double> valores = t.columna(c.valor);
    const std::vector<int> piezas = t.etiquetas(c.pieza), operadores = t.etiquetas(c.operador);
    if (piezas.size() != valores.size() || operadores.size() != valores.size())
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("Cada línea debe tener su pieza, su operador y su valor"));
    std::vector<MedicionGage> m;
    m.reserve(valores.size());
    for (std::size_t i = 0; i < valores.size(); ++i)
        m.push_back({piezas[i], operadores[i], valores[i]});
    return m;
}

EstudioGage estudioGage(const std::vector<MedicionGage>& m, bool anova, double tolerancia) {
    try {
        return anova ? gageAnova(m, tolerancia) : gageMediasRangos(m, tolerancia);
    } catch (const std::invalid_argument& e) {
        throw ErrorLozar(kErrArgumento, QString::fromUtf8(e.what()));
    }
}

QList<QStringList> informeGage(const EstudioGage& g, bool anova, const QString& origen) {
    QList<QStringList> f;
    f << QStringList{QStringLiteral("Sistema de medición"), origen};
    f << QStringList{QStringLiteral("Método"),
                     anova ? (g.interaccionAgrupada
                                  ? QStringLiteral("ANOVA de dos factores; la interacción "
                                                   "operador × pieza (p = %1 > %2) se agrupa "
                                                   "con la repetibilidad")
                                        .arg(formatea(g.pInteraccion, QStringLiteral("0.000")),
                                             formatea(0.05, QStringLiteral("0.00")))
                                  : QStringLiteral("ANOVA de dos factores, con la interacción "
                                                   "operador × pieza"))
                           : QStringLiteral("Medias y rangos (manual MSA de AIAG, 4.ª edición)")};
    f << QStringList{QStringLiteral("Piezas, operadores, ensayos"), QString::number(g.piezas),
                     QString::number(g.operadores), QString::number(g.ensayos)};
    if (anova) {
        f << QStringList();
        f << QStringList{QStringLiteral("Fuente"), QStringLiteral("GL"), QStringLiteral("SC"),
                         QStringLiteral("CM"),     QStringLiteral("F"),  QStringLiteral("p")};
        auto fila = [&](const char* nombre, const FilaAnova& a) {
            f << QStringList{QString::fromUtf8(nombre),
                             QString::number(a.gl),
                             num(a.sc),
                             num(a.cm),
                             num(a.f),
                             std::isfinite(a.p) ? formatea(a.p, QStringLiteral("0.000"))
                                                : QStringLiteral("—")};
        };
        fila("Pieza", g.anovaPieza);
        fila("Operador", g.anovaOperador);
        if (!g.interaccionAgrupada)
            fila("Operador × Pieza", g.anovaInteraccion);
        fila("Repetibilidad", g.anovaRepetibilidad);
        fila("Total", g.anovaTotal);
    }
    f << QStringList();
    f << QStringList{QStringLiteral("Componente"),
                     QStringLiteral("Varianza"),
                     QStringLiteral("% Contribución"),
                     QStringLiteral("Desv. Std. (σ)"),
                     QStringLiteral("Variación del estudio (6σ)"),
                     QStringLiteral("% Variación del estudio"),
                     QStringLiteral("% Tolerancia")};
    auto componente = [&](const QString& nombre, const ComponenteGage& c) {
        f << QStringList{
            nombre,           num(c.varianza),     pct(c.pctContribucion), num(c.sigma),
            num(c.variacion), pct(c.pctVariacion), pct(c.pctTolerancia)};
    };
    componente(QStringLiteral("R&R total (GRR)"), g.grr);
    componente(QStringLiteral("   Repetibilidad"), g.repetibilidad);
    componente(QStringLiteral("   Reproducibilidad"), g.reproducibilidad);
    if (anova && !g.interaccionAgrupada) {
        componente(QStringLiteral("      Operador"), g.operador);
        componente(QStringLiteral("      Operador × Pieza"), g.interaccion);
    }
    componente(QStringLiteral("Pieza a pieza"), g.parte);
    componente(QStringLiteral("Variación total"), g.total);
    f << QStringList();
    f << QStringList{QStringLiteral("Categorías distintas"),
                     g.categorias == std::numeric_limits<int>::max()
                         ? QStringLiteral("sin límite (el instrumento no tiene error)")
                         : QString::number(g.categorias)};
    const double v = g.grr.pctVariacion;
    f << QStringList{QStringLiteral("Veredicto"),
                     v < 10   ? QStringLiteral("aceptable: el R&R es menos del 10 % de la "
                                                 "variación del estudio")
                     : v < 30 ? QStringLiteral("puede aceptarse según la aplicación y el costo: "
                                               "el R&R es entre el 10 % y el 30 % de la "
                                               "variación del estudio")
                              : QStringLiteral("no aceptable: el R&R es más del 30 % de la "
                                               "variación del estudio")};
    return f;
}
