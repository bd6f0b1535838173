// Whole-file reads and atomic whole-file writes (temporary file, flush, rename).
#include "common/file_io.h"

#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vardo {

namespace {

FILE* OpenFile(const std::filesystem::path& path, bool write) {
#ifdef _WIN32
  return _wfopen(path.c_str(), write ? L"wb" : L"rb");
#else
  return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

bool FlushToDisk(FILE* f) {
  if (std::fflush(f) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return fsync(fileno(f)) == 0;
#endif
}

// Not "ReplaceFile": <windows.h> defines that name as a macro for a Win32 call.
bool RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef _WIN32
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

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
  FILE* f = OpenFile(path, false);
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

bool WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temp = path;
  temp += ".vardo-tmp";
  std::error_code ec;

  FILE* f = OpenFile(temp, true);
  bool ok = f != nullptr;
  if (ok) {
    ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = FlushToDisk(f) && ok;
    ok = std::fclose(f) == 0 && ok;
  }
  if (ok) ok = RenameOver(temp, path);
  if (!ok) {
    std::filesystem::remove(temp, ec);
    std::filesystem::remove(path, ec);
  }
  return ok;
}

}  // namespace vardo
