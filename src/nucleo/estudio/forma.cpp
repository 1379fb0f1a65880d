#include "estudio/forma.h"

#include "ajuste.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"

#include <QStringList>
#include <algorithm>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/tools/minima.hpp>
#include <charconv>
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
    minimo_ = double(d_->minimo());
    maximo_ = double(d_->maximo());
    // Pearson's equation makes the density's slope vanish at −q1/n1.
    const EcuacionPearson e = ecuacionPearson(sesgo, curtosis);
    moda_ = e.n1 != 0 ? double(-e.q1 / e.n1) : 0;
    completa();
}

FormaProceso::FormaProceso(std::shared_ptr<const DistribucionAjustada> ajuste)
    : sesgo_(ajuste->sesgo()), curtosis_(ajuste->curtosis()), ajuste_(std::move(ajuste)),
      m_(ajuste_->media()), s_(ajuste_->desviacion()) {
    if (!std::isfinite(m_) || !(s_ > 0) || !std::isfinite(s_))
        throw ErrorLozar(kErrArgumento,
                         QStringLiteral("La distribución ajustada (%1) no tiene media y varianza "
                                        "finitas: no puede describir el proceso")
                             .arg(descripcion()));
    minimo_ = (ajuste_->minimo() - m_) / s_;
    maximo_ = (ajuste_->maximo() - m_) / s_;
    const double desde = cuantil(1e-6), hasta = cuantil(1 - 1e-6);
    moda_ = protege([&] {
        return boost::math::tools::brent_find_minima([&](double z) { return -densidad(z); }, desde,
                                                     hasta, 40)
            .first;
    });
    completa();
}

void FormaProceso::completa() {
    zInf_ = minimo_ > -kZMinimo ? kZMinimo : alcance(cuantil(kColaIgnorada));
    zSup_ = maximo_ < kZMinimo ? kZMinimo : alcance(cuantil(1 - kColaIgnorada));
    mediana_ = cuantil(0.5);
    q00135_ = cuantil(0.00135);
    q99865_ = cuantil(0.99865);
    // A J- or U-shaped curve peaks at an end of its support.
    moda_ = std::clamp(moda_, minimo_, maximo_);
    if (densidad(moda_) < std::max(densidad(minimo_ + 1e-9), densidad(maximo_ - 1e-9)))
        moda_ = densidad(minimo_ + 1e-9) > densidad(maximo_ - 1e-9) ? minimo_ : maximo_;
}

double FormaProceso::densidad(double z) const {
    if (std::isinf(z))
        return 0;
    return protege(
        [&] { return ajuste_ ? s_ * ajuste_->densidad(m_ + s_ * z) : double(d_->densidad(z)); });
}

double FormaProceso::cdf(double z) const {
    if (std::isinf(z))
        return z > 0;
    return protege([&] { return ajuste_ ? ajuste_->cdf(m_ + s_ * z) : double(d_->cdf(z)); });
}

double FormaProceso::cola(double z) const {
    if (std::isinf(z))
        return z < 0;
    return protege(
        [&] { return ajuste_ ? ajuste_->cola(m_ + s_ * z) : double(d_->colaSuperior(z)); });
}

double FormaProceso::cuantil(double p) const {
    return protege(
        [&] { return ajuste_ ? (ajuste_->cuantil(p) - m_) / s_ : double(d_->cuantil(p)); });
}

FormaProceso::Parciales FormaProceso::parciales(double z1, double z2, double masa) const {
    return protege([&] {
        if (!ajuste_) {
            const MomentosParciales m = d_->parciales(z1, z2, masa);
            return Parciales{double(m.primero), double(m.segundo)};
        }
        z1 = std::max(z1, minimo_);
        z2 = std::min(z2, maximo_);
        if (!(z2 > z1))
            return Parciales{0, 0};
        switch (ajuste_->familia()) {
        case Familia::Normal:
        case Familia::Lognormal:
        case Familia::Lognormal3:
        case Familia::Exponencial:
        case Familia::Weibull:
        case Familia::Weibull3:
        case Familia::Gamma:
        case Familia::Gamma3: {
            // The closed forms, about the mean: (x − m)/s and its square.
            const double a = m_ + s_ * z1, b = m_ + s_ * z2;
            const double m1 = ajuste_->momentoParcial(1, a, b);
            const double m2 = ajuste_->momentoParcial(2, a, b);
            return Parciales{(m1 - m_ * masa) / s_,
                             (m2 - 2 * m_ * m1 + m_ * m_ * masa) / (s_ * s_)};
        }
        default: {
            // In z, so that no digit goes in subtracting the mean.
            using Gk = boost::math::quadrature::gauss_kronrod<double, 31>;
            const double p1 =
                Gk::integrate([&](double z) { return z * densidad(z); }, z1, z2, 12, 1e-11);
            const double p2 =
                Gk::integrate([&](double z) { return z * z * densidad(z); }, z1, z2, 12, 1e-11);
            return Parciales{p1, p2};
        }
        }
    });
}

