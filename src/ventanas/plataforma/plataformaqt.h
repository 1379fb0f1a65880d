#pragma once

#include "plataforma/plataforma.h"

#include <QLockFile>
#include <memory>

// The real platform: Qt dialogs, the desktop's file associations, the default printer.
class PlataformaQt : public Plataforma {
public:
    PlataformaQt();
    ~PlataformaQt() override;

    Respuesta mensaje(const QString& texto, Botones botones, Icono icono) override;
    void acercaDe(const QString& texto) override;
    bool imprimePaginas(const std::function<void(QPagedPaintDevice&)>& pinta) override;
    std::optional<QString> dialogoAbrir(const QString& filtro) override;
    std::optional<QString> dialogoCarpeta() override;
    std::optional<QString> dialogoGuardar(const QString& filtro) override;
    std::optional<QString> dialogoExportar(const QString& filtro) override;
    bool abreDocumento(const QString& ruta, const QString& directorioTrabajo) override;
    bool imprime(QWidget* ventana) override;
    bool imprimeTexto(const QString& html) override;
    std::optional<int> eligeOpcion(const QString& pregunta, const QStringList& opciones,
                                   int inicial = 0) override;
    QString textoPortapapeles() override;
    void copiaAlPortapapeles(const QString& texto) override;
    void copiaDibujo(const QImage& imagen, const QString& texto) override;
    void punteroOcupado() override;
    void punteroFlecha() override;
    QString directorioAplicacion() override;
    QString directorioDatosUsuario() override;
    bool otraInstancia() override;

    // The single-instance lock: a live copy of the program holds it.
    static QString rutaBloqueo();

    // Qt's own Spanish texts for standard buttons ("Sí", "Aceptar", "Cancelar").
    static void cargaTraducciones();

    // "desc|pattern|desc|pattern" as Qt's "desc (pattern);;..." filter list.
    static QString filtroQt(const QString& filtro);

private:
    std::unique_ptr<QLockFile> bloqueo_;
    bool comprobada_ = false;
    bool otra_ = false;
};
