#!/usr/bin/env bash
# Builds the Windows game on Debian 12 and proves it under Wine:
#   1. Qt (qtbase) for Windows from Debian's own source, with MinGW-w64, into
#      build-windows/qt (built once, reused when present: about 20 minutes on two
#      cores the first time, 18 to 25 measured);
#   2. Quorvela and its unit tests with the same toolchain (CMake preset "windows");
#   3. a folder that runs on Windows with nothing else installed, as a .zip and as
#      an NSIS installer;
#   4. under Wine: the unit tests, the installer (silent install and uninstall),
#      and the end-to-end game against the installed quorvela.exe on an X server
#      of the test's own.
# Given a code-signing certificate (QUORVELA_SIGN_PKCS12, see sign.sh), the game, the
# installer and its uninstaller are signed. With --test-signing the script makes a
# throwaway certificate authority and signer, signs with them, and verifies every
# signature against that authority.
# Usage: packaging/windows/build.sh [--no-tests] [--test-signing]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=$root/build-windows
prefix=$out/qt
jobs=2
mkdir -p "$out"

# --- tools ------------------------------------------------------------------
"$root/.ci/setup" --windows >"$out/apt.log"
source "$root/packaging/windows/wine.sh"
toolchain=$root/packaging/windows/mingw-toolchain.cmake

# --- Qt for Windows, from Debian's source ------------------------------------
# Debian's source package of the very Qt version the Linux build uses, fetched with
# an apt configuration of our own (the machine's sources stay as they are). Qt SVG
# is not built: the mirror serves no source for it, and the pictures come as PNG.
fetch_source() { # source package name, folder
  [ -d "$2" ] && return 0
  local apt=$out/apt
  mkdir -p "$apt/lists/partial" "$out/src"
  echo "deb-src http://deb.debian.org/debian bookworm main" >"$apt/sources.list"
  local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
              -o "Dir::State::Lists=$apt/lists" -o APT::Sandbox::User=root)
  apt-get -qq "${opts[@]}" update
  (cd "$out/src" && apt-get -qq "${opts[@]}" source --download-only "$1")
  mkdir -p "$2"
  tar -xf "$out/src/${1}_"*.orig.tar.xz -C "$2" --strip-components=1
}

