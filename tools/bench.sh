#!/usr/bin/env bash
# Builds the release preset and runs every benchmark program (ours beside its peers).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$VARDO_ROOT"

ensure_packages "${VARDO_NATIVE_PACKAGES[@]}" "${VARDO_BENCH_PACKAGES[@]}"
jobs=$(build_jobs)
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
for bench in build/release/bench/*_bench; do
  echo "== $(basename "$bench")"
  "$bench" "$@"
done
