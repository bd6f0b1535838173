// The ways through a redraw: canvases limited to bands of rows draw exactly the rows of an
// unlimited one; culled and threaded walks draw exactly what the plain walk draws; a stop still
// ends a threaded walk at once.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "random_drawing.h"
#include "render/canvas.h"
#include "render/entity_index.h"
#include "render/renderer.h"
#include "scene.h"

namespace vardo {
namespace {

// Where two surfaces differ first, for a failure message; empty when they agree.
std::string FirstDifference(const Surface& a, const Surface& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return "sizes differ";
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) {
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) +
               "): " + std::to_string(a.GetPixel(x, y)) + " vs " + std::to_string(b.GetPixel(x, y));
      }
    }
  }
  return "";
}

// A little of everything a canvas draws, from random pixel coordinates that often leave the
// surface: lines in every pen style and width, both modes, rectangles and polygons with every
// brush, polylines and glyphs.
void DrawCanvasMix(Canvas& c, uint32_t seed, int width, int height) {
  std::mt19937 rng(seed);
  auto x = [&] { return static_cast<int>(rng() % static_cast<uint32_t>(width * 3)) - width; };
  auto y = [&] { return static_cast<int>(rng() % static_cast<uint32_t>(height * 3)) - height; };
  const PenStyle styles[] = {PenStyle::Solid,   PenStyle::Dash,       PenStyle::Dot,
                             PenStyle::DashDot, PenStyle::DashDotDot, PenStyle::Clear};
  const BrushStyle brushes[] = {BrushStyle::Solid, BrushStyle::Clear,     BrushStyle::Horizontal,
                                BrushStyle::Cross, BrushStyle::DiagCross, BrushStyle::FDiagonal};
  GlyphMask glyph;
  glyph.width = 9, glyph.height = 11, glyph.stride = 2, glyph.left = -2, glyph.top = -3;
  for (int i = 0; i < glyph.stride * glyph.height; ++i)
    glyph.bits.push_back(static_cast<uint8_t>(rng()));
  for (int op = 0; op < 60; ++op) {
    Pen& pen = c.pen();
    pen.color = rng() & 0xFFFFFF;
    pen.style = styles[rng() % 6];
    pen.width = rng() % 3 == 0 ? static_cast<int>(rng() % 6) : 0;
    pen.mode = rng() % 3 == 0 ? PenMode::Xor : PenMode::Copy;
    c.brush() = {static_cast<uint32_t>(rng() & 0xFFFFFF), brushes[rng() % 6]};
    c.font_color() = rng() & 0xFFFFFF;
    switch (rng() % 6) {
      case 0:
        c.MoveTo(x(), y());
        c.LineTo(x(), y());
        c.LineTo(x(), y());
        break;
      case 1:
        c.LineWithEnd(x(), y(), x(), y());
        break;
      case 2:
        c.Rectangle(x(), y(), x(), y());
        break;
      case 3: {
        const std::vector<TPoint> ring = {{x(), y()}, {x(), y()}, {x(), y()}, {x(), y()}};
        c.Polygon(ring);
        break;
      }
      case 4: {
        const std::vector<TPoint> path = {{x(), y()}, {x(), y()}, {x(), y()}};
        c.Polyline(path);
        c.LinesWithEnds(path);
        break;
      }
      case 5:
        c.DrawGlyph(x(), y(), glyph);
        c.SetPixel(x(), y(), pen.color);
        break;
    }
  }
}

TEST(CanvasClipRows, BandsOfRowsTogetherDrawWhatOneCanvasDraws) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    const int width = 5 + static_cast<int>(seed % 7) * 9, height = 3 + static_cast<int>(seed) * 2;
    Surface whole(width, height, 0x00808080);
    Canvas one(whole);
    DrawCanvasMix(one, seed, width, height);

    Surface banded(width, height, 0x00808080);
    const int cuts[] = {0, height / 3, height / 3 + 1, height - 2, height};
    for (int b = 0; b + 1 < 5; ++b) {
      Canvas band(banded);
      band.ClipRows(cuts[b], cuts[b + 1]);
      DrawCanvasMix(band, seed, width, height);
    }
    EXPECT_EQ(FirstDifference(whole, banded), "") << "seed " << seed;
  }
}

