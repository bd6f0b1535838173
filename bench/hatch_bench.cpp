// The hatch engine on a generated line drawing, stage by stage and as a whole run, against
// OpenCV's flood fill and contour finding on the same picture; hatch lines cut by one outline
// against a GEOS intersection of the same lines and polygon; a whole run on a floor plan of
// 100,000 entities with the end correction against the same run without it.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench_support.h"
#include "hatch/end_snap.h"
#include "hatch/hatch.h"
#include "platform/headless/headless_window.h"
#include "render/canvas.h"
#include "render/entity_index.h"
#include "render/graphics.h"
#include "render/renderer.h"
#include "screen_view.h"

namespace {

using namespace vardo;
using vardo::bench::PixelView;

constexpr double kPi = std::numbers::pi;
constexpr int kMarkedCells = 1000;

// A grid of square cells in black on white with a diagonal through every third cell, and the
// seeds of the cells to mark (in a diagonal cell, its upper-right triangle).
struct Drawing {
  Surface picture;
  std::vector<TPoint> seeds;
  cv::Mat gray;  // the same picture for OpenCV: 0 black, 255 white
};

Drawing MakeDrawing(int width, int height) {
  Drawing d;
  d.picture.Resize(width, height);
  Canvas c(d.picture);
  c.pen() = Pen{};
  const int cell = width / 48;
  for (int x = 0; x < width; x += cell) {
    c.MoveTo(x, 0);
    c.LineTo(x, height);
  }
  for (int y = 0; y < height; y += cell) {
    c.MoveTo(0, y);
    c.LineTo(width, y);
  }
  std::vector<TPoint> cells;
  for (int y = 0; y + cell < height; y += cell) {
    for (int x = 0; x + cell < width; x += cell) {
      const bool diagonal = (x / cell * 7 + y / cell * 3) % 3 == 0;
      if (diagonal) {
        c.MoveTo(x, y);
        c.LineTo(x + cell, y + cell);
      }
      cells.push_back(diagonal ? TPoint{x + cell * 3 / 4, y + cell / 4}
                               : TPoint{x + cell / 2, y + cell / 2});
    }
  }
  std::mt19937 rng(2024);
  std::shuffle(cells.begin(), cells.end(), rng);
  cells.resize(std::min<size_t>(cells.size(), kMarkedCells));
  d.seeds = cells;
  d.gray = cv::Mat(height, width, CV_8UC1);
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = d.picture.Row(y);
    uint8_t* out = d.gray.ptr<uint8_t>(y);
    for (int x = 0; x < width; ++x)
      out[x] = row[x] == kHatchBorderColor ? 0 : 255;
  }
  return d;
}

const Drawing& DrawingOf(int width) {
  static std::map<int, Drawing> drawings;
  auto it = drawings.find(width);
  if (it == drawings.end()) it = drawings.emplace(width, MakeDrawing(width, width * 9 / 16)).first;
  return it->second;
}

void Mark(Surface& s, const std::vector<TPoint>& seeds) {
  Canvas c(s);
  for (const TPoint& p : seeds)
    MarkRegion(c, p.X, p.Y);
}

// The stages before the hatch lines, on a copy of the picture.
void MarkToEdges(Surface& work, const std::vector<TPoint>& seeds, PolyLines& PLN) {
  Mark(work, seeds);
  ScanInterior(work, {});
  TraceEdges(work, PLN, {});
  ProcessEdges(PLN);
}

// The picture after each stage, so that every stage can be timed on its own input.
struct Stages {
  Surface marked, scanned;
  PolyLines traced, processed;
};

const Stages& StagesOf(int width) {
  static std::map<int, Stages> stages;
  auto it = stages.find(width);
  if (it != stages.end()) return it->second;
  Stages s;
  s.marked = DrawingOf(width).picture;
  Mark(s.marked, DrawingOf(width).seeds);
  s.scanned = s.marked;
  ScanInterior(s.scanned, {});
  Surface traced = s.scanned;
  TraceEdges(traced, s.traced, {});
  s.processed = s.traced;
  ProcessEdges(s.processed);
  return stages.emplace(width, std::move(s)).first->second;
}

