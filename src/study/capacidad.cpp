#include "study/capacidad.h"

#include "shell/numeros.h"
#include "stats/muestra.h"
#include "study/forma.h"
#include "study/zonas.h"

#include <algorithm>
#include <cmath>

namespace {
// Cp and Cpk for a spread, Cpm with the target: the normal formulas, or the percentile ones
// (the 99.73 % spread from the 0.135 % to the 99.865 % point, the median as centre).
void indices(const Limites& l, double media, double sd, const FormaProceso* forma,
             std::optional<double>& cp, std::optional<double>& cpk, std::optional<double>* cpm) {
    if (!(sd > 0))
        return;
    const double ancho = forma ? sd * (forma->q99865() - forma->q00135()) : 6 * sd;
    const double centro = forma ? media + sd * forma->mediana() : media;
    cp = (l.retS - l.retI) / ancho;
    cpk = cpkDe(media, sd, l.retI, l.retS, forma);
    if (cpm)
        *cpm = (l.retS - l.retI) /
               (6 * std::sqrt(ancho * ancho / 36 + (centro - l.obj) * (centro - l.obj)));
}
} // namespace

Capacidad calculaCapacidad(const Cajas& c, const FormaProceso* forma,
                           const std::vector<double>* mediciones) {
    const Limites l = limitesDe(c);
    const double mu = c.estricto(Caja::Media), sigma = c.estricto(Caja::StdDev);
    Capacidad r{};
    indices(l, mu, sigma, forma, r.cp, r.cpk, &r.cpm);
    static const DistribucionPearson normal(0.0L, 0.0L);
    const auto z = zonasDe(colasDe(
        l, mu, sigma, [&](double z) { return forma ? forma->cdf(z) : double(normal.cdf(z)); },
        [&](double z) { return forma ? forma->cola(z) : double(normal.colaSuperior(z)); }));
    std::copy(z.begin(), z.end(), r.esperada);
    if (mediciones && !mediciones->empty()) {
        const ResumenMuestra m = resumeMuestra(*mediciones);
        indices(l, m.media, m.desviacion, forma, r.pp, r.ppk, nullptr);
        r.n = m.n;
        // Each measurement in its zone, by the rule every zone count follows.
        r.observada.emplace(5, 0.0);
        for (double v : *mediciones)
            (*r.observada)[std::size_t(zonaDe(v, l))] += 1;
        for (double& f : *r.observada)
            f /= double(m.n);
    }
    return r;
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
                     forma ? forma->nombre() + QStringLiteral(" (sesgo %1, curtosis %2); índices "
                                                              "por percentiles (ISO 22514-2)")
                                                   .arg(formatoGeneral(forma->sesgo()),
                                                        formatoGeneral(forma->curtosis()))
                           : QStringLiteral("Normal")};
    f << QStringList{QStringLiteral("Límites de especificación (retrabajo)"),
                     formateaTexto(c.texto(Caja::XRetI), caja3),
                     formateaTexto(c.texto(Caja::XRetS), caja3)};
    f << QStringList{QStringLiteral("Objetivo"), formateaTexto(c.texto(Caja::XObj), caja3)};
    f << QStringList{QStringLiteral("Media y desviación estándar"),
                     formateaTexto(c.texto(Caja::Media), caja3),
                     formateaTexto(c.texto(Caja::StdDev), caja3)};
    f << QStringList{QStringLiteral("Cp"), indice(cap.cp)};
    f << QStringList{QStringLiteral("Cpk"), indice(cap.cpk)};
    f << QStringList{QStringLiteral("Cpm"), indice(cap.cpm)};
    if (cap.observada) {
        f << QStringList{QStringLiteral("Pp (de las mediciones)"), indice(cap.pp)};
        f << QStringList{QStringLiteral("Ppk (de las mediciones)"), indice(cap.ppk)};
        f << QStringList{QStringLiteral("Mediciones"), QString::number(cap.n)};
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
    // zones' heading stands out.
    auto esCifra = [](const QString& t) {
        return !t.isEmpty() && (t[0].isDigit() || t[0] == QLatin1Char('-') ||
                                t[0] == QLatin1Char('$') || t == QStringLiteral("—"));
    };
    QString h = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">");
    for (const QStringList& f : filas) {
        const bool cabecera =
            f.value(0) == QStringLiteral("Zona") || f.value(0) == QStringLiteral("Escenario");
        h += QStringLiteral("<tr>");
        for (int i = 0; i < f.size(); ++i) {
            const int ancho = i + 1 == f.size() && !esCifra(f[i]) ? columnas - i : 1;
            QString celda = f[i].toHtmlEscaped();
            if (cabecera)
                celda = QStringLiteral("<b>%1</b>").arg(celda);
            h += QStringLiteral("<td%1%2>%3</td>")
                     .arg(ancho > 1 ? QStringLiteral(" colspan=\"%1\"").arg(ancho) : QString(),
                          i && (esCifra(f[i]) || cabecera) ? QStringLiteral(" align=\"right\"")
                                                           : QString(),
                          celda);
        }
        h += QStringLiteral("</tr>");
    }
    return h + QStringLiteral("</table>");
}
