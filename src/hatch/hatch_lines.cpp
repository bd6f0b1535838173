// Hatch generation: families of parallel lines cut by the contours, kept between crossing pairs.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <utility>

#include "common/geometry.h"
#include "hatch/end_snap.h"
#include "hatch/hatch.h"

namespace vardo {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kVertexTol = 1e-8;
constexpr double kShortestPiece = kShortestHatchPiece;
constexpr uint64_t kFirstOfContour = uint64_t{1} << 63;

// Beyond this many radians a + pi and a - pi lose so much precision that the probe would no
// longer pass through its own point; such angles are first brought into [-pi, pi].
constexpr double kAngleReduceBeyond = 1024;

// Bounds of the segment index: bands across the hatch direction and entries over all bands.
constexpr double kMaxBands = 1 << 20;
constexpr double kMaxBandEntries = 1 << 23;

// Selection sort itself is the quickest for the few crossings a line usually has.
constexpr size_t kSmallSort = 32;

constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

// Lines walked before the contours are only tested against the view; beyond this many on one
// side (a pass-through point far from the contours at a fine spacing) the walk jumps to just
// before them.
constexpr long kMaxWalkToContours = 1 << 20;

void Beep(const HatchServices& s) {
  if (s.beep) s.beep();
}

double UsableAngle(double a) {
  return std::fabs(a) > kAngleReduceBeyond ? std::remainder(a, 2 * kPi) : a;
}

struct Trig {
  explicit Trig(double a)
      : cos_a(std::cos(a)),
        sin_a(std::sin(a)),
        cos_back(std::cos(a + kPi)),
        sin_back(std::sin(a + kPi)) {}
  double cos_a, sin_a, cos_back, sin_back;
};

HatchProbe ProbeWith(double x, double y, double len, double a, const Trig& t) {
  HatchProbe p;
  p.x = x;
  p.y = y;
  p.len = len;
  p.a = a;
  p.ax = x + len * t.cos_back;
  p.ay = y + len * t.sin_back;
  p.bx = x + len * t.cos_a;
  p.by = y + len * t.sin_a;
  return p;
}

bool Crosses(const HatchProbe& p, double x1, double y1, double x2, double y2) {
  double X = 0, Y = 0;
  return SegCross(X, Y, p.ax, p.ay, p.bx, p.by, x1, y1, x2, y2) == 1;
}

// The view window's edges in drawing coordinates, from the pixel corners of the paint box.
struct ViewEdges {
  HatchPoint from[4], to[4];
};

ViewEdges EdgesOf(const ViewState& v) {
  const double left = PixelToDrawX(v, 0), right = PixelToDrawX(v, v.ViewWidth);
  const double top = PixelToDrawY(v, 0), bottom = PixelToDrawY(v, v.ViewHeight);
  return ViewEdges{{{left, top}, {left, bottom}, {left, top}, {right, top}},
                   {{right, top}, {right, bottom}, {left, bottom}, {right, bottom}}};
}

bool SeesView(const HatchProbe& p, const ViewEdges& e) {
  for (int i = 0; i < 4; ++i) {
    if (Crosses(p, e.from[i].x, e.from[i].y, e.to[i].x, e.to[i].y)) return true;
  }
  return false;
}

// How far a crossing SegCross reports can lie from the line through the probe's point, measured
// across the hatch direction, plus the distance its 1e-8 box tolerance allows. The rounding
// terms bound the errors of the probe's end points (their angles a +- pi lose up to an ulp of
// a), of SegCross's slope-intercept arithmetic and of the positions compared, with room to
// spare.
double CrossingReach(double contours, double probe, double len, double a) {
  return 1e-7 + 1e-13 * (contours + probe + len * (std::fabs(a) + 8));
}

double ProbeMagnitude(const HatchProbe& p) {
  return std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.ax), std::fabs(p.ay),
                   std::fabs(p.bx), std::fabs(p.by)});
}

