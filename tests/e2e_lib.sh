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
