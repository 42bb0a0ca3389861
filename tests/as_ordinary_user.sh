#!/usr/bin/env bash
# Runs a test program as an ordinary user, for what root is never refused (writing into a
# read-only folder). As root it copies the program where that user can reach it and drops
# to nobody; as anyone else it runs the program as it is. A skipped case fails the run.
set -euo pipefail
program=$1
shift
if [ "$(id -u)" -eq 0 ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  chmod 755 "$work"
  cp "$program" "$work/"
  run=(setpriv --reuid=nobody --regid=nogroup --clear-groups
       env TMPDIR=/tmp HOME=/nonexistent "$work/$(basename "$program")")
else
  run=("$program")
fi
out=$("${run[@]}" "$@")
echo "$out"
if grep -q SKIPPED <<<"$out"; then
  echo "FAIL: a case was skipped although it ran as an ordinary user"
  exit 1
fi
