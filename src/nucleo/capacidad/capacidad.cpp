#include "capacidad/capacidad.h"

#include "capacidad/estabilidad.h"
#include "estudio/forma.h"
#include "estudio/zonas.h"
#include "muestra.h"
#include "numeros/numeros.h"
#include "numeros/progreso.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
#include <unordered_map>

namespace {
// Cp and Cpk for a spread: the normal formulas, or the percentile ones (the 99.73 % spread from
// the 0.135 % to the 99.865 % point, the median as centre).
void indices(const Limites& l, double media, double sd, const FormaProceso* forma,
             std::optional<double>& cp, std::optional<double>& cpk) {
    if (!(sd > 0))
        return;
    const double ancho = forma ? sd * (forma->q99865() - forma->q00135()) : 6 * sd;
    cp = (l.retS - l.retI) / ancho;
    cpk = cpkDe(media, sd, l.retI, l.retS, forma);
}

// Cpm from the mean square deviation from the target, τ² = σ² + (centre − T)², over the nearer
// side: min(T − LSL, USL − T) / 3τ, which with the target in the middle is (USL − LSL) / 6τ.
// None with the target outside the limits, where it measures nothing.
std::optional<double> cpmDe(const Limites& l, double centro, double varianza) {
    const double lado = std::min(l.obj - l.retI, l.retS - l.obj);
    const double tau = std::sqrt(varianza + (centro - l.obj) * (centro - l.obj));
    if (!(lado >= 0) || !(tau > 0))
        return std::nullopt;
    return lado / (3 * tau);
}

// The variance that plays σ² in Cpm: the spread's, or a sixth of the percentile spread's.
double varianzaDe(double sd, const FormaProceso* forma) {
    const double ancho = forma ? sd * (forma->q99865() - forma->q00135()) : 6 * sd;
    return ancho * ancho / 36;
}
} // namespace

std::vector<std::vector<double>> agrupa(const std::vector<double>& valores,
                                        const std::vector<int>& subgrupo) {
    std::vector<std::vector<double>> grupos;
    std::unordered_map<int, std::size_t> donde;
    int ultimo = 0;
    std::size_t actual = 0;
    for (std::size_t i = 0; i < valores.size() && i < subgrupo.size(); ++i) {
        // Subgroups mostly come one after another: the table is asked only when one changes.
        if (i == 0 || subgrupo[i] != ultimo) {
            const auto [it, nuevo] = donde.try_emplace(subgrupo[i], grupos.size());
            if (nuevo) {
                grupos.emplace_back();
                grupos.back().reserve(8);
            }
            actual = it->second;
            ultimo = subgrupo[i];
        }
        grupos[actual].push_back(valores[i]);
    }
    // A column that names every value apart (a part number) makes no subgroups.
    if (std::all_of(grupos.begin(), grupos.end(), [](const auto& g) { return g.size() < 2; }))
        grupos.clear();
    return grupos;
}

