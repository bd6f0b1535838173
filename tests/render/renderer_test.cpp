// The entity renderer: pass order, stop polling, arcs, monochrome and line types, points and
// marks, solids, texts without a font service, dimensions and override colours.
#include "render/renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "scene.h"
#include "support/picture.h"

namespace vardo {
namespace {

using test::InkOf;
using test::kBlack;
using test::kBlue;
using test::kGreen;
using test::kWhite;
using test::Picture;
using test::Rows;
using test::Scene;

TEntAttr Attr(int col, int ltp = 1, int lgrp = 0) {
  TEntAttr att;
  att.Col = col;
  att.Ltp = ltp;
  att.LGrp = lgrp;
  return att;
}

TEntLine Line(int col, double x1, double y1, double x2, double y2, int ltp = 1) {
  TEntLine e;
  e.att = Attr(col, ltp);
  e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2;
  return e;
}

TEntText Text(int col, std::u16string st, double x1, double y1, double x2, double y2, double mw = 1,
              double mh = 1) {
  TEntText e;
  e.att = Attr(col);
  e.st = std::move(st);
  e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2;
  e.mw = mw, e.mh = mh;
  return e;
}

TEntSldD Ring(int col, double cx, double cy, double r, double ri, double sa, double da) {
  TEntSldD e;
  e.att = Attr(col);
  e.cx = cx, e.cy = cy, e.cr = r, e.he = 1, e.sa = sa, e.da = da, e.ri = ri;
  return e;
}

// Divided as given, a negative layer-group scale turns the group's entities half a turn about
// the origin: stored in the first quadrant, a line, a quarter arc and a quarter disc are drawn
// in the third, at half size.
TEST(GLDrawALL, ANegativeLayerGroupScaleTurnsTheGroupAbout) {
  constexpr double kPi = 3.14159265358979323846;
  TJGdata doc;
  doc.LGrpScale[1] = -2;
  TEntLine line = Line(2, 4, 30, 30, 30);
  line.att.LGrp = 1;
  doc.EntLine.push_back(line);
  TEntArc arc;
  arc.att = Attr(2, 1, 1);
  arc.cr = 20, arc.sa = 0, arc.ea = 90, arc.he = 1;
  doc.EntArc.push_back(arc);
  TEntSldC disc;
  disc.att = Attr(2, 1, 1);
  disc.cr = 16, disc.he = 1, disc.da = kPi / 2;
  doc.EntSldC.push_back(disc);
  // Drawing (x, y) is the pixel (x + 20, 20 - y).
  Scene scene(40, 40, 1, -20, -20);
  GLDrawALL(doc, scene.g, {});
  // The line from (-2, -15) to (-15, -15) reaches furthest.
  EXPECT_EQ(InkOf(scene.surface), (test::InkBox{false, 5, 20, 20, 35}));
  EXPECT_NE(scene.At(13, 27), kWhite);  // the arc's middle
  EXPECT_NE(scene.At(17, 23), kWhite);  // inside the quarter disc
  EXPECT_EQ(scene.At(23, 17), kWhite);  // where the disc would lie unturned
}

// Every kind of entity covers the pixel (5, 4) of a 10 x 8 view, each in its own colour; each
// pass must draw over the ones before it.
TEST(GLDrawALL, EveryPassDrawsOverTheOnesBefore) {
  constexpr double kPi = 3.14159265358979323846;
  struct Layer {
    const char* name;
    std::function<void(TJGdata&)> add;
    uint32_t colour;
  };
  const std::vector<Layer> layers = {
      {"image", [](TJGdata& d) { d.EntText.push_back(Text(102, u"^@BMa.bmp,3,3", 5, 1, 3, 0)); },
       0x0000FF},
      {"two-point solid",
       [](TJGdata& d) {
         TEntSld2 e;
         e.att = Attr(103);
         e.x1 = 3, e.y1 = 4, e.x2 = 7, e.y2 = 4;
         d.EntSld2.push_back(e);
       },
       0x00FF00},
      {"three-point solid",
       [](TJGdata& d) {
         TEntSld3 e;
         e.att = Attr(104);
         e.x1 = 3, e.y1 = 2, e.x2 = 8, e.y2 = 2, e.x3 = 5, e.y3 = 7;
         d.EntSld3.push_back(e);
       },
       0xFF0000},
      {"four-point solid",
       [](TJGdata& d) {
         TEntSld4 e;
         e.att = Attr(105);
         e.x1 = 4, e.y1 = 3, e.x2 = 6, e.y2 = 3, e.x3 = 6, e.y3 = 5, e.x4 = 4, e.y4 = 5;
         d.EntSld4.push_back(e);
       },
       0x00FFFF},
      {"filled circular solid",
       [](TJGdata& d) {
         TEntSldC e;
         e.att = Attr(106);
         e.cx = 5, e.cy = 4, e.cr = 2, e.he = 1, e.fl = 100;
         d.EntSldC.push_back(e);
       },
       0xFF00FF},
      {"outlined circular solid",
       [](TJGdata& d) {
         TEntSldC e;
         e.att = Attr(107);
         e.cx = 3, e.cy = 4, e.cr = 2, e.he = 1, e.fl = 100;
         d.EntSldE.push_back(e);
       },
       0xFFFF00},
      {"ring sector",
       [](TJGdata& d) { d.EntSldO.push_back(Ring(109, 3, 4, 3, 1, -kPi / 4, kPi / 2)); }, 0x8000C0},
      {"parallel ring sector",
       [](TJGdata& d) { d.EntSldG.push_back(Ring(110, 3, 4, 3, 1, -kPi / 4, kPi / 2)); }, 0x4080C0},
      {"line", [](TJGdata& d) { d.EntLine.push_back(Line(111, 3, 4, 7, 4)); }, 0x0080FF},
      {"circle",
       [](TJGdata& d) {
         TEntCircle e;
         e.att = Attr(112);
         e.cx = 3, e.cy = 4, e.cr = 2;
         d.EntCirc.push_back(e);
       },
       0x80C080},
      {"arc",
       [](TJGdata& d) {
         TEntArc e;
         e.att = Attr(113);
         e.cx = 7, e.cy = 4, e.cr = 2, e.sa = 90, e.ea = 270, e.he = 1;
         d.EntArc.push_back(e);
       },
       0xFF8000},
      {"point",  // radius one pixel, so its ring passes through (5, 4)
       [](TJGdata& d) {
         TEntPnt e;
         e.att = Attr(114);
         e.px = 4, e.py = 4;
         d.EntPnt.push_back(e);
       },
       0xFF4080},
      {"mark",
       [](TJGdata& d) {
         TEntMark e;
         e.att = Attr(115);
         e.px = 5, e.py = 4, e.bai = 1, e.cod = -4;
         d.EntMark.push_back(e);
       },
       0xC0C0C0},
      {"text", [](TJGdata& d) { d.EntText.push_back(Text(116, u"A", 5, 4, 2, 0)); }, 0x808080},
      {"dimension",  // an auxiliary colour, shown because auxiliary display is on
       [](TJGdata& d) {
         TEntDim e;
         e.lin = Line(9, 5, 2, 5, 6);
         d.EntDim.push_back(e);
       },
       0xFF80FF},
  };
  for (size_t n = 1; n <= layers.size(); ++n) {
    Scene scene(10, 8);
    TJGdata doc;
    for (size_t i = 0; i < n; ++i)
      layers[i].add(doc);
    GLDrawALL(doc, scene.g, {});
    EXPECT_EQ(scene.At(5, 4), layers[n - 1].colour) << "on top: " << layers[n - 1].name;
  }
}

TEST(GLDrawALL, BlockInsertsAreNotDrawn) {
  Scene scene(8, 6);
  TJGdata doc;
  TEntBlk blk;
  blk.px = 3, blk.py = 3;
  doc.EntBlk.push_back(blk);
  GLDrawALL(doc, scene.g, {});
  EXPECT_TRUE(InkOf(scene.surface).empty);
}

// Lines on rows of their own: line i is the pixel row i + 1 of a 30 x 30 view.
TJGdata Lines(int count) {
  TJGdata doc;
  for (int i = 0; i < count; ++i)
    doc.EntLine.push_back(Line(2, 1, 29 - i, 5, 29 - i));
  return doc;
}

TEST(GLDrawALL, PollsAfterEveryTenthEntityAndEachPass) {
  struct Case {
    int lines;
    int polls;
  };
  // 15 passes; the line pass polls after lines 0, 10, 20, ... as well.
  for (const Case& c : {Case{0, 15}, Case{1, 16}, Case{10, 16}, Case{11, 17}, Case{25, 18}}) {
    Scene scene(30, 30);
    int polls = 0;
    GLDrawALL(Lines(c.lines), scene.g, [&] {
      ++polls;
      return false;
    });
    EXPECT_EQ(polls, c.polls) << c.lines << " lines";
  }
}

TEST(GLDrawALL, StopsRightAfterTheEntityWhosePollAnswersTrue) {
  struct Case {
    int stop_at_poll;  // 1-based
    int lines_drawn;
  };
  // Eight empty passes come before the lines.
  for (const Case& c : {Case{9, 1}, Case{10, 11}, Case{3, 0}}) {
    Scene scene(30, 30);
    int polls = 0;
    GLDrawALL(Lines(25), scene.g, [&] { return ++polls == c.stop_at_poll; });
    EXPECT_EQ(polls, c.stop_at_poll);
    for (int i = 1; i < 25; ++i) {
      EXPECT_EQ(scene.At(3, i), i <= c.lines_drawn ? kBlack : kWhite) << "line " << i - 1;
    }
  }
}

// On the 41 x 41 view the circle of radius 15 about (20, 20) passes through the pixels (35, 21)
// at 0 degrees, (31, 10) at 45, (20, 6) at 90, (5, 21) at 180, (20, 36) at 270 and (31, 32)
// at 315.
TEST(GLDrawArc, AnglesAreBroughtIntoOneTurnAndAZeroSweepIsTheFullCircle) {
  struct Case {
    double sa, ea;
    std::vector<std::pair<int, int>> drawn, blank;
  };
  const Case cases[] = {
      {350, 10, {{35, 21}}, {{20, 6}, {5, 21}, {20, 36}}},
      {-90, 0, {{20, 36}, {31, 32}, {35, 21}}, {{31, 10}, {20, 6}, {5, 21}}},
      {370, 10, {{35, 21}, {20, 6}, {5, 21}, {20, 36}}, {}},
      {45, 45 - 720, {{35, 21}, {20, 6}, {5, 21}, {20, 36}}, {}},
      {0, 90, {{35, 21}, {31, 10}, {20, 6}}, {{5, 21}, {20, 36}}},
  };
  for (const Case& c : cases) {
    Scene scene(41, 41);
    TJGdata doc;
    TEntArc e;
    e.att = Attr(2);
    e.cx = 20, e.cy = 20, e.cr = 15, e.sa = c.sa, e.ea = c.ea, e.he = 1;
    GLDrawArc(doc, scene.g, -1, e);
    for (auto [x, y] : c.drawn)
      EXPECT_EQ(scene.At(x, y), kBlack) << c.sa << ".." << c.ea << " at " << x << "," << y;
    for (auto [x, y] : c.blank)
      EXPECT_EQ(scene.At(x, y), kWhite) << c.sa << ".." << c.ea << " at " << x << "," << y;
  }
}

TEST(GLDrawArc, EqualAnglesGiveTheFullTiltedEllipse) {
  Scene scene(41, 41);
  TJGdata doc;
  TEntArc e;
  e.att = Attr(2);
  e.cx = 20, e.cy = 20, e.cr = 16, e.sa = 30, e.ea = 30, e.he = 0.5, e.ka = 90;
  GLDrawArc(doc, scene.g, -1, e);
  // First axis upright and 16 long, the second 8.
  for (auto [x, y] : {std::pair{20, 5}, {20, 37}, {12, 21}, {28, 21}})
    EXPECT_EQ(scene.At(x, y), kBlack) << x << "," << y;
  for (auto [x, y] : {std::pair{36, 21}, {4, 21}, {20, 21}})
    EXPECT_EQ(scene.At(x, y), kWhite) << x << "," << y;
}

// A line along row 2 of a 30 x 4 view, pixels 1 to 28.
TEST(GLDrawLine, MonochromeIsSolidBlackAndLineTypesAreSolidOrDotted) {
  struct Case {
    const char* name;
    bool mono;
    int col, ltp;
    uint32_t colour;
    bool dotted;
  };
  const Case cases[] = {
      {"type 2", false, 5, 2, 0xC000C0, true},
      {"type 31", false, 5, 31, 0xC000C0, false},
      {"type 2, monochrome", true, 5, 2, 0x000000, false},
      {"no colour entry, monochrome", true, 0, 1, 0x000000, false},
  };
  for (const Case& c : cases) {
    Scene scene(30, 4);
    scene.attr.SetPrintMode(c.mono, 0, 0, 0);
    TJGdata doc;
    GLDrawLine(doc, scene.g, -1, Line(c.col, 1, 2, 28, 2, c.ltp));
    int gaps = 0;
    for (int x = 1; x <= 28; ++x) {
      const uint32_t p = scene.At(x, 2);
      if (p == kWhite) {
        ++gaps;
      } else {
        EXPECT_EQ(p, c.colour) << c.name << " at " << x;
      }
    }
    EXPECT_EQ(gaps > 0, c.dotted) << c.name;
    EXPECT_EQ(scene.At(28, 2), c.colour) << c.name << ": the end pixel";
  }
}

// An own colour with a top byte keeps only its colour bits: a pixel must never look like a read
// outside the surface.
TEST(GLDrawSolid, OwnColourSurvivesMonochromeTableColoursTurnBlack) {
  struct Case {
    int col;
    int color;
    uint32_t mono, colour;
  };
  for (const Case& c : {Case{10, 0xFF0000, kBlue, kBlue}, Case{3, 0, kBlack, 0x00C000},
                        Case{10, 0x12345678, 0x345678, 0x345678}}) {
    for (const bool mono : {false, true}) {
      Scene scene(8, 6);
      scene.attr.SetPrintMode(mono, 0, 0, 0);
      TJGdata doc;
      TEntSld4 e;
      e.att = Attr(c.col);
      e.Color = c.color;
      e.x1 = 1, e.y1 = 1, e.x2 = 5, e.y2 = 1, e.x3 = 5, e.y3 = 5, e.x4 = 1, e.y4 = 5;
      GLDrawSolid4(doc, scene.g, -1, e);
      EXPECT_EQ(scene.At(3, 3), mono ? c.mono : c.colour) << c.col << " mono " << mono;
      EXPECT_EQ(scene.At(1, 1), mono ? c.mono : c.colour) << c.col << " mono " << mono;
    }
  }
}

TEST(GLDrawSolid2, FirstPointLeftOfTheWindowIsStillDrawn) {
  Scene scene(8, 6);
  TJGdata doc;
  TEntSld2 e;
  e.att = Attr(2);
  e.x1 = -5, e.y1 = 3, e.x2 = 5, e.y2 = 3;
  GLDrawSolid2(doc, scene.g, -1, e);
  EXPECT_EQ(Picture(scene.surface),
            Rows({"........", "........", "........", "#####...", "........", "........"}));
}

// Colour 1 without a width: radius 0.1 / 2 + 0.2 = 0.25 mm, but never below one pixel.
TEST(GLDrawPnt, RadiusIsAtLeastOnePixel) {
  struct Case {
    double scale;
    int size;    // of the square view, the point in its centre pixel
    int radius;  // pixels
  };
  for (const Case& c : {Case{2, 20, 1}, Case{200, 120, 50}}) {
    const double centre = c.size / 2 / c.scale;
    Scene scene(c.size, c.size, c.scale);
    TJGdata doc;
    TEntPnt e;
    e.att = Attr(1);
    e.px = centre, e.py = centre;
    GLDrawPnt(doc, scene.g, -1, e);
    const int mid = c.size / 2;
    EXPECT_EQ(scene.At(mid - c.radius, mid), 0xC0C000u) << c.scale;
    EXPECT_EQ(scene.At(mid + c.radius, mid), 0xC0C000u) << c.scale;
    EXPECT_EQ(scene.At(mid - c.radius - 1, mid), kWhite) << c.scale;
    EXPECT_EQ(scene.At(mid, mid), kWhite) << c.scale;
  }
}

std::string MarkPicture(int code, double size) {
  Scene scene(30, 30, 4);
  GraMark(scene.g, code, 0, -1, 2, 0, size, 0, 3.75, 3.75);
  return Picture(scene.surface);
}

TEST(GraMark, SizeZeroOrBelowIsSizeOne) {
  const std::string one = MarkPicture(3, 1);
  EXPECT_NE(one.find('#'), std::string::npos);
  EXPECT_EQ(MarkPicture(3, 0), one);
  EXPECT_EQ(MarkPicture(3, -2), one);
  EXPECT_NE(MarkPicture(3, 2), one);
}

// Arrowheads with the tip on (15, 10) of a green 40 x 40 view at 2 pixels per unit: along
// angle 0 the body covers the pixel (20, 20), pointing up it covers (30, 30) instead.
TEST(GraMark, ArrowheadsPointAlongTheirAngle) {
  struct Case {
    const char* name;
    int code;
    double angle;
    uint32_t at_20_20, at_30_30;
  };
  const Case cases[] = {
      {"1: filled white", 1, 0, kWhite, kGreen},
      {"1 pointing up", 1, 3.14159265358979 / 2, kGreen, kWhite},
      {"6: filled in colour", 6, 0, kBlack, kGreen},
      {"11: outline only", 11, 0, kGreen, kGreen},
      {"9: open", 9, 0, kGreen, kGreen},
  };
  for (const Case& c : cases) {
    Scene scene(40, 40, 2);
    scene.surface.Fill(kGreen);
    GraMark(scene.g, c.code, 0, -1, 2, 0, 1, c.angle, 15, 10);
    EXPECT_EQ(scene.At(30, 20), kBlack) << c.name << ": the tip";
    EXPECT_EQ(scene.At(20, 20), c.at_20_20) << c.name;
    EXPECT_EQ(scene.At(30, 30), c.at_30_30) << c.name;
    EXPECT_EQ(scene.At(34, 20), kGreen) << c.name;
  }
}

// Every code draws something around its point, in the pen colour only where it has no brush.
TEST(GraMark, EveryCodeDrawsNearItsPoint) {
  for (int code = -8; code <= 12; ++code) {
    Scene scene(40, 40, 2);
    GraMark(scene.g, code, 0, -1, 2, 0, 1, 0.3, 10, 10);
    const test::InkBox ink = InkOf(scene.surface);
    ASSERT_FALSE(ink.empty) << code;
    EXPECT_GE(ink.x0, 4) << code;
    EXPECT_LE(ink.x1, 36) << code;
    EXPECT_GE(ink.y0, 4) << code;
    EXPECT_LE(ink.y1, 36) << code;
  }
}

TEST(Overrides, ReplacePenAndBrushColours) {
  TJGdata doc;
  Scene line(8, 6);
  GLDrawLine(doc, line.g, kGreen, Line(2, 1, 3, 6, 3));
  EXPECT_EQ(line.At(3, 3), kGreen);

  Scene solid(8, 6);
  TEntSld4 s;
  s.att = Attr(2);
  s.x1 = 1, s.y1 = 1, s.x2 = 5, s.y2 = 1, s.x3 = 5, s.y3 = 5, s.x4 = 1, s.y4 = 5;
  GLDrawSolid4(doc, solid.g, kGreen, s);
  EXPECT_EQ(solid.At(3, 3), kGreen);
  EXPECT_EQ(solid.At(1, 1), kGreen);

  Scene mark(40, 40, 2);
  GraMark(mark.g, 1, 0, kGreen, 2, 0, 1, 0, 15, 10);
  EXPECT_EQ(mark.At(20, 20), kGreen) << "the background brush too";
  EXPECT_EQ(mark.At(30, 20), kGreen);
}

TEST(GLDrawDim, AuxiliaryPartsLeftOutOnlyWhenAsked) {
  struct Case {
    bool hojof;
    int line_col, line_ltp, text_col;
    bool line, text;
  };
  const Case cases[] = {
      {false, 9, 9, 9, true, true},
      {true, 9, 1, 9, false, false},
      {true, 2, 9, 2, false, true},
      {true, 2, 1, 2, true, true},
  };
  for (const Case& c : cases) {
    Scene scene(8, 6);
    TJGdata doc;
    TEntDim dim;
    dim.lin = Line(c.line_col, 1, 1, 6, 1, c.line_ltp);
    dim.txt = Text(c.text_col, u"AB", 1, 4, 5, 0);
    GLDrawDim(doc, scene.g, c.hojof, -1, dim);
    EXPECT_EQ(scene.At(3, 5) != kWhite, c.line) << c.hojof << c.line_col << c.line_ltp;
    EXPECT_EQ(scene.At(3, 2) != kWhite, c.text) << c.hojof << c.text_col;
  }
}

struct PlaceCase {
  const char* name;
  TEntText e;
  TextBaseline b;
};

TEntText Placed(std::u16string st, int cc, double x2, double y2, int no = 0, double md = 0,
                int lgrp = 0) {
  TEntText e = Text(2, std::move(st), 10, 5, x2, y2, 2, 2);
  e.cc = cc;
  e.no = no;
  e.md = md;
  e.att.LGrp = lgrp;
  return e;
}

TEST(PlaceText, BasePointMovesTheStartAlongTheRunAndHeight) {
  const PlaceCase cases[] = {
      {"bottom-left", Placed(u"ABC", 0, 3, 0), {10, 5, 13, 5}},
      {"bottom-right: ends at the start point", Placed(u"ABC", 2, 3, 0), {7, 5, 10, 5}},
      {"centre", Placed(u"ABC", 4, 3, 0), {8.5, 4, 11.5, 4}},
      {"top-right", Placed(u"ABC", 8, 3, 0), {7, 3, 10, 3}},
      {"code outside 0..8", Placed(u"ABC", 9, 3, 0), {10, 5, 13, 5}},
      {"negative code", Placed(u"ABC", -1, 3, 0), {10, 5, 13, 5}},
      {"spacing after the last letter counts", Placed(u"ABC", 2, 3, 0, 0, 0.5), {6.25, 5, 9.25, 5}},
      {"full-width letter", Placed(u"\u3042", 2, 3, 0), {8, 5, 11, 5}},
      {"upwards", Placed(u"ABC", 2, 0, 3), {10, 2, 10, 5}},
      {"vertical text exchanges run and height", Placed(u"ABC", 5, 3, 0, 1), {8, 3.5, 11, 3.5}},
      {"layer-group scale 2", Placed(u"ABC", 2, 6, 0, 0, 0, 1), {2, 2.5, 5, 2.5}},
  };
  TJGdata doc;
  doc.LGrpScale[1] = 2;
  for (const PlaceCase& c : cases) {
    const TextBaseline b = PlaceText(doc, c.e);
    EXPECT_NEAR(b.bx, c.b.bx, 1e-12) << c.name;
    EXPECT_NEAR(b.by, c.b.by, 1e-12) << c.name;
    EXPECT_NEAR(b.ex, c.b.ex, 1e-12) << c.name;
    EXPECT_NEAR(b.ey, c.b.ey, 1e-12) << c.name;
  }
}

// The text's baseline from (2, 4) to (9, 4) is pixel row 4 of a 12 x 8 view, drawn three
// pixels wide.
TEST(GLDrawText, DrawsTheBaselineThreePixelsWideAndSkipsImages) {
  struct Case {
    std::u16string st;
    bool drawn;
  };
  const Case cases[] = {{u"AB", true}, {u"", false}, {u"^@BMa.bmp,3", false}, {u"^@BMa.bmp", true}};
  for (const Case& c : cases) {
    Scene scene(12, 8);
    TJGdata doc;
    GLDrawText(doc, scene.g, -1, Text(2, c.st, 2, 4, 7, 0));
    const test::InkBox ink = InkOf(scene.surface);
    if (!c.drawn) {
      EXPECT_TRUE(ink.empty);
      continue;
    }
    EXPECT_EQ(scene.At(5, 3), kBlack);
    EXPECT_EQ(scene.At(5, 4), kBlack);
    EXPECT_EQ(scene.At(5, 5), kBlack);
    EXPECT_EQ(ink.y0, 3);
    EXPECT_EQ(ink.y1, 5);
  }
}

TEST(GLDrawText, TheNextEntityDrawsOnePixelWideAgain) {
  Scene scene(12, 8);
  TJGdata doc;
  GLDrawText(doc, scene.g, -1, Text(2, u"AB", 2, 7, 7, 0));
  GLDrawLine(doc, scene.g, -1, Line(2, 2, 3, 9, 3));
  EXPECT_EQ(scene.At(5, 5), kBlack);
  EXPECT_EQ(scene.At(5, 4), kWhite);
  EXPECT_EQ(scene.At(5, 6), kWhite);
}

}  // namespace
}  // namespace vardo
