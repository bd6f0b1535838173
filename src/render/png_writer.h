// Writes a surface to a PNG file, pixel for pixel.
#pragma once

#include <filesystem>

#include "render/surface.h"

namespace vardo {

// Writes the surface as an 8-bit RGB PNG (each 0x00BBGGRR value exactly), atomically. False
// for an empty surface or when encoding or writing fails; no partial file is left.
bool WritePng(const Surface& surface, const std::filesystem::path& path);

}  // namespace vardo
