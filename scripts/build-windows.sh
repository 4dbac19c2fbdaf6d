#!/usr/bin/env bash
# Builds the Windows program folder from Debian, and runs the window tests on
# it under Wine. Opt-in, not part of CI: the first run builds Qt for Windows.
# Construye la carpeta del programa para Windows desde Debian y prueba la
# ventana con Wine. La primera vez compila Qt para Windows (más de una hora).
#
#  1. Qt 6 for Windows: Debian ships none, so qtbase is built once from
#     Debian's own qt6-base source package (the installed host Qt's version)
#     with MinGW-w64, into a cache outside the checkout, reused while the
#     source version is the same (PLIEGO_WIN_CACHE, default
#     /var/cache/pliegomatic-win, else ~/.cache/pliegomatic-win). OpenGL and
#     tablet events are off (Debian's source drops the tablet library).
#     About 70 minutes on 2 cores; at the lowest priority.
#  2. pliegomatic.exe with its icon, the core's and the window's tests.
#  3. build/windows-qt/Pliegomatic/ and Pliegomatic-windows.zip: the program,
#     the DLLs it needs, qt.conf, the Spanish Qt translation and a sample
#     Pliegomatic.ini.
#  4. The window tests under Wine, with Qt's Windows platform on a virtual
#     X display (Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=build/windows-qt

packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev fonts-dejavu-core wine wine64 googletest cmake ninja-build xz-utils zip xvfb xauth
          qt6-base-dev qt6-base-dev-tools qt6-translations-l10n)
scripts/install-missing.sh "${packages[@]}"

# --- 1. Qt for Windows, cached per source version ---------------------------
version=$(dpkg-query -W -f '${Version}' qt6-base-dev)
cache=${PLIEGO_WIN_CACHE:-/var/cache/pliegomatic-win}
if ! mkdir -p "$cache" 2>/dev/null || [ ! -w "$cache" ]; then cache="$HOME/.cache/pliegomatic-win"; fi
here="$cache/qt-$version"
qt="$here/qt6-mingw"
done_mark="$qt/.pliego-built-seconds"   # written last: how long the build took

build_qt() {
  local work="$here/qt-src"
  mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
  local mirror suite
  mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
  [ -n "$mirror" ] || { echo "No Debian mirror in /etc/apt/sources.list.d/debian.sources" >&2; exit 1; }
  suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
  # A private sources list: the system's apt configuration is not touched.
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $suite main" >"$work/apt/sources.list"
  local apt_private=(-o Dir::Etc::SourceList="$work/apt/sources.list" -o Dir::Etc::SourceParts=/nonexistent
                     -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache="$work/apt/cache")
  apt-get "${apt_private[@]}" update -qq
  (cd "$work" && apt-get "${apt_private[@]}" source --download-only "qt6-base=$version")
  local src
  src=$(ls -d "$work"/qtbase-everywhere-src-* 2>/dev/null | head -n 1 || true)
  if [ -z "$src" ]; then
    tar -C "$work" -xJf "$work"/qt6-base_*.orig.tar.xz
    src=$(ls -d "$work"/qtbase-everywhere-src-* | head -n 1)
  fi
  local start=$SECONDS
  nice -n 19 ionice -c3 cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$qt" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=ON \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_freetype=OFF -DFEATURE_fontconfig=OFF \
    -DFEATURE_icu=OFF -DFEATURE_tabletevent=OFF
  nice -n 19 ionice -c3 cmake --build "$work/build" --parallel "$(nproc)"
  cmake --install "$work/build"
  echo $((SECONDS - start)) >"$done_mark"
}

if [ -f "$done_mark" ]; then
  echo "Qt $version para Windows: $qt (en caché / cached)"
else
  echo "Qt $version para Windows: compilando / building into $qt (about 70 min)"
  build_qt
fi
# Qt's Spanish translation ("Aceptar", "Sí", "No", "Cancelar") is the same file on every platform.
mkdir -p "$qt/translations"
cp /usr/share/qt6/translations/qtbase_es.qm "$qt/translations/"

# --- 2. The program and its tests ---------------------------------------------
export PLIEGO_WINDOWS_QT="$qt"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DPLIEGO_GTEST_SOURCE=/usr/src/googletest -DCMAKE_CROSSCOMPILING_EMULATOR=wine
cmake --build "$build"

# --- 3. The program folder ----------------------------------------------------
folder="$build/Pliegomatic"
rm -rf "$folder" && mkdir -p "$folder/platforms" "$folder/styles" "$folder/translations"
cp "$build/pliegomatic.exe" "$folder/"
cp "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp "$qt"/plugins/styles/*.dll "$folder/styles/" 2>/dev/null || true
cp "$qt/translations/qtbase_es.qm" "$folder/translations/"
printf '[Paths]\r\nPrefix=.\r\nPlugins=.\r\nTranslations=translations\r\n' >"$folder/qt.conf"
cp demo/Pliegomatic.ini "$folder/"
# The PDF's font goes beside the program, with its licence.
cp /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf "$folder/"
cp /usr/share/doc/fonts-dejavu-core/copyright "$folder/DejaVuSansMono-LICENCIA.txt"
dll_dirs=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib)
# Copies the DLLs that a file imports, and theirs, when they are not Windows' own.
bring_dlls() {
  local dll dir
  for dll in $(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'); do
    [ -e "$folder/$dll" ] && continue
    for dir in "${dll_dirs[@]}"; do
      if [ -e "$dir/$dll" ]; then
        cp "$dir/$dll" "$folder/"
        bring_dlls "$folder/$dll"
        break
      fi
    done
  done
}
for binary in "$folder"/pliegomatic.exe "$folder"/platforms/*.dll "$folder"/styles/*.dll; do
  [ -e "$binary" ] && bring_dlls "$binary"
done
rm -f "$build/Pliegomatic-windows.zip"
(cd "$build" && zip -qr Pliegomatic-windows.zip Pliegomatic)
echo "Carpeta del programa / program folder: $folder"
echo "Zip: $build/Pliegomatic-windows.zip"

# --- 4. The window tests under Wine -------------------------------------------
export WINEPREFIX="$root/$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=
export WINEPATH="$(printf 'Z:%s;' "${dll_dirs[@]}" | tr / '\\')"
export QT_QPA_PLATFORM=${PLIEGO_WINDOWS_PLATFORM:-windows}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1
  wineserver --wait
fi
status=0
rm -f "$build"/tests/window/test_*.txt
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" -R '^window\.' --timeout 300 || status=$?
wineserver --kill || true
for log in "$build"/tests/window/test_*.txt; do
  grep -h -E '^(FAIL!|   Loc:|Totals:)' "$log" | sed "s|^|$(basename "$log" .txt): |"
done
[ $status -eq 0 ] && echo "Window tests under Wine: OK"
exit $status