int HatchBoth(const Surface& s, const PolyLines& PLN, const TPoint& click) {
  const ViewState view = PixelView(s.Width(), s.Height());
  int lines = 0;
  const AddLineFn count = [&lines](double, double, double, double) { ++lines; };
  for (const double degrees : {45.0, 135.0}) {
    HatchPass(view, PLN,
              {.HatX = click.X,
               .HatY = click.Y,
               .q = 5,
               .a = degrees / 180 * kPi,
               .W = s.Width(),
               .H = s.Height()},
              count, {});
  }
  return lines;
}

// ---- Stages and the whole run ----------------------------------------------------------------

void BM_OursMarkToEdges(benchmark::State& state) {
  const Drawing& d = DrawingOf(static_cast<int>(state.range(0)));
  Surface work;
  PolyLines PLN;
  for (auto _ : state) {
    state.PauseTiming();
    work = d.picture;
    state.ResumeTiming();
    MarkToEdges(work, d.seeds, PLN);
    benchmark::DoNotOptimize(PLN.data());
  }
  state.counters["contours"] = static_cast<double>(PLN.size());
}
BENCHMARK(BM_OursMarkToEdges)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond);

void BM_OpenCvFillContours(benchmark::State& state) {
  const Drawing& d = DrawingOf(static_cast<int>(state.range(0)));
  cv::Mat work, mask;
  std::vector<std::vector<cv::Point>> contours;
  std::vector<cv::Point> approx;
  size_t vertices = 0;
  for (auto _ : state) {
    state.PauseTiming();
    d.gray.copyTo(work);
    state.ResumeTiming();
    for (const TPoint& p : d.seeds)
      cv::floodFill(work, cv::Point(p.X, p.Y), cv::Scalar(128));
    cv::compare(work, 128, mask, cv::CMP_EQ);
    cv::findContours(mask, contours, cv::RETR_LIST, cv::CHAIN_APPROX_NONE);
    vertices = 0;
    for (const auto& c : contours) {
      cv::approxPolyDP(c, approx, 1.0, true);
      vertices += approx.size();
    }
    benchmark::DoNotOptimize(vertices);
  }
  state.counters["contours"] = static_cast<double>(contours.size());
}
BENCHMARK(BM_OpenCvFillContours)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond);

void BM_OpenCvStageFill(benchmark::State& state) {
  const Drawing& d = DrawingOf(static_cast<int>(state.range(0)));
  cv::Mat work;
  for (auto _ : state) {
    state.PauseTiming();
    d.gray.copyTo(work);
    state.ResumeTiming();
    for (const TPoint& p : d.seeds)
      cv::floodFill(work, cv::Point(p.X, p.Y), cv::Scalar(128));
  }
}
BENCHMARK(BM_OpenCvStageFill)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond);

void BM_StageMark(benchmark::State& state) {
  const Drawing& d = DrawingOf(static_cast<int>(state.range(0)));
  Surface work;
  for (auto _ : state) {
    state.PauseTiming();
    work = d.picture;
    state.ResumeTiming();
    Mark(work, d.seeds);
  }
}
BENCHMARK(BM_StageMark)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond);

void BM_StageScan(benchmark::State& state) {
  const Stages& s = StagesOf(static_cast<int>(state.range(0)));
  Surface work;
  for (auto _ : state) {
    state.PauseTiming();
    work = s.marked;
    state.ResumeTiming();
    ScanInterior(work, {});
  }
}
BENCHMARK(BM_StageScan)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond);

void BM_StageTrace(benchmark::State& state) {
  const Stages& s = StagesOf(static_cast<int>(state.range(0)));
  Surface work;
  PolyLines PLN;
  for (auto _ : state) {
    state.PauseTiming();
    work = s.scanned;
    state.ResumeTiming();
    TraceEdges(work, PLN, {});
  }
  state.counters["contours"] = static_cast<double>(PLN.size());
}
BENCHMARK(BM_StageTrace)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond);

