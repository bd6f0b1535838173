#!/usr/bin/env bash
# The main job on a sample drawing of ours: reads the exchange file as the program does at
# start-up and writes it back exactly as OK does, then says where the result went.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$VARDO_ROOT"

ensure_packages "${VARDO_NATIVE_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target vardo-roundtrip

work="$VARDO_ROOT/build/run"
mkdir -p "$work"
input="${1:-$VARDO_ROOT/samples/house.txt}"
cp "$input" "$work/JWC_TEMP.TXT"
build/release/src/cli/vardo-roundtrip "$work/JWC_TEMP.TXT" "$work/JWC_TEMP.TXT"
echo "Read $input and wrote the exchange file back as OK does:"
echo "  $work/JWC_TEMP.TXT"
echo "Drawing extents (paper mm): $(build/release/src/cli/vardo-roundtrip --extents "$input")"
