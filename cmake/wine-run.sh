#!/bin/sh
# Runs one cross-built Windows program under Wine for CTest and GoogleTest's test discovery.
# usage: wine-run.sh PROGRAM [ARGS...]   (WINEPREFIX and the rest of Wine's setting come from the
# caller's environment; VARDO_WINE names the loader)
set -u
wine=${VARDO_WINE:-/usr/lib/wine/wine64}
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"

# A new prefix takes 10-20 s to build and reports that on the terminal; build it quietly on its
# own so the program's first run neither prints nor times out half-way through it.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX" || exit 125
  "$wine" wineboot --init </dev/null >/dev/null 2>&1
fi

# Wine's helper processes inherit the program's output and live until the wineserver winds
# down seconds later, so a caller reading a pipe would wait seconds for every test. The program
# writes to files instead; only this script holds the caller's pipes.
out=$(mktemp) || exit 125
err=$(mktemp) || {
  rm -f "$out"
  exit 125
}
trap 'rm -f "$out" "$err"' EXIT
"$wine" "$@" >"$out" 2>"$err" &
pid=$!
trap 'kill "$pid" 2>/dev/null' HUP INT TERM
wait "$pid"
status=$?
cat "$out"
cat "$err" >&2
exit "$status"
