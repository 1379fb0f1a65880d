#pragma once

#include <QElapsedTimer>
#include <QString>
#include <algorithm>
#include <vector>

// Median time, in milliseconds, of `veces` runs of `f`.
template <typename F> double mediana(F&& f, int veces = 201) {
    std::vector<double> t;
    for (int i = 0; i < veces; ++i) {
        QElapsedTimer r;
        r.start();
        f();
        t.push_back(r.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// What a bench's line adds after a median: nothing when it meets `meta`, " — NO CUMPLE" when it
// misses it, which also makes `ok` false, so that the bench exits 1.
inline QString contraMeta(double ms, double meta, bool& ok) {
    if (ms <= meta)
        return QString();
    ok = false;
    return QStringLiteral(" — NO CUMPLE");
}
