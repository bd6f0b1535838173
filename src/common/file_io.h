// Whole-file reads and atomic whole-file writes (temporary file, flush, rename).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vardo {

// UTF-16 path text as the program holds it, to a filesystem path.
std::filesystem::path ToPath(std::u16string_view path);

bool FileExists(const std::filesystem::path& path);

// Reads the whole file into bytes; false when it cannot be opened or read.
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes);

// Writes bytes to a temporary file beside path, flushes it to disk and renames it over path.
// On any failure the temporary file and then path itself are removed, so no reader ever finds
// a half-written file; returns false.
bool WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);

}  // namespace vardo
