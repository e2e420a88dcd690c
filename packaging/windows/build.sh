#!/usr/bin/env bash
# Builds the Windows game on Debian 12 and proves it under Wine:
#   1. Qt (qtbase and qtsvg) for Windows from Debian's own sources, with MinGW-w64,
#      into build-windows/qt (built once, reused when present: about 40 minutes on
#      two cores the first time);
#   2. Quorvela and its unit tests with the same toolchain (CMake preset "windows");
#   3. a folder that runs on Windows with nothing else installed, as a .zip and as
#      an NSIS installer;
#   4. the unit tests under Wine, and the end-to-end game against quorvela.exe
#      under Wine on an X server of the test's own.
# Usage: packaging/windows/build.sh [--no-tests]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=$root/build-windows
prefix=$out/qt
jobs=2
mkdir -p "$out"

# --- tools ------------------------------------------------------------------
packages=(g++-mingw-w64-x86-64-posix wine64 nsis zip ninja-build dpkg-dev cmake
          qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n
          xvfb xauth xdotool imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
wine=/usr/lib/wine/wine64
toolchain=$root/packaging/windows/mingw-toolchain.cmake

# --- Qt for Windows, from Debian's sources ------------------------------------
# Debian's source packages of the very Qt version the Linux build uses, fetched with
# an apt configuration of our own (the machine's sources stay as they are).
fetch_source() { # source package name, folder
  [ -d "$2" ] && return 0
  local apt=$out/apt
  mkdir -p "$apt/lists/partial" "$out/src"
  echo "deb-src http://deb.debian.org/debian bookworm main" >"$apt/sources.list"
  local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
              -o "Dir::State::Lists=$apt/lists")
  apt-get -qq "${opts[@]}" update
  (cd "$out/src" && apt-get -qq "${opts[@]}" source --download-only "$1")
  mkdir -p "$2"
  tar -xf "$out/src/${1}_"*.orig.tar.xz -C "$2" --strip-components=1
}

build_qt() {
  [ -f "$prefix/lib/cmake/Qt6Svg/Qt6SvgConfig.cmake" ] && return 0
  local started=$SECONDS
  fetch_source qt6-base "$out/src/qtbase"
  fetch_source qt6-svg "$out/src/qtsvg"
  # Features the game does not use are off. Debian's tarball lacks src/3rdparty/wintab
  # (tablet events off), and 6.4's Windows platform plugin needs OpenGL to compile
  # (dynamic OpenGL on Windows). The third-party libraries are Qt's bundled ones.
  cmake -S "$out/src/qtbase" -B "$out/qtbase-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_testlib=ON \
    -DFEATURE_tabletevent=OFF -DFEATURE_opengl=ON \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    >"$out/qtbase-configure.log"
  cmake --build "$out/qtbase-build" -j"$jobs" >"$out/qtbase-build.log"
  cmake --install "$out/qtbase-build" >/dev/null
  cmake -S "$out/src/qtsvg" -B "$out/qtsvg-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF >"$out/qtsvg-configure.log"
  cmake --build "$out/qtsvg-build" -j"$jobs" >"$out/qtsvg-build.log"
  cmake --install "$out/qtsvg-build" >/dev/null
  echo "Qt for Windows built in $(( (SECONDS - started) / 60 )) min: $(du -sh "$prefix" | cut -f1)"
}

# --- the game -------------------------------------------------------------------
build_game() {
  cmake --preset windows >/dev/null
  cmake --build --preset windows
}

# The folder a Windows machine needs: the game, Qt's and the compiler's run-time
# DLLs, the platform and style plugins, the SVG icon engine and Italian Qt texts.
runtime_dlls() {
  local gcc_dir
  gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
  echo "$gcc_dir/libstdc++-6.dll" "$gcc_dir/libgcc_s_seh-1.dll" \
       /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll
}

deploy() { # into folder, executables...
  local dir=$1
  shift
  rm -rf "$dir"
  mkdir -p "$dir/platforms" "$dir/styles" "$dir/iconengines" "$dir/imageformats" "$dir/translations"
  cp "$@" "$dir/"
  cp "$prefix"/bin/Qt6{Core,Gui,Widgets,Svg}.dll $(runtime_dlls) "$dir/"
  [ -f "$out/game/tests/tst_record.exe" ] && case "$*" in *tst_*) cp "$prefix/bin/Qt6Test.dll" "$dir/" ;; esac
  cp "$prefix/plugins/platforms/qwindows.dll" "$dir/platforms/"
  cp "$prefix/plugins/styles/qwindowsvistastyle.dll" "$dir/styles/"
  cp "$prefix/plugins/iconengines/qsvgicon.dll" "$dir/iconengines/"
  cp "$prefix/plugins/imageformats/qsvg.dll" "$dir/imageformats/"
  cp /usr/share/qt6/translations/qtbase_it.qm "$dir/translations/"
  x86_64-w64-mingw32-strip --strip-unneeded "$dir"/*.exe "$dir"/*.dll "$dir"/*/*.dll
}

package() {
  local version
  version=$(sed -n 's/^project(quorvela VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
  deploy "$out/Quorvela" "$out/game/quorvela.exe"
  (cd "$out" && rm -f "quorvela-$version-windows-x64.zip" && zip -qr "quorvela-$version-windows-x64.zip" Quorvela)
  makensis -V2 -DVERSION="$version" -DSOURCE="$out/Quorvela" -DOUTFILE="$out/quorvela-$version-setup.exe" \
    "$root/packaging/windows/installer.nsi"
  echo "folder $(du -sh "$out/Quorvela" | cut -f1), zip $(du -h "$out/quorvela-$version-windows-x64.zip" | cut -f1)," \
       "installer $(du -h "$out/quorvela-$version-setup.exe" | cut -f1)"
}

# --- proof under Wine ---------------------------------------------------------------
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

unit_tests() {
  local dir=$out/tests-deployed failed=0
  deploy "$dir" "$out"/game/tests/tst_*.exe
  for test in "$dir"/tst_*.exe; do
    if QT_QPA_PLATFORM=offscreen "$wine" "$test" >"$test.log" 2>&1; then
      echo "ok   - $(basename "$test") under Wine"
    else
      echo "FAIL - $(basename "$test") under Wine"
      tail -20 "$test.log"
      failed=1
    fi
  done
  return "$failed"
}

e2e() {
  # The game as a pupil starts it: the installed folder, under Wine on our own display.
  "$root/tests/e2e/play.sh" "$root/packaging/windows/wine-game.sh" "$out/wine-record" "$out/e2e-screens"
}

started=$SECONDS
build_qt
build_game
package
echo "built in $(( (SECONDS - started) / 60 )) min"
if [ "${1:-}" != "--no-tests" ]; then
  unit_tests
  e2e
fi
