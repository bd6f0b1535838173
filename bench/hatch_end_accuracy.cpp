// How far hatch ends lie from the drawing's own lines, with and without the end correction: a
// drawing opened in the headless shell at a fitted view, the given points clicked, hatched at 45
// degrees with a cross family at 135, and every end of every piece measured along its hatch line
// to the nearest exact crossing with the drawing's black geometry. Prints one table row: the
// file, the ends, the largest and median distance of all ends without and with the correction,
// then the ends the correction moved and the same for them, and last the ends it left within
// two pixels of a line (ends it missed; the ends against texts lie further from every line).
//
//   hatch_end_accuracy SPACING FILE X,Y [X,Y]...   (spacing and points in paper units)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "hatch/end_snap.h"
#include "platform/headless/headless_window.h"
#include "render/entity_index.h"
#include "render/entity_outline.h"

namespace {

using namespace vardo;

constexpr int kWidth = 1600, kHeight = 1000;

struct Piece {
  HatchPoint p, q;
};

struct Run {
  std::vector<Piece> pieces;         // paper units
  std::vector<OutlineShape> shapes;  // the drawing's black geometry, paper units
  double pixel = 0;                  // one pixel in paper units
  double file_scale = 1;             // file units per paper unit of the hatch
};

Run Hatch(const std::filesystem::path& file, const std::string& spacing,
          const std::vector<HatchPoint>& clicks, bool snap) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("vardo_accuracy_" + std::to_string(std::random_device()()));
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(file, folder / "JWC_TEMP.TXT");
  Run run;
  {
    HeadlessWindow w((folder / "VardoHatch.exe").u16string(), kWidth, kHeight);
    w.Show();
    TForm1& form = w.form();
    w.Tick(Control::CheckBox1, true);
    const std::u16string q(spacing.begin(), spacing.end());
    w.Type(Control::Edit1, q);
    w.Type(Control::ComboBox4, u"45");
    w.Tick(Control::CheckBox2, true);
    w.Type(Control::Edit2, q);
    w.Type(Control::ComboBox5, u"135");
    w.Tick(Control::CheckBox3, snap);
    // Everything the screen shows now, before the hatch joins it.
    std::vector<EntityRef> all;
    form.EntIndex.Query({-INFINITY, -INFINITY, INFINITY, INFINITY}, all);
    for (const EntityRef& e : all)
      AppendBlackOutline(*form.JG, form.GraAttr, form.View, e.table, e.index, run.shapes);
    const int host_lines = form.JG->EntLineN();
    for (const HatchPoint& c : clicks) {
      const int x = DrawToPixelX(form.View, c.x), y = DrawToPixelY(form.View, c.y);
      w.Press(kMouseLeft, x, y);
      w.Release(x, y);
    }
    w.Click(Control::Button3);
    run.pixel = 1 / form.View.ViewScale;
    run.file_scale = form.JG->ScaleOf(form.JG->w_LGrp);
    for (int i = host_lines; i < form.JG->EntLineN(); ++i) {
      const TEntLine& l = form.JG->EntLine[static_cast<size_t>(i)];
      const double s = run.file_scale;
      run.pieces.push_back({{l.x1 / s, l.y1 / s}, {l.x2 / s, l.y2 / s}});
    }
  }
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  return run;
}

// Along the piece's line from one of its ends, how far the nearest crossing with the geometry
// lies (infinite when the line crosses nothing).
double ToNearestCrossing(const Run& run, const HatchPoint& end, const Piece& piece) {
  const double length = std::hypot(piece.q.x - piece.p.x, piece.q.y - piece.p.y);
  const double dx = (piece.q.x - piece.p.x) / length, dy = (piece.q.y - piece.p.y) / length;
  double best = INFINITY;
  for (const OutlineShape& s : run.shapes) {
    ForEachCrossing(s, end, dx, dy, [&](double t, double) { best = std::min(best, std::fabs(t)); });
  }
  return best;
}

struct Stats {
  double max = 0, median = 0;
};

Stats Of(std::vector<double> d) {
  if (d.empty()) return {};
  std::sort(d.begin(), d.end());
  return {d.back(), d[d.size() / 2]};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: hatch_end_accuracy SPACING FILE X,Y [X,Y]...\n");
    return 2;
  }
  const std::string spacing = argv[1];
  const std::filesystem::path file = argv[2];
  std::vector<HatchPoint> clicks;
  for (int i = 3; i < argc; ++i) {
    HatchPoint c;
    if (std::sscanf(argv[i], "%lf,%lf", &c.x, &c.y) != 2) {
      std::fprintf(stderr, "hatch_end_accuracy: not a point: %s\n", argv[i]);
      return 2;
    }
    clicks.push_back(c);
  }
  const Run pixel = Hatch(file, spacing, clicks, false);
  const Run snapped = Hatch(file, spacing, clicks, true);
  if (pixel.pieces.size() != snapped.pieces.size()) {
    std::fprintf(stderr, "hatch_end_accuracy: %zu pieces without the correction, %zu with it\n",
                 pixel.pieces.size(), snapped.pieces.size());
    return 1;
  }
  // Every end, and the ends the correction moved, before and after.
  std::vector<double> before, after, moved_before, moved_after, missed;
  for (size_t i = 0; i < pixel.pieces.size(); ++i) {
    const Piece& a = pixel.pieces[i];
    const Piece& b = snapped.pieces[i];
    for (const auto& [p, s] : {std::pair{a.p, b.p}, std::pair{a.q, b.q}}) {
      before.push_back(ToNearestCrossing(pixel, p, a));
      after.push_back(ToNearestCrossing(pixel, s, a));
      if (p.x == s.x && p.y == s.y) {
        if (before.back() <= 2 * pixel.pixel) missed.push_back(before.back());
        continue;
      }
      moved_before.push_back(before.back());
      moved_after.push_back(after.back());
    }
  }
  // Distances in paper millimetres; the largest also in pixels and in the file's own units.
  const double px = pixel.pixel, f = pixel.file_scale;
  auto cell = [&](const std::vector<double>& d) {
    const Stats st = Of(d);
    std::printf(" %.3g / %.3g (%.2f px, %.3g file) |", st.max, st.median, st.max / px, st.max * f);
  };
  std::printf("| %s | %zu |", file.filename().string().c_str(), before.size());
  cell(before);
  cell(after);
  std::printf(" %zu |", moved_before.size());
  cell(moved_before);
  cell(moved_after);
  std::printf(" %zu |\n", missed.size());
  return 0;
}
