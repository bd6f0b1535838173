// Fuzz target: bytes become scenario commands (and, now and then, a damaged settings file) run
// through the real form controller in the headless shell over a small drawing.

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

#include "cli/script.h"
#include "common/temp_folder.h"
#include "fuzz_support.h"

namespace {

// Two nested squares and a circle: closed regions to mark, an annulus, curves to pick.
constexpr std::string_view kDrawing =
    "hs 2 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg0\r\nly0\r\nlc2\r\n"
    "0 0 200 0\r\n200 0 200 200\r\n200 200 0 200\r\n0 200 0 0\r\n"
    "50 50 150 50\r\n150 50 150 150\r\n150 150 50 150\r\n50 150 50 50\r\n"
    "ci 100 100 20\r\nhp1 10 10\r\nhp2 30 30\r\n";

// Every Esc poll of one command counts against this; then the key goes down, as a user would
// press it when a run takes too long.
constexpr long long kPollsPerCommand = 200000;
constexpr int kMaxCommands = 64;

constexpr std::array<std::string_view, 12> kNumbers = {
    "", "0", "-2", "1", "10", "0.5", "abc", "1e308", "-1e-300", "2147483647", "90", " 45"};
constexpr std::array<std::string_view, 11> kKeys = {"PageUp", "PageDown", "Insert", "End",
                                                    "Home",   "Left",     "Right",  "Up",
                                                    "Down",   "Delete",   "Escape"};
constexpr std::array<std::string_view, 6> kPrints = {"status",  "counters", "view",
                                                     "message", "hat",      "edits"};

class Bytes : public vardo::fuzz::ByteSource {
 public:
  using ByteSource::ByteSource;
  // A coordinate around the 96 x 96 paint box, reaching past its edges.
  std::string Coord() { return std::to_string(static_cast<int>(Next()) - 32); }
  std::string XY() { return Coord() + " " + Coord(); }
};

std::string Buttons(uint8_t b) {
  static constexpr std::string_view kNames[] = {"left", "right", "middle"};
  std::string out;
  for (int i = 0; i < 3; ++i) {
    if ((b >> i & 1) == 0) continue;
    if (!out.empty()) out += '+';
    out += kNames[i];
  }
  return out.empty() ? "left" : out;
}

std::string NextCommand(Bytes& in) {
  const uint8_t op = in.Next();
  switch (op % 24) {
    case 0:
      return "size " + std::to_string(1 + in.Next() % 96) + " " +
             std::to_string(1 + in.Next() % 96);
    case 1:
      return "show";
    case 2:
      return "press " + Buttons(in.Next()) + " " + in.XY();
    case 3:
      return "move " + in.XY();
    case 4:
      return "release " + in.XY();
    case 5:
      return "click " + in.XY();
    case 6:
      return std::string(in.Next() % 2 ? "wheel up " : "wheel down ") + in.XY();
    case 7:
      return "pointer " + std::to_string(static_cast<int>(in.Next()) * 2 - 100) + " " + in.Coord();
    case 8:
      return "key " + std::string(in.Pick(kKeys)) + (in.Next() % 2 ? " shift" : "");
    case 9:
      return in.Next() % 2 ? "esc down" : "esc up";
    case 10:
      return in.Next() % 2 ? "mono on" : "mono off";
    case 11:
      return in.Next() % 2 ? "cross on" : "cross off";
    case 12:
      return "colour " + std::to_string(static_cast<int>(in.Next()) + 255 - 512);
    case 13:
      return "linetype " + std::to_string(static_cast<int>(in.Next()) - 64);
    case 14:
      return "spacing " + std::string(in.Pick(kNumbers));
    case 15:
      return "angle " + std::string(in.Pick(kNumbers));
    case 16:
      return "cross-spacing " + std::string(in.Pick(kNumbers));
    case 17:
      return "cross-angle " + std::string(in.Pick(kNumbers));
    case 18:
    case 19:
      return "run";
    case 20:
      return in.Next() % 4 == 0 ? "ok" : "print counters";
    case 21:
      return in.Next() % 8 == 0 ? "cancel" : "print view";
    case 22:
      return "print " + std::string(in.Pick(kPrints));
    default: {
      // A raw line for the parser, up to the next zero byte. Screenshots would write files
      // anywhere and large paint boxes only cost time, so those two stay out.
      std::string raw;
      for (uint8_t c; !in.empty() && (c = in.Next()) != 0 && raw.size() < 40;) {
        raw += static_cast<char>(c);
      }
      if (raw.find("screenshot") != std::string::npos || raw.find("size") != std::string::npos) {
        return "#";
      }
      return raw;
    }
  }
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A settings file of damaged and extreme values, or none.
void WriteSettings(const std::filesystem::path& path, Bytes& in) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  const uint8_t lines = in.Next();
  if (lines % 2 == 0) return;
  std::string text;
  for (int i = 0; i < lines % 17; ++i)
    text += std::string(in.Pick(kNumbers)) + "\r\n";
  WriteFile(path, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const vardo::TempFolder folder("vardo_script_fuzz_");
  WriteFile(folder.path() / "JWC_TEMP.TXT", kDrawing);
  Bytes in(data, size);
  WriteSettings(folder.path() / "VardoHatch.dat", in);

  std::ostringstream out;
  vardo::Scenario scenario(folder.path().u16string(), out);
  scenario.window().ResizePaintBox(96, 96);
  for (int n = 0; n < kMaxCommands && !in.empty() && !scenario.Closed(); ++n) {
    scenario.window().HoldEscapeAfterPolls(kPollsPerCommand);
    std::string error;
    if (!scenario.Run(NextCommand(in), error)) break;
  }
  scenario.End();
  return 0;
}
