// Preloaded into the fault tests where they cannot mount a small file system of their own (not
// root): while LOZAR_SIN_ESPACIO names a folder, every write to a file under it fails as on a full
// disk, with ENOSPC, in the C library call itself, below Qt and below the program.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {
bool sinEspacio(int fd) {
    const char* carpeta = std::getenv("LOZAR_SIN_ESPACIO");
    if (!carpeta || !*carpeta)
        return false;
    char enlace[64], ruta[4096];
    std::snprintf(enlace, sizeof enlace, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(enlace, ruta, sizeof ruta - 1);
    if (n <= 0)
        return false;
    ruta[n] = '\0';
    const std::size_t l = std::strlen(carpeta);
    return std::strncmp(ruta, carpeta, l) == 0 && ruta[l] == '/';
}

template <typename F> F siguiente(const char* nombre) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, nombre));
}
} // namespace

extern "C" {
#define LOZAR_SIN_ESPACIO(nombre, firma, ...)                                                      \
    ssize_t nombre firma {                                                                         \
        static const auto real = siguiente<ssize_t(*) firma>(#nombre);                             \
        if (n > 0 && sinEspacio(fd)) {                                                             \
            errno = ENOSPC;                                                                        \
            return -1;                                                                             \
        }                                                                                          \
        return real(__VA_ARGS__);                                                                  \
    }

LOZAR_SIN_ESPACIO(write, (int fd, const void* b, size_t n), fd, b, n)
LOZAR_SIN_ESPACIO(pwrite64, (int fd, const void* b, size_t n, off_t o), fd, b, n, o)
LOZAR_SIN_ESPACIO(writev, (int fd, const struct iovec* v, int n), fd, v, n)
}
