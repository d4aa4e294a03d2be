#!/usr/bin/env bash
# `suite run` builds in the checkout but starts the program in the caller's folder, where the
# programs write their files. Runs a copy of the script against a stand-in cmake: no X, no Qt.
# Usage: suite_run_test.sh
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

checkout=$work/checkout
mkdir -p "$checkout/scripts" "$work/fakebin" "$work/my folder"
cp "$root/suite" "$checkout/suite"
printf '#!/bin/sh\nexit 0\n' >"$checkout/scripts/setup.sh"
# cmake --build DIR leaves a "program" in DIR/bin that tells where it was started; configure is a no-op.
cat >"$work/fakebin/cmake" <<'TXT'
#!/bin/sh
if [ "$1" = --build ]; then
  mkdir -p "$2/bin"
  printf '#!/bin/sh\npwd -P\n' >"$2/bin/pCorvalen"
  chmod +x "$2/bin/pCorvalen"
fi
exit 0
TXT
chmod +x "$checkout/suite" "$checkout/scripts/setup.sh" "$work/fakebin/cmake"

want=$(cd "$work/my folder" && pwd -P)
# Called by a relative path, as from a sibling folder.
got=$(cd "$work/my folder" && PATH="$work/fakebin:$PATH" ../checkout/suite run pCorvalen)
rc=$?
if [ $rc -ne 0 ]; then
  echo "FAIL: suite run exited $rc"
  exit 1
fi
if [ "$got" != "$want" ]; then
  echo "FAIL: program started in '$got', expected the caller's folder '$want'"
  exit 1
fi
echo "PASS: program started in the caller's folder"
