# Helpers for scenarios run inside a throwaway root (sourced before each).
# The package tree is at /run/pkg, the scenario's output directory is $OUT.

# Lays the package tree out below a directory, /opt/kwo by default.
lay_package() {
  mkdir -p "${1:-/opt/kwo}" && cp -a /run/pkg/. "${1:-/opt/kwo}/"
}

# Starts the real CUPS server on this root's own loopback and waits for it.
start_cupsd() {
  mkdir -p /var/log/cups /run/cups /var/spool/cups/tmp /var/cache/cups
  /usr/sbin/cupsd "$@" || return 1
  for _ in $(seq 1 100); do
    lpstat -r 2>/dev/null | grep -q 'is running' && return 0
    sleep 0.1
  done
  echo "cupsd did not come up" >&2
  return 1
}

# Runs setup from the laid-out package; any arguments are passed on.
run_setup() {
  (cd /opt/kwo/bin && ./setup "$@")
}

# Gives the root a /dev of its own (a tmpfs with the few nodes a run needs).
# The root's /dev is otherwise the host's own, bound in: a scenario that
# creates or removes files below /dev (setup -d removes /dev/<queue>) calls
# this first.
private_dev() {
  mount -t tmpfs -o mode=755 tmpfs /dev || return 1
  mknod -m 666 /dev/null c 1 3 && mknod -m 666 /dev/zero c 1 5 &&
    mknod -m 666 /dev/full c 1 7 && mknod -m 666 /dev/random c 1 8 &&
    mknod -m 666 /dev/urandom c 1 9 && mknod -m 666 /dev/tty c 5 0 &&
    ln -s /proc/self/fd /dev/fd && ln -s /proc/self/fd/0 /dev/stdin &&
    ln -s /proc/self/fd/1 /dev/stdout && ln -s /proc/self/fd/2 /dev/stderr &&
    mkdir /dev/pts /dev/shm && chmod 1777 /dev/shm
}
