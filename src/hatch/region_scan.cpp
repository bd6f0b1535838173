// Region marking, the edge scan that reduces every area to its outline, and contour tracing.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "hatch/hatch.h"

namespace vardo {

namespace {

// Polling the key for every pixel would cost more than the scan itself; a held key is still
// noticed within microseconds.
constexpr int kScanPollEvery = 256;

void Beep(const HatchServices& s) {
  if (s.beep) s.beep();
}

constexpr int kStepX[9] = {-1, 0, 1, -1, 0, 1, -1, 0, 1};
constexpr int kStepY[9] = {-1, -1, -1, 0, 0, 0, 1, 1, 1};

// The order neighbours are tried in, by the direction of the last step; the way back is never
// among them.
constexpr NeighbourOrder kOrders[9] = {
    {0, 3, 1, 6, 2, 7, 5},  // 0 up-left
    {1, 0, 2, 3, 5, 6, 8},  // 1 up
    {2, 1, 5, 0, 8, 3, 7},  // 2 up-right
    {3, 6, 0, 7, 1, 8, 2},  // 3 left
    {},                     // 4 is never a direction
    {5, 2, 8, 1, 7, 0, 6},  // 5 right
    {6, 7, 3, 8, 0, 5, 1},  // 6 down-left
    {7, 8, 6, 5, 3, 2, 0},  // 7 down
    {8, 7, 5, 6, 2, 3, 1},  // 8 down-right
};
constexpr NeighbourOrder kFirstStepOrder = {8, 3, 1, 6, 2, 7, 5};

// Columns [begin, end) of one row: original holds the row as it was, above and below the
// original rows around it (white beyond the surface).
void EraseSpan(uint32_t* row, const uint32_t* original, const uint32_t* above,
               const uint32_t* below, int begin, int end, int width) {
  auto same = [&](int x, uint32_t left, uint32_t right) {
    const uint32_t p = original[x];
    return p == left && p == right && p == above[x] && p == below[x];
  };
  int x = begin;
  if (x == 0 && x < end) {
    if (same(0, kHatchEraseColor, width > 1 ? original[1] : kHatchEraseColor)) {
      row[0] = kHatchEraseColor;
    }
    ++x;
  }
  const int inner_end = std::min(end, width - 1);
  for (; x < inner_end; ++x) {
    const uint32_t p = original[x];
    const bool erase =
        (p == original[x - 1]) & (p == original[x + 1]) & (p == above[x]) & (p == below[x]);
    row[x] = erase ? kHatchEraseColor : p;
  }
  if (x < end && same(x, original[x - 1], kHatchEraseColor)) row[x] = kHatchEraseColor;
}

NeighbourPixels ReadNeighbours(const Surface& s, int x, int y) {
  NeighbourPixels n;
  const int w = s.Width(), h = s.Height();
  if (x > 0 && y > 0 && x < w - 1 && y < h - 1) {
    const uint32_t* up = s.Row(y - 1) + x;
    const uint32_t* mid = s.Row(y) + x;
    const uint32_t* down = s.Row(y + 1) + x;
    n = {up[-1], up[0], up[1], mid[-1], mid[0], mid[1], down[-1], down[0], down[1]};
    return n;
  }
  for (int k = 0; k < 9; ++k)
    n[k] = s.GetPixel(x + kStepX[k], y + kStepY[k]);
  return n;
}

}  // namespace

void MarkRegion(Canvas& canvas, int x, int y) {
  canvas.brush() = Brush{kHatchMarkColor, BrushStyle::Solid};
  canvas.FloodFill(x, y, kHatchBorderColor);
}

bool ScanInterior(Surface& screen, const HatchServices& services) {
  const int w = screen.Width(), h = screen.Height();
  const std::vector<uint32_t> white(static_cast<size_t>(w), kHatchEraseColor);
  // The rows as they were before the scan touched them: the one above and the current one.
  std::vector<uint32_t> above = white;
  std::vector<uint32_t> current(static_cast<size_t>(w));
  for (int y = 0; y < h; ++y) {
    if (CheckStop(services.stop)) {
      Beep(services);
      return true;
    }
    if (services.process_messages) services.process_messages();
    uint32_t* row = screen.Row(y);
    std::copy(row, row + w, current.begin());
    const uint32_t* below = y + 1 < h ? screen.Row(y + 1) : white.data();
    for (int x = 0; x < w; x += kScanPollEvery) {
      if (CheckStop(services.stop)) break;
      EraseSpan(row, current.data(), above.data(), below, x, std::min(w, x + kScanPollEvery), w);
    }
    // Even when Esc cut the row short, the next row is judged against this row's own colours.
    std::swap(above, current);
  }
  return false;
}

int NextEdgePixel(const NeighbourPixels& neighbours, const NeighbourOrder& order) {
  for (int k : order) {
    if (neighbours[static_cast<size_t>(k)] == kHatchMarkColor) return k;
  }
  return -1;
}

bool TraceOneEdge(Surface& screen, TPolyLineField& contour, size_t& search_from) {
  const int w = screen.Width();
  const size_t total = static_cast<size_t>(w) * static_cast<size_t>(screen.Height());
  if (search_from >= total) return false;
  uint32_t* pixels = screen.Pixels();
  const uint32_t* found = std::find(pixels + search_from, pixels + total, kHatchMarkColor);
  search_from = static_cast<size_t>(found - pixels);
  if (search_from == total) return false;

  const int x0 = static_cast<int>(search_from % static_cast<size_t>(w));
  const int y0 = static_cast<int>(search_from / static_cast<size_t>(w));
  contour.p.assign(1, TPolyField{x0, y0});
  int x = x0, y = y0, direction = 0;
  bool first_step = true;
  // Only blue neighbours are stepped to and a read outside is never blue, so the walk stays on
  // the surface; every step turns a blue pixel red, so it ends.
  for (;;) {
    screen.Row(y)[x] = kHatchTracedColor;
    const NeighbourPixels around = ReadNeighbours(screen, x, y);
    int k = NextEdgePixel(around, kOrders[direction]);
    if (k < 0 && first_step) k = NextEdgePixel(around, kFirstStepOrder);
    if (k < 0) break;
    x += kStepX[k];
    y += kStepY[k];
    contour.p.push_back({x, y});
    direction = k;
    first_step = false;
  }
  if (std::abs(x - x0) <= 1 && std::abs(y - y0) <= 1) contour.p.push_back({x0, y0});
  return true;
}

bool TraceEdges(Surface& screen, PolyLines& PLN, const HatchServices& services) {
  PLN.clear();
  size_t search_from = 0;
  for (;;) {
    if (CheckStop(services.stop)) {
      Beep(services);
      return true;
    }
    TPolyLineField contour;
    if (!TraceOneEdge(screen, contour, search_from)) return false;
    PLN.push_back(std::move(contour));
  }
}

}  // namespace vardo
