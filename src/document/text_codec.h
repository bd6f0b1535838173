// Text encodings at the file boundary: byte-order marks, UTF-8, UTF-16 and the ANSI code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vardo {

enum class TextEncoding { Ansi, Utf8Bom, Utf16LE, Utf16BE };

// The encoding a byte-order mark announces (Ansi without one) and the mark's length in bytes.
TextEncoding DetectEncoding(std::string_view bytes, size_t& bom_length);

// Decoders append to out; bytes that do not decode become U+FFFD.
void DecodeUtf8(std::string_view bytes, std::u16string& out);
void DecodeUtf16(std::string_view bytes, bool big_endian, std::u16string& out);

// Appends UTF-8; a lone surrogate becomes U+FFFD.
void EncodeUtf8(std::u16string_view text, std::string& out);

// The system's ANSI code page: CP932 (Shift-JIS) where the platform has no such notion, the
// process's ANSI code page on Windows. One object serves a whole file; create it per operation.
class AnsiCodec {
 public:
  AnsiCodec();
  ~AnsiCodec();
  AnsiCodec(const AnsiCodec&) = delete;
  AnsiCodec& operator=(const AnsiCodec&) = delete;

  // Appends the decoded text; undecodable bytes become U+FFFD.
  void Decode(std::string_view bytes, std::u16string& out);
  // Appends the encoded text; false when a character has no form in the code page (out then
  // holds a partial result the caller must discard).
  bool Encode(std::u16string_view text, std::string& out);

 private:
  struct Impl;
  Impl* impl_;
};

// The byte-order mark of UTF-8.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace vardo
