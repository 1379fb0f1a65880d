#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QPushButton;
class QTextBrowser;

// "Análisis > Límites de aceptación óptimos…": the decision limits on the measured value that
// cost least with the study's gauge, beside the study's own; "Aplicar" makes them the study's
// decisions, "Volver a los límites del estudio" drops those it had.
class DlgAceptacion : public QDialog {
    Q_OBJECT
public:
    enum Eleccion { Nada, Aplicar, Quitar };
    // `propias`: the study already decides by limits of its own.
    DlgAceptacion(const QList<QStringList>& filas, bool propias, QWidget* padre = nullptr);
    Eleccion eleccion() const { return eleccion_; }
    QTextBrowser* txtInforme;
    QPushButton *cmdAplicar, *cmdQuitar, *cmdCopiar, *cmdCerrar;

private:
    Eleccion eleccion_ = Nada;
};
