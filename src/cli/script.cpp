// Scenarios for the headless shell: parsing one command a line and carrying it out.
#include "cli/script.h"

#include <charconv>
#include <istream>
#include <ostream>
#include <vector>

#include "common/file_io.h"
#include "common/numbers.h"
#include "document/text_codec.h"
#include "render/png_writer.h"

namespace vardo {

namespace {

constexpr int kDefaultPaintWidth = 800;
constexpr int kDefaultPaintHeight = 600;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimLineEnd(std::string_view s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

std::string_view SkipBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front()))
    s.remove_prefix(1);
  return s;
}

// The command word and what follows it on the line (one blank after the word removed, so that a
// text argument keeps leading blanks of its own).
struct CommandLine {
  std::string_view command;
  std::string_view rest;  // the text argument
  std::vector<std::string_view> args;
};

CommandLine Split(std::string_view line) {
  CommandLine cl;
  line = SkipBlanks(line);
  size_t end = 0;
  while (end < line.size() && !IsBlank(line[end]))
    ++end;
  cl.command = line.substr(0, end);
  cl.rest = line.substr(end);
  if (!cl.rest.empty()) cl.rest.remove_prefix(1);
  std::string_view s = cl.rest;
  for (;;) {
    s = SkipBlanks(s);
    if (s.empty()) break;
    size_t n = 0;
    while (n < s.size() && !IsBlank(s[n]))
      ++n;
    cl.args.push_back(s.substr(0, n));
    s.remove_prefix(n);
  }
  return cl;
}

bool ParseInt(std::string_view s, int& v) {
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, v);
  return ec == std::errc() && ptr == end;
}

std::u16string FromUtf8(std::string_view s) {
  std::u16string out;
  DecodeUtf8(s, out);
  return out;
}

std::string ToUtf8(std::u16string_view s) {
  std::string out;
  EncodeUtf8(s, out);
  return out;
}

bool ParseButtons(std::string_view s, unsigned& buttons) {
  buttons = 0;
  for (;;) {
    const size_t plus = s.find('+');
    const std::string_view name = s.substr(0, plus);
    if (name == "left") {
      buttons |= kMouseLeft;
    } else if (name == "right") {
      buttons |= kMouseRight;
    } else if (name == "middle") {
      buttons |= kMouseMiddle;
    } else {
      return false;
    }
    if (plus == std::string_view::npos) return true;
    s.remove_prefix(plus + 1);
  }
}

bool ParseKey(std::string_view s, KeyCode& key) {
  static constexpr std::pair<std::string_view, KeyCode> kKeys[] = {
      {"PageUp", KeyCode::PageUp}, {"PageDown", KeyCode::PageDown},
      {"Insert", KeyCode::Insert}, {"End", KeyCode::End},
      {"Home", KeyCode::Home},     {"Left", KeyCode::Left},
      {"Right", KeyCode::Right},   {"Up", KeyCode::Up},
      {"Down", KeyCode::Down},     {"Delete", KeyCode::Delete},
      {"Escape", KeyCode::Escape}};
  for (const auto& [name, code] : kKeys) {
    if (s == name) {
      key = code;
      return true;
    }
  }
  return false;
}

// A two-way switch word: first (true) or second (false).
bool ParseSwitch(std::string_view s, std::string_view first, std::string_view second, bool& on) {
  if (s != first && s != second) return false;
  on = s == first;
  return true;
}

// Milliseconds with one decimal, whatever the locale.
std::string Millis(double ms) {
  char buf[32];
  const auto end = std::to_chars(buf, buf + sizeof buf, ms, std::chars_format::fixed, 1).ptr;
  return std::string(buf, end);
}

std::string TimingsLine(const FormTimings& t) {
  return "read " + Millis(t.read) + " index " + Millis(t.index) + " extents " + Millis(t.extents) +
         " redraw " + Millis(t.redraw);
}

