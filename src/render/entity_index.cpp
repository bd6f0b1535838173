// The entity index: boxes round what each entity draws, a packed Hilbert R-tree over them, and
// the entities appended after it was built.
#include "render/entity_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <string_view>

#include "common/image_text.h"
#include "common/text_helpers.h"
#include "render/graphics.h"
#include "render/renderer.h"

namespace vardo {

namespace {

constexpr size_t kNodeSize = 16;
constexpr int kIndexBits = 28;  // an entry names its table in the top four bits
constexpr uint32_t kIndexMask = (uint32_t{1} << kIndexBits) - 1;
constexpr double kInf = std::numeric_limits<double>::infinity();
// Farthest a mark figure reaches from its point, in units of its size: the arrowheads' corners
// (7.5, 1.25); every other figure stays within the reverse curve's 2.5 * sqrt(2).
constexpr double kArrowReach = 7.61;
constexpr double kFigureReach = 3.54;
// Relative slack for points computed with cosines and sines rather than given.
constexpr double kComputedSlack = 1e-9;

double Radians(double degrees) {
  return degrees / 180 * 3.14159265358979323846;
}

// A box in doubles while it is gathered: empty until the first point; any point that is not
// finite makes it unbounded.
class Extent {
 public:
  void Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) {
      unbounded_ = true;
      return;
    }
    x0_ = std::min(x0_, x), y0_ = std::min(y0_, y);
    x1_ = std::max(x1_, x), y1_ = std::max(y1_, y);
  }
  // The square of half side r about (x, y).
  void AddDisc(double x, double y, double r) {
    r = std::fabs(r);
    Add(x - r, y - r);
    Add(x + r, y + r);
  }
  // The ellipse with semi-axes a and b, the first turned by tilt, centred on (x, y).
  void AddEllipse(double x, double y, double a, double b, double tilt) {
    a = std::fabs(a), b = std::fabs(b);
    double hx = a, hy = b;
    if (tilt != 0) {
      const double c = std::fabs(std::cos(tilt)), s = std::fabs(std::sin(tilt));
      hx = a * c + b * s;
      hy = a * s + b * c;
    }
    const double slack = kComputedSlack * (std::fabs(x) + std::fabs(y) + a + b);
    Add(x - hx - slack, y - hy - slack);
    Add(x + hx + slack, y + hy + slack);
  }
  void Unbounded() { unbounded_ = true; }

  bool empty() const { return !unbounded_ && x0_ > x1_; }
  bool unbounded() const { return unbounded_; }
  double x0() const { return unbounded_ ? -kInf : x0_; }
  double y0() const { return unbounded_ ? -kInf : y0_; }
  double x1() const { return unbounded_ ? kInf : x1_; }
  double y1() const { return unbounded_ ? kInf : y1_; }

 private:
  double x0_ = kInf, y0_ = kInf, x1_ = -kInf, y1_ = -kInf;
  bool unbounded_ = false;
};

// Floats that round outwards, so that a box never shrinks in the conversion.
float Down(double v) {
  float f = static_cast<float>(v);
  if (static_cast<double>(f) > v) f = std::nextafter(f, -std::numeric_limits<float>::infinity());
  return f;
}

float Up(double v) {
  float f = static_cast<float>(v);
  if (static_cast<double>(f) < v) f = std::nextafter(f, std::numeric_limits<float>::infinity());
  return f;
}

// --- what each kind draws ---

void AddLine(Extent& box, const TJGdata& doc, const TEntLine& e) {
  const double s = doc.ScaleOf(e.att.LGrp);
  box.Add(e.x1 / s, e.y1 / s);
  box.Add(e.x2 / s, e.y2 / s);
}

