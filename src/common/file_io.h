// Whole-file reads and atomic whole-file writes (temporary file, flush, rename).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace vardo {

// UTF-16 path text as the program holds it, to a filesystem path.
std::filesystem::path ToPath(std::u16string_view path);

bool FileExists(const std::filesystem::path& path);

// Reads the whole file into bytes; false when it cannot be opened or read.
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes);

// Writes bytes to a temporary file beside path, flushes it to disk and renames it over path, so
// a reader finds either the old file or the whole new one. On any failure the temporary file is
// removed, path keeps what it held, error (when given) receives the system's reason, and the
// answer is false.
bool WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes,
                     std::error_code* error = nullptr);

}  // namespace vardo
