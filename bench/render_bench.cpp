// Redrawing a generated drawing into a 1920 x 1080 surface, against cairo drawing the same
// geometry aliased with one-pixel lines: the plain walk, the window's culled and threaded
// redraw, the redraw of a view zoomed in on a hundredth of a million entities, and building
// the entity index.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "attributes/graphics_attributes.h"
#include "bench_support.h"
#include "document/model.h"
#include "render/canvas.h"
#include "render/entity_index.h"
#include "render/graphics.h"
#include "render/renderer.h"
#include "render/surface.h"
#include "screen_view.h"

namespace {

using namespace vardo;
using bench::FullView;
using bench::kHeight;
using bench::kWidth;

constexpr double kPi = std::numbers::pi;

// The mix of a CAD sheet spread over the view: of every 14 entities 10 lines (up to 200 units
// long) and one each of circles, arcs, three- or four-point solids and points, in the nine pen
// colours, solid line type.
TJGdata GenerateDrawing(int total) {
  std::mt19937 rng(20240601);
  std::uniform_real_distribution<double> x(0, kWidth), y(0, kHeight), angle(0, 2 * kPi);
  std::uniform_real_distribution<double> length(2, 200), radius(2, 60), side(3, 40);
  std::uniform_int_distribution<int> colour(1, 9);
  auto att = [&] {
    TEntAttr a;
    a.Col = colour(rng);
    a.Ltp = 1;
    return a;
  };
  TJGdata doc;
  doc.LGrpScale.fill(1.0);
  const int each = total / 14;
  for (int i = 0; i < total - 4 * each; ++i) {
    const double x1 = x(rng), y1 = y(rng), len = length(rng), a = angle(rng);
    doc.EntLine.push_back({att(), 0, x1, y1, x1 + len * std::cos(a), y1 + len * std::sin(a)});
  }
  for (int i = 0; i < each; ++i)
    doc.EntCirc.push_back({att(), x(rng), y(rng), radius(rng)});
  for (int i = 0; i < each; ++i) {
    const double sa = angle(rng) * 180 / kPi, sweep = angle(rng) * 180 / kPi;
    doc.EntArc.push_back({att(), x(rng), y(rng), radius(rng), sa, sa + sweep, 1, 0});
  }
  for (int i = 0; i < each; ++i) {
    const double x1 = x(rng), y1 = y(rng);
    if (i % 2 == 0) {
      doc.EntSld3.push_back({att(), 0, x1, y1, x1 + side(rng), y1 + side(rng) / 4,
                             x1 + side(rng) / 3, y1 + side(rng)});
    } else {
      const double w = side(rng), h = side(rng);
      doc.EntSld4.push_back({att(), 0, x1, y1, x1 + w, y1, x1 + w, y1 + h, x1, y1 + h});
    }
  }
  for (int i = 0; i < each; ++i)
    doc.EntPnt.push_back({att(), x(rng), y(rng)});
  return doc;
}

const TJGdata& Drawing(int total) {
  static const TJGdata small = GenerateDrawing(140000);
  static const TJGdata large = GenerateDrawing(1000000);
  return total == 140000 ? small : large;
}

// The view's centre kept, scale times zoom: zoom 10 shows a hundredth of the drawing.
ViewState ZoomedView(double zoom) {
  ViewState v = FullView();
  const double cx = kWidth / 2.0, cy = kHeight / 2.0;
  v.ViewScale = zoom;
  v.ViewXmin = cx - kWidth / 2.0 / zoom;
  v.ViewXmax = cx + kWidth / 2.0 / zoom;
  v.ViewYmin = cy - kHeight / 2.0 / zoom;
  v.ViewYmax = cy + kHeight / 2.0 / zoom;
  return v;
}

// Clears the surface and draws the drawing at the view, state.range(0) entities; with an
// index, culled and in bands on every core as the window's redraw does.
void Redraw(benchmark::State& state, const ViewState& view, bool fast) {
  const TJGdata& doc = Drawing(static_cast<int>(state.range(0)));
  TgraAttribute attr;
  SetUpStartAttributes(attr);
  EntityIndex index;
  if (fast) index.Build(doc, attr);
  const DrawWalk walk = fast ? DrawWalk{&index, DrawThreads()} : DrawWalk();
  Surface surface(kWidth, kHeight);
  Canvas canvas(surface);
  Graphics g(canvas, view, attr);
  for (auto _ : state) {
    g.GraClear(kWidth, kHeight);
    GLDrawALL(doc, g, StopPoll(), walk);
    benchmark::DoNotOptimize(surface.Pixels());
  }
  state.counters["entities"] = doc.EntLineN() + doc.EntCircN() + doc.EntArcN() + doc.EntPntN() +
                               static_cast<double>(doc.EntSld3.size() + doc.EntSld4.size());
  state.counters["threads"] = fast ? DrawThreads() : 1;
  // The entities the culled redraw visits: those whose boxes meet what the view shows.
  DrawRect shown;
  if (fast && SurfaceRect(view, kWidth, 0, kHeight, shown)) {
    EntitySet found;
    index.Query(shown, found);
    state.counters["visited"] = static_cast<double>(found.Count());
  }
}

// The plain walk: every entity, one thread.
void BM_GLDrawALL(benchmark::State& state) {
  Redraw(state, FullView(), false);
}

// The window's redraw of the whole drawing.
void BM_Redraw(benchmark::State& state) {
  Redraw(state, FullView(), true);
}

// The window's redraw zoomed in on a hundredth of the drawing.
void BM_RedrawZoomed(benchmark::State& state) {
  Redraw(state, ZoomedView(10), true);
}

// The same geometry in cairo's device space (y down), in the same colours, pixel centres at
// half units so that aliased one-pixel lines fall on the pixels ours draws.
class CairoPainter {
 public:
  CairoPainter(cairo_t* cr, const TgraAttribute& attr) : cr_(cr), attr_(attr) {}

