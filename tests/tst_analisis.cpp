#include "ajuste.h"
#include "analisis/aceptacion.h"
#include "analisis/cartera.h"
#include "analisis/dialogos.h"
#include "analisis/graficosmediciones.h"
#include "analisis/resumencapacidad.h"
#include "analisis/sistemamedicion.h"
#include "capacidad/capacidad.h"
#include "capacidad/mediciones.h"
#include "comun/aiag.h"
#include "comun/cajasmapa.h"
#include "comun/estudio.h"
#include "comun/ventanas.h"
#include "costo/exacto.h"
#include "estudio/forma.h"
#include "muestra.h"
#include "numeros/numeros.h"

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <cmath>
#include <numeric>

class TstAnalisis : public QObject {
    Q_OBJECT
private slots:
    void lectura_data();
    void lectura();
    void importarYUsar();
    void cancelado_data();
    void cancelado();
    void pegarComoNormal();
    void capacidad();
    void mediaOptima();
    void escenarios();
    void distribucionAjustada();
    void instrumento();
    void cartera();
};

void TstAnalisis::lectura_data() {
    // bytes: a file's, through the reader of files; error: the start of the error's description
    columnas<QByteArray, QStringList, int, QString, double, QString>("bytes", "columnas", "columna",
                                                                     "decimal", "suma", "error");
    const QByteArray ocho = "1\n2\n3\n4\n5\n6\n7\n8.5\n";
    fila("coma decimal sin encabezado", QByteArray(ocho).replace('.', ','),
         QStringList{"Columna 1"}, 0, "coma", 36.5, "");
    fila("csv con comas y punto decimal",
         QByteArray("a,b\n1,0.5\n2,0.5\n3,0.5\n4,0.5\n5,0.5\n6,0.5\n7,0.5\n8,1.5\n"),
         QStringList{"a", "b"}, 1, "punto", 5.0, "");
    fila("tsv con huecos al final",
         QByteArray("x\ty\n1\t2\n1\t2\n1\t2\n1\t2\n1\t2\n1\t2\n1\t2\n1\t3\n\n\n"),
         QStringList{"x", "y"}, 1, "punto", 17.0, "");
    fila("siete", QByteArray("1\n2\n3\n4\n5\n6\n7\n"), QStringList{"Columna 1"}, 0, "punto", 0.0,
         "Hacen falta al menos 8 mediciones");
    fila("constante", QByteArray("5\n5\n5\n5\n5\n5\n5\n5\n5\n"), QStringList{"Columna 1"}, 0,
         "punto", 0.0, "Todas las mediciones");
    fila("vacio", QByteArray("\n \n"), QStringList(), 0, "", 0.0, "No hay mediciones");
    fila("solo encabezado", QByteArray("v\n\n"), QStringList(), 0, "", 0.0,
         "No hay mediciones: solo un encabezado");
    // Thousands grouped: read whole where the column keeps one pattern, never split at them.
    const QByteArray miles = "1.101,5\n982,5\n1.050\n1.000,25\n2.000\n10\n1.234.567,75\n-1.000,5\n";
    const double suma = 1101.5 + 982.5 + 1050 + 1000.25 + 2000 + 10 + 1234567.75 - 1000.5;
    fila("miles con punto", miles, QStringList{"Columna 1"}, 0, "coma, con punto de miles", suma,
         "");
    QByteArray milesComa = miles;
    milesComa.replace('.', '#').replace(',', '.').replace('#', ',');
    fila("miles con coma", "medida\n" + milesComa, QStringList{"medida"}, 0,
         "punto, con coma de miles", suma, "");
    fila("miles y un valor que no los sigue", "v\n" + miles + "1.5\n", QStringList{"v"}, 0,
         "coma, con punto de miles", 0.0, "La línea 10 no sigue el formato de la columna «v»");
    // Encodings and line ends spreadsheets and editors write.
    QByteArray utf16("\xFF\xFE");
    for (QChar c : QStringLiteral("diámetro\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8.5\r\n"))
        utf16 += char(c.unicode() & 0xFF), utf16 += char(c.unicode() >> 8);
    fila("utf-16 con marca", utf16, QStringList{"diámetro"}, 0, "punto", 36.5, "");
    fila("solo retornos de carro", "v\r" + QByteArray(ocho).replace('\n', '\r'), QStringList{"v"},
         0, "punto", 36.5, "");
    fila("bytes nulos", QByteArray(1000, '\0'), QStringList(), 0, "", 0.0,
         "No es un archivo de texto");
    // The column offered first: the rightmost of numbers, not a text.
    QByteArray operario = "pieza;diámetro;operario\n";
    for (int i = 1; i <= 8; ++i)
        operario += QByteArray::number(i) + ";20," + QByteArray::number(i) + ";Ana\n";
    fila("un texto a la derecha", operario, QStringList{"pieza", "diámetro", "operario"}, 1, "coma",
         163.6, "");
}