std::u16string ViewLine(const ViewState& v) {
  return FloatStr(v.ViewXmin) + u" " + FloatStr(v.ViewYmin) + u" " + FloatStr(v.ViewXmax) + u" " +
         FloatStr(v.ViewYmax) + u" " + FloatStr(v.ViewScale);
}

// Carries out one parsed command; false with a message in error when it is unknown or its
// arguments are bad.
class Command {
 public:
  Command(HeadlessWindow& window, std::ostream& out, const CommandLine& cl, std::string& error)
      : w_(window), out_(out), cl_(cl), error_(error) {}

  bool Run() {
    const std::string_view c = cl_.command;
    if (c == "size") return Size();
    if (c == "show") return NoArgs() && (Show(), true);
    if (c == "press") return Press();
    if (c == "move") return Point([this](int x, int y) { w_.Move(x, y); });
    if (c == "release") return Point([this](int x, int y) { w_.Release(x, y); });
    if (c == "click") return Point([this](int x, int y) { Click(x, y); });
    if (c == "pointer") return Point([this](int x, int y) { w_.PointAt(x, y); });
    if (c == "wheel") return Wheel();
    if (c == "key") return Key();
    if (c == "esc") return Switch("down", "up", [this](bool on) { w_.SetEscapeDown(on); });
    if (c == "mono")
      return Switch("on", "off", [this](bool on) { w_.Tick(Control::CheckBox1, on); });
    if (c == "cross") {
      return Switch("on", "off", [this](bool on) { w_.Tick(Control::CheckBox2, on); });
    }
    if (c == "snap") {
      return Switch("on", "off", [this](bool on) { w_.Tick(Control::CheckBox3, on); });
    }
    if (c == "colour") return Index(Control::ComboBox1);
    if (c == "linetype") return Index(Control::ComboBox2);
    if (c == "spacing") return Text(Control::Edit1);
    if (c == "angle") return Text(Control::ComboBox4);
    if (c == "cross-spacing") return Text(Control::Edit2);
    if (c == "cross-angle") return Text(Control::ComboBox5);
    if (c == "run") return NoArgs() && (w_.Click(Control::Button3), true);
    if (c == "ok") return NoArgs() && (w_.Click(Control::Button1), true);
    if (c == "cancel") return NoArgs() && (w_.Click(Control::Button2), true);
    if (c == "screenshot") return Screenshot();
    if (c == "print") return Print();
    error_ = "unknown command \"" + std::string(c) + "\"";
    return false;
  }

 private:
  bool Bad() {
    error_ = "bad argument to " + std::string(cl_.command);
    return false;
  }

  bool NoArgs() { return cl_.args.empty() || Bad(); }

  void Show() { w_.Show(); }

  void Click(int x, int y) {
    w_.Press(kMouseLeft, x, y);
    w_.Release(x, y);
  }

  bool Size() {
    int width = 0, height = 0;
    if (cl_.args.size() != 2 || !ParseInt(cl_.args[0], width) || !ParseInt(cl_.args[1], height) ||
        width < 1 || height < 1 || width > HeadlessWindow::kMaxPaintSize ||
        height > HeadlessWindow::kMaxPaintSize) {
      return Bad();
    }
    w_.ResizePaintBox(width, height);
    return true;
  }

  // X and Y from the arguments at first and first + 1, the last two arguments of the line.
  bool XY(size_t first, int& x, int& y) {
    return cl_.args.size() == first + 2 && ParseInt(cl_.args[first], x) &&
           ParseInt(cl_.args[first + 1], y);
  }

  template <typename Fn>
  bool Point(Fn&& fn) {
    int x = 0, y = 0;
    if (!XY(0, x, y)) return Bad();
    fn(x, y);
    return true;
  }

  bool Press() {
    unsigned buttons = 0;
    int x = 0, y = 0;
    if (cl_.args.empty() || !ParseButtons(cl_.args[0], buttons) || !XY(1, x, y)) return Bad();
    w_.Press(buttons, x, y);
    return true;
  }

