// vardo-render: draws an exchange file as the window's first redraw does and writes it to PNG.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "attributes/graphics_attributes.h"
#include "common/numbers.h"
#include "common/view_state.h"
#include "document/model.h"
#include "document/text_codec.h"
#include "render/canvas.h"
#include "render/graphics.h"
#include "render/picking.h"
#include "render/png_writer.h"
#include "render/renderer.h"
#include "render/surface.h"

namespace {

using namespace vardo;

constexpr int kMaxSide = 16384;
constexpr uint32_t kFrameColour = 0xFFFF00;
constexpr uint32_t kOriginColour = 255;
constexpr int kMarkPixels = 5;  // half size of the origin mark and of the pick square

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
      if (o.width < 1 || o.height < 1 || o.width > kMaxSide || o.height > kMaxSide) {
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

// Fits the drawing extents into a paint box of width x height pixels with a tenth to spare, as
// the window's "zoom all" does.
void ZoomAll(const TJGdata& doc, int width, int height, ViewState& v) {
  RememberView(v);
  v.ViewWidth = width;
  v.ViewHeight = height;
  doc.GetMinMaxZahyo(v);
  const double dx = std::max(std::fabs(v.ExtXmax - v.ExtXmin), 1e-10);
  const double dy = std::max(std::fabs(v.ExtYmax - v.ExtYmin), 1e-10);
  v.ViewScale = std::min(width / dx * 0.9, height / dy * 0.9);
  const double cx = (v.ExtXmin + v.ExtXmax) / 2;
  const double cy = (v.ExtYmin + v.ExtYmax) / 2;
  v.ViewXmin = cx - width / 2.0 / v.ViewScale;
  v.ViewXmax = cx + width / 2.0 / v.ViewScale;
  v.ViewYmin = cy - height / 2.0 / v.ViewScale;
  v.ViewYmax = cy + height / 2.0 / v.ViewScale;
}

// What the window's redraw draws with the grid off: background, frame, origin mark, drawing.
void Redraw(const TJGdata& doc, Graphics& g) {
  const ViewState& v = g.view();
  g.GraClear(v.ViewWidth, v.ViewHeight);
  g.GraPen(kFrameColour, 0, 0);
  g.GraBoxXY(0, 0, v.ViewWidth - 1, v.ViewHeight - 1);
  g.GraPen(kOriginColour, 0, 2);
  const double a = kMarkPixels / v.ViewScale;
  g.GraLine(-a, -a, a, a);
  g.GraLine(-a, a, a, -a);
  GLDrawALL(doc, g, StopPoll());
}

void PrintPick(const TJGdata& doc, const TgraAttribute& attr, const ViewState& v, PickPixel p) {
  int etp = 0, eno = 0;
  double picx = 0, picy = 0;
  if (!GetElement2(doc, attr, PixelToDrawX(v, p.x), PixelToDrawY(v, p.y), kMarkPixels / v.ViewScale,
                   etp, eno, picx, picy)) {
    std::printf("miss\n");
    return;
  }
  std::printf("hit %d %d %s %s\n", etp, eno, FloatStrA(picx).c_str(), FloatStrA(picy).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (const int rc = ParseArgs(argc, argv, o); rc != 0) return rc;

  TgraAttribute attr;
  SetUpStartAttributes(attr);
  TJGdata doc;
  std::u16string in;
  DecodeUtf8(o.in, in);
  doc.OpenTempFile(in);
  doc.S_Init();

  ViewState view;
  ZoomAll(doc, o.width, o.height, view);
  Surface surface;
  if (!surface.Resize(o.width, o.height)) return Fail("not enough memory for the picture", "");
  if (o.mono) attr.SetPrintMode(true, 0, 0, 0);
  Canvas canvas(surface);
  Graphics g(canvas, view, attr);
  Redraw(doc, g);
  if (!WritePng(surface, std::filesystem::path(o.out))) return Fail("cannot write ", o.out);

  for (const PickPixel& p : o.picks)
    PrintPick(doc, attr, view, p);
  return 0;
}
