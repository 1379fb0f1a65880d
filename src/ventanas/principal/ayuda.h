#pragma once

#include <QWidget>

class QTextBrowser;

// "Ayuda > Guía de Lozar" (F1): the Spanish guide shipped beside the program, ayuda/guia.html,
// in a window of its own, at most one; choosing it again brings it to the front.
void MAyudaGuia_Click();
// "Ayuda > Acerca de Lozar": version, licence and where the tables come from.
void MAyudaAcerca_Click();

class Guia : public QWidget {
    Q_OBJECT
public:
    explicit Guia(QWidget* padre = nullptr);
    QTextBrowser* txtGuia;
};
