// Glyph masks drawn by GDI's own text output into a one-bit bitmap, and measured by GDI: the
// rasterizer of the Windows product, so that texts look as the platform draws them.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

#include "render/glyph.h"
#include "render/glyph_cache.h"

namespace vardo {
namespace {

// How many fonts stay created; a redraw uses a few per text size and angle.
constexpr size_t kKeptFonts = 64;

LOGFONTW LogFontOf(const FontDescription& d) {
  LOGFONTW lf{};
  lf.lfHeight = std::clamp(d.height, -kMaxGlyphPixels, kMaxGlyphPixels);
  lf.lfWidth = std::clamp(d.width, -kMaxGlyphPixels, kMaxGlyphPixels);
  lf.lfEscapement = d.escapement;
  lf.lfOrientation = d.orientation;
  lf.lfWeight = d.weight;
  lf.lfItalic = d.italic;
  lf.lfUnderline = d.underline;
  lf.lfStrikeOut = d.strike_out;
  lf.lfCharSet = static_cast<BYTE>(d.charset);
  // LOGFONTW holds 31 units and the terminator; a longer name is cut.
  const size_t n = std::min<size_t>(d.face.size(), LF_FACESIZE - 1);
  std::copy_n(d.face.begin(), n, lf.lfFaceName);
  return lf;
}

// ch as UTF-16; 0 units when it is not a character.
int ToUtf16(char32_t ch, wchar_t (&text)[2]) {
  if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return 0;
  if (ch < 0x10000) {
    text[0] = static_cast<wchar_t>(ch);
    return 1;
  }
  text[0] = static_cast<wchar_t>(0xD800 + ((ch - 0x10000) >> 10));
  text[1] = static_cast<wchar_t>(0xDC00 + ((ch - 0x10000) & 0x3FF));
  return 2;
}

class GdiRasterizer final : public GlyphRasterizer {
 public:
  GdiRasterizer() : dc_(CreateCompatibleDC(nullptr)) {
    if (!dc_) return;
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(255, 255, 255));
    SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    original_font_ = GetCurrentObject(dc_, OBJ_FONT);
    original_bitmap_ = GetCurrentObject(dc_, OBJ_BITMAP);
  }
  ~GdiRasterizer() override {
    if (!dc_) return;
    SelectObject(dc_, original_font_);
    SelectObject(dc_, original_bitmap_);
    for (const auto& [description, font] : fonts_)
      DeleteObject(font);
    if (bitmap_) DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  GdiRasterizer(const GdiRasterizer&) = delete;
  GdiRasterizer& operator=(const GdiRasterizer&) = delete;

  GlyphMask Rasterize(const FontDescription& font, char32_t ch) override;
  TextExtent Measure(const FontDescription& font, char32_t ch) override;

 private:
  // Selects the font of the description into the device context; false when there is none.
  bool Select(const FontDescription& font);
  // A white-on-black one-bit bitmap at least side x side pixels, selected.
  bool Canvas(int side);

  HDC dc_;
  HGDIOBJ original_font_ = nullptr;
  HGDIOBJ original_bitmap_ = nullptr;
  std::vector<std::pair<FontDescription, HFONT>> fonts_;  // least recently used first
  HBITMAP bitmap_ = nullptr;
  uint8_t* bits_ = nullptr;
  int side_ = 0;
  int stride_ = 0;
};

bool GdiRasterizer::Select(const FontDescription& font) {
  if (!dc_) return false;
  auto it = std::find_if(fonts_.begin(), fonts_.end(),
                         [&](const auto& kept) { return kept.first == font; });
  if (it != fonts_.end()) {
    std::rotate(it, it + 1, fonts_.end());
  } else {
    const LOGFONTW lf = LogFontOf(font);
    const HFONT created = CreateFontIndirectW(&lf);
    if (!created) return false;
    if (fonts_.size() >= kKeptFonts) {
      SelectObject(dc_, original_font_);
      DeleteObject(fonts_.front().second);
      fonts_.erase(fonts_.begin());
    }
    fonts_.emplace_back(font, created);
  }
  return SelectObject(dc_, fonts_.back().second) != nullptr;
}

bool GdiRasterizer::Canvas(int side) {
  if (side <= side_) return true;
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = side;
  info.header.biHeight = -side;  // top-down
  info.header.biPlanes = 1;
  info.header.biBitCount = 1;
  info.header.biCompression = BI_RGB;
  info.colours[1] = {255, 255, 255, 0};
  void* bits = nullptr;
  const HBITMAP created = CreateDIBSection(dc_, reinterpret_cast<const BITMAPINFO*>(&info),
                                           DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!created) return false;
  SelectObject(dc_, created);
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = created;
  bits_ = static_cast<uint8_t*>(bits);
  side_ = side;
  stride_ = (side + 31) / 32 * 4;
  return true;
}

GlyphMask GdiRasterizer::Rasterize(const FontDescription& font, char32_t ch) {
  wchar_t text[2];
  const int units = ToUtf16(ch, text);
  if (units == 0 || !Select(font)) return {};
  SIZE cell{};
  if (!GetTextExtentPoint32W(dc_, text, units, &cell)) return {};

  // The cell turned about its top-left corner, with room for what overhangs it (italics,
  // underlines): the text is drawn at the middle of the bitmap and only that area is cleared
  // and read.
  const double a = font.escapement * std::numbers::pi / 1800;
  const double c = std::cos(a), s = std::sin(a);
  const double xs[] = {0, cell.cx * c, cell.cy * s, cell.cx * c + cell.cy * s};
  const double ys[] = {0, -cell.cx * s, cell.cy * c, cell.cy * c - cell.cx * s};
  const int margin = static_cast<int>(cell.cy / 2 + 4);
  const int x0 = static_cast<int>(std::floor(*std::min_element(xs, xs + 4))) - margin;
  const int x1 = static_cast<int>(std::ceil(*std::max_element(xs, xs + 4))) + margin;
  const int y0 = static_cast<int>(std::floor(*std::min_element(ys, ys + 4))) - margin;
  const int y1 = static_cast<int>(std::ceil(*std::max_element(ys, ys + 4))) + margin;
  const int reach = std::max({-x0, x1, -y0, y1});
  if (!Canvas(2 * reach)) return {};
  for (int y = reach + y0; y < reach + y1; ++y)
    std::memset(bits_ + static_cast<size_t>(y) * stride_, 0, stride_);
  GdiFlush();
  if (!ExtTextOutW(dc_, reach, reach, 0, nullptr, text, units, nullptr)) return {};
  GdiFlush();

  const auto ink = [&](int x, int y) {
    return (bits_[static_cast<size_t>(y) * stride_ + x / 8] >> (7 - x % 8) & 1) != 0;
  };
  int left = INT32_MAX, right = -1, top = INT32_MAX, bottom = -1;
  for (int y = reach + y0; y < reach + y1; ++y) {
    for (int x = reach + x0; x < reach + x1; ++x) {
      if (!ink(x, y)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  GlyphMask mask;
  if (right < 0) return mask;
  mask.left = left - reach;
  mask.top = top - reach;
  mask.width = right - left + 1;
  mask.height = bottom - top + 1;
  mask.stride = (mask.width + 7) / 8;
  mask.bits.assign(static_cast<size_t>(mask.stride) * mask.height, 0);
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x)
      if (ink(left + x, top + y))
        mask.bits[static_cast<size_t>(y) * mask.stride + x / 8] |= uint8_t(0x80 >> (x % 8));
  return mask;
}

TextExtent GdiRasterizer::Measure(const FontDescription& font, char32_t ch) {
  wchar_t text[2];
  const int units = ToUtf16(ch, text);
  SIZE size{};
  if (units == 0 || !Select(font) || !GetTextExtentPoint32W(dc_, text, units, &size)) return {};
  return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

}  // namespace

std::unique_ptr<GlyphRasterizer> CreateGlyphRasterizer() {
  return std::make_unique<GlyphCache>(std::make_unique<GdiRasterizer>());
}

}  // namespace vardo
