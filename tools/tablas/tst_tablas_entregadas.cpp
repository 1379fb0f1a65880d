// Checks the shipped tables in data/ against values any statistician can work out, with the
// distributions taken straight from Boost rather than from the generator.

#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <cmath>

namespace {

constexpr double kInferior = 0.00135, kSuperior = 0.99865;

QByteArray leer(const QString& nombre) {
    QFile f(QStringLiteral(LOZAR_DATOS "/") + nombre);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("no se puede leer %s", qPrintable(f.fileName()));
    return f.readAll();
}

// Field of skewness s, excess kurtosis k; NaN when blank.
double campoPearson(const QByteArray& tabla, double s, double k) {
    const int c = static_cast<int>(std::lround(s * 10));
    const int j = static_cast<int>(std::lround((k * 10 + 14) / 2));
    const QByteArray campo = tabla.mid(j * 133 + 5 + 6 * c, 6).trimmed();
    return campo.isEmpty() ? std::nan("") : campo.toDouble();
}

// The tables store distances from the mean: -x(0.00135), x(0.99865) and -median.
struct Tres {
    double inferior, superior, mediana;
};

template <class Dist> Tres estandarizada(const Dist& d, double media, double sd) {
    return {(media - quantile(d, kInferior)) / sd, (quantile(d, kSuperior) - media) / sd,
            (media - quantile(d, 0.5)) / sd};
}

void fila(const char* nombre, double s, double k, Tres t) {
    QTest::addRow("%s inferior", nombre) << "kvtab1A.tbq" << s << k << t.inferior;
    QTest::addRow("%s superior", nombre) << "kvtab1B.tbq" << s << k << t.superior;
    QTest::addRow("%s mediana", nombre) << "kvtab2.tbq" << s << k << t.mediana;
}

} // namespace

class TstTablasEntregadas : public QObject {
    Q_OBJECT

private slots:
    void registros_data();
    void registros();
    void normal_data();
    void normal();
    void pearson_data();
    void pearson();
    void imposibles_data();
    void imposibles();
    void simetricas();
    void crecenConCurtosis_data();
    void crecenConCurtosis();
};

void TstTablasEntregadas::registros_data() {
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<int>("registros");
    QTest::addColumn<int>("largo");
    QTest::addColumn<QString>("campo"); // every field, blank or not, matches this
    const QString pearson = QStringLiteral("^( {6}| *-?\\d+\\.\\d{3})$");
    QTest::newRow("Kvacnt") << "Kvacnt.tbq" << 43 << 94 << "^ *\\d\\.\\d{6}$";
    QTest::newRow("kvtab1A") << "kvtab1A.tbq" << 69 << 133 << pearson;
    QTest::newRow("kvtab1B") << "kvtab1B.tbq" << 69 << 133 << pearson;
    QTest::newRow("kvtab2") << "kvtab2.tbq" << 69 << 133 << pearson;
}

void TstTablasEntregadas::registros() {
    QFETCH(QString, archivo);
    QFETCH(int, registros);
    QFETCH(int, largo);
    QFETCH(QString, campo);
    const QByteArray t = leer(archivo);
    QCOMPARE(t.size(), registros * largo);
    const bool normal = largo == 94;
    const QRegularExpression forma(campo);
    for (int r = 0; r < registros; ++r) {
        const QByteArray reg = t.mid(r * largo, largo);
        QVERIFY2(reg.endsWith("\r\n") && !reg.chopped(2).contains('\n') &&
                     !reg.chopped(2).contains('\r'),
                 qPrintable(QStringLiteral("registro %1").arg(r + 1)));
        if (normal)
            QCOMPARE(reg.mid(84, 8), QByteArray(8, ' '));
        const int campos = normal ? 10 : 21, ancho = normal ? 8 : 6, desde = normal ? 4 : 5;
        for (int d = 0; d < campos; ++d) {
            const QString texto = QString::fromLatin1(reg.mid(desde + ancho * d, ancho));
            QVERIFY2(forma.match(texto).hasMatch(), qPrintable(texto));
        }
    }
}

void TstTablasEntregadas::normal_data() {
    QTest::addColumn<int>("registro");
    for (int r = 1; r <= 43; ++r)
        QTest::addRow("registro %d", r) << r;
}

void TstTablasEntregadas::normal() {
    QFETCH(int, registro);
    const QByteArray t = leer("Kvacnt.tbq");
    for (int d = 0; d < 10; ++d) {
        const bool cola = registro > 40;
        const double z = cola ? registro - 37 + d / 10.0 : (registro - 1) / 10.0 + d / 100.0;
        const double exacto = cola ? (0.0001 - std::erfc(z / std::sqrt(2.0)) / 2) * 10000
                                   : std::erf(z / std::sqrt(2.0)) / 2;
        const double campo = t.mid((registro - 1) * 94 + 4 + 8 * d, 8).trimmed().toDouble();
        QVERIFY2(std::fabs(campo - exacto) <= 5e-7 + 1e-12, qPrintable(QString::number(z)));
    }
}