Capacidad calculaCapacidad(const Cajas& c, const FormaProceso* forma,
                           const std::vector<double>* mediciones, const std::vector<int>* subgrupos,
                           double confianza, Progreso* progreso) {
    auto avanza = [&](double f) {
        if (progreso)
            progreso->avanza(f);
    };
    const Limites l = limitesDe(c);
    const double mu = c.estricto(Caja::Media), sigma = c.estricto(Caja::StdDev);
    Capacidad r{};
    r.confianza = confianza;
    static const DistribucionPearson normal(0.0L, 0.0L);
    const auto z = zonasDe(colasDe(
        l, mu, sigma, [&](double z) { return forma ? forma->cdf(z) : double(normal.cdf(z)); },
        [&](double z) { return forma ? forma->cola(z) : double(normal.colaSuperior(z)); }));
    std::copy(z.begin(), z.end(), r.esperada);
    if (!mediciones || mediciones->empty()) {
        indices(l, mu, sigma, forma, r.cp, r.cpk);
        if (sigma > 0)
            r.cpm = cpmDe(l, forma ? mu + sigma * forma->mediana() : mu, varianzaDe(sigma, forma));
        return r;
    }
    // Within the subgroups (or from one value to the next) the process's own spread; overall,
    // all that moved while it was measured.
    const ResumenMuestra m = resumeMuestra(*mediciones);
    r.n = m.n;
    r.media = m.media;
    r.sigmaTotal = m.desviacion;
    std::vector<std::vector<double>> grupos;
    if (subgrupos && subgrupos->size() == mediciones->size())
        grupos = agrupa(*mediciones, *subgrupos);
    r.subgrupos = grupos.size();
    r.sigmaDentro = grupos.empty() ? sigmaRangoMovil(*mediciones) : sigmaAgrupada(grupos);
    r.gradosDentro = double(m.n) - 1;
    if (!grupos.empty()) {
        r.gradosDentro = 0;
        for (const std::vector<double>& g : grupos)
            r.gradosDentro += double(g.size()) - 1;
    }
    // A skewed shape has no within indices: its percentiles are the whole sample's. A fitted
    // distribution's are its own, whose mean and spread the boxes hold.
    if (!forma)
        indices(l, m.media, r.sigmaDentro, forma, r.cp, r.cpk);
    const bool ajustada = forma && forma->ajuste();
    const double centro = ajustada ? mu : m.media, escala = ajustada ? sigma : m.desviacion;
    indices(l, centro, escala, forma, r.pp, r.ppk);
    // Cpm on all the data: Σ(x − T)² / (n − 1) = s² + n/(n − 1) (x̄ − T)².
    if (m.desviacion > 0 && m.n > 1) {
        const double n = double(m.n);
        if (forma)
            r.cpm = cpmDe(l, centro + escala * forma->mediana(), varianzaDe(escala, forma));
        else
            r.cpm = cpmDe(l, l.obj + (m.media - l.obj) * std::sqrt(n / (n - 1)),
                          m.desviacion * m.desviacion);
    }
    cambiaConfianza(r, c, forma, confianza);
    avanza(0.3);
    r.normalidad = andersonDarling(*mediciones);
    avanza(0.8);
    r.estabilidad = grupos.empty() ? cartaIndividuales(*mediciones) : cartaMedias(grupos);
    avanza(0.9);
    // What a supplier asks for beside the indices: parts per million out of the tolerance.
    auto fuera = [&](double sd) {
        const double zI = (l.retI - centro) / sd, zS = (l.retS - centro) / sd;
        return Capacidad::FueraDeTolerancia{forma ? forma->cdf(zI) : double(normal.cdf(zI)),
                                            forma ? forma->cola(zS)
                                                  : double(normal.colaSuperior(zS))};
    };
    if (r.sigmaDentro > 0 && !forma)
        r.fueraDentro = fuera(r.sigmaDentro);
    if (escala > 0)
        r.fueraTotal = fuera(escala);
    // Each measurement in its zone: a value on a limit conforms to it.
    r.observada.emplace(5, 0.0);
    for (double v : *mediciones)
        (*r.observada)[std::size_t(zonaDeMedicion(v, l))] += 1;
    for (double& f : *r.observada)
        f /= double(m.n);
    const std::vector<double>& o = *r.observada;
    r.fueraObservado = Capacidad::FueraDeTolerancia{o[0] + o[1], o[3] + o[4]};
    return r;
}

