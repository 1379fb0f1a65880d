// Measurements in, capability and the best process centre out: "Archivo > Importar
// mediciones…", "Edición > Pegar mediciones", "Análisis > Capacidad…" and "Análisis > Media
// óptima…".
#include "ajuste.h"
#include "analisis/aceptacion.h"
#include "analisis/dialogos.h"
#include "analisis/graficosmediciones.h"
#include "analisis/resumencapacidad.h"
#include "archivos/archivos.h"
#include "capacidad/capacidad.h"
#include "capacidad/mediciones.h"
#include "costo/efectivo.h"
#include "costo/escenarios.h"
#include "costo/exacto.h"
#include "costo/medicion.h"
#include "costo/optimo.h"
#include "estudio/forma.h"
#include "estudio/zonas.h"
#include "muestra.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/plataforma.h"
#include "plataforma/trabajo.h"
#include "principal/lozarform.h"

#include <QDir>
#include <QLineEdit>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {
const QString kFiltroMediciones =
    QStringLiteral("Mediciones (*.csv *.tsv *.txt)|*.csv *.tsv *.txt|Todos los archivos (*)|*");

// A value for a box, with the digits that keep it: written to a thousandth of `resolucion`, so
// that indices and costs come out as from the data themselves. The box then shows its start,
// sign included.
void ponEnCaja(QLineEdit* caja, double v, double resolucion) {
    caja->setText(formatoConResolucion(v, resolucion / 1000));
    caja->setCursorPosition(0);
}

QString dinero(double v) {
    return formatea(v, QStringLiteral("$ 0.0000"));
}
} // namespace

void LozarForm::MArchivoImportar_Click() {
    if (const std::optional<QString> ruta = plataforma().dialogoAbrir(kFiltroMediciones))
        importaMediciones(*ruta);
}

void LozarForm::importaMediciones(const QString& ruta) {
    const QString origen = QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(ruta));
    usaMediciones(origen, QStringLiteral(". MArchivoImportar."), [ruta](Progreso& p) {
        p.tramo(0, 0.5);
        return TablaMediciones::deArchivo(leeArchivoEntero(ruta, qint64(512) << 20, &p));
    });
}

void LozarForm::MEdicionPegar_Click() {
    const QString texto = plataforma().textoPortapapeles();
    usaMediciones(QStringLiteral("el portapapeles"), QStringLiteral(". MEdicionPegar."),
                  [texto](Progreso&) { return texto; });
}

