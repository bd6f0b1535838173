// The ANSI code page on Windows: the process's code page through the Win32 conversions.
#include <windows.h>

#include <cstdint>

#include "document/text_codec.h"

namespace vardo {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

// Runs handed to one Win32 call stay far below INT_MAX even at four bytes per unit.
constexpr size_t kMaxRun = size_t{1} << 16;
// No code page takes more bytes than this for one UTF-16 unit (GB18030 and UTF-8 included).
constexpr size_t kMaxBytesPerUnit = 4;

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

// Decodes one run with undecodable input refused; false leaves out untouched.
bool DecodeStrict(const char* bytes, size_t size, std::wstring& scratch, std::u16string& out) {
  scratch.resize(size);  // a byte never yields more than one unit
  const int units = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(size),
                                        scratch.data(), static_cast<int>(scratch.size()));
  if (units <= 0) return false;
  for (int k = 0; k < units; ++k)
    out.push_back(static_cast<char16_t>(scratch[static_cast<size_t>(k)]));
  return true;
}

}  // namespace

struct AnsiCodec::Impl {
  // The UTF-8 code page takes neither the best-fit flag nor the used-default answer.
  bool utf8 = GetACP() == CP_UTF8;
  std::wstring wide;
  std::string narrow;
};

AnsiCodec::AnsiCodec() : impl_(new Impl) {}

AnsiCodec::~AnsiCodec() {
  delete impl_;
}

void AnsiCodec::Decode(std::string_view bytes, std::u16string& out) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      out.push_back(p[i++]);
      continue;
    }
    // A trail byte may lie in the ASCII range, so the run is walked character by character.
    size_t end = i;
    while (end < n && p[end] >= 0x80 && end - i < kMaxRun)
      end += (IsDBCSLeadByte(p[end]) && end + 1 < n) ? 2 : 1;
    if (!DecodeStrict(bytes.data() + i, end - i, impl_->wide, out)) {
      // Somewhere in the run is a byte sequence the code page does not define: decode it one
      // character at a time and let each bad byte stand for itself.
      size_t pos = i;
      while (pos < end) {
        const size_t len = (IsDBCSLeadByte(p[pos]) && pos + 1 < end) ? 2 : 1;
        if (DecodeStrict(bytes.data() + pos, len, impl_->wide, out)) {
          pos += len;
        } else {
          out.push_back(0xFFFD);
          ++pos;
        }
      }
    }
    i = end;
  }
}

bool AnsiCodec::Encode(std::u16string_view text, std::string& out) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    if (text[i] < 0x80) {
      out.push_back(static_cast<char>(text[i++]));
      continue;
    }
    size_t end = i;
    while (end < n && text[end] >= 0x80 && end - i < kMaxRun)
      ++end;
    // A run cut at the cap must not split a surrogate pair between two calls.
    if (end - i == kMaxRun && end < n && IsHighSurrogate(text[end - 1])) --end;

    std::string& bytes = impl_->narrow;
    bytes.resize((end - i) * kMaxBytesPerUnit);
    const auto* src = reinterpret_cast<const wchar_t*>(text.data() + i);
    BOOL used_default = FALSE;
    const int size =
        impl_->utf8
            ? WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, src, static_cast<int>(end - i),
                                  bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)
            : WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, src, static_cast<int>(end - i),
                                  bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                  &used_default);
    if (size <= 0 || used_default) return false;
    out.append(bytes.data(), static_cast<size_t>(size));
    i = end;
  }
  return true;
}

}  // namespace vardo
