#include "cartas.h"

#include "indices.h"

#include <algorithm>
#include <cmath>

namespace {
// d2(n) = E[R]/σ and d3(n) = sd(R)/σ of the range of n normal values, n = 2 … 10, to the digits
// the published A2, D3 and D4 round from (A2 = 3/(d2√n), D4 = 1 + 3 d3/d2).
constexpr double kD2[] = {1.128379, 1.692569, 2.058751, 2.325929, 2.534413,
                          2.704357, 2.847201, 2.970026, 3.077505};
constexpr double kD3[] = {0.852502, 0.888368, 0.879808, 0.864082, 0.848040,
                          0.833205, 0.819831, 0.807834, 0.797051};
constexpr std::uint32_t kMayorConRangos = 10;

double d2(std::uint32_t n) {
    return kD2[n - 2];
}
double d3(std::uint32_t n) {
    return kD3[n - 2];
}

double media(const std::vector<double>& g) {
    long double s = 0;
    for (double x : g)
        s += x;
    return double(s / g.size());
}

// Beyond the limits, and the points that close a run of kRacha or more on one side of the centre.
template <typename Lineas>
void marca(const std::vector<double>& v, double centro, Lineas&& lineas,
           std::vector<std::size_t>& fuera, std::vector<std::size_t>* enRacha) {
    int lado = 0;
    int racha = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const LineasCarta l = lineas(i);
        if (v[i] < l.lci || v[i] > l.lcs)
            fuera.push_back(i);
        if (!enRacha)
            continue;
        const int s = v[i] > centro ? 1 : v[i] < centro ? -1 : 0;
        racha = s != 0 && s == lado ? racha + 1 : (s != 0 ? 1 : 0);
        lado = s;
        if (racha >= kRacha)
            enRacha->push_back(i);
    }
}
} // namespace

double rangoDe(const std::vector<double>& g) {
    const auto [mn, mx] = std::minmax_element(g.begin(), g.end());
    return g.empty() ? 0 : *mx - *mn;
}

double desviacionDe(const std::vector<double>& g) {
    if (g.size() < 2)
        return 0;
    const double m = media(g);
    long double s = 0;
    for (double x : g)
        s += (x - m) * (x - m);
    return double(std::sqrt(s / (g.size() - 1)));
}

LineasCarta CartaControl::puntos(std::size_t i) const {
    const double k = tipo == TipoCarta::Individuos
                         ? 3 * sigma
                         : 3 * sigma / std::sqrt(double(tamanos.empty() ? tamano : tamanos[i]));
    return {centro, centro - k, centro + k};
}

LineasCarta CartaControl::dispersion(std::size_t i) const {
    const std::uint32_t m = tipo == TipoCarta::Individuos ? 2
                            : tamanos.empty()             ? tamano
                                                          : tamanos[i];
    if (m < 2) // a subgroup of one value has no spread to chart
        return {};
    if (tipo != TipoCarta::MediasDesviaciones) {
        const double c = d2(m) * sigma, k = 3 * d3(m) * sigma;
        return {c, std::max(0.0, c - k), c + k};
    }
    const double c = c4(m) * sigma, k = 3 * std::sqrt(1 - c4(m) * c4(m)) * sigma;
    return {c, std::max(0.0, c - k), c + k};
}

double CartaControl::esperadosPorAzar() const {
    return 0.0026997960632601866 * double(n + puntosDispersion());
}

CartaControl cartaIndividuales(const std::vector<double>& v) {
    CartaControl c;
    c.n = v.size();
    if (v.empty())
        return c;
    c.centro = media(v);
    std::vector<double> rangos;
    rangos.reserve(v.size());
    for (std::size_t i = 1; i < v.size(); ++i)
        rangos.push_back(std::fabs(v[i] - v[i - 1]));
    c.mediaDispersion = rangos.empty() ? 0 : media(rangos);
    c.sigma = c.mediaDispersion / d2(2);
    if (c.sigma > 0) {
        marca(
            v, c.centro, [&](std::size_t i) { return c.puntos(i); }, c.fuera, &c.enRacha);
        marca(
            rangos, 0, [&](std::size_t i) { return c.dispersion(i); }, c.fueraDispersion, nullptr);
    }
    return c;
}

CartaControl cartaMedias(const std::vector<std::vector<double>>& subgrupos) {
    CartaControl c;
    std::vector<double> medias, dispersiones;
    std::vector<std::uint32_t> tamanos;
    long double suma = 0;
    std::size_t total = 0;
    for (const std::vector<double>& g : subgrupos) {
        if (g.empty())
            continue;
        medias.push_back(media(g));
        tamanos.push_back(std::uint32_t(g.size()));
        suma += (long double)medias.back() * g.size();
        total += g.size();
    }
    c.n = medias.size();
    if (medias.empty())
        return c;
    c.centro = double(suma / total);
    const bool iguales = std::all_of(tamanos.begin(), tamanos.end(),
                                     [&](std::uint32_t t) { return t == tamanos.front(); });
    c.tamano = tamanos.front();
    if (!iguales)
        c.tamanos = tamanos;
    c.tipo = iguales && c.tamano >= 2 && c.tamano <= kMayorConRangos
                 ? TipoCarta::MediasRangos
                 : TipoCarta::MediasDesviaciones;
    for (const std::vector<double>& g : subgrupos)
        if (!g.empty())
            dispersiones.push_back(c.tipo == TipoCarta::MediasRangos ? rangoDe(g)
                                                                     : desviacionDe(g));
    c.mediaDispersion = media(dispersiones);
    if (c.tipo == TipoCarta::MediasRangos)
        c.sigma = c.mediaDispersion / d2(c.tamano);
    else if (iguales)
        c.sigma = c.tamano >= 2 ? c.mediaDispersion / c4(c.tamano) : 0;
    else
        c.sigma = sigmaAgrupada(subgrupos);
    if (c.sigma > 0) {
        marca(
            medias, c.centro, [&](std::size_t i) { return c.puntos(i); }, c.fuera, &c.enRacha);
        marca(
            dispersiones, 0, [&](std::size_t i) { return c.dispersion(i); }, c.fueraDispersion,
            nullptr);
    }
    return c;
}