build_qt() {
  [ -f "$prefix/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ] && return 0
  local started=$SECONDS
  fetch_source qt6-base "$out/src/qtbase"
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
  echo "Qt for Windows built in $(( (SECONDS - started) / 60 )) min: $(du -sh "$prefix" | cut -f1)"
}

# --- the game -------------------------------------------------------------------
build_game() {
  # Qt's own texts in Italian: Debian's .qm files serve every platform.
  mkdir -p "$prefix/translations"
  cp /usr/share/qt6/translations/qtbase_it.qm "$prefix/translations/"
  cmake --preset windows >"$out/game-configure.log"
  cmake --build --preset windows >"$out/game-build.log"
}

# The folder a Windows machine needs: the game, Qt's and the compiler's run-time
# DLLs, the platform and style plugins, Qt's Italian texts, and the qt.conf that
# points Qt at them.
deploy() { # folder
  local dir=$1 gcc_dir
  gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
  rm -rf "$dir"
  mkdir -p "$dir/platforms" "$dir/styles" "$dir/translations"
  cp "$out/game/quorvela.exe" "$out/game/quorvela-record-setup.exe" "$out/game/qt.conf" \
     "$out/game/ico/quorvela.ico" "$dir/"
  cp "$prefix"/bin/Qt6{Core,Gui,Widgets}.dll "$gcc_dir/libstdc++-6.dll" "$gcc_dir/libgcc_s_seh-1.dll" \
     /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$dir/"
  cp "$prefix/plugins/platforms/qwindows.dll" "$dir/platforms/"
  cp "$prefix/plugins/styles/qwindowsvistastyle.dll" "$dir/styles/"
  cp "$prefix/translations/qtbase_it.qm" "$dir/translations/"
  x86_64-w64-mingw32-strip --strip-unneeded "$dir"/*.exe "$dir"/*.dll "$dir"/*/*.dll
  "$root/packaging/windows/sign.sh" "$dir/quorvela.exe"
  "$root/packaging/windows/sign.sh" "$dir/quorvela-record-setup.exe"
}

# The Windows Installer package of the deployed folder (quorvela.wxs): wixl-heat lists
# the folder's files; the record's setup program is named in quorvela.wxs itself.
msi() { # version, output
  local files=$out/msi-files.wxs
  mkdir -p "$(dirname "$2")"
  # wixl takes source paths relative to where it runs.
  (cd "$out" && find Quorvela -type f ! -name quorvela-record-setup.exe | sort |
    wixl-heat --prefix Quorvela/ --directory-ref INSTALLDIR --component-group GameFiles \
      --var var.SourceDir --win64 >"$files" &&
    wixl -a x64 -D Version="$1" -D SourceDir=Quorvela -D Win64=yes -o "$2" \
      "$root/packaging/windows/quorvela.wxs" "$files")
  "$root/packaging/windows/sign.sh" "$2"
}

package() {
  version=$(sed -n 's/^project(quorvela VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
  zip_file=$out/quorvela-$version-windows-x64.zip
  setup=$out/quorvela-$version-setup.exe
  msi=$out/quorvela-$version-x64.msi
  old_msi=$out/test-upgrade/quorvela-0.9.0-x64.msi
  deploy "$out/Quorvela"
  (cd "$out" && rm -f "$zip_file" && zip -qr "$zip_file" Quorvela)
  makensis -V2 -DVERSION="$version" -DSOURCE="$out/Quorvela" -DOUTFILE="$setup" \
    -DSIGN="$root/packaging/windows/sign.sh" "$root/packaging/windows/installer.nsi"
  msi "$version" "$msi"
  # An older version of the same package, to prove an upgrade in place.
  msi 0.9.0 "$old_msi"
  echo "folder $(du -sh "$out/Quorvela" | cut -f1), zip $(du -h "$zip_file" | cut -f1)," \
       "installer $(du -h "$setup" | cut -f1), MSI $(du -h "$msi" | cut -f1)"
}

# --- signing, proven with a certificate of the test's own ----------------------------
test_signer() {
  local dir=$out/test-signing
  rm -rf "$dir"
  mkdir -p "$dir"
  (cd "$dir" &&
    openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 \
      -subj "/CN=Quorvela test root" -addext "basicConstraints=critical,CA:TRUE" \
      -addext "keyUsage=critical,keyCertSign,cRLSign" &&
    openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Quorvela test signer" &&
    printf 'extendedKeyUsage=codeSigning\nkeyUsage=critical,digitalSignature\n' >signer.ext &&
    openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
      -extfile signer.ext -out signer.pem &&
    printf 'prova\n' >password &&
    openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -out signer.p12 \
      -passout file:password) >"$dir/openssl.log" 2>&1
  export QUORVELA_SIGN_PKCS12=$dir/signer.p12 QUORVELA_SIGN_PASSWORD_FILE=$dir/password
}

signed() { # file: its signature verifies against the test's authority
  osslsigncode verify -CAfile "$out/test-signing/ca.pem" -in "$1" >"$out/test-signing/verify.log" 2>&1
}

# --- proof under Wine ---------------------------------------------------------------
use_wine_prefix "$out/wineprefix"

unit_tests() {
  # Each test under Wine through the preset's emulator, with Qt's DLLs on WINEPATH.
  ctest --preset windows
}

installed=$WINEPREFIX/drive_c/Program\ Files/Quorvela
install_game() {
  stop_wine
  # What the installer makes, not what an earlier run left.
  rm -rf "$WINEPREFIX/drive_c/ProgramData/Quorvela"
  "$wine" "$setup" /S
  stop_wine
  local missing=0 file
  for file in quorvela.exe qt.conf Qt6Widgets.dll platforms/qwindows.dll translations/qtbase_it.qm \
              "Disinstalla Quorvela.exe"; do
    [ -f "$installed/$file" ] || { echo "FAIL - installer: $file missing"; missing=1; }
  done
  [ -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvela.lnk" ] ||
    { echo "FAIL - installer: no Start-menu entry"; missing=1; }
  for file in qvlmarc.txt qvlmarc1.txt qvlmarc.journal; do
    [ -f "$WINEPREFIX/drive_c/ProgramData/Quorvela/$file" ] || { echo "FAIL - installer: no record file $file"; missing=1; }
  done
  [ "$missing" = 0 ] && echo "ok   - installed silently under Wine, with its Start-menu entry and the record's folder and files"
  return "$missing"
}

# The MSI as a school's technician deploys it: silently, per machine; an older
# version upgraded in place keeping the record; the game played; removed keeping
# the record.
windows_path() { echo "Z:$(realpath "$1" | tr / '\\')"; }
record_folder=$WINEPREFIX/drive_c/ProgramData/Quorvela
# Wine's msi puts a per-machine package's shortcuts in the installing account's Start
# menu (ALLUSERS=1 or not); Windows puts them in the common one.
menu_entry() { ls "$WINEPREFIX"/drive_c/{ProgramData,users/*/AppData/Roaming}/Microsoft/Windows/Start\ Menu/Programs/Quorvela.lnk 2>/dev/null; }
msiexec() { # arguments
  "$wine" msiexec "$@"
  local status=$?
  stop_wine
  return "$status"
}
# Every Wine program of a session shows on the display of the session's first one:
# each look ends the session, so that the game's shows on the test's own display.
versions_installed() {
  "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    tr -d '\r' | sed -n 's/.*DisplayVersion[[:space:]]*REG_SZ[[:space:]]*//p' | sort | tr '\n' ' '
  stop_wine
}
msi_proof() {
  local status=0
  if msiinfo export "$msi" Property | tr -d '\r' | grep -qx $'ALLUSERS\t1'; then
    echo "ok   - the MSI installs per machine (ALLUSERS=1)"
  else
    echo "FAIL - the MSI is not per machine"
    status=1
  fi
  stop_wine
  rm -rf "$record_folder"
  msiexec /i "$(windows_path "$old_msi")" /qn || { echo "FAIL - the older MSI did not install"; return 1; }
  [ -f "$installed/quorvela.exe" ] && [ -n "$(menu_entry)" ] && [ -f "$record_folder/qvlmarc.journal" ] ||
    { echo "FAIL - the older MSI left no game, Start-menu entry or record"; status=1; }
  printf '7\r\n' >"$record_folder/qvlmarc.txt"
  printf 'Anna\r\n' >"$record_folder/qvlmarc1.txt"
  msiexec /i "$(windows_path "$msi")" /qn || { echo "FAIL - the MSI did not install over the older one"; return 1; }
  if [ "$(versions_installed)" = "$version " ] && [ -f "$installed/quorvela.exe" ] &&
     [ "$(cat "$record_folder/qvlmarc.txt" "$record_folder/qvlmarc1.txt")" = $'7\r\nAnna\r' ]; then
    echo "ok   - the MSI replaced the older one in place ($(versions_installed)installed) and kept the record"
  else
    echo "FAIL - upgrade: versions installed '$(versions_installed)', record $(od -c "$record_folder/qvlmarc.txt" | head -1)"
    status=1
  fi
  e2e || status=1
  # The end-to-end script takes its record away when it ends: one to keep.
  mkdir -p "$record_folder"
  printf '9\r\n' >"$record_folder/qvlmarc.txt"
  msiexec /x "$(windows_path "$msi")" /qn || { echo "FAIL - the MSI did not uninstall"; return 1; }
  if [ ! -e "$installed/quorvela.exe" ] && [ -z "$(menu_entry)" ] && [ -f "$record_folder/qvlmarc.txt" ] &&
     [ -z "$(versions_installed)" ]; then
    echo "ok   - the MSI uninstalled silently: game and Start-menu entry gone, the record kept"
  else
    echo "FAIL - MSI uninstall"
    status=1
  fi
  return "$status"
}

# The installed game at 100, 150 and 200 %: the system's DPI (Wine's LogPixels) at
# 96, 144 and 192, as a school's Windows sets it for large or crisp screens.
scaled() {
  local dpi scale status=0
  for dpi in 96 144 192; do
    scale=$(awk -v d="$dpi" 'BEGIN { print d / 96 }')
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    stop_wine
    "$root/tests/e2e/scaled.sh" "$root/packaging/windows/wine-game.sh" "$scale" \
      "$out/e2e-screens/scaled-$((dpi * 100 / 96)).png" || status=1
    stop_wine
  done
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
  stop_wine
  return "$status"
}

uninstall_game() {
  mkdir -p "$WINEPREFIX/drive_c/ProgramData/Quorvela"
  printf "7\r\n" >"$WINEPREFIX/drive_c/ProgramData/Quorvela/qvlmarc.txt"
  "$wine" "$installed/Disinstalla Quorvela.exe" /S
  # The uninstaller finishes in a copy of itself: wait for the folder to go.
  for _ in $(seq 100); do [ -e "$installed" ] || break; sleep 0.2; done
  stop_wine
  if [ ! -e "$installed" ] && [ -f "$WINEPREFIX/drive_c/ProgramData/Quorvela/qvlmarc.txt" ] &&
     [ ! -e "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvela.lnk" ]; then
    echo "ok   - uninstalled silently: program and Start-menu entry gone, the record kept"
  else
    echo "FAIL - uninstall"
    return 1
  fi
}

e2e() {
  # The installed game as a pupil starts it, under Wine on the test's own display.
  QUORVELA_E2E_ONE_ACCOUNT=1 "$root/tests/e2e/play.sh" "$root/packaging/windows/wine-game.sh" \
    "$WINEPREFIX/drive_c/ProgramData/Quorvela" "$out/e2e-screens"
}

started=$SECONDS
[[ " $* " == *" --test-signing "* ]] && test_signer
build_qt
step=$SECONDS
build_game
package
echo "Quorvela for Windows built and packed in $(( (SECONDS - step) / 60 )) min $(( (SECONDS - step) % 60 )) s"
if [ -n "${QUORVELA_SIGN_PKCS12:-}" ] && [ -d "$out/test-signing" ]; then
  for file in "$out/Quorvela/quorvela.exe" "$out/Quorvela/quorvela-record-setup.exe" "$setup" "$msi"; do
    if signed "$file"; then echo "ok   - signed: $(basename "$file")"; else echo "FAIL - not signed: $file"; exit 1; fi
  done
fi
if [[ " $* " != *" --no-tests "* ]]; then
  trap stop_wine EXIT
  unit_tests
  install_game
  if [ -n "${QUORVELA_SIGN_PKCS12:-}" ] && [ -d "$out/test-signing" ]; then
    if signed "$installed/Disinstalla Quorvela.exe"; then echo "ok   - signed: the installed uninstaller"
    else echo "FAIL - the installed uninstaller is not signed"; exit 1; fi
  fi
  e2e
  scaled
  uninstall_game
  msi_proof
fi
echo "done in $(( (SECONDS - started) / 60 )) min"
