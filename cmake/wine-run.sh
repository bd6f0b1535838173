#!/bin/sh
# Runs cross-built Windows programs under Wine, for CTest, GoogleTest's test discovery and
# tools/run.sh, and keeps one wineserver running for a whole test run. A test program that Wine
# failed under is run once more.
# usage: wine-run.sh PROGRAM [ARGS...]   runs PROGRAM; its exit status is this script's
#        wine-run.sh --start-server      prepares the prefix and starts a wineserver that stays
#        wine-run.sh --stop-server       ends that wineserver and every program of the prefix
# The caller's environment names the prefix (WINEPREFIX), where a locale the host lacks is
# compiled (LOCPATH, optional), the loader (VARDO_WINE) and whether the program is a test that
# may be rerun (VARDO_WINE_RERUN=1).
set -u
wine=${VARDO_WINE:-/usr/lib/wine/wine64}
wineserver=$(dirname "$wine")/wineserver
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix}"

# Every session alike: the Japanese locale of the machines the product is for (Wine takes the
# ANSI code page, 932, from it), a quiet Wine unless the caller asks for messages, neither
# desktop menu entries nor add-on downloads, and no debugger, so that a program that crashes
# ends at once instead of waiting in one.
locale=ja_JP.UTF-8
export LC_ALL=$locale WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml,winedbg.exe=d"

# ---- The prefix --------------------------------------------------------------------------------

locale_missing() {
  [ -n "${LOCPATH:-}" ] && [ ! -f "$LOCPATH/$locale/LC_CTYPE" ]
}

# Wine needs the locale's UTF-8 codeset to map file names; a locale the host lacks is compiled
# into LOCPATH, leaving the host's own set alone.
compile_locale() {
  mkdir -p "$LOCPATH" || return 1
  localedef -i "${locale%%.*}" -f "${locale#*.}" "$LOCPATH/$locale" >/dev/null 2>&1
  if [ ! -f "$LOCPATH/$locale/LC_CTYPE" ]; then
    echo "wine-run.sh: cannot compile the locale $locale (is the locales package installed?)" >&2
    return 1
  fi
}

# A new prefix takes 10-20 s to build and reports that on the terminal; build it quietly on its
# own so the first program neither prints nor times out half-way through it. The server writes
# the registry only when it ends, so wait for that: then the prefix is complete on disk and the
# helpers its creation started are gone. Settings every session of the prefix needs belong here.
create_prefix() {
  mkdir -p "$WINEPREFIX" || return 1
  "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&-
  "$wineserver" -w 9>&-
  [ -f "$WINEPREFIX/system.reg" ]
}

# Japanese fonts: drawings name the faces of a Japanese Windows, which Wine lacks. Wine is told
# to draw each with the IPA face of its kind (Gothic or Mincho, fixed pitch or proportional)
# that the host's fontconfig has, so texts and captions show real kanji, not boxes.
fonts_done="$WINEPREFIX/vardo-japanese-fonts"
add_japanese_fonts() {
  reg="$WINEPREFIX/drive_c/vardo-japanese-fonts.reg"
  {
    printf '\377\376'
    iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ ゴシック"="IPAGothic"
"ＭＳ 明朝"="IPAMincho"
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ Ｐ明朝"="IPAPMincho"
"MS Gothic"="IPAGothic"
"MS Mincho"="IPAMincho"
"MS PGothic"="IPAPGothic"
"MS PMincho"="IPAPMincho"
"MS UI Gothic"="IPAPGothic"
REG
  } >"$reg" || return 1
  "$wine" regedit /S 'C:\vardo-japanese-fonts.reg' </dev/null >/dev/null 2>&1 9>&-
  "$wineserver" -w 9>&-
  rm -f "$reg"
  if ! grep -q 'IPAPMincho' "$WINEPREFIX/user.reg"; then
    echo "wine-run.sh: cannot give the prefix $WINEPREFIX its Japanese font replacements" >&2
    return 1
  fi
  touch "$fonts_done"
}

# Once per prefix, under a lock in case the first programs start side by side.
prepare() {
  locale_missing || [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$fonts_done" ] || return 0
  mkdir -p "$(dirname "$WINEPREFIX")" && exec 9>"$WINEPREFIX.lock" && flock 9 || return 1
  if locale_missing; then compile_locale || return 1; fi
  if [ ! -f "$WINEPREFIX/system.reg" ] && ! create_prefix; then
    echo "wine-run.sh: cannot create the Wine prefix $WINEPREFIX" >&2
    return 1
  fi
  if [ ! -f "$fonts_done" ]; then add_japanese_fonts || return 1; fi
  exec 9>&-
}

# ---- One wineserver for a whole run ------------------------------------------------------------

# A server ends a few seconds after its last program, and a program that starts while it winds
# down can lose it half-way ("wine client error"). One server kept from before the first program
# to after the last avoids that. A server left behind by an earlier run is ended first, before
# the prefix is prepared: waiting for one that stays would never end.
case ${1:-} in
  --start-server)
    "$wineserver" -k >/dev/null 2>&1
    "$wineserver" -w >/dev/null 2>&1
    prepare || exit 125
    exec "$wineserver" -p </dev/null >/dev/null 2>&1
    ;;
  --stop-server)
    "$wineserver" -k >/dev/null 2>&1
    exec "$wineserver" -w
    ;;
esac

# ---- Running a program -------------------------------------------------------------------------

prepare || exit 125

# Wine's helper processes inherit the program's output and live until the wineserver winds
# down, so a caller reading a pipe would wait seconds for every program. The program writes to
# files instead; only this script holds the caller's pipes.
out=$(mktemp) || exit 125
err=$(mktemp) || {
  rm -f "$out"
  exit 125
}
trap 'rm -f "$out" "$err"' EXIT
pid=
stopped=
trap 'stopped=1; [ -n "$pid" ] && kill "$pid" 2>/dev/null' HUP INT TERM

run_once() {
  started=$(date +%s)
  "$wine" "$@" >"$out" 2>"$err" &
  pid=$!
  wait "$pid"
  status=$?
  pid=
  elapsed=$(($(date +%s) - started))
}

# For the tests (VARDO_WINE_RERUN=1): true when Wine failed rather than the program: its client
# lost the server, or the program ended within seconds, unsuccessfully and without a word (a
# GoogleTest program prints its first line at once). A failed assertion never counts, nor a run
# this script was told to stop.
wine_failed() {
  [ "${VARDO_WINE_RERUN:-}" = 1 ] && [ "$status" -ne 0 ] && [ -z "$stopped" ] || return 1
  ! grep -q '^\[  FAILED  \]' "$out" || return 1
  reason=$(grep -h -m 1 'wine client error' "$err" "$out" | head -n 1)
  [ -n "$reason" ] && return 0
  reason="exit status $status after $elapsed s without any output"
  [ ! -s "$out" ] && [ ! -s "$err" ] && [ "$elapsed" -le 5 ]
}

run_once "$@"
if wine_failed; then
  echo "wine-run.sh: rerun after a Wine client error ($reason)" >&2
  run_once "$@"
fi
cat "$out"
cat "$err" >&2
exit "$status"
