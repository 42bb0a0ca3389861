#!/usr/bin/env bash
# Proves the Windows build under Wine, in Xvfb, with a fresh Wine prefix whose player is
# named Jiří (so %APPDATA% is C:\users\Jiří\AppData\Roaming), in a Czech locale, and
# none of this machine's fonts. As root on Debian 12 or 13:
#   1. scripts/build-windows.sh: Qt for Windows (built once, cached), the game, its tests,
#      the zip and the installer, from an empty build folder; then once more in another
#      empty folder, which must give the same bytes;
#   2. the GoogleTest and Qt Test programs built for Windows, under Wine;
#   3. the zip unpacked into a folder with Czech letters and blanks in its name: the
#      end-to-end test of the real program (tests/e2e/e2e_test.py --wine), saving beside
#      itself; then the same copy made read-only: it saves to %APPDATA%\Morvel;
#      The same copy in the temporary folder (as Explorer runs a program opened inside a
#      zip) saves to %APPDATA%\Morvel. With another Qt program's variables in the player's
#      environment (HKCU\Environment), a Qt program without the game's guard shows Qt's
#      error box instead of its window, and the game starts all the same. --help and
#      --version through cmd, a file dropped on the program; with openbox running, every
#      text of the screens laid out on Wine's own windows, and screenshots of them;
#   4. the installer refusing a folder of other programs' files (with /S /D= and on its
#      folder page); an earlier version installed, then the upgrade with /S while the game
#      runs (it waits, then installs and removes what only the earlier version shipped);
#      the installed game started from its Start-menu shortcut and saving to
#      %APPDATA%\Morvel; the uninstaller with /S while the game runs (it waits), after
#      which only the save is left;
#   5. a read-only hra.dat beside the program, where this Wine refuses to replace one as
#      Windows does; a second prefix whose player is Ελένη (outside code page 1250): the
#      copy in a Greek-named folder saves beside itself, and read-only, to her %APPDATA%.
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
# window_named PATTERN HALF_SECONDS: waits that long at most for a window whose name
# matches PATTERN, and prints its id.
window_named() {
  local id
  for _ in $(seq "$2"); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && echo "$id" && return 0
    sleep 0.5
  done
  return 1
}
# A program that crashes ends at once with its status, as under Windows without a
# debugger: Wine would start winedbg, whose crash window waits for a click that never comes.
no_crash_debugger() {
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
    /t REG_SZ /d '' /f >/dev/null 2>&1 &&
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto \
      /t REG_SZ /d 1 /f >/dev/null 2>&1
}
step_start=0
step() {
  [ "$step_start" -ne 0 ] && echo "   ($(($(date +%s) - step_start)) s)"
  step_start=$(date +%s)
  echo "== $1"
}

