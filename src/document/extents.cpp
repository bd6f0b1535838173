// Drawing extents: the bounding box of every entity's defining points, in paper millimetres.
#include <cmath>

#include "common/geometry.h"
#include "common/image_text.h"
#include "document/model.h"

namespace vardo {

namespace {

constexpr double kLimit = 1e8;
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

class Box {
 public:
  explicit Box(ViewState& v) : v_(v) {}

  void Init(double x, double y, double scale) {
    v_.ExtXmin = v_.ExtXmax = x / scale;
    v_.ExtYmin = v_.ExtYmax = y / scale;
    Clamp();
  }

  void Add(double x, double y, double scale) {
    x /= scale, y /= scale;
    if (x < v_.ExtXmin) v_.ExtXmin = x;
    if (x > v_.ExtXmax) v_.ExtXmax = x;
    if (y < v_.ExtYmin) v_.ExtYmin = y;
    if (y > v_.ExtYmax) v_.ExtYmax = y;
    Clamp();
  }

  // The characteristic points of an elliptic arc (angles in degrees): its end points and the
  // axis points it passes; all four axis points for a full ellipse.
  void AddArc(double cx, double cy, double r, double sa, double ea, double he, double ka,
              double scale) {
    const double tilt = ka * kDegToRad;
    auto point = [&](double deg) {
      double t = deg * kDegToRad;
      double px = cx + r * std::cos(t), py = cy + r * he * std::sin(t);
      Add(RotX(px, py, cx, cy, tilt), RotY(px, py, cx, cy, tilt), scale);
    };
    const double sweep = NormalizeDeg(ea - sa);
    if (std::fabs(sweep) <= 1e-10) {
      for (double deg : {0.0, 90.0, 180.0, 270.0})
        point(deg);
      return;
    }
    point(sa);
    point(ea);
    const double start = NormalizeDeg(sa);
    if (sweep >= 360 - start) point(0);
    for (double deg : {90.0, 180.0, 270.0}) {
      double to_axis = deg - start;
      if (to_axis < 0) to_axis += 360;
      if (sweep >= to_axis) point(deg);
    }
  }

 private:
  void Clamp() {
    if (v_.ExtXmin < -kLimit) v_.ExtXmin = -kLimit;
    if (v_.ExtYmin < -kLimit) v_.ExtYmin = -kLimit;
    if (v_.ExtXmax > kLimit) v_.ExtXmax = kLimit;
    if (v_.ExtYmax > kLimit) v_.ExtYmax = kLimit;
  }

