// Small text files of lines: read with byte-order-mark detection, written as UTF-8 with a mark.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vardo {

// Splits decoded text into lines at CR LF, LF or CR; a final line end adds no empty line.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// The lines of a file: UTF-8 or UTF-16 when a byte-order mark says so, else the ANSI code page.
// False when the file cannot be read.
bool LoadTextLines(const std::filesystem::path& path, std::vector<std::u16string>& lines);

// Writes the lines as UTF-8 with a byte-order mark and CR LF after each, atomically; on failure
// no file is left at path.
bool SaveTextLines(const std::filesystem::path& path, const std::vector<std::u16string>& lines);

}  // namespace vardo