void BM_StageProcess(benchmark::State& state) {
  const Stages& s = StagesOf(static_cast<int>(state.range(0)));
  PolyLines PLN;
  for (auto _ : state) {
    state.PauseTiming();
    PLN = s.traced;
    state.ResumeTiming();
    ProcessEdges(PLN);
  }
}
BENCHMARK(BM_StageProcess)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond);

void BM_StageHatchBoth(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const Stages& s = StagesOf(width);
  int lines = 0;
  for (auto _ : state)
    lines = HatchBoth(s.marked, s.processed, DrawingOf(width).seeds.back());
  state.counters["lines"] = lines;
}
BENCHMARK(BM_StageHatchBoth)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond);

void BM_OursWholeRun(benchmark::State& state) {
  const Drawing& d = DrawingOf(static_cast<int>(state.range(0)));
  Surface work;
  PolyLines PLN;
  int lines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    work = d.picture;
    state.ResumeTiming();
    MarkToEdges(work, d.seeds, PLN);
    lines = HatchBoth(work, PLN, d.seeds.back());
  }
  state.counters["lines"] = lines;
}
BENCHMARK(BM_OursWholeRun)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond);

// ---- 500 lines cut by one 1000-vertex outline ------------------------------------------------

constexpr int kOutlineSize = 1000;
constexpr int kLineCount = 500;
constexpr double kLineAngle = 0.3;

// A wavy ring around (500, 500) in pixels, closed.
PolyLines WavyOutline() {
  TPolyLineField c;
  for (int i = 0; i < kOutlineSize; ++i) {
    const double t = 2 * kPi * i / kOutlineSize;
    const double r = 350 + 60 * std::sin(23 * t);
    c.p.push_back({static_cast<int>(std::lround(500 + r * std::cos(t))),
                   static_cast<int>(std::lround(500 + r * std::sin(t)))});
  }
  c.p.push_back(c.p.front());
  return {c};
}

// The points the lines are laid through, across the whole outline.
std::vector<HatchPoint> LinePoints(double q) {
  std::vector<HatchPoint> points;
  for (int i = 0; i < kLineCount; ++i) {
    const double off = (i - kLineCount / 2) * q;
    points.push_back({500 - off * std::sin(kLineAngle), 500 + off * std::cos(kLineAngle)});
  }
  return points;
}

constexpr double kLineSpacing = 820.0 / kLineCount;

void BM_OursHatchLines(benchmark::State& state) {
  const ViewState view = PixelView(1000, 1000);
  const PolyLines PLN = WavyOutline();
  const std::vector<HatchPoint> through = LinePoints(kLineSpacing);
  const double len = 1000.0 * 1000 + 1000.0 * 1000;
  int pieces = 0;
  const AddLineFn count = [&pieces](double, double, double, double) { ++pieces; };
  for (auto _ : state) {
    pieces = 0;
    HatchContours contours(view, PLN);
    contours.IndexAcross(kLineAngle, len, kLineSpacing);
    for (const HatchPoint& p : through)
      HatchLine(view, contours, p.x, p.y, len, kLineAngle, count);
  }
  state.counters["pieces"] = pieces;
}
BENCHMARK(BM_OursHatchLines)->Unit(benchmark::kMicrosecond);

