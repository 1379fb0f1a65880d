#pragma once

#include "plataforma/plataformaqt.h"

// The platform of a run from the command line: nobody is there to answer a box, so what a box
// would say goes to the standard error and every question is answered as its way out (Aceptar,
// No or Cancelar), every dialog cancelled and no printer found. Folders as the Qt one.
class PlataformaConsola : public PlataformaQt {
public:
    Respuesta mensaje(const QString& texto, Botones botones, Icono icono) override;
    void acercaDe(const QString& texto) override;
    std::optional<QString> dialogoAbrir(const QString& filtro) override;
    std::optional<QString> dialogoGuardar(const QString& filtro) override;
    std::optional<QString> dialogoExportar(const QString& filtro) override;
    std::optional<QString> dialogoCarpeta() override { return std::nullopt; }
    bool abreDocumento(const QString& ruta, const QString& directorioTrabajo) override;
    bool imprime(QWidget* ventana) override;
    bool imprimeTexto(const QString& html) override;
    bool imprimePaginas(const std::function<void(QPagedPaintDevice&)>& pinta) override;
    std::optional<int> eligeOpcion(const QString& pregunta, const QStringList& opciones,
                                   int inicial = 0) override;
    void punteroOcupado() override {}
    void punteroFlecha() override {}
    bool otraInstancia() override { return false; }
};

// A message for the standard error, in the terminal's encoding, ending its line.
void escribeError(const QString& texto);