void SortByKeys(std::vector<HatchPoint>& points, std::vector<double>& keys) {
  const size_t n = points.size();
  auto swap_at = [&](size_t i, size_t j) {
    std::swap(points[i], points[j]);
    std::swap(keys[i], keys[j]);
  };
  if (n <= kSmallSort) {
    for (size_t i = 0; i + 1 < n; ++i) {
      double m = keys[i];
      size_t j = n;
      for (size_t h = i + 1; h < n; ++h) {
        if (keys[h] < m) {
          m = keys[h];
          j = h;
        }
      }
      if (j != n) swap_at(i, j);
    }
    return;
  }
  // The selection sort picks, among the positions after i, the first one holding the smallest
  // key (NaN keys are never picked, and a NaN at i picks nothing) and swaps only when that key is
  // below key i. A tree over the positions answers "first smallest" after each swap in log time.
  const size_t size = std::bit_ceil(n);
  std::vector<uint32_t> tree(2 * size, kNone);
  auto better = [&](uint32_t left, uint32_t right) {
    if (left == kNone) return right;
    if (right == kNone) return left;
    return keys[right] < keys[left] ? right : left;
  };
  auto leaf = [&](size_t pos) {
    return std::isnan(keys[pos]) ? kNone : static_cast<uint32_t>(pos);
  };
  auto set_leaf = [&](size_t pos, uint32_t value) {
    size_t k = size + pos;
    tree[k] = value;
    for (k /= 2; k >= 1; k /= 2)
      tree[k] = better(tree[2 * k], tree[2 * k + 1]);
  };
  for (size_t pos = 0; pos < n; ++pos)
    tree[size + pos] = leaf(pos);
  for (size_t k = size - 1; k >= 1; --k)
    tree[k] = better(tree[2 * k], tree[2 * k + 1]);
  for (size_t i = 0; i + 1 < n; ++i) {
    set_leaf(i, kNone);
    const uint32_t j = tree[1];
    if (j == kNone || !(keys[j] < keys[i])) continue;
    swap_at(i, j);
    set_leaf(j, leaf(j));
  }
}

void SortAlong(std::vector<HatchPoint>& crossings, std::vector<double>& keys, double x, double y,
               double cos_a, double sin_a) {
  keys.resize(crossings.size());
  for (size_t i = 0; i < crossings.size(); ++i) {
    keys[i] = x + cos_a * (crossings[i].x - x) + sin_a * (crossings[i].y - y);
  }
  SortByKeys(crossings, keys);
}

// How many pieces wait for their ends to be corrected together.
constexpr size_t kSnapBatch = size_t{1} << 15;

// Reused between the lines of a pass.
struct LineWork {
  std::vector<HatchPoint> crossings;
  std::vector<double> keys;
  std::vector<HatchPiece> waiting;  // pieces cut, their ends not yet corrected
};

// Corrects the ends of the waiting pieces and hands them over in the order they were cut.
void HandOver(LineWork& work, const EndSnap& snap, const Trig& trig, const AddLineFn& add_line) {
  snap.MovePieces(work.waiting, trig.cos_a, trig.sin_a);
  if (add_line) {
    for (const HatchPiece& piece : work.waiting)
      add_line(piece.p.x, piece.p.y, piece.q.x, piece.q.y);
  }
  work.waiting.clear();
}

// The pieces of one line; lines counts what went to add_line (or waits for it, with snap).
int CutLine(const ViewEdges& edges, const HatchContours& contours, const HatchProbe& probe,
            const Trig& trig, const AddLineFn& add_line, const EndSnap* snap, LineWork& work,
            int& lines) {
  if (!SeesView(probe, edges)) return -1;
  work.crossings.clear();
  contours.Crossings(probe, work.crossings);
  SortAlong(work.crossings, work.keys, probe.x, probe.y, trig.cos_a, trig.sin_a);
  const std::vector<HatchPoint>& c = work.crossings;
  int pairs = 0;
  for (size_t i = 0; i + 1 < c.size(); i += 2, ++pairs) {
    if (!(Distance(c[i].x, c[i].y, c[i + 1].x, c[i + 1].y) > kShortestPiece)) continue;
    ++lines;
    if (!snap) {
      if (add_line) add_line(c[i].x, c[i].y, c[i + 1].x, c[i + 1].y);
      continue;
    }
    work.waiting.push_back({c[i], c[i + 1]});
    if (work.waiting.size() >= kSnapBatch) HandOver(work, *snap, trig, add_line);
  }
  return pairs;
}

