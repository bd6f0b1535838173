#!/usr/bin/env bash
# Cross-builds the Windows product and its tests (preset win) and runs the tests under Wine.
# Exits non-zero when a step or a test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

# localedef reads the locale sources of "locales"; xvfb-run needs xauth.
packages=(cmake googletest g++-mingw-w64-x86-64-posix wine64 xvfb xauth locales)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if ((${#missing[@]} > 0)); then
  echo "test-win.sh: installing ${missing[*]}"
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi

jobs=$(nproc)
cmake --preset win
cmake --build build/win -j "$jobs"

# Wine needs no display for console programs, but window tests do: give them a virtual one.
display=()
if [[ -z ${DISPLAY:-} ]]; then display=(xvfb-run -a); fi
# A test hung inside Wine must not hold up the whole run.
"${display[@]}" ctest --test-dir build/win --output-on-failure -j "$jobs" --timeout 300
