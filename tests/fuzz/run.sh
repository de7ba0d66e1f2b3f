#!/usr/bin/env bash
# Builds the fuzzers and runs each over its committed seed corpus and
# RUNS more inputs (default 20000; the test command's short run).
#   tests/fuzz/run.sh [RUNS]      e.g. tests/fuzz/run.sh 5000000 for a long run
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$here/../../build/fuzz"
runs="${1:-20000}"
CXX=clang++ cmake -S "$here" -B "$build" -G Ninja >/dev/null
cmake --build "$build" >/dev/null
for name in LinkFile InstallLocation ModuleFolder; do
  work="$build/corpus-$name"
  mkdir -p "$work"
  "$build/fuzz_$name" -runs="$runs" -seed=1 -max_len=4096 -artifact_prefix="$build/crash-$name-" \
    "$work" "$here/corpus/$name" >"$build/$name.log" 2>&1 ||
    { tail -30 "$build/$name.log"; echo "fuzz_$name found a failure"; exit 1; }
  echo "fuzz_$name: $(grep -Eo 'Done [0-9]+ runs' "$build/$name.log" || echo done)"
done