void cambiaConfianza(Capacidad& r, const Cajas& c, const FormaProceso* forma, double confianza) {
    r.confianza = confianza;
    r.icCp = r.icCpk = r.icCpm = r.icPp = r.icPpk = std::nullopt;
    if (forma || r.n == 0) // the intervals hold for normal indices only
        return;
    const double n = double(r.n), obj = c.estricto(Caja::XObj), nu = r.gradosDentro;
    auto conIntervalo = [&](const std::optional<double>& v, auto&& f,
                            std::optional<Intervalo>& ic) {
        if (v)
            ic = f(*v);
    };
    conIntervalo(
        r.cp, [&](double v) { return intervaloCp(v, nu, confianza); }, r.icCp);
    conIntervalo(
        r.pp, [&](double v) { return intervaloCp(v, n - 1, confianza); }, r.icPp);
    conIntervalo(
        r.cpk, [&](double v) { return intervaloCpk(v, n, nu, confianza); }, r.icCpk);
    conIntervalo(
        r.ppk, [&](double v) { return intervaloCpk(v, n, n - 1, confianza); }, r.icPpk);
    conIntervalo(
        r.cpm,
        [&](double v) { return intervaloCpm(v, n, (r.media - obj) / r.sigmaTotal, confianza); },
        r.icCpm);
}

