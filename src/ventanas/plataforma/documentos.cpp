#include "plataforma/documentos.h"

#include "plataforma/plataforma.h"

QString RutaDe(const QString& ruta) {
    for (qsizetype i = ruta.size() - 1; i >= 0; --i)
        if (ruta[i] == QLatin1Char('\\') || ruta[i] == QLatin1Char('/') ||
            ruta[i] == QLatin1Char(':'))
            return ruta.left(i + 1);
    return QString();
}

bool AbreDocumento(const QString& documento, const QString& parametros, int mostrar,
                   long propietario) {
    Q_UNUSED(parametros);
    Q_UNUSED(mostrar);
    Q_UNUSED(propietario);
    return plataforma().abreDocumento(documento, RutaDe(documento));
}
