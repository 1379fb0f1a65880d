#pragma once

#include <QString>

// Bilinear interpolation: a, b along the lower row, c, d along the upper one.
double Interpola(double a, double b, double c, double d, double fs, double fk);

// A value of the Pearson table `id` ("1A", "1B" or "2", file kvtab<id>.tbq: 69 records of
// 133 bytes, 21 six-character fields from character 6) at skewness s ≥ 0 and kurtosis k,
// interpolated between the grid points around them. The file is opened, read and closed at
// every lookup; a missing or short one raises a numbered error naming it.
double TablaPearson(const QString& directorio, const QString& id, double s, double k);