QList<QStringList> informeCapacidad(const Cajas& c, const FormaProceso* forma,
                                    const Capacidad& cap) {
    auto num = [](double v, const char* patron) { return formatea(v, QLatin1String(patron)); };
    auto indice = [&](const std::optional<double>& v) {
        return v ? num(*v, "0.00") : QStringLiteral("—");
    };
    const QString caja3 = QStringLiteral("0.0###");
    QList<QStringList> f;
    f << QStringList{QStringLiteral("Capacidad del proceso"), c.texto(Caja::txtTitulo)};
    f << QStringList{QStringLiteral("Distribución"),
                     forma ? forma->descripcion() +
                                 QStringLiteral("; índices por percentiles (ISO 22514-2)")
                           : QStringLiteral("Normal")};
    f << QStringList{QStringLiteral("Límites de especificación (retrabajo)"),
                     formateaTexto(c.texto(Caja::XRetI), caja3),
                     formateaTexto(c.texto(Caja::XRetS), caja3)};
    f << QStringList{QStringLiteral("Objetivo"), formateaTexto(c.texto(Caja::XObj), caja3)};
    f << QStringList{QStringLiteral("Media y desviación estándar"),
                     formateaTexto(c.texto(Caja::Media), caja3),
                     formateaTexto(c.texto(Caja::StdDev), caja3)};
    if (!cap.observada) {
        f << QStringList{QStringLiteral("Cp"), indice(cap.cp)};
        f << QStringList{QStringLiteral("Cpk"), indice(cap.cpk)};
        f << QStringList{QStringLiteral("Cpm"), indice(cap.cpm)};
    } else {
        const QString dentro =
            (cap.subgrupos ? QStringLiteral("σ dentro: desviación agrupada de %1 subgrupos / c4")
                                 .arg(cap.subgrupos)
                           : QStringLiteral("σ dentro: rango móvil medio / 1,128")) +
            QStringLiteral("; %1 grados de libertad").arg(num(cap.gradosDentro, "0"));
        f << QStringList{QStringLiteral("Mediciones"), QString::number(cap.n)};
        f << QStringList{QStringLiteral("Media de las mediciones"), num(cap.media, "0.0#####")};
        f << QStringList{QStringLiteral("Desviación dentro (σ dentro)"),
                         num(cap.sigmaDentro, "0.0#####"), dentro};
        f << QStringList{QStringLiteral("Desviación total (s)"), num(cap.sigmaTotal, "0.0#####"),
                         QStringLiteral("s total: desviación estándar de todas")};
        f << QStringList();
        const QString nivel = num(cap.confianza * 100, "0") + QStringLiteral(" %");
        f << QStringList{QStringLiteral("Índice"), QStringLiteral("Valor"),
                         QStringLiteral("IC %1, desde").arg(nivel),
                         QStringLiteral("IC %1, hasta").arg(nivel), QStringLiteral("Con")};
        auto fila = [&](const char* nombre, const std::optional<double>& v,
                        const std::optional<Intervalo>& ic, const char* con) {
            f << QStringList{QString::fromUtf8(nombre), indice(v),
                             ic ? num(ic->bajo, "0.00") : QStringLiteral("—"),
                             ic ? num(ic->alto, "0.00") : QStringLiteral("—"),
                             QString::fromUtf8(con)};
        };
        if (!forma) {
            fila("Cp", cap.cp, cap.icCp, "σ dentro");
            fila("Cpk", cap.cpk, cap.icCpk, "σ dentro");
        }
        fila("Cpm", cap.cpm, cap.icCpm, "todas, respecto del objetivo");
        // A fitted distribution's percentiles are its own, not the sample's mean and s.
        const char* total = forma && forma->ajuste() ? "el ajuste" : "s total";
        fila("Pp", cap.pp, cap.icPp, total);
        fila("Ppk", cap.ppk, cap.icPpk, total);
        if (forma) {
            f << QStringList{QStringLiteral("Índices dentro"),
                             QStringLiteral("no se dan para un proceso sesgado: sus percentiles "
                                            "son los de todas las mediciones")};
            f << QStringList{QStringLiteral("Intervalos"),
                             QStringLiteral("no se dan para índices por percentiles: sus "
                                            "fórmulas valen para la normal")};
        }
        f << QStringList();
        // Parts per million out of the tolerance, and Z.bench: the normal deviate whose upper
        // tail is the whole fraction out.
        using F = Capacidad::FueraDeTolerancia;
        f << QStringList{QStringLiteral("Partes por millón"), QStringLiteral("Esperado (σ dentro)"),
                         forma && forma->ajuste() ? QStringLiteral("Esperado (ajuste)")
                                                  : QStringLiteral("Esperado (s total)"),
                         QStringLiteral("Observado")};
        const struct {
            const char* nombre;
            double (*parte)(const F&);
        } partes[] = {{"Debajo del límite inferior", [](const F& x) { return x.debajo; }},
                      {"Encima del límite superior", [](const F& x) { return x.encima; }},
                      {"Total", [](const F& x) { return x.total(); }}};
        for (const auto& p : partes) {
            QStringList fila{QString::fromUtf8(p.nombre)};
            for (const auto* x : {&cap.fueraDentro, &cap.fueraTotal, &cap.fueraObservado})
                fila << (*x ? num(p.parte(**x) * 1e6, "0.0") : QStringLiteral("—"));
            f << fila;
        }
        auto zBench = [&](const std::optional<F>& x) {
            if (!x || !(x->total() > 0 && x->total() < 1))
                return QStringLiteral("—");
            return num(-boost::math::quantile(boost::math::normal(), x->total()), "0.00");
        };
        f << QStringList{QStringLiteral("Z.bench"), zBench(cap.fueraDentro), zBench(cap.fueraTotal),
                         zBench(cap.fueraObservado)};
        f << QStringList();
        if (cap.normalidad) {
            const PruebaNormalidad& a = *cap.normalidad;
            f << QStringList{QStringLiteral("Normalidad (Anderson–Darling)"),
                             QStringLiteral("A² %1, p %2")
                                 .arg(num(a.a2, "0.000"),
                                      a.p < 0.005 ? QStringLiteral("< 0,005") : num(a.p, "0.000"))};
            if (a.p < 0.05)
                f << QStringList{QStringLiteral("Aviso"),
                                 forma ? QStringLiteral("las mediciones no parecen normales "
                                                        "(p < 0,05), como supone el proceso "
                                                        "sesgado")
                                       : QStringLiteral("las mediciones no parecen normales (p < "
                                                        "0,05): los índices normales no son de "
                                                        "fiar; pruebe «Usar como Pearson» al "
                                                        "importarlas")};
        } else {
            f << QStringList{QStringLiteral("Normalidad (Anderson–Darling)"),
                             QStringLiteral("— (la prueba pide 8 mediciones o más, y que varíen)")};
        }
        if (cap.estabilidad)
            f << QStringList{QStringLiteral("Estabilidad (gráfico %1)")
                                 .arg(nombreDeCarta(cap.estabilidad->tipo)),
                             resumenDeEstabilidad(*cap.estabilidad)};
    }
    f << QStringList();
    QStringList cabecera{QStringLiteral("Zona"), QStringLiteral("Esperado (ppm)"),
                         QStringLiteral("Esperado (%)")};
    if (cap.observada)
        cabecera << QStringLiteral("Observado (ppm)") << QStringLiteral("Observado (%)");
    f << cabecera;
    const QString zonas[5] = {QStringLiteral("Debajo del límite de desperdicio"),
                              QStringLiteral("Entre desperdicio y retrabajo (inferior)"),
                              QStringLiteral("Dentro de los límites de retrabajo"),
                              QStringLiteral("Entre retrabajo y desperdicio (superior)"),
                              QStringLiteral("Encima del límite de desperdicio")};
    for (int i = 0; i < 5; ++i) {
        QStringList fila{zonas[i], num(cap.esperada[i] * 1e6, "0.0"),
                         num(cap.esperada[i], "0.0000 %")};
        if (cap.observada)
            fila << num((*cap.observada)[std::size_t(i)] * 1e6, "0.0")
                 << num((*cap.observada)[std::size_t(i)], "0.0000 %");
        f << fila;
    }
    return f;
}

