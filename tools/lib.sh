# Shared by the tools/ scripts: installing missing Debian packages, locating the checkout.
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

# The native build: compilers, CMake, GoogleTest, Google Benchmark, libpng, iconv's CP932.
VARDO_NATIVE_PACKAGES=(build-essential cmake pkg-config libgtest-dev libgmock-dev
  libbenchmark-dev libpng-dev libc6-dev clang libclang-rt-14-dev)