void TstAnalisis::lectura() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, columnas);
    QFETCH(int, columna);
    QFETCH(QString, decimal);
    QFETCH(double, suma);
    QFETCH(QString, error);
    try {
        const TablaMediciones t(TablaMediciones::deArchivo(bytes));
        QCOMPARE(t.columnas(), columnas);
        QCOMPARE(t.decimal(columna), decimal);
        const std::vector<double> v = t.columna(columna);
        QVERIFY2(error.isEmpty(), "sin error");
        QCOMPARE(t.columnaSugerida(), columna);
        QCOMPARE(std::accumulate(v.begin(), v.end(), 0.0), suma);
    } catch (const ErrorLozar& e) {
        QVERIFY2(!error.isEmpty() && e.descripcion().startsWith(error),
                 qPrintable(e.descripcion()));
    }
}

void TstAnalisis::cancelado_data() {
    columnas<QString>("accion");
    for (const char* a : {"importar", "abrir", "capacidad", "informe"})
        QTest::newRow(a) << QString(a);
}

// Millions of measurements: each long piece of work shows its progress dialog, and "Cancelar"
// leaves the study, the window and the disk as they were.
void TstAnalisis::cancelado() {
    QFETCH(QString, accion);
    EstudioTemporal e(false);
    const QString txt = e.dir.filePath("medidas.txt"), lzr = e.dir.filePath("medido.lzr"),
                  pdf = e.dir.filePath("informe.pdf");
    MedicionesEstudio m;
    QByteArray muchas;
    // Enough that each piece of work outlasts the dialog's 200 ms: reading a study is the quickest.
    const int n = accion == "abrir" ? 6000000 : 3000000;
    for (int i = 0; i < n; ++i) {
        m.valores.push_back(50 + (i % 997) / 100.0);
        muchas += QByteArray::number(m.valores.back()) + '\n';
    }
    QVERIFY(escribeArchivo(txt, muchas));
    QStringList valores(kCamposTodos, "0");
    const std::pair<int, const char*> estudio[] = {{11, "10"}, {12, "20"}, {13, "50"}, {14, "80"},
                                                   {15, "90"}, {16, "52"}, {17, "8"},  {10, "100"}};
    for (const auto& [k, v] : estudio)
        valores[k] = v;
    valores[kCamposEstudio] = valores[kCamposEstudio + 1] = valores[kCampoUnidades] =
        valores[kCampoAjuste] = valores[kCampoAceptacion] = "";
    QVERIFY(escribeArchivo(lzr, escribeEstudio(valores, &m)));
    if (accion != "importar" && accion != "abrir")
        e.abre(lzr);
    const QStringList antes = {e.f->Media->text(), e.f->StdDev->text(), e.f->windowTitle()};
    const std::size_t medidas = e.f->mediciones().size();
    e.doble.rutas << (accion == "importar" ? txt : accion == "abrir" ? lzr : pdf);
    const QMap<QString, void (LozarForm::*)()> clic = {
        {"importar", &LozarForm::MArchivoImportar_Click},
        {"abrir", &LozarForm::MArchivoAbrir_Click},
        {"capacidad", &LozarForm::MAnalisisCapacidad_Click},
        {"informe", &LozarForm::MArchivoInforme_Click}};
    bool dialogo = true;
    QVERIFY(conDialogo<QProgressDialog>(
        [&] { dialogo = conDialogo<QDialog>([&] { (e.f->*clic.value(accion))(); }); },
        [](QProgressDialog& p) {
            QTest::mouseClick(p.findChild<QPushButton*>(), Qt::LeftButton);
        }));
    QVERIFY(!dialogo);
    QVERIFY(e.doble.mensajes.isEmpty());
    QCOMPARE(QStringList({e.f->Media->text(), e.f->StdDev->text(), e.f->windowTitle()}), antes);
    QCOMPARE(e.f->mediciones().size(), medidas);
    QVERIFY(!QFile::exists(pdf));
}

