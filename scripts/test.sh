#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless: once as users get the
# program, once more built by clang with the sanitizers, the fuzz targets included.
source "$(dirname "$0")/comun.sh"
instala_lo_que_falta xvfb xdotool desktop-file-utils clang libclang-rt-14-dev poppler-utils
compila
export QT_QPA_PLATFORM=offscreen
(cd "$RAIZ/build" && ctest --output-on-failure --parallel "$(nproc)" "$@")
compila_saneado
export LSAN_OPTIONS="suppressions=$RAIZ/tests/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$RAIZ/build-san"
ctest --output-on-failure --parallel "$(nproc)" "$@"
