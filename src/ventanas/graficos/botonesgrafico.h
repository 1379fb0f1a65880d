#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QDialog;
class QDialogButtonBox;
class QWidget;

// The buttons every chart window of the analyses has: "Copiar" puts the picture and its numbers,
// tab-separated, on the clipboard; "Guardar imagen…" writes the picture as PNG, SVG or PDF;
// "Imprimir…" prints it or, without a printer, offers it as a PDF; "Cerrar". `dibujo` is the part
// of the window they take, `numeros` its numbers. The window becomes resizable, its charts
// growing with it.
QDialogButtonBox* botonesDeGrafico(QDialog* ventana, QWidget* dibujo,
                                   const std::function<QString()>& numeros);

// "Guardar imagen…": asks where, and writes `dibujo` there as PNG, SVG or PDF by the name's
// extension; a failure is said under `encabezado` ("Escenarios. ").
void guardaImagen(QWidget* dibujo, const QString& encabezado);

// A window drawn as it shows onto a landscape page: the bytes of a PDF document. ErrorLozar
// naming `que` where it cannot be drawn.
QByteArray pdfDeVentana(QWidget* ventana, const QString& que);
