#include "cartera/cartera.h"

#include "archivos/archivoestudio.h"
#include "archivos/archivos.h"
#include "capacidad/capacidad.h"
#include "costo/efectivo.h"
#include "costo/escenarios.h"
#include "costo/exacto.h"
#include "costo/medicion.h"
#include "estudio/forma.h"
#include "estudio/modeloestudio.h"
#include "estudio/zonas.h"
#include "muestra.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "numeros/progreso.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonValue>
#include <algorithm>
#include <cmath>

namespace {
// The boxes in file order; the places that hold no box (Taguchi, Unidades, Ajuste, Aceptacion)
// are taken apart.
const Caja kCajaDeCampo[kCamposTodos] = {
    Caja::txtTitulo, Caja::ya,        Caja::yb,        Caja::YRetI,        Caja::YDesI,
    Caja::YNomI,     Caja::YRetS,     Caja::YDesS,     Caja::YNomS,        Caja::xa,
    Caja::xb,        Caja::XDesI,     Caja::XRetI,     Caja::XObj,         Caja::XRetS,
    Caja::XDesS,     Caja::Media,     Caja::StdDev,    Caja::txtTitulo,    Caja::Sesgo,
    Caja::Curtosis,  Caja::txtTitulo, Caja::txtTitulo, Caja::DesvMedicion, Caja::CostoEscape,
    Caja::txtTitulo};

constexpr qint64 kLimiteArchivo = qint64(1) << 30; // as the window opens a study

// The study as the window holds it once opened: numbers in the user's separator, so that every
// check reads what the window's would.
void llenaModelo(ModeloEstudio& m, const EstudioEnArchivo& e) {
    for (int campo = 0; campo < kCamposTodos; ++campo) {
        const QString& valor = e.valores[campo];
        if (campo == kCampoTaguchi)
            m.fijaTaguchi(valor == QLatin1String("1") ? 1 : valor == QLatin1String("2") ? 2 : 0);
        else if (campo == kCampoAjuste)
            m.fijaAjuste(valor);
        else if (campo == kCampoAceptacion)
            m.fijaAceptacion(valor);
        else if (campo == kCampoUnidades)
            m.fijaUnidades(valor);
        else if (campo == 0)
            m.fijaTexto(Caja::txtTitulo, valor);
        else
            m.fijaTexto(kCajaDeCampo[campo], conSeparadorLocal(valor));
    }
}

void calcula(CostoDeEstudio& r, const EstudioEnArchivo& e, TablaNormal& tabla,
             std::optional<double> unidadesPorDefecto) {
    ModeloEstudio m;
    llenaModelo(m, e);
    r.titulo = m.texto(Caja::txtTitulo);
    // "3." first, so that a study it refuses says what the window's button would.
    m.compruebaEntradas(ModeloEstudio::ParaCosto);
    m.compruebaEntradas(ModeloEstudio::ParaAnalisis);
    r.unidades = unidadesDe(m.unidades());
    if (!r.unidades)
        r.unidades = unidadesPorDefecto;

    const CajasInstantanea c(m);
    const Limites l = limitesDe(c);
    r.xDesI = l.desI, r.xRetI = l.retI, r.xObj = l.obj, r.xRetS = l.retS, r.xDesS = l.desS;
    const double mu = c.estricto(Caja::Media), sigma = c.estricto(Caja::StdDev);
    const std::shared_ptr<const FormaProceso> forma = formaDe(c);

    const ResultadoEfectivo ef = calculaEfectivo(c, tabla, mu, sigma, forma.get());
    if (!ef.todoDesperdicio())
        r.efectivo = ef.efectivo;
    const CostoExacto x = costoExacto(c, mu, sigma, forma.get());
    r.nominal = x.nominal;
    r.desperdicio = x.desperdicio;
    r.retrabajo = x.retrabajo;
    if (!x.todoDesperdicio())
        r.exacto = x.efectivo;
    // Decisions on measured values: their cost is the study's.
    if (const std::optional<CostoMedicion> cm = costoMedidoDe(c, mu, sigma, forma.get())) {
        r.desperdicio = cm->desperdicio;
        r.retrabajo = cm->retrabajo;
        r.exacto.reset();
        if (cm->efectivo != kTodoDesperdicio)
            r.exacto = cm->efectivo;
    }
    if (r.exacto) {
        r.noCalidad = *r.exacto - r.nominal;
        if (r.unidades)
            r.noCalidadAnual = revisa(*r.noCalidad * *r.unidades);
    }

    r.nombreIndice = nombreDeIndice(
        c, e.mediciones.valores.size(),
        e.mediciones.valores.size() > 1 ? resumeMuestra(e.mediciones.valores).desviacion : 0);
    if (sigma > 0) {
        const double v = cpkDe(mu, sigma, l.retI, l.retS, forma.get());
        if (std::isfinite(v))
            r.indice = v;
    }
}

// Dearest first: a year's money, then a unit's for a study without units, then the failed. An
// all-scrap study is dearer than any within its group.
int grupo(const CostoDeEstudio& c) {
    if (!c.error.isEmpty())
        return 2;
    return c.unidades ? 0 : 1;
}
double clave(const CostoDeEstudio& c) {
    const std::optional<double>& v = c.unidades ? c.noCalidadAnual : c.noCalidad;
    return v ? *v : HUGE_VAL;
}

QString dineroC(double v) {
    return QString::number(v, 'f', 4);
}
QString numeroC(double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

const QStringList kEncabezado = {QStringLiteral("Estudio"),
                                 QStringLiteral("Título"),
                                 QStringLiteral("Límites (desperdicio, retrabajo, objetivo)"),
                                 QStringLiteral("Costo efectivo"),
                                 QStringLiteral("Costo exacto"),
                                 QStringLiteral("No calidad por unidad"),
                                 QStringLiteral("Unidades por año"),
                                 QStringLiteral("No calidad por año"),
                                 QStringLiteral("Índice")};

// How the table and the CSV write their numbers: plain ones, money as "3." shows it, money to
// the exact cost's digits, the index.
struct Formatos {
    QString (*numero)(double);
    QString (*dinero)(double);
    QString (*fino)(double);
    QString (*indice)(double);
};

QStringList celdas(const CostoDeEstudio& e, const Formatos& f) {
    if (!e.error.isEmpty())
        return {e.archivo, e.error, {}, {}, {}, {}, {}, {}, {}};
    const QString todo = QStringLiteral("100% Desperdicio");
    const QString limites = QStringList{f.numero(e.xDesI), f.numero(e.xRetI), f.numero(e.xObj),
                                        f.numero(e.xRetS), f.numero(e.xDesS)}
                                .join(QStringLiteral("; "));
    return {e.archivo,
            e.titulo,
            limites,
            e.efectivo ? f.dinero(*e.efectivo) : todo,
            e.exacto ? f.fino(*e.exacto) : todo,
            e.noCalidad ? f.fino(*e.noCalidad) : QString(),
            e.unidades ? f.numero(*e.unidades) : QString(),
            e.noCalidadAnual ? f.dinero(*e.noCalidadAnual) : QString(),
            e.nombreIndice + QLatin1Char(' ') +
                (e.indice ? f.indice(*e.indice) : QStringLiteral("—"))};
}

QStringList filaTotal(const QList<CostoDeEstudio>& c, const Formatos& f) {
    double porUnidad = 0, porAnio = 0;
    bool hayPorUnidad = false, hayPorAnio = false;
    for (const CostoDeEstudio& e : c) {
        if (e.noCalidadAnual) {
            porAnio += *e.noCalidadAnual;
            hayPorAnio = true;
        } else if (!e.unidades && e.noCalidad) {
            porUnidad += *e.noCalidad;
            hayPorUnidad = true;
        }
    }
    return {QStringLiteral("Total"),
            {},
            {},
            {},
            {},
            hayPorUnidad ? f.fino(porUnidad) : QString(),
            {},
            hayPorAnio ? f.dinero(porAnio) : QString(),
            {}};
}

QString campoCsv(const QString& t) {
    if (!t.contains(QLatin1Char(',')) && !t.contains(QLatin1Char('"')) &&
        !t.contains(QLatin1Char('\n')) && !t.contains(QLatin1Char('\r')))
        return t;
    return QLatin1Char('"') + QString(t).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QByteArray lineaCsv(const QStringList& celdas) {
    QStringList c;
    for (const QString& t : celdas)
        c << campoCsv(t);
    return c.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

// A value on a line of its own: no tab or line end may split it.
QString enUnaLinea(QString t) {
    for (QChar& ch : t)
        if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
            ch = QLatin1Char(' ');
    return t;
}
} // namespace

CostoDeEstudio costoDeEstudio(const QString& ruta, TablaNormal& tabla,
                              std::optional<double> unidadesPorDefecto) {
    CostoDeEstudio r, fallo; // nothing half-computed beside an error
    r.archivo = fallo.archivo = ruta;
    try {
        const EstudioEnArchivo e = leeEstudioEntero(leeArchivoEntero(ruta, kLimiteArchivo));
        calcula(r, e, tabla, unidadesPorDefecto);
        return r;
    } catch (const ErrorLozar& e) {
        fallo.error = e.descripcion();
    } catch (const std::exception& e) {
        fallo.error = ErrorLozar(kErrInterno, QString::fromLocal8Bit(e.what())).descripcion();
    }
    return fallo;
}

QList<CostoDeEstudio> leeCartera(const QString& carpeta, TablaNormal& tabla,
                                 std::optional<double> unidadesPorDefecto, Progreso* progreso) {
    const QFileInfo info(carpeta);
    if (!info.isDir())
        throw ErrorLozar(kErrAccesoRuta, QStringLiteral("La carpeta \"%1\" no existe o no es una "
                                                        "carpeta")
                                             .arg(QDir::toNativeSeparators(carpeta)));
    const QDir dir(info.absoluteFilePath());
    QStringList rutas;
    QDirIterator it(dir.path(), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString ruta = it.next();
        if (ruta.endsWith(QLatin1String(".lzr"), Qt::CaseInsensitive))
            rutas << ruta;
    }
    // The same order on every system, so that equal costs keep theirs.
    std::sort(rutas.begin(), rutas.end());
    QList<CostoDeEstudio> r;
    r.reserve(rutas.size());
    for (qsizetype i = 0; i < rutas.size(); ++i) {
        if (progreso)
            progreso->avanza(double(i) / double(rutas.size()));
        CostoDeEstudio c = costoDeEstudio(rutas[i], tabla, unidadesPorDefecto);
        c.archivo = QDir::toNativeSeparators(dir.relativeFilePath(rutas[i]));
        r << std::move(c);
    }
    std::stable_sort(r.begin(), r.end(), [](const CostoDeEstudio& a, const CostoDeEstudio& b) {
        const int ga = grupo(a), gb = grupo(b);
        if (ga != gb)
            return ga < gb;
        return ga < 2 && clave(a) > clave(b);
    });
    if (progreso)
        progreso->avanza(1);
    return r;
}

QList<QStringList> filasDeCartera(const QList<CostoDeEstudio>& c) {
    const Formatos f{formatoGeneral, [](double v) { return formatea(v, QStringLiteral("$ 0.00")); },
                     [](double v) { return formatea(v, QStringLiteral("$ 0.0000")); },
                     textoDeIndice};
    QList<QStringList> filas{kEncabezado};
    for (const CostoDeEstudio& e : c)
        filas << celdas(e, f);
    filas << filaTotal(c, f);
    return filas;
}

QByteArray csvDeCartera(const QList<CostoDeEstudio>& c) {
    const Formatos f{numeroC, dineroC, dineroC,
                     [](double v) { return QString::number(v, 'f', 2); }};
    QByteArray b = lineaCsv(kEncabezado);
    for (const CostoDeEstudio& e : c)
        b += lineaCsv(celdas(e, f));
    b += lineaCsv(filaTotal(c, f));
    return b;
}

QJsonObject jsonDeCosto(const CostoDeEstudio& c) {
    const auto opcional = [](const std::optional<double>& v) {
        return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
    };
    QJsonObject o{{QStringLiteral("archivo"), c.archivo},
                  {QStringLiteral("titulo"), c.titulo},
                  {QStringLiteral("costo_efectivo"), opcional(c.efectivo)},
                  {QStringLiteral("costo_exacto"), opcional(c.exacto)},
                  {QStringLiteral("desperdicio"), c.desperdicio},
                  {QStringLiteral("retrabajo"), c.retrabajo},
                  {QStringLiteral("no_calidad_por_unidad"), opcional(c.noCalidad)},
                  {QStringLiteral("unidades_por_anio"), opcional(c.unidades)},
                  {QStringLiteral("no_calidad_por_anio"), opcional(c.noCalidadAnual)},
                  {QStringLiteral("indice"), c.nombreIndice},
                  {QStringLiteral("valor_indice"), opcional(c.indice)}};
    if (!c.error.isEmpty())
        o.insert(QStringLiteral("error"), c.error);
    return o;
}

QByteArray textoDeCosto(const CostoDeEstudio& c) {
    const auto opcional = [](const std::optional<double>& v) {
        return v ? numeroC(*v) : QString();
    };
    const QList<std::pair<const char*, QString>> lineas = {
        {"archivo", c.archivo},
        {"titulo", c.titulo},
        {"costo_efectivo", opcional(c.efectivo)},
        {"costo_exacto", opcional(c.exacto)},
        {"desperdicio", numeroC(c.desperdicio)},
        {"retrabajo", numeroC(c.retrabajo)},
        {"no_calidad_por_unidad", opcional(c.noCalidad)},
        {"unidades_por_anio", opcional(c.unidades)},
        {"no_calidad_por_anio", opcional(c.noCalidadAnual)},
        {"indice", c.nombreIndice},
        {"valor_indice", opcional(c.indice)}};
    QByteArray b;
    for (const auto& [clave, valor] : lineas)
        b += QByteArray(clave) + '\t' + enUnaLinea(valor).toUtf8() + '\n';
    if (!c.error.isEmpty())
        b += "error\t" + enUnaLinea(c.error).toUtf8() + '\n';
    return b;
}
