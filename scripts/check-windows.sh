#!/usr/bin/env bash
# The Windows step of CI: cross-builds the Qt-free core and its tests for
# 64-bit Windows with MinGW-w64 (GoogleTest built from Debian's sources) and
# runs the tests under Wine, in a private Wine prefix inside the build folder.
# Installs the cross compiler, Wine and the GoogleTest sources first when
# they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/windows

packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 googletest cmake ninja-build
          qpdf poppler-utils)
scripts/install-missing.sh "${packages[@]}"

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DPLIEGO_WINDOW=OFF -DPLIEGO_GTEST_SOURCE=/usr/src/googletest -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build "$build"
echo "Windows build of the core: OK"

# Wine: a private prefix, quiet, without the .NET and HTML installers, in the
# Windows-1252 code page of the offices' Windows.
export WINEPREFIX="$PWD/$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=
wine=$(command -v wine64 || command -v wine)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1
  wineserver --wait
fi
# A drive the tests may fill from its root (on Windows they map one with subst).
drive_folder="$PWD/$build/drive-p"
rm -rf "$drive_folder" && mkdir -p "$drive_folder"
ln -sfn "$drive_folder" "$WINEPREFIX/dosdevices/p:"
export PLIEGO_TEST_DRIVE=P:

# The book the Windows build makes as a PDF is left on drive P: and read here.
export PLIEGO_PDF_SAMPLE='P:\libro.pdf'
rm -f "$drive_folder/libro.pdf"
# Tests that cannot pass under Wine or on Windows skip themselves, each with its reason.
(cd "$build/tests" && "$wine" core_tests.exe --gtest_brief=1)
wineserver --kill || true
echo "Core tests under Wine: OK"

qpdf --check "$drive_folder/libro.pdf" >/dev/null
pdftotext -layout "$drive_folder/libro.pdf" - | grep -q $'Farmacia N\xc3\xba\xc3\xb1ez (sucursal)'
pdftotext -layout -f 4 -l 4 "$drive_folder/libro.pdf" - | grep -q "Pagina: 4"
echo "PDF made on Windows, read by qpdf and pdftotext: OK"
