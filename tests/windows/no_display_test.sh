#!/usr/bin/env bash
# The four programs with no display to open: each says so in one plain line on standard error,
# naming the DISPLAY it tried, and exits with status 1 rather than aborting.
# Usage: no_display_test.sh BIN_DIR
set -uo pipefail

bin=$(cd "${1:?usage: no_display_test.sh BIN_DIR}" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ulimit -c 0  # an abort must not leave a core behind

# A display number no server listens on: neither its socket nor its lock file is there.
n=59
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do
  n=$((n + 1))
done

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# check PROGRAM EXPECTED_LINE [VAR=VALUE]: runs the program with no display settings but the
# given one; it must exit with 1 and write EXPECTED_LINE, and only that, to standard error.
# XDG_SESSION_TYPE goes too, so Qt picks its X11 plugin as it does outside a desktop session.
check() {
  local prog=$1 expected=$2 status
  (cd "$work" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE \
    "${@:3}" timeout 30 "$bin/$prog" >/dev/null 2>"$work/err")
  status=$?
  local lines
  lines=$(wc -l <"$work/err")
  if [ "$status" -ne 1 ]; then
    fail "$prog ${3:-with DISPLAY unset}: status $status, expected 1"; cat "$work/err"
  elif [ "$lines" -ne 1 ] || [ "$(cat "$work/err")" != "$expected" ]; then
    fail "$prog ${3:-with DISPLAY unset}: standard error is not just '$expected':"; cat "$work/err"
  else
    echo "ok: $prog ${3:-with DISPLAY unset}: $expected"
  fi
}

for prog in pCorvalen pMirsadel pTobrenth pQuisdale; do
  check "$prog" "$prog: could not open a display (DISPLAY is not set)"
  check "$prog" "$prog: could not open a display (DISPLAY=:$n)" "DISPLAY=:$n"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all programs exit plainly without a display"