void LozarForm::usaMediciones(const QString& origen, const QString& procedimiento,
                              const std::function<QString(Progreso&)>& texto) {
    // The reading runs away from the window, which keeps repainting and offers "Cancelar";
    // nothing changes on screen until the user takes the values.
    std::optional<TablaMediciones> tabla;
    std::vector<double> valores, ordenadas;
    ResumenMuestra r;
    int columna = 0;
    try {
        trabajaConProgreso(this, QStringLiteral("Leyendo las mediciones de %1…").arg(origen),
                           [&](Progreso& p) {
                               QString t = texto(p);
                               p.tramo(0.5, 1);
                               tabla.emplace(std::move(t), &p);
                           });
        if (tabla->columnas().size() > 1) {
            const std::optional<int> elegida =
                plataforma().eligeOpcion(QStringLiteral("¿Qué columna contiene las mediciones?"),
                                         tabla->columnas(), tabla->columnaSugerida());
            if (!elegida)
                return;
            columna = *elegida;
        }
        trabajaConProgreso(
            this, QStringLiteral("Resumiendo la columna «%1»…").arg(tabla->columnas()[columna]),
            [&](Progreso& p) {
                valores = tabla->columna(columna, &p);
                r = resumeMuestra(valores);
                ordenadas = valores;
                std::sort(ordenadas.begin(), ordenadas.end());
            });
    } catch (const ErrorLozar& e) {
        if (e.numero() == kErrCancelado)
            return;
        // Which file, after what was wrong in it.
        avisaRutina(
            objectName() + procedimiento,
            ErrorLozar(e.numero(), e.descripcion() + QStringLiteral(", en ") + origen, e.origen()),
            1);
        return;
    }
    QList<std::pair<QString, int>> otras;
    for (int c = 0; c < tabla->columnas().size(); ++c)
        if (c != columna)
            otras.append({tabla->columnas()[c], c});
    // Measurements of another characteristic than the study's (or the wrong column) say so
    // before they replace its mean; a blank study's limits, all equal, compare with nothing.
    QString aviso;
    try {
        const Limites l = limitesDe(*this);
        if (l.desS > l.desI && (r.media < l.desI || r.media > l.desS))
            aviso = QStringLiteral("La media de las mediciones (%1) está fuera de los límites de "
                                   "desperdicio del estudio (%2 a %3): ¿son de esta "
                                   "característica?")
                        .arg(formatea(r.media, QStringLiteral("0.0#####")), formatoGeneral(l.desI),
                             formatoGeneral(l.desS));
    } catch (const ErrorLozar&) {
        // limits not yet written: nothing to compare with
    }
    DlgMediciones d(r, origen + QStringLiteral(", columna «%1»").arg(tabla->columnas()[columna]),
                    tabla->decimal(columna), pearsonPosible(r.sesgo, r.curtosis), otras, aviso,
                    this);
    d.exec();
    if (d.uso() == DlgMediciones::Ninguno)
        return;
    medidas_.subgrupos.clear();
    if (const int s = d.subgrupos(); s > 1)
        for (std::size_t i = 0; i < valores.size(); ++i)
            medidas_.subgrupos.push_back(int(i) / s);
    else if (s < 0)
        medidas_.subgrupos = tabla->etiquetas(-s - 1);
    medidas_.valores = std::move(valores);
    // A file as its path, without the quotes the messages put around it.
    medidas_.origen =
        origen.startsWith(QLatin1Char('"')) ? origen.mid(1, origen.size() - 2) : origen;
    medidas_.columna = tabla->columnas()[columna];
    ordenadas_ = std::move(ordenadas);
    sigmaMediciones_ = r.desviacion;
    ++revisionMediciones_;
    fijaAjuste(QString()); // fitted to the measurements these replace
    // Mean and spread to a thousandth of the spread; the shape's moments to a thousandth, more
    // than any sample fixes them.
    ponEnCaja(Media, r.media, r.desviacion);
    ponEnCaja(StdDev, r.desviacion, r.desviacion);
    if (d.uso() == DlgMediciones::Pearson) {
        ponEnCaja(Sesgo, r.sesgo, 1);
        ponEnCaja(Curtosis, r.curtosis, 1);
    } else {
        Sesgo->clear();
        Curtosis->clear();
    }
    redibuja();
}

void LozarForm::MAnalisisCapacidad_Click() {
    if (!compruebaCajas(ModeloEstudio::ParaCapacidad))
        return;
    try {
        const std::shared_ptr<const FormaProceso> forma = formaDe(*this);
        const CajasInstantanea cajas(*this);
        // Millions of measurements take seconds: away from the window, once; another level
        // only recomputes the intervals.
        Capacidad cap;
        trabajaConProgreso(this, QStringLiteral("Calculando la capacidad…"), [&](Progreso& p) {
            cap = calculaCapacidad(cajas, forma.get(), medidas(), grupos(), 0.95, &p);
        });
        DlgCapacidad d(
            [&](double confianza) {
                Capacidad otra = cap;
                cambiaConfianza(otra, cajas, forma.get(), confianza);
                return informeCapacidad(cajas, forma.get(), otra);
            },
            this);
        d.exec();
    } catch (const ErrorLozar& e) {
        if (e.numero() != kErrCancelado)
            avisaManejador(e);
    }
}

