#!/usr/bin/env bash
# `cmake --install` into a fresh folder: the programs, the desktop entry and the icons land
# where they belong, and the installed tool runs from there after the folder is moved.
set -u
build=$1
id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix" "$prefix.moved"' EXIT
failures=0
check() { if [ "$2" -ne 0 ]; then echo "FAIL: $1"; failures=$((failures + 1)); else echo "ok: $1"; fi; }

cmake --install "$build" --prefix "$prefix" >/dev/null
check "install succeeds" $?
for f in bin/morvel bin/morvel-cli "share/applications/$id.desktop" \
         "share/icons/hicolor/32x32/apps/$id.png" share/man/man6/morvel.6.gz; do
  [ -e "$prefix/$f" ]; check "installs $f" $?
done
grep -qx "Exec=$prefix/bin/morvel" "$prefix/share/applications/$id.desktop"
check "the desktop entry starts the installed program" $?
# Moved elsewhere, the folder still works.
mv "$prefix" "$prefix.moved" && mkdir "$prefix"
"$prefix.moved/bin/morvel-cli" arena --p1 random --p2 low --games 3 --seed 1 | grep -q '^games 3,'
check "the moved tool runs" $?
! ldd "$prefix.moved/bin/morvel" | grep -q 'not found'
check "the program finds every library it needs" $?
echo "$failures failed"
[ "$failures" -eq 0 ]
