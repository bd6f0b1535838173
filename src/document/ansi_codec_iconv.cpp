// The ANSI code page where the platform has none: CP932 (Shift-JIS) through iconv.
#include <errno.h>
#include <iconv.h>

#include <cstdint>

#include "document/text_codec.h"

namespace vardo {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);  // iconv_open's failure value

bool IsLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Runs one iconv conversion over a whole buffer; stops at the first byte it cannot convert.
// Returns the number of input bytes consumed.
size_t Convert(iconv_t cd, const char* in, size_t in_size, std::string& out) {
  char* src = const_cast<char*>(in);
  size_t left = in_size;
  char buf[1024];
  while (left > 0) {
    char* dst = buf;
    size_t room = sizeof buf;
    size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, static_cast<size_t>(dst - buf));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) break;
  }
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  return in_size - left;
}

}  // namespace

struct AnsiCodec::Impl {
  iconv_t to_utf16 = iconv_open("UTF-16LE", "CP932");
  iconv_t from_utf16 = iconv_open("CP932", "UTF-16LE");
  std::string scratch;
};

AnsiCodec::AnsiCodec() : impl_(new Impl) {}

AnsiCodec::~AnsiCodec() {
  if (impl_->to_utf16 != kNoConverter) iconv_close(impl_->to_utf16);
  if (impl_->from_utf16 != kNoConverter) iconv_close(impl_->from_utf16);
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
    // A run of double-byte characters and half-width katakana goes to iconv in one call; a
    // trail byte may lie in the ASCII range, so the run is walked character by character.
    size_t end = i;
    while (end < n && p[end] >= 0x80)
      end += (IsLeadByte(p[end]) && end + 1 < n) ? 2 : 1;
    size_t pos = i;
    while (pos < end) {
      std::string& units = impl_->scratch;
      units.clear();
      size_t used = impl_->to_utf16 == kNoConverter
                        ? 0
                        : Convert(impl_->to_utf16, bytes.data() + pos, end - pos, units);
      for (size_t k = 0; k + 1 < units.size(); k += 2) {
        out.push_back(static_cast<char16_t>(static_cast<uint8_t>(units[k]) |
                                            (static_cast<uint8_t>(units[k + 1]) << 8)));
      }
      pos += used;
      if (pos < end) {
        out.push_back(0xFFFD);
        ++pos;
      }
    }
    i = end;
  }
}

bool AnsiCodec::Encode(std::u16string_view text, std::string& out) {
  const size_t n = text.size();
  char16_t any = 0;
  for (char16_t c : text)
    any |= c;
  if (any < 0x80) {
    // ASCII, the usual line: every byte encoding writes it unchanged.
    const size_t at = out.size();
    out.resize(at + n);
    for (size_t k = 0; k < n; ++k)
      out[at + k] = static_cast<char>(text[k]);
    return true;
  }
  size_t i = 0;
  while (i < n) {
    if (text[i] < 0x80) {
      out.push_back(static_cast<char>(text[i++]));
      continue;
    }
    size_t end = i;
    while (end < n && text[end] >= 0x80)
      ++end;
    std::string& units = impl_->scratch;
    units.clear();
    for (size_t k = i; k < end; ++k) {
      units.push_back(static_cast<char>(text[k] & 0xFF));
      units.push_back(static_cast<char>(text[k] >> 8));
    }
    if (impl_->from_utf16 == kNoConverter) return false;
    if (Convert(impl_->from_utf16, units.data(), units.size(), out) != units.size()) return false;
    i = end;
  }
  return true;
}

}  // namespace vardo