void LozarForm::MAnalisisOptima_Click() {
    QList<QStringList> lineas;
    QString optima;
    {
        PunteroOcupado ocupado;
        if (!compruebaCajas(ModeloEstudio::ParaAnalisis))
            return;
        try {
            const double mu = estricto(Caja::Media), sigma = estricto(Caja::StdDev);
            const std::shared_ptr<const FormaProceso> forma = formaDe(*this);
            const CajasInstantanea cajas(*this);
            std::optional<MediaOptima> m;
            trabajaConProgreso(this, QStringLiteral("Buscando la media óptima…"),
                               [&](Progreso&) { m = buscaMediaOptima(cajas, sigma, forma.get()); });
            if (!m)
                throw ErrorLozar(kErrArgumento,
                                 QStringLiteral("Con esa desviación, el 99,5 % o más de la "
                                                "producción es desperdicio en cualquier media"));
            // The mean to a billionth of the tolerance, as the search finds it; a flat range's
            // ends to a hundred-thousandth of the scrap limits' span.
            const double tolerancia = flexible(Caja::XRetS) - flexible(Caja::XRetI);
            optima = formatoConResolucion(m->media, tolerancia * 1e-9);
            lineas << QStringList{QStringLiteral("Media óptima:"), optima};
            if (m->plano()) {
                const double resolucion = (flexible(Caja::XDesS) - flexible(Caja::XDesI)) * 1e-5;
                lineas << QStringList{QStringLiteral("Cuesta lo mismo cualquier media entre:"),
                                      formatoConResolucion(m->desde, resolucion) +
                                          QStringLiteral(" y ") +
                                          formatoConResolucion(m->hasta, resolucion)};
            }
            // The exact cost decides; the one "3. Lozar Efectivo" shows is given beside it.
            const ResultadoEfectivo porIntervalos =
                calculaEfectivo(*this, tabla_, m->media, sigma, forma.get());
            lineas << QStringList{QStringLiteral("Lozar efectivo exacto en la media óptima:"),
                                  dinero(m->efectivo)}
                   << QStringList{QStringLiteral("Lozar efectivo por intervalos (3. Lozar "
                                                 "Efectivo) en la media óptima:"),
                                  porIntervalos.todoDesperdicio()
                                      ? QStringLiteral("100% Desperdicio")
                                      : dinero(porIntervalos.efectivo)};
            const CostoExacto actual = costoExacto(*this, mu, sigma, forma.get());
            const QString enLaActual =
                QStringLiteral("Lozar efectivo exacto en la media actual (%1):").arg(Media->text());
            if (actual.todoDesperdicio()) {
                lineas << QStringList{enLaActual, QStringLiteral("100% Desperdicio")};
            } else {
                lineas << QStringList{enLaActual, dinero(actual.efectivo)}
                       << QStringList{QStringLiteral("Ahorro por unidad:"),
                                      dinero(actual.efectivo - m->efectivo)}
                       << QStringList{QStringLiteral("Ahorro por 1000 unidades:"),
                                      formatea(1000 * (actual.efectivo - m->efectivo),
                                               QStringLiteral("$ 0.00"))};
            }
        } catch (const ErrorLozar& e) {
            plataforma().punteroFlecha();
            if (e.numero() != kErrCancelado)
                avisaManejador(e);
            return;
        }
    }
    DlgMediaOptima d(lineas, this);
    if (d.exec() == QDialog::Accepted) { // through the ordinary change handling
        Media->setText(optima);
        Media->setCursorPosition(0);
        redibuja();
    }
}

void LozarForm::MAnalisisEscenarios_Click() {
    if (!compruebaCajas(ModeloEstudio::ParaAnalisis))
        return;
    try {
        // The study as it stands when the dialog opens: the dialog is modal, nothing else can
        // change it meanwhile but the yearly volume, which no scenario's cost depends on.
        auto cajas = std::make_shared<CajasInstantanea>(*this);
        const std::shared_ptr<const FormaProceso> forma = formaDe(*this);
        PunteroOcupado ocupado;
        // Four optimum searches: away from the window, each time the cut changes.
        DlgEscenarios d(
            [this, cajas, forma](double reduccion) {
                QList<Escenario> e;
                trabajaConProgreso(
                    this, QStringLiteral("Calculando los escenarios…"),
                    [&](Progreso&) { e = calculaEscenarios(*cajas, forma.get(), reduccion); });
                return e;
            },
            modelo_.unidades(), nombreIndice(), this);
        connect(&d, &DlgEscenarios::unidadesCambiadas, &modelo_, &ModeloEstudio::fijaUnidades);
        plataforma().punteroFlecha();
        d.exec();
    } catch (const ErrorLozar& e) {
        plataforma().punteroFlecha();
        avisaManejador(e);
    }
}

