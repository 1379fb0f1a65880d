# Shared by run.sh and test.sh: install what is missing, then build Release into build/.
set -euo pipefail
RAIZ="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PAQUETES=(cmake g++ make qt6-base-dev qt6-charts-dev libgl-dev fonts-dejavu-core
          fonts-liberation2 qt6-translations-l10n libboost-dev qt6-svg-dev)

instala_lo_que_falta() {
    local faltan=()
    for p in "${PAQUETES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
    done
    [ ${#faltan[@]} -eq 0 ] && return 0
    echo "Instalando: ${faltan[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${faltan[@]}" >/dev/null
}

compila() {
    cmake -S "$RAIZ" -B "$RAIZ/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    local registro="$RAIZ/build/compilacion.log"
    if ! cmake --build "$RAIZ/build" --parallel "$(nproc)" >"$registro" 2>&1; then
        cat "$registro"
        echo "La compilación ha fallado." >&2
        return 1
    fi
}

# The second build of the test command: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, and the libFuzzer targets, in build-san/.
compila_saneado() {
    cmake -S "$RAIZ" -B "$RAIZ/build-san" -DCMAKE_CXX_COMPILER=clang++ -DLOZAR_SANEAR=ON \
          -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    local registro="$RAIZ/build-san/compilacion.log"
    if ! cmake --build "$RAIZ/build-san" --parallel "$(nproc)" >"$registro" 2>&1; then
        cat "$registro"
        echo "La compilación con los sanitizadores ha fallado." >&2
        return 1
    fi
}
