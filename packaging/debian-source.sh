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
