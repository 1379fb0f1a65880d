#pragma once

// Shewhart's control charts as the quality-control textbooks publish them: individuals and
// moving ranges (I-MR), subgroup means and ranges (X̄–R) and subgroup means and standard
// deviations (X̄–S), each with 3σ limits from its own estimate of the spread within. Pure
// routines over doubles, without Qt.

#include <cstddef>
#include <cstdint>
#include <vector>

enum class TipoCarta { Individuos, MediasRangos, MediasDesviaciones };

struct LineasCarta {
    double centro = 0, lci = 0, lcs = 0;
};

// The run rule: a point closing 8 or more in a row on one side of the centre (Western Electric).
constexpr int kRacha = 8;

// A chart's lines and the points that signal (numbered from 0, in order): beyond the first
// chart's limits, closing a run, or beyond the second chart's limits. Limits may differ from one
// subgroup to the next when their sizes do; `puntos(i)` and `dispersion(i)` give each one's.
// Without spread the limits sit on the centre and nothing is flagged.
struct CartaControl {
    TipoCarta tipo = TipoCarta::Individuos;
    double centro = 0;          // the grand mean
    double sigma = 0;           // MR̄/d2, R̄/d2, S̄/c4 or, sizes differing, the pooled σ / c4
    double mediaDispersion = 0; // MR̄, R̄ or S̄
    std::size_t n = 0;          // points of the first chart
    std::uint32_t tamano = 1;   // the subgroups' size when all share it
    std::vector<std::uint32_t> tamanos; // each subgroup's, when they differ
    std::vector<std::size_t> fuera, enRacha, fueraDispersion;

    LineasCarta puntos(std::size_t i) const;
    LineasCarta dispersion(std::size_t i) const;
    std::size_t puntosDispersion() const { return tipo == TipoCarta::Individuos && n ? n - 1 : n; }
    bool estable() const { return fuera.empty() && enRacha.empty() && fueraDispersion.empty(); }
    // Points of both charts beyond 3σ limits that chance alone gives a stable normal process,
    // 0.27 % of them.
    double esperadosPorAzar() const;
};

// Of values in their order: X ± 3 MR̄/d2, the moving ranges' chart up to D4 MR̄ = 3.267 MR̄.
CartaControl cartaIndividuales(const std::vector<double>& valores);

// Of subgroups: X̄–R (X̄ ± A2 R̄; D3 R̄ and D4 R̄) when all have the same size up to 10, else
// X̄–S (X̄ ± A3 S̄; B3 S̄ and B4 S̄), limits per subgroup when sizes differ, from the pooled σ.
CartaControl cartaMedias(const std::vector<std::vector<double>>& subgrupos);

// A subgroup's range and standard deviation (n − 1), the second chart's points.
double rangoDe(const std::vector<double>& g);
double desviacionDe(const std::vector<double>& g);
