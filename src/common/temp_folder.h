// A fresh folder of one's own under the system's temporary folder, removed with everything in it.
#pragma once

#include <filesystem>
#include <string_view>

namespace vardo {

class TempFolder {
 public:
  // The folder's name is prefix followed by a random number. path() is empty when no folder
  // could be made.
  explicit TempFolder(std::string_view prefix);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace vardo
