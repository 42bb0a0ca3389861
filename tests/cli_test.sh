#!/usr/bin/env bash
# morvel-cli: its output, its exit codes and its error handling; with the game and
# make-artwork named too, their failures to write.
set -u
cli=$1
game=${2:-}
artwork=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/check.sh"

for i in $(seq 112); do printf ' 0 \r\n'; done >"$work/empty.dat"
tr -d '\r' <"$work/empty.dat" | sed 's/^ 0 $/0/' >"$work/empty-lf.dat"
printf '0.0\n0.99\n' >"$work/two.txt"
printf '0.5\n' >"$work/one.txt"

"$cli" move --level high --random "$work/two.txt" --board "$work/empty.dat" >"$work/out" 2>"$work/err"
rc=$?
check "high opening move exits 0" $rc
head -3 "$work/out" >"$work/head"
printf 'move 2 7\nforce-accept 0\ndraws 2\n' | cmp -s - "$work/head"; check "high opening move: header" $?
# The board after the move: cell 44 (column 2, row 7) is player 2's with one piece.
tail -n +4 "$work/out" >"$work/board"
[ "$(wc -l <"$work/board")" -eq 112 ]; check "board has 112 lines" $?
[ "$(sed -n 87p "$work/board")" = $' 2 \r' ] && [ "$(sed -n 88p "$work/board")" = $' 1 \r' ]
check "placed piece is in the printed board" $?

"$cli" move --level low --random "$work/two.txt" <"$work/empty-lf.dat" >"$work/out" 2>/dev/null
check "low reads LF-only board from stdin" $?
printf 'move 1 8\ndraws 2\n' | cmp -s - <(head -2 "$work/out"); check "low: header, no force-accept line" $?

# The printed board plays on: the next turn reads it back.
tail -n +3 "$work/out" | "$cli" move --level high --force-accept 1 --random "$work/two.txt" \
  | head -2 | cmp -s <(printf 'move 1 8\nforce-accept 0\n') -
check "printed board is read back; the list choice clears force-accept" $?

# --force-accept 1 plays the first cell its screening rejects: the full cell (2,2), under
# player 1's full (3,3), on a board of single player-1 pieces with three empty cells.
for k in $(seq 56); do
  case $k in
    9) printf ' 2 \r\n 4 \r\n' ;;
    17) printf ' 1 \r\n 4 \r\n' ;;
    11 | 13 | 35) printf ' 0 \r\n 0 \r\n' ;;
    *) printf ' 1 \r\n 1 \r\n' ;;
  esac
done >"$work/threatened.dat"
"$cli" move --level high --force-accept 1 --board "$work/threatened.dat" --random "$work/two.txt" |
  head -2 | cmp -s <(printf 'move 2 2\nforce-accept 1\n') -
check "--force-accept 1 plays the rejected candidate" $?
[ "$("$cli" move --level high --force-accept 0 --board "$work/threatened.dat" \
       --random "$work/two.txt" | head -1)" != "move 2 2" ]
check "--force-accept 0 does not" $?

"$cli" move --level low --random "$work/one.txt" --board "$work/empty.dat" >"$work/out" 2>"$work/err"
[ $? -eq 3 ] && [ ! -s "$work/out" ] && grep -q 'random' "$work/err"; check "too few random numbers: exit 3" $?

head -n 111 "$work/empty.dat" >"$work/short.dat"
"$cli" move --level low --board "$work/short.dat" >"$work/out" 2>"$work/err"
[ $? -eq 2 ] && [ ! -s "$work/out" ] && [ -s "$work/err" ]; check "short board: exit 2, nothing on stdout" $?

sed '5s/.*/ 5 /' "$work/empty.dat" >"$work/bad.dat"
"$cli" move --level high --board "$work/bad.dat" >"$work/out" 2>/dev/null
[ $? -eq 2 ] && [ ! -s "$work/out" ]; check "owner 5: exit 2" $?

