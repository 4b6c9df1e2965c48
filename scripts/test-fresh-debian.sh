#!/usr/bin/env bash
# Tries the source tree as a new user on a fresh Debian release would: a minimal root made with
# debootstrap in a temporary folder, with only git, make and sudo added; a user there clones this
# repository (its committed HEAD), runs `make test`, `make asan` and `make package`, installs the
# package with apt and starts the installed program under a headless Weston.
# Usage: test-fresh-debian.sh SUITE        e.g. test-fresh-debian.sh trixie
# Needs root (or sudo) and network access to the Debian mirror (DEBIAN_MIRROR, default deb.debian.org).
# The root and everything mounted into it are removed whatever happens: the mounts live in a private
# mount namespace of this script, so the kernel drops them even if the clean-up below never runs.
set -euo pipefail

suite=${1:?usage: test-fresh-debian.sh SUITE}
here=$(cd "$(dirname "$0")" && pwd)
# The repository's own git folder, which a worktree's checkout only points to.
repo=$(git -C "$here/.." rev-parse --path-format=absolute --git-common-dir)
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

if [ "$(id -u)" -ne 0 ]; then
  exec sudo DEBIAN_MIRROR="$mirror" "$0" "$@"
fi
if [ -z "${TARVELION_FRESH_NAMESPACE:-}" ]; then
  "$here/install-deps.sh" fresh
  TARVELION_FRESH_NAMESPACE=1 exec unshare --mount --propagation private "$0" "$@"
fi

commit=$(git -C "$here/.." rev-parse HEAD)
root=$(mktemp -d "${TMPDIR:-/var/tmp}/tarvelion-$suite.XXXXXX")
# A system's root: its users must be able to enter it.
chmod 0755 "$root"

# Stops what still runs inside the root, unmounts (innermost first), then removes the root without
# crossing into any file system that could not be unmounted.
clean_up() {
  local status=$? pid mount
  for pid in /proc/[0-9]*; do
    [ "$(readlink "$pid/root" 2>/dev/null)" = "$root" ] && kill -KILL "${pid#/proc/}" 2>/dev/null
  done
  for mount in $(awk -v root="$root" 'index($2, root) == 1 { print $2 }' /proc/self/mounts | sort -r); do
    umount "$mount" 2>/dev/null || umount -l "$mount"
  done
  rm -rf --one-file-system "$root"
  rm -f "$root.log"
  exit "$status"
}
trap clean_up EXIT
trap 'exit 130' INT TERM

echo "== debootstrap $suite into $root"
debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$root.log" 2>&1 || { tail -n 30 "$root.log"; exit 1; }

mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --rbind /dev "$root/dev"
mkdir -p "$root/srv/origin"
mount --bind "$repo" "$root/srv/origin"
mount -o remount,bind,ro "$root/srv/origin"
cp /etc/resolv.conf "$root/etc/resolv.conf"

in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"
}
as_user() {
  chroot --userspec=tester:tester "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/home/tester \
    LANG=C.UTF-8 /bin/bash -euo pipefail -c "$1"
}

echo "== the prerequisites: git make sudo"
in_root apt-get update -qq
in_root apt-get install -y -qq --no-install-recommends git make sudo
in_root useradd --create-home --shell /bin/bash tester
echo 'tester ALL=(ALL) NOPASSWD: ALL' >"$root/etc/sudoers.d/tester"
chmod 0440 "$root/etc/sudoers.d/tester"

echo "== clone $commit and make test"
# The repository belongs to this machine's user, not to the fresh root's.
as_user "git config --global --add safe.directory /srv/origin
git clone -q /srv/origin ~/tarvelion
cd ~/tarvelion && git -c advice.detachedHead=false checkout -q $commit
make test"

echo "== make asan with the release's own clang"
as_user "cd ~/tarvelion && make asan"

echo "== make package, install it, start it"
as_user "cd ~/tarvelion && make package"
deb=$(cd "$root" && ls home/tester/tarvelion/build/package/tarvelion_*.deb)
in_root apt-get install -y -qq "/$deb"
as_user "~/tarvelion/tests/shell/headless_weston.sh sh -c '
  tarvelion & program=\$!
  sleep 5
  kill -0 \$program || { echo \"the installed program did not stay up under Weston\"; exit 1; }
  kill \$program'"
echo "the installed program runs on Wayland"
echo "== $suite: passed"
