#!/usr/bin/env bash
# Builds the Qt-free core and the benchmark for Windows with MinGW-w64, so
# that the Windows branches keep compiling. Installs the cross compiler first.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends g++-mingw-w64-x86-64-posix
fi
cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DPLIEGO_WINDOW=OFF -DBUILD_TESTING=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build/windows
echo "Windows build of the core: OK"
