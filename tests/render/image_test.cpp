// Image placeholders: hatched rectangles of the picture's size at the text's start point.
#include "render/image.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "render/renderer.h"
#include "scene.h"
#include "support/picture.h"

namespace vardo {
namespace {

using test::InkBox;
using test::InkOf;
using test::kBlack;
using test::kGreen;
using test::Picture;
using test::Rows;
using test::Scene;

TEntText ImageText(std::u16string st, double x, double y, int col = 2, int lgrp = 0) {
  TEntText e;
  e.att.Col = col;
  e.att.LGrp = lgrp;
  e.st = std::move(st);
  e.x1 = x, e.y1 = y;
  e.x2 = 4, e.mw = 1, e.mh = 1;
  return e;
}

TEST(GLDrawImage, OutlinedInTheColourAndHatchedBackwardDiagonally) {
  Scene scene(12, 10);
  TJGdata doc;
  GLDrawImage(doc, scene.g, -1, ImageText(u"^@BMpicture.bmp,8,8", 1, 1));
  EXPECT_EQ(Picture(scene.surface),
            Rows({"............", ".########...", ".#...#..#...", ".#..#...#...", ".#.#....#...",
                  ".##.....#...", ".#......#...", ".#......#...", ".########...", "............"}));
}

// On the 12 x 10 view the drawing point (x, y) is the pixel (x, 10 - y).
TEST(GLDrawImage, SizeFromTheTextCornerFromTheScaledStartPoint) {
  struct Case {
    const char* name;
    TEntText e;
    InkBox ink;
  };
  const Case cases[] = {
      {"one number: a square", ImageText(u"^@BMa.bmp,4", 2, 2), {false, 2, 4, 5, 7}},
      {"width and height, start point scaled, sizes not",
       ImageText(u"^@BMa.bmp,6,3", 4, 2, 2, 1),
       {false, 2, 6, 7, 8}},
      {"negative sizes reach left and down",
       ImageText(u"^@BMa.bmp,-4,-3", 8, 8),
       {false, 4, 2, 7, 4}},
      {"crossing the left edge", ImageText(u"^@BMa.bmp,6,4", -2, 2), {false, 0, 4, 4, 8}},
      {"no usable numbers", ImageText(u"^@BMa.bmp,x", 2, 2), {}},
      {"no comma: not an image", ImageText(u"^@BMa.bmp", 2, 2), {}},
      {"an ordinary text", ImageText(u"abc,4", 2, 2), {}},
  };
  TJGdata doc;
  doc.LGrpScale[1] = 2;
  for (const Case& c : cases) {
    Scene scene(12, 10);
    GLDrawImage(doc, scene.g, -1, c.e);
    EXPECT_EQ(InkOf(scene.surface), c.ink) << c.name;
  }
}

TEST(GLDrawImage, MonochromeMakesItBlackAndAnOverrideReplacesBoth) {
  TJGdata doc;
  Scene mono(12, 10);
  mono.attr.SetPrintMode(true, 0, 0, 0);
  GLDrawImage(doc, mono.g, -1, ImageText(u"^@BMa.bmp,8,8", 1, 1, 6));
  EXPECT_EQ(mono.At(1, 1), kBlack);
  EXPECT_EQ(mono.At(5, 2), kBlack) << "the hatch";

  Scene colour(12, 10);
  GLDrawImage(doc, colour.g, -1, ImageText(u"^@BMa.bmp,8,8", 1, 1, 6));
  EXPECT_EQ(colour.At(1, 1), 0xFF0000u);
  EXPECT_EQ(colour.At(5, 2), 0xFF0000u);

  Scene overridden(12, 10);
  GLDrawImage(doc, overridden.g, kGreen, ImageText(u"^@BMa.bmp,8,8", 1, 1, 6));
  EXPECT_EQ(overridden.At(1, 1), kGreen);
  EXPECT_EQ(overridden.At(5, 2), kGreen);
}

// The image rectangle lies underneath; the text pass leaves image texts alone, but draws a text
// that only looks like one.
TEST(GLDrawImage, DrawnFirstByTheRendererAndNeverAsText) {
  TJGdata doc;
  doc.EntText.push_back(ImageText(u"^@BMa.bmp,8,8", 1, 1));
  Scene image(12, 10);
  GLDrawALL(doc, image.g, {});
  Scene alone(12, 10);
  GLDrawImage(doc, alone.g, -1, doc.EntText[0]);
  EXPECT_EQ(Picture(image.surface), Picture(alone.surface));

  doc.EntText[0].st = u"^@BMa.bmp";
  Scene text(12, 10);
  GLDrawALL(doc, text.g, {});
  EXPECT_FALSE(InkOf(text.surface).empty);
}

}  // namespace
}  // namespace vardo
