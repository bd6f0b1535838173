// Small text files of lines: read with byte-order-mark detection, written as UTF-8 with a mark.
#include "app/text_lines_file.h"

#include "common/file_io.h"
#include "document/text_codec.h"

namespace vardo {

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool LoadTextLines(const std::filesystem::path& path, std::vector<std::u16string>& lines) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return false;
  size_t bom = 0;
  const TextEncoding encoding = DetectEncoding(bytes, bom);
  const std::string_view body = std::string_view(bytes).substr(bom);
  std::u16string text;
  switch (encoding) {
    case TextEncoding::Utf8Bom:
      DecodeUtf8(body, text);
      break;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
      DecodeUtf16(body, encoding == TextEncoding::Utf16BE, text);
      break;
    case TextEncoding::Ansi:
      AnsiCodec().Decode(body, text);
      break;
  }
  lines = SplitLines(text);
  return true;
}

bool SaveTextLines(const std::filesystem::path& path, const std::vector<std::u16string>& lines) {
  std::string bytes(kUtf8Bom);
  for (const std::u16string& line : lines) {
    EncodeUtf8(line, bytes);
    bytes += "\r\n";
  }
  return WriteFileAtomic(path, bytes);
}

}  // namespace vardo
