#pragma once

#include <QString>
#include <exception>

// The application's title: message-box title and the source of every error we raise.
inline const QString kTituloAplicacion = QStringLiteral("Lozar");

// Error numbers users already know from the program's messages.
enum NumeroError : int {
    kErrArgumento = 5,
    kErrDesbordamiento = 6,
    kErrDivisionPorCero = 11,
    kErrInterno = 51,
    kErrTipos = 13,
    kErrArchivoNoEncontrado = 53,
    kErrEntradaSalida = 57,
    kErrFinDeArchivo = 62,
    kErrPermisoDenegado = 70,
    kErrAccesoRuta = 75,
    kErrCancelado = 32755,
};

// A numbered runtime error: routines throw it, handlers that trap report it.
class ErrorLozar : public std::exception {
public:
    explicit ErrorLozar(int numero, QString descripcion = QString(),
                        QString origen = kTituloAplicacion);

    int numero() const { return numero_; }
    const QString& origen() const { return origen_; }
    const QString& descripcion() const { return descripcion_; }
    const char* what() const noexcept override { return utf8_.constData(); }

    // The usual Spanish wording for a number, used when none is given.
    static QString descripcionDe(int numero);

private:
    int numero_;
    QString origen_;
    QString descripcion_;
    QByteArray utf8_;
};

// "source LF number .- description": the body every error message ends with.
QString detalleError(const ErrorLozar& e);

// Text of a click handler's message: the detail alone (shown with OK and no icon).
QString textoManejador(const ErrorLozar& e);

// Text of a private routine's message: its heading ("Normal.", "Lozar. LozarEfectivo."),
// then `saltos` line feeds, then the detail (shown with the exclamation icon).
QString textoRutina(const QString& encabezado, const ErrorLozar& e, int saltos = 2);
