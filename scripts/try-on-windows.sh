#!/usr/bin/env bash
# Proves the Windows build under Wine, in Xvfb, with a fresh Wine prefix whose player is
# named Jiří (so %APPDATA% is C:\users\Jiří\AppData\Roaming), in a Czech locale. As root
# on Debian 12 or 13:
#   1. scripts/build-windows.sh: Qt for Windows (built once, cached), the game, its tests,
#      the zip and the installer;
#   2. the GoogleTest and Qt Test programs built for Windows, under Wine;
#   3. the zip unpacked into a folder with Czech letters and blanks in its name: the
#      end-to-end test of the real program (tests/e2e/e2e_test.py --wine), saving beside
#      itself; then the same copy made read-only: it saves to %APPDATA%\Morvel;
#   4. the installer with /S, the installed game started from its Start-menu shortcut and
#      saving to %APPDATA%\Morvel, the uninstaller with /S, after which only the save is
#      left.
# Prints the time each step took and a closing line "N passed, N failed". Not part of
# .ci/run: building Qt takes too long for every run.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh" test || exit 1
bash "$root/scripts/setup.sh" windows || exit 1

passed=0
failed=0
check() { # check WHAT STATUS
  if [ "$2" -eq 0 ]; then
    passed=$((passed + 1))
    echo "ok: $1"
  else
    failed=$((failed + 1))
    echo "FAIL: $1"
  fi
}
step_start=0
step() {
  [ "$step_start" -ne 0 ] && echo "   ($(($(date +%s) - step_start)) s)"
  step_start=$(date +%s)
  echo "== $1"
}

step "the Windows build"
bash "$root/scripts/build-windows.sh" >/tmp/morvel-build-windows.log 2>&1
check "scripts/build-windows.sh (log: /tmp/morvel-build-windows.log)" $?
build=$root/build-windows-qt
version=$(sed -n 's/^project(Morvel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
zip=$root/out/windows/morvel-$version-windows-x86_64.zip
setup=$root/out/windows/morvel-$version-windows-x86_64-setup.exe

# The pointer probe reads the X server, so it is the build machine's own program.
cmake -S "$root" -B "$root/build-wine-tools" -DMORVEL_BENCH=OFF >/dev/null &&
  cmake --build "$root/build-wine-tools" --target cursor_probe -j2 >/dev/null
check "the pointer probe" $?
probe=$root/build-wine-tools/tools/cursor_probe

work=$(mktemp -d /tmp/morvel-wine-XXXXXX)
xvfb_pid=
cleanup() {
  wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# Wine runs as a Czech Windows would: its code page for narrow strings is then 1250, which
# holds every Czech letter. (In Wine's default, 1252, a shortcut to a folder named Jiří does
# not resolve: Wine reads the shortcut's narrow path.)
if ! locale -a | grep -qx 'cs_CZ.utf8'; then
  localedef -i cs_CZ -f UTF-8 cs_CZ.UTF-8 || exit 1
fi
export MORVEL_WINE_LOCALE=cs_CZ.UTF-8
export WINEPREFIX=$work/prefix USER=Jiří LC_ALL=$MORVEL_WINE_LOCALE WINEDEBUG=-all
Xvfb :97 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=:97
step "a fresh Wine prefix"
wineboot -i >/dev/null 2>&1
wineserver -w
users=$WINEPREFIX/drive_c/users/Jiří
appdata=$users/AppData/Roaming
[ -d "$appdata" ]
check "Wine prefix for the player Jiří ($(wine --version))" $?

step "the tests built for Windows, under Wine"
(cd "$build" && ctest -j2 --output-on-failure >"$work/ctest.log" 2>&1)
check "ctest in build-windows-qt: $(grep -E 'tests passed' "$work/ctest.log")" $?
grep -E '^\s*[0-9]+ - .*\(Failed\)' "$work/ctest.log"

step "the zip, unpacked into a folder with Czech letters in its name"
folder="$work/Hry/Morvel – hráč"
mkdir -p "$folder" && (cd "$folder" && unzip -q "$zip")
game=$folder/Morvel
e2e() {
  python3 "$root/tests/e2e/e2e_test.py" --probe "$probe" --artifacts "$work/artifacts" "$@" |
    tee -a "$work/e2e.log"
  return "${PIPESTATUS[0]}"
}
e2e --wine "$game"
check "the real program from the unpacked zip: splash, menu, games to their end at both levels, saves beside itself" $?

step "the same copy, read-only: the save goes to %APPDATA%\\Morvel"
rm -f "$game/hra.dat"
# A read-only view of the folder, which root cannot write into either, in a mount
# namespace of its own.
unshare -m bash -c '
  mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" "$1" || exit 3
  shift
  python3 "$@"' _ "$game" "$root/tests/e2e/e2e_test.py" --probe "$probe" \
  --artifacts "$work/artifacts" --wine "$game" --only start_up_save_and_load \
  --saved-in "$appdata/Morvel" | tee -a "$work/e2e.log"
check "a read-only copy saves to %APPDATA%\\Morvel, and loads from there" "${PIPESTATUS[0]}"
[ ! -e "$game/hra.dat" ]
check "nothing was written beside the read-only copy" $?
rm -rf "$appdata/Morvel"

step "the installer, silently"
installed=$users/AppData/Local/Programs/Morvel
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Morvel.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvel'
wine "$setup" /S && wineserver -w
check "setup.exe /S" $?
(cd "$game" && find . -type f | sort) >"$work/zip-files"
(cd "$installed" && find . -type f ! -name uninstall.exe | sort) >"$work/installed-files"
cmp -s "$work/zip-files" "$work/installed-files" && [ -f "$installed/uninstall.exe" ]
check "every file of the zip installed in %LOCALAPPDATA%\\Programs\\Morvel, and the uninstaller" $?
[ -f "$shortcut" ]
check "a Start-menu entry" $?
wine reg query "$key" >"$work/reg" 2>&1
grep -q "DisplayVersion.*$version" "$work/reg" && grep -q EstimatedSize "$work/reg" &&
  grep -q 'uninstall.exe' "$work/reg"
check "an entry in Apps & features with the version, the size and the uninstaller" $?

step "the installed game, started from the Start menu"
e2e --wine "$installed" --start-with "$shortcut"
check "the Start-menu shortcut starts the installed game" $?
e2e --wine "$installed" --only start_up_save_and_load --saved-in "$appdata/Morvel"
check "the installed game plays and saves to %APPDATA%\\Morvel" $?
[ ! -e "$installed/hra.dat" ]
check "nothing was saved beside the installed game" $?

step "the uninstaller, silently"
wine "$installed/uninstall.exe" /S && wineserver -w
check "uninstall.exe /S" $?
[ ! -e "$installed" ]
check "every installed file and folder is gone" $?
[ ! -e "$shortcut" ] &&
  ! wine reg query "$key" >/dev/null 2>&1
check "the Start-menu entry and the Apps & features entry are gone" $?
[ -f "$appdata/Morvel/hra.dat" ]
check "the player's save is left" $?

step "done"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
