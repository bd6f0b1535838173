// The form's hatch operations: monochrome display, the end correction box, marking clicks, the
// hatch run, and removing the hatch added so far.
#include <algorithm>
#include <numbers>
#include <optional>

#include "app/form.h"
#include "common/numbers.h"
#include "hatch/hatch.h"
#include "render/canvas.h"

namespace vardo {

namespace {

template <typename Table>
void DropLast(Table& table, int n) {
  const size_t drop = std::min(table.size(), static_cast<size_t>(std::max(n, 0)));
  table.resize(table.size() - drop);
}

}  // namespace

void TForm1::CheckBox1Click() {
  GraAttr.SetPrintMode(window_.GetChecked(Control::CheckBox1), 0, 0, 0);
  Redraw();
}

// The box takes effect at the next run, and OK saves it with the settings.
void TForm1::CheckBox3Click() {
  hat_sn = window_.GetChecked(Control::CheckBox3) ? 1 : 0;
}

void TForm1::FillRegion(int X, int Y) {
  if (!window_.GetChecked(Control::CheckBox1)) {
    SetStatus(u"□モノクロ化　にチェックを入れてから　ハッチを行う箇所をクリックして下さい。");
    return;
  }
  Canvas canvas(window_.PaintBox());
  MarkRegion(canvas, X, Y);
  HatX = X;
  HatY = Y;
  // A run is likely to follow: the outlines it corrects ends with are made meanwhile.
  if (hat_sn != 0 && JG) SnapOutlines.Start(*JG, EntIndex, GraAttr, View);
}

void TForm1::ClearHatch() {
  if (!JG) return;
  const int n = AddLineN + AddTenN + AddArcN;
  if (n > 0 && JG->EntN() > 0) {
    SnapOutlines.Stop();
    // The hatch is the tail of each table: nothing else appends after start-up.
    DropLast(JG->EntNo, n);
    DropLast(JG->EntLine, AddLineN);
    DropLast(JG->EntPnt, AddTenN);
    DropLast(JG->EntArc, AddArcN);
    AddLineN = AddTenN = AddArcN = 0;
    Redraw();
  }
  ShowCounters();
}

void TForm1::ShowCounters() {
  window_.SetText(Control::LabelN, u"線:" + IntStr(AddLineN) + u"　点:" + IntStr(AddTenN) +
                                       u"　円弧:" + IntStr(AddArcN));
}

void TForm1::ShowStatusNow(std::u16string_view text) {
  SetStatus(text);
  window_.RepaintNow(Control::LabelM);
}

void TForm1::Button3Click() {
  if (!Ready()) return;
  window_.SetEnabled(Control::Button3, false);
  if (hat_sn != 0) SnapOutlines.Start(*JG, EntIndex, GraAttr, View);
  const HatchServices services{EscPoll(), [this] { window_.Beep(); },
                               [this] { window_.ProcessMessages(); }};
  // The scan and the tracing let other handlers run; if one of them closed the window the
  // document is gone and the run ends with it.
  ShowStatusNow(u"ハッチを行う箇所をスキャン中です（[Esc]:中断）");
  ScanInterior(window_.PaintBox(), services);
  if (!JG) return;
  if (window_.EscapeHeld()) return AbortRun();
  ShowStatusNow(u"エッジをスキャン中です（[Esc]:中断）");
  TraceEdges(window_.PaintBox(), PLN, services);
  if (!JG) return;
  if (window_.EscapeHeld()) return AbortRun();
  ShowStatusNow(u"エッジ処理中です");
  ProcessEdges(PLN);
  ShowStatusNow(u"ハッチ処理中です（[Esc]:中断）");
  // The index stands for the screen: the lines this run adds reach it with the next redraw.
  std::optional<EndSnap> snap;
  if (hat_sn != 0) {
    snap.emplace(SnapOutlines.Ready(*JG, EntIndex, GraAttr, View, SnapReach(PLN)),
                 JG->ScaleOf(JG->w_LGrp));
  }
  const EndSnap* const end_snap = snap ? &*snap : nullptr;
  for (const bool cross : {false, true}) {
    if (cross && !window_.GetChecked(Control::CheckBox2)) break;
    const HatchPassOutcome outcome = HatchFamily(cross, services, end_snap);
    if (outcome == HatchPassOutcome::TooDense || outcome == HatchPassOutcome::Unusable) {
      return RefuseRun(outcome);
    }
    if (window_.EscapeHeld()) return AbortRun();
  }
  Redraw();
  ShowCounters();
  ShowStatusNow(u"完了しました：ハッチを行う箇所をクリックして下さい。");
  window_.SetEnabled(Control::Button3, true);
}

void TForm1::AbortRun() {
  ShowStatusNow(u"中断しました：ハッチを行う箇所をクリックして下さい。");
  window_.SetEnabled(Control::Button3, true);
}

// A family the engine refuses to lay ends the run with a beep. The lines of the families before
// it stay, so the picture and the counters show what the document now holds, and the status
// line says why when the spacing was the reason.
void TForm1::RefuseRun(HatchPassOutcome outcome) {
  window_.Beep();
  Redraw();
  ShowCounters();
  ShowStatusNow(outcome == HatchPassOutcome::TooDense
                    ? u"ハッチ線が多すぎるため中断しました：間隔を広げて下さい。"
                    : u"中断しました：ハッチを行う箇所をクリックして下さい。");
  window_.SetEnabled(Control::Button3, true);
}

HatchPassOutcome TForm1::HatchFamily(bool cross, const HatchServices& services,
                                     const EndSnap* snap) {
  const Control spacing_edit = cross ? Control::Edit2 : Control::Edit1;
  const Control angle_edit = cross ? Control::ComboBox5 : Control::ComboBox4;
  double q = ValFloat(window_.GetText(spacing_edit));
  const double a = ValFloat(window_.GetText(angle_edit)) / 180 * std::numbers::pi;
  if (!(q > 0)) {
    q = 1.0;
    window_.SetText(spacing_edit, u"1.0");
  }
  // The engine works in paper units; the document keeps file units, which are paper units
  // times the layer group's scale unless the drawing is in paper units ("bz").
  const double scale = JG->ScaleOf(JG->w_LGrp);
  const AddLineFn add_line = [this, scale](double x1, double y1, double x2, double y2) {
    const int before = JG->EntLineN();
    // A click while the run let other handlers in may have set the outlines' thread going.
    SnapOutlines.Stop();
    JG->A_Line(x1 * scale, y1 * scale, x2 * scale, y2 * scale);
    // Only lines that made it into the table count: ClearHatch removes exactly that many.
    if (JG->EntLineN() > before) ++AddLineN;
  };
  return HatchPass(View, PLN, {HatX, HatY, q, a, PaintWidth(), PaintHeight(), snap}, add_line,
                   services)
      .outcome;
}

}  // namespace vardo