// Measurements by lot from a CSV file, skewed and drifting up: the boxes take their mean and
// shape, the report gives the spread within the lots and intervals at the confidence chosen, and
// the control chart the verdict on stability.
void TstAnalisis::importarYUsar() {
    EstudioTemporal e;
    rellenaCajas(
        *e.f, {{"XDesI", "40"}, {"XRetI", "44"}, {"XObj", "50"}, {"XRetS", "56"}, {"XDesS", "60"}});
    const QString ruta = e.dir.filePath("lotes.csv");
    QString csv = QStringLiteral("lote;diámetro\n");
    for (int i = 0; i < 150; ++i) { // 30 lots of 5: many near 48, a long upper tail
        const double x = 48 + 6 * std::pow((i + 0.5) / 150, 2.5) + 0.3 * std::sin(i * 1.3);
        csv += QStringLiteral("L%1;%2\n").arg(i / 5).arg(kEspanol.toString(x, 'f', 3));
    }
    QVERIFY(escribeArchivo(ruta, csv.toUtf8()));
    e.doble.rutas << ruta;
    e.doble.opcionesElegidas << 1;
    QVERIFY(conDialogo<DlgMediciones>([&] { e.f->MArchivoImportar_Click(); },
                                      [&](DlgMediciones& d) {
                                          d.cboSubgrupos->setCurrentIndex(
                                              d.cboSubgrupos->findText("Según la columna «lote»"));
                                          d.cmdPearson->click();
                                      }));
    // The measurements' column, not the lot's, was offered first.
    QCOMPARE(e.doble.preguntas, QStringList{"¿Qué columna contiene las mediciones?|lote|diámetro"});
    QCOMPARE(e.doble.opcionesIniciales, QList<int>{1});
    const double media = e.f->Media->text().toDouble();
    QVERIFY2(media > 49 && media < 50, qPrintable(e.f->Media->text()));
    QVERIFY(e.f->Sesgo->text().toDouble() > 0.5);

    // As a normal process the indices have intervals; what is copied is tab-separated.
    rellenaCajas(*e.f, {{"Sesgo", ""}, {"Curtosis", ""}});
    QStringList a95, a90;
    QVERIFY(conDialogo<DlgCapacidad>([&] { e.f->MAnalisisCapacidad_Click(); },
                                     [&](DlgCapacidad& d) {
                                         d.cmdCopiar->click();
                                         a95 = e.doble.portapapeles.split('\n');
                                         d.cboConfianza->setCurrentIndex(0);
                                         d.cmdCopiar->click();
                                         a90 = e.doble.portapapeles.split('\n');
                                     }));
    auto fila = [](const QStringList& l, const QString& inicio) {
        return l.filter(QRegularExpression("^" + inicio + "\t")).value(0).split('\t');
    };
    QCOMPARE(fila(a95, "Desviación dentro \\(σ dentro\\)").value(2),
             QStringLiteral("σ dentro: desviación agrupada de 30 subgrupos / c4; 120 grados de "
                            "libertad"));
    const QStringList cp95 = fila(a95, "Cp"), cp90 = fila(a90, "Cp");
    QCOMPARE(cp95.value(4), QStringLiteral("σ dentro"));
    QVERIFY(cp95.value(2).toDouble() < cp90.value(2).toDouble()); // a wider interval at 95 %
    QVERIFY(fila(a95, "Estabilidad \\(gráfico X̄–R\\)")
                .value(1)
                .startsWith("proceso no estable: los índices no predicen"));

    QVERIFY(conDialogo<DlgProbabilidad>([&] { e.f->MAnalisisProbabilidad_Click(); }));
    QVERIFY(conDialogo<DlgControl>(
        [&] { e.f->MAnalisisControl_Click(); },
        [&](DlgControl& d) {
            QCOMPARE(d.windowTitle(),
                     QStringLiteral("Gráfico de control de medias y rangos (X̄–R)"));
            QVERIFY(d.lblSenales->text().startsWith("Proceso no estable"));
            // Its picture saved and its numbers copied, as every chart window does.
            e.doble.rutas << e.dir.filePath("control.png");
            d.findChild<QPushButton*>("cmdGuardarImagen")->click();
            QVERIFY(leeArchivo(e.dir.filePath("control.png")).startsWith("\x89PNG"));
            d.findChild<QPushButton*>("cmdCopiar")->click();
            QVERIFY(e.doble.portapapeles.startsWith("Medias: centro "));
            QVERIFY(e.doble.portapapeles.contains("\nRangos: centro "));
        }));
    // The summary on one page: the index table with its ppm, copied as text for a spreadsheet.
    QVERIFY(conDialogo<DlgResumenCapacidad>([&] { e.f->MAnalisisResumen_Click(); },
                                            [&](DlgResumenCapacidad& d) {
                                                QVERIFY(d.lblIndices->text().contains("Z.bench"));
                                                d.findChild<QPushButton*>("cmdCopiar")->click();
                                                QVERIFY(e.doble.portapapeles.startsWith(
                                                    "Resumen de capacidad\t"));
                                                QVERIFY(e.doble.portapapeles.contains("\nCpm\t"));
                                            }));
    QVERIFY(e.doble.mensajes.isEmpty());
}