bool UsableView(const ViewState& v) {
  if (!(v.ViewScale > 0) || !std::isfinite(v.ViewScale)) return false;
  if (!std::isfinite(v.ViewXmin) || !std::isfinite(v.ViewYmax)) return false;
  if (v.ViewWidth < 0 || v.ViewHeight < 0) return false;
  return std::isfinite(std::hypot(v.ViewWidth, v.ViewHeight) / v.ViewScale);
}

bool TooDense(const HatchContours& contours, double q) {
  const double lines = (contours.End() - contours.Start()) / q;
  const double crossings = contours.Spans() / q + static_cast<double>(contours.SegmentCount());
  return !(lines <= kMaxHatchLines) || !(crossings <= kMaxHatchCrossings);
}

}  // namespace

HatchProbe MakeHatchProbe(double x, double y, double len, double a) {
  return ProbeWith(x, y, len, a, Trig(a));
}

HatchContours::HatchContours(const ViewState& view, const PolyLines& PLN) {
  const ViewEdges edges = EdgesOf(view);
  for (int i = 0; i < 4; ++i) {
    for (const HatchPoint& p : {edges.from[i], edges.to[i]}) {
      magnitude_ = std::max({magnitude_, std::fabs(p.x), std::fabs(p.y)});
    }
  }
  for (const TPolyLineField& c : PLN) {
    const uint64_t first = points_.size();
    for (const TPolyField& p : c.p) {
      const HatchPoint d{PixelToDrawX(view, p.x), PixelToDrawY(view, p.y)};
      points_.push_back(d);
      magnitude_ = std::max({magnitude_, std::fabs(d.x), std::fabs(d.y)});
    }
    for (size_t k = 0; k + 1 < c.p.size(); ++k) {
      segments_.push_back((first + k) | (k == 0 ? kFirstOfContour : 0));
    }
  }
}

void HatchContours::IndexAcross(double a, double len, double q) {
  indexed_ = false;
  t0_ = t1_ = spans_ = 0;
  lo_.clear();
  hi_.clear();
  band_start_.clear();
  band_segments_.clear();
  const size_t count = segments_.size();
  if (count == 0 || count >= kNone) return;
  nx_ = -std::sin(a);
  ny_ = std::cos(a);
  // Lines that reach the contours passed the view test, so their probes lie within 2 len of
  // the view.
  const double reach = CrossingReach(magnitude_, magnitude_ + 2 * len + 2, len, a);
  if (!std::isfinite(reach)) return;
  lo_.resize(count);
  hi_.resize(count);
  double t0 = std::numeric_limits<double>::infinity(), t1 = -t0, spans = 0;
  for (size_t s = 0; s < count; ++s) {
    const HatchPoint& from = points_[segments_[s] & ~kFirstOfContour];
    const HatchPoint& to = points_[(segments_[s] & ~kFirstOfContour) + 1];
    const double ts = nx_ * from.x + ny_ * from.y, te = nx_ * to.x + ny_ * to.y;
    if (!std::isfinite(ts) || !std::isfinite(te)) return;
    lo_[s] = std::min(ts, te) - reach;
    hi_[s] = std::max(ts, te) + reach;
    t0 = std::min(t0, lo_[s]);
    t1 = std::max(t1, hi_[s]);
    spans += hi_[s] - lo_[s];
  }
  const double range = t1 - t0;
  if (!std::isfinite(range) || !std::isfinite(spans)) return;
  // About one band per line, fewer when the segments would fill too many entries.
  double bands = range / q;
  if (!(bands >= 1)) bands = 1;
  bands = std::min(bands, kMaxBands);
  const double fixed = 2.0 * static_cast<double>(count);
  const double entries = spans / range * bands + fixed;
  if (entries > kMaxBandEntries) {
    bands = kMaxBandEntries > fixed ? bands * (kMaxBandEntries - fixed) / (entries - fixed) : 1;
    bands = std::max(bands, 1.0);
  }
  const size_t nb = static_cast<size_t>(bands);
  t0_ = t0;
  t1_ = t1;
  spans_ = spans;
  band_ = range > 0 ? range / static_cast<double>(nb) : 1;
  band_start_.assign(nb + 1, 0);
  for (size_t s = 0; s < count; ++s) {
    for (size_t b = BandOf(lo_[s]), end = BandOf(hi_[s]); b <= end; ++b)
      ++band_start_[b + 1];
  }
  for (size_t b = 0; b < nb; ++b)
    band_start_[b + 1] += band_start_[b];
  band_segments_.resize(band_start_[nb]);
  std::vector<uint32_t> fill(band_start_.begin(), band_start_.end() - 1);
  for (size_t s = 0; s < count; ++s) {
    for (size_t b = BandOf(lo_[s]), end = BandOf(hi_[s]); b <= end; ++b) {
      band_segments_[fill[b]++] = static_cast<uint32_t>(s);
    }
  }
  index_a_ = a;
  index_len_ = len;
  indexed_ = true;
}

