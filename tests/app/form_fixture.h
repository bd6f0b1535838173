// A program folder in the temporary directory with a drawing and settings of the test's own,
// and the form shown in the headless shell over it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/form.h"
#include "common/temp_folder.h"
#include "common/view_state.h"
#include "platform/headless/headless_window.h"

namespace vardo::test {

// A 100 x 100 square of black lines with its lower left corner at the origin, one unit per
// paper millimetre.
inline constexpr std::string_view kSquare =
    "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\n"
    "lg0\r\nly0\r\nlc2\r\n"
    "0 0 100 0\r\n100 0 100 100\r\n100 100 0 100\r\n0 100 0 0\r\n";

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(dir_.empty()) << "no temporary folder"; }
  // The window goes before its folder.
  void TearDown() override { window_.reset(); }

  std::filesystem::path Path(std::string_view name) const { return dir_ / name; }

  void WriteFile(std::string_view name, std::string_view bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }

  std::string ReadFile(std::string_view name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  bool Exists(std::string_view name) const { return std::filesystem::exists(Path(name)); }

  void WriteDrawing(std::string_view text) const { WriteFile("JWC_TEMP.TXT", text); }

  // The settings file from its lines, UTF-8 with a byte-order mark as the program writes it.
  void WriteSettings(const std::vector<std::string>& lines) const {
    std::string bytes = "\xEF\xBB\xBF";
    for (const std::string& line : lines)
      bytes += line + "\r\n";
    WriteFile("VardoHatch.dat", bytes);
  }

  // The settings file's lines; empty when there is none. Checks the mark and the line ends.
  std::vector<std::string> SettingsLines() const {
    std::string bytes = ReadFile("VardoHatch.dat");
    std::vector<std::string> lines;
    if (bytes.empty()) return lines;
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    bytes.erase(0, 3);
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(bytes.substr(start, end - start));
    }
    EXPECT_EQ(start, bytes.size()) << "the last line lacks CR LF";
    return lines;
  }

  // Creates the shell over the folder; Show() is left to the test when show is false.
  HeadlessWindow& Open(int width = 400, int height = 300, bool show = true) {
    window_ =
        std::make_unique<HeadlessWindow>((dir_ / "VardoHatch.exe").u16string(), width, height);
    if (show) window_->Show();
    return *window_;
  }

  HeadlessWindow& window() { return *window_; }
  TForm1& form() { return window_->form(); }
  const ViewState& view() { return window_->form().View; }

  // Pixels of one colour on the screen.
  int CountColour(uint32_t colour) {
    const Surface& s = window_->Screen();
    int n = 0;
    for (int y = 0; y < s.Height(); ++y) {
      for (int x = 0; x < s.Width(); ++x)
        n += s.GetPixel(x, y) == colour;
    }
    return n;
  }

  // The square marked at its centre with the display in monochrome, ready for a run.
  void MarkSquare() {
    window_->Tick(Control::CheckBox1, true);
    const int x = DrawToPixelX(view(), 50), y = DrawToPixelY(view(), 50);
    window_->Press(kMouseLeft, x, y);
    window_->Release(x, y);
  }

  TempFolder folder_{"vardo-app-"};
  const std::filesystem::path& dir_ = folder_.path();
  std::unique_ptr<HeadlessWindow> window_;
};

}  // namespace vardo::test