void TstAnalisis::pegarComoNormal() {
    EstudioTemporal e;
    auto pega = [&](const QString& texto) {
        e.doble.portapapeles = texto;
        QVERIFY(conDialogo<DlgMediciones>([&] { e.f->MEdicionPegar_Click(); },
                                          [](DlgMediciones& d) { d.cmdNormal->click(); }));
    };
    rellenaCajas(*e.f, {{"Sesgo", "1"}, {"Curtosis", "2"}});
    pega(QStringLiteral("10,5\n11\n9,5\n10\n10\n10,5\n9,5\n10\n"));
    // To a thousandth of the spread: all the digits that matter, none that do not.
    QCOMPARE(e.f->Media->text(), QStringLiteral("10.125"));
    QCOMPARE(e.f->StdDev->text(), QStringLiteral("0.5175"));
    QVERIFY(e.f->Sesgo->text().isEmpty() && e.f->Curtosis->text().isEmpty());
    // A tight process far from 0: the box keeps enough digits for its Cpk to be the data's
    // (six significant digits made 0.98 read 1.22).
    rellenaCajas(*e.f, {{"XDesI", "120.001"}, {"XRetI", "120.002"}, {"XObj", "120.003"}});
    rellenaCajas(*e.f, {{"XRetS", "120.004"}, {"XDesS", "120.005"}});
    QString estrecho;
    std::vector<double> valores;
    for (int i = 0; i < 40; ++i) {
        valores.push_back(120.003098 + 0.000136 * std::sin(i * 1.7));
        estrecho += QString::number(valores.back(), 'g', 17) + '\n';
    }
    pega(estrecho);
    const ResumenMuestra r = resumeMuestra(valores);
    QCOMPARE(e.f->lblCpk->text(),
             "Ppk " + formatea(cpkDe(r.media, r.desviacion, 120.002, 120.004, nullptr), "0.00"));
    // Measurements far from the study's limits (another characteristic, the wrong column) are
    // pointed out before they replace its mean; a bad paste changes nothing and says which line.
    const QString media = e.f->Media->text();
    e.doble.portapapeles = QStringLiteral("100\n101\n102\n103\n100\n101\n102\n103\n");
    QString aviso;
    QVERIFY(conDialogo<DlgMediciones>([&] { e.f->MEdicionPegar->trigger(); },
                                      [&](DlgMediciones& d) {
                                          if (d.lblAviso)
                                              aviso = d.lblAviso->text();
                                      }));
    QVERIFY2(aviso.contains("(101.5) está fuera de los límites de desperdicio del estudio "
                            "(120.001 a 120.005)"),
             qPrintable(aviso));
    e.doble.portapapeles = QStringLiteral("1\n2\nabc\n");
    e.f->MEdicionPegar_Click();
    QVERIFY2(e.doble.ultimoTexto().startsWith("Lozar. MEdicionPegar.\nLozar\n13.- La línea 3"),
             qPrintable(e.doble.ultimoTexto()));
    QCOMPARE(e.f->Media->text(), media);
}

