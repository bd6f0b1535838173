// The outlines made on a thread of their own: what a run gets is what making them in place gives,
// however the work was started, given up or overtaken by changes to the drawing or the view.
#include "hatch/outline_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <tuple>
#include <vector>

#include "../render/random_drawing.h"
#include "../render/scene.h"

namespace vardo {
namespace {

// Every cell's shapes, each as its defining numbers, in a fixed order.
using Shape = std::tuple<int, double, double, double, double, double, double>;
std::vector<std::vector<Shape>> Contents(const OutlineGrid& grid) {
  std::vector<std::vector<Shape>> cells;
  for (int r = 0; r < grid.Rows(); ++r) {
    for (int c = 0; c < grid.Columns(); ++c) {
      std::vector<Shape>& shapes = cells.emplace_back();
      grid.ForEachIn(
          c, r,
          [&](const TGraph_Point* e) {
            shapes.emplace_back(0, e[0].x, e[0].y, e[1].x, e[1].y, 0, 0);
          },
          [&](const OutlineGrid::Curve& s) {
            shapes.emplace_back(1, s.cx, s.cy, s.a, s.b, s.start, s.sweep);
          });
      std::sort(shapes.begin(), shapes.end());
    }
  }
  return cells;
}

// A random drawing of many entities in monochrome, its index built.
struct Fixture {
  explicit Fixture(uint32_t seed) : rng(seed), doc(test::RandomDrawing(rng, 3000, 100)) {
    scene.attr.SetPrintMode(true, 0, 0, 0);
    index.Build(doc, scene.attr);
  }
  // What making the grid in place for the whole view gives now.
  std::vector<std::vector<Shape>> Expected(const ViewState& view) {
    OutlineGrid grid;
    grid.Refresh(doc, index, scene.attr, view);
    return Contents(grid);
  }
  void AppendLines(int n) {
    std::uniform_real_distribution<double> unit(-50, 50);
    for (int i = 0; i < n; ++i)
      doc.A_Line(unit(rng), unit(rng), unit(rng), unit(rng));
    index.Update(doc, scene.attr);
  }

  std::mt19937 rng;
  TJGdata doc;
  test::Scene scene{400, 300, 4, -50, -37.5};
  EntityIndex index;
};

TEST(OutlineGrid, GivesUpWhenAskedAndIsMadeAfreshNext) {
  Fixture f(1);
  const std::vector<std::vector<Shape>> whole = f.Expected(f.scene.view);
  ASSERT_GT(whole.size(), 1000u);
  const std::atomic<bool> stop{true};
  OutlineGrid grid;
  grid.Refresh(f.doc, f.index, f.scene.attr, f.scene.view, &stop);
  EXPECT_EQ(grid.Columns() * grid.Rows(), 0);
  grid.Refresh(f.doc, f.index, f.scene.attr, f.scene.view);
  EXPECT_EQ(Contents(grid), whole);

  // Given up while taking the lines appended since, it is made afresh with them.
  f.AppendLines(20);
  grid.Refresh(f.doc, f.index, f.scene.attr, f.scene.view, &stop);
  EXPECT_EQ(grid.Columns() * grid.Rows(), 0);
  grid.Refresh(f.doc, f.index, f.scene.attr, f.scene.view);
  EXPECT_EQ(Contents(grid), f.Expected(f.scene.view));
}

TEST(OutlineWorker, ReadyGivesWhatMakingInPlaceGives) {
  Fixture f(2);
  const std::vector<std::vector<Shape>> whole = f.Expected(f.scene.view);
  OutlineWorker worker;
  // Asked again while under way for the same view: the work goes on.
  worker.Start(f.doc, f.index, f.scene.attr, f.scene.view);
  worker.Start(f.doc, f.index, f.scene.attr, f.scene.view);
  // A run near one corner finds the whole view made.
  EXPECT_EQ(Contents(worker.Ready(f.doc, f.index, f.scene.attr, f.scene.view, {0, 0, 9, 9})),
            whole);

  // Started with the appended lines not yet seen by the index, then stopped for the index to
  // see them: ready with them.
  worker.Start(f.doc, f.index, f.scene.attr, f.scene.view);
  worker.Stop();
  f.AppendLines(200);
  EXPECT_EQ(Contents(worker.Ready(f.doc, f.index, f.scene.attr, f.scene.view, {0, 0, 9, 9})),
            f.Expected(f.scene.view));

  // Stopped as soon as started, over a whole drawing to make; then the view moves and the work
  // started for the old one is overtaken by the new one.
  OutlineWorker fresh;
  fresh.Start(f.doc, f.index, f.scene.attr, f.scene.view);
  fresh.Stop();
  ViewState moved = f.scene.view;
  moved.ViewXmin += 7.25;
  moved.ViewXmax += 7.25;
  fresh.Start(f.doc, f.index, f.scene.attr, f.scene.view);
  fresh.Start(f.doc, f.index, f.scene.attr, moved);
  EXPECT_EQ(Contents(fresh.Ready(f.doc, f.index, f.scene.attr, moved, {0, 0, 9, 9})),
            f.Expected(moved));

  // A change of display while under way: ready for the display asked for last.
  TgraAttribute colours = f.scene.attr;
  colours.SetPrintMode(false, 0, 0, 0);
  fresh.Start(f.doc, f.index, f.scene.attr, moved);
  const std::vector<std::vector<Shape>> in_colour = Contents(fresh.Ready(
      f.doc, f.index, colours, moved, {0, 0, moved.ViewWidth - 1, moved.ViewHeight - 1}));
  OutlineGrid direct;
  direct.Refresh(f.doc, f.index, colours, moved);
  EXPECT_EQ(in_colour, Contents(direct));
}

}  // namespace
}  // namespace vardo
