// The hatch engine on a generated line drawing, stage by stage and as a whole run, against
// OpenCV's flood fill and contour finding on the same picture; hatch lines cut by one outline
// against a GEOS intersection of the same lines and polygon.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <random>
#include <vector>

#include "bench_support.h"
#include "hatch/hatch.h"
#include "render/canvas.h"

namespace {

using namespace vardo;

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

ViewState PixelView(int width, int height) {
  ViewState v;
  v.ViewScale = 1;
  v.ViewWidth = width;
  v.ViewHeight = height;
  v.ViewXmax = width;
  v.ViewYmax = height;
  return v;
}

void Mark(Surface& s, const std::vector<TPoint>& seeds) {
  Canvas c(s);
  for (const TPoint& p : seeds)
    MarkRegion(c, p.X, p.Y);
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
    Mark(work, d.seeds);
    ScanInterior(work, {});
    TraceEdges(work, PLN, {});
    ProcessEdges(PLN);
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
    Mark(work, d.seeds);
    ScanInterior(work, {});
    TraceEdges(work, PLN, {});
    ProcessEdges(PLN);
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

}  // namespace

int main(int argc, char** argv) {
  return vardo::bench::RunAndCompare(argc, argv,
                                     {{"BM_OursMarkToEdges/1920", "BM_OpenCvFillContours/1920"},
                                      {"BM_OursMarkToEdges/3840", "BM_OpenCvFillContours/3840"},
                                      {"BM_OursHatchLines", "BM_GeosIntersection"}});
}
