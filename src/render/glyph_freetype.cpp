// Glyph masks drawn with FreeType from the fonts fontconfig finds, with the metrics of the
// platform's logical fonts: the rasterizer of native builds.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "render/font_match.h"
#include "render/glyph.h"
#include "render/glyph_cache.h"
#include "render/vertical_forms.h"

namespace vardo {
namespace {

// The cell height of a description that leaves the height to the platform.
constexpr int kDefaultHeight = 16;

// One open face and the design metrics a logical font is made from, in font units.
struct Face {
  FT_Face ft = nullptr;
  bool bold = false;  // the face's own style
  bool italic = false;
  double em = 1;
  double cell_ascent = 1;   // the cell's extent above the baseline (usWinAscent)
  double cell_descent = 0;  // and below it (usWinDescent)
  double average_width = 1;
  double em_top = 1;  // top of the em box, where a vertical column's glyphs begin
  double strike_top = 0;
  double strike_size = 0;
  std::optional<VerticalForms> vertical;  // read when a vertical face first needs it
  FT_F26Dot6 size_x = 0;                  // the size last set, to set it again only on change
  FT_F26Dot6 size_y = 0;
};

// The pixel sizes of a logical font in one face.
struct CellMetrics {
  double ppem_x = 1;  // pixels per em along the baseline
  double ppem_y = 1;  // and across it
  int ascent = 0;     // cell pixels above the baseline
  int descent = 0;    // and below
};

int64_t Clamped(int v) {
  return std::clamp<int64_t>(v, -kMaxGlyphPixels, kMaxGlyphPixels);
}

// A positive height is the whole cell, a negative one the em (the cell without its internal
// leading); the width is the average character width, which stretches the em across.
CellMetrics MetricsOf(const Face& f, const FontDescription& d) {
  CellMetrics m;
  const int64_t h = d.height == 0 ? kDefaultHeight : Clamped(d.height);
  const double cell = f.cell_ascent + f.cell_descent;
  if (h > 0) {
    m.ppem_y = static_cast<double>(h) * f.em / cell;
    m.ascent = static_cast<int>(std::lround(static_cast<double>(h) * f.cell_ascent / cell));
    m.descent = static_cast<int>(h) - m.ascent;
  } else {
    m.ppem_y = static_cast<double>(-h);
    m.ascent = static_cast<int>(std::lround(m.ppem_y * f.cell_ascent / f.em));
    m.descent = static_cast<int>(std::lround(m.ppem_y * f.cell_descent / f.em));
  }
  const int64_t w = std::abs(Clamped(d.width));
  m.ppem_x = w > 0 ? static_cast<double>(w) * f.em / f.average_width : m.ppem_y;
  m.ppem_x = std::max(m.ppem_x, 1.0);
  m.ppem_y = std::max(m.ppem_y, 1.0);
  return m;
}

// A 2x3 affine map of outline coordinates (FreeType's: pixels, y up).
struct Affine {
  double xx = 1, xy = 0, yx = 0, yy = 1, dx = 0, dy = 0;
};

// The turn by an escapement in tenths of a degree, exact at the right angles.
Affine Rotation(int escapement) {
  const int e = ((escapement % 3600) + 3600) % 3600;
  double c = 0, s = 0;
  switch (e) {
    case 0:
      c = 1;
      break;
    case 900:
      s = 1;
      break;
    case 1800:
      c = -1;
      break;
    case 2700:
      s = -1;
      break;
    default: {
      const double a = e * std::numbers::pi / 1800;
      c = std::cos(a);
      s = std::sin(a);
    }
  }
  return {c, -s, s, c, 0, 0};
}

void Apply(const Affine& a, FT_Outline& outline) {
  FT_Matrix m{std::lround(a.xx * 65536), std::lround(a.xy * 65536), std::lround(a.yx * 65536),
              std::lround(a.yy * 65536)};
  FT_Outline_Transform(&outline, &m);
  FT_Outline_Translate(&outline, std::lround(a.dx * 64), std::lround(a.dy * 64));
}

// A horizontal band of the cell (underline, strike-out) from x0 to x1 between y0 and y1, in the
// cell's own frame: pixels, y up from the cell's top-left corner.
struct Band {
  double x0, x1, y0, y1;
};

// The glyph's outline with the bands added as rectangles wound the same way, so that they join
// the ink rather than cut holes into it.
class Outline {
 public:
  Outline(FT_Library library, const FT_Outline& glyph, std::span<const Band> bands)
      : library_(library) {
    const int points = glyph.n_points + 4 * static_cast<int>(bands.size());
    const int contours = glyph.n_contours + static_cast<int>(bands.size());
    if (FT_Outline_New(library, points, contours, &outline_) != 0) return;
    valid_ = true;
    std::copy_n(glyph.points, glyph.n_points, outline_.points);
    std::copy_n(glyph.tags, glyph.n_points, outline_.tags);
    std::copy_n(glyph.contours, glyph.n_contours, outline_.contours);
    outline_.flags = glyph.flags | FT_OUTLINE_OWNER;
    const bool clockwise =
        FT_Outline_Get_Orientation(const_cast<FT_Outline*>(&glyph)) != FT_ORIENTATION_POSTSCRIPT;
    int p = glyph.n_points;
    int c = glyph.n_contours;
    for (const Band& b : bands) {
      const FT_Pos x0 = std::lround(b.x0 * 64), x1 = std::lround(b.x1 * 64);
      const FT_Pos y0 = std::lround(b.y0 * 64), y1 = std::lround(b.y1 * 64);
      const FT_Vector corners[4] = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
      for (int i = 0; i < 4; ++i) {
        outline_.points[p + i] = corners[clockwise ? i : 3 - i];
        outline_.tags[p + i] = FT_CURVE_TAG_ON;
      }
      p += 4;
      outline_.contours[c++] = static_cast<short>(p - 1);
    }
  }
  ~Outline() {
    if (valid_) FT_Outline_Done(library_, &outline_);
  }
  Outline(const Outline&) = delete;
  Outline& operator=(const Outline&) = delete;

