// A fresh folder of one's own under the system's temporary folder, removed with everything in it.
#include "common/temp_folder.h"

#include <random>
#include <string>
#include <system_error>

namespace vardo {

TempFolder::TempFolder(std::string_view prefix) {
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) return;
  // A random name, tried again when it is taken: several programs make folders here at once.
  std::mt19937_64 random(std::random_device{}());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = base / (std::string(prefix) + std::to_string(random()));
    if (std::filesystem::create_directory(candidate, ec)) {
      path_ = candidate;
      return;
    }
  }
}

TempFolder::~TempFolder() {
  if (path_.empty()) return;
  std::error_code ec;
  // A test may have taken the write permission away to make writes fail.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

}  // namespace vardo
