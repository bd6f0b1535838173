// Drawing at extreme views and coordinates: scales from 1e-12 to 1e12, coordinates up to 1e300,
// layer-group scales that are 0 or invalid. Nothing may crash, and what is drawn stays sound.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "render/renderer.h"
#include "scene.h"
#include "support/picture.h"

namespace vardo {
namespace {

using test::InkOf;
using test::kBlue;
using test::Picture;
using test::Scene;

// One entity of every kind (marks of every code) at (x, y), each of size r.
TJGdata EveryKind(double x, double y, double r, int lgrp = 0) {
  TJGdata doc;
  TEntAttr att;
  att.Col = 2;
  att.Ltp = 2;
  att.LGrp = lgrp;
  const double pi = std::numbers::pi;
  doc.EntLine.push_back({att, 0, x - r, y - r, x + r, y + r});
  doc.EntCirc.push_back({att, x, y, r});
  doc.EntArc.push_back({att, x, y, r, 30, 300, 0.5, 20});
  doc.EntArc.push_back({att, x, y, r, 1e300, -1e300, 1e300, 1e300});
  doc.EntPnt.push_back({att, x, y});
  for (int code = -8; code <= 12; ++code)
    doc.EntMark.push_back({att, x, y, r, 33, code});
  TEntText text;
  text.att = att;
  text.cc = 4;
  text.mw = r, text.mh = r, text.md = r;
  text.x1 = x, text.y1 = y, text.x2 = 4 * r, text.y2 = r;
  text.st = u"ABC";
  doc.EntText.push_back(text);
  text.st = u"^@BMa.bmp,1e300,-1e300";
  doc.EntText.push_back(text);
  text.st = u"^@BMa.bmp,5";
  doc.EntText.push_back(text);
  doc.EntDim.push_back({att, doc.EntLine[0], doc.EntText[0]});
  doc.EntSld2.push_back({att, 0, x - r, y, x + r, y});
  doc.EntSld3.push_back({att, 0, x - r, y - r, x + r, y - r, x, y + r});
  doc.EntSld4.push_back({att, 0, x - r, y - r, x + r, y - r, x + r, y + r, x - r, y + r});
  for (const int flag : {100, 0, 5, -1, 7})
    doc.EntSldC.push_back({att, 0, x, y, r, 0.5, 0.3, 1, 2, flag});
  doc.EntSldE.push_back({att, 0, x, y, r, 0.5, 0.3, 1, 2, 100});
  doc.EntSldE.push_back({att, 0, x, y, r, 0.5, 0.3, 1, -2, 0});
  doc.EntSldO.push_back({att, 0, x, y, r, 0.5, 0.3, -1, pi, r / 2});
  doc.EntSldG.push_back({att, 0, x, y, r, 0.5, 0.3, -1, pi, r / 2});
  doc.EntSldG.push_back({att, 0, x, y, r, 0.5, 0.3, -1, pi, 0});
  return doc;
}

bool EveryPixelIsAColour(const Surface& s) {
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      if ((s.GetPixel(x, y) & 0xFF000000u) != 0) return false;
    }
  }
  return true;
}

const double kScales[] = {1e-12, 1e-6, 1e-3, 1, 1e3, 1e6, 1e12};

// Entities centred in the view and far from it, of every size, at every scale and with the view
// itself far out.
TEST(ExtremeViews, EverythingDrawsWithoutFaultAtAnyScaleAndCoordinate) {
  const double places[] = {0, 1e-300, 1e12, -1e150, 1e300, -1e300};
  const double sizes[] = {0, 1e-300, 1e-12, 1, 1e12, 1e300};
  for (const double scale : kScales) {
    for (const double origin : {0.0, 1e300, -1e300}) {
      for (const double place : places) {
        for (const double size : sizes) {
          Scene scene(24, 16, scale, origin, origin);
          const double centre = origin + 12 / scale;
          GLDrawALL(EveryKind(place == 0 ? centre : place, place == 0 ? centre : place, size),
                    scene.g, {});
          ASSERT_TRUE(EveryPixelIsAColour(scene.surface))
              << "scale " << scale << " origin " << origin << " place " << place << " size "
              << size;
        }
      }
    }
  }
}

TEST(ExtremeViews, EntitiesFarFromTheViewLeaveTheSurfaceAlone) {
  for (const double scale : kScales) {
    for (const double place : {1e300, -1e300}) {
      Scene scene(24, 16, scale);
      GLDrawALL(EveryKind(place, place, 1), scene.g, {});
      EXPECT_TRUE(InkOf(scene.surface).empty) << scale << " " << place;
    }
  }
}

TEST(ExtremeViews, NothingShowsBeforeTheViewIsSet) {
  Scene scene(24, 16, 1);
  scene.view = ViewState{};
  GLDrawALL(EveryKind(0, 0, 5), scene.g, {});
  EXPECT_TRUE(InkOf(scene.surface).empty);
}

// A ring round the whole view, its first edge short and its other corners 1e300 away, fills
// every pixel of the surface at any scale.
TEST(ExtremeViews, AHugePolygonFillsExactlyTheSurface) {
  for (const double scale : kScales) {
    Scene scene(24, 16, scale);
    scene.g.GraPen(0, 5, 0);
    scene.g.GraBrush(kBlue, 1);
    scene.g.GraPts = {{-1, -1}, {-1 + 1e-9, -1}, {1e300, -1e299}, {-1e299, 1e300}};
    scene.g.GraPolygon();
    const std::string picture = Picture(scene.surface);
    EXPECT_EQ(picture.find_first_not_of("\nb"), std::string::npos) << scale << picture;
  }
}

// A layer-group scale that is 0 or not finite divides by 1.
TEST(ExtremeViews, InvalidLayerGroupScalesCountAsOne) {
  Scene reference(40, 40, 2);
  GLDrawALL(EveryKind(10, 10, 4), reference.g, {});
  const std::string expected = Picture(reference.surface);
  ASSERT_NE(expected.find('#'), std::string::npos);
  const double bad[] = {0, -0.0, std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity()};
  for (const double s : bad) {
    Scene scene(40, 40, 2);
    TJGdata doc = EveryKind(10, 10, 4, 3);
    doc.LGrpScale[3] = s;
    GLDrawALL(doc, scene.g, {});
    EXPECT_EQ(Picture(scene.surface), expected) << s;
  }
}

}  // namespace
}  // namespace vardo