bool LozarForm::hayMediciones() {
    if (!medidas_.valores.empty())
        return true;
    plataforma().mensaje(QStringLiteral("No hay mediciones: impórtelas (Archivo > Importar "
                                        "mediciones…) o péguelas (Edición > Pegar mediciones) "
                                        "primero."),
                         Botones::Aceptar, Icono::Informacion);
    return false;
}

void LozarForm::MAnalisisProbabilidad_Click() {
    // The limits are marked on it.
    if (!hayMediciones() || !compruebaCajas(ModeloEstudio::CajasLimites))
        return;
    try {
        const Limites l = limitesDe(*this);
        DatosProbabilidad datos;
        trabajaConProgreso(this, QStringLiteral("Preparando el gráfico de probabilidad…"),
                           [&](Progreso&) { datos = datosProbabilidad(ordenadas_, l); });
        DlgProbabilidad d(datos, l, this);
        d.exec();
    } catch (const ErrorLozar& e) {
        if (e.numero() != kErrCancelado)
            avisaManejador(e);
    }
}

void LozarForm::MAnalisisControl_Click() {
    if (!hayMediciones())
        return;
    try {
        DatosControl datos;
        trabajaConProgreso(
            this, QStringLiteral("Preparando el gráfico de control…"),
            [&](Progreso&) { datos = datosControl(medidas_.valores, medidas_.subgrupos); });
        DlgControl d(datos, this);
        d.exec();
    } catch (const ErrorLozar& e) {
        if (e.numero() != kErrCancelado)
            avisaManejador(e);
    }
}

void LozarForm::MAnalisisResumen_Click() {
    if (!hayMediciones() || !compruebaCajas(ModeloEstudio::ParaCapacidad))
        return;
    try {
        const CajasInstantanea cajas(*this);
        const std::shared_ptr<const FormaProceso> forma = formaDe(*this);
        DatosResumen datos;
        trabajaConProgreso(this, QStringLiteral("Preparando el resumen de capacidad…"),
                           [&](Progreso& p) {
                               datos = datosResumen(cajas, forma, medidas_.valores,
                                                    medidas_.subgrupos, ordenadas_, &p);
                           });
        DlgResumenCapacidad d(datos, this);
        d.exec();
    } catch (const ErrorLozar& e) {
        if (e.numero() != kErrCancelado)
            avisaManejador(e);
    }
}

void LozarForm::MAnalisisIdentificar_Click() {
    if (!hayMediciones())
        return;
    try {
        PunteroOcupado ocupado;
        const Limites l = limitesDe(*this);
        std::vector<Ajuste> ajustes;
        trabajaConProgreso(this, QStringLiteral("Ajustando las distribuciones…"), [&](Progreso& p) {
            ajustes = identifica(medidas_.valores, false, [&](double f) {
                p.avanza(f);
                return true;
            });
        });
        DlgIdentificar d(
            std::move(ajustes), ordenadas_, l,
            [this](bool redondeada) {
                return ajusta(Familia::BoxCox, medidas_.valores, redondeada);
            },
            this);
        if (d.exec() != QDialog::Accepted || !d.elegido())
            return;
        const Ajuste& a = *d.elegido();
        if (a.familia == Familia::Normal) {
            fijaAjuste(QString());
            ponEnCaja(Media, a.parametros[0], a.parametros[1]);
            ponEnCaja(StdDev, a.parametros[1], a.parametros[1]);
            Sesgo->clear();
            Curtosis->clear();
        } else {
            const auto dist = std::make_shared<const DistribucionAjustada>(a.distribucion());
            const FormaProceso forma(dist); // says so when nothing standardises it
            fijaAjuste(textoDeAjuste(*dist));
            // The fitted mean and spread to a millionth of the spread: the process is the fit.
            const double s = dist->desviacion();
            ponEnCaja(Media, dist->media(), s / 1000);
            ponEnCaja(StdDev, s, s / 1000);
            for (auto [caja, v] : {std::pair{Sesgo, forma.sesgo()}, {Curtosis, forma.curtosis()}}) {
                if (std::isfinite(v))
                    ponEnCaja(caja, v, 1);
                else
                    caja->clear();
            }
        }
        redibuja();
    } catch (const ErrorLozar& e) {
        if (e.numero() != kErrCancelado)
            avisaManejador(e);
    }
}

