#!/usr/bin/env bash
# Installs what is missing, builds a Release of the program, stages it with
# the demo reports and profiles in stage/ and starts it there.
# Instala lo que falta, compila, prepara stage/ con los reportes de ejemplo
# y abre el programa.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release
cmake --build --preset release

# The program keeps its reports, profiles and work files beside itself.
# Profiles saved and a print script edited in an earlier run are kept.
mkdir -p stage
cp build/release/pliegomatic stage/
cp demo/MAYOR.TXT demo/IVACOMPRAS.TXT demo/IVAVENTAS.TXT stage/
[ -e stage/Pliegomatic.ini ] || cp demo/Pliegomatic.ini stage/
exec stage/pliegomatic "$@"