void TstTablasEntregadas::pearson_data() {
    QTest::addColumn<QString>("archivo");
    QTest::addColumn<double>("s");
    QTest::addColumn<double>("k");
    QTest::addColumn<double>("esperado");
    using namespace boost::math;

    fila("normal", 0, 0, estandarizada(normal_distribution<double>(), 0, 1));
    fila("uniforme", 0, -1.2,
         estandarizada(beta_distribution<double>(1, 1), 0.5, std::sqrt(1 / 12.0)));
    fila("exponencial", 2, 6,
         {1 + std::log1p(-kInferior), -std::log(kInferior) - 1, 1 - std::log(2.0)});

    // Student t with nu degrees of freedom: excess kurtosis 6 / (nu - 4).
    for (double nu : {4.5, 5.0, 6.0, 10.0, 34.0}) {
        const QByteArray nombre = "t" + QByteArray::number(nu);
        fila(nombre, 0, 6 / (nu - 4),
             estandarizada(students_t_distribution<double>(nu), 0, std::sqrt(nu / (nu - 2))));
    }
    // Symmetric Beta(a, a): excess kurtosis -6 / (2a + 3).
    for (double a : {1.5, 3.5, 6.0, 13.5}) {
        const QByteArray nombre = "beta" + QByteArray::number(a);
        fila(nombre, 0, -6 / (2 * a + 3),
             estandarizada(beta_distribution<double>(a, a), 0.5, 0.5 / std::sqrt(2 * a + 1)));
    }
    // Where 10 b2 - 12 b1 - 18 = 0 the fit is Beta(1 - t, 1 + t) with t = s / sqrt(3 + s^2).
    for (double s : {1.0, 2.0}) {
        const double t = s / std::sqrt(3 + s * s);
        const QByteArray nombre = "beta denominador cero s" + QByteArray::number(s);
        fila(nombre, s, 1.2 * s * s - 1.2,
             estandarizada(beta_distribution<double>(1 - t, 1 + t), (1 - t) / 2,
                           std::sqrt((1 - t * t) / 12)));
    }
}

void TstTablasEntregadas::pearson() {
    QFETCH(QString, archivo);
    QFETCH(double, s);
    QFETCH(double, k);
    QFETCH(double, esperado);
    const double campo = campoPearson(leer(archivo), s, k);
    QVERIFY2(std::fabs(campo - esperado) <= 5e-4 + 1e-9,
             qPrintable(QStringLiteral("%1 en vez de %2").arg(campo).arg(esperado, 0, 'f', 6)));
}

void TstTablasEntregadas::imposibles_data() {
    QTest::addColumn<double>("s");
    QTest::addColumn<double>("k");
    QTest::addColumn<bool>("blanco");
    QTest::newRow("s1.0 k-1.0 sobre b2=b1+1") << 1.0 << -1.0 << true;
    QTest::newRow("s2.0 k2.0 sobre b2=b1+1") << 2.0 << 2.0 << true;
    QTest::newRow("s0.8 k-1.4 bajo b2=b1+1") << 0.8 << -1.4 << true;
    QTest::newRow("s2.0 k1.8 bajo b2=b1+1") << 2.0 << 1.8 << true;
    QTest::newRow("s1.0 k-0.8 encima") << 1.0 << -0.8 << false;
    QTest::newRow("s0.7 k-1.4 encima") << 0.7 << -1.4 << false;
    QTest::newRow("s2.0 k2.2 encima") << 2.0 << 2.2 << false;
    QTest::newRow("s0.0 k-1.4 encima") << 0.0 << -1.4 << false;
}

void TstTablasEntregadas::imposibles() {
    QFETCH(double, s);
    QFETCH(double, k);
    QFETCH(bool, blanco);
    for (const char* archivo : {"kvtab1A.tbq", "kvtab1B.tbq", "kvtab2.tbq"})
        QVERIFY2(std::isnan(campoPearson(leer(archivo), s, k)) == blanco, archivo);
}

void TstTablasEntregadas::simetricas() {
    const QByteArray inf = leer("kvtab1A.tbq"), sup = leer("kvtab1B.tbq"), med = leer("kvtab2.tbq");
    for (int j = 0; j < 69; ++j) {
        const double k = (2 * j - 14) / 10.0;
        QCOMPARE(campoPearson(inf, 0, k), campoPearson(sup, 0, k));
        QCOMPARE(med.mid(j * 133 + 5, 6), QByteArray(" 0.000"));
    }
}

// Both tails lengthen steadily with kurtosis in every column, across the type I, VI and IV
// stretches alike, so a family fitted wrongly shows up as a step or a dip.
void TstTablasEntregadas::crecenConCurtosis_data() {
    QTest::addColumn<QString>("archivo");
    QTest::newRow("kvtab1A") << "kvtab1A.tbq";
    QTest::newRow("kvtab1B") << "kvtab1B.tbq";
}

void TstTablasEntregadas::crecenConCurtosis() {
    QFETCH(QString, archivo);
    const QByteArray t = leer(archivo);
    for (int c = 0; c <= 20; ++c) {
        QVector<double> col;
        for (int j = 0; j < 69; ++j) {
            const double v = campoPearson(t, c / 10.0, (2 * j - 14) / 10.0);
            if (!std::isnan(v))
                col.append(v);
        }
        for (int i = 1; i < col.size(); ++i) {
            QVERIFY2(col[i] >= col[i - 1], qPrintable(QStringLiteral("s %1").arg(c / 10.0)));
            if (i + 1 < col.size())
                QVERIFY2(std::fabs(col[i - 1] - 2 * col[i] + col[i + 1]) < 0.05,
                         qPrintable(QStringLiteral("s %1").arg(c / 10.0)));
        }
    }
}

QTEST_GUILESS_MAIN(TstTablasEntregadas)
#include "tst_tablas_entregadas.moc"
