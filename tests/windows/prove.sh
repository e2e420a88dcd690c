#!/usr/bin/env bash
# The Windows build that packaging/windows/build.sh made, proven: its signatures
# against the test's own authority when it signed with one (--test-signing); then,
# under Wine, the unit tests, the NSIS installer (a silent install, the end-to-end
# game against the installed quorvela.exe on an X server of the test's own, the game
# at 100, 150 and 200 %, a silent uninstall) and the MSI (an older version upgraded
# in place keeping the record, the game again, a silent removal keeping the record).
# Usage: tests/windows/prove.sh [--signatures-only]   (build.sh runs it at its end)
source "$(dirname "$0")/../shell/lib.sh"
open_test
cd "$(dirname "$0")/../.."
root=$PWD
out=$root/build-windows
source "$root/packaging/windows/wine.sh"
version=$(sed -n 's/^project(quorvela VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
setup=$out/quorvela-$version-setup.exe
msi=$out/quorvela-$version-x64.msi
old_msi=$out/test-upgrade/quorvela-0.9.0-x64.msi

# --- signing, proven with a certificate of the test's own ----------------------------
test_signed=""
if [ -n "${QUORVELA_SIGN_PKCS12:-}" ] && [ -d "$out/test-signing" ]; then test_signed=yes; fi
signed() { # file: its signature verifies against the test's authority
  osslsigncode verify -CAfile "$out/test-signing/ca.pem" -in "$1" >"$out/test-signing/verify.log" 2>&1
}
if [ -n "$test_signed" ]; then
  for file in "$out/Quorvela/quorvela.exe" "$out/Quorvela/quorvela-record-setup.exe" "$setup" "$msi"; do
    require "signed: $(basename "$file")" signed "$file"
  done
fi
if [ "${1:-}" = --signatures-only ]; then
  summary
  exit
fi

# --- proof under Wine ---------------------------------------------------------------
use_wine_prefix "$out/wineprefix"
at_exit stop_wine
installed=$WINEPREFIX/drive_c/Program\ Files/Quorvela
record_folder=$WINEPREFIX/drive_c/ProgramData/Quorvela

# Each test under Wine through the preset's emulator, with Qt's DLLs on WINEPATH.
require "the unit tests pass under Wine" ctest --preset windows

# The NSIS installer, silently.
stop_wine
# What the installer makes, not what an earlier run left.
rm -rf "$record_folder"
require "the installer runs silently under Wine" "$wine" "$setup" /S
stop_wine
for file in quorvela.exe qt.conf Qt6Widgets.dll platforms/qwindows.dll translations/qtbase_it.qm \
            "Disinstalla Quorvela.exe"; do
  check "installer: $file installed" test -f "$installed/$file"
done
check "installer: a Start-menu entry" \
  test -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvela.lnk"
for file in ${score_file} ${name_file} ${journal_file}; do
  check "installer: the record file $file" test -f "$record_folder/$file"
done
stop_on_failure
if [ -n "$test_signed" ]; then
  require "signed: the installed uninstaller" signed "$installed/Disinstalla Quorvela.exe"
fi

e2e() {
  # The installed game as a pupil starts it, under Wine on the test's own display.
  QUORVELA_E2E_ONE_ACCOUNT=1 "$root/tests/e2e/play.sh" "$root/packaging/windows/wine-game.sh" \
    "$record_folder" "$out/e2e-screens"
}
require "the end-to-end game plays the installed quorvela.exe" e2e

# The installed game at 100, 150 and 200 %: the system's DPI (Wine's LogPixels) at
# 96, 144 and 192, as a school's Windows sets it for large or crisp screens.
system_dpi() { # dots per inch
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  stop_wine
}
for dpi in 96 144 192; do
  system_dpi "$dpi"
  check "the installed game at $((dpi * 100 / 96)) %" \
    "$root/tests/e2e/scaled.sh" "$root/packaging/windows/wine-game.sh" "$(awk -v d="$dpi" 'BEGIN { print d / 96 }')" \
    "$out/e2e-screens/scaled-$((dpi * 100 / 96)).png"
  stop_wine
done
system_dpi 96
stop_on_failure

mkdir -p "$record_folder"
printf "7\r\n" >"$record_folder/${score_file}"
"$wine" "$installed/Disinstalla Quorvela.exe" /S || die "the uninstaller did not run"
# The uninstaller finishes in a copy of itself: wait for the folder to go.
for _ in $(seq 100); do [ -e "$installed" ] || break; sleep 0.2; done
stop_wine
uninstalled() {
  [ ! -e "$installed" ] && [ -f "$record_folder/${score_file}" ] &&
    [ ! -e "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvela.lnk" ]
}
require "uninstalled silently: program and Start-menu entry gone, the record kept" uninstalled

# The MSI as a school's technician deploys it: silently, per machine; an older
# version upgraded in place keeping the record; the game played; removed keeping
# the record.
windows_path() { echo "Z:$(realpath "$1" | tr / '\\')"; }
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
per_machine() { msiinfo export "$msi" Property | tr -d '\r' | grep -qx $'ALLUSERS\t1'; }
check "the MSI installs per machine (ALLUSERS=1)" per_machine
stop_wine
rm -rf "$record_folder"
msiexec /i "$(windows_path "$old_msi")" /qn || die "the older MSI did not install"
older_installed() {
  [ -f "$installed/quorvela.exe" ] && [ -n "$(menu_entry)" ] && [ -f "$record_folder/${journal_file}" ]
}
check "the older MSI left the game, its Start-menu entry and the record" older_installed
printf '7\r\n' >"$record_folder/${score_file}"
printf 'Anna\r\n' >"$record_folder/${name_file}"
msiexec /i "$(windows_path "$msi")" /qn || die "the MSI did not install over the older one"
upgraded() {
  local versions
  versions=$(versions_installed)
  [ "$versions" = "$version " ] && [ -f "$installed/quorvela.exe" ] &&
    [ "$(cat "$record_folder/${score_file}" "$record_folder/${name_file}")" = $'7\r\nAnna\r' ] && return 0
  echo "note - versions installed '$versions', record $(od -c "$record_folder/${score_file}" | head -1)"
  return 1
}
check "the MSI replaced the older one in place ($version installed alone) and kept the record" upgraded
check "the end-to-end game plays the MSI's quorvela.exe" e2e
# The end-to-end script takes its record away when it ends: one to keep.
mkdir -p "$record_folder"
printf '9\r\n' >"$record_folder/${score_file}"
msiexec /x "$(windows_path "$msi")" /qn || die "the MSI did not uninstall"
msi_removed() {
  [ ! -e "$installed/quorvela.exe" ] && [ -z "$(menu_entry)" ] && [ -f "$record_folder/${score_file}" ] &&
    [ -z "$(versions_installed)" ]
}
check "the MSI uninstalled silently: game and Start-menu entry gone, the record kept" msi_removed
summary