QString comoTexto(const QList<QStringList>& filas) {
    QStringList lineas;
    for (const QStringList& f : filas)
        lineas << f.join(QLatin1Char('\t'));
    return lineas.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString comoHtml(const QList<QStringList>& filas) {
    int columnas = 1;
    for (const QStringList& f : filas)
        columnas = std::max(columnas, int(f.size()));
    // Figures to the right, words to the left; a short row's last cell spans the rest, and the
    // headings stand out, each over its column as the row below aligns it.
    auto esCifra = [](const QString& t) {
        return !t.isEmpty() && (t[0].isDigit() || t[0] == QLatin1Char('-') ||
                                t[0] == QLatin1Char('$') || t == QStringLiteral("—"));
    };
    QString h = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">");
    for (qsizetype k = 0; k < filas.size(); ++k) {
        const QStringList& f = filas[k];
        const bool cabecera =
            f.value(0) == QStringLiteral("Zona") || f.value(0) == QStringLiteral("Escenario") ||
            f.value(0) == QStringLiteral("Índice") ||
            f.value(0) == QStringLiteral("Partes por millón") ||
            f.value(0) == QStringLiteral("Fuente") || f.value(0) == QStringLiteral("Componente") ||
            f.value(0) == QStringLiteral("Límite");
        h += QStringLiteral("<tr>");
        for (int i = 0; i < f.size(); ++i) {
            const int ancho = i + 1 == f.size() && !esCifra(f[i]) ? columnas - i : 1;
            QString celda = f[i].toHtmlEscaped();
            if (cabecera)
                celda = QStringLiteral("<b>%1</b>").arg(celda);
            const bool derecha = cabecera ? esCifra(filas.value(k + 1).value(i)) : esCifra(f[i]);
            h += QStringLiteral("<td%1%2>%3</td>")
                     .arg(ancho > 1 ? QStringLiteral(" colspan=\"%1\"").arg(ancho) : QString(),
                          i && derecha ? QStringLiteral(" align=\"right\"") : QString(), celda);
        }
        h += QStringLiteral("</tr>");
    }
    return h + QStringLiteral("</table>");
}

QString nombreDeIndice(const Cajas& c, std::size_t mediciones, double sigmaMediciones) {
    auto deMediciones = [&] {
        if (mediciones < 2 || !(sigmaMediciones > 0))
            return false;
        if (!c.ajuste().isEmpty()) // a fit of all of them
            return true;
        try {
            return c.estricto(Caja::StdDev) ==
                   leeEnCaja(formatoConResolucion(sigmaMediciones, sigmaMediciones / 1000));
        } catch (const ErrorLozar&) {
            return false;
        }
    };
    return deMediciones() ? QStringLiteral("Ppk") : QStringLiteral("Cpk");
}
