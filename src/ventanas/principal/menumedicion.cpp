// The gauge's menus: its gage study from a file, and the decision limits that cost least with it.
#include "analisis/sistemamedicion.h"
#include "archivos/archivos.h"
#include "capacidad/mediciones.h"
#include "capacidad/sistemamedicion.h"
#include "estudio/zonas.h"
#include "numeros/errores.h"
#include "numeros/numeros.h"
#include "plataforma/plataforma.h"
#include "plataforma/trabajo.h"
#include "principal/lozarform.h"

#include <QDir>
#include <QLineEdit>
#include <cmath>

void LozarForm::MAnalisisSistemaMedicion_Click() {
    const std::optional<QString> ruta = plataforma().dialogoAbrir(
        QStringLiteral("Estudio R&R (*.csv *.txt *.tsv)|*.csv;*.txt;*.tsv|Todos (*.*)|*.*"));
    if (!ruta)
        return;
    const QString origen = QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(*ruta));
    try {
        std::optional<TablaMediciones> tabla;
        trabajaConProgreso(
            this, QStringLiteral("Leyendo el estudio R&R de %1…").arg(origen), [&](Progreso& p) {
                p.tramo(0, 0.5);
                QString t =
                    TablaMediciones::deArchivo(leeArchivoEntero(*ruta, qint64(64) << 20, &p));
                p.tramo(0.5, 1);
                tabla.emplace(std::move(t), &p);
            });
        // The columns by their names; the user says which where no name does.
        ColumnasGage c = columnasGage(tabla->columnas());
        const struct {
            int* columna;
            const char* pregunta;
        } preguntas[] = {{&c.pieza, "¿Qué columna dice la pieza?"},
                         {&c.operador, "¿Qué columna dice el operador?"},
                         {&c.valor, "¿Qué columna contiene las mediciones?"}};
        if (tabla->columnas().size() < 3)
            throw ErrorLozar(kErrArgumento,
                             QStringLiteral("Un estudio R&R necesita tres columnas: la pieza, el "
                                            "operador y la medición"));
        for (const auto& q : preguntas) {
            if (*q.columna >= 0)
                continue;
            const std::optional<int> elegida =
                plataforma().eligeOpcion(QString::fromUtf8(q.pregunta), tabla->columnas(), 0);
            if (!elegida)
                return;
            *q.columna = *elegida;
        }
        const std::vector<MedicionGage> m = medicionesGage(*tabla, c);
        double tolerancia = NAN;
        try {
            const Limites l = limitesDe(*this);
            if (l.retS > l.retI)
                tolerancia = l.retS - l.retI;
        } catch (const ErrorLozar&) {
            // no limits yet: no percentage of the tolerance
        }
        DlgSistemaMedicion d(m, tolerancia, QDir::toNativeSeparators(*ruta), this);
        const int resultado = d.exec();
        if (!d.filas().isEmpty())
            informeGage_ = d.filas();
        if (resultado == QDialog::Accepted && d.sigmaElegida())
            DesvMedicion->setText(formatoGeneral(*d.sigmaElegida()));
    } catch (const ErrorLozar& e) {
        if (e.numero() != kErrCancelado)
            avisaRutina(objectName() + QStringLiteral(". MAnalisisSistemaMedicion."),
                        ErrorLozar(e.numero(), e.descripcion() + QStringLiteral(", en ") + origen,
                                   e.origen()),
                        1);
    }
}
