#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the tests and the program need
# and is not yet on this Debian machine.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev
          qt6-base-dev qt6-translations-l10n fonts-liberation xdg-utils xdotool
          clang libclang-rt-14-dev libcups2-dev cups
          zlib1g-dev fonts-dejavu-core poppler-utils qpdf)
"$(dirname "$0")/install-missing.sh" "${packages[@]}"
