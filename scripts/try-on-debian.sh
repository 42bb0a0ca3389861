#!/usr/bin/env bash
# Runs the README's commands on a bare Debian 12 or 13, as on a new player's machine: a
# minimal base system of that release, made once with debootstrap from the Debian archive
# this machine's apt uses and kept in a cache folder, is copied afresh for each command,
# the current commit is cloned into the copy, and the command runs there as root.
#  - play: the play command's set-up and build, then `morvel --version` (no window
#    needed); it prints how many packages the set-up installed and what they weighed;
#  - test: the test command with CI=true; it prints the command's closing line;
#  - windows: scripts/try-on-windows.sh, Qt for Windows built from that release's own
#    qt6-base source in the copy, once: it is kept in the cache folder's windows-SUITE for
#    the release's next run; it prints the proof's closing line. Only when asked.
# Each prints the time it took; by default play and test run, play first.
#
#   scripts/try-on-debian.sh 12|13|bookworm|trixie [play|test|windows]
#
# Needs root. Its mounts live in a mount namespace of their own, so they vanish however
# the run ends, interrupted included; nothing of this machine's own system is touched.
# MORVEL_TRY_CACHE names the cache folder (default /var/cache/morvel-try), MORVEL_TRY_KEEP=1
# keeps the copies for a look afterwards. A failed run's log is kept in the cache folder.
set -euo pipefail

# The script's own variables begin with try_, so that a test may source its functions.
try_cache=${MORVEL_TRY_CACHE:-/var/cache/morvel-try}
try_copy=
try_runner=

# The URI of the archive labelled exactly "Debian" in `apt-get indextargets` lines of the
# form LABEL|URI (not Debian-Security, not Debian Backports).
debian_archive() {
  awk -F'|' '$1 == "Debian" { print $2; exit }'
}

# Makes the minimal base system $try_cache/$1.tar once. Whatever fails on the way, no
# base and no half-written one is left behind.
make_base() {
  local suite=$1 base=$try_cache/$1.tar mirror fresh
  [ -s "$base" ] && return 0
  command -v debootstrap >/dev/null || {
    DEBIAN_FRONTEND=noninteractive apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap
  }
  mirror=$(apt-get indextargets --format '$(LABEL)|$(REPO_URI)' 'Identifier: Packages' |
    debian_archive)
  if [ -z "$mirror" ]; then
    echo "try-on-debian: this machine's apt sources name no Debian archive" >&2
    return 1
  fi
  echo "== making a minimal Debian $suite from $mirror (once, into $base)"
  mkdir -p "$try_cache"
  fresh=$(mktemp -d "$try_cache/make.XXXXXX")
  if ! debootstrap --variant=minbase "$suite" "$fresh" "$mirror" \
    >"$try_cache/$suite.log" 2>&1; then
    tail -20 "$try_cache/$suite.log" >&2
    rm -rf "$fresh"
    return 1
  fi
  if ! tar -C "$fresh" -cf "$base.part" .; then
    rm -rf "$fresh" "$base.part"
    return 1
  fi
  rm -rf "$fresh"
  mv "$base.part" "$base"
}

# However a run ends: the chroot's processes are killed (with its PID namespace) before
# the copy is removed.
finish_copy() {
  if [ -n "$try_runner" ]; then
    # unshare holds back INT and TERM for its child; KILL ends it, and --kill-child then
    # takes the whole PID namespace with it.
    kill -KILL "$try_runner" 2>/dev/null || true
    wait "$try_runner" 2>/dev/null || true
    try_runner=
  fi
  if [ -n "$try_copy" ]; then
    if [ "${MORVEL_TRY_KEEP:-0}" = 1 ]; then
      echo "try-on-debian: the copy stays in $try_copy"
    else
      rm -rf "$try_copy"
    fi
    try_copy=
  fi
}

