// Text encodings at the file boundary: byte-order marks, UTF-8 and UTF-16.
#include "document/text_codec.h"

#include <cstdint>

namespace vardo {

TextEncoding DetectEncoding(std::string_view bytes, size_t& bom_length) {
  if (bytes.substr(0, 3) == kUtf8Bom) {
    bom_length = 3;
    return TextEncoding::Utf8Bom;
  }
  if (bytes.substr(0, 2) == "\xFF\xFE") {
    bom_length = 2;
    return TextEncoding::Utf16LE;
  }
  if (bytes.substr(0, 2) == "\xFE\xFF") {
    bom_length = 2;
    return TextEncoding::Utf16BE;
  }
  bom_length = 0;
  return TextEncoding::Ansi;
}

void DecodeUtf8(std::string_view bytes, std::u16string& out) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    uint8_t b = p[i];
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    int extra;
    uint32_t cp, min;
    if (b >= 0xC2 && b <= 0xDF) {
      extra = 1, cp = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2, cp = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3, cp = b & 0x07, min = 0x10000;
    } else {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    size_t k = 1;
    for (; k <= static_cast<size_t>(extra) && i + k < n && (p[i + k] & 0xC0) == 0x80; ++k) {
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    // A truncated or overlong sequence, a surrogate or a value beyond U+10FFFF is one error;
    // the bytes after the lead that were not continuations are decoded afresh.
    if (k != static_cast<size_t>(extra) + 1 || cp < min || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(0xFFFD);
      i += k;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += k;
  }
}

void DecodeUtf16(std::string_view bytes, bool big_endian, std::u16string& out) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t units = bytes.size() / 2;
  out.reserve(out.size() + units + 1);
  for (size_t i = 0; i < units; ++i) {
    uint8_t a = p[2 * i], b = p[2 * i + 1];
    out.push_back(static_cast<char16_t>(big_endian ? (a << 8) | b : (b << 8) | a));
  }
  if (bytes.size() % 2 != 0) out.push_back(0xFFFD);
}

void EncodeUtf8(std::u16string_view text, std::string& out) {
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    uint32_t c = text[i];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    }
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace vardo
