#include "principal/lineaordenes.h"

#include "archivos/archivos.h"
#include "cartera/cartera.h"
#include "numeros/errores.h"
#include "plataforma/formulario.h"
#include "plataforma/plataformaconsola.h"
#include "principal/lozarform.h"
#include "tablas/tablanormal.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocale>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {
const QStringList kCortas = {QStringLiteral("-h"), QStringLiteral("-?"), QStringLiteral("-v"),
                             QStringLiteral("-o")};

void escribeSalida(const QByteArray& b) {
    std::fwrite(b.constData(), 1, std::size_t(b.size()), stdout);
    std::fflush(stdout);
}

void nombraAplicacion() {
    QCoreApplication::setApplicationName(QStringLiteral("Lozar"));
    QCoreApplication::setOrganizationName(QStringLiteral("Lozar"));
}

int costo(const OrdenLinea& o) {
    TablaNormal tabla(QCoreApplication::applicationDirPath());
    const CostoDeEstudio c = costoDeEstudio(o.ruta, tabla, o.unidadesPorDefecto);
    if (!c.error.isEmpty()) {
        escribeError(
            QStringLiteral("lozar: \"%1\": %2").arg(QDir::toNativeSeparators(o.ruta), c.error));
        return kSalidaEntrada;
    }
    escribeSalida(o.json ? QJsonDocument(jsonDeCosto(c)).toJson(QJsonDocument::Indented)
                         : textoDeCosto(c));
    return kSalidaBien;
}

int cartera(const OrdenLinea& o) {
    TablaNormal tabla(QCoreApplication::applicationDirPath());
    try {
        escribeSalida(csvDeCartera(leeCartera(o.ruta, tabla, o.unidadesPorDefecto)));
    } catch (const ErrorLozar& e) {
        escribeError(QStringLiteral("lozar: ") + e.descripcion());
        return kSalidaEntrada;
    }
    return kSalidaBien;
}

int informe(const OrdenLinea& o) {
    PlataformaConsola consola;
    PlataformaInstalada instalada(consola);
    fijaFuenteDeLaAplicacion(); // the window's font, as the menu's report has it
    const std::unique_ptr<LozarForm> f = std::make_unique<LozarForm>();
    // Named as the menu's file dialog names it.
    const QByteArray pdf =
        f->informeDeArchivo(QDir::toNativeSeparators(QFileInfo(o.ruta).absoluteFilePath()));
    if (pdf.isEmpty()) // the window said why
        return kSalidaEntrada;
    try {
        guardaArchivoSeguro(o.salida, pdf, QStringLiteral("el informe "));
    } catch (const ErrorLozar& e) {
        escribeError(QStringLiteral("lozar: ") + e.descripcion());
        return kSalidaEntrada;
    }
    return kSalidaBien;
}
} // namespace

bool esLineaDeOrdenes(const QStringList& argumentos) {
    for (const QString& a : argumentos)
        if (a.startsWith(QLatin1String("--")) || kCortas.contains(a))
            return true;
    return false;
}