// Worked by hand: limits 7 and 13, target 10, mean 11, σ 1: Cp 1, Cpk 2/3, Cpm 1/√2.
void TstAnalisis::capacidad() {
    CajasMapa c;
    c.textos = {{Caja::XDesI, "5"},  {Caja::XRetI, "7"},  {Caja::XObj, "10"}, {Caja::XRetS, "13"},
                {Caja::XDesS, "15"}, {Caja::Media, "11"}, {Caja::StdDev, "1"}};
    LocaleFijo fijo(QLocale::c());
    const Capacidad cap = calculaCapacidad(c, nullptr, nullptr);
    LOZAR_COMPARA(*cap.cp, 1.0, 1e-12);
    LOZAR_COMPARA(*cap.cpk, 2 / 3.0, 1e-12);
    LOZAR_COMPARA(*cap.cpm, 1 / std::sqrt(2.0), 1e-12);
    const QList<QStringList> filas = informeCapacidad(c, nullptr, cap);
    QVERIFY(filas.contains(QStringList{"Cpm", "0.71"}));
    QVERIFY(filas.contains(QStringList{"Encima del límite de desperdicio", "31.7", "0.0032 %"}));
}

// Scrap below the target dearer, with the Taguchi loss and a skewed process: the search against
// a brute-force scan written here, and "Aplicar" through the window. (The search itself, on exact
// and skewed optima: tst_nucleo, tst_pearson.)
void TstAnalisis::mediaOptima() {
    EstudioTemporal e;
    e.f->chkTaguchi->setChecked(true);
    rellenaCajas(*e.f,
                 {{"StdDev", "15"}, {"YDesI", "300"}, {"Sesgo", "-0.9"}, {"Curtosis", "1.6"}});
    QFile::remove(e.dir.filePath("CostDetail.xls"));
    const std::shared_ptr<const FormaProceso> forma = formaDe(*e.f);
    double mejor = HUGE_VAL;
    for (double mu = 10; mu <= 90; mu += 0.01) {
        const CostoExacto ce = costoExacto(*e.f, mu, 15, forma.get());
        if (!ce.todoDesperdicio())
            mejor = std::min(mejor, ce.efectivo);
    }
    QVERIFY(conDialogo<DlgMediaOptima>([&] { e.f->MAnalisisOptima_Click(); },
                                       [](DlgMediaOptima& d) { d.cmdAplicar->click(); }));
    const double aplicada = e.f->Media->text().toDouble();
    const double ce = costoExacto(*e.f, aplicada, 15, forma.get()).efectivo;
    QVERIFY2(ce <= mejor,
             qPrintable(QString("%1 contra %2").arg(ce, 0, 'g', 12).arg(mejor, 0, 'g', 12)));
    QVERIFY(!QFile::exists(e.dir.filePath("CostDetail.xls"))); // the search writes no file
}

