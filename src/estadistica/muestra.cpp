#include "muestra.h"

#include <algorithm>
#include <cmath>

ResumenMuestra resumeMuestra(const std::vector<double>& v) {
    ResumenMuestra r;
    r.n = v.size();
    if (r.n == 0)
        return r;
    const auto [mn, mx] = std::minmax_element(v.begin(), v.end());
    r.minimo = *mn;
    r.maximo = *mx;
    // Two passes: the mean first, then the centred sums, which keeps a million values with a
    // large common part (a diameter of 120.0031 mm) from cancelling.
    long double suma = 0;
    for (double x : v)
        suma += x;
    const long double media = suma / r.n;
    long double m2 = 0, m3 = 0, m4 = 0;
    for (double x : v) {
        const long double d = x - media, d2 = d * d;
        m2 += d2;
        m3 += d2 * d;
        m4 += d2 * d2;
    }
    r.media = double(media);
    if (r.n < 2)
        return r;
    const long double n = r.n;
    r.desviacion = double(std::sqrt(m2 / (n - 1)));
    if (r.n < 4 || m2 == 0)
        return r;
    // g1 and g2 from the central moments, then the usual corrections for the sample's size.
    const long double c2 = m2 / n, c3 = m3 / n, c4 = m4 / n;
    const long double g1 = c3 / std::pow(c2, 1.5L), g2 = c4 / (c2 * c2) - 3;
    r.sesgo = double(g1 * std::sqrt(n * (n - 1)) / (n - 2));
    r.curtosis = double((n - 1) / ((n - 2) * (n - 3)) * ((n + 1) * g2 + 6));
    return r;
}

double cuantilMuestral(const std::vector<double>& o, double p) {
    if (o.empty())
        return 0;
    const double pos = p * double(o.size() - 1);
    const std::size_t i = std::size_t(std::floor(pos));
    if (i + 1 >= o.size())
        return o.back();
    return o[i] + (pos - double(i)) * (o[i + 1] - o[i]);
}

double anchoFreedmanDiaconis(const std::vector<double>& o) {
    const double iqr = cuantilMuestral(o, 0.75) - cuantilMuestral(o, 0.25);
    return 2 * iqr / std::cbrt(double(o.size()));
}

Histograma histogramaDe(const std::vector<double>& o) {
    Histograma h;
    if (o.empty())
        return h;
    const double rango = o.back() - o.front();
    double ancho = anchoFreedmanDiaconis(o);
    if (!(ancho > 0))
        ancho = rango / std::ceil(std::log2(double(o.size())) + 1);
    const int clases = std::clamp(int(std::ceil(rango / ancho)), 1, 400);
    h.desde = o.front();
    h.ancho = rango / clases;
    h.cuentas.assign(std::size_t(clases), 0);
    for (double v : o)
        ++h.cuentas[std::size_t(h.ancho > 0 ? std::min(clases - 1, int((v - h.desde) / h.ancho))
                                            : 0)];
    return h;
}
