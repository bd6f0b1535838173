#!/usr/bin/env bash
# Cross-builds the Windows product and its tests (preset win) and runs the tests under Wine, with
# one wineserver per Wine prefix kept running from before the first test to after the last.
# Exits non-zero when a step or a test fails; names the tests rerun after a Wine client error.
# usage: tools/test-win.sh [CTEST ARGUMENTS...]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$VARDO_ROOT"

build=build/win

cache_value() {
  sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"
}

stop_servers() {
  local prefix
  for prefix in "${prefixes[@]}"; do
    wine_run "$prefix" --stop-server || true
  done
}

run_tests() {
  local jobs status=0
  jobs=$(build_jobs)
  # The console tests and the window tests have a prefix each (cmake/mingw-w64.cmake).
  prefixes=("$(cache_value VARDO_WINEPREFIX)" "$(cache_value VARDO_WINEPREFIX_WINDOWS)")
  trap stop_servers EXIT
  local prefix
  for prefix in "${prefixes[@]}"; do
    wine_run "$prefix" --start-server
  done
  # A test hung inside Wine must not hold up the whole run.
  ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 300 "$@" || status=$?
  # wine-run.sh reruns a test once when Wine failed under it; the run's log says which.
  local reruns
  reruns=$(awk '/^[0-9]+\/[0-9]+ Test: / { name = substr($0, index($0, "Test: ") + 6) }
                /wine-run.sh: rerun after a Wine client error/ { print "  " name ": " $0 }' \
    "$build/Testing/Temporary/LastTest.log")
  if [[ -n $reruns ]]; then
    echo "Tests rerun after a Wine client error:"
    echo "$reruns"
  fi
  return "$status"
}

if [[ ${1:-} == --on-display ]]; then
  shift
  run_tests "$@"
  exit
fi

ensure_packages "${VARDO_WIN_PACKAGES[@]}"
jobs=$(build_jobs)
cmake --preset win
cmake --build --preset win -j "$jobs"

# Console programs need no display under Wine, but the window tests do: without one, the whole
# run gets a virtual display of its own.
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --on-display "$@"
fi
run_tests "$@"
