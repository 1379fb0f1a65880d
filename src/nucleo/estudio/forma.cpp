#include "estudio/forma.h"

#include "numeros/errores.h"
#include "numeros/numeros.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kColaIgnorada = 1e-9, kZMinimo = 5, kZMaximo = 30;

// How far the centres must reach, in tenths of σ, for a tail quantile `z`.
double alcance(double z) {
    if (!std::isfinite(z))
        return kZMaximo;
    return std::clamp(std::ceil(std::fabs(z) * 10 - 1e-9) / 10, kZMinimo, kZMaximo);
}
} // namespace

FormaProceso::FormaProceso(double sesgo, double curtosis)
    : sesgo_(sesgo), curtosis_(curtosis), d_([&] {
          if (!pearsonPosible(sesgo, curtosis))
              throw ErrorLozar(
                  kErrArgumento,
                  QStringLiteral("Ninguna distribución tiene sesgo %1 y curtosis %2: la curtosis "
                                 "debe ser mayor que el sesgo al cuadrado menos 2 (%3)")
                      .arg(formatoGeneral(sesgo), formatoGeneral(curtosis),
                           formatoGeneral(sesgo * sesgo - 2)));
          try {
              return DistribucionPearson(sesgo, curtosis);
          } catch (const std::exception& e) {
              throw fallaNumerica(e);
          }
      }()) {
    zInf_ = d_.minimo() > -kZMinimo ? kZMinimo : alcance(cuantil(kColaIgnorada));
    zSup_ = d_.maximo() < kZMinimo ? kZMinimo : alcance(cuantil(1 - kColaIgnorada));
    mediana_ = cuantil(0.5);
    q00135_ = cuantil(0.00135);
    q99865_ = cuantil(0.99865);
    // Pearson's equation makes the density's slope vanish at −q1/n1; a J- or U-shaped curve
    // peaks at an end of its support instead.
    const EcuacionPearson e = ecuacionPearson(sesgo, curtosis);
    const double centro = e.n1 != 0 ? double(-e.q1 / e.n1) : 0;
    const double minimo = double(d_.minimo()), maximo = double(d_.maximo());
    moda_ = std::clamp(centro, minimo, maximo);
    if (densidad(moda_) < std::max(densidad(minimo + 1e-9), densidad(maximo - 1e-9)))
        moda_ = densidad(minimo + 1e-9) > densidad(maximo - 1e-9) ? minimo : maximo;
}

ErrorLozar FormaProceso::fallaNumerica(const std::exception& e) const {
    return ErrorLozar(kErrDesbordamiento,
                      QStringLiteral("No se pudo calcular la distribución de sesgo %1 y curtosis "
                                     "%2 (%3)")
                          .arg(formatoGeneral(sesgo_), formatoGeneral(curtosis_),
                               QString::fromLocal8Bit(e.what())));
}

QString FormaProceso::nombre() const {
    return QStringLiteral("Pearson tipo %1").arg(QLatin1String(nombreTipo(tipo())));
}

double FormaProceso::area(double z1, double z2) const {
    if (z2 <= mediana_)
        return cdf(z2) - cdf(z1);
    if (z1 >= mediana_)
        return cola(z1) - cola(z2);
    return 1 - cdf(z1) - cola(z2);
}

double FormaProceso::areaDeIntervalo(int k) const {
    auto desde = [this](int i) { return -zInf_ + (i - 0.5) / 10; };
    if (areas_.empty()) {
        const int n = int(std::lround((zInf_ + zSup_) * 10)) + 1;
        areas_.reserve(std::size_t(n));
        for (int i = 0; i < n; ++i)
            areas_.push_back(area(desde(i), desde(i + 1)));
    }
    return k >= 0 && k < int(areas_.size()) ? areas_[std::size_t(k)] : area(desde(k), desde(k + 1));
}

bool formaNormal(const QString& sesgo, const QString& curtosis) {
    auto cero = [](const QString& t) {
        try {
            return t.trimmed().isEmpty() || leeEstricto(t) == 0;
        } catch (const ErrorLozar&) {
            return false;
        }
    };
    return cero(sesgo) && cero(curtosis);
}

std::shared_ptr<const FormaProceso> formaDe(const Cajas& c) {
    auto lee = [&](Caja k) {
        const double v = c.texto(k).trimmed().isEmpty() ? 0.0 : c.estricto(k);
        return std::fabs(v) < kMomentoDespreciable ? 0.0 : v;
    };
    const double sesgo = lee(Caja::Sesgo), curtosis = lee(Caja::Curtosis);
    if (sesgo == 0 && curtosis == 0)
        return nullptr;
    static std::shared_ptr<const FormaProceso> ultima;
    if (!ultima || ultima->sesgo() != sesgo || ultima->curtosis() != curtosis)
        ultima = std::make_shared<const FormaProceso>(sesgo, curtosis);
    return ultima;
}
