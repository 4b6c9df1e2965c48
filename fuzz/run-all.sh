#!/usr/bin/env bash
# Runs every fuzz target of a build folder for the given number of seconds, one after another,
# each from its seed corpus fuzz/corpus/<name>/. New finds go to <builddir>/corpus/<name>/, so the
# seeds in the source tree stay small; crashing inputs land in <builddir>/.
# Usage: fuzz/run-all.sh <builddir> <seconds>
set -euo pipefail

build=${1:?usage: fuzz/run-all.sh <builddir> <seconds>}
seconds=${2:?usage: fuzz/run-all.sh <builddir> <seconds>}
here=$(cd "$(dirname "$0")" && pwd)

status=0
for target in "$build"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  name=${name#fuzz_}
  work="$build/corpus/$name"
  mkdir -p "$work" "$here/corpus/$name"
  echo "== fuzz_$name for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -artifact_prefix="$build/" "$work" "$here/corpus/$name" || status=1
done
exit $status
