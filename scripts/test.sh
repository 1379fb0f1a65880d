#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless.
source "$(dirname "$0")/comun.sh"
instala_lo_que_falta xvfb xdotool desktop-file-utils
compila
export QT_QPA_PLATFORM=offscreen
cd "$RAIZ/build"
ctest --output-on-failure --parallel "$(nproc)" "$@"
