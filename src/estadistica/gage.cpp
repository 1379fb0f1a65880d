#include "gage.h"

#include <boost/math/distributions/fisher_f.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <stdexcept>
#include <unordered_map>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The measurements as a table: celdas[piece][operator] holds that cell's values.
struct Tabla {
    int piezas = 0, operadores = 0, ensayos = 0;
    std::vector<std::vector<std::vector<double>>> celdas;
};

Tabla tabula(const std::vector<MedicionGage>& m) {
    std::map<int, int> piezas, operadores;
    for (const MedicionGage& x : m) {
        if (!std::isfinite(x.valor))
            throw std::invalid_argument("Hay una medición que no es un número finito.");
        piezas.emplace(x.pieza, 0);
        operadores.emplace(x.operador, 0);
    }
    if (piezas.size() < 2)
        throw std::invalid_argument("El estudio necesita al menos 2 piezas.");
    if (operadores.size() < 2)
        throw std::invalid_argument("El estudio necesita al menos 2 operadores.");
    // A balanced study holds at least 2 values a cell: checked before a table of cells so many
    // scattered ids cannot ask for more memory than their rows justify.
    const std::size_t celdas = piezas.size() * operadores.size();
    if (m.size() < 2 * celdas)
        throw std::invalid_argument(
            m.size() == celdas ? "Cada operador debe medir cada pieza al menos 2 veces."
                               : "El estudio no está equilibrado: cada operador debe medir cada "
                                 "pieza el mismo número de veces.");
    int i = 0;
    for (auto& p : piezas)
        p.second = i++;
    i = 0;
    for (auto& o : operadores)
        o.second = i++;

    Tabla t;
    t.piezas = int(piezas.size());
    t.operadores = int(operadores.size());
    t.celdas.assign(t.piezas, std::vector<std::vector<double>>(t.operadores));
    for (const MedicionGage& x : m)
        t.celdas[piezas[x.pieza]][operadores[x.operador]].push_back(x.valor);
    t.ensayos = int(t.celdas[0][0].size());
    for (auto& fila : t.celdas)
        for (auto& c : fila) {
            if (int(c.size()) != t.ensayos)
                throw std::invalid_argument(
                    "El estudio no está equilibrado: cada operador debe medir cada pieza el "
                    "mismo número de veces.");
            // Sums in one order whatever the rows' order, so a shuffled table gives the same bits.
            std::sort(c.begin(), c.end());
        }
    if (t.ensayos < 2)
        throw std::invalid_argument("Cada operador debe medir cada pieza al menos 2 veces.");
    return t;
}

double media(const std::vector<double>& v) {
    double s = 0;
    for (double x : v)
        s += x;
    return s / double(v.size());
}

struct Medias {
    double general = 0;
    std::vector<double> pieza, operador;
    std::vector<std::vector<double>> celda;
};

Medias medias(const Tabla& t) {
    Medias m;
    m.pieza.assign(t.piezas, 0);
    m.operador.assign(t.operadores, 0);
    m.celda.assign(t.piezas, std::vector<double>(t.operadores));
    for (int i = 0; i < t.piezas; ++i)
        for (int j = 0; j < t.operadores; ++j) {
            const double c = media(t.celdas[i][j]);
            m.celda[i][j] = c;
            m.pieza[i] += c / t.operadores;
            m.operador[j] += c / t.piezas;
        }
    for (double p : m.pieza)
        m.general += p / t.piezas;
    return m;
}

// F's upper tail; NaN where F is not a number the distribution takes (a zero denominator).
double colaF(double f, double gl1, double gl2) {
    if (!std::isfinite(f) || f < 0)
        return kNaN;
    return boost::math::cdf(boost::math::complement(boost::math::fisher_f(gl1, gl2), f));
}

void contrasta(FilaAnova& efecto, const FilaAnova& error) {
    if (error.cm > 0) {
        efecto.f = efecto.cm / error.cm;
        efecto.p = colaF(efecto.f, efecto.gl, error.gl);
    }
}

