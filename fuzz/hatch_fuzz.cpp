// Fuzz target: whole hatch runs. Bytes become a drawing written as an exchange file (lines,
// circles, arcs, solids, points, marks, texts; layer-group scales that may be 0, negative, tiny
// or huge; with or without "bz"), a small paint box, marking clicks, spacing and angle texts
// (extreme and invalid ones among them), cross hatch and the end correction on or off; the
// real controller in the headless shell then runs the hatch, maybe twice, maybe removes it, and
// ends with OK. After every step the hatch must be the tail of the tables and, after a run, the
// counter line must show what the document holds.
//
// Input layout: W, H, flags, the Esc poll count, four text choices, the scales of layer groups
// 0..3, the number of clicks and two bytes per click and two more for a second run, then entities
// to the end of the input.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "common/numbers.h"
#include "common/temp_folder.h"
#include "fuzz_support.h"
#include "platform/headless/headless_window.h"

namespace {

using namespace vardo;

constexpr int kMaxEntities = 48;
constexpr char16_t kAborted[] = u"中断しました：ハッチを行う箇所をクリックして下さい。";
constexpr int kMaxClicks = 4;

// Spacing and angle texts.
constexpr std::array<std::string_view, 16> kTexts = {
    "1e-300", "-0", "1e300", "nan", "0", "-2",      "abc", "0.5",
    "90",     "10", "1",     "45",  "",  "-1e-300", " 30", "2.5e1"};

// Layer-group scales.
constexpr std::array<std::string_view, 12> kScales = {"1",   "50",  "0",   "-2",  "1e-300", "1e300",
                                                      "0.5", "100", "abc", "nan", "1e-5",   "-0"};

// Coordinates beyond the ordinary range.
constexpr std::array<std::string_view, 16> kExtremes = {
    "1e300", "-1e300", "1e-300", "-0",   "nan",   "inf",  "abc",   "1e5",
    "-1e5",  "0.5",    "1e-12",  "1e15", "-7.25", "1e-7", "99.99", "2147483648"};

constexpr std::array<std::string_view, 4> kCircularSolids = {"sc", "se", "so", "sg"};

// Texts for text entities: plain, Japanese, control codes.
constexpr std::array<std::string_view, 4> kWords = {"A", "塗りハッチ", "^@BMx", "%%d"};

// Bits of the flags byte.
enum Flag : uint8_t {
  kMonoOff = 1,      // monochrome stays off (the clicks then only ask for it)
  kCross = 2,        // cross hatch ticked
  kSecondRun = 4,    // a second click and run after the first
  kDelete = 8,       // Delete before OK
  kEscLater = 16,    // Esc goes down after some polls of the first run
  kPaperUnits = 32,  // "bz"
  kUtf8 = 64,        // the drawing is UTF-8 with a byte-order mark
  kPixelEnds = 128,  // the hatch ends stay on the pixels (no end correction)
};

class Bytes : public vardo::fuzz::ByteSource {
 public:
  using ByteSource::ByteSource;
  // Mostly small whole numbers around the first quadrant, now and then an extreme value.
  std::string Coord() {
    const uint8_t b = Next();
    if (b < 240) return std::to_string(static_cast<int>(b) - 20);
    return std::string(kExtremes[b - 240]);
  }
  std::string Coords(int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
      out += " " + Coord();
    return out;
  }
};

std::string ScaleRecord(Bytes& in) {
  std::string line = "hs";
  for (int k = 0; k < 4; ++k)
    line += " " + std::string(in.Pick(kScales));
  for (int k = 4; k < 16; ++k)
    line += " 1";
  return line + "\r\n";
}

std::string Entity(Bytes& in) {
  const uint8_t kind = in.Next();
  switch (kind % 12) {
    case 0:
    case 1:
    case 2:
      return in.Coords(4).substr(1);
    case 3:
      return "ci" + in.Coords(3);
    case 4:
      return "ci" + in.Coords(7);
    case 5:
      return "sl" + in.Coords(4 + 2 * (in.Next() % 3));
    case 6:
      return in.Next() % 2 ? "pt" + in.Coords(2) : "pt" + in.Coords(5);
    case 7:
      return "ch" + in.Coords(4) + " \"" + std::string(in.Pick(kWords));
    case 8:
      return std::string(kCircularSolids[in.Next() % 4]) + in.Coords(8);
    case 9:
      // A solid in a colour of its own does not bound a marked region; a black one does.
      return in.Next() % 2 ? "lc10 " + std::to_string(in.Next() * 65793) : "lc2";
    case 10:
      return "lg" + std::string(1, "0123456789abcdef"[in.Next() % 16]);
    default:
      return "ly" + std::string(1, "0123456789abcdef"[in.Next() % 16]);
  }
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The engine appends only lines, and only after the host's entities: Delete relies on it.
void CheckTail(const TForm1& form, int host_entities, int host_lines) {
  if (!form.JG) return;
  if (form.JG->EntN() != host_entities + form.AddLineN ||
      form.JG->EntLineN() != host_lines + form.AddLineN) {
    std::abort();
  }
}

// A run that Esc did not abort leaves the counter line showing the lines the document holds,
// also when a family was refused after another was laid.
void CheckCounters(HeadlessWindow& w, const TForm1& form) {
  if (!form.JG || w.GetText(Control::LabelM) == kAborted) return;
  if (w.GetText(Control::LabelN) != u"線:" + IntStr(form.AddLineN) + u"　点:0　円弧:0") {
    std::abort();
  }
}

void Click(HeadlessWindow& w, int width, int height, Bytes& in) {
  const int x = in.Next() % (width + 8) - 4;
  const int y = in.Next() % (height + 8) - 4;
  w.Press(kMouseLeft, x, y);
  w.Release(x, y);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const vardo::TempFolder folder("vardo_hatch_fuzz_");
  Bytes in(data, size);
  const int width = 16 + in.Next() % 185;
  const int height = 16 + in.Next() % 185;
  const uint8_t flags = in.Next();
  const long long esc_polls = in.Next() * 16LL;
  const std::string_view spacing = in.Pick(kTexts), angle = in.Pick(kTexts);
  const std::string_view cross_spacing = in.Pick(kTexts), cross_angle = in.Pick(kTexts);

  std::string drawing = flags & kUtf8 ? "\xEF\xBB\xBF" : "";
  drawing += ScaleRecord(in);
  if (flags & kPaperUnits) drawing += "bz\r\n";
  drawing += "lg0\r\nly0\r\nlc2\r\n";
  const int clicks = 1 + in.Next() % kMaxClicks;
  // The clicks of the first run and the one click of a second run.
  Bytes click_bytes = in;
  for (int i = 0; i < 2 * (clicks + 1); ++i)
    in.Next();
  for (int n = 0; n < kMaxEntities && !in.empty(); ++n)
    drawing += Entity(in) + "\r\n";
  WriteFile(folder.path() / "JWC_TEMP.TXT", drawing);
  std::error_code ec;
  std::filesystem::remove(folder.path() / "VardoHatch.dat", ec);

  HeadlessWindow w((folder.path() / "VardoHatch.exe").u16string(), width, height);
  w.Show();
  const TForm1& form = w.form();
  const int host_entities = form.JG ? form.JG->EntN() : 0;
  const int host_lines = form.JG ? form.JG->EntLineN() : 0;
  w.Tick(Control::CheckBox3, (flags & kPixelEnds) == 0);
  w.Tick(Control::CheckBox1, (flags & kMonoOff) == 0);
  w.Tick(Control::CheckBox2, (flags & kCross) != 0);
  w.Type(Control::Edit1, std::u16string(spacing.begin(), spacing.end()));
  w.Type(Control::ComboBox4, std::u16string(angle.begin(), angle.end()));
  w.Type(Control::Edit2, std::u16string(cross_spacing.begin(), cross_spacing.end()));
  w.Type(Control::ComboBox5, std::u16string(cross_angle.begin(), cross_angle.end()));
  for (int i = 0; i < clicks; ++i)
    Click(w, width, height, click_bytes);
  if (flags & kEscLater) w.HoldEscapeAfterPolls(esc_polls);
  w.Click(Control::Button3);
  w.HoldEscapeAfterPolls(-1);
  w.SetEscapeDown(false);
  CheckTail(form, host_entities, host_lines);
  CheckCounters(w, form);
  if (flags & kSecondRun) {
    Click(w, width, height, click_bytes);
    w.Click(Control::Button3);
    CheckTail(form, host_entities, host_lines);
    CheckCounters(w, form);
  }
  if (flags & kDelete) {
    w.Key(KeyCode::Delete, false);
    CheckTail(form, host_entities, host_lines);
  }
  w.Click(Control::Button1);
  w.Click(Control::Button2);
  return 0;
}
