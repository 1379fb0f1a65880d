#pragma once

#include <QElapsedTimer>
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