// A text's characters advance by at most (width + spacing) / 2 per half-width unit, with
// measured advances allowed twice that; a few cells more cover the glyphs' own size, raised
// and overlaid characters and ink beyond the cells. All of it from the base point, on either
// side, as mirrored texts run backwards from their end point.
void AddText(Extent& box, const TJGdata& doc, const TEntText& e) {
  if (IsImageText(e.st)) {
    const ImageText image = ReadImageText(e.st);
    const double s = doc.ScaleOf(e.att.LGrp);
    const double left = e.x1 / s, bottom = e.y1 / s;
    box.Add(left, bottom);
    box.Add(left + image.f1, bottom + image.f2);
    return;
  }
  const int units = HalfWidthCount(e.st);
  if (units == 0) return;
  // Codes such as a file name replace the whole text by one of any length.
  if (std::u16string_view(u"$&%_=").find(e.st[0]) != std::u16string_view::npos) {
    box.Unbounded();
    return;
  }
  const TextBaseline b = PlaceText(doc, e);
  const double w = std::fabs(e.mw), h = std::fabs(e.mh), d = std::fabs(e.md);
  const double reach = std::hypot(b.ex - b.bx, b.ey - b.by) + 2 * units * (w + h + d) + 4 * (w + h);
  box.AddDisc(b.bx, b.by, reach);
}

// The radius of a point figure (mark code 0) before its one-pixel least size.
double PointRadius(const TgraAttribute& attr, int wid, int col) {
  const double w = wid != 0 ? wid * 0.01 : attr.GetAttrColwid(col);
  return std::max(w / 2 + attr.GetAttrColten(col), 0.0);
}

void AddMark(Extent& box, const TgraAttribute& attr, double x, double y, const TEntMark& e) {
  const double u = e.bai > 1e-10 ? e.bai : 1.0;
  double reach = kFigureReach * u;
  switch (e.cod) {
    case 0:
      reach = PointRadius(attr, e.att.Wid, e.att.Col);
      break;
    case -3:
      reach = std::max(attr.GetAttrColwid(e.att.Col) * u, 0.0);
      break;
    case 1:
    case 6:
    case 9:
    case 11:
      reach = kArrowReach * u;
      break;
  }
  box.AddDisc(x, y, reach * (1 + kComputedSlack) + kComputedSlack * (std::fabs(x) + std::fabs(y)));
}

template <typename Solid>
void AddSolidArc(Extent& box, const TJGdata& doc, const Solid& e, int kind, double extra) {
  const double s = doc.ScaleOf(e.att.LGrp);
  std::vector<TGraph_Point> ring;
  SolidArcRing(kind, e.cx / s, e.cy / s, e.cr / s, e.he, e.ka, e.sa, e.da, extra, ring);
  for (const TGraph_Point& p : ring)
    box.Add(p.x, p.y);
}

size_t TableSize(const TJGdata& doc, int table) {
  switch (table) {
    case kTableText:
      return doc.EntText.size();
    case kTableSld2:
      return doc.EntSld2.size();
    case kTableSld3:
      return doc.EntSld3.size();
    case kTableSld4:
      return doc.EntSld4.size();
    case kTableSldC:
      return doc.EntSldC.size();
    case kTableSldE:
      return doc.EntSldE.size();
    case kTableSldO:
      return doc.EntSldO.size();
    case kTableSldG:
      return doc.EntSldG.size();
    case kTableLine:
      return doc.EntLine.size();
    case kTableCirc:
      return doc.EntCirc.size();
    case kTableArc:
      return doc.EntArc.size();
    case kTablePnt:
      return doc.EntPnt.size();
    case kTableMark:
      return doc.EntMark.size();
    case kTableDim:
      return doc.EntDim.size();
  }
  return 0;
}

