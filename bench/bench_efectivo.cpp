// One effective-cost computation with its detail file (101 intervals), as "3. Lozar
// Efectivo" runs it, in a temporary application directory. Run: build/bin/bench_efectivo
#include "comun/estudio.h"
#include "comun/plataformadoble.h"
#include "medicion.h"
#include "study/lozarform.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    EstudioTemporal e;
    LozarForm& f = *e.f;
    f.chkTaguchi->setChecked(true);
    bool ok = true;
    const double t = mediana([&] { ok = ok && f.LozarEfectivo(52, 8).has_value(); }, 501);
    QTextStream(stdout) << QStringLiteral("Lozar efectivo con archivo de detalle: mediana %1 ms "
                                          "(meta <= 1 ms)\n")
                               .arg(t, 0, 'f', 3);
    return ok ? 0 : 1;
}