  bool valid() const { return valid_; }
  FT_Outline& get() { return outline_; }

 private:
  FT_Library library_;
  FT_Outline outline_{};
  bool valid_ = false;
};

// The one-bit mask of an outline whose origin is the cell's top-left corner (y up).
GlyphMask Render(FT_Library library, FT_Outline& outline) {
  if (outline.n_points == 0) return {};
  FT_BBox box;
  FT_Outline_Get_CBox(&outline, &box);
  const FT_Pos x0 = box.xMin >> 6, y0 = box.yMin >> 6;
  const FT_Pos x1 = (box.xMax + 63) >> 6, y1 = (box.yMax + 63) >> 6;
  if (x1 <= x0 || y1 <= y0) return {};
  GlyphMask mask;
  mask.left = static_cast<int>(x0);
  mask.top = static_cast<int>(-y1);
  mask.width = static_cast<int>(x1 - x0);
  mask.height = static_cast<int>(y1 - y0);
  mask.stride = (mask.width + 7) / 8;
  mask.bits.assign(static_cast<size_t>(mask.stride) * static_cast<size_t>(mask.height), 0);
  FT_Bitmap bitmap{};
  bitmap.rows = static_cast<unsigned>(mask.height);
  bitmap.width = static_cast<unsigned>(mask.width);
  bitmap.pitch = mask.stride;
  bitmap.buffer = mask.bits.data();
  bitmap.num_grays = 2;
  bitmap.pixel_mode = FT_PIXEL_MODE_MONO;
  FT_Outline_Translate(&outline, -x0 * 64, -y0 * 64);
  if (FT_Outline_Get_Bitmap(library, &outline, &bitmap) != 0) return {};
  return mask;
}

class FreeTypeRasterizer final : public GlyphRasterizer {
 public:
  FreeTypeRasterizer() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~FreeTypeRasterizer() override {
    for (auto& [key, face] : faces_)
      if (face.ft) FT_Done_Face(face.ft);
    if (library_) FT_Done_FreeType(library_);
  }

  GlyphMask Rasterize(const FontDescription& font, char32_t ch) override;
  TextExtent Measure(const FontDescription& font, char32_t ch) override;

 private:
  // A character resolved to the face and glyph that draw it.
  struct Choice {
    Face* face = nullptr;
    FT_UInt glyph = 0;
    bool synthetic_bold = false;  // asked for, and the face has none
    bool synthetic_italic = false;
  };

