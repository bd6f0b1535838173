// The hatch engine: marking regions on the screen, tracing their outlines into pixel contours,
// reducing those to straight runs, and cutting families of parallel hatch lines by them.
//
// A run, as the form's Button3Click drives it (the status texts, counters and the abort path
// stay with the form):
//
//   ScanInterior(screen, services);          then poll Esc: held -> abort
//   TraceEdges(screen, PLN, services);       then poll Esc: held -> abort
//   ProcessEdges(PLN);
//   HatchPass(view, PLN, {HatX, HatY, q, a, W, H}, add_line, services);
//                                            Stopped -> abort; TooDense/Unusable -> refused
//   (cross hatch: a second HatchPass with the second spacing and angle)
//
// FillRegion calls MarkRegion(canvas, X, Y) after its monochrome check and then sets HatX, HatY.
// add_line is where the form appends the piece to the document (A_Line) and counts AddLineN;
// HatchPassResult::lines says how many it was handed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "common/view_state.h"
#include "render/canvas.h"
#include "render/surface.h"

namespace vardo {

// Screen colours the engine writes and compares exactly (0x00BBGGRR).
inline constexpr uint32_t kHatchMarkColor = 0x00FF0000;    // blue: marked, not yet traced
inline constexpr uint32_t kHatchTracedColor = 0x000000FF;  // red: traced
inline constexpr uint32_t kHatchBorderColor = 0x00000000;  // black: what bounds a marked region
inline constexpr uint32_t kHatchEraseColor = 0x00FFFFFF;   // white: erased interior, and outside

// One contour point: paint-box column and row (downwards).
struct TPolyField {
  int x = 0;
  int y = 0;
  bool operator==(const TPolyField&) const = default;
};

// One traced contour; a closed one repeats its first point at the end.
struct TPolyLineField {
  std::vector<TPolyField> p;
  int n() const { return static_cast<int>(p.size()); }
};

// The form's PLN: the contours in the order found.
using PolyLines = std::vector<TPolyLineField>;

// What the engine needs from the window: any member may be left empty (never stops, silent,
// no message pumping).
struct HatchServices {
  StopPoll stop;                           // is Esc held down now?
  std::function<void()> beep;              // MessageBeep(0xFFFF)
  std::function<void()> process_messages;  // let pending window messages run
};

// ---- Region marking ------------------------------------------------------------------------

// Floods the region around (x, y) in blue up to black pixels; the canvas keeps the blue solid
// brush afterwards.
void MarkRegion(Canvas& canvas, int x, int y);

// ---- Edge scan and contour tracing -----------------------------------------------------------

// Erases to white every pixel whose four edge neighbours all have its colour, judged on the
// picture as it was when the scan began (outside counts as white), so every uniformly coloured
// area keeps only its one-pixel outline. Esc is polled before each row (held: beep, end) and
// every few hundred pixels within a row (held: the rest of the row is left as it is); pending
// messages run once per row. True when Esc ended the scan.
bool ScanInterior(Surface& screen, const HatchServices& services);

// Rebuilds PLN from the blue pixels: one contour per chain, each traced pixel turned red. Esc is
// polled before each contour (held: beep, stop; the contours so far stay). True when Esc ended
// the tracing.
bool TraceEdges(Surface& screen, PolyLines& PLN, const HatchServices& services);

// Finds the first blue pixel at or after row-major pixel index search_from, traces the chain
// starting there into contour (replacing its points) and leaves search_from at that start pixel.
// Blue pixels only ever turn red, so a caller that keeps search_from between contours finds the
// same starts as one that searches from the top (index 0) each time. False when no blue pixel
// is left.
bool TraceOneEdge(Surface& screen, TPolyLineField& contour, size_t& search_from);

// Neighbourhood indices of the 3 x 3 pixels around a point, row by row from the top left
// (4 is the point itself).
using NeighbourPixels = std::array<uint32_t, 9>;
using NeighbourOrder = std::array<int, 7>;

// The first index in order whose pixel is blue, or -1.
int NextEdgePixel(const NeighbourPixels& neighbours, const NeighbourOrder& order);

// ---- Edge processing -------------------------------------------------------------------------

// Replaces every contour by the ends of its digital straight runs (first point, run ends, last
// point); drops contours of fewer than three points and out-and-back spurs a, b, a.
void ProcessEdges(PolyLines& PLN);

// ---- Hatch generation ------------------------------------------------------------------------

// A point in drawing coordinates (paper millimetres, y upwards).
struct HatchPoint {
  double x = 0;
  double y = 0;
};

// Pieces no longer than this (drawing units) are not handed over.
inline constexpr double kShortestHatchPiece = 1e-7;

// One piece of a hatch line, from p to q.
struct HatchPiece {
  HatchPoint p, q;
};

// Receives every hatch piece, in drawing coordinates.
using AddLineFn = std::function<void(double x1, double y1, double x2, double y2)>;

// The segment a hatch line is cut with: from A = (x, y) - len * (cos a, sin a) to
// B = (x, y) + len * (cos a, sin a), laid through (x, y).
struct HatchProbe {
  double x = 0, y = 0, len = 0, a = 0;
  double ax = 0, ay = 0, bx = 0, by = 0;
};
HatchProbe MakeHatchProbe(double x, double y, double len, double a);

// The contours in drawing coordinates, optionally indexed across one hatch direction so that
// each line tests only the segments it can reach.
class HatchContours {
 public:
  HatchContours(const ViewState& view, const PolyLines& PLN);

