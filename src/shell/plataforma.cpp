#include "shell/plataforma.h"

#include <cstdlib>

namespace {
Plataforma* gPlataforma = nullptr;
}

Plataforma& plataforma() {
    if (!gPlataforma)
        std::abort(); // a programming error: main() or the test installs one first
    return *gPlataforma;
}

Plataforma* fijaPlataforma(Plataforma* p) {
    Plataforma* anterior = gPlataforma;
    gPlataforma = p;
    return anterior;
}