// "Análisis > Escenarios…" on an example: the yearly volume typed there turns each unit's cost of
// poor quality into money a year, goes with the study into its file and comes back with it.
void TstAnalisis::escenarios() {
    EstudioTemporal e(false);
    e.abre(QCoreApplication::applicationDirPath() + "/ejemplos/1-diametro-de-eje.lzr");
    e.f->cmdLozarEfectivo_Click(); // the label's tooltip gives the exact cost behind it
    const CostoExacto actual = costoExacto(*e.f, 20.02, 0.06, nullptr);
    QCOMPARE(e.f->lblLozarEfec->toolTip(), "Exacto: " + formatea(actual.efectivo, "$0.0000"));
    QStringList copiado;
    QVERIFY(conDialogo<DlgEscenarios>([&] { e.f->MAnalisisEscenarios_Click(); },
                                      [&](DlgEscenarios& d) {
                                          d.txtUnidades->setText("50000");
                                          d.cmdCopiar->click();
                                          copiado = e.doble.portapapeles.split('\n');
                                      }));
    QVERIFY(e.f->windowTitle().endsWith('*'));
    auto renglon = [&](const QString& titulo) {
        return copiado.filter(QRegularExpression("^" + titulo + "\t")).value(0).split('\t');
    };
    // Per year is per unit times the units; the saving is the current cost's less each one's.
    QCOMPARE(renglon("Costo de la no calidad por año").value(1),
             formatea(actual.noCalidad() * 50000, "$ 0.00"));
    // The spread 20 % less, at the current mean and at its own optimum, which costs no more.
    const QStringList sigma = renglon("Desviación estándar"),
                      costo = renglon("Costo efectivo exacto por unidad buena");
    LOZAR_COMPARA(sigma.value(3).toDouble(), 0.06 * 0.8, 1e-12);
    const CostoExacto reducida = costoExacto(*e.f, 20.02, 0.048, nullptr);
    QCOMPARE(costo.value(3), formatea(reducida.efectivo, "$ 0.0000"));
    const QStringList ahorro = renglon("Ahorro por unidad buena frente al actual");
    QCOMPARE(ahorro.value(3), formatea(actual.noCalidad() - reducida.noCalidad(), "$ 0.0000"));
    QVERIFY(costo.value(4).mid(2).toDouble() <= costo.value(3).mid(2).toDouble());
    // Saved as one more line, last, and read back; a study without it has no volume.
    const QString ruta = e.dir.filePath("con unidades.lzr");
    e.guarda(ruta);
    QVERIFY(leeArchivo(ruta).endsWith("\"Unidades=50000\"\r\n"));
    EstudioTemporal otra(false);
    otra.abre(ruta);
    QCOMPARE(otra.f->modelo().unidades(), QStringLiteral("50000"));
    otra.abre(QCoreApplication::applicationDirPath() + "/ejemplos/2-llenado-de-botellas.lzr");
    QCOMPARE(otra.f->modelo().unidades(), QString());
}