void BM_GeosIntersection(benchmark::State& state) {
  GEOSContextHandle_t ctx = GEOS_init_r();
  const ViewState view = PixelView(1000, 1000);
  const TPolyLineField ring = WavyOutline()[0];
  GEOSCoordSequence* shell = GEOSCoordSeq_create_r(ctx, static_cast<unsigned>(ring.n()), 2);
  for (int i = 0; i < ring.n(); ++i) {
    const TPolyField& p = ring.p[static_cast<size_t>(i)];
    GEOSCoordSeq_setXY_r(ctx, shell, static_cast<unsigned>(i), PixelToDrawX(view, p.x),
                         PixelToDrawY(view, p.y));
  }
  GEOSGeometry* polygon =
      GEOSGeom_createPolygon_r(ctx, GEOSGeom_createLinearRing_r(ctx, shell), nullptr, 0);
  std::vector<GEOSGeometry*> lines;
  for (const HatchPoint& p : LinePoints(kLineSpacing)) {
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(ctx, 2, 2);
    const double dx = 1500 * std::cos(kLineAngle), dy = 1500 * std::sin(kLineAngle);
    GEOSCoordSeq_setXY_r(ctx, seq, 0, p.x - dx, p.y - dy);
    GEOSCoordSeq_setXY_r(ctx, seq, 1, p.x + dx, p.y + dy);
    lines.push_back(GEOSGeom_createLineString_r(ctx, seq));
  }
  GEOSGeometry* multi = GEOSGeom_createCollection_r(ctx, GEOS_MULTILINESTRING, lines.data(),
                                                    static_cast<unsigned>(lines.size()));
  int pieces = 0;
  for (auto _ : state) {
    GEOSGeometry* cut = GEOSIntersection_r(ctx, multi, polygon);
    pieces = cut ? GEOSGetNumGeometries_r(ctx, cut) : -1;
    GEOSGeom_destroy_r(ctx, cut);
  }
  state.counters["pieces"] = pieces;
  GEOSGeom_destroy_r(ctx, multi);
  GEOSGeom_destroy_r(ctx, polygon);
  GEOS_finish_r(ctx);
}
BENCHMARK(BM_GeosIntersection)->Unit(benchmark::kMicrosecond);

// ---- The end correction on a generated floor plan ---------------------------------------------

constexpr int kPlanWidth = 1920, kPlanHeight = 1080;
constexpr int kRoomsX = 64, kRoomsY = 36;
constexpr double kRoom = 30;  // drawing units per room, walls included

// An exchange file written record by record.
class Records {
 public:
  Records& operator<<(std::string_view text) {
    text_ += text;
    return *this;
  }
  Records& operator<<(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " %.10g", v);
    text_ += buffer;
    return *this;
  }
  void Line(double x1, double y1, double x2, double y2) { *this << "\r\n" << x1 << y1 << x2 << y2; }
  void Box(double x1, double y1, double x2, double y2) {
    Line(x1, y1, x2, y1);
    Line(x2, y1, x2, y2);
    Line(x2, y2, x1, y2);
    Line(x1, y2, x1, y1);
  }
  std::string Text() const { return text_ + "\r\n"; }

 private:
  std::string text_ = "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nbz\r\nlg0\r\nly0\r\nlc2\r\npn2";
};

// A grid of rooms, each closed by its own four walls (a wall between two rooms is two lines a
// unit apart), with a door swing (arc and leaf), a column, a room name and furniture (boxes,
// chairs, a shelf, solids, points, marks) in its lower right; its upper left stays free for
// the click. 44 entities a room, 101,376 in all, in paper units.
std::string FloorPlan() {
  Records r;
  for (int j = 0; j < kRoomsY; ++j) {
    for (int i = 0; i < kRoomsX; ++i) {
      const double x = i * kRoom, y = j * kRoom;
      r.Box(x + 0.5, y + 0.5, x + kRoom - 0.5, y + kRoom - 0.5);
      r << "\r\nci" << x + 3 << y + 0.5 << 6 << 0 << 90 << 1 << 0;
      r.Line(x + 3, y + 0.5, x + 3, y + 6.5);
      r << "\r\nci" << x + 27.5 << y + 27.5 << 1.5;
      r << "\r\nch" << x + 12 << y + 24 << 6 << 0 << " \"R" << std::string(1, 'A' + (i + j) % 26);
      r.Box(x + 16, y + 4, x + 26, y + 11);
      r.Box(x + 18, y + 14, x + 27, y + 19);
      r.Box(x + 10, y + 3, x + 13, y + 9);
      for (int k = 0; k < 6; ++k)
        r << "\r\nci" << x + 17 + 2 * k << y + 12.5 << 0.7;
      for (int k = 0; k < 5; ++k)
        r.Line(x + 28.5, y + 3 + 2 * k, x + 28.5, y + 4 + 2 * k);
      r << "\r\nsl" << x + 20 << y + 21 << x + 23 << y + 21 << x + 21.5 << y + 23;
      r << "\r\nsl" << x + 24 << y + 21 << x + 27 << y + 21 << x + 25.5 << y + 23;
      for (int k = 0; k < 5; ++k)
        r << "\r\npt" << x + 10 + k << y + 11;
      for (int k = 0; k < 4; ++k)
        r << "\r\npt" << x + 14 + k << y + 1.5 << 0.3 << 0 << -4;
      r << "\r\nci" << x + 21 << y + 7.5 << 2 << 0 << 180 << 1 << 0;
      r << "\r\nci" << x + 21 << y + 7.5 << 2 << 180 << 360 << 1 << 0;
    }
  }
  return r.Text();
}

