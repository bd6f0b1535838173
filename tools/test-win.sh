#!/usr/bin/env bash
# Cross-builds the Windows product and its tests (preset win) and runs the tests under Wine.
# Exits non-zero when a step or a test fails.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$VARDO_ROOT"

# localedef reads the locale sources of "locales"; xvfb-run needs xauth.
ensure_packages cmake googletest g++-mingw-w64-x86-64-posix wine64 xvfb xauth locales

jobs=$(nproc)
cmake --preset win
cmake --build build/win -j "$jobs"

# Wine needs no display for console programs, but window tests do: give them a virtual one.
display=()
if [[ -z ${DISPLAY:-} ]]; then display=(xvfb-run -a); fi
# A test hung inside Wine must not hold up the whole run.
"${display[@]}" ctest --test-dir build/win --output-on-failure -j "$jobs" --timeout 300