// The box round what entity i of a table draws.
Extent EntityExtent(const TJGdata& doc, const TgraAttribute& attr, int table, size_t i) {
  Extent box;
  switch (table) {
    case kTableText:
      AddText(box, doc, doc.EntText[i]);
      break;
    case kTableSld2: {
      const TEntSld2& e = doc.EntSld2[i];
      const double s = doc.ScaleOf(e.att.LGrp);
      box.Add(e.x1 / s, e.y1 / s);
      box.Add(e.x2 / s, e.y2 / s);
      break;
    }
    case kTableSld3: {
      const TEntSld3& e = doc.EntSld3[i];
      const double s = doc.ScaleOf(e.att.LGrp);
      box.Add(e.x1 / s, e.y1 / s);
      box.Add(e.x2 / s, e.y2 / s);
      box.Add(e.x3 / s, e.y3 / s);
      break;
    }
    case kTableSld4: {
      const TEntSld4& e = doc.EntSld4[i];
      const double s = doc.ScaleOf(e.att.LGrp);
      box.Add(e.x1 / s, e.y1 / s);
      box.Add(e.x2 / s, e.y2 / s);
      box.Add(e.x3 / s, e.y3 / s);
      box.Add(e.x4 / s, e.y4 / s);
      break;
    }
    case kTableSldC:
      AddSolidArc(box, doc, doc.EntSldC[i], kSolidArcFilled, doc.EntSldC[i].fl);
      break;
    case kTableSldE:
      AddSolidArc(box, doc, doc.EntSldE[i], kSolidArcOutline, doc.EntSldE[i].fl);
      break;
    case kTableSldO: {
      const TEntSldD& e = doc.EntSldO[i];
      AddSolidArc(box, doc, e, kSolidArcRing, e.ri / doc.ScaleOf(e.att.LGrp));
      break;
    }
    case kTableSldG: {
      const TEntSldD& e = doc.EntSldG[i];
      AddSolidArc(box, doc, e, kSolidArcRingParallel, e.ri / doc.ScaleOf(e.att.LGrp));
      break;
    }
    case kTableLine:
      AddLine(box, doc, doc.EntLine[i]);
      break;
    case kTableCirc: {
      const TEntCircle& e = doc.EntCirc[i];
      const double s = doc.ScaleOf(e.att.LGrp);
      box.AddEllipse(e.cx / s, e.cy / s, e.cr / s, e.cr / s, 0);
      break;
    }
    case kTableArc: {
      const TEntArc& e = doc.EntArc[i];
      const double s = doc.ScaleOf(e.att.LGrp);
      // Every chord of an arc lies within its full ellipse.
      box.AddEllipse(e.cx / s, e.cy / s, e.cr / s, e.cr / s * e.he, Radians(e.ka));
      break;
    }
    case kTablePnt: {
      const TEntPnt& e = doc.EntPnt[i];
      const double s = doc.ScaleOf(e.att.LGrp);
      const double x = e.px / s, y = e.py / s;
      const double r = PointRadius(attr, e.att.Wid, e.att.Col);
      box.AddDisc(x, y, r * (1 + kComputedSlack) + kComputedSlack * (std::fabs(x) + std::fabs(y)));
      break;
    }
    case kTableMark: {
      const TEntMark& e = doc.EntMark[i];
      const double s = doc.ScaleOf(e.att.LGrp);
      AddMark(box, attr, e.px / s, e.py / s, e);
      break;
    }
    case kTableDim:
      AddLine(box, doc, doc.EntDim[i].lin);
      AddText(box, doc, doc.EntDim[i].txt);
      break;
  }
  return box;
}

// Position of the cell (x, y), both below 2^16, along a Hilbert curve over 2^16 x 2^16 cells;
// the curve's state is followed for all bits at once rather than bit by bit.
uint32_t HilbertIndex(uint32_t x, uint32_t y) {
  uint32_t a = x ^ y;
  uint32_t b = 0xFFFF ^ a;
  uint32_t c = 0xFFFF ^ (x | y);
  uint32_t d = x & (y ^ 0xFFFF);
  uint32_t A = a | (b >> 1);
  uint32_t B = (a >> 1) ^ a;
  uint32_t C = ((c >> 1) ^ (b & (d >> 1))) ^ c;
  uint32_t D = ((a & (c >> 1)) ^ (d >> 1)) ^ d;
  a = A, b = B, c = C, d = D;
  A = (a & (a >> 2)) ^ (b & (b >> 2));
  B = (a & (b >> 2)) ^ (b & ((a ^ b) >> 2));
  C ^= (a & (c >> 2)) ^ (b & (d >> 2));
  D ^= (b & (c >> 2)) ^ ((a ^ b) & (d >> 2));
  a = A, b = B, c = C, d = D;
  A = (a & (a >> 4)) ^ (b & (b >> 4));
  B = (a & (b >> 4)) ^ (b & ((a ^ b) >> 4));
  C ^= (a & (c >> 4)) ^ (b & (d >> 4));
  D ^= (b & (c >> 4)) ^ ((a ^ b) & (d >> 4));
  a = A, b = B, c = C, d = D;
  C ^= (a & (c >> 8)) ^ (b & (d >> 8));
  D ^= (b & (c >> 8)) ^ ((a ^ b) & (d >> 8));
  a = C ^ (C >> 1);
  b = D ^ (D >> 1);
  uint32_t i0 = x ^ y;
  uint32_t i1 = b | (0xFFFF ^ (i0 | a));
  auto spread = [](uint32_t v) {
    v = (v | (v << 8)) & 0x00FF00FF;
    v = (v | (v << 4)) & 0x0F0F0F0F;
    v = (v | (v << 2)) & 0x33333333;
    return (v | (v << 1)) & 0x55555555;
  };
  return (spread(i1) << 1) | spread(i0);
}

