// One effective-cost computation with its detail file (101 intervals), as "3. Lozar
// Efectivo" runs it, in a temporary application directory. Run: build/bin/bench_efectivo
#include "comun/plataformadoble.h"
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
    PlataformaDoble doble;
    QTemporaryDir dir;
    doble.directorio = dir.path();
    QFile::copy(QCoreApplication::applicationDirPath() + "/Kvacnt.tbq", dir.filePath("Kvacnt.tbq"));
    LozarForm f;
    const std::pair<QLineEdit*, const char*> valores[] = {
        {f.XDesI, "10"}, {f.XRetI, "20"}, {f.XObj, "50"},  {f.XRetS, "80"}, {f.XDesS, "90"},
        {f.YDesI, "30"}, {f.YDesS, "30"}, {f.YRetI, "10"}, {f.YRetS, "10"}, {f.YNomI, "5"},
        {f.YNomS, "5"},  {f.Media, "52"}, {f.StdDev, "8"}};
    for (const auto& [caja, texto] : valores)
        caja->setText(QString::fromLatin1(texto));
    f.chkTaguchi->setChecked(true);
    std::vector<double> t;
    for (int i = 0; i < 501; ++i) {
        QElapsedTimer r;
        r.start();
        if (!f.LozarEfectivo(52, 8))
            return 1;
        t.push_back(r.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    QTextStream(stdout) << QStringLiteral("Lozar efectivo con archivo de detalle: mediana %1 ms, "
                                          "p90 %2 ms (meta <= 1 ms)\n")
                               .arg(t[t.size() / 2], 0, 'f', 3)
                               .arg(t[t.size() * 9 / 10], 0, 'f', 3);
    return 0;
}
