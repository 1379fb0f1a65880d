#pragma once

// What the two area calculators share:
//
//   ZInf, ZSup (tenths of σ) --push-back--> ZInf_Change / ZSup_Change
//       --> Pic1: clear, curve (hook), limit lines, shading (Inunda)
//       --> Abcn (normal-area table) --> lblCentro (%), lblInf / lblSup (ppm)
//
// A derived form supplies the curve and the arguments of the two area lookups.

#include "plataforma/paleta.h"
#include "tablas/tablanormal.h"

#include <QColor>
#include <QString>
#include <QWidget>
#include <optional>
#include <utility>

class QLabel;
class QLineEdit;
class QScrollBar;
class PictureBox;
class ErrorLozar;

// A tail in parts per million: "0 ppm" from 100 on, "0.00 ppm" from 1, "0.000 ppm" below.
QString enPpm(double v);

class CalculadoraBase : public QWidget {
    Q_OBJECT
public:
    // What differs in the two windows' design.
    struct Diseno {
        const char* nombre;
        const char* titulo;
        const char* tituloCaja;
        int altoCliente;      // twips
        int arribaResultados; // top of lblInf, lblCentro, lblSup in twips
        bool ambasSemillas;   // each limit handler tries both seeds, not only its own
        const char* curva;    // what the picture shows, for screen readers
    };

    // Controls, by their design names.
    QLineEdit* txtTitulo;
    PictureBox* Pic1;
    QScrollBar *ZSup, *ZInf;
    QLabel *lblZInf, *lblZSup, *lblInf, *lblCentro, *lblSup;

    int ColorRelleno() const { return colorRelleno_; }

    // Plot units (0 to 120, y upwards) to Pic1's scale.
    double ConvX(double x) const;
    double ConvY(double y) const;
    double Abcn(double z) { return tabla_.Abcn(z); }
    // Shades the region around the scale point (x, y) that lies under the curve, up to pixels
    // of the border colour.
    void Inunda(double x, double y, const QColor& relleno, const QColor& borde);

public slots:
    void ZInf_Change() { cambiaLimite(Lado::Inferior); }
    void ZSup_Change() { cambiaLimite(Lado::Superior); }
    void Pic1_MouseDown(Qt::MouseButton boton, Qt::KeyboardModifiers shift, double x, double y);

protected:
    CalculadoraBase(const Diseno& diseno, TablaNormal& tabla);

    // Run at the end of the derived constructor, once the hooks exist.
    void Form_Load();

    // Draws the curve on the cleared picture. May throw ErrorLozar when a table is unreadable.
    virtual void dibujaCurva() = 0;
    // Results of a window's own beside the table's, for limits zi and zs; none by default.
    virtual void muestraExactas(double zi, double zs) {
        Q_UNUSED(zi);
        Q_UNUSED(zs);
    }
    // The drawn curve's height in plot units (0 to 120) over the plot abscissa x.
    virtual double alturaCurva(double x) const = 0;
    // The arguments of Abcn for the areas below each limit; nullopt when the curve's model could
    // not be read.
    virtual std::optional<std::pair<double, double>> zDeAreas(double zi, double zs) = 0;

    // Every handler is one user action, however deeply handlers nest; a failure is reported
    // once, when the outermost one ends.
    class Accion {
    public:
        explicit Accion(CalculadoraBase& c) : c_(c) { ++c_.profundidad_; }
        ~Accion();
        Accion(const Accion&) = delete;
        Accion& operator=(const Accion&) = delete;

    private:
        CalculadoraBase& c_;
    };
    void avisa(const QString& texto);
    void avisaTabla(const ErrorLozar& e);

    static const QColor kRojo;

private:
    enum class Lado { Inferior, Superior };
    void cambiaLimite(Lado lado);
    void sombrea(Lado lado, double zi, double zs);
    void publica();

    TablaNormal& tabla_;
    bool ambasSemillas_;
    int colorRelleno_ = 14;
    int profundidad_ = 0;
    bool fallo_ = false;
    bool avisando_ = false;
    QString aviso_, ultimoAviso_;
};
