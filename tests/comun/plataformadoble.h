#pragma once

#include "plataforma/plataforma.h"

#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

// Records every message and answers dialogs from a script; installs itself for its lifetime.
class PlataformaDoble : public Plataforma {
public:
    struct Mensaje {
        QString texto;
        Botones botones;
        Icono icono;
    };

    PlataformaDoble() : anterior_(fijaPlataforma(this)) {}
    ~PlataformaDoble() override { fijaPlataforma(anterior_); }

    Respuesta mensaje(const QString& texto, Botones botones, Icono icono) override;
    std::optional<QString> dialogoAbrir(const QString& filtro) override {
        return respondeDialogo("abrir", filtro);
    }
    std::optional<QString> dialogoGuardar(const QString& filtro) override {
        return respondeDialogo("guardar", filtro);
    }
    std::optional<QString> dialogoExportar(const QString& filtro) override {
        return respondeDialogo("exportar", filtro);
    }
    std::optional<QString> dialogoCarpeta() override { return respondeDialogo("carpeta", {}); }
    bool abreDocumento(const QString& ruta, const QString&) override {
        documentosAbiertos << ruta;
        return hayPrograma || QFileInfo(ruta).isDir();
    }
    bool imprime(QWidget*) override {
        impresiones += hayImpresora;
        return hayImpresora;
    }
    bool imprimePaginas(const std::function<void(QPagedPaintDevice&)>&) override {
        ++impresiones;
        return hayImpresora;
    }
    bool imprimeTexto(const QString& html) override {
        textosImpresos << html;
        return hayImpresora;
    }
    std::optional<int> eligeOpcion(const QString& pregunta, const QStringList& opciones,
                                   int inicial = 0) override {
        preguntas << pregunta + QLatin1Char('|') + opciones.join(QLatin1Char('|'));
        opcionesIniciales << inicial;
        return opcionesElegidas.isEmpty() ? std::nullopt : opcionesElegidas.takeFirst();
    }
    QString textoPortapapeles() override { return portapapeles; }
    void copiaAlPortapapeles(const QString& texto) override { portapapeles = texto; }
    void punteroOcupado() override { ocupado = true; }
    void punteroFlecha() override { ocupado = false; }
    QString directorioAplicacion() override { return directorio; }
    QString directorioDatosUsuario() override { return datosUsuario; }
    bool otraInstancia() override { return hayOtraInstancia; }

    // Script and record.
    QList<Mensaje> mensajes;
    QList<Respuesta> respuestas;         // for Yes/No boxes; No when empty
    QList<std::optional<QString>> rutas; // dialog answers in order; cancel when empty
    QStringList filtros;                 // filters the dialogs were shown with
    QStringList dialogos;                // "abrir", "guardar" or "exportar", in order
    QStringList documentosAbiertos;
    bool hayPrograma = true; // whether some program opens a document (a folder always opens)
    QString directorio;
    QString datosUsuario;
    bool hayOtraInstancia = false;
    bool hayImpresora = true;
    int impresiones = 0;
    QStringList textosImpresos;
    QList<std::optional<int>> opcionesElegidas; // answers to eligeOpcion; cancel when empty
    QList<int> opcionesIniciales;               // what each offered first
    QStringList preguntas;                      // "question|option|option…" as asked
    QString portapapeles;
    bool ocupado = false;

    QString ultimoTexto() const { return mensajes.isEmpty() ? QString() : mensajes.last().texto; }

private:
    std::optional<QString> respondeDialogo(const char* dialogo, const QString& filtro);
    Plataforma* anterior_;
};
