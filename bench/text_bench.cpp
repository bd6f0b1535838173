// Redrawing a drawing of 10,000 texts of ten characters into a 1920 x 1080 surface with our text
// renderer and FreeType rasterizer, against cairo showing the same strings at the same places
// through FreeType, aliased: both with their glyph caches warm, and both from fresh fonts.
#include <benchmark/benchmark.h>
#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "attributes/graphics_attributes.h"
#include "bench_support.h"
#include "common/text_helpers.h"
#include "document/model.h"
#include "document/text_codec.h"
#include "render/canvas.h"
#include "render/glyph.h"
#include "render/graphics.h"
#include "render/renderer.h"
#include "render/surface.h"
#include "render/text_codes.h"
#include "screen_view.h"

namespace {

using namespace vardo;
using bench::FullView;
using bench::kHeight;
using bench::kWidth;

constexpr int kTexts = 10000;
constexpr int kLength = 10;
constexpr double kPi = std::numbers::pi;

constexpr char16_t kKanji[] =
    u"平面図立断詳細寸法会議室事務所倉庫玄関廊下階段便所浴室台所洗面寝居間和洋押入収納機械電気設"
    u"備屋根壁床天井柱梁窓扉鉄筋木造外内部あいうえおかきくけこさしすせそアイウエオカキクケコサシ"
    u"スセソ";
constexpr char16_t kLatin[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.";

// Ten characters: Japanese, Latin, or Latin then Japanese (a room number and its name).
std::u16string RandomString(std::mt19937& rng) {
  std::uniform_int_distribution<size_t> kanji(0, std::size(kKanji) - 2);
  std::uniform_int_distribution<size_t> latin(0, std::size(kLatin) - 2);
  const int kind = static_cast<int>(rng() % 10);
  const int latin_count = kind < 4 ? 0 : kind < 7 ? kLength : 3;
  std::u16string s;
  for (int i = 0; i < kLength; ++i)
    s += i < latin_count ? kLatin[latin(rng)] : kKanji[kanji(rng)];
  return s;
}

// Texts spread over the view in the nine pen colours: heights 12 to 32 pixels with square
// full-width cells, mostly upright, some turned, a tenth vertical; Gothic and Mincho faces.
TJGdata GenerateTexts() {
  std::mt19937 rng(20240601);
  std::uniform_real_distribution<double> x(0, kWidth - 240), y(40, kHeight);
  constexpr std::array<double, 5> kHeights = {12, 16, 20, 24, 32};
  constexpr std::array<double, 10> kAngles = {0, 0, 0, 0, 0, 0, 90, 30, 45, 180};
  TJGdata doc;
  doc.LGrpScale.fill(1.0);
  for (int i = 0; i < kTexts; ++i) {
    TEntText t;
    t.att.Col = 1 + static_cast<int>(rng() % 9);
    t.att.Ltp = 1;
    t.mh = t.mw = kHeights[rng() % kHeights.size()];
    t.no = rng() % 10 == 0 ? 1 : 0;
    // A vertical text runs down its column.
    const double angle = (t.no == 1 ? 270 : kAngles[rng() % kAngles.size()]) * kPi / 180;
    t.fo = rng() % 10 < 7 ? u"ＭＳ ゴシック" : u"ＭＳ 明朝";
    t.st = RandomString(rng);
    t.x1 = x(rng);
    t.y1 = y(rng);
    const double length = HalfWidthCount(t.st) * (t.mw + t.md) / 2;
    t.x2 = length * std::cos(angle);
    t.y2 = length * std::sin(angle);
    doc.EntText.push_back(t);
  }
  return doc;
}

const TJGdata& Texts() {
  static const TJGdata doc = GenerateTexts();
  return doc;
}

// Our redraw of the texts; cold makes the rasterizer, with its fonts and caches, afresh for
// every redraw, as the first redraw after start-up finds it.
void Ours(benchmark::State& state, bool cold) {
  const TJGdata& doc = Texts();
  TgraAttribute attr;
  SetUpStartAttributes(attr);
  const ViewState view = FullView();
  const TextCodeValues codes;
  Surface surface(kWidth, kHeight);
  Canvas canvas(surface);
  std::unique_ptr<GlyphRasterizer> glyphs = CreateGlyphRasterizer();
  const auto redraw = [&] {
    Graphics g(canvas, view, attr, {.glyphs = glyphs.get(), .codes = &codes, .now = {}});
    g.GraClear(kWidth, kHeight);
    GLDrawALL(doc, g, StopPoll());
  };
  redraw();
  for (auto _ : state) {
    if (cold) glyphs = CreateGlyphRasterizer();
    redraw();
    benchmark::DoNotOptimize(surface.Pixels());
  }
  state.counters["glyphs"] = kTexts * kLength;
}

void BM_TextsWarm(benchmark::State& state) {
  Ours(state, false);
}
void BM_TextsCold(benchmark::State& state) {
  Ours(state, true);
}

// A FreeType face found through fontconfig as cairo's font face; the face lives as long as
// cairo keeps the font face.
cairo_font_face_t* CairoFace(FT_Library library, FcConfig* config, const char* family) {
  FcPattern* request = FcNameParse(reinterpret_cast<const FcChar8*>(family));
  FcConfigSubstitute(config, request, FcMatchPattern);
  FcDefaultSubstitute(request);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, request, &result);
  FcPatternDestroy(request);
  FcChar8* file = nullptr;
  int index = 0;
  FT_Face face = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FT_New_Face(library, reinterpret_cast<const char*>(file), index, &face);
  }
  if (match) FcPatternDestroy(match);
  if (!face) return nullptr;
  cairo_font_face_t* font = cairo_ft_font_face_create_for_ft_face(face, 0);
  static const cairo_user_data_key_t kFaceKey{};
  cairo_font_face_set_user_data(font, &kFaceKey, face,
                                [](void* f) { FT_Done_Face(static_cast<FT_Face>(f)); });
  return font;
}