  // Sorts the segments into bands across lines of angle a laid spacing q apart with probes of
  // length len at most. Without segments or finite coordinates there is no index and every
  // line tests every segment.
  void IndexAcross(double a, double len, double q);
  bool Indexed() const { return indexed_; }

  size_t SegmentCount() const { return segments_.size(); }

  // With the index, positions across the hatch direction, along its unit normal (-sin a,
  // cos a): where the segments' reach starts and ends (lines outside cross none of them), and
  // the sum of each segment's own reach.
  double Start() const { return t0_; }
  double End() const { return t1_; }
  double Spans() const { return spans_; }

  // Where the probe's line lies across the hatch direction: -1 before every segment's reach, 1
  // beyond every one, where it crosses none; 0 within the extent, or when the index does not
  // serve the probe.
  int Beside(const HatchProbe& probe) const;

  // Appends the probe's crossings with the segments in contour order, a crossing at a vertex
  // (not a contour's first point) removed again when the line passes through the vertex rather
  // than touching it. Uses the index
  // when it was built for the probe's angle and a length at least the probe's; the crossings
  // are the same either way. Returns the number of segments tested.
  size_t Crossings(const HatchProbe& probe, std::vector<HatchPoint>& out) const;

 private:
  size_t BandOf(double t) const;
  bool IndexServes(const HatchProbe& probe, double t) const;
  void TestSegment(uint32_t seg, const HatchProbe& probe, std::vector<HatchPoint>& out) const;

  std::vector<HatchPoint> points_;  // every contour's points, one contour after another
  std::vector<uint64_t> segments_;  // index in points_ of each segment's start, the top bit
                                    // set when the start is a contour's first point
  double magnitude_ = 0;            // largest |coordinate| of the view edges and contours

  bool indexed_ = false;
  double index_a_ = 0, index_len_ = 0;
  double nx_ = 0, ny_ = 0;            // unit normal of the hatch direction
  double t0_ = 0, band_ = 1;          // position of the first band and the band width
  double t1_ = 0, spans_ = 0;         // end of the last segment's reach; sum of the reaches
  std::vector<double> lo_, hi_;       // each segment's reach across the hatch direction
  std::vector<uint32_t> band_start_;  // CSR: band b holds band_segments_[start[b] .. start[b+1])
  std::vector<uint32_t> band_segments_;
};

// Orders the crossings by their position along the line through (x, y) at angle a exactly as a
// selection sort that swaps only on a strictly smaller key would (equal keys end up in that
// sort's order), in O(count log count).
void SortCrossings(std::vector<HatchPoint>& crossings, double x, double y, double a);

// One hatch line through (x, y): -1 when its probe misses the view window, otherwise the number
// of crossing pairs looked at; every pair longer than 1e-7 goes to add_line.
int HatchLine(const ViewState& view, const HatchContours& contours, double x, double y, double len,
              double a, const AddLineFn& add_line);

class EndSnap;

struct HatchPassInput {
  int HatX = 0, HatY = 0;  // the pass-through pixel
  double q = 1;            // spacing in drawing units, > 0
  double a = 0;            // angle in radians, anticlockwise
  int W = 0, H = 0;        // paint-box size; the probes are W * W + H * H long
  const EndSnap* snap =
      nullptr;  // when set, moves the ends of every piece before it is handed over
};

enum class HatchPassOutcome {
  Done,
  Stopped,   // Esc: beeped; the lines so far were handed over
  TooDense,  // more lines or crossings than kMaxHatchLines, kMaxHatchCrossings; nothing was
             // handed over
  Unusable,  // spacing not > 0, angle not finite, or no usable view or contours; nothing was
             // handed over
};

struct HatchPassResult {
  HatchPassOutcome outcome = HatchPassOutcome::Done;
  int lines = 0;  // pieces handed to add_line
};

// Bounds against a family that would not finish, judged on the contours before anything is
// laid: the lines across their extent, and the crossings those lines could find (each segment
// is crossed by at most one line per spacing of its reach).
inline constexpr double kMaxHatchLines = 1e6;
inline constexpr double kMaxHatchCrossings = 4e6;

// One family: the line through the pass-through pixel, then lines q apart on either side until
// one misses the view. Lines outside the contours' extent cannot cross them and are not laid:
// the walk ends where the contours lie behind it, and the lines before them are only tested
// against the view. Esc is polled after every line laid.
HatchPassResult HatchPass(const ViewState& view, const PolyLines& PLN, const HatchPassInput& in,
                          const AddLineFn& add_line, const HatchServices& services);

}  // namespace vardo