// The plan drawn in monochrome at a fitted view, its index, and two sets of clicks: a user's
// run (a block of 6 x 4 rooms in the middle) and every third room of the plan (768).
struct Plan {
  TJGdata doc;
  TgraAttribute attr;
  ViewState view;
  EntityIndex index;
  Surface picture;
  std::vector<TPoint> block, every_third;
};

const Plan& ThePlan() {
  static const Plan plan = [] {
    Plan p;
    p.doc.ReadTempBytes(FloorPlan());
    SetUpStartAttributes(p.attr);
    p.attr.SetPrintMode(true, 0, 0, 0);
    // Fitted with a little to spare, so that pixels fall between the walls' round numbers.
    p.view.ViewScale =
        0.97 * std::min(kPlanWidth / (kRoomsX * kRoom), kPlanHeight / (kRoomsY * kRoom));
    p.view.ViewWidth = kPlanWidth;
    p.view.ViewHeight = kPlanHeight;
    p.view.ViewXmin = -0.015 * kRoomsX * kRoom - 0.37;
    p.view.ViewYmin = -0.015 * kRoomsY * kRoom - 0.41;
    p.view.ViewXmax = p.view.ViewXmin + kPlanWidth / p.view.ViewScale;
    p.view.ViewYmax = p.view.ViewYmin + kPlanHeight / p.view.ViewScale;
    p.picture.Resize(kPlanWidth, kPlanHeight);
    Canvas canvas(p.picture);
    Graphics g(canvas, p.view, p.attr);
    g.GraClear(kPlanWidth, kPlanHeight);
    GLDrawALL(p.doc, g, {});
    p.index.Build(p.doc, p.attr);
    for (int j = 0; j < kRoomsY; ++j) {
      for (int i = 0; i < kRoomsX; ++i) {
        const TPoint seed{DrawToPixelX(p.view, i * kRoom + 6),
                          DrawToPixelY(p.view, j * kRoom + 17)};
        if ((i + 2 * j) % 3 == 0) p.every_third.push_back(seed);
        if (i >= 29 && i < 35 && j >= 16 && j < 20) p.block.push_back(seed);
      }
    }
    return p;
  }();
  return plan;
}

