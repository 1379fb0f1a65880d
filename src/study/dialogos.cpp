#include "study/dialogos.h"

#include "shell/errores.h"
#include "shell/numeros.h"
#include "shell/plataforma.h"
#include "study/capacidad.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
QLabel* valor(const QString& texto) {
    auto* l = new QLabel(texto);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QPushButton* boton(QDialogButtonBox* caja, const QString& texto, const char* nombre,
                   QDialogButtonBox::ButtonRole papel) {
    QPushButton* b = caja->addButton(texto, papel);
    b->setObjectName(QLatin1String(nombre));
    return b;
}
} // namespace

DlgMediciones::DlgMediciones(const ResumenMuestra& r, const QString& origen, const QString& decimal,
                             bool pearson, QWidget* padre)
    : QDialog(padre) {
    setObjectName(QStringLiteral("Mediciones"));
    setWindowTitle(QStringLiteral("Mediciones"));
    auto* forma = new QFormLayout;
    auto num = [](double v) { return formatea(v, QStringLiteral("0.0#####")); };
    forma->addRow(QStringLiteral("Origen:"), valor(origen));
    forma->addRow(QStringLiteral("Separador decimal:"), valor(decimal));
    forma->addRow(QStringLiteral("Número de mediciones (n):"), valor(QString::number(r.n)));
    forma->addRow(QStringLiteral("Media:"), valor(num(r.media)));
    forma->addRow(QStringLiteral("Desviación estándar:"), valor(num(r.desviacion)));
    forma->addRow(QStringLiteral("Sesgo (G1):"), valor(formatea(r.sesgo, QStringLiteral("0.000"))));
    forma->addRow(QStringLiteral("Curtosis en exceso (G2):"),
                  valor(formatea(r.curtosis, QStringLiteral("0.000"))));
    forma->addRow(QStringLiteral("Mínimo:"), valor(num(r.minimo)));
    forma->addRow(QStringLiteral("Máximo:"), valor(num(r.maximo)));
    auto* botones = new QDialogButtonBox;
    cmdNormal = boton(botones, QStringLiteral("Usar como Normal"), "cmdNormal",
                      QDialogButtonBox::AcceptRole);
    cmdPearson = boton(botones, QStringLiteral("Usar como Pearson"), "cmdPearson",
                       QDialogButtonBox::AcceptRole);
    cmdCancelar =
        boton(botones, QStringLiteral("Cancelar"), "cmdCancelar", QDialogButtonBox::RejectRole);
    cmdPearson->setEnabled(pearson);
    if (!pearson)
        cmdPearson->setToolTip(QStringLiteral("Ninguna distribución de Pearson tiene ese sesgo y "
                                              "esa curtosis"));
    connect(cmdNormal, &QPushButton::clicked, this, [this] { uso_ = Normal, accept(); });
    connect(cmdPearson, &QPushButton::clicked, this, [this] { uso_ = Pearson, accept(); });
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(forma);
    todo->addWidget(botones);
}

DlgCapacidad::DlgCapacidad(const QList<QStringList>& filas, QWidget* padre)
    : QDialog(padre), filas_(filas) {
    setObjectName(QStringLiteral("Capacidad"));
    setWindowTitle(QStringLiteral("Capacidad del proceso"));
    txtInforme = new QTextBrowser;
    txtInforme->setObjectName(QStringLiteral("txtInforme"));
    txtInforme->setAccessibleName(QStringLiteral("Informe de capacidad"));
    txtInforme->setHtml(comoHtml(filas));
    txtInforme->setMinimumSize(720, 440);
    auto* botones = new QDialogButtonBox;
    cmdCopiar = boton(botones, QStringLiteral("Copiar"), "cmdCopiar", QDialogButtonBox::ActionRole);
    cmdImprimir =
        boton(botones, QStringLiteral("Imprimir…"), "cmdImprimir", QDialogButtonBox::ActionRole);
    cmdCerrar = boton(botones, QStringLiteral("Cerrar"), "cmdCerrar", QDialogButtonBox::RejectRole);
    cmdCopiar->setToolTip(QStringLiteral("Copiar el informe como texto separado por tabuladores, "
                                         "para pegarlo en una hoja de cálculo"));
    connect(cmdCopiar, &QPushButton::clicked, this, &DlgCapacidad::cmdCopiar_Click);
    connect(cmdImprimir, &QPushButton::clicked, this, &DlgCapacidad::cmdImprimir_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(txtInforme);
    todo->addWidget(botones);
}

void DlgCapacidad::cmdCopiar_Click() {
    plataforma().copiaAlPortapapeles(comoTexto(filas_));
}

void DlgCapacidad::cmdImprimir_Click() {
    if (!plataforma().imprimeTexto(comoHtml(filas_)))
        plataforma().mensaje(QStringLiteral("No hay ninguna impresora. Copie el informe y péguelo "
                                            "en otro programa para imprimirlo."),
                             Botones::Aceptar, Icono::Exclamacion);
}

DlgMediaOptima::DlgMediaOptima(const QList<QStringList>& lineas, QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("MediaOptima"));
    setWindowTitle(QStringLiteral("Media óptima"));
    auto* forma = new QFormLayout;
    for (const QStringList& l : lineas)
        forma->addRow(l.value(0), valor(l.value(1)));
    auto* botones = new QDialogButtonBox;
    cmdAplicar =
        boton(botones, QStringLiteral("Aplicar"), "cmdAplicar", QDialogButtonBox::AcceptRole);
    cmdAplicar->setToolTip(QStringLiteral("Escribir la media óptima en la caja Media"));
    cmdCerrar = boton(botones, QStringLiteral("Cerrar"), "cmdCerrar", QDialogButtonBox::RejectRole);
    connect(cmdAplicar, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(forma);
    todo->addWidget(botones);
}
