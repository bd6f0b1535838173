// vardo-render: shows an exchange file in the headless shell as the window shows it after
// start-up and writes the paint box to PNG.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/form.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/temp_folder.h"
#include "document/text_codec.h"
#include "platform/headless/headless_window.h"
#include "render/png_writer.h"

namespace {

using namespace vardo;

struct PickPixel {
  int x = 0;
  int y = 0;
};

struct Options {
  const char* in = nullptr;
  const char* out = nullptr;
  int width = 800;
  int height = 600;
  bool mono = false;
  std::vector<PickPixel> picks;
};

int Usage() {
  std::fprintf(stderr, "usage: vardo-render IN OUT.png [--size W H] [--mono] [--pick X Y]...\n");
  return 2;
}

int Fail(const char* what, const char* arg) {
  std::fprintf(stderr, "vardo-render: %s%s\n", what, arg);
  return 2;
}

// The whole argument as a decimal integer.
bool ParseInt(const char* arg, int& value) {
  const char* end = arg + std::strlen(arg);
  const auto [ptr, ec] = std::from_chars(arg, end, value);
  return ec == std::errc() && ptr == end && ptr != arg;
}

// 0 when the arguments are sound, else the exit code after the message has been printed.
int ParseArgs(int argc, char** argv, Options& o) {
  std::vector<const char*> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--mono") {
      o.mono = true;
    } else if (arg == "--size") {
      if (i + 2 >= argc || !ParseInt(argv[i + 1], o.width) || !ParseInt(argv[i + 2], o.height)) {
        return Fail("--size wants two whole numbers", "");
      }
      if (o.width < 1 || o.height < 1 || o.width > HeadlessWindow::kMaxPaintSize ||
          o.height > HeadlessWindow::kMaxPaintSize) {
        return Fail("--size wants each side from 1 to 16384 pixels", "");
      }
      i += 2;
    } else if (arg == "--pick") {
      PickPixel p;
      if (i + 2 >= argc || !ParseInt(argv[i + 1], p.x) || !ParseInt(argv[i + 2], p.y)) {
        return Fail("--pick wants two whole numbers", "");
      }
      o.picks.push_back(p);
      i += 2;
    } else if (arg.starts_with("--")) {
      return Fail("unknown option ", argv[i]);
    } else {
      positional.push_back(argv[i]);
    }
  }
  if (positional.size() != 2) return Usage();
  o.in = positional[0];
  o.out = positional[1];
  return 0;
}

// The entity a click at the paint-box pixel would pick.
void PrintPick(const TForm1& form, PickPixel p) {
  const std::optional<PickedElement> hit =
      form.PickElement(PixelToDrawX(form.View, p.x), PixelToDrawY(form.View, p.y));
  if (!hit) {
    std::printf("miss\n");
    return;
  }
  std::printf("hit %d %d %s %s\n", hit->etp, hit->eno, FloatStrA(hit->picx).c_str(),
              FloatStrA(hit->picy).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (const int rc = ParseArgs(argc, argv, o); rc != 0) return rc;

  // The form reads the exchange file beside the program: a folder of our own stands in for the
  // program's, with a copy of the drawing and no settings file (the settings' defaults).
  const TempFolder folder("vardo-render-");
  if (folder.path().empty()) return Fail("cannot make a temporary folder", "");
  std::u16string in;
  DecodeUtf8(o.in, in);
  std::error_code ec;
  // A file that cannot be copied is an empty drawing, as a missing exchange file is.
  std::filesystem::copy_file(ToPath(in), folder.path() / "JWC_TEMP.TXT", ec);

  HeadlessWindow window((folder.path() / "VardoHatch.exe").u16string(), o.width, o.height);
  window.Show();
  if (window.Screen().Width() != o.width || window.Screen().Height() != o.height) {
    return Fail("not enough memory for the picture", "");
  }
  if (o.mono) window.Tick(Control::CheckBox1, true);
  if (!WritePng(window.Screen(), std::filesystem::path(o.out))) return Fail("cannot write ", o.out);

  for (const PickPixel& p : o.picks)
    PrintPick(window.form(), p);
  return 0;
}