  ViewState& v_;
};

// Start and end of a circular solid in degrees, ordered so the arc runs anticlockwise.
void SolidArcDegrees(double sa, double da, double& start, double& end) {
  start = sa / kDegToRad;
  end = (sa + da) / kDegToRad;
  if (da < 0) std::swap(start, end);
}

}  // namespace

void TJGdata::GetMinMaxZahyo(ViewState& view) const {
  Box box(view);
  auto scale = [this](const TEntAttr& att) { return ScaleOf(att.LGrp); };

  // Seed with the first record of the first non-empty table.
  bool seeded = true;
  if (!EntLine.empty()) {
    box.Init(EntLine[0].x1, EntLine[0].y1, scale(EntLine[0].att));
  } else if (!EntCirc.empty()) {
    box.Init(EntCirc[0].cx, EntCirc[0].cy, scale(EntCirc[0].att));
  } else if (!EntArc.empty()) {
    box.Init(EntArc[0].cx, EntArc[0].cy, scale(EntArc[0].att));
  } else if (!EntPnt.empty()) {
    box.Init(EntPnt[0].px, EntPnt[0].py, scale(EntPnt[0].att));
  } else if (!EntMark.empty()) {
    box.Init(EntMark[0].px, EntMark[0].py, scale(EntMark[0].att));
  } else if (!EntText.empty()) {
    box.Init(EntText[0].x1, EntText[0].y1, scale(EntText[0].att));
  } else if (!EntDim.empty()) {
    box.Init(EntDim[0].lin.x1, EntDim[0].lin.y1, scale(EntDim[0].lin.att));
  } else if (!EntSld2.empty()) {
    box.Init(EntSld2[0].x1, EntSld2[0].y1, scale(EntSld2[0].att));
  } else if (!EntSld3.empty()) {
    box.Init(EntSld3[0].x1, EntSld3[0].y1, scale(EntSld3[0].att));
  } else if (!EntSld4.empty()) {
    box.Init(EntSld4[0].x1, EntSld4[0].y1, scale(EntSld4[0].att));
  } else if (!EntSldC.empty()) {
    box.Init(EntSldC[0].cx, EntSldC[0].cy, scale(EntSldC[0].att));
  } else if (!EntSldE.empty()) {
    box.Init(EntSldE[0].cx, EntSldE[0].cy, scale(EntSldE[0].att));
  } else if (!EntSldO.empty()) {
    box.Init(EntSldO[0].cx, EntSldO[0].cy, scale(EntSldO[0].att));
  } else if (!EntSldG.empty()) {
    box.Init(EntSldG[0].cx, EntSldG[0].cy, scale(EntSldG[0].att));
  } else {
    seeded = false;
  }

  // Nothing to seed from (no entities, or only block inserts, which have no extent here): the
  // default box rather than whatever an earlier computation left behind.
  if (!seeded) {
    view.ExtXmin = view.ExtYmin = -100;
    view.ExtXmax = view.ExtYmax = 100;
    return;
  }
  if (EntNo.size() == 1) {
    view.ExtXmin -= 100, view.ExtYmin -= 100;
    view.ExtXmax += 100, view.ExtYmax += 100;
  }

  for (const TEntLine& e : EntLine) {
    box.Add(e.x1, e.y1, scale(e.att));
    box.Add(e.x2, e.y2, scale(e.att));
  }
  for (const TEntCircle& e : EntCirc)
    box.AddArc(e.cx, e.cy, e.cr, 0, 0, 1, 0, scale(e.att));
  for (const TEntArc& e : EntArc) {
    box.AddArc(e.cx, e.cy, e.cr, e.sa, e.ea, e.he, e.ka, scale(e.att));
  }
  for (const TEntPnt& e : EntPnt)
    box.Add(e.px, e.py, scale(e.att));
  for (const TEntMark& e : EntMark)
    box.Add(e.px, e.py, scale(e.att));
  for (const TEntText& e : EntText) {
    const double s = scale(e.att);
    box.Add(e.x1, e.y1, s);
    if (IsImageText(e.st)) {
      ImageText image = ReadImageText(e.st);
      box.Add(e.x1 + image.f1, e.y1 + image.f2, s);
    }
  }
  for (const TEntDim& e : EntDim) {
    const double s = scale(e.att);
    box.Add(e.lin.x1, e.lin.y1, s);
    box.Add(e.lin.x2, e.lin.y2, s);
    box.Add(e.txt.x1, e.txt.y1, s);
  }
  for (const TEntSld2& e : EntSld2) {
    box.Add(e.x1, e.y1, scale(e.att));
    box.Add(e.x2, e.y2, scale(e.att));
  }
  for (const TEntSld3& e : EntSld3) {
    for (auto [x, y] : {std::pair{e.x1, e.y1}, {e.x2, e.y2}, {e.x3, e.y3}}) {
      box.Add(x, y, scale(e.att));
    }
  }
  for (const TEntSld4& e : EntSld4) {
    for (auto [x, y] : {std::pair{e.x1, e.y1}, {e.x2, e.y2}, {e.x3, e.y3}, {e.x4, e.y4}}) {
      box.Add(x, y, scale(e.att));
    }
  }
  auto add_solid = [&](const auto& e) {
    double start, end;
    SolidArcDegrees(e.sa, e.da, start, end);
    box.AddArc(e.cx, e.cy, e.cr, start, end, e.he, e.ka / kDegToRad, scale(e.att));
  };
  for (const TEntSldC& e : EntSldC)
    add_solid(e);
  for (const TEntSldC& e : EntSldE)
    add_solid(e);
  for (const TEntSldD& e : EntSldO)
    add_solid(e);
  for (const TEntSldD& e : EntSldG)
    add_solid(e);
}

}  // namespace vardo
