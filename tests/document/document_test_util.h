// Shared helpers of the document tests: temporary folders, exchange files from bytes, the
// output buffer as UTF-8 lines.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "common/temp_folder.h"
#include "document/model.h"
#include "document/text_codec.h"

namespace vardo::test {

// A temporary folder of the test's own, with its files by name.
class TempDir {
 public:
  TempDir() { EXPECT_FALSE(folder_.path().empty()) << "no temporary folder"; }

  const std::filesystem::path& path() const { return folder_.path(); }
  std::filesystem::path File(std::string_view name) const { return path() / name; }

  // The names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path()))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  TempFolder folder_{"vardo-doc-"};
};

inline std::string U8(std::u16string_view s) {
  std::string out;
  EncodeUtf8(s, out);
  return out;
}

inline std::u16string U16(std::string_view utf8) {
  std::u16string out;
  DecodeUtf8(utf8, out);
  return out;
}

// A path as the UTF-16 path text the document takes.
inline std::u16string PathText(const std::filesystem::path& p) {
  return p.u16string();
}

inline void WriteBytes(const std::filesystem::path& p, std::string_view bytes) {
  std::ofstream f(p, std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Reads bytes as the exchange file, through a real file as start-up does.
inline void ReadInto(TJGdata& d, std::string_view bytes) {
  TempDir dir;
  const auto file = dir.File("JWC_TEMP.TXT");
  WriteBytes(file, bytes);
  d.OpenTempFile(PathText(file));
}

// A new document that has read bytes as its exchange file.
inline TJGdata Read(std::string_view bytes) {
  TJGdata d;
  ReadInto(d, bytes);
  return d;
}

// The output buffer, one UTF-8 string per line.
inline std::vector<std::string> OutLines(const TJGdata& d) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < d.t_Mem.size(); ++i)
    lines.push_back(U8(d.t_Mem[i]));
  return lines;
}

// The commit as start-up and OK make it: S_Init after reading, then CommitTempFile; the file's
// bytes.
inline std::string CommitBytes(TJGdata& d, const StopPoll& stop = {}) {
  d.S_Init();
  TempDir dir;
  const auto file = dir.File("JWC_TEMP.TXT");
  EXPECT_TRUE(d.CommitTempFile(PathText(file), stop));
  return ReadBytes(file);
}

// The lines of a file the writer wrote: UTF-8 after a byte-order mark, else the ANSI code page.
inline std::vector<std::string> FileLines(std::string_view bytes) {
  std::u16string text;
  if (bytes.starts_with(kUtf8Bom)) {
    DecodeUtf8(bytes.substr(kUtf8Bom.size()), text);
  } else {
    AnsiCodec().Decode(bytes, text);
  }
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = text.find(u"\r\n", start)) != std::u16string::npos;
       start = end + 2) {
    lines.push_back(U8(std::u16string_view(text).substr(start, end - start)));
  }
  return lines;
}

// Reads bytes as the exchange file and answers the bytes that OK would write back.
inline std::string RoundTrip(std::string_view bytes) {
  TJGdata d;
  ReadInto(d, bytes);
  return CommitBytes(d);
}

// Lines joined with "\n" (for readable comparisons of several lines).
inline std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) {
    s += l;
    s += '\n';
  }
  return s;
}

}  // namespace vardo::test
