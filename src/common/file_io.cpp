// Whole-file reads and atomic whole-file writes (temporary file, flush, rename).
#include "common/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vardo {

namespace {

FILE* OpenFile(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wfopen(path.c_str(), L"rb");
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

// The calls below are the system's own rather than the C library's, so that a failure carries
// the system's error code (a full disk, a locked file) for the user to be told.
#ifdef _WIN32

std::error_code LastError() {
  return {static_cast<int>(GetLastError()), std::system_category()};
}

// Writes and flushes a new file; created tells whether the file came into being.
std::error_code WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                             bool& created) {
  const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return LastError();
  created = true;
  std::error_code error;
  while (!bytes.empty() && !error) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(h, bytes.data(), chunk, &written, nullptr)) error = LastError();
    bytes.remove_prefix(written);
  }
  if (!error && !FlushFileBuffers(h)) error = LastError();
  if (!CloseHandle(h) && !error) error = LastError();
  return error;
}

// Not "ReplaceFile": <windows.h> defines that name as a macro for a Win32 call.
std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return LastError();
}

#else

std::error_code LastError() {
  return {errno, std::generic_category()};
}

std::error_code WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                             bool& created) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return LastError();
  created = true;
  std::error_code error;
  while (!bytes.empty() && !error) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno != EINTR) error = LastError();
    } else {
      bytes.remove_prefix(static_cast<size_t>(written));
    }
  }
  if (!error && fsync(fd) != 0) error = LastError();
  if (close(fd) != 0 && !error) error = LastError();
  return error;
}

std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return {};
  return LastError();
}

#endif

}  // namespace

std::filesystem::path ToPath(std::u16string_view path) {
#ifdef _WIN32
  // Wide names take any UTF-16 units; copied unit by unit, since a conversion would throw on a
  // lone surrogate.
  return std::filesystem::path(std::wstring(path.begin(), path.end()));
#else
  // Names here are UTF-8, which has no form for a lone surrogate (the conversion would throw):
  // such a unit becomes U+FFFD, naming a file that simply is not there.
  std::u16string text(path);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool high = c >= 0xD800 && c <= 0xDBFF, low = c >= 0xDC00 && c <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      ++i;
    } else if (high || low) {
      text[i] = 0xFFFD;
    }
  }
  return std::filesystem::path(text);
#endif
}

bool FileExists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes) {
  bytes.clear();
  // A folder opens on some systems and then reports a nonsense size.
  if (!FileExists(path)) return false;
  FILE* f = OpenFile(path);
  if (!f) return false;
  bool ok = true;
  if (std::fseek(f, 0, SEEK_END) == 0) {
    long size = std::ftell(f);
    if (size > 0) bytes.reserve(static_cast<size_t>(size));
    std::fseek(f, 0, SEEK_SET);
  }
  char chunk[1 << 16];
  for (;;) {
    size_t got = std::fread(chunk, 1, sizeof chunk, f);
    bytes.append(chunk, got);
    if (got < sizeof chunk) {
      ok = !std::ferror(f);
      break;
    }
  }
  std::fclose(f);
  if (!ok) bytes.clear();
  return ok;
}

bool WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes,
                     std::error_code* error) {
  std::filesystem::path temp = path;
  temp += ".vardo-tmp";
  bool created = false;
  std::error_code failure = WriteNewFile(temp, bytes, created);
  if (!failure) failure = RenameOver(temp, path);
  if (!failure) return true;
  // Only a file this call made is removed: something else of that name is not ours.
  std::error_code ignored;
  if (created) std::filesystem::remove(temp, ignored);
  if (error) *error = failure;
  return false;
}

}  // namespace vardo
