#!/usr/bin/env bash
# The product on a sample drawing of ours: builds VardoHatch.exe (preset win), lays it in
# build/run-win/ beside the drawing as JWC_TEMP.TXT and opens it under Wine. Without a display it
# runs on a virtual one, saves a screenshot and closes the program after a few seconds.
# Exits non-zero with a one-line reason when the program could not be shown. Only on a machine
# where Wine cannot run at all does the drawing go through the native reader and writer instead,
# and the script says so.
# usage: tools/run.sh [DRAWING]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$VARDO_ROOT"

caption="Vardo－塗りハッチ"
work="$VARDO_ROOT/build/run-win"
prefix="$work/wineprefix"
wineserver="$(dirname "$VARDO_WINE")/wineserver"
# The first run also builds the Wine prefix, which takes a while.
appear_seconds=120

fail() {
  echo "run.sh: $*" >&2
  exit 1
}

window_id() {
  xwininfo -name "$caption" 2>/dev/null | awk '/Window id:/ {print $4}'
}

# Starts the program in the work folder; its process is $program.
start_program() {
  (cd "$work" && wine_run "$prefix" VardoHatch.exe) &
  program=$!
  # However the script ends, no program of the session outlives it.
  trap 'wine_run "$prefix" --stop-server >/dev/null 2>&1 || true' EXIT
}

# Waits for the program to end; its exit status goes to $status.
wait_program() {
  status=0
  wait "$program" || status=$?
}

# Waits until the program's window is there; fails when the program ends first or the window
# does not come.
wait_for_window() {
  local _
  for _ in $(seq $((appear_seconds * 2))); do
    [[ -n $(window_id) ]] && return 0
    if ! kill -0 "$program" 2>/dev/null; then
      wait_program
      fail "VardoHatch.exe ended (exit status $status) before its window appeared"
    fi
    sleep 0.5
  done
  fail "the window of VardoHatch.exe did not appear within $appear_seconds s"
}

# On the virtual display: start the program, wait for its window, take the screenshot, then
# close the window as its close box does (nothing is written) and wait for the program to end.
if [[ ${1:-} == --on-virtual-display ]]; then
  start_program
  wait_for_window
  sleep 3
  window=$(window_id)
  [[ -n $window ]] || fail "the window of VardoHatch.exe closed before the screenshot"
  import -window "$window" "$work/screenshot.png" && [[ -s $work/screenshot.png ]] ||
    fail "could not take a screenshot of the window"
  wine_run "$prefix" taskkill /im VardoHatch.exe >/dev/null 2>&1 || true
  for _ in $(seq 20); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.5
  done
  kill -0 "$program" 2>/dev/null && fail "VardoHatch.exe did not close when its window was closed"
  wait_program
  [[ $status -eq 0 ]] || fail "VardoHatch.exe ended with exit status $status when closed"
  exit 0
fi

drawing=$(realpath "${1:-$VARDO_ROOT/samples/house.drw}")
[[ -f $drawing ]] || fail "there is no drawing $drawing"

# Without Wine the drawing goes through the native reader and writer, as OK would write it.
run_native() {
  echo "run.sh: Wine cannot run on this machine ($1), so the window cannot be shown here."
  echo "Reading the drawing and writing it back natively instead, as OK would."
  ensure_packages "${VARDO_NATIVE_PACKAGES[@]}"
  local jobs
  jobs=$(build_jobs)
  cmake --preset dev >/dev/null
  cmake --build --preset dev -j "$jobs" --target vardo-roundtrip
  mkdir -p "$VARDO_ROOT/build/run"
  cp "$drawing" "$VARDO_ROOT/build/run/JWC_TEMP.TXT"
  build/dev/src/cli/vardo-roundtrip "$VARDO_ROOT/build/run/JWC_TEMP.TXT" \
    "$VARDO_ROOT/build/run/JWC_TEMP.TXT"
  echo "Read $drawing and wrote the exchange file back as OK does:"
  echo "  $VARDO_ROOT/build/run/JWC_TEMP.TXT"
}

# The Windows build and Wine (with the IPA fonts for the captions and the faces drawings name);
# xwininfo and import find the window and take the screenshot. Wine itself comes last: where it
# cannot be installed, the rest still is.
tools=(x11-utils imagemagick)
for pkg in "${VARDO_WIN_PACKAGES[@]}"; do
  [[ $pkg == wine64 ]] || tools+=("$pkg")
done
ensure_packages "${tools[@]}"
if ! ensure_packages wine64; then
  run_native "the package wine64 could not be installed"
  exit 0
fi
if ! "$VARDO_WINE" --version >/dev/null 2>&1; then
  run_native "$VARDO_WINE does not start"
  exit 0
fi

jobs=$(build_jobs)
cmake --preset win >/dev/null
cmake --build --preset win -j "$jobs" --target VardoHatch
mkdir -p "$work"
cp build/win/src/platform/win32/VardoHatch.exe "$work/"
cp "$drawing" "$work/JWC_TEMP.TXT"
rm -f "$work/VardoHatch.dat" "$work/screenshot.png"
echo "VardoHatch.exe and the drawing ($drawing as JWC_TEMP.TXT) are in $work"

if [[ -n ${DISPLAY:-} ]]; then
  # A window manager of the display decorates the window.
  wine_run "$prefix" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 ||
    true
  start_program
  wait_for_window
  wait_program
  [[ $status -eq 0 ]] || fail "VardoHatch.exe ended with exit status $status"
  echo "After OK the hatched drawing is in $work/JWC_TEMP.TXT and the settings in" \
    "$work/VardoHatch.dat; Cancel and the close box leave both as they were."
  exit 0
fi

# A virtual display has no window manager: Wine then draws the window's frame and caption
# itself, and closes windows without waiting for one.
wine_run "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
  >/dev/null || fail "cannot prepare the Wine prefix $prefix"
# A Wine session keeps the display of the program that opened its desktop: let this one end.
WINEPREFIX=$prefix "$wineserver" -w
echo "No display: running on a virtual one for a few seconds."
xvfb-run -a -s "-screen 0 1280x1024x24" "$VARDO_ROOT/tools/run.sh" --on-virtual-display
echo "Screenshot of the window: $work/screenshot.png"
