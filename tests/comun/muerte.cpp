// Preloaded into a child process of the fault tests: the program killed (SIGKILL, which nothing
// catches) at an exact point of a save. While LOZAR_MUERE_CARPETA names a folder, every call below
// that touches a file under it (or the folder itself) is counted, and the LOZAR_MUERE_EN-th one
// kills the process before it acts; a write() first writes half its bytes, as one killed midway.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

namespace {
bool bajo(const char* ruta) {
    const char* carpeta = std::getenv("LOZAR_MUERE_CARPETA");
    if (!carpeta || !*carpeta || !ruta)
        return false;
    const std::size_t l = std::strlen(carpeta);
    return std::strncmp(ruta, carpeta, l) == 0 && (ruta[l] == '/' || ruta[l] == '\0');
}

bool bajoFd(int fd) {
    char enlace[64], ruta[4096];
    std::snprintf(enlace, sizeof enlace, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(enlace, ruta, sizeof ruta - 1);
    if (n <= 0)
        return false;
    ruta[n] = '\0';
    return bajo(ruta);
}

// Whether this call is the one to die at.
bool llegoLaHora(bool toca) {
    static long cuenta = 0;
    const char* en = std::getenv("LOZAR_MUERE_EN");
    return toca && en && ++cuenta == std::atol(en);
}

void muere() {
    kill(getpid(), SIGKILL);
}

template <typename F> F siguiente(const char* nombre) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, nombre));
}
} // namespace

extern "C" {
ssize_t write(int fd, const void* b, size_t n) {
    static const auto real = siguiente<ssize_t (*)(int, const void*, size_t)>("write");
    if (llegoLaHora(bajoFd(fd))) {
        real(fd, b, n / 2);
        muere();
    }
    return real(fd, b, n);
}

#define LOZAR_MUERE_ANTES(nombre, toca, firma, ...)                                                \
    int nombre firma {                                                                             \
        static const auto real = siguiente<int(*) firma>(#nombre);                                 \
        if (llegoLaHora(toca))                                                                     \
            muere();                                                                               \
        return real(__VA_ARGS__);                                                                  \
    }

LOZAR_MUERE_ANTES(close, bajoFd(fd), (int fd), fd)
LOZAR_MUERE_ANTES(fsync, bajoFd(fd), (int fd), fd)
LOZAR_MUERE_ANTES(ftruncate, bajoFd(fd), (int fd, off_t l), fd, l)
LOZAR_MUERE_ANTES(fchmod, bajoFd(fd), (int fd, mode_t m), fd, m)
LOZAR_MUERE_ANTES(fchown, bajoFd(fd), (int fd, uid_t u, gid_t g), fd, u, g)
LOZAR_MUERE_ANTES(flock, bajoFd(fd), (int fd, int op), fd, op)
LOZAR_MUERE_ANTES(rename, bajo(a) || bajo(b), (const char* a, const char* b), a, b)
LOZAR_MUERE_ANTES(unlink, bajo(r), (const char* r), r)
}
