#!/usr/bin/env bash
# Builds the Windows game on Debian 12, then proves it under Wine:
#   1. Qt (qtbase) for Windows from Debian's own source, with MinGW-w64, into
#      build-windows/qt (built once, reused when present: about 20 minutes on two
#      cores the first time, 18 to 25 measured);
#   2. Quorvela and its unit tests with the same toolchain (CMake preset "windows");
#   3. a folder that runs on Windows with nothing else installed, as a .zip and as
#      an NSIS installer;
#   4. under Wine, with tests/windows/prove.sh (--no-tests skips it): the unit tests,
#      the installer (silent install and uninstall), the end-to-end game against the
#      installed quorvela.exe on an X server of the test's own, and the MSI.
# Given a code-signing certificate (QUORVELA_SIGN_PKCS12, see sign.sh), the game, the
# installer and its uninstaller are signed. With --test-signing the script makes a
# throwaway certificate authority and signer, signs with them, and prove.sh verifies
# every signature against that authority (with --no-tests too).
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
toolchain=$root/packaging/windows/mingw-toolchain.cmake

# --- Qt for Windows, from Debian's source ------------------------------------
# Debian's source package of the very Qt version the Linux build uses. Qt SVG is not
# built: the mirror serves no source for it, and the pictures come as PNG.
source "$root/packaging/debian-source.sh"

build_qt() {
  [ -f "$prefix/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ] && return 0
  local started=$SECONDS
  fetch_source qt6-base "$out/src/qtbase" "$out"
  # Features the game does not use are off. Debian's tarball lacks src/3rdparty/wintab
  # (tablet events off), and 6.4's Windows platform plugin needs OpenGL to compile
  # (dynamic OpenGL on Windows). The third-party libraries are Qt's bundled ones.
  configure_qtbase "$out/src/qtbase" "$out/qtbase-build" "$prefix" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DFEATURE_vulkan=OFF -DFEATURE_testlib=ON \
    -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
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

# --- signing with a certificate of the test's own, for prove.sh to verify -----------
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

started=$SECONDS
[[ " $* " == *" --test-signing "* ]] && test_signer
build_qt
step=$SECONDS
build_game
package
echo "Quorvela for Windows built and packed in $(( (SECONDS - step) / 60 )) min $(( (SECONDS - step) % 60 )) s"
proofs=()
[[ " $* " != *" --no-tests "* ]] || proofs=(--signatures-only)
"$root/tests/windows/prove.sh" "${proofs[@]}"
echo "done in $(( (SECONDS - started) / 60 )) min"