// Measurements of a three-parameter Weibull: identified, used as the process, and kept by the
// study: the capability by the fit's percentiles, the cost on it, the file saved and opened again.
void TstAnalisis::distribucionAjustada() {
    EstudioTemporal e;
    std::vector<double> valores;
    QByteArray texto;
    for (int i = 0; i < 200; ++i) {
        valores.push_back(30 + 22 * std::sqrt(-std::log(1 - (i + 0.5) / 200)));
        texto += QByteArray::number(valores.back(), 'g', 17) + '\n';
    }
    QVERIFY(escribeArchivo(e.dir.filePath("w.txt"), texto));
    e.doble.rutas << e.dir.filePath("w.txt");
    QVERIFY(conDialogo<DlgMediciones>([&] { e.f->MArchivoImportar_Click(); },
                                      [](DlgMediciones& d) { d.cmdNormal->click(); }));
    QVERIFY(conDialogo<DlgIdentificar>([&] { e.f->MAnalisisIdentificar_Click(); },
                                       [&](DlgIdentificar& d) {
                                           QCOMPARE(d.tabla->rowCount(), kNumFamilias);
                                           const auto filas = d.tabla->findItems(
                                               "Weibull de 3 parámetros", Qt::MatchExactly);
                                           QCOMPARE(filas.size(), 1);
                                           d.tabla->selectRow(filas[0]->row());
                                           d.cmdUsar->click();
                                       }));
    const DistribucionAjustada w = ajusta(Familia::Weibull3, valores).distribucion();
    QCOMPARE(e.f->ajuste(), textoDeAjuste(w));
    QVERIFY(e.f->Sesgo->isReadOnly() && e.f->MAnalisisQuitarAjuste->isEnabled());
    QCOMPARE(e.f->cmdNormal->text(), QStringLiteral("2. Distribución"));

    QStringList informe;
    QVERIFY(conDialogo<DlgCapacidad>([&] { e.f->MAnalisisCapacidad_Click(); },
                                     [&](DlgCapacidad& d) {
                                         d.cmdCopiar->click();
                                         informe = e.doble.portapapeles.split('\n');
                                     }));
    const double med = w.cuantil(0.5);
    const double ppk =
        std::min((80 - med) / (w.cuantil(0.99865) - med), (med - 20) / (med - w.cuantil(0.00135)));
    QVERIFY(informe.filter(QRegularExpression("^Distribución\tWeibull de 3 parámetros")).size());
    QCOMPARE(informe.filter(QRegularExpression("^Ppk\t")).value(0).section('\t', 1, 1),
             formatea(ppk, "0.00"));
    e.f->cmdLozarEfectivo->click();
    QVERIFY(e.f->lblLozarEfec->text().contains("$"));
    QVERIFY(e.doble.mensajes.value(0).texto.startsWith("Desperdicio")); // no error before it

    const QString lzr = e.dir.filePath("w.lzr");
    e.guarda(lzr);
    QVERIFY(leeArchivo(lzr).contains("\"Ajuste=" + textoDeAjuste(w).toLatin1() + "\"\r\n"));
    e.f->MArchivoNuevo_Click();
    QVERIFY(e.f->ajuste().isEmpty() && !e.f->Sesgo->isReadOnly());
    e.abre(lzr);
    QCOMPARE(e.f->ajuste(), textoDeAjuste(w));
    QVERIFY(e.f->Sesgo->isReadOnly());
    QVERIFY(!e.f->windowTitle().endsWith('*'));
    e.f->MAnalisisQuitarAjuste->trigger();
    QVERIFY(e.f->ajuste().isEmpty() && !e.f->Sesgo->isReadOnly());
    QVERIFY(e.f->windowTitle().endsWith('*')); // the shape is the study's too
}

