# Sourced by the build scripts that build Qt from Debian's own source package.
# fetch_source NAME FOLDER WORK: the source package NAME, fetched into WORK/src with an
# apt configuration of WORK's own (the machine's sources stay as they are), and its
# upstream tarball unpacked into FOLDER; nothing when FOLDER is there already.
fetch_source() {
  [ -d "$2" ] && return 0
  local apt=$3/apt
  mkdir -p "$apt/lists/partial" "$3/src"
  echo "deb-src http://deb.debian.org/debian bookworm main" >"$apt/sources.list"
  local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
              -o "Dir::State::Lists=$apt/lists" -o APT::Sandbox::User=root)
  apt-get -qq "${opts[@]}" update
  (cd "$3/src" && apt-get -qq "${opts[@]}" source --download-only "$1")
  mkdir -p "$2"
  tar -xf "$3/src/${1}_"*.orig.tar.xz -C "$2" --strip-components=1
}

# configure_qtbase SOURCE BUILD PREFIX [cmake arguments...]: Qt's base configured with
# Ninja for a release build installed into PREFIX, its tools taken from the machine's
# own Qt (the same version), and without what the game does not use: SQL, network,
# D-Bus, printing, concurrency, XML, examples and tests. OpenGL stays on: both the
# Windows platform plugin and the browser's canvas need it in 6.4. The caller adds
# its platform's arguments; the output goes to BUILD/../qtbase-configure.log.
configure_qtbase() {
  local source=$1 build=$2 prefix=$3
  shift 3
  cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_opengl=ON \
    "$@" >"$(dirname "$build")/qtbase-configure.log" 2>&1
}
