#!/bin/bash
# Runs a scenario as root inside a throwaway root: an overlay of / whose
# writes land in an upper directory of the run's own, in private mount, PID
# and network namespaces (loopback up), chrooted, with fresh tmpfs on /tmp,
# /run, /var/log and /dev.
#
#   throwaway_root.sh IO_DIR [PACKAGE_TREE [FIXTURES]]
#
# IO_DIR/scenario.sh runs with /bin/sh inside the root, after the helpers of
# e2e_lib.sh. IO_DIR is bound at /run/e2e (so the checkout's own path need
# not be visible inside), PACKAGE_TREE read-only at /run/pkg, FIXTURES (files
# the build made for tests, such as generation-1 PPD files) read-only at
# /run/fixtures. Afterwards
# IO_DIR/out holds: stdout, stderr and status of the scenario, varlog/ (the
# root's /var/log), upper/ (a copy of the upper directory) and upper.txt (one
# line per touched path: type, mode, owner, path, link target).
set -u

if [ "${1:-}" != --inner ]; then
  io=$(readlink -f "$1")
  pkg=${2:+$(readlink -f "$2")}
  fixtures=${3:+$(readlink -f "$3")}
  here=$(dirname "$(readlink -f "$0")")
  [ "$(id -u)" = 0 ] || { echo "throwaway_root: must run as root" >&2; exit 90; }
  [ -f "$io/scenario.sh" ] || { echo "throwaway_root: no $io/scenario.sh" >&2; exit 91; }
  rm -rf "$io/out" && mkdir -p "$io/out"
  cp "$here/e2e_lib.sh" "$io/e2e_lib.sh"
  base=$(mktemp -d /tmp/troot.XXXXXX)
  timeout --kill-after=10 "${TROOT_TIMEOUT:-300}" \
    unshare --mount --pid --net --fork --kill-child \
    bash "$0" --inner "$base" "$io" "$pkg" "$fixtures" </dev/null
  rc=$?
  rmdir "$base" 2>/dev/null
  exit $rc
fi

base=$2 io=$3 pkg=$4 fixtures=$5
set -e
mount --make-rprivate /
mount -t tmpfs -o mode=755 tmpfs "$base"
mkdir "$base/upper" "$base/work" "$base/root"
mount -t overlay overlay -o "lowerdir=/,upperdir=$base/upper,workdir=$base/work" "$base/root"
r=$base/root
mount -t proc proc "$r/proc"
# A /dev of the root's own: a scenario that removes /dev/<queue> must never
# reach the host's device files.
mount -t tmpfs -o mode=755 tmpfs "$r/dev"
for node in "null 1 3" "zero 1 5" "full 1 7" "random 1 8" "urandom 1 9" "tty 5 0"; do
  set -- $node
  mknod -m 666 "$r/dev/$1" c "$2" "$3"
done
ln -s /proc/self/fd "$r/dev/fd"
ln -s /proc/self/fd/0 "$r/dev/stdin"
ln -s /proc/self/fd/1 "$r/dev/stdout"
ln -s /proc/self/fd/2 "$r/dev/stderr"
mkdir "$r/dev/pts" "$r/dev/shm" && chmod 1777 "$r/dev/shm"
mount --bind /sys "$r/sys" && mount -o remount,bind,ro "$r/sys"
mount -t tmpfs -o mode=1777 tmpfs "$r/tmp"
mount -t tmpfs -o mode=755 tmpfs "$r/run"
mount -t tmpfs -o mode=755 tmpfs "$r/var/log"
mkdir "$r/run/e2e"
mount --bind "$io" "$r/run/e2e"
bind_read_only() {
  [ -n "$1" ] && [ -d "$1" ] || return 0
  mkdir "$2" && mount --bind "$1" "$2" && mount -o remount,bind,ro "$2"
}
bind_read_only "$pkg" "$r/run/pkg"
bind_read_only "$fixtures" "$r/run/fixtures"
ip link set lo up
set +e

chroot "$r" /usr/bin/env -i \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  HOME=/root LANG=C.UTF-8 TERM=dumb OUT=/run/e2e/out \
  /bin/sh -c '. /run/e2e/e2e_lib.sh && . /run/e2e/scenario.sh' \
  >"$io/out/stdout" 2>"$io/out/stderr"
echo $? >"$io/out/status"

# Stop what the scenario left running (cupsd) before taking the listing.
kill -KILL -1 2>/dev/null
sleep 0.2
cp -a "$r/var/log" "$io/out/varlog"
(cd "$base/upper" && find . -mindepth 1 -printf '%y %m %u:%g /%P\t%l\n' | sort -k4) >"$io/out/upper.txt"
cp -a "$base/upper" "$io/out/upper"
exit 0
