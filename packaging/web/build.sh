#!/usr/bin/env bash
# Builds the game for the browser on Debian 12, with Debian's own emscripten:
#   1. Qt (qtbase) for WebAssembly from Debian's own source, static and without
#      threads, into build-web/qt (built once, reused when present);
#   2. Quorvela for WebAssembly (CMake preset "web");
#   3. build-web/site: the folder a teacher copies to any web server, with each
#      file also compressed beside it (.gz and .br);
#   4. unless --no-tests, tests/web/prove.sh: a round in Debian's chromium, headless.
# Usage: packaging/web/build.sh [--no-tests]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=$root/build-web
prefix=$out/qt
jobs=2
mkdir -p "$out"

# --- tools ------------------------------------------------------------------------
"$root/.ci/setup" --web >"$out/apt.log"
# Qt's scripts find emscripten through an emsdk folder; Debian's emscripten is not laid
# out as one (its compiler drivers are in /usr/bin), so a small one points at it.
export EMSDK=$out/emsdk
em=$EMSDK/upstream/emscripten
[ -L "$em" ] && rm "$em"
mkdir -p "$em"
for f in /usr/share/emscripten/*; do ln -sfn "$f" "$em/"; done
for tool in emcc em++ emar emranlib; do ln -sfn "/usr/bin/$tool" "$em/$tool"; done
echo "EMSCRIPTEN_ROOT = emsdk_path + '/upstream/emscripten'" >"$EMSDK/.emscripten"
# Debian's emscripten runs its JavaScript tools with Debian's node modules, whichever
# node comes first on PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# --- Qt for WebAssembly, from Debian's source --------------------------------------
source "$root/packaging/debian-source.sh"

build_qt() {
  [ -f "$prefix/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ] && return 0
  local started=$SECONDS
  fetch_source qt6-base "$out/src/qtbase" "$out"
  # Qt 6.4 asks for emscripten 3.1.14 and only warns at Debian's 3.1.6. The game needs
  # no SQL (whose sqlite Debian's source drops), network, D-Bus or printing. -sMINIFY_HTML=0
  # works round an emscripten 3.1.6 failure when minifying the HTML at -O1 and above.
  configure_qtbase "$out/src/qtbase" "$out/qtbase-build" "$prefix" \
    -DQT_QMAKE_TARGET_MKSPEC=wasm-emscripten -DBUILD_SHARED_LIBS=OFF -DFEATURE_thread=OFF \
    -DFEATURE_testlib=OFF -DCMAKE_EXE_LINKER_FLAGS=-sMINIFY_HTML=0
  cmake --build "$out/qtbase-build" -j"$jobs" >"$out/qtbase-build.log"
  cmake --install "$out/qtbase-build" >/dev/null
  echo "Qt for WebAssembly built in $(( (SECONDS - started) / 60 )) min: $(du -sh "$prefix" | cut -f1)"
}

# --- the game ----------------------------------------------------------------------
build_game() {
  cmake --preset web >"$out/game-configure.log"
  cmake --build --preset web >"$out/game-build.log"
}

# --- the site ------------------------------------------------------------------------
# What a web server serves: the page, Qt's loader, the game, its icons, its manifest
# and service worker; each also compressed beside it (.br and .gz), for a server that
# serves precompressed files. The service worker's cache is named after the files.
make_site() { # folder, module
  local dir=$1 module=$2 game=$out/game web=$root/packaging/web
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$web/index.html" "$web/touch.js" "$web/manifest.webmanifest" "$prefix/plugins/platforms/qtloader.js" \
     "$game/$module.js" "$game/$module.wasm" "$dir/"
  sed -i "s/data-module=\"quorvela\"/data-module=\"$module\"/" "$dir/index.html"
  cp "$root/ui/pictures/quorvela.svg" "$dir/"
  for size in 192 512; do
    rsvg-convert -w $size -h $size -o "$dir/quorvela-$size.png" "$root/ui/pictures/quorvela.svg"
  done
  local version
  version=$(cd "$dir" && cat ./* | sha256sum | cut -c1-16)
  sed "s/@VERSION@/$version/" "$web/sw.js" >"$dir/sw.js"
  for f in "$dir"/*; do
    case $f in *.png) continue ;; esac
    brotli -q 11 -k -f "$f"
    gzip -9 -n -k -f "$f"
  done
}

report() {
  local dir=$1 raw=0 br=0 gz=0 f
  for f in "$dir"/*; do
    case $f in *.br|*.gz) continue ;; esac
    raw=$((raw + $(stat -c %s "$f")))
    if [ -f "$f.br" ]; then br=$((br + $(stat -c %s "$f.br"))); else br=$((br + $(stat -c %s "$f"))); fi
    if [ -f "$f.gz" ]; then gz=$((gz + $(stat -c %s "$f.gz"))); else gz=$((gz + $(stat -c %s "$f"))); fi
  done
  echo "site $dir: $((raw / 1024)) KiB, $((br / 1024)) KiB with brotli, $((gz / 1024)) KiB with gzip"
}

started=$SECONDS
build_qt
step=$SECONDS
build_game
make_site "$out/site" quorvela
# The reference for the start-up figure; never published.
make_site "$out/hello" quorvela-hello
echo "Quorvela for the browser built in $(( (SECONDS - step) / 60 )) min $(( (SECONDS - step) % 60 )) s"
report "$out/site"
if [[ " $* " != *" --no-tests "* ]]; then
  "$root/tests/web/prove.sh"
fi
echo "done in $(( (SECONDS - started) / 60 )) min"