  Choice Choose(const FontDescription& font, char32_t ch);
  Face* Open(const FontFile& file);
  // Loads the glyph scaled by the sizes along and across the baseline, with the bold and
  // italic the file lacks made up; false when it cannot be loaded.
  bool Load(const Choice& c, double ppem_x, double ppem_y, bool hinted);

  FT_Library library_ = nullptr;
  FontMatcher matcher_;
  // Face name, bold and italic to the files that draw them, best first.
  std::map<std::tuple<std::u16string, bool, bool>, std::vector<FontFile>> files_;
  std::map<std::pair<std::string, int>, Face> faces_;
};

Face* FreeTypeRasterizer::Open(const FontFile& file) {
  const auto key = std::make_pair(file.path, file.index);
  if (const auto it = faces_.find(key); it != faces_.end())
    return it->second.ft ? &it->second : nullptr;
  Face& face = faces_[key];
  if (FT_New_Face(library_, file.path.c_str(), file.index, &face.ft) != 0) {
    face.ft = nullptr;
    return nullptr;
  }
  FT_Face ft = face.ft;
  face.bold = (ft->style_flags & FT_STYLE_FLAG_BOLD) != 0;
  face.italic = (ft->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  face.em = ft->units_per_EM > 0 ? ft->units_per_EM : 1000;
  face.cell_ascent = ft->ascender;
  face.cell_descent = -ft->descender;
  face.average_width = face.em / 2;
  face.em_top = ft->ascender;
  face.strike_size = std::max<double>(ft->underline_thickness, face.em / 20);
  face.strike_top = face.em / 4 + face.strike_size / 2;
  if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2))) {
    if (os2->usWinAscent + os2->usWinDescent > 0) {
      face.cell_ascent = os2->usWinAscent;
      face.cell_descent = os2->usWinDescent;
    }
    if (os2->xAvgCharWidth > 0) face.average_width = os2->xAvgCharWidth;
    if (os2->usWeightClass >= 600) face.bold = true;
    if (os2->sTypoAscender > 0) face.em_top = os2->sTypoAscender;
    if (os2->yStrikeoutSize > 0) {
      face.strike_size = os2->yStrikeoutSize;
      face.strike_top = os2->yStrikeoutPosition;
    }
  }
  if (face.cell_ascent + face.cell_descent <= 0) {
    face.cell_ascent = face.em * 0.8;
    face.cell_descent = face.em * 0.2;
  }
  return &face;
}

FreeTypeRasterizer::Choice FreeTypeRasterizer::Choose(const FontDescription& font, char32_t ch) {
  if (!library_) return {};
  std::u16string_view name = font.face;
  while (name.starts_with(u'@'))
    name.remove_prefix(1);
  const bool bold = font.weight >= 600;
  const auto key = std::make_tuple(std::u16string(name), bold, font.italic);
  auto it = files_.find(key);
  if (it == files_.end()) it = files_.emplace(key, matcher_.Match(name, bold, font.italic)).first;
  Choice choice;
  for (const FontFile& file : it->second) {
    Face* face = Open(file);
    if (!face) continue;
    const FT_UInt glyph = FT_Get_Char_Index(face->ft, ch);
    if (glyph == 0 && choice.face) continue;
    choice = {face, glyph, bold && !face->bold, font.italic && !face->italic};
    if (glyph != 0) break;
  }
  return choice;
}