// Sorts by the top 32 bits, stable, eleven bits at a time.
void RadixSortByHighHalf(std::vector<uint64_t>& v) {
  constexpr int kBits = 11;
  constexpr size_t kBuckets = size_t{1} << kBits;
  std::vector<uint64_t> scratch(v.size());
  std::vector<size_t> counts(kBuckets + 1);
  for (int shift = 32; shift < 64; shift += kBits) {
    std::fill(counts.begin(), counts.end(), 0);
    for (uint64_t x : v)
      ++counts[((x >> shift) & (kBuckets - 1)) + 1];
    for (size_t b = 0; b < kBuckets; ++b)
      counts[b + 1] += counts[b];
    for (uint64_t x : v)
      scratch[counts[(x >> shift) & (kBuckets - 1)]++] = x;
    v.swap(scratch);
  }
}

// The number of boxes of a tree over n entities: theirs and those of every level above.
size_t TreeBoxes(size_t n) {
  size_t total = n;
  for (size_t count = n; count > 1;) {
    count = (count + kNodeSize - 1) / kNodeSize;
    total += count;
  }
  return total;
}

}  // namespace

bool SurfaceRect(const ViewState& view, int width, int row0, int row1, DrawRect& rect) {
  const double scale = view.ViewScale;
  if (!(scale > 0) || !std::isfinite(scale) || !std::isfinite(view.ViewXmin) ||
      !std::isfinite(view.ViewYmin)) {
    return false;
  }
  // The mapping subtracts the window's corner before scaling; its rounding at coordinates far
  // from the origin is covered by a slack in proportion to them.
  const double slack = 4 * std::numeric_limits<double>::epsilon() *
                       (std::fabs(view.ViewXmin) + std::fabs(view.ViewYmin));
  const double m = kEntityMarginPixels;
  rect.xmin = view.ViewXmin + (0 - m) / scale - slack;
  rect.xmax = view.ViewXmin + (width + m) / scale + slack;
  rect.ymin = view.ViewYmin + (static_cast<double>(view.ViewHeight) - row1 - m) / scale - slack;
  rect.ymax = view.ViewYmin + (static_cast<double>(view.ViewHeight) - row0 + m) / scale + slack;
  return std::isfinite(rect.xmin) && std::isfinite(rect.xmax) && std::isfinite(rect.ymin) &&
         std::isfinite(rect.ymax);
}

size_t EntitySet::Count() const {
  size_t n = 0;
  for (const std::vector<uint64_t>& bits : bits_) {
    for (uint64_t word : bits)
      n += static_cast<size_t>(__builtin_popcountll(word));
  }
  return n;
}

void EntitySet::Reset(const std::array<size_t, kEntityTables>& sizes) {
  for (int t = 0; t < kEntityTables; ++t)
    bits_[t].assign((sizes[t] + 63) / 64, 0);
}

void EntityIndex::Build(const TJGdata& doc, const TgraAttribute& attr) {
  built_ = ++clock_;
  cuts_.clear();
  BuildTree(doc, attr);
}

size_t EntityIndex::KeptSince(EntityTable t, uint64_t mark, size_t size) const {
  if (mark < built_) return 0;
  for (const Cut& c : cuts_) {
    if (c.when > mark && c.table == t) size = std::min(size, c.kept);
  }
  return size;
}

