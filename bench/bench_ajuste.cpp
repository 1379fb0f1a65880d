// The identification of 10⁵ values (every family fitted, a three-parameter Weibull sample) and
// the partial moments each family's exact cost asks for. Exits 1 when a median misses its
// target. Run: build/bin/bench_ajuste [runs of the identification, 5 by default]
#include "ajuste.h"
#include "medicion.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cmath>
#include <random>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int veces = argc > 1 ? std::max(1, QString(argv[1]).toInt()) : 5;
    const double metaIdentifica = 1000, metaMomento = 0.05;
    bool ok = true;
    QTextStream out(stdout);

    std::mt19937 g(1);
    std::weibull_distribution<double> w(1.8, 10);
    std::vector<double> datos(100000);
    for (double& x : datos)
        x = 5 + w(g);
    std::size_t n = 0;
    const double identifica1 = mediana([&] { n = identifica(datos).size(); }, veces);
    const bool cumple = n == kNumFamilias && identifica1 <= metaIdentifica;
    ok = ok && cumple;
    out << QStringLiteral("identificación de 10⁵ valores: %1 ms (meta <= %2)%3\n")
               .arg(identifica1, 0, 'f', 0)
               .arg(metaIdentifica)
               .arg(cumple ? "" : "  FUERA DE META");
    out.flush();

    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        Familia f;
        std::vector<double> p;
    } casos[] = {{Familia::Normal, {52, 8}},
                 {Familia::BoxCox, {0.5, 13, 1}},
                 {Familia::BoxCox, {-0.5, 1.8, 0.01}},
                 {Familia::Lognormal, {3.9, 0.15}},
                 {Familia::Lognormal3, {3, 0.3, 30}},
                 {Familia::Exponencial, {52}},
                 {Familia::Weibull, {7, 55}},
                 {Familia::Weibull3, {1.8, 20, 35}},
                 {Familia::ValorExtremoMenor, {56, 6}},
                 {Familia::ValorExtremoMayor, {48, 6}},
                 {Familia::Gamma, {40, 1.3}},
                 {Familia::Gamma3, {3, 5, 37}},
                 {Familia::Logistica, {52, 4.4}},
                 {Familia::LogLogistica, {3.95, 0.09}},
                 {Familia::LogLogistica3, {3, 0.2, 30}},
                 {Familia::Johnson, {0, 0.3, 1.5, 20, 65}},
                 {Familia::Johnson, {1, -3, 2, 20, 1}},
                 {Familia::Johnson, {2, -0.5, 2, 50, 10}}};
    out << QStringLiteral("momento parcial por llamada, de un intervalo y de cada cola, "
                          "k = 1 y 2 (meta <= %1 ms):\n")
               .arg(metaMomento);
    for (const auto& c : casos) {
        const DistribucionAjustada d(c.f, c.p);
        const double a = d.cuantil(0.02), b = d.cuantil(0.97);
        double suma = 0;
        const double ms = mediana([&] {
                              for (int k = 1; k <= 2; ++k)
                                  suma += d.momentoParcial(k, a, b) + d.momentoParcial(k, -inf, a) +
                                          d.momentoParcial(k, b, inf);
                          }) /
                          6;
        const bool bien = std::isfinite(suma) && ms <= metaMomento;
        ok = ok && bien;
        out << QStringLiteral("%1: %2 ms%3\n")
                   .arg(QString::fromStdString(nombreDistribucion(d)))
                   .arg(ms, 0, 'f', 4)
                   .arg(bien ? "" : "  FUERA DE META");
        out.flush();
    }
    return ok ? 0 : 1;
}