  bool Wheel() {
    bool up = false;
    int x = 0, y = 0;
    if (cl_.args.empty() || !ParseSwitch(cl_.args[0], "up", "down", up) || !XY(1, x, y)) {
      return Bad();
    }
    w_.Wheel(up, x, y);
    return true;
  }

  bool Key() {
    KeyCode key = KeyCode::Other;
    const size_t n = cl_.args.size();
    if (n < 1 || n > 2 || !ParseKey(cl_.args[0], key)) return Bad();
    if (n == 2 && cl_.args[1] != "shift") return Bad();
    w_.Key(key, n == 2);
    return true;
  }

  template <typename Fn>
  bool Switch(std::string_view on_word, std::string_view off_word, Fn&& fn) {
    bool on = false;
    if (cl_.args.size() != 1 || !ParseSwitch(cl_.args[0], on_word, off_word, on)) return Bad();
    fn(on);
    return true;
  }

  bool Index(Control list) {
    int index = 0;
    if (cl_.args.size() != 1 || !ParseInt(cl_.args[0], index)) return Bad();
    w_.Select(list, index);
    return true;
  }

  bool Text(Control edit) {
    w_.Type(edit, FromUtf8(cl_.rest));
    return true;
  }

  bool Screenshot() {
    if (cl_.args.empty()) return Bad();
    if (!WritePng(w_.Screen(), ToPath(FromUtf8(cl_.rest)))) {
      error_ = "cannot write " + std::string(cl_.rest);
      return false;
    }
    return true;
  }

  bool Print() {
    if (cl_.args.size() != 1) return Bad();
    const std::string_view what = cl_.args[0];
    const TForm1& form = w_.form();
    std::u16string line;
    if (what == "status") {
      line = w_.GetText(Control::LabelM);
    } else if (what == "counters") {
      line = w_.GetText(Control::LabelN);
    } else if (what == "view") {
      line = ViewLine(form.View);
    } else if (what == "message") {
      if (!w_.Messages().empty()) line = w_.Messages().back();
    } else if (what == "hat") {
      line = IntStr(form.HatX) + u" " + IntStr(form.HatY);
    } else if (what == "timings") {
      out_ << TimingsLine(form.Timings) << '\n';
      return true;
    } else if (what == "edits") {
      line = w_.GetText(Control::Edit1) + u"|" + w_.GetText(Control::ComboBox4) + u"|" +
             w_.GetText(Control::Edit2) + u"|" + w_.GetText(Control::ComboBox5);
    } else {
      return Bad();
    }
    out_ << ToUtf8(line) << '\n';
    return true;
  }

  HeadlessWindow& w_;
  std::ostream& out_;
  const CommandLine& cl_;
  std::string& error_;
};

std::u16string ProgramPathIn(std::u16string_view dir) {
  std::u16string path(dir);
  if (path.empty()) path = u".";
  if (path.back() != u'/' && path.back() != u'\\') path += u'/';
  return path + u"VardoHatch.exe";
}

}  // namespace

Scenario::Scenario(std::u16string_view dir, std::ostream& out)
    : out_(out), window_(ProgramPathIn(dir), kDefaultPaintWidth, kDefaultPaintHeight) {}

bool Scenario::Run(std::string_view line, std::string& error) {
  line = SkipBlanks(TrimLineEnd(line));
  if (line.empty() || line.front() == '#') return true;
  const CommandLine cl = Split(line);
  return Command(window_, out_, cl, error).Run();
}

int RunScenario(std::istream& in, std::u16string_view dir, std::ostream& out, std::ostream& err) {
  Scenario scenario(dir, out);
  std::string line;
  for (int number = 1; !scenario.Closed() && std::getline(in, line); ++number) {
    std::string_view text = line;
    // A scenario written by an editor that marks UTF-8.
    if (number == 1 && text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    std::string error;
    if (!scenario.Run(text, error)) {
      err << "vardo-script: line " << number << ": " << error << '\n';
      scenario.End();
      return 2;
    }
  }
  scenario.End();
  return 0;
}

}  // namespace vardo