void EntityIndex::BuildTree(const TJGdata& doc, const TgraAttribute& attr) {
  boxes_.clear();
  ids_.clear();
  level_start_.clear();
  extras_.clear();
  for (int t = 0; t < kEntityTables; ++t) {
    sizes_[t] = TableSize(doc, t);
    // A table too long for the entries' index bits is left to the extras.
    tree_live_[t] = std::min<size_t>(sizes_[t], kIndexMask + 1);
  }

  // The entities' boxes in table order, and where their centres fall. Everything is built in
  // place: a million entities make these arrays large.
  const size_t live = std::accumulate(tree_live_.begin(), tree_live_.end(), size_t{0});
  boxes_.reserve(TreeBoxes(live));
  ids_.reserve(live);
  double cx0 = kInf, cy0 = kInf, cx1 = -kInf, cy1 = -kInf;
  for (int t = 0; t < kEntityTables; ++t) {
    for (size_t i = 0; i < tree_live_[t]; ++i) {
      const Extent e = EntityExtent(doc, attr, t, i);
      if (e.empty()) continue;
      boxes_.push_back({Down(e.x0()), Down(e.y0()), Up(e.x1()), Up(e.y1())});
      ids_.push_back(static_cast<uint32_t>(t) << kIndexBits | static_cast<uint32_t>(i));
      if (e.unbounded()) continue;
      const double cx = (e.x0() + e.x1()) / 2, cy = (e.y0() + e.y1()) / 2;
      cx0 = std::min(cx0, cx), cy0 = std::min(cy0, cy);
      cx1 = std::max(cx1, cx), cy1 = std::max(cy1, cy);
    }
    AddExtras(doc, attr, t, tree_live_[t], sizes_[t]);
  }
  const size_t n = ids_.size();
  if (n == 0) return;

  // Neighbours on the curve are neighbours in the drawing, so each node's box stays small.
  // Each entry: the curve position in the top half, the entity's place in the bottom half.
  std::vector<uint64_t> order(n);
  const double w = cx1 - cx0, h = cy1 - cy0;
  // Centres out of the range of doubles, and extents that overflow it, go to the ends.
  auto cell = [](double v, double lo, double span) {
    const double t = (v - lo) / span;
    if (!(t > 0)) return uint32_t{0};
    return t >= 1 ? uint32_t{65535} : static_cast<uint32_t>(t * 65535);
  };
  for (size_t k = 0; k < n; ++k) {
    const Box& b = boxes_[k];
    const double cx = (static_cast<double>(b.x0) + b.x1) / 2;
    const double cy = (static_cast<double>(b.y0) + b.y1) / 2;
    order[k] = uint64_t{HilbertIndex(cell(cx, cx0, w), cell(cy, cy0, h))} << 32 | k;
  }
  RadixSortByHighHalf(order);

  // Entity order[k] moves to place k, one cycle of the permutation at a time; the top bit marks
  // the places done.
  constexpr uint64_t kDone = uint64_t{1} << 63;
  for (uint64_t& entry : order)
    entry &= 0xFFFFFFFF;
  for (size_t start = 0; start < n; ++start) {
    if ((order[start] & kDone) != 0) continue;
    const Box box = boxes_[start];
    const uint32_t id = ids_[start];
    size_t at = start;
    for (;;) {
      const size_t from = order[at] & 0xFFFFFFFF;
      order[at] |= kDone;
      if (from == start) {
        boxes_[at] = box;
        ids_[at] = id;
        break;
      }
      boxes_[at] = boxes_[from];
      ids_[at] = ids_[from];
      at = from;
    }
  }
  order = {};

  // Each level above: one box per run of kNodeSize boxes below.
  level_start_.push_back(0);
  size_t begin = 0, end = n;
  while (end - begin > 1) {
    level_start_.push_back(end);
    for (size_t k = begin; k < end; k += kNodeSize) {
      Box node = boxes_[k];
      for (size_t c = k + 1; c < std::min(k + kNodeSize, end); ++c) {
        const Box& b = boxes_[c];
        node.x0 = std::min(node.x0, b.x0), node.y0 = std::min(node.y0, b.y0);
        node.x1 = std::max(node.x1, b.x1), node.y1 = std::max(node.y1, b.y1);
      }
      boxes_.push_back(node);
    }
    begin = end;
    end = boxes_.size();
  }
}

