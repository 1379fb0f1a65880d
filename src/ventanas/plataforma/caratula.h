#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

// The directory text with exactly one trailing separator ("C:\prog" -> "C:\prog\").
QString Slash(QString texto);

// Centres a window on the screen by its outer size.
void Centrar(QWidget* ventana);

// The splash: the cover picture for 3000 ms after each activation, or until a character key
// or a click on the picture. Closing it hands over to the main window (`descargada`).
// A second copy of the program shows its splash, warns and ends (`duplicada`).
class Caratula : public QWidget {
    Q_OBJECT
public:
    explicit Caratula(QWidget* parent = nullptr);

    // Loads "CARATULA.JPG" from the application directory; ErrorLozar 53 naming the file
    // when it is missing or unreadable.
    void Form_Load();
    void Form_Activate();

    QLabel* Image1 = nullptr;
    QTimer* Timer1 = nullptr;
    const QString& directorio() const { return directorio_; }

signals:
    void descargada();
    void duplicada();
    // Once, when the picture has first been painted: the time to prepare what comes next.
    void pintada();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QString directorio_;
    bool terminando_ = false;
    bool descargada_ = false;
    bool pintada_ = false;
};