FilaAnova filaAnova(double gl, double sc) {
    FilaAnova f;
    f.gl = gl;
    f.sc = sc;
    f.cm = sc / gl;
    return f;
}

ComponenteGage componente(double varianza, double tolerancia) {
    ComponenteGage c;
    c.varianza = varianza;
    c.sigma = std::sqrt(varianza);
    c.variacion = 6 * c.sigma;
    if (std::isfinite(tolerancia) && tolerancia > 0)
        c.pctTolerancia = 100 * c.variacion / tolerancia;
    return c;
}

// Fills every component from the four elementary variances, with percentages of the total.
void componentes(EstudioGage& e, double repetibilidad, double operador, double interaccion,
                 double parte, double tolerancia) {
    const double reproducibilidad = operador + interaccion;
    const double grr = repetibilidad + reproducibilidad;
    const double total = grr + parte;
    ComponenteGage* cs[] = {
        &e.repetibilidad, &e.reproducibilidad, &e.operador, &e.interaccion, &e.grr, &e.parte,
        &e.total};
    const double vs[] = {repetibilidad, reproducibilidad, operador, interaccion, grr, parte, total};
    for (int i = 0; i < 7; ++i) {
        *cs[i] = componente(vs[i], tolerancia);
        if (total > 0) {
            cs[i]->pctContribucion = 100 * vs[i] / total;
            cs[i]->pctVariacion = 100 * cs[i]->sigma / std::sqrt(total);
        }
    }
    if (e.grr.sigma > 0) {
        const double ndc = std::floor(1.41 * e.parte.sigma / e.grr.sigma);
        e.categorias = ndc < INT_MAX ? std::max(1, int(ndc)) : INT_MAX;
    } else {
        e.categorias = e.parte.sigma > 0 ? INT_MAX : 1;
    }
}

} // namespace

EstudioGage gageAnova(const std::vector<MedicionGage>& m, double tolerancia,
                      double alfaInteraccion) {
    const Tabla t = tabula(m);
    const Medias x = medias(t);
    const double p = t.piezas, o = t.operadores, r = t.ensayos;

    double scP = 0, scO = 0, scPO = 0, scE = 0, scT = 0;
    for (int i = 0; i < t.piezas; ++i)
        scP += (x.pieza[i] - x.general) * (x.pieza[i] - x.general);
    for (int j = 0; j < t.operadores; ++j)
        scO += (x.operador[j] - x.general) * (x.operador[j] - x.general);
    for (int i = 0; i < t.piezas; ++i)
        for (int j = 0; j < t.operadores; ++j) {
            const double d = x.celda[i][j] - x.pieza[i] - x.operador[j] + x.general;
            scPO += d * d;
            for (double v : t.celdas[i][j]) {
                scE += (v - x.celda[i][j]) * (v - x.celda[i][j]);
                scT += (v - x.general) * (v - x.general);
            }
        }

    EstudioGage e;
    e.piezas = t.piezas;
    e.operadores = t.operadores;
    e.ensayos = t.ensayos;
    e.anovaPieza = filaAnova(p - 1, o * r * scP);
    e.anovaOperador = filaAnova(o - 1, p * r * scO);
    e.anovaInteraccion = filaAnova((p - 1) * (o - 1), r * scPO);
    e.anovaRepetibilidad = filaAnova(p * o * (r - 1), scE);
    e.anovaTotal.gl = p * o * r - 1;
    e.anovaTotal.sc = scT;
    e.anovaTotal.cm = kNaN;

    contrasta(e.anovaInteraccion, e.anovaRepetibilidad);
    e.pInteraccion = e.anovaInteraccion.p;
    e.interaccionAgrupada = e.pInteraccion > alfaInteraccion;

    const double cmP = e.anovaPieza.cm, cmO = e.anovaOperador.cm;
    double repetibilidad, operador, interaccion, parte;
    if (e.interaccionAgrupada) {
        e.anovaRepetibilidad = filaAnova(e.anovaRepetibilidad.gl + e.anovaInteraccion.gl,
                                         e.anovaRepetibilidad.sc + e.anovaInteraccion.sc);
        const double cmE = e.anovaRepetibilidad.cm;
        contrasta(e.anovaPieza, e.anovaRepetibilidad);
        contrasta(e.anovaOperador, e.anovaRepetibilidad);
        repetibilidad = cmE;
        interaccion = 0;
        operador = (cmO - cmE) / (p * r);
        parte = (cmP - cmE) / (o * r);
    } else {
        const double cmE = e.anovaRepetibilidad.cm, cmPO = e.anovaInteraccion.cm;
        contrasta(e.anovaPieza, e.anovaInteraccion);
        contrasta(e.anovaOperador, e.anovaInteraccion);
        repetibilidad = cmE;
        interaccion = (cmPO - cmE) / r;
        operador = (cmO - cmPO) / (p * r);
        parte = (cmP - cmPO) / (o * r);
    }
    componentes(e, repetibilidad, std::max(0.0, operador), std::max(0.0, interaccion),
                std::max(0.0, parte), tolerancia);
    return e;
}

