#!/usr/bin/env bash
# Builds everything and runs every test: the native suites (with ASan and UBSan), the suites
# that run threads again under ThreadSanitizer, the fuzz targets for a bounded time, and the
# Windows build under Wine. Exits non-zero on any failure.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$VARDO_ROOT"

ensure_packages "${VARDO_NATIVE_PACKAGES[@]}"
jobs=$(build_jobs)

echo "== native build (dev: ASan, UBSan, warnings as errors)"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"

echo "== threaded suites (ThreadSanitizer)"
cmake --preset threads >/dev/null
cmake --build --preset threads -j "$jobs"
for suite in render hatch app; do
  (cd "build/threads/tests/$suite" && "./${suite}_tests" --gtest_brief=1)
done

echo "== fuzz targets"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
fuzz_seconds=${VARDO_FUZZ_SECONDS:-60}
for target in build/fuzz/fuzz/*_fuzz; do
  name=$(basename "$target")
  corpus_seed="fuzz/corpus/${name%_fuzz}"
  work=$(mktemp -d)
  log=$(mktemp)
  [ -d "$corpus_seed" ] && cp -r "$corpus_seed"/. "$work"/
  echo "-- $name for ${fuzz_seconds}s"
  status=0
  (cd "$work" && "$VARDO_ROOT/$target" -max_total_time="$fuzz_seconds" -print_final_stats=0 \
    -rss_limit_mb=4096 -artifact_prefix="$VARDO_ROOT/build/fuzz/" "$work" >"$log" 2>&1) ||
    status=$?
  tail -n 2 "$log"
  if [ "$status" -ne 0 ]; then
    echo "$name failed (exit $status); the failing input is in build/fuzz/:"
    grep -E "SUMMARY|Test unit written" "$log" || tail -n 30 "$log"
    exit 1
  fi
  rm -rf "$work" "$log"
done

echo "== Windows build under Wine"
"$VARDO_ROOT/tools/test-win.sh"

echo "All tests passed."
