#!/usr/bin/env bash
# The product on a sample drawing of ours: builds VardoHatch.exe (preset win), lays it in
# build/run-win/ beside the drawing as JWC_TEMP.TXT and opens it under Wine. Without a display it
# runs on a virtual one, saves a screenshot and closes the program after a few seconds. Where
# Wine cannot run, the drawing goes through the native reader and writer instead.
# usage: tools/run.sh [DRAWING]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$VARDO_ROOT"

caption="Vardo－塗りハッチ"
work="$VARDO_ROOT/build/run-win"
wine=/usr/lib/wine/wine64
# The Wine session of the run: its own prefix in the work folder, a Japanese locale (compiled
# into the build folder by wine-run.sh) so the ANSI code page is 932, and a quiet Wine.
wine_env=(env WINEDEBUG=-all WINEPREFIX="$work/wineprefix" LOCPATH="$VARDO_ROOT/build/win/locale"
  LC_ALL=ja_JP.UTF-8 "WINEDLLOVERRIDES=winemenubuilder.exe,mscoree,mshtml=d" VARDO_WINE="$wine")

# On the virtual display: start the program, wait for its window, take the screenshot, then
# close the window as its close box does (nothing is written) and wait for the program to end.
if [[ ${1:-} == --on-virtual-display ]]; then
  cd "$work"
  "${wine_env[@]}" /bin/sh "$VARDO_ROOT/cmake/wine-run.sh" VardoHatch.exe &
  program=$!
  # The first run also builds the Wine prefix, which takes a while.
  for _ in $(seq 240); do
    xwininfo -name "$caption" >/dev/null 2>&1 && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.5
  done
  sleep 3
  window=$(xwininfo -name "$caption" 2>/dev/null | awk '/Window id:/ {print $4}')
  if [[ -n $window ]]; then
    import -window "$window" "$work/screenshot.png"
  else
    echo "run.sh: the window did not appear" >&2
  fi
  "${wine_env[@]}" "$wine" taskkill /im VardoHatch.exe >/dev/null 2>&1 || true
  for _ in $(seq 20); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.5
  done
  if kill -0 "$program" 2>/dev/null; then
    "${wine_env[@]}" "$(dirname "$wine")/wineserver" -k
  fi
  wait "$program" || true
  exit 0
fi

drawing=$(realpath "${1:-$VARDO_ROOT/samples/house.txt}")

# Without Wine the drawing goes through the native reader and writer, as OK would write it.
run_native() {
  echo "Wine cannot run here: reading and writing the drawing natively instead."
  ensure_packages "${VARDO_NATIVE_PACKAGES[@]}"
  cmake --preset release >/dev/null
  cmake --build --preset release -j "$(nproc)" --target vardo-roundtrip
  mkdir -p "$VARDO_ROOT/build/run"
  cp "$drawing" "$VARDO_ROOT/build/run/JWC_TEMP.TXT"
  build/release/src/cli/vardo-roundtrip "$VARDO_ROOT/build/run/JWC_TEMP.TXT" \
    "$VARDO_ROOT/build/run/JWC_TEMP.TXT"
  echo "Read $drawing and wrote the exchange file back as OK does:"
  echo "  $VARDO_ROOT/build/run/JWC_TEMP.TXT"
}

# xvfb-run needs xauth; xwininfo and import find the window and take the screenshot; the IPA
# font gives Wine the Japanese characters of the captions.
ensure_packages cmake g++-mingw-w64-x86-64-posix wine64 xvfb xauth locales x11-utils imagemagick \
  fonts-ipafont-gothic
if [[ ! -x $wine ]] || ! "$wine" --version >/dev/null 2>&1; then
  run_native
  exit 0
fi

cmake --preset win >/dev/null
cmake --build --preset win -j "$(nproc)" --target VardoHatch
mkdir -p "$work"
cp build/win/src/platform/win32/VardoHatch.exe "$work/"
cp "$drawing" "$work/JWC_TEMP.TXT"
rm -f "$work/VardoHatch.dat" "$work/screenshot.png"
echo "VardoHatch.exe and the drawing ($drawing as JWC_TEMP.TXT) are in $work"

if [[ -n ${DISPLAY:-} ]]; then
  # A window manager of the display decorates the window.
  "${wine_env[@]}" /bin/sh "$VARDO_ROOT/cmake/wine-run.sh" reg delete \
    'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  (cd "$work" && "${wine_env[@]}" /bin/sh "$VARDO_ROOT/cmake/wine-run.sh" VardoHatch.exe) ||
    run_native
  echo "After OK the hatched drawing is in $work/JWC_TEMP.TXT and the settings in" \
    "$work/VardoHatch.dat; Cancel and the close box leave both as they were."
  exit 0
fi

# A virtual display has no window manager: Wine then draws the window's frame and caption
# itself, and closes windows without waiting for one.
"${wine_env[@]}" /bin/sh "$VARDO_ROOT/cmake/wine-run.sh" reg add 'HKCU\Software\Wine\X11 Driver' \
  /v Managed /t REG_SZ /d N /f >/dev/null
# A Wine session keeps the display of the program that opened its desktop: let this one end.
"${wine_env[@]}" "$(dirname "$wine")/wineserver" -w
echo "No display: running on a virtual one for a few seconds."
xvfb-run -a -s "-screen 0 1280x1024x24" "$VARDO_ROOT/tools/run.sh" --on-virtual-display
if [[ -f $work/screenshot.png ]]; then
  echo "Screenshot of the window: $work/screenshot.png"
else
  echo "No screenshot: the window did not appear."
  exit 1
fi
