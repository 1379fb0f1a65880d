#!/usr/bin/env bash
# Installs what is missing, builds and starts Lozar.
source "$(dirname "$0")/comun.sh"
instala_lo_que_falta
compila
exec "$RAIZ/build/bin/lozar" "$@"
