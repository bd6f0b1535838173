#!/bin/sh
# Runs one cross-built Windows program under Wine for CTest and GoogleTest's test discovery.
# usage: wine-run.sh PROGRAM [ARGS...]
# The caller's environment names the prefix (WINEPREFIX), the locale (LC_ALL, compiled into
# LOCPATH when that is set) and the loader (VARDO_WINE).
set -u
wine=${VARDO_WINE:-/usr/lib/wine/wine64}
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
locale=${LC_ALL:-}
locale_missing() {
  [ -n "${LOCPATH:-}" ] && [ -n "$locale" ] && [ ! -f "$LOCPATH/$locale/LC_CTYPE" ]
}

# Wine takes the ANSI code page from the Unix locale, and needs the locale's UTF-8 codeset to
# map file names; a locale the host lacks is compiled into the build folder, leaving the host's
# own set alone.
compile_locale() {
  mkdir -p "$LOCPATH" || return 1
  localedef -i "${locale%%.*}" -f "${locale#*.}" "$LOCPATH/$locale" >/dev/null 2>&1
  if [ ! -f "$LOCPATH/$locale/LC_CTYPE" ]; then
    echo "wine-run.sh: cannot compile the locale $locale (is the locales package installed?)" >&2
    return 1
  fi
}

# A new prefix takes 10-20 s to build and reports that on the terminal; build it quietly on its
# own so the program's first run neither prints nor times out half-way through it. The server
# writes the registry only when it ends, so wait for that: then the prefix is complete on disk
# and the helpers its creation started are gone.
create_prefix() {
  mkdir -p "$WINEPREFIX" || return 1
  "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&-
  "$(dirname "$wine")/wineserver" -w 9>&-
  [ -f "$WINEPREFIX/system.reg" ]
}

# Set up once per build folder, under a lock in case the first programs start side by side.
if locale_missing || [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")" && exec 9>"$WINEPREFIX.lock" && flock 9 || exit 125
  if locale_missing; then compile_locale || exit 125; fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then create_prefix || exit 125; fi
  exec 9>&-
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
