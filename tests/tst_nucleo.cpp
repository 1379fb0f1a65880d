#include "comun/cajasmapa.h"
#include "comun/comparar.h"
#include "study/modeloestudio.h"

#include <QtTest>

class TstNucleo : public QObject {
    Q_OBJECT
private slots:
    void vacio() {}
};

QTEST_GUILESS_MAIN(TstNucleo)
#include "tst_nucleo.moc"
