#pragma once

#include "stats/muestra.h"

#include <QDialog>
#include <QList>
#include <QStringList>

class QPushButton;
class QTextBrowser;

// The summary of imported measurements, and the choice of the shape they set.
class DlgMediciones : public QDialog {
    Q_OBJECT
public:
    enum Uso { Ninguno, Normal, Pearson };
    // `origen` names where they came from; a Pearson use is offered only when `pearson`.
    DlgMediciones(const ResumenMuestra& r, const QString& origen, const QString& decimal,
                  bool pearson, QWidget* padre = nullptr);
    Uso uso() const { return uso_; }

    QPushButton *cmdNormal, *cmdPearson, *cmdCancelar;

private:
    Uso uso_ = Ninguno;
};

// The capability report: shown as a table, copied as tab-separated text, printed.
class DlgCapacidad : public QDialog {
    Q_OBJECT
public:
    explicit DlgCapacidad(const QList<QStringList>& filas, QWidget* padre = nullptr);
    void cmdCopiar_Click();
    void cmdImprimir_Click();

    QTextBrowser* txtInforme;
    QPushButton *cmdCopiar, *cmdImprimir, *cmdCerrar;

private:
    QList<QStringList> filas_;
};

// The best process centre, against the current one; "Aplicar" takes it into Media.
class DlgMediaOptima : public QDialog {
    Q_OBJECT
public:
    // Each line a label and a value.
    DlgMediaOptima(const QList<QStringList>& lineas, QWidget* padre = nullptr);
    QPushButton *cmdAplicar, *cmdCerrar;
};