void EntityIndex::AddExtras(const TJGdata& doc, const TgraAttribute& attr, int table, size_t from,
                            size_t to) {
  for (size_t i = from; i < to; ++i) {
    const Extent e = EntityExtent(doc, attr, table, i);
    if (e.empty()) continue;
    extras_.push_back({table, i, {Down(e.x0()), Down(e.y0()), Up(e.x1()), Up(e.y1())}});
  }
}

void EntityIndex::Update(const TJGdata& doc, const TgraAttribute& attr) {
  for (int t = 0; t < kEntityTables; ++t) {
    const size_t n = TableSize(doc, t);
    if (n < sizes_[t]) {
      // Entries of the tree past the end stay dead even when their indices come back.
      tree_live_[t] = std::min(tree_live_[t], n);
      cuts_.push_back({++clock_, t, n});
      std::erase_if(extras_, [&](const Extra& x) { return x.table == t && x.index >= n; });
    } else if (n > sizes_[t]) {
      AddExtras(doc, attr, t, sizes_[t], n);
    }
    sizes_[t] = n;
  }
  // The extras are searched one by one; once they outweigh a small part of the tree, a new
  // tree is cheaper than searching them.
  if (extras_.size() > 1024 + ids_.size() / 16) BuildTree(doc, attr);
}

template <typename Found>
void EntityIndex::Search(const DrawRect& rect, Found&& found) const {
  const Box q{Down(rect.xmin), Down(rect.ymin), Up(rect.xmax), Up(rect.ymax)};
  auto meets = [&q](const Box& b) {
    return b.x0 <= q.x1 && b.x1 >= q.x0 && b.y0 <= q.y1 && b.y1 >= q.y0;
  };
  auto within = [&q](const Box& b) {
    return b.x0 >= q.x0 && b.x1 <= q.x1 && b.y0 >= q.y0 && b.y1 <= q.y1;
  };
  // An entry of the tree that a removal and an Update left behind is no longer live.
  auto mark = [&](size_t item) {
    const uint32_t id = ids_[item];
    const int table = static_cast<int>(id >> kIndexBits);
    const size_t i = id & kIndexMask;
    if (i < tree_live_[table]) found(table, i);
  };
  for (const Extra& x : extras_) {
    if (meets(x.box)) found(x.table, x.index);
  }
  if (ids_.empty()) return;

  // Depth first from the root; a node wholly inside the rectangle takes its whole subtree.
  struct Node {
    int level;
    size_t index;  // within its level
  };
  std::vector<Node> stack{{static_cast<int>(level_start_.size()) - 1, 0}};
  while (!stack.empty()) {
    const Node node = stack.back();
    stack.pop_back();
    const Box& b = boxes_[level_start_[static_cast<size_t>(node.level)] + node.index];
    if (!meets(b)) continue;
    if (node.level == 0) {
      mark(node.index);
      continue;
    }
    if (within(b)) {
      size_t first = node.index, last = node.index + 1;
      for (int l = 0; l < node.level; ++l) {
        first *= kNodeSize;
        last *= kNodeSize;
      }
      last = std::min(last, ids_.size());
      for (size_t k = first; k < last; ++k)
        mark(k);
      continue;
    }
    const size_t below = static_cast<size_t>(node.level) - 1;
    const size_t level_size = level_start_[below + 1] - level_start_[below];
    const size_t first = node.index * kNodeSize;
    const size_t last = std::min(first + kNodeSize, level_size);
    for (size_t c = last; c > first; --c)
      stack.push_back({node.level - 1, c - 1});
  }
}

void EntityIndex::Query(const DrawRect& rect, EntitySet& found) const {
  found.Reset(sizes_);
  Search(rect, [&found](int table, size_t i) { found.Add(table, i); });
}

void EntityIndex::Query(const DrawRect& rect, std::vector<EntityRef>& found) const {
  found.clear();
  Search(rect, [&found](int table, size_t i) {
    found.push_back({static_cast<EntityTable>(table), i});
  });
}

}  // namespace vardo
