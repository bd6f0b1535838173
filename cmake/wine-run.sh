#!/bin/sh
# Runs one cross-built Windows program under Wine for CTest and GoogleTest's test discovery.
# usage: wine-run.sh PROGRAM [ARGS...]
# The caller's environment names the prefix (WINEPREFIX), the locale (LC_ALL, compiled into
# LOCPATH when that is set) and the loader (VARDO_WINE).
set -u
wine=${VARDO_WINE:-/usr/lib/wine/wine64}
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"

# Wine takes the ANSI code page from the Unix locale, and needs the locale's UTF-8 codeset to
# map file names; a locale the host lacks is compiled into the build folder, leaving the host's
# own set alone.
locale=${LC_ALL:-}
if [ -n "${LOCPATH:-}" ] && [ -n "$locale" ] && [ ! -f "$LOCPATH/$locale/LC_CTYPE" ]; then
  mkdir -p "$LOCPATH" && fresh=$(mktemp -d "$LOCPATH/.fresh.XXXXXX") || exit 125
  localedef -i "${locale%%.*}" -f "${locale#*.}" "$fresh/$locale" >/dev/null 2>&1
  mv -T "$fresh/$locale" "$LOCPATH/$locale" 2>/dev/null  # a parallel run may have won
  rm -rf "$fresh"
  if [ ! -f "$LOCPATH/$locale/LC_CTYPE" ]; then
    echo "wine-run.sh: cannot compile the locale $locale (is the locales package installed?)" >&2
    exit 125
  fi
fi

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