// A whole run as the form makes it: marks, scan, tracing, edge processing, then two families
// (45 and 135 degrees, 2 units apart); the first argument picks the clicks: 24 rooms (0) or 768
// (1); the second the end correction: off (0), on with the outlines kept from the run before
// as the form keeps them (1), on with the outlines made again for the cells the run reaches, as
// the first run after the view changed makes them (2).
void BM_PlanWholeRun(benchmark::State& state) {
  const Plan& plan = ThePlan();
  const std::vector<TPoint>& seeds = state.range(0) == 0 ? plan.block : plan.every_third;
  const bool snap = state.range(1) != 0;
  const bool again = state.range(1) == 2;
  Surface work;
  PolyLines PLN;
  int pieces = 0;
  OutlineGrid grid;
  grid.Refresh(plan.doc, plan.index, plan.attr, plan.view);
  ViewState shifted = plan.view;
  shifted.ViewXmin += 1;
  shifted.ViewXmax += 1;
  for (auto _ : state) {
    state.PauseTiming();
    work = plan.picture;
    if (again) grid.Refresh(plan.doc, plan.index, plan.attr, shifted);
    state.ResumeTiming();
    MarkToEdges(work, seeds, PLN);
    std::optional<EndSnap> end_snap;
    if (snap) {
      grid.Refresh(plan.doc, plan.index, plan.attr, plan.view, SnapReach(PLN));
      end_snap.emplace(grid, 1.0);
    }
    pieces = 0;
    for (const double degrees : {45.0, 135.0}) {
      HatchPass(plan.view, PLN,
                {.HatX = seeds.back().X,
                 .HatY = seeds.back().Y,
                 .q = 2,
                 .a = degrees / 180 * kPi,
                 .W = kPlanWidth,
                 .H = kPlanHeight,
                 .snap = snap ? &*end_snap : nullptr},
                [&](double, double, double, double) { ++pieces; }, {});
    }
    benchmark::DoNotOptimize(pieces);
  }
  state.counters["entities"] = plan.doc.EntN();
  state.counters["pieces"] = pieces;
}
BENCHMARK(BM_PlanWholeRun)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond);

// The end correction alone, on the pieces of the 768-room run's two families as the pixel
// method cuts them, with the outlines kept: the share BM_PlanWholeRun/1/1 adds to /1/0.
void BM_PlanEndSnap(benchmark::State& state) {
  const Plan& plan = ThePlan();
  Surface work = plan.picture;
  PolyLines PLN;
  MarkToEdges(work, plan.every_third, PLN);
  OutlineGrid grid;
  grid.Refresh(plan.doc, plan.index, plan.attr, plan.view, SnapReach(PLN));
  const EndSnap end_snap(grid, 1.0);
  struct Family {
    double a;
    std::vector<HatchPiece> pieces;
  };
  std::vector<Family> families;
  for (const double degrees : {45.0, 135.0}) {
    Family f{degrees / 180 * kPi, {}};
    HatchPass(plan.view, PLN,
              {.HatX = plan.every_third.back().X,
               .HatY = plan.every_third.back().Y,
               .q = 2,
               .a = f.a,
               .W = kPlanWidth,
               .H = kPlanHeight},
              [&](double x1, double y1, double x2, double y2) {
                f.pieces.push_back({{x1, y1}, {x2, y2}});
              },
              {});
    families.push_back(std::move(f));
  }
  std::vector<HatchPiece> pieces;
  for (auto _ : state) {
    for (const Family& f : families) {
      state.PauseTiming();
      pieces = f.pieces;
      state.ResumeTiming();
      end_snap.MovePieces(pieces, std::cos(f.a), std::sin(f.a));
      benchmark::DoNotOptimize(pieces.data());
    }
  }
  state.counters["ends"] =
      2.0 * static_cast<double>(families[0].pieces.size() + families[1].pieces.size());
}
BENCHMARK(BM_PlanEndSnap)->Unit(benchmark::kMillisecond);

