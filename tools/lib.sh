# Shared by the tools/ scripts: installing missing Debian packages, locating the checkout, the
# number of build jobs, running Windows programs under Wine.
# shellcheck shell=bash

VARDO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# ensure_packages PKG...: installs the Debian packages that are not installed yet.
ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

# build_jobs: the number of build and test jobs: VARDO_JOBS, else CMake's own
# CMAKE_BUILD_PARALLEL_LEVEL, else one per core.
build_jobs() {
  local jobs=${VARDO_JOBS:-${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}}
  if [[ ! $jobs =~ ^[1-9][0-9]*$ ]]; then
    echo "$(basename "$0"): the number of jobs must be a whole number above 0, not '$jobs'" >&2
    return 1
  fi
  echo "$jobs"
}

# The native build (presets dev and fuzz): compilers, CMake, GoogleTest, libpng, iconv's CP932
# (in libc6), clang with libFuzzer, FreeType and fontconfig with the Japanese faces that texts
# are drawn with.
VARDO_NATIVE_PACKAGES=(build-essential cmake pkg-config libgtest-dev libgmock-dev libpng-dev
  libc6-dev clang libclang-rt-14-dev libfreetype-dev libfontconfig-dev fonts-ipafont-gothic
  fonts-ipafont-mincho)

# The benchmarks (preset release): Google Benchmark and the peers they are measured against,
# OpenCV, GEOS and cairo.
VARDO_BENCH_PACKAGES=(libbenchmark-dev libopencv-dev libgeos-dev libcairo2-dev)

# The Windows build (preset win) and its tests under Wine: the cross compiler, GoogleTest's
# sources, Wine, a virtual display (xvfb-run needs xauth), the locale sources localedef reads
# and the IPA fonts Wine draws the Japanese faces with.
VARDO_WIN_PACKAGES=(cmake googletest g++-mingw-w64-x86-64-posix wine64 xvfb xauth locales
  fonts-ipafont-gothic fonts-ipafont-mincho)

# The Wine loader the Windows build runs its programs with (cmake/mingw-w64.cmake); the
# environment may name another.
VARDO_WINE=${VARDO_WINE:-/usr/lib/wine/wine64}

# wine_run PREFIX ARGS...: cmake/wine-run.sh ARGS in the Wine prefix PREFIX, a locale the host
# lacks compiled where the Windows build compiles it.
wine_run() {
  WINEPREFIX=$1 LOCPATH="$VARDO_ROOT/build/win/locale" VARDO_WINE=$VARDO_WINE \
    /bin/sh "$VARDO_ROOT/cmake/wine-run.sh" "${@:2}"
}
