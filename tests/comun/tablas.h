#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <functional>

// Fixed-record table files made to order: `registros` records of `largo` bytes ending in
// CR LF, a blank label of `rotulo` characters, then `campos` fields of `ancho` characters
// whose texts `campo(record, field)` gives (both counted from 1).
inline QByteArray tablaFija(int registros, int largo, int rotulo, int campos, int ancho,
                            const std::function<QByteArray(int, int)>& campo) {
    QByteArray b;
    for (int r = 1; r <= registros; ++r) {
        QByteArray linea(rotulo, ' ');
        for (int k = 1; k <= campos; ++k)
            linea += campo(r, k).rightJustified(ancho, ' ');
        b += linea.leftJustified(largo - 2, ' ') + "\r\n";
    }
    return b;
}

inline QByteArray tablaNormalDePrueba(const std::function<QByteArray(int, int)>& campo) {
    return tablaFija(43, 94, 4, 10, 8, campo);
}

inline QByteArray tablaPearsonDePrueba(const std::function<QByteArray(int, int)>& campo) {
    return tablaFija(69, 133, 5, 21, 6, campo);
}

// The whole file; empty when it is missing, unreadable or a folder.
inline QByteArray leeArchivo(const QString& ruta) {
    QFile f(ruta);
    return QFileInfo(ruta).isFile() && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool escribeArchivo(const QString& ruta, const QByteArray& bytes) {
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
