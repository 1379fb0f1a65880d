// The gage R&R window on the AIAG manual's example: both methods' reports, the charts, the σ it
// hands to the study, and a study the Average and Range method refuses.
#include "analisis/sistemamedicion.h"
#include "comun/comparar.h"

#include "comun/aiag.h"
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QXYSeries>

#include <QtTest>
#include <cmath>
#include <limits>

namespace {
// Pieces numbered from 101 and operators from 7, so that the window numbers them itself; with a
// fourth trial of each operator copying its first when `cuatro`.
std::vector<MedicionGage> aiag(bool cuatro = false) {
    std::vector<MedicionGage> m;
    for (int f = 0; f < 9; ++f)
        for (int k = 0; k < (cuatro && f % 3 == 0 ? 2 : 1); ++k)
            for (int p = 0; p < 10; ++p)
                m.push_back({101 + p, 7 + f / 3, kAiag[f][p]});
    return m;
}

// The report's row for the gauge, as the window shows it.
QStringList filaGrr(const DlgSistemaMedicion& d) {
    for (const QStringList& f : d.filas())
        if (f.value(0) == QStringLiteral("R&R total (GRR)"))
            return f;
    return {};
}

const double kSinTolerancia = std::numeric_limits<double>::quiet_NaN();
} // namespace

class TstSistemaMedicion : public QObject {
    Q_OBJECT
private slots:
    void ambosMetodos();
    void cuatroEnsayos();
};

void TstSistemaMedicion::ambosMetodos() {
    LocaleFijo fijo(QLocale::c());
    DlgSistemaMedicion d(aiag(), kSinTolerancia, QStringLiteral("aiag.csv"));
    QCOMPARE(d.cboMetodo->currentText(), QStringLiteral("ANOVA"));
    QCOMPARE(filaGrr(d).value(2), QStringLiteral("7.76")); // % contribution
    QVERIFY(d.txtInforme->toPlainText().contains(QStringLiteral("R&R total (GRR)")));
    QCOMPARE(d.graficoInteraccion->chart()->series().size(), 3);
    QCOMPARE(d.graficoInteraccion->chart()->series().at(2)->name(), QStringLiteral("Operador 3"));
    // The pieces' line has a point per piece, at 1..10 whatever their ids.
    auto* medias = qobject_cast<QXYSeries*>(d.graficoPiezas->chart()->series().at(1));
    QCOMPARE(medias->count(), 10);
    QCOMPARE(medias->at(9).x(), 10.0);

    d.cboMetodo->setCurrentIndex(1);
    QCOMPARE(filaGrr(d).value(5), QStringLiteral("26.68")); // % study variation
    QVERIFY(d.txtInforme->toPlainText().contains(QStringLiteral("26.68")));
    QVERIFY(d.cmdUsar->isEnabled());
    d.cmdUsar->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(d.sigmaElegida());
    LOZAR_COMPARA(*d.sigmaElegida(), 0.305766, 1e-5);
}

// Four trials: ANOVA takes them, the manual's constants do not; the refusal is shown, not thrown,
// and nothing of it can be used or copied.
void TstSistemaMedicion::cuatroEnsayos() {
    DlgSistemaMedicion d(aiag(true), 1.0, QStringLiteral("aiag.csv"));
    QVERIFY(!filaGrr(d).isEmpty());
    d.cboMetodo->setCurrentIndex(1);
    QVERIFY(d.filas().isEmpty());
    QVERIFY(d.txtInforme->toPlainText().contains(QStringLiteral("admite 2 o 3 ensayos")));
    QVERIFY(!d.cmdUsar->isEnabled() && !d.cmdCopiar->isEnabled());
    QVERIFY(!d.sigmaElegida());
    d.cboMetodo->setCurrentIndex(0);
    QVERIFY(d.cmdUsar->isEnabled());
}

QTEST_MAIN(TstSistemaMedicion)
#include "tst_sistemamedicion.moc"
