#!/usr/bin/env bash
# Runs one fuzz target over its kept inputs: run.sh BINARY [libFuzzer options...]
# New inputs go to a throw-away folder (or to FUZZ_CORPUS when set); the kept ones are only read.
set -euo pipefail
bin=$(realpath "$1"); shift
name=$(basename "$bin")
here=$(cd "$(dirname "$0")" && pwd)
out=${FUZZ_CORPUS:-}
if [ -z "$out" ]; then
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
fi
mkdir -p "$out"
out=$(realpath "$out")
artifacts=$(dirname "$(dirname "$bin")")/fuzz-artifacts/$name
mkdir -p "$artifacts"
cd "$artifacts"  # -jobs writes its logs into the current folder
case $name in
  fuzz_number) max_len=256 ;;  # one line of text
  *) max_len=4096 ;;           # a small file
esac
dirs=("$out")
for d in "$here/corpus/$name" "$here/regression/$name"; do
  [ -d "$d" ] && dirs+=("$d")
done
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/../scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
"$bin" -timeout=25 -rss_limit_mb=2560 -print_final_stats=1 -max_len=$max_len \
  -artifact_prefix="$artifacts/" "$@" "${dirs[@]}"