printf '0.5\nabc\n' >"$work/junk.txt"
"$cli" move --level low --random "$work/junk.txt" --board "$work/empty.dat" >"$work/out" 2>/dev/null
[ $? -eq 2 ] && [ ! -s "$work/out" ]; check "malformed random file: exit 2" $?
# Files that cannot be read, or are larger than any board (64 KiB) or random file (1 MiB)
# can be: one line naming the file and the reason, nothing on standard output, exit 2.
for args in "--random $work/missing.txt" "--board /tmp" "--random /tmp" "--board /dev/zero" \
            "--random /dev/zero" "--board /proc/self/mem" "--board $work/missing.dat"; do
  file=${args#* }
  # shellcheck disable=SC2086
  "$cli" move --level low $args <"$work/empty.dat" >"$work/out" 2>"$work/err"
  [ $? -eq 2 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" -eq 1 ] &&
    grep -qE "'$file'(: | is larger than)" "$work/err"
  check "move $args: one line, exit 2" $?
done
"$cli" move --level low </tmp >"$work/out" 2>"$work/err"
[ $? -eq 2 ] && grep -q 'standard input' "$work/err"; check "a folder as standard input: exit 2" $?

# Without --random the clock-mixed source plays a legal opening move.
out=$("$cli" move --level high --board "$work/empty.dat" | head -1)
[[ "$out" =~ ^move\ [2-6]\ [2-7]$ ]]; check "clock-mixed source: inner opening ($out)" $?

# The arena: one line, reproducible from its seed.
line=$("$cli" arena --p1 random --p2 high --games 20 --seed 5)
[[ "$line" =~ ^games\ 20,\ player\ 1\ wins\ [0-9]+,\ player\ 2\ wins\ [0-9]+,\ unfinished\ [0-9]+,\ average\ rounds\ [0-9.]+,\ games\ per\ second\ [0-9]+$ ]]
check "arena prints one line ($line)" $?
[ "$("$cli" arena --p1 random --p2 high --games 2 --seed 5 | tail -c 1 | od -An -c | tr -d ' ')" = '\n' ]
check "the arena line ends with a newline" $?
again=$("$cli" arena --p1 random --p2 high --games 20 --seed 5)
[ "${line%, games per second*}" = "${again%, games per second*}" ]; check "arena repeats from its seed" $?
top=$("$cli" arena --p1 random --p2 low --games 3 --seed 18446744073709551615)
check "the largest 64-bit seed is taken" $?
again=$("$cli" arena --p1 random --p2 low --games 3 --seed 18446744073709551615)
[ "${top%, games per second*}" = "${again%, games per second*}" ]; check "... and repeats" $?
# Without --seed the clock's seed is told on standard error, and replays the run.
clocked=$("$cli" arena --p1 random --p2 high --games 5 2>"$work/err")
seed=$(sed -n 's/^morvel-cli: seed \([0-9]*\)$/\1/p' "$work/err")
replayed=$("$cli" arena --p1 random --p2 high --games 5 --seed "$seed" 2>/dev/null)
[ -n "$seed" ] && [ "${clocked%, games per second*}" = "${replayed%, games per second*}" ]
check "the clock's seed is printed and replays the run (seed $seed)" $?

# The game window's cell table and board place, for the X driver.
"$cli" geometry --screen 1024x768 >"$work/geometry"
[ $? -eq 0 ] && [ "$(grep -c -E '^cell [0-9]+( [0-9]+){4}$' "$work/geometry")" -eq 56 ] &&
  [ "$(head -1 "$work/geometry")" = "board 404 224" ]
check "geometry: the board's place and 56 cells" $?
# Bad arguments: a usage message on standard error, nothing on standard output, exit 2.
for args in "" "move" "move --level medium" "move --level low --force-accept 1" \
            "move --level high --force-accept 2" "move --level low --bogus 1" \
            "move --level low --board" "move --level low --level high" "fly --level low" \
            "arena --p1 random --p2 random --games 5" "arena --p1 low --p2 high" \
            "arena --p1 low --p2 high --games 0" "arena --p1 low --p2 high --games x" \
            "arena --p1 dumb --p2 high --games 3" "arena --p1 low --p2 high --games 3 --check 1" \
            "arena --p1 low --p2 high --games 4294967296" "arena --p1 low --p2 high --games 3000000000" \
            "arena --p1 low --p2 high --games -1" "arena --p1 low --p2 high --games 3 --seed -1" \
            "arena --p1 low --p2 high --games 3 --seed 18446744073709551616" \
            "arena --p1 low --p2 high --games 3 --seed 1x" "geometry" "geometry --screen 1024" \
            "geometry --screen 0x768" "geometry --screen 1024x" \
            "--frobnicate"; do
  # shellcheck disable=SC2086
  "$cli" $args >"$work/out" 2>"$work/err" </dev/null
  [ $? -eq 2 ] && [ ! -s "$work/out" ] && grep -q usage "$work/err"; check "bad arguments '$args': exit 2" $?
done

# --help and --version answer on standard output; an unknown option is a usage error.
for args in "--help" "move --help" "arena --help"; do
  # shellcheck disable=SC2086
  "$cli" $args >"$work/out" 2>"$work/err"
  [ $? -eq 0 ] && grep -q -- '--' "$work/out" && [ ! -s "$work/err" ]; check "'$args' prints help" $?
done
[ "$("$cli" --version)" = "morvel-cli 1.3" ]; check "--version" $?

# An answer that cannot be written is a failure, said on standard error (one check a
# program: each ends through one flush of standard output).
full() {
  "$@" >/dev/full 2>"$work/err" </dev/null
  [ $? -ne 0 ] && [ -s "$work/err" ]
}
full "$cli" arena --p1 random --p2 low --games 2 --seed 1; check "arena > /dev/full fails" $?
# A reader that has gone ends it quietly by SIGPIPE, as text filters are ended, and --help
# says so.
python3 - "$cli" <<'EOF'
import os, subprocess, sys
r, w = os.pipe()
os.close(r)
run = subprocess.run([sys.argv[1], "geometry", "--screen", "1024x768"], stdout=w,
                     stderr=subprocess.PIPE)
sys.exit(0 if run.returncode == -13 and not run.stderr else 1)
EOF
check "a closed pipe: SIGPIPE, nothing on standard error" $?
"$cli" --help | grep -q SIGPIPE; check "--help tells what a closed pipe does" $?
if [ -n "$game" ]; then
  full "$game" --version; check "morvel --version > /dev/full fails" $?
fi
if [ -n "$artwork" ]; then
  echo x >"$work/blocked"
  "$artwork" "$work/blocked/assets" >/dev/null 2>"$work/err"
  [ $? -ne 0 ] && grep -q 'cannot write' "$work/err"; check "make-artwork fails when it cannot write" $?
  "$artwork" "$work/art" >/dev/full 2>"$work/err"
  [ $? -eq 1 ] && [ -s "$work/err" ]; check "make-artwork > /dev/full fails" $?
  (cd "$work" && "$artwork" --help) >"$work/out" 2>&1
  [ $? -eq 0 ] && grep -q '^usage: make-artwork' "$work/out" && [ ! -e "$work/--help" ]
  check "make-artwork --help answers, and paints nothing" $?
  (cd "$work" && "$artwork" --bogus) >"$work/out" 2>"$work/err"
  [ $? -eq 2 ] && [ ! -s "$work/out" ] && grep -q "unknown option '--bogus'" "$work/err" &&
    [ ! -e "$work/--bogus" ]
  check "make-artwork refuses an unknown option" $?
fi

finish