EstudioGage gageMediasRangos(const std::vector<MedicionGage>& m, double tolerancia) {
    const Tabla t = tabula(m);
    if (t.ensayos > 3 || t.operadores > 3 || t.piezas > 10)
        throw std::invalid_argument(
            "El método de medias y rangos admite 2 o 3 ensayos, 2 o 3 operadores y de 2 a 10 "
            "piezas; para otros estudios use el método ANOVA.");
    // AIAG MSA, 4th edition: K1 by trials, K2 by operators, K3 by pieces.
    const double k1 = t.ensayos == 2 ? 0.8862 : 0.5908;
    const double k2 = t.operadores == 2 ? 0.7071 : 0.5231;
    static const double k3[] = {0,      0,      0.7071, 0.5231, 0.4467, 0.4030,
                                0.3742, 0.3534, 0.3375, 0.3249, 0.3146};
    const Medias x = medias(t);

    double rangos = 0;
    for (const auto& fila : t.celdas)
        for (const auto& c : fila)
            rangos += c.back() - c.front(); // the cells are sorted
    const double rMedio = rangos / (t.piezas * t.operadores);
    const auto [oMin, oMax] = std::minmax_element(x.operador.begin(), x.operador.end());
    const auto [pMin, pMax] = std::minmax_element(x.pieza.begin(), x.pieza.end());

    const double ev = rMedio * k1;
    const double radicando = std::pow((*oMax - *oMin) * k2, 2) - ev * ev / (t.piezas * t.ensayos);
    const double av = radicando > 0 ? std::sqrt(radicando) : 0;
    const double pv = (*pMax - *pMin) * k3[t.piezas];

    EstudioGage e;
    e.piezas = t.piezas;
    e.operadores = t.operadores;
    e.ensayos = t.ensayos;
    componentes(e, ev * ev, av * av, 0, pv * pv, tolerancia);
    return e;
}

std::vector<MedicionGage> gageDeColumnas(const std::vector<std::string>& piezas,
                                         const std::vector<std::string>& operadores,
                                         const std::vector<double>& valores) {
    if (piezas.size() != valores.size() || operadores.size() != valores.size())
        throw std::invalid_argument(
            "Las columnas de pieza, operador y valor deben tener el mismo número de filas.");
    std::unordered_map<std::string, int> idPieza, idOperador;
    std::vector<MedicionGage> m;
    m.reserve(valores.size());
    for (std::size_t i = 0; i < valores.size(); ++i) {
        const int p = idPieza.emplace(piezas[i], int(idPieza.size())).first->second;
        const int o = idOperador.emplace(operadores[i], int(idOperador.size())).first->second;
        m.push_back({p, o, valores[i]});
    }
    return m;
}