  void Colour(int col) {
    const uint32_t c = attr_.GetAttrColcol(col);
    cairo_set_source_rgb(cr_, (c & 0xFF) / 255.0, (c >> 8 & 0xFF) / 255.0,
                         (c >> 16 & 0xFF) / 255.0);
  }
  static double X(double x) { return x + 0.5; }
  static double Y(double y) { return kHeight - y + 0.5; }

  void Draw(const TJGdata& doc) {
    for (const TEntSld3& e : doc.EntSld3) {
      Colour(e.att.Col);
      cairo_move_to(cr_, X(e.x1), Y(e.y1));
      cairo_line_to(cr_, X(e.x2), Y(e.y2));
      cairo_line_to(cr_, X(e.x3), Y(e.y3));
      cairo_close_path(cr_);
      cairo_fill(cr_);
    }
    for (const TEntSld4& e : doc.EntSld4) {
      Colour(e.att.Col);
      cairo_move_to(cr_, X(e.x1), Y(e.y1));
      cairo_line_to(cr_, X(e.x2), Y(e.y2));
      cairo_line_to(cr_, X(e.x3), Y(e.y3));
      cairo_line_to(cr_, X(e.x4), Y(e.y4));
      cairo_close_path(cr_);
      cairo_fill(cr_);
    }
    for (const TEntLine& e : doc.EntLine) {
      Colour(e.att.Col);
      cairo_move_to(cr_, X(e.x1), Y(e.y1));
      cairo_line_to(cr_, X(e.x2), Y(e.y2));
      cairo_stroke(cr_);
    }
    for (const TEntCircle& e : doc.EntCirc) {
      Colour(e.att.Col);
      cairo_new_sub_path(cr_);
      cairo_arc(cr_, X(e.cx), Y(e.cy), e.cr, 0, 2 * kPi);
      cairo_stroke(cr_);
    }
    // Anticlockwise with y up is clockwise with y down.
    for (const TEntArc& e : doc.EntArc) {
      Colour(e.att.Col);
      cairo_new_sub_path(cr_);
      cairo_arc_negative(cr_, X(e.cx), Y(e.cy), e.cr, -e.sa * kPi / 180, -e.ea * kPi / 180);
      cairo_stroke(cr_);
    }
    for (const TEntPnt& e : doc.EntPnt) {
      Colour(e.att.Col);
      cairo_new_sub_path(cr_);
      cairo_arc(cr_, X(e.px), Y(e.py), 1, 0, 2 * kPi);
      cairo_stroke(cr_);
    }
  }

 private:
  cairo_t* cr_;
  const TgraAttribute& attr_;
};

void BM_Cairo(benchmark::State& state) {
  const TJGdata& doc = Drawing(static_cast<int>(state.range(0)));
  TgraAttribute attr;
  SetUpStartAttributes(attr);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cr, 1);
  CairoPainter painter(cr, attr);
  for (auto _ : state) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    painter.Draw(doc);
    cairo_surface_flush(surface);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

// Building the entity index of a drawing, as start-up does once it is read.
void BM_EntityIndexBuild(benchmark::State& state) {
  const TJGdata& doc = Drawing(static_cast<int>(state.range(0)));
  TgraAttribute attr;
  SetUpStartAttributes(attr);
  for (auto _ : state) {
    EntityIndex index;
    index.Build(doc, attr);
    benchmark::DoNotOptimize(index);
  }
}

BENCHMARK(BM_EntityIndexBuild)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GLDrawALL)->Arg(140000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Redraw)->Arg(140000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RedrawZoomed)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Cairo)->Arg(140000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return vardo::bench::RunAndCompare(
      argc, argv,
      {{"BM_GLDrawALL/140000", "BM_Cairo/140000"},
       {"BM_GLDrawALL/1000000", "BM_Cairo/1000000"},
       {"BM_Redraw/140000/real_time", "BM_Cairo/140000"},
       {"BM_Redraw/1000000/real_time", "BM_Cairo/1000000"},
       {"BM_RedrawZoomed/1000000/real_time", "BM_Redraw/1000000/real_time"}});
}