// A canvas limited to some rows leaves every other row alone.
TEST(CanvasClipRows, NothingOutsideTheBandIsTouched) {
  Surface s(30, 20, 0x00808080);
  Canvas c(s);
  c.ClipRows(5, 9);
  DrawCanvasMix(c, 3, 30, 20);
  int inked = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 30; ++x) {
      if (y >= 5 && y < 9) {
        inked += s.GetPixel(x, y) != 0x00808080;
      } else {
        ASSERT_EQ(s.GetPixel(x, y), 0x00808080u) << x << ", " << y;
      }
    }
  }
  EXPECT_GT(inked, 0);
}

struct ViewCase {
  int width, height;
  double scale, xmin, ymin;
};

// Random drawings of every kind, texts drawn as glyphs among them, at several views and surface
// sizes drawn over a frame: in colour, and in monochrome in XOR mode (every pixel of every
// entity then shows).
TEST(GLDrawALL, CulledAndThreadedWalksDrawWhatThePlainWalkDraws) {
  const ViewCase views[] = {
      {120, 90, 1, -60, -45},      {64, 200, 0.3, -100, -300},   {1, 1, 1, 0, 0},
      {97, 33, 4, -10, 5},         {50, 50, 1e-9, -5e10, -5e10}, {300, 17, 0.05, -3000, -170},
      {40, 130, 2e3, 0.01, -0.02},
  };
  const test::RandomTextServices text;
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    std::mt19937 rng(seed);
    const TJGdata doc = test::RandomDrawing(rng, 700, 100);
    for (const ViewCase& v : views) {
      for (int variant = 0; variant < 2; ++variant) {
        const bool mono = variant == 1;
        const bool xor_mode = variant == 1;
        auto draw = [&](const DrawWalk& walk, const EntityIndex* index) {
          auto scene = std::make_unique<test::Scene>(v.width, v.height, v.scale, v.xmin, v.ymin);
          if (mono) scene->attr.SetPrintMode(true, 0, 0, 0);
          Graphics g(scene->canvas, scene->view, scene->attr, text.services);
          g.GraClear(v.width, v.height);
          g.GraPen(0xFFFF00, 0, 0);
          g.GraBoxXY(0, 0, v.width - 1, v.height - 1);
          if (xor_mode) g.GraXorMode();
          DrawWalk w = walk;
          if (index != nullptr) w.index = index;
          GLDrawALL(doc, g, StopPoll(), w);
          return scene;
        };
        const auto plain = draw(DrawWalk(), nullptr);
        EntityIndex index;
        index.Build(doc, plain->attr);
        const struct {
          int threads;
          bool culled;
        } ways[] = {{1, true}, {3, false}, {2, true}, {4, true}};
        for (const auto& way : ways) {
          const auto other = draw({nullptr, way.threads}, way.culled ? &index : nullptr);
          EXPECT_EQ(FirstDifference(plain->surface, other->surface), "")
              << "seed " << seed << " view " << v.width << "x" << v.height << " scale " << v.scale
              << " variant " << variant << " threads " << way.threads
              << (way.culled ? " culled" : "");
        }
      }
    }
  }
}

// Esc held as a threaded walk starts: no band is begun.
TEST(GLDrawALL, AThreadedWalkAsksTheStopPollBeforeItStarts) {
  TJGdata doc;
  for (int i = 0; i < 2000; ++i)
    doc.A_Line(0, i % 400 + 0.5, 100, i % 400 + 0.5);
  test::Scene scene(100, 400);
  EntityIndex index;
  index.Build(doc, scene.attr);
  for (const DrawWalk walk : {DrawWalk{&index, 4}, DrawWalk{nullptr, 2}, DrawWalk{&index, 1}}) {
    std::atomic<int> polls{0};
    GLDrawALL(
        doc, scene.g, [&] { return ++polls > 0; }, walk);
    EXPECT_EQ(polls.load(), 1);
    EXPECT_TRUE(test::InkOf(scene.surface).empty);
  }
}

}  // namespace
}  // namespace vardo
