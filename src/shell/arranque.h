#pragma once

class Plataforma;

// The whole run of the program, from the splash to the end of its event loop, on the platform
// layer `p` (installed for the run): the Qt one in main(), a recording double in tests.
// Returns the process's exit code: 0, or 1 when the cover picture cannot be read.
int ejecutaLozar(Plataforma& p);