bool FreeTypeRasterizer::Load(const Choice& c, double ppem_x, double ppem_y, bool hinted) {
  Face& f = *c.face;
  const FT_F26Dot6 size_x = std::lround(ppem_x * 64), size_y = std::lround(ppem_y * 64);
  if (size_x != f.size_x || size_y != f.size_y) {
    if (FT_Set_Char_Size(f.ft, size_x, size_y, 72, 72) != 0) return false;
    f.size_x = size_x;
    f.size_y = size_y;
  }
  const FT_Int32 flags =
      FT_LOAD_NO_BITMAP | FT_LOAD_NO_AUTOHINT | (hinted ? FT_LOAD_TARGET_MONO : FT_LOAD_NO_HINTING);
  if (FT_Load_Glyph(f.ft, c.glyph, flags) != 0) return false;
  if (f.ft->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  if (c.synthetic_bold) FT_GlyphSlot_Embolden(f.ft->glyph);
  if (c.synthetic_italic) FT_GlyphSlot_Oblique(f.ft->glyph);
  return true;
}

GlyphMask FreeTypeRasterizer::Rasterize(const FontDescription& font, char32_t ch) {
  Choice c = Choose(font, ch);
  if (!c.face || c.glyph == 0) return {};
  Face& f = *c.face;
  const CellMetrics m = MetricsOf(f, font);
  // Right angles keep the glyph on the pixel grid, where hinting pays.
  const bool hinted = font.escapement % 900 == 0;

  // A vertical face stands ideographs and kana upright in the column (its own vertical form
  // where the font has one): turned a quarter anticlockwise in the cell, the em box centred
  // across the cell where a horizontal glyph's em box lies and beginning at the cell's start.
  // It is scaled before it is turned, so the width still runs along the baseline.
  bool upright = false;
  if (font.face.starts_with(u'@')) {
    if (!f.vertical) {
      FT_ULong length = 0;
      std::vector<uint8_t> gsub;
      if (FT_Load_Sfnt_Table(f.ft, TTAG_GSUB, 0, nullptr, &length) == 0) {
        gsub.resize(length);
        if (FT_Load_Sfnt_Table(f.ft, TTAG_GSUB, 0, gsub.data(), &length) != 0) gsub.clear();
      }
      f.vertical = VerticalForms::FromGsub(gsub);
    }
    const FT_UInt vertical_glyph = f.vertical->Substitute(c.glyph);
    upright = vertical_glyph != c.glyph || IsUprightInVerticalText(ch);
    c.glyph = vertical_glyph;
  }

  Affine to_cell;  // from the loaded outline to the cell's frame: y up from the top-left corner
  double advance = 0;
  if (upright) {
    if (!Load(c, m.ppem_y, m.ppem_x, hinted)) return {};
    const double half_width = f.ft->glyph->linearHoriAdvance / 65536.0 / 2;
    const double column_centre = m.ascent - (f.em_top - f.em / 2) * m.ppem_y / f.em;
    to_cell = {0, -1, 1, 0, f.em_top * m.ppem_x / f.em, -(half_width + column_centre)};
    advance = f.ft->glyph->linearVertAdvance / 65536.0;
    if (advance <= 0) advance = m.ppem_x;
  } else {
    if (!Load(c, m.ppem_x, m.ppem_y, hinted)) return {};
    to_cell.dy = -m.ascent;
    advance = f.ft->glyph->advance.x / 64.0;
  }

  // Underline and strike-out run along the whole cell, as text output draws them.
  std::vector<Band> bands;
  const double scale_y = m.ppem_y / f.em;
  const auto band = [&](double centre, double thickness) {
    const double t = std::max(1.0, std::round(thickness));
    const double y0 = std::round(centre - t / 2);
    bands.push_back({0, advance, y0, y0 + t});
  };
  if (font.underline) {
    band(-m.ascent + f.ft->underline_position * scale_y, f.ft->underline_thickness * scale_y);
  }
  if (font.strike_out) {
    band(-m.ascent + (f.strike_top - f.strike_size / 2) * scale_y, f.strike_size * scale_y);
  }

  FT_Outline& glyph = f.ft->glyph->outline;
  Apply(to_cell, glyph);
  Outline outline(library_, glyph, bands);
  if (!outline.valid()) return {};
  Apply(Rotation(font.escapement), outline.get());
  return Render(library_, outline.get());
}

TextExtent FreeTypeRasterizer::Measure(const FontDescription& font, char32_t ch) {
  const Choice c = Choose(font, ch);
  if (!c.face) return {};
  const CellMetrics m = MetricsOf(*c.face, font);
  TextExtent extent;
  extent.height = m.ascent + m.descent;
  if (Load(c, m.ppem_x, m.ppem_y, true))
    extent.width = static_cast<int>((c.face->ft->glyph->advance.x + 32) >> 6);
  return extent;
}

}  // namespace

std::unique_ptr<GlyphRasterizer> CreateGlyphRasterizer() {
  return std::make_unique<GlyphCache>(std::make_unique<FreeTypeRasterizer>());
}

}  // namespace vardo
