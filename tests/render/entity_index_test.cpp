// The entity index: every entity that sets a pixel of a band is found for it, the tree answers
// as a plain search does, and lines added and removed at the ends of the tables are followed.
#include "render/entity_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "random_drawing.h"
#include "render/image.h"
#include "render/renderer.h"
#include "scene.h"

namespace vardo {
namespace {

constexpr uint32_t kBackground = 0x00ABCDEF;

void DrawOne(const TJGdata& doc, Graphics& g, int table, size_t i) {
  switch (table) {
    case kTableText:
      GLDrawImage(doc, g, -1, doc.EntText[i]);
      GLDrawText(doc, g, -1, doc.EntText[i]);
      return;
    case kTableSld2:
      return GLDrawSolid2(doc, g, -1, doc.EntSld2[i]);
    case kTableSld3:
      return GLDrawSolid3(doc, g, -1, doc.EntSld3[i]);
    case kTableSld4:
      return GLDrawSolid4(doc, g, -1, doc.EntSld4[i]);
    case kTableSldC:
      return GLDrawSolidC(doc, g, -1, doc.EntSldC[i]);
    case kTableSldE:
      return GLDrawSolidE(doc, g, -1, doc.EntSldE[i]);
    case kTableSldO:
      return GLDrawSolidO(doc, g, -1, doc.EntSldO[i]);
    case kTableSldG:
      return GLDrawSolidG(doc, g, -1, doc.EntSldG[i]);
    case kTableLine:
      return GLDrawLine(doc, g, -1, doc.EntLine[i]);
    case kTableCirc:
      return GLDrawCirc(doc, g, -1, doc.EntCirc[i]);
    case kTableArc:
      return GLDrawArc(doc, g, -1, doc.EntArc[i]);
    case kTablePnt:
      return GLDrawPnt(doc, g, -1, doc.EntPnt[i]);
    case kTableMark:
      return GLDrawMark(doc, g, -1, doc.EntMark[i]);
    case kTableDim:
      return GLDrawDim(doc, g, false, -1, doc.EntDim[i]);
  }
}

size_t Size(const TJGdata& doc, int table) {
  const size_t sizes[kEntityTables] = {doc.EntText.size(), doc.EntSld2.size(), doc.EntSld3.size(),
                                       doc.EntSld4.size(), doc.EntSldC.size(), doc.EntSldE.size(),
                                       doc.EntSldO.size(), doc.EntSldG.size(), doc.EntLine.size(),
                                       doc.EntCirc.size(), doc.EntArc.size(),  doc.EntPnt.size(),
                                       doc.EntMark.size(), doc.EntDim.size()};
  return sizes[table];
}

// The view: scale pixels per unit, its lower-left corner at (xmin, ymin).
struct ViewCase {
  int width, height;
  double scale, xmin, ymin;
};

// Each entity drawn alone: any band of rows where it set a pixel must find it.
TEST(EntityIndex, EveryEntityThatSetsAPixelOfABandIsFoundForIt) {
  const ViewCase views[] = {
      {40, 30, 1, -20, -15},        {64, 48, 0.2, -160, -120}, {17, 33, 5, 3, -2},
      {50, 50, 0.01, -2500, -2500}, {30, 20, 40, 0.1, 0.2},    {25, 25, 1e-10, -1e11, -1e11},
  };
  const test::RandomTextServices text;
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    std::mt19937 rng(seed);
    const TJGdata doc = test::RandomDrawing(rng, 800, 100);
    for (const ViewCase& v : views) {
      test::Scene scene(v.width, v.height, v.scale, v.xmin, v.ymin);
      Graphics g(scene.canvas, scene.view, scene.attr, text.services);
      EntityIndex index;
      index.Build(doc, scene.attr);
      const int bands[][2] = {{0, v.height},
                              {0, v.height / 3},
                              {v.height / 3, v.height / 2 + 1},
                              {v.height - 1, v.height}};
      EntitySet found[4];
      for (int b = 0; b < 4; ++b) {
        DrawRect rect;
        ASSERT_TRUE(SurfaceRect(scene.view, v.width, bands[b][0], bands[b][1], rect));
        index.Query(rect, found[b]);
      }
      for (int t = 0; t < kEntityTables; ++t) {
        for (size_t i = 0; i < Size(doc, t); ++i) {
          scene.surface.Fill(kBackground);
          // The pen mode stays as the caller left it; XOR shows every pixel an entity touches.
          scene.canvas.pen().mode = i % 2 == 0 ? PenMode::Copy : PenMode::Xor;
          DrawOne(doc, g, t, i);
          for (int b = 0; b < 4; ++b) {
            bool drawn = false;
            for (int y = bands[b][0]; y < bands[b][1] && !drawn; ++y) {
              for (int x = 0; x < v.width && !drawn; ++x)
                drawn = scene.At(x, y) != kBackground;
            }
            EXPECT_TRUE(!drawn || found[b].Contains(static_cast<EntityTable>(t), i))
                << "seed " << seed << " table " << t << " entity " << i << " view scale " << v.scale
                << " band " << b;
          }
        }
      }
    }
  }
}

// A tree over the entities, and the same entities taken in one by one afterwards (searched one
// by one while there are few), find the same ones for any rectangle.
TEST(EntityIndex, TreeFindsWhatAPlainSearchFinds) {
  std::mt19937 rng(77);
  const TJGdata doc = test::RandomDrawing(rng, 1000, 100);
  TgraAttribute attr;
  SetUpStartAttributes(attr);
  EntityIndex tree;
  tree.Build(doc, attr);
  EntityIndex plain;
  plain.Build(TJGdata(), attr);
  plain.Update(doc, attr);
  std::uniform_real_distribution<double> at(-80, 80), span(0, 60);
  size_t total = 0;
  for (int q = 0; q < 300; ++q) {
    const double x = at(rng), y = at(rng);
    const DrawRect rect = q == 0 ? DrawRect{-1e300, -1e300, 1e300, 1e300}
                                 : DrawRect{x, y, x + span(rng), y + span(rng) / (q % 3 + 1)};
    EntitySet a, b;
    tree.Query(rect, a);
    plain.Query(rect, b);
    ASSERT_EQ(a.Count(), b.Count()) << "query " << q;
    total += a.Count();
    for (int t = 0; t < kEntityTables; ++t) {
      a.ForEach(static_cast<EntityTable>(t), [&](size_t i) {
        EXPECT_TRUE(b.Contains(static_cast<EntityTable>(t), i)) << "query " << q;
        return true;
      });
    }
  }
  EXPECT_GT(total, 1000u);  // the rectangles found something
}

TEST(EntityIndex, ForEachVisitsInTableOrderAndStopsWhenAsked) {
  TJGdata doc;
  for (int i = 0; i < 200; ++i)
    doc.A_Line(i % 2 == 0 ? i : -i, 0, i % 2 == 0 ? i : -i, 1);
  TgraAttribute attr;
  SetUpStartAttributes(attr);
  EntityIndex index;
  index.Build(doc, attr);
  EntitySet found;
  index.Query({0, 0, 1000, 1}, found);
  std::vector<size_t> seen;
  found.ForEach(kTableLine, [&](size_t i) {
    seen.push_back(i);
    return true;
  });
  ASSERT_EQ(seen.size(), 100u);
  for (size_t k = 0; k < seen.size(); ++k)
    EXPECT_EQ(seen[k], 2 * k);
  int visits = 0;
  EXPECT_FALSE(found.ForEach(kTableLine, [&](size_t) { return ++visits < 3; }));
  EXPECT_EQ(visits, 3);
}

// A text a code may replace by a file name of any length is found everywhere; a text with no
// characters draws nothing and is found nowhere.
TEST(EntityIndex, CodeTextsAreFoundEverywhereAndEmptyTextsNowhere) {
  TJGdata doc;
  for (const std::u16string st : {u"%f", u"", u"AB"}) {
    TEntText t;
    t.st = st;
    t.mw = t.mh = 1;
    t.x2 = 2;
    doc.EntText.push_back(t);
  }
  TgraAttribute attr;
  SetUpStartAttributes(attr);
  EntityIndex index;
  index.Build(doc, attr);
  EntitySet far, near;
  index.Query({1e6, 1e6, 1e6 + 1, 1e6 + 1}, far);
  index.Query({-1, -1, 1, 1}, near);
  EXPECT_TRUE(far.Contains(kTableText, 0));
  EXPECT_FALSE(far.Contains(kTableText, 2));
  EXPECT_TRUE(near.Contains(kTableText, 2));
  EXPECT_FALSE(near.Contains(kTableText, 1));
}

// Hatch lines are appended to the line table and removed from its end (Delete); new lines may
// take the indices of removed ones. Both before and after the additions outgrow the tree (which
// is then built again inside, leaving what a caller kept valid). KeptSince tells a caller which
// of the entities it saw at a mark are still the same.
TEST(EntityIndex, FollowsLinesAddedAndRemovedAtTheEnd) {
  for (const int added : {10, 3000}) {
    TJGdata doc;
    for (int i = 0; i < 100; ++i)
      doc.A_Line(i, 0, i, 1);  // x 0..99, y 0..1
    TgraAttribute attr;
    SetUpStartAttributes(attr);
    EntityIndex index;
    index.Build(doc, attr);
    const uint64_t built = index.Mark();
    auto found_in = [&](DrawRect rect) {
      EntitySet found;
      index.Query(rect, found);
      return found;
    };
    const DrawRect hatch_area{0, 100, 1e4, 101};
    const DrawRect other_area{0, 200, 1e4, 201};
    for (int i = 0; i < added; ++i)
      doc.A_Line(i, 100, i + 0.5, 101);
    index.Update(doc, attr);
    EXPECT_EQ(found_in(hatch_area).Count(), static_cast<size_t>(added)) << added;
    EXPECT_EQ(index.Seen(kTableLine), 100u + added);
    EXPECT_EQ(index.KeptSince(kTableLine, built, 100), 100u) << added;
    const uint64_t hatched = index.Mark();

    // Delete: the hatch and ten of the drawing's own lines go (as if they had been hatch too).
    doc.EntLine.resize(90);
    index.Update(doc, attr);
    EXPECT_EQ(found_in(hatch_area).Count(), 0u) << added;
    EXPECT_EQ(found_in({0, 0, 1e4, 1}).Count(), 90u) << added;
    EXPECT_EQ(index.KeptSince(kTableLine, hatched, 100 + added), 90u) << added;
    EXPECT_EQ(index.KeptSince(kTableCirc, hatched, 0), 0u) << added;

    for (int i = 0; i < 20; ++i)
      doc.A_Line(i, 200, i + 0.5, 201);
    index.Update(doc, attr);
    EXPECT_EQ(found_in(hatch_area).Count(), 0u) << added;
    EXPECT_EQ(found_in({90, 0, 1e4, 1}).Count(), 0u) << added;  // the removed drawing lines
    const EntitySet again = found_in(other_area);
    EXPECT_EQ(again.Count(), 20u) << added;
    EXPECT_TRUE(again.Contains(kTableLine, 90)) << added;
    EXPECT_TRUE(again.Contains(kTableLine, 109)) << added;
    // Lines back at the indices of removed ones are not the ones seen before the removal.
    EXPECT_EQ(index.KeptSince(kTableLine, hatched, 100 + added), 90u) << added;
    EXPECT_EQ(index.KeptSince(kTableLine, built, 100), 90u) << added;
    const uint64_t now = index.Mark();
    EXPECT_EQ(index.KeptSince(kTableLine, now, 110), 110u) << added;
    index.Build(doc, attr);
    EXPECT_EQ(index.KeptSince(kTableLine, now, 110), 0u) << added;
  }
}

}  // namespace
}  // namespace vardo