step "the Windows build, twice from empty build folders"
build=$root/build-windows-qt
rm -rf "$build"
bash "$root/scripts/build-windows.sh" >/tmp/morvel-build-windows.log 2>&1
check "scripts/build-windows.sh (log: /tmp/morvel-build-windows.log)" $?
version=$(sed -n 's/^project(Morvel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
zip=$root/out/windows/morvel-$version-windows-x86_64.zip
setup=$root/out/windows/morvel-$version-windows-x86_64-setup.exe
# The second build in another empty folder, its zip and installer elsewhere: the same bytes.
again=$(mktemp -d /tmp/morvel-again-XXXXXX)
MORVEL_WINDOWS_BUILD=$again/build MORVEL_WINDOWS_OUT=$again/out \
  bash "$root/scripts/build-windows.sh" >/tmp/morvel-build-windows-again.log 2>&1 &&
  cmp "$zip" "$again/out/${zip##*/}" && cmp "$setup" "$again/out/${setup##*/}"
check "a second build in another empty folder gives the same zip and installer, byte for byte ($(stat -c %s "$zip") and $(stat -c %s "$setup") bytes)" $?
rm -rf "$again"

# The pointer probe reads the X server, so it is the build machine's own program.
cmake -S "$root" -B "$root/build-wine-tools" -DMORVEL_BENCH=OFF >/dev/null &&
  cmake --build "$root/build-wine-tools" --target cursor_probe -j2 >/dev/null
check "the pointer probe" $?
probe=$root/build-wine-tools/tools/cursor_probe

work=$(mktemp -d /tmp/morvel-wine-XXXXXX)
xvfb_pid=
openbox_pid=
managed_pid=
cleanup() {
  wineserver -k 2>/dev/null
  for pid in "$openbox_pid" "$managed_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
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
# Wine would lend its programs every font of this machine, DejaVu Sans among them, which a
# Windows has not got: it sees only its own (fonts-wine, in a Windows's place). The game's
# texts then show in the face it carries, or in a substitute. (With no font at all, Wine's
# installer windows crash.)
printf '<?xml version="1.0"?>\n<fontconfig><dir>/usr/share/wine/fonts</dir><cachedir>%s</cachedir></fontconfig>\n' \
  "$work/font-cache" >"$work/wine-fonts.conf"
export FONTCONFIG_FILE=$work/wine-fonts.conf
Xvfb :97 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=:97
step "a fresh Wine prefix"
wineboot -i >/dev/null 2>&1
wineserver -w
no_crash_debugger
users=$WINEPREFIX/drive_c/users/Jiří
appdata=$users/AppData/Roaming
[ -d "$appdata" ]
check "Wine prefix for the player Jiří ($(wine --version))" $?

step "the tests built for Windows, under Wine"
(cd "$build" && ctest -j2 --output-on-failure >"$work/ctest.log" 2>&1)
tested=$?
check "ctest in build-windows-qt: $(grep -E 'tests passed' "$work/ctest.log")" "$tested"
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
# The save-and-load scenario on a read-only view of the copy in FOLDER, which root cannot
# write into either, in a mount namespace of its own; the save must land in SAVED_IN. The
# mounts are made private in the namespace, not by unshare: inside try-on-debian.sh's
# chroot the root is no mount point, and unshare cannot change it (the namespace around
# the chroot is private already).   e2e_read_only FOLDER SAVED_IN
e2e_read_only() {
  unshare -m --propagation unchanged bash -c '
    mount --make-rprivate / 2>/dev/null || true
    mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" "$1" || exit 3
    shift
    python3 "$@"' _ "$1" "$root/tests/e2e/e2e_test.py" --probe "$probe" \
    --artifacts "$work/artifacts" --wine "$1" --only start_up_save_and_load \
    --saved-in "$2" | tee -a "$work/e2e.log"
  return "${PIPESTATUS[0]}"
}
e2e --wine "$game"
check "the real program from the unpacked zip: splash, menu, games to their end at both levels, saves beside itself" $?

step "the same copy from a console, and with a file dropped on it"
(cd "$game" && wine cmd /c 'morvel.exe --version' 2>/dev/null) | tr -d '\r' >"$work/version"
[ "$(head -1 "$work/version")" = "morvel $version" ] &&
  grep -q 'Qt 6\.[0-9.]* pod licencí GNU LGPL 3\.0' "$work/version" &&
  grep -q 'složka licences vedle programu' "$work/version"
check "morvel.exe --version through cmd prints the version, then Qt's notice" $?
(cd "$game" && wine cmd /c 'morvel.exe --help' 2>/dev/null) | tr -d '\r' |
  grep -q '^Použití: morvel \[volby\]$'
check "morvel.exe --help through cmd prints the Czech help" $?
# As Explorer starts it for a file dropped on it: no console, nothing redirected. The
# player is told in a box (a window named Morvel alone), and after its OK the game starts.
# What xdotool says of the key is no answer: Wine 10 closes the box on the key's press, and
# xdotool then fails to send its release to a window that is gone.
wine start /unix "$game/morvel.exe" "$(winepath -w "$game/README.txt")" >/dev/null 2>&1
told=$(window_named '^Morvel$' 40) && { xdotool key --window "$told" Return 2>/dev/null || :; } &&
  window_named '^Morvel   tým Morvel' 40 >/dev/null
check "a file dropped on morvel.exe: a box says it is left aside, then the game starts" $?
wineserver -k 2>/dev/null
wineserver -w

step "the texts on Wine's own windows, with a window manager"
# Wine paints the menu and the boxes only with a window manager running. It runs on an X
# server of its own, which goes with it: the other steps know the windows as Wine places
# them without one.
Xvfb :98 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
managed_pid=$!
export DISPLAY=:98
sleep 1
openbox >/dev/null 2>&1 &
openbox_pid=$!
sleep 2
# The Qt test that lays every text out, on real windows of Wine's, not offscreen.
(cd "$build" && MORVEL_QTEST_PLATFORM=windows MORVEL_QTEST_FUNCTIONS=everyTextIsWhole \
  ctest -R '^test_game$' --output-on-failure >"$work/texts.log" 2>&1)
check "every text of the splash, the menu and the game window is whole and in DejaVu Sans Bold" $?
# For a look: the menu as the game starts, then a game under way (kept after the run).
screens=/tmp/morvel-wine-screens
rm -rf "$screens" && mkdir -p "$screens"
wine "$game/morvel.exe" >/dev/null 2>&1 &
menu=$(window_named '^Form1$' 60) && sleep 2 && import -window root "$screens/menu.png" &&
  eval "$(xdotool getwindowgeometry --shell "$menu")" &&
  xdotool mousemove $((X + 278)) $((Y + 189)) click 1 && sleep 3 &&
  ! xdotool search --onlyvisible --name '^Form1$' >/dev/null 2>&1 && import -window root "$screens/game.png"
check "the menu and the game window under openbox (screenshots in $screens)" $?
wineserver -k 2>/dev/null
wineserver -w
kill "$openbox_pid" "$managed_pid" 2>/dev/null
wait "$openbox_pid" "$managed_pid" 2>/dev/null
export DISPLAY=:97

step "the same copy, read-only: the save goes to %APPDATA%\\Morvel"
rm -f "$game/hra.dat"
e2e_read_only "$game" "$appdata/Morvel"
check "a read-only copy saves to %APPDATA%\\Morvel, and loads from there" $?
[ ! -e "$game/hra.dat" ]
check "nothing was written beside the read-only copy" $?
rm -rf "$appdata/Morvel"

step "the same copy in the temporary folder, as Explorer runs a program inside a zip"
# Where this Windows has its temporary folder (Wine: C:\users\NAME\Temp), asked in UTF-16:
# the console's code page has no "ř".
temp=$(wine cmd /u /c 'echo %TEMP%' | iconv -f UTF-16LE -t UTF-8 | tr -d '\r\n')
temporary=$(winepath -u "$temp")/Temp1_morvel-$version-windows-x86_64.zip
mkdir -p "$temporary" && cp -r "$game" "$temporary/"
e2e --wine "$temporary/Morvel" --only start_up_save_and_load --saved-in "$appdata/Morvel"
check "a copy in the temporary folder saves to %APPDATA%\\Morvel" $?
[ ! -e "$temporary/Morvel/hra.dat" ]
check "nothing was saved beside the copy in the temporary folder" $?
rm -rf "$temporary" "$appdata/Morvel"

step "another Qt program's variables in the player's environment"
# As another Qt program may leave them: its plugin folder, whose qwindows.dll this Qt
# cannot load, and a platform the game's folder does not have.
foreign=$WINEPREFIX/drive_c/Cizi/plugins
mkdir -p "$foreign/platforms" && printf 'not a DLL' >"$foreign/platforms/qwindows.dll"
environment() { # environment add|delete
  for pair in 'QT_PLUGIN_PATH=C:\Cizi\plugins' \
    'QT_QPA_PLATFORM_PLUGIN_PATH=C:\Cizi\plugins\platforms' 'QT_QPA_PLATFORM=offscreen'; do
    if [ "$1" = add ]; then
      wine reg add 'HKCU\Environment' /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f
    else
      wine reg delete 'HKCU\Environment' /v "${pair%%=*}" /f
    fi
  done >/dev/null 2>&1
  wineserver -k 2>/dev/null
  wineserver -w
}
environment add
# The proof that the variables do stop Qt: a Qt program of the same folder without the
# game's guard shows Qt's box "no Qt platform plugin could be initialized" (a window of
# its name) instead of its own window (257 by 237 pixels).
unguarded=$work/unguarded
cp -r "$game" "$unguarded" && cp "$build/tools/empty-window.exe" "$unguarded/"
wine "$unguarded/empty-window.exe" >/dev/null 2>&1 &
unguarded_pid=$!
sleep 15
xwininfo -root -tree | grep '"empty-window": ("empty-window.exe"' >"$work/unguarded-windows"
[ -s "$work/unguarded-windows" ] && ! grep -q ' 257x237+' "$work/unguarded-windows"
check "with those variables a Qt program without the guard shows Qt's error box, not its window" $?
kill -9 "$unguarded_pid" 2>/dev/null
wait "$unguarded_pid" 2>/dev/null
wineserver -k 2>/dev/null
e2e --wine "$game" --only start_up_save_and_load
check "with those variables the game starts, plays and saves all the same" $?
environment delete
rm -rf "$unguarded" "$WINEPREFIX/drive_c/Cizi"

step "the installer refuses a folder of other programs"
# The names of our files, as other programs have them too.
others=$WINEPREFIX/drive_c/Hry
mkdir -p "$others/licences"
for f in README.txt Qt6Core.dll libstdc++-6.dll uninstall.exe licences/morvel.txt; do
  echo "a file of another program: $f" >"$others/$f"
done
(cd "$others" && find . -type f -exec sha256sum {} + | sort) >"$work/others-before"
wine "$setup" /S '/D=C:\Hry'
refused=$?
wineserver -w
(cd "$others" && find . -type f -exec sha256sum {} + | sort) >"$work/others-after"
[ "$refused" -eq 2 ] && cmp -s "$work/others-before" "$work/others-after"
check "setup.exe /S /D=C:\\Hry ends with status 2 (got $refused) and leaves every file there as it was" $?
# On the folder page (the folder given by /D=, as if typed): "Instalovat" brings a
# message box (its title has no blank at its end, the page's has), and after its OK the
# page is still there; Esc then ends setup. Nothing is written.
wine "$setup" '/D=C:\Hry' >/dev/null 2>&1 &
setup_pid=$!
page=$(window_named '^Instalace Morvel' 60)
boxes() { xwininfo -root -tree | grep -c '"Instalace Morvel": ('; }
xdotool key --window "$page" Return 2>/dev/null
sleep 2
refusing=$(boxes)
xdotool key --window "$page" Return 2>/dev/null
sleep 2
[ "$refusing" -eq 1 ] && [ "$(boxes)" -eq 0 ] && kill -0 "$setup_pid" 2>/dev/null
on_page=$?
xdotool key --window "$page" Escape 2>/dev/null
sleep 2
kill -0 "$setup_pid" 2>/dev/null && kill -9 "$setup_pid"
wait "$setup_pid" 2>/dev/null
wineserver -w
(cd "$others" && find . -type f -exec sha256sum {} + | sort) >"$work/others-after"
[ "$on_page" -eq 0 ] && cmp -s "$work/others-before" "$work/others-after"
check "the folder page refuses C:\\Hry with a message and stays, and nothing there changes" $?
rm -rf "$others"

step "an earlier version, silently"
installed=$users/AppData/Local/Programs/Morvel
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Morvel.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvel'
# The zip's Morvel folder and a file that only the earlier version shipped.
earlier=$work/earlier/Morvel
mkdir -p "$earlier" && (cd "$work/earlier" && unzip -q "$zip")
echo "only the earlier version has me" >"$earlier/styles/morvel-earlier.dll"
# A version of three numbers: the installer's version information has the four Windows
# wants.
bash "$root/scripts/build-windows.sh" installer "$earlier" 1.2.1 "$work/earlier-setup.exe" \
  >"$work/earlier-setup.log" 2>&1 &&
  python3 "$root/tools/pe_check.py" --version 1.2.1.0 "$work/earlier-setup.exe" &&
  wine "$work/earlier-setup.exe" /S && wineserver -w && [ -f "$installed/styles/morvel-earlier.dll" ]
check "an earlier version 1.2.1 (1.2.1.0 in its version information) installed by its setup.exe /S" $?
# As the versions before the installer's mark left their folder: the registry proves it
# ours.
rm -f "$installed/morvel-instalace.txt"

# Starts the installed game and waits for its window: its mutex exists then.
start_game() {
  wine "$installed/morvel.exe" >/dev/null 2>&1 &
  game_pid=$!
  window_named '^Morvel' 60 >/dev/null
}
# Runs a silent setup or uninstaller while the game runs: five seconds later the installed
# files must be as they were; once the game has ended it must go on and end with status 0.
waits_for_game() { # waits_for_game PROGRAM ARGS...
  start_game || return 1
  (cd "$installed" && find . -type f -exec sha256sum {} + | sort) >"$work/running-before"
  wine "$@" &
  local waiting=$! untouched=0 status=0
  sleep 5
  (cd "$installed" && find . -type f -exec sha256sum {} + | sort) >"$work/running-after"
  cmp -s "$work/running-before" "$work/running-after" || untouched=1
  kill -9 "$game_pid" 2>/dev/null
  wait "$game_pid" 2>/dev/null
  wait "$waiting" || status=$?
  wineserver -w
  [ "$untouched" -eq 0 ] && [ "$status" -eq 0 ]
}

step "the upgrade, silently, while the game runs"
waits_for_game "$setup" /S
check "setup.exe /S waits while the game runs, then installs" $?
unzip -Z1 "$zip" | grep -v '/$' | sed 's|^Morvel/|./|' | sort >"$work/zip-files"
(cd "$installed" && find . -type f ! -name uninstall.exe ! -name morvel-instalace.txt | sort) \
  >"$work/installed-files"
cmp -s "$work/zip-files" "$work/installed-files" && [ -f "$installed/uninstall.exe" ] &&
  [ "$(head -1 "$installed/morvel-instalace.txt" | tr -d '\r')" = \
    "$(sed -n 's/.*InstallMarkerText = "\(.*\)";/\1/p' "$root/savegame/savegame.h")" ]
check "every file of the zip in %LOCALAPPDATA%\\Programs\\Morvel, the uninstaller and the installer's mark, and nothing that only the earlier version shipped" $?
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

step "the uninstaller, silently, while the game runs"
waits_for_game "$installed/uninstall.exe" /S
check "uninstall.exe /S waits while the game runs, then uninstalls" $?
[ ! -e "$installed" ]
check "every installed file and folder is gone" $?
[ ! -e "$shortcut" ] &&
  ! wine reg query "$key" >/dev/null 2>&1
check "the Start-menu entry and the Apps & features entry are gone" $?
[ -f "$appdata/Morvel/hra.dat" ]
check "the player's save is left" $?

step "a read-only hra.dat beside the program"
# Windows refuses to replace a read-only file; whether this Wine does, asked as the game
# replaces hra.dat (MoveFileEx through cmd's move).
echo old >"$game/probe.txt" && echo new >"$game/probe-new.txt"
(cd "$game" && wine attrib +r probe.txt) >/dev/null 2>&1
(cd "$game" && wine cmd /c 'attrib probe.txt') 2>/dev/null | grep -q '^A *R ' ||
  [ "$(stat -c %a "$game/probe.txt")" = 444 ]
check "the probe file is read-only as Windows sees it" $?
(cd "$game" && wine cmd /c 'move /y probe-new.txt probe.txt') >/dev/null 2>&1
if [ "$(cat "$game/probe.txt")" = old ]; then
  wine attrib -r "$(winepath -w "$game/probe.txt")" >/dev/null 2>&1
  rm -f "$game/probe.txt" "$game/probe-new.txt"
  echo "Wine refuses it too: the game must save to %APPDATA%\\Morvel"
  rm -f "$game/hra.dat" && cp "$game/README.txt" "$game/hra.dat" &&
    (cd "$game" && wine attrib +r hra.dat) >/dev/null 2>&1
  e2e --wine "$game" --only start_up_save_and_load --saved-in "$appdata/Morvel" --told-in-a-box
  check "with a read-only hra.dat beside it, the copy saves to %APPDATA%\\Morvel" $?
  rm -rf "$appdata/Morvel"
  (cd "$game" && wine attrib -r hra.dat) >/dev/null 2>&1
  rm -f "$game/hra.dat"
else
  rm -f "$game/probe.txt" "$game/probe-new.txt"
  echo "note: $(wine --version) replaces a read-only file, which Windows refuses; the"
  echo "      game's answer to that refusal is proven by its unit tests, not here"
fi

step "a player whose name is outside code page 1250"
# Greek letters, which a Czech Windows's narrow code page has not got: in the player's
# folders (%APPDATA%) and in the folder of the copy.
jiri_prefix=$WINEPREFIX
wineserver -k 2>/dev/null
wineserver -w
export WINEPREFIX=$work/prefix-greek USER=Ελένη
wineboot -i >/dev/null 2>&1
wineserver -w
no_crash_debugger
greek_appdata=$WINEPREFIX/drive_c/users/Ελένη/AppData/Roaming
greek_copy="$WINEPREFIX/drive_c/users/Ελένη/Μόρβελ"
[ -d "$greek_appdata" ] && mkdir -p "$greek_copy" && (cd "$greek_copy" && unzip -q "$zip")
check "a Wine prefix for the player Ελένη, the zip unpacked into Μόρβελ in her folder" $?
e2e --wine "$greek_copy/Morvel" --only start_up_save_and_load
check "the copy in Μόρβελ saves beside itself and loads" $?
rm -f "$greek_copy/Morvel/hra.dat"
e2e_read_only "$greek_copy/Morvel" "$greek_appdata/Morvel"
check "read-only, it saves to Ελένη's %APPDATA%\\Morvel, and loads from there" $?
wineserver -k 2>/dev/null
wineserver -w
export WINEPREFIX=$jiri_prefix USER=Jiří

step "done"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