// The gauge through the menus: its σ from a gage study file, the guard bands applied, the
// scenarios pricing it, and all of it kept by the study.
void TstAnalisis::instrumento() {
    EstudioTemporal e;
    QByteArray csv = "Medición;Operador;Pieza\n"; // in no expected order
    for (int f = 0; f < 9; ++f)
        for (int p = 0; p < 10; ++p)
            csv += QByteArray::number(kAiag[f][p]) + ';' + char('A' + f / 3) + ";P" +
                   QByteArray::number(p + 1) + '\n';
    QVERIFY(escribeArchivo(e.dir.filePath("rr.csv"), csv));
    e.doble.rutas << e.dir.filePath("rr.csv");
    QVERIFY(conDialogo<DlgSistemaMedicion>([&] { e.f->MAnalisisSistemaMedicion_Click(); },
                                           [](DlgSistemaMedicion& d) {
                                               d.cboMetodo->setCurrentIndex(1);
                                               d.cmdUsar->click();
                                           }));
    QVERIFY(std::fabs(e.f->DesvMedicion->text().toDouble() - 0.305766) < 1e-5);

    rellenaCajas(*e.f, {{"DesvMedicion", "3"}, {"CostoEscape", "100"}});
    QVERIFY(conDialogo<DlgAceptacion>([&] { e.f->MAnalisisAceptacion_Click(); },
                                      [](DlgAceptacion& d) { d.cmdAplicar->click(); }));
    const QString aceptacion = e.f->aceptacion();
    QVERIFY(!aceptacion.isEmpty());
    QStringList copiado;
    QVERIFY(conDialogo<DlgEscenarios>([&] { e.f->MAnalisisEscenarios_Click(); },
                                      [&](DlgEscenarios& d) {
                                          d.cmdCopiar->click();
                                          copiado = e.doble.portapapeles.split('\n');
                                      }));
    QVERIFY(copiado.value(0).endsWith("\tMedición perfecta"));
    // The report prices the gauge too, and ends on the gage study.
    if (!QStandardPaths::findExecutable("pdftotext").isEmpty()) {
        const QString pdf = e.dir.filePath("informe.pdf");
        e.doble.rutas << pdf;
        e.f->MArchivoInforme->trigger();
        QProcess p;
        p.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(p.waitForFinished(60000));
        const QString texto = QString::fromUtf8(p.readAllStandardOutput());
        for (const char* t : {"Medición perfecta", "Malas enviadas al cliente",
                              "Sistema de medición (R&R)", "R&R total (GRR)"})
            QVERIFY2(texto.contains(QString::fromUtf8(t)), t);
        QFile::copy(pdf, "/tmp/shot/instrumento.pdf");
    }

    const QString lzr = e.dir.filePath("medido.lzr");
    e.guarda(lzr);
    e.f->MArchivoNuevo_Click();
    QVERIFY(e.f->aceptacion().isEmpty() && e.f->DesvMedicion->text().isEmpty());
    e.abre(lzr);
    QCOMPARE(e.f->aceptacion(), aceptacion);
    QCOMPARE(e.f->DesvMedicion->text(), QStringLiteral("3"));
    QCOMPARE(e.f->CostoEscape->text(), QStringLiteral("100"));
}

// A plant's folder through the window: the dearest study first, a broken one kept as a row with
// its error, the table exported, and a double click opening a study in the main window.
void TstAnalisis::cartera() {
    EstudioTemporal e;
    const QString carpeta = e.dir.filePath("planta");
    QVERIFY(QDir().mkpath(carpeta + "/linea2"));
    const QString ejemplos = QCoreApplication::applicationDirPath() + "/ejemplos/";
    QVERIFY(QFile::copy(ejemplos + "1-diametro-de-eje.lzr", carpeta + "/eje.lzr"));
    QVERIFY(QFile::copy(ejemplos + "4-tiempo-de-curado.lzr", carpeta + "/linea2/curado.lzr"));
    QVERIFY(escribeArchivo(carpeta + "/roto.lzr", "\"Taguchi=7\"\r\n"));
    e.doble.rutas << carpeta << e.dir.filePath("planta.csv");
    QVERIFY(conDialogo<DlgCartera>(
        [&] { e.f->MArchivoCartera_Click(); },
        [&](DlgCartera& d) {
            QCOMPARE(d.tabla->rowCount(), 4); // three studies and the total
            QVERIFY(d.tabla->item(2, 1)->text().contains("Taguchi"));
            QCOMPARE(d.tabla->item(3, 0)->text(), QStringLiteral("Total"));
            d.cmdExportar->click();
            QVERIFY(leeArchivo(e.dir.filePath("planta.csv")).contains("roto.lzr"));
            emit d.tabla->cellDoubleClicked(0, 0);
        }));
    QVERIFY(e.f->windowTitle().contains(QDir::toNativeSeparators(carpeta)));
}

QTEST_MAIN(TstAnalisis)
#include "tst_analisis.moc"