// The same runs as the user makes them: the plan read by the form in the headless shell and
// fitted in a 1920 x 1080 paint box, the rooms clicked, then "作図実行(&G)" (the stages, both
// families, the redraw); between runs (not timed) Delete removes the hatch. First argument:
// 24 rooms (0) or 768 (1); second: the end correction off (0) or on (1).
class FormPlan {
 public:
  FormPlan() {
    folder_ = std::filesystem::temp_directory_path() /
              ("vardo_hatch_bench_" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ / "JWC_TEMP.TXT", std::ios::binary) << FloorPlan();
    window_ = std::make_unique<HeadlessWindow>((folder_ / "VardoHatch.exe").u16string(), kPlanWidth,
                                               kPlanHeight);
    window_->Show();
    window_->Tick(Control::CheckBox1, true);
    window_->Type(Control::Edit1, u"2");
    window_->Type(Control::ComboBox4, u"45");
    window_->Tick(Control::CheckBox2, true);
    window_->Type(Control::Edit2, u"2");
    window_->Type(Control::ComboBox5, u"135");
  }
  FormPlan(const FormPlan&) = delete;
  FormPlan& operator=(const FormPlan&) = delete;
  ~FormPlan() {
    window_.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  HeadlessWindow& window() { return *window_; }

  // The pixel of the click in room (i, j) in the form's view.
  TPoint Seed(int i, int j) const {
    const ViewState& v = window_->form().View;
    return {DrawToPixelX(v, i * kRoom + 6), DrawToPixelY(v, j * kRoom + 17)};
  }

 private:
  std::filesystem::path folder_;
  std::unique_ptr<HeadlessWindow> window_;
};

// Runs through the form: args are (every third room / 24 rooms, end correction off / on, view
// kept / moved before each run). With the view moved by a fraction of a pixel before the rooms
// are clicked, every run is the first in its view: the outlines are made again from the first
// click on while the clicks go on, and the run waits for whatever is left of that.
void BM_PlanFormRun(benchmark::State& state) {
  static FormPlan plan;
  HeadlessWindow& w = plan.window();
  const bool every_third = state.range(0) != 0;
  w.Tick(Control::CheckBox3, state.range(1) != 0);
  const bool move_view = state.range(2) != 0;
  const auto click_rooms = [&] {
    w.Key(KeyCode::Delete, false);
    for (int j = 0; j < kRoomsY; ++j) {
      for (int i = 0; i < kRoomsX; ++i) {
        const bool clicked =
            every_third ? (i + 2 * j) % 3 == 0 : i >= 29 && i < 35 && j >= 16 && j < 20;
        if (!clicked) continue;
        const TPoint p = plan.Seed(i, j);
        w.Press(kMouseLeft, p.X, p.Y);
        w.Release(p.X, p.Y);
      }
    }
  };
  click_rooms();
  w.Click(Control::Button3);
  int lines = 0;
  double shift = 0.25 / w.form().View.ViewScale;
  for (auto _ : state) {
    state.PauseTiming();
    if (move_view) {
      const ViewState& v = w.form().View;
      w.form().CenterAt((v.ViewXmin + v.ViewXmax) / 2 + shift, (v.ViewYmin + v.ViewYmax) / 2);
      shift = -shift;
    }
    click_rooms();
    state.ResumeTiming();
    w.Click(Control::Button3);
    lines = w.form().AddLineN;
  }
  state.counters["lines"] = lines;
}
BENCHMARK(BM_PlanFormRun)
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})
    ->Iterations(8)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return vardo::bench::RunAndCompare(
      argc, argv,
      {{"BM_OursMarkToEdges/1920", "BM_OpenCvFillContours/1920"},
       {"BM_OursMarkToEdges/3840", "BM_OpenCvFillContours/3840"},
       {"BM_OursHatchLines", "BM_GeosIntersection"},
       {"BM_PlanWholeRun/0/1", "BM_PlanWholeRun/0/0"},
       {"BM_PlanWholeRun/0/2", "BM_PlanWholeRun/0/0"},
       {"BM_PlanWholeRun/1/1", "BM_PlanWholeRun/1/0"},
       {"BM_PlanWholeRun/1/2", "BM_PlanWholeRun/1/0"},
       {"BM_PlanFormRun/0/1/0/iterations:8", "BM_PlanFormRun/0/0/0/iterations:8"},
       {"BM_PlanFormRun/1/1/0/iterations:8", "BM_PlanFormRun/1/0/0/iterations:8"},
       {"BM_PlanFormRun/0/1/1/iterations:8", "BM_PlanFormRun/0/0/1/iterations:8"},
       {"BM_PlanFormRun/1/1/1/iterations:8", "BM_PlanFormRun/1/0/1/iterations:8"}});
}