# Runs `bash -c COMMAND` in /root/morvel of a fresh copy of the base, logging to the
# copy's run.log; prints the log as it grows, then how many packages were installed.
run_copy() {
  local suite=$1 name=$2 command=$3 status=0 started seconds kept qt_cache=
  # Qt for Windows, built from the release's own source, is kept for the next run of that
  # release, as scripts/windows-qt.sh keeps it on the machine itself.
  if [ "$name" = windows ]; then
    qt_cache=$try_cache/windows-$suite
    mkdir -p "$qt_cache"
  fi
  try_copy=$(mktemp -d /var/tmp/morvel-try.XXXXXX)
  tar -C "$try_copy" -xf "$try_cache/$suite.tar"
  chmod 755 "$try_copy" # the copy's root folder (tar gave it the cache's 700): nobody must reach /usr
  cp /etc/resolv.conf "$try_copy/etc/resolv.conf"
  # The certificate authorities this machine trusts, for Node (npm's registry) alone, so
  # that a network that passes HTTPS through an authority of its own works in the copy as
  # here; the copy's own trust store stays Debian's.
  cp /etc/ssl/certs/ca-certificates.crt "$try_copy/root/machine-ca.crt" 2>/dev/null || true
  git clone -q --no-hardlinks "$try_root" "$try_copy/root/morvel"
  git -C "$try_copy/root/morvel" checkout -q "$try_commit"
  echo "== Debian $suite, commit $try_commit: $command"
  : >"$try_copy/run.log" # there before tail looks for it
  started=$(date +%s)
  # A mount and a PID namespace of their own: /proc and /dev are mounted for the chroot
  # only and vanish with it, and when unshare ends, however it ends, every process below
  # it is killed.
  unshare --mount --propagation private --pid --fork --kill-child bash -c '
    set -e
    mount -t proc proc "$1/proc"
    mount --rbind /dev "$1/dev"
    mount -t tmpfs tmpfs "$1/dev/shm"
    if [ -n "$3" ]; then
      mkdir -p "$1/var/cache/morvel-windows"
      mount --bind "$3" "$1/var/cache/morvel-windows"
    fi
    exec chroot "$1" /usr/bin/env -i HOME=/root LANG=C.UTF-8 CI=true TERM=dumb \
      NODE_EXTRA_CA_CERTS=/root/machine-ca.crt \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      bash -c "count() { dpkg -l | grep -c ^ii; }
               before=\$(count); cd /root/morvel && $2; status=\$?
               echo \"== the set-up installed \$((\$(count) - before)) packages\"; exit \$status"
  ' try "$try_copy" "$command" "$qt_cache" >>"$try_copy/run.log" 2>&1 </dev/null &
  try_runner=$!
  tail -n +1 --pid="$try_runner" -f "$try_copy/run.log" &
  wait "$try_runner" || status=$?
  try_runner=
  wait
  seconds=$(($(date +%s) - started))
  echo
  echo "== Debian $suite, $name: $(grep -E '^(all builds: |morvel [0-9]|[0-9]+ passed, [0-9]+ failed)' "$try_copy/run.log" | tail -1 ||
    echo 'no closing line')"
  grep -E '^== the set-up installed ' "$try_copy/run.log" || true
  grep -E '^Need to get ' "$try_copy/run.log" | sed 's/^/== downloads: /' || true
  printf '== %s took %dm%02ds and exited %d\n' "$name" $((seconds / 60)) $((seconds % 60)) "$status"
  if [ "$status" -ne 0 ]; then
    kept=$try_cache/$suite-$name-$(date +%Y%m%d-%H%M%S).log
    mkdir -p "$try_cache"
    cp "$try_copy/run.log" "$kept"
    echo "== the failed run's log is kept in $kept"
  fi
  finish_copy
  return "$status"
}

main() {
  local suite
  case "${1:-}" in
    12 | bookworm) suite=bookworm ;;
    13 | trixie) suite=trixie ;;
    *)
      echo "usage: $0 12|13 (or bookworm|trixie) [play|test|windows]" >&2
      exit 2
      ;;
  esac
  case "${2:-both}" in
    play | test | both | windows) ;;
    *)
      echo "usage: $0 12|13 (or bookworm|trixie) [play|test|windows]" >&2
      exit 2
      ;;
  esac
  if [ "$(id -u)" -ne 0 ]; then
    echo "try-on-debian: needs root for debootstrap, chroot and mounts: run it with sudo" >&2
    exit 1
  fi
  try_root=$(cd "$(dirname "$0")/.." && pwd)
  try_commit=$(git -C "$try_root" rev-parse HEAD)
  trap finish_copy EXIT
  trap 'exit 130' INT TERM HUP
  make_base "$suite"
  if [ "${2:-both}" = windows ]; then
    # The Windows build and its proof under Wine; Qt for Windows is built in the copy
    # (or found in the kept folder).
    run_copy "$suite" windows 'bash scripts/try-on-windows.sh'
    return
  fi
  if [ "${2:-both}" != test ]; then
    run_copy "$suite" play 'bash scripts/play.sh --version'
  fi
  if [ "${2:-both}" != play ]; then
    run_copy "$suite" test 'bash scripts/test.sh'
  fi
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  main "$@"
fi