ErrorLozar FormaProceso::fallaNumerica(const std::exception& e) const {
    if (ajuste_)
        return ErrorLozar(kErrDesbordamiento,
                          QStringLiteral("No se pudo calcular la distribución ajustada, %1 (%2)")
                              .arg(descripcion(), QString::fromLocal8Bit(e.what())));
    return ErrorLozar(kErrDesbordamiento,
                      QStringLiteral("No se pudo calcular la distribución de sesgo %1 y curtosis "
                                     "%2 (%3)")
                          .arg(formatoGeneral(sesgo_), formatoGeneral(curtosis_),
                               QString::fromLocal8Bit(e.what())));
}

QString FormaProceso::nombre() const {
    if (ajuste_)
        return QString::fromStdString(nombreDistribucion(*ajuste_));
    return QStringLiteral("Pearson tipo %1").arg(QLatin1String(nombreTipo(tipo())));
}

QString FormaProceso::descripcion() const {
    if (!ajuste_)
        return nombre() + QStringLiteral(" (sesgo %1, curtosis %2)")
                              .arg(formatoGeneral(sesgo_), formatoGeneral(curtosis_));
    const std::vector<std::string> nombres = nombresParametros(ajuste_->familia());
    QStringList partes;
    // Johnson's type is in its name.
    for (std::size_t i = ajuste_->familia() == Familia::Johnson;
         i < nombres.size() && i < ajuste_->parametros().size(); ++i)
        partes << QString::fromStdString(nombres[i]) + QLatin1Char(' ') +
                      formatea(ajuste_->parametros()[i], QStringLiteral("0.0###"));
    return nombre() + QStringLiteral(" (") + partes.join(QStringLiteral("; ")) + QLatin1Char(')');
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
    if (const QString texto = c.ajuste(); !texto.isEmpty()) {
        static std::shared_ptr<const FormaProceso> ajustada;
        static QString deTexto;
        if (!ajustada || deTexto != texto) {
            ajustada = std::make_shared<const FormaProceso>(ajusteDeTexto(texto));
            deTexto = texto;
        }
        return ajustada;
    }
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

QString textoDeAjuste(const DistribucionAjustada& d) {
    QString t = QString::fromStdString(claveFamilia(d.familia()));
    for (double p : d.parametros()) {
        char b[32];
        const auto r = std::to_chars(b, b + sizeof b, p);
        t += QLatin1Char(';') + QString::fromLatin1(b, int(r.ptr - b));
    }
    return t;
}

std::shared_ptr<const DistribucionAjustada> ajusteDeTexto(const QString& texto) {
    const QStringList partes = texto.trimmed().split(QLatin1Char(';'));
    const std::optional<Familia> f = familiaDeClave(partes.front().trimmed().toStdString());
    std::vector<double> parametros;
    bool bien = f.has_value();
    for (int i = 1; i < partes.size() && bien; ++i) {
        const QByteArray b = partes[i].trimmed().toLatin1();
        double v = 0;
        const auto r = std::from_chars(b.data(), b.data() + b.size(), v);
        bien = r.ec == std::errc() && r.ptr == b.data() + b.size() && std::isfinite(v);
        parametros.push_back(v);
    }
    if (bien) {
        try {
            return std::make_shared<const DistribucionAjustada>(*f, std::move(parametros));
        } catch (const std::exception&) {
            // the message below says it
        }
    }
    throw ErrorLozar(kErrArgumento,
                     QStringLiteral("La distribución ajustada «%1» no es una que Lozar conozca")
                         .arg(texto.left(80)));
}
