#include "analisis/aceptacion.h"

#include "capacidad/capacidad.h"
#include "plataforma/plataforma.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

DlgAceptacion::DlgAceptacion(const QList<QStringList>& filas, bool propias, QWidget* padre)
    : QDialog(padre) {
    setObjectName(QStringLiteral("Aceptacion"));
    setWindowTitle(QStringLiteral("Límites de aceptación óptimos"));
    txtInforme = new QTextBrowser;
    txtInforme->setObjectName(QStringLiteral("txtInforme"));
    txtInforme->setAccessibleName(QStringLiteral("Límites de aceptación óptimos"));
    txtInforme->setMinimumSize(760, 420);
    txtInforme->setHtml(comoHtml(filas));
    auto* botones = new QDialogButtonBox;
    auto boton = [&](const QString& texto, const char* nombre, QDialogButtonBox::ButtonRole p) {
        QPushButton* b = botones->addButton(texto, p);
        b->setObjectName(QLatin1String(nombre));
        return b;
    };
    cmdAplicar = boton(QStringLiteral("&Aplicar"), "cmdAplicar", QDialogButtonBox::AcceptRole);
    cmdAplicar->setToolTip(QStringLiteral("Decidir desecho, retrabajo y envío por estos límites "
                                          "sobre el valor medido; la función de costo sigue en "
                                          "los límites del estudio"));
    cmdQuitar = boton(QStringLiteral("&Volver a los límites del estudio"), "cmdQuitar",
                      QDialogButtonBox::ActionRole);
    cmdQuitar->setEnabled(propias);
    cmdCopiar = boton(QStringLiteral("Copiar"), "cmdCopiar", QDialogButtonBox::ActionRole);
    cmdCerrar = boton(QStringLiteral("Cerrar"), "cmdCerrar", QDialogButtonBox::RejectRole);
    connect(cmdAplicar, &QPushButton::clicked, this, [this] {
        eleccion_ = Aplicar;
        accept();
    });
    connect(cmdQuitar, &QPushButton::clicked, this, [this] {
        eleccion_ = Quitar;
        accept();
    });
    connect(cmdCopiar, &QPushButton::clicked, this,
            [filas] { plataforma().copiaAlPortapapeles(comoTexto(filas)); });
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(txtInforme);
    todo->addWidget(botones);
}
