#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for the given number of seconds each, starting from
# the corpus in the repository; new inputs go to a working corpus inside the build folder, so
# the repository's stays small. Fails when a target finds a fault.
# Usage: run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for target in fuzz_load fuzz_tree_ops fuzz_pascal_import fuzz_run; do
  work="$build/fuzz/work/$target"
  seeds=("$root/fuzz/corpus/$target")
  [ "$target" = fuzz_pascal_import ] && seeds+=("$root/tests/language/data")
  mkdir -p "$work" "$build/fuzz/crashes"
  echo "== $target: $seconds s"
  if ! (cd "$build/fuzz/crashes" &&
        ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
        "$build/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2560 -timeout=60 \
          -max_len=65536 -print_final_stats=1 "$work" "${seeds[@]}" 2>&1 |
        grep -v -E '^#[0-9]+\s+(NEW|REDUCE|pulse)'); then
    echo "== $target hat einen Fehler gefunden; die Eingabe liegt in $build/fuzz/crashes"
    status=1
  fi
done
exit $status
