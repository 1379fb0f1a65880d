#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ErrorLozar;
class QImage;
class QPagedPaintDevice;
class QWidget;

enum class Botones { Aceptar, SiNo, SiNoCancelar };
enum class Icono { Ninguno, Informacion, Pregunta, Exclamacion };
enum class Respuesta { Aceptar, Si, No, Cancelar };

// Everything the operating system does for us. Windows never call QMessageBox or
// QFileDialog themselves: main() installs the Qt implementation, tests a recording double.
class Plataforma {
public:
    virtual ~Plataforma() = default;

    // A message box under the application's title; returns the button pressed.
    virtual Respuesta mensaje(const QString& texto, Botones botones, Icono icono) = 0;
    // The program's about box: `texto`, and a way to the toolkit's own.
    virtual void acercaDe(const QString& texto) {
        mensaje(texto, Botones::Aceptar, Icono::Informacion);
    }

    // File dialogs with one filter such as "lzr (*.lzr)|*.lzr"; nullopt when cancelled.
    virtual std::optional<QString> dialogoAbrir(const QString& filtro) = 0;
    virtual std::optional<QString> dialogoGuardar(const QString& filtro) = 0;
    // A save dialog with several filters: a name typed without extension takes the chosen
    // filter's.
    virtual std::optional<QString> dialogoExportar(const QString& filtro) = 0;
    // A folder; nullopt when cancelled, or where there is nobody to ask.
    virtual std::optional<QString> dialogoCarpeta() { return std::nullopt; }

    // Opens a document with the program associated with it; false when that failed.
    virtual bool abreDocumento(const QString& ruta, const QString& directorioTrabajo) = 0;

    // Prints the widget's image on a printer the user chooses in the system's print dialog;
    // false when there is no printer at all (a cancelled dialog prints nothing, and is true).
    virtual bool imprime(QWidget* ventana) = 0;

    // Prints a rich text on a printer chosen in the print dialog; false when there is none.
    virtual bool imprimeTexto(const QString& html) = 0;
    // Prints the pages `pinta` draws on a printer chosen in the print dialog; false when there
    // is none.
    virtual bool imprimePaginas(const std::function<void(QPagedPaintDevice&)>& pinta) = 0;

    // Asks which of `opciones` to take, offering `inicial` first; nullopt when the user cancels.
    virtual std::optional<int> eligeOpcion(const QString& pregunta, const QStringList& opciones,
                                           int inicial = 0) = 0;

    // The clipboard's text, and a text put there.
    virtual QString textoPortapapeles() = 0;
    virtual void copiaAlPortapapeles(const QString& texto) = 0;
    // A picture and its numbers at once: a document pastes the one, a spreadsheet the other.
    virtual void copiaDibujo(const QImage& imagen, const QString& texto) {
        Q_UNUSED(imagen);
        copiaAlPortapapeles(texto);
    }

    // The whole application's mouse pointer, as one global setting (not a stack).
    virtual void punteroOcupado() = 0;
    virtual void punteroFlecha() = 0;

    // The folder of the executable, where the data files lie.
    virtual QString directorioAplicacion() = 0;
    // The user's own data folder for the program, which may not exist yet.
    virtual QString directorioDatosUsuario() = 0;

    // True when another copy of the program is running.
    virtual bool otraInstancia() = 0;
};

Plataforma& plataforma();

// The two shapes of an error message (textoManejador, textoRutina), shown through it.
void avisaManejador(const ErrorLozar& e);
void avisaRutina(const QString& encabezado, const ErrorLozar& e, int saltos = 2);

// Where there is no printer: offers to save `que` ("el informe") as a PDF document instead, and
// writes the bytes of `pdf()` where the user says; a failure is said with the file and cause.
void ofrecePdf(const QString& que, const std::function<QByteArray()>& pdf);

// Where a file the program writes on its own (the detail file) goes: into the application
// directory when that file can be written there, as for a copy run from its build folder, else
// into the user's data folder, created when missing (an installed copy, or a shared one whose
// file another user wrote).
QString rutaDeArchivoPropio(const QString& nombre);
// Installs `p` (not owned) and returns the previous one.
Plataforma* fijaPlataforma(Plataforma* p);

// Installs `p` for the run and puts back the one before.
class PlataformaInstalada {
public:
    explicit PlataformaInstalada(Plataforma& p) : anterior_(fijaPlataforma(&p)) {}
    ~PlataformaInstalada() { fijaPlataforma(anterior_); }
    PlataformaInstalada(const PlataformaInstalada&) = delete;
    PlataformaInstalada& operator=(const PlataformaInstalada&) = delete;

private:
    Plataforma* anterior_;
};

// Busy pointer for a scope; the arrow comes back however the scope ends.
class PunteroOcupado {
public:
    PunteroOcupado() { plataforma().punteroOcupado(); }
    ~PunteroOcupado() { plataforma().punteroFlecha(); }
    PunteroOcupado(const PunteroOcupado&) = delete;
    PunteroOcupado& operator=(const PunteroOcupado&) = delete;
};
