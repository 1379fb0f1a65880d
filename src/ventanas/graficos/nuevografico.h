#pragma once

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QLocale>
#include <QValueAxis>

// A chart whose axes write numbers as the rest of the program does: in the user's decimal
// separator (Qt Charts' own labels print a point whatever the locale).
inline QChart* nuevoGrafico() {
    auto* c = new QChart;
    c->setLocalizeNumbers(true);
    c->setLocale(QLocale());
    return c;
}

// The pieces the analyses' charts are made of: an axis on a side, a series on two axes, a line
// of a pen through points, and the view that shows a chart, named for tests and screen readers.
inline QValueAxis* eje(QChart* chart, const QString& titulo, Qt::Alignment lado) {
    auto* e = new QValueAxis;
    e->setTitleText(titulo);
    chart->addAxis(e, lado);
    return e;
}

inline void une(QChart* chart, QAbstractSeries* serie, QValueAxis* x, QValueAxis* y) {
    chart->addSeries(serie);
    serie->attachAxis(x);
    serie->attachAxis(y);
}

inline QLineSeries* linea(const QString& nombre, const QColor& color, Qt::PenStyle estilo,
                          const QList<QPointF>& puntos) {
    auto* s = new QLineSeries;
    s->setName(nombre);
    s->setPen(QPen(color, 1.5, estilo));
    s->replace(puntos);
    return s;
}

inline QChartView* vista(QChart* chart, const char* nombre, const QString& accesible,
                         QSize minimo) {
    auto* v = new QChartView(chart);
    v->setObjectName(QLatin1String(nombre));
    v->setAccessibleName(accesible);
    v->setRenderHint(QPainter::Antialiasing);
    v->setMinimumSize(minimo);
    return v;
}
