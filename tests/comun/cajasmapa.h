#pragma once

#include "estudio/costounitario.h"

#include <QMap>

// Box texts from a plain map, for the pure routines; a box not set holds "0".
class CajasMapa : public Cajas {
public:
    QMap<Caja, QString> textos;
    int valorTaguchi = 0;
    QString valorAjuste;

    QString texto(Caja caja) const override { return textos.value(caja, QStringLiteral("0")); }
    int taguchi() const override { return valorTaguchi; }
    QString ajuste() const override { return valorAjuste; }

    // The usual study: limits 10/20/50/80/90, scrap 30, rework 10, nominal 5, range 0..100.
    static CajasMapa tipico(int taguchi = 0) {
        CajasMapa c;
        c.textos = {{Caja::XDesI, "10"}, {Caja::XRetI, "20"}, {Caja::XObj, "50"},
                    {Caja::XRetS, "80"}, {Caja::XDesS, "90"}, {Caja::YDesI, "30"},
                    {Caja::YDesS, "30"}, {Caja::YRetI, "10"}, {Caja::YRetS, "10"},
                    {Caja::YNomI, "5"},  {Caja::YNomS, "5"},  {Caja::xa, "0"},
                    {Caja::xb, "100"}};
        c.valorTaguchi = taguchi;
        return c;
    }
};