// Monotonic in t, so a segment filed under the bands of its reach's ends is found from any t
// within that reach.
size_t HatchContours::BandOf(double t) const {
  const double last = static_cast<double>(band_start_.size() - 2);
  return static_cast<size_t>(std::clamp(std::floor((t - t0_) / band_), 0.0, last));
}

void HatchContours::TestSegment(uint32_t seg, const HatchProbe& probe,
                                std::vector<HatchPoint>& out) const {
  const uint64_t k = segments_[seg] & ~kFirstOfContour;
  const HatchPoint& s = points_[k];
  const HatchPoint& e = points_[k + 1];
  double X = 0, Y = 0;
  if (SegCross(X, Y, probe.ax, probe.ay, probe.bx, probe.by, s.x, s.y, e.x, e.y) != 1) return;
  out.push_back({X, Y});
  if (segments_[seg] & kFirstOfContour) return;
  if (std::fabs(X - s.x) > kVertexTol || std::fabs(Y - s.y) > kVertexTol) return;
  // At a vertex the previous segment already gave this crossing; keep both only when the line
  // merely touches the vertex.
  const HatchPoint& before = points_[k - 1];
  if (!Crosses(probe, before.x, before.y, e.x, e.y)) return;
  out.pop_back();
}

bool HatchContours::IndexServes(const HatchProbe& probe, double t) const {
  return indexed_ && probe.a == index_a_ && probe.len <= index_len_ && std::isfinite(t) &&
         CrossingReach(magnitude_, ProbeMagnitude(probe), probe.len, probe.a) <=
             CrossingReach(magnitude_, magnitude_ + 2 * index_len_ + 2, index_len_, index_a_);
}

// The same judgement Crossings makes before it looks at a band.
int HatchContours::Beside(const HatchProbe& probe) const {
  const double t = nx_ * probe.x + ny_ * probe.y;
  if (!IndexServes(probe, t)) return 0;
  if (t < t0_) return -1;
  return t > t1_ ? 1 : 0;
}

size_t HatchContours::Crossings(const HatchProbe& probe, std::vector<HatchPoint>& out) const {
  const double t = nx_ * probe.x + ny_ * probe.y;
  if (!IndexServes(probe, t)) {
    for (size_t s = 0; s < segments_.size(); ++s)
      TestSegment(static_cast<uint32_t>(s), probe, out);
    return segments_.size();
  }
  if (t < t0_) return 0;  // every segment's reach starts at t0_ or later
  const size_t band = BandOf(t);
  size_t tested = 0;
  for (uint32_t i = band_start_[band]; i < band_start_[band + 1]; ++i) {
    const uint32_t s = band_segments_[i];
    if (t < lo_[s] || t > hi_[s]) continue;
    TestSegment(s, probe, out);
    ++tested;
  }
  return tested;
}

