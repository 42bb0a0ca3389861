#!/usr/bin/env bash
# Runs the README's test command on a bare Debian 12 or 13, as a new player's machine
# would: a minimal base system of that release, made once with debootstrap from the Debian
# archive this machine's apt uses and kept in a cache folder, is copied afresh, the current
# commit is cloned into the copy, and the test command runs there as root with CI=true.
# Prints the test command's closing line and the time it took.
#
#   scripts/try-on-debian.sh 12|13|bookworm|trixie
#
# Needs root. Its mounts live in a mount namespace of their own, so they vanish however
# the run ends, interrupted included; nothing of this machine's own system is touched.
# MORVEL_TRY_CACHE names the cache folder (default /var/cache/morvel-try), MORVEL_TRY_KEEP=1
# keeps the copy for a look afterwards.
set -euo pipefail

case "${1:-}" in
  12 | bookworm) suite=bookworm ;;
  13 | trixie) suite=trixie ;;
  *)
    echo "usage: $0 12|13 (or bookworm|trixie)" >&2
    exit 2
    ;;
esac
if [ "$(id -u)" -ne 0 ]; then
  echo "try-on-debian: needs root for debootstrap, chroot and mounts: run it with sudo" >&2
  exit 1
fi

root=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$root" rev-parse HEAD)
cache=${MORVEL_TRY_CACHE:-/var/cache/morvel-try}
base=$cache/$suite.tar

if [ ! -s "$base" ]; then
  command -v debootstrap >/dev/null || {
    DEBIAN_FRONTEND=noninteractive apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap
  }
  # The Debian archive this machine's own apt reads (not its security or other archives).
  mirror=$(apt-get indextargets --format '$(LABEL) $(REPO_URI)' 'Identifier: Packages' |
    awk '$1 == "Debian" { print $2; exit }')
  if [ -z "$mirror" ]; then
    echo "try-on-debian: this machine's apt sources name no Debian archive" >&2
    exit 1
  fi
  echo "== making a minimal Debian $suite from $mirror (once, into $base)"
  mkdir -p "$cache"
  fresh=$(mktemp -d "$cache/make.XXXXXX")
  trap 'rm -rf "$fresh"' EXIT
  debootstrap --variant=minbase "$suite" "$fresh" "$mirror" >"$cache/$suite.log" 2>&1 || {
    tail -20 "$cache/$suite.log" >&2
    exit 1
  }
  tar -C "$fresh" -cf "$base.part" . && mv "$base.part" "$base"
  rm -rf "$fresh"
  trap - EXIT
fi

work=$(mktemp -d /var/tmp/morvel-try.XXXXXX)
runner=
# However the run ends: the chroot's processes are killed (with the PID namespace below)
# before the copy is removed.
finish() {
  if [ -n "$runner" ]; then
    # unshare holds back INT and TERM for its child; KILL ends it, and --kill-child then
    # takes the whole PID namespace with it.
    kill -KILL "$runner" 2>/dev/null || true
    wait "$runner" 2>/dev/null || true
  fi
  if [ "${MORVEL_TRY_KEEP:-0}" = 1 ]; then
    echo "try-on-debian: the copy stays in $work"
  else
    rm -rf "$work"
  fi
}
trap finish EXIT
trap 'exit 130' INT TERM HUP
tar -C "$work" -xf "$base"
chmod 755 "$work"  # the copy's root folder (tar gave it the cache's 700): nobody must reach /usr
cp /etc/resolv.conf "$work/etc/resolv.conf"
git clone -q --no-hardlinks "$root" "$work/root/morvel"
git -C "$work/root/morvel" checkout -q "$commit"
echo "== Debian $suite, commit $commit: bash scripts/test.sh"

started=$(date +%s)
# A mount and a PID namespace of their own: /proc and /dev are mounted for the chroot only
# and vanish with it, and when unshare ends, however it ends, every process below it is
# killed.
unshare --mount --propagation private --pid --fork --kill-child bash -c '
  set -e
  mount -t proc proc "$1/proc"
  mount --rbind /dev "$1/dev"
  mount -t tmpfs tmpfs "$1/dev/shm"
  exec chroot "$1" /usr/bin/env -i HOME=/root LANG=C.UTF-8 CI=true TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "cd /root/morvel && bash scripts/test.sh"
' try "$work" >"$work/test.log" 2>&1 </dev/null &
runner=$!
tail -n +1 --pid="$runner" -f "$work/test.log" &
status=0
wait "$runner" || status=$?
runner=
wait
seconds=$(($(date +%s) - started))

echo
echo "== Debian $suite: $(grep -E '^all builds: ' "$work/test.log" | tail -1 || echo 'no closing line')"
printf '== the test command took %dm%02ds and exited %d\n' $((seconds / 60)) $((seconds % 60)) "$status"
exit "$status"
