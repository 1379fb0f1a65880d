#pragma once

#include <QString>
#include <array>

// Floor to a 32-bit whole number (toward −∞); error 6 outside that range.
int Trunca(double x);

// The standard normal areas of "Kvacnt.tbq": 43 records of 94 characters, ten 8-character
// fields from position 5; records 1-40 hold A(z) = P(0 ≤ Z ≤ z) for z = 0.00..3.99, records
// 41-43 hold (A(z) − 0.4999) × 10000 for z = 4.0..6.0. Read once, at the first lookup.
class TablaNormal {
public:
    explicit TablaNormal(QString directorio) : directorio_(std::move(directorio)) {}

    // P(Z ≤ z) from the table: z clamped to ±6 and rounded to the grid (hundredths up to
    // 3.995, tenths beyond), halves upward. A missing, unreadable or short file raises a
    // numbered error naming it, creates nothing, and leaves the table unloaded.
    double Abcn(double z);

    bool cargada() const { return cargada_; }
    QString ruta() const;

private:
    void carga();

    QString directorio_;
    bool cargada_ = false;
    std::array<std::array<double, 10>, 44> campos_{}; // [record][column], record 0 unused
};