void LozarForm::MAnalisisQuitarAjuste_Click() {
    fijaAjuste(QString());
    redibuja();
}

void LozarForm::fijaAjuste(const QString& texto) {
    modelo_.fijaAjuste(texto);
    const bool ajustada = !texto.isEmpty();
    for (QLineEdit* e : {Sesgo, Curtosis}) {
        e->setReadOnly(ajustada);
        e->setToolTip(ajustada ? QStringLiteral("La forma la da la distribución ajustada (%1); "
                                                "Análisis > Quitar la distribución ajustada "
                                                "vuelve al sesgo y la curtosis")
                                     .arg(formaDe(*this)->nombre())
                               : e->property("ayuda").toString());
    }
    MAnalisisQuitarAjuste->setEnabled(ajustada);
    nombraDistribucion();
}

void LozarForm::MAnalisisAceptacion_Click() {
    if (!compruebaCajas(ModeloEstudio::ParaAnalisis))
        return;
    try {
        const Instrumento g = instrumentoDe(*this);
        if (!(g.sigma > 0)) {
            plataforma().mensaje(
                QStringLiteral("Con un instrumento perfecto los límites que menos cuestan son los "
                               "del estudio. Escriba la «Desv. Std. de la medición» (o tómela de "
                               "Análisis > Sistema de medición…)."),
                Botones::Aceptar, Icono::Informacion);
            return;
        }
        const double mu = estricto(Caja::Media), sigma = estricto(Caja::StdDev);
        const std::shared_ptr<const FormaProceso> forma = formaDe(*this);
        const CajasInstantanea cajas(*this);
        std::optional<Aceptacion> optima;
        trabajaConProgreso(
            this, QStringLiteral("Buscando los límites de aceptación óptimos…"), [&](Progreso&) {
                optima = aceptacionOptima(cajas, mu, sigma, forma.get(), g.sigma, g.escape);
            });
        if (!optima)
            throw ErrorLozar(kErrArgumento,
                             QStringLiteral("Con estos límites el 99,5 % o más de la producción "
                                            "se desecha: no hay límites de aceptación que "
                                            "optimizar"));
        DlgAceptacion d(informeAceptacion(cajas, mu, sigma, forma.get(), *optima,
                                          unidadesDe(modelo_.unidades())),
                        !modelo_.aceptacion().isEmpty(), this);
        d.exec();
        if (d.eleccion() == DlgAceptacion::Aplicar)
            modelo_.fijaAceptacion(textoDeAceptacion(*optima));
        else if (d.eleccion() == DlgAceptacion::Quitar)
            modelo_.fijaAceptacion(QString());
    } catch (const ErrorLozar& e) {
        if (e.numero() != kErrCancelado)
            avisaManejador(e);
    }
}

void LozarForm::MVerMediciones_Click() {
    if (!hayMediciones())
        return;
    DlgVerMediciones d(medidas_, this);
    d.exec();
}

const std::vector<double>* LozarForm::medidas() const {
    return medidas_.valores.empty() ? nullptr : &medidas_.valores;
}

const std::vector<int>* LozarForm::grupos() const {
    return medidas_.subgrupos.empty() ? nullptr : &medidas_.subgrupos;
}

void LozarForm::tomaMediciones(MedicionesEstudio m, std::vector<double> ordenadas) {
    medidas_ = std::move(m);
    ordenadas_ = std::move(ordenadas);
    sigmaMediciones_ = medidas_.valores.size() > 1 ? resumeMuestra(medidas_.valores).desviacion : 0;
    ++revisionMediciones_;
}

QString LozarForm::nombreIndice() const {
    return nombreDeIndice(*this, medidas_.valores.size(), sigmaMediciones_);
}