// The faces of the texts in cairo: the IPA Gothic and Mincho faces ours resolves the names to.
struct CairoFaces {
  CairoFaces(FT_Library library, FcConfig* config)
      : gothic(CairoFace(library, config, "IPAGothic")),
        mincho(CairoFace(library, config, "IPAMincho")) {}
  ~CairoFaces() {
    cairo_font_face_destroy(gothic);
    cairo_font_face_destroy(mincho);
  }
  CairoFaces(const CairoFaces&) = delete;
  CairoFaces& operator=(const CairoFaces&) = delete;
  cairo_font_face_t* gothic;
  cairo_font_face_t* mincho;
};

// The strings in cairo's device space (y down) at the texts' start points along their angles,
// the font size their character height, in their pen colours.
struct CairoText {
  double x, y, angle, size;
  bool mincho;
  double r, g, b;
  std::string utf8;
};

std::vector<CairoText> CairoTexts(const TJGdata& doc, const TgraAttribute& attr) {
  std::vector<CairoText> texts;
  for (const TEntText& t : doc.EntText) {
    const uint32_t c = attr.GetAttrColcol(t.att.Col);
    std::string utf8;
    EncodeUtf8(t.st, utf8);
    texts.push_back({t.x1, kHeight - t.y1, std::atan2(t.y2, t.x2), t.mh, t.fo == u"ＭＳ 明朝",
                     (c & 0xFF) / 255.0, (c >> 8 & 0xFF) / 255.0, (c >> 16 & 0xFF) / 255.0,
                     std::move(utf8)});
  }
  return texts;
}

void CairoDraw(cairo_t* cr, const CairoFaces& faces, const std::vector<CairoText>& texts) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  for (const CairoText& t : texts) {
    cairo_save(cr);
    cairo_set_source_rgb(cr, t.r, t.g, t.b);
    cairo_set_font_face(cr, t.mincho ? faces.mincho : faces.gothic);
    cairo_set_font_size(cr, t.size);
    cairo_translate(cr, t.x, t.y);
    cairo_rotate(cr, -t.angle);
    cairo_move_to(cr, 0, 0);
    cairo_show_text(cr, t.utf8.c_str());
    cairo_restore(cr);
  }
}

// cairo's redraw of the same strings; cold finds and opens the faces afresh (a fresh fontconfig
// configuration, new FreeType faces, so new glyph caches) for every redraw.
void Cairo(benchmark::State& state, bool cold) {
  TgraAttribute attr;
  SetUpStartAttributes(attr);
  const std::vector<CairoText> texts = CairoTexts(Texts(), attr);
  FT_Library library = nullptr;
  FT_Init_FreeType(&library);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_set_font_options(cr, options);
  FcConfig* config = FcInitLoadConfigAndFonts();
  auto faces = std::make_unique<CairoFaces>(library, config);
  if (!faces->gothic || !faces->mincho) state.SkipWithError("no IPA fonts through fontconfig");
  CairoDraw(cr, *faces, texts);
  for (auto _ : state) {
    if (cold) {
      faces.reset();
      // Drops the glyph caches of the faces just released.
      cairo_set_font_face(cr, nullptr);
      FcConfigDestroy(config);
      config = FcInitLoadConfigAndFonts();
      faces = std::make_unique<CairoFaces>(library, config);
    }
    CairoDraw(cr, *faces, texts);
    cairo_surface_flush(surface);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
  }
  faces.reset();
  FcConfigDestroy(config);
  cairo_font_options_destroy(options);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  // cairo keeps recently used fonts, and with them the FreeType faces, until told to let go.
  cairo_debug_reset_static_data();
  FT_Done_FreeType(library);
}

void BM_CairoWarm(benchmark::State& state) {
  Cairo(state, false);
}
void BM_CairoCold(benchmark::State& state) {
  Cairo(state, true);
}

BENCHMARK(BM_TextsWarm)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CairoWarm)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TextsCold)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CairoCold)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return vardo::bench::RunAndCompare(argc, argv,
                                     {{"BM_TextsWarm/real_time", "BM_CairoWarm/real_time"},
                                      {"BM_TextsCold/real_time", "BM_CairoCold/real_time"}});
}