void SortCrossings(std::vector<HatchPoint>& crossings, double x, double y, double a) {
  std::vector<double> keys;
  SortAlong(crossings, keys, x, y, std::cos(a), std::sin(a));
}

int HatchLine(const ViewState& view, const HatchContours& contours, double x, double y, double len,
              double a, const AddLineFn& add_line) {
  const double angle = UsableAngle(a);
  const Trig trig(angle);
  LineWork work;
  int lines = 0;
  return CutLine(EdgesOf(view), contours, ProbeWith(x, y, len, angle, trig), trig, add_line,
                 nullptr, work, lines);
}

HatchPassResult HatchPass(const ViewState& view, const PolyLines& PLN, const HatchPassInput& in,
                          const AddLineFn& add_line, const HatchServices& services) {
  HatchPassResult result;
  if (!(in.q > 0) || !std::isfinite(in.a) || !UsableView(view)) {
    result.outcome = HatchPassOutcome::Unusable;
    return result;
  }
  const double a = UsableAngle(in.a);
  const Trig trig(a);
  const double len = static_cast<double>(in.W) * in.W + static_cast<double>(in.H) * in.H;
  HatchContours contours(view, PLN);
  contours.IndexAcross(a, len, in.q);
  // Segments whose coordinates overflow cannot be indexed, nor cut sensibly.
  if (contours.SegmentCount() > 0 && !contours.Indexed()) {
    result.outcome = HatchPassOutcome::Unusable;
    return result;
  }
  if (contours.Indexed() && TooDense(contours, in.q)) {
    result.outcome = HatchPassOutcome::TooDense;
    return result;
  }
  const ViewEdges edges = EdgesOf(view);
  LineWork work;
  auto line = [&](const HatchProbe& probe) {
    return CutLine(edges, contours, probe, trig, add_line, in.snap, work, result.lines);
  };
  auto stopped = [&] {
    if (!CheckStop(services.stop)) return false;
    Beep(services);
    result.outcome = HatchPassOutcome::Stopped;
    return true;
  };

  const double x0 = PixelToDrawX(view, in.HatX), y0 = PixelToDrawY(view, in.HatY);
  // The lines from the pass-through point out to both sides.
  auto lay = [&] {
    line(ProbeWith(x0, y0, len, a, trig));
    if (stopped()) return;
    // Without contours no further line can cross anything.
    if (contours.SegmentCount() == 0) return;
    for (const double side : {kPi / 2, -kPi / 2}) {
      const double dx = in.q * std::cos(a + side), dy = in.q * std::sin(a + side);
      // The normal the contours are indexed across is (-sin a, cos a): this side walks with it
      // or against it.
      const int ahead = side > 0 ? 1 : -1;
      double x = x0, y = y0;
      long before = 0, laid = 0;
      while (laid <= kMaxHatchLines + 2) {
        const double nx = x + dx, ny = y + dy;
        if (!std::isfinite(nx) || !std::isfinite(ny) || (nx == x && ny == y)) break;
        x = nx;
        y = ny;
        const HatchProbe probe = ProbeWith(x, y, len, a, trig);
        const int beside = contours.Beside(probe);
        if (beside == ahead) break;  // every contour lies behind
        if (beside == -ahead) {
          // Nothing to cut yet; a line that misses the view still ends the walk.
          if (!SeesView(probe, edges)) break;
          if (++before == kMaxWalkToContours) {
            // Straight to the last line before the contours; the lines jumped over are all
            // before them.
            const double t = -trig.sin_a * x + trig.cos_a * y;
            const double gap = ahead > 0 ? contours.Start() - t : t - contours.End();
            const double steps = std::floor(gap / in.q) - 1;
            if (steps > 0) {
              x += steps * dx;
              y += steps * dy;
            }
          }
          continue;
        }
        ++laid;
        const int r = line(probe);
        if (stopped()) return;
        if (r == -1) break;
      }
    }
  };
  lay();
  if (in.snap && !work.waiting.empty()) HandOver(work, *in.snap, trig, add_line);
  return result;
}

}  // namespace vardo