OrdenLinea analizaArgumentos(const QStringList& argumentos) {
    OrdenLinea o;
    bool ayuda = false, version = false, conJson = false;
    QString salida;
    std::optional<QString> unidades;
    auto falla = [&o](const QString& por) {
        o.error = por;
        return o;
    };
    for (int i = 0; i < argumentos.size(); ++i) {
        QString a = argumentos[i];
        std::optional<QString> valor; // "--opcion=valor"
        if (a.startsWith(QLatin1String("--")) && a.contains(QLatin1Char('='))) {
            valor = a.section(QLatin1Char('='), 1);
            a = a.section(QLatin1Char('='), 0, 0);
        }
        // An option's value is the next argument, unless that is an option itself.
        auto toma = [&]() -> std::optional<QString> {
            if (valor)
                return valor;
            if (i + 1 < argumentos.size() && !argumentos[i + 1].startsWith(QLatin1String("--")))
                return argumentos[++i];
            return std::nullopt;
        };
        const auto sinValor = [&] {
            return falla(QStringLiteral("a la opción %1 le falta su argumento").arg(a));
        };
        if (a == QLatin1String("--help") || a == QLatin1String("--ayuda") ||
            a == QLatin1String("-h") || a == QLatin1String("-?")) {
            ayuda = true;
        } else if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            version = true;
        } else if (a == QLatin1String("--json")) {
            conJson = true;
        } else if (a == QLatin1String("--costo") || a == QLatin1String("--informe") ||
                   a == QLatin1String("--cartera")) {
            if (o.tipo != OrdenLinea::Ventana)
                return falla(QStringLiteral("una sola orden a la vez: --costo, --informe o "
                                            "--cartera"));
            const std::optional<QString> v = toma();
            if (!v || v->isEmpty())
                return sinValor();
            o.tipo = a == QLatin1String("--costo")     ? OrdenLinea::Costo
                     : a == QLatin1String("--informe") ? OrdenLinea::Informe
                                                       : OrdenLinea::Cartera;
            o.ruta = *v;
        } else if (a == QLatin1String("-o") || a == QLatin1String("--salida")) {
            const std::optional<QString> v = toma();
            if (!v || v->isEmpty())
                return sinValor();
            salida = *v;
        } else if (a == QLatin1String("--unidades-por-defecto")) {
            unidades = toma();
            if (!unidades)
                return sinValor();
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return falla(QStringLiteral("opción desconocida: %1").arg(a));
        } else {
            return falla(QStringLiteral("argumento de más: %1").arg(a));
        }
    }
    if (ayuda || version) {
        o.tipo = ayuda ? OrdenLinea::Ayuda : OrdenLinea::Version;
        return o;
    }
    if (o.tipo == OrdenLinea::Ventana)
        return falla(QStringLiteral("falta la orden: --costo, --informe o --cartera"));
    if (conJson && o.tipo != OrdenLinea::Costo)
        return falla(QStringLiteral("--json solo acompaña a --costo"));
    if (!salida.isEmpty() && o.tipo != OrdenLinea::Informe)
        return falla(QStringLiteral("-o solo acompaña a --informe"));
    if (o.tipo == OrdenLinea::Informe && salida.isEmpty())
        return falla(QStringLiteral("--informe necesita -o SALIDA.pdf"));
    if (unidades && o.tipo == OrdenLinea::Informe)
        return falla(QStringLiteral("--unidades-por-defecto acompaña a --costo o a --cartera"));
    if (unidades) {
        // Any locale's script writes the number alike: a point, no grouping.
        bool ok = false;
        const double n = QLocale::c().toDouble(unidades->trimmed(), &ok);
        if (!ok || !std::isfinite(n) || n < 0)
            return falla(QStringLiteral("--unidades-por-defecto espera un número no negativo, "
                                        "no «%1»")
                             .arg(*unidades));
        o.unidadesPorDefecto = n;
    }
    o.json = conJson;
    o.salida = salida;
    return o;
}

QString textoDeAyuda() {
    return QStringLiteral(
        "Uso:\n"
        "  lozar                                   abre la ventana\n"
        "  lozar --costo ESTUDIO.lzr [--json]      lo que cuesta un estudio: líneas\n"
        "                                          «clave<TAB>valor» o un objeto JSON\n"
        "  lozar --informe ESTUDIO.lzr -o SALIDA.pdf\n"
        "                                          el informe PDF de «Archivo > Informe PDF…»\n"
        "  lozar --cartera CARPETA [--unidades-por-defecto N]\n"
        "                                          cada estudio (.lzr) de la carpeta y sus\n"
        "                                          subcarpetas, del más caro al más barato, en\n"
        "                                          CSV; N son las unidades al año de los\n"
        "                                          estudios que no las traen\n"
        "  lozar --help                            esta ayuda\n"
        "  lozar --version                         la versión\n"
        "\n"
        "Los números salen con punto decimal. Códigos de salida: 0 bien; 1 un estudio, una\n"
        "carpeta o una salida que no se pudo leer, calcular o escribir; 2 opciones mal dadas.\n");
}

int ejecutaLineaDeOrdenes(int& argc, char** argv) {
    QStringList argumentos;
    for (int i = 1; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    const OrdenLinea o = analizaArgumentos(argumentos);
    if (!o.error.isEmpty()) {
        escribeError(QStringLiteral("lozar: %1\nPruebe «lozar --help».").arg(o.error));
        return kSalidaUso;
    }
    if (o.tipo == OrdenLinea::Ayuda) {
        escribeSalida(textoDeAyuda().toLocal8Bit());
        return kSalidaBien;
    }
    if (o.tipo == OrdenLinea::Version) {
        escribeSalida(QByteArrayLiteral("Lozar " LOZAR_VERSION "\n"));
        return kSalidaBien;
    }
    if (o.tipo == OrdenLinea::Informe) {
        // Nothing is shown: a terminal without a display draws the report all the same.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        nombraAplicacion();
        return informe(o);
    }
    QCoreApplication app(argc, argv);
    nombraAplicacion();
    return o.tipo == OrdenLinea::Costo ? costo(o) : cartera(o);
}
