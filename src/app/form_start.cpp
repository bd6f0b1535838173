// The form's start and end: creation, the start sequence, closing, and the attribute lists.
#include <algorithm>
#include <string>
#include <vector>

#include "app/form.h"
#include "app/form_layout.h"
#include "common/numbers.h"
#include "common/stopwatch.h"
#include "common/text_helpers.h"

namespace vardo {

namespace {

void FillList(FormWindow& window, Control list, const std::vector<std::u16string>& items) {
  window.ClearItems(list);
  for (const std::u16string& item : items) {
    window.AddItem(list, item);
  }
}

// The directory part of a path with its trailing delimiter; empty when the path has none.
std::u16string DirectoryOf(std::u16string_view path) {
  const size_t name_length = PathFileName(path).size();
  return std::u16string(path.substr(0, path.size() - std::min(name_length, path.size())));
}

}  // namespace

TForm1::TForm1(FormWindow& window) : window_(window) {
  SetDefaultSettings();
}

void TForm1::FormCreate() {
  FirstDrawFlag = false;
  SetUpStartAttributes(GraAttr);
  Glyphs = CreateGlyphRasterizer();
  mwheel2 = 1.5;
  MouseBtnState = 0;
  MouseBtnX = MouseBtnY = 0;
  DrawRB1 = false;
  RepBmp.reset();
  WrkBmp = Surface();
  WrkBmpFlag = false;
  AddLineN = AddTenN = AddArcN = 0;
}

void TForm1::FormShow() {
  const std::u16string program = window_.ProgramPath();
  ExeDir = DirectoryOf(program);
  DatFile = PathChangeExt(program, u".dat");
  OpenDatFile();
  window_.SetBounds({Fmx, Fmy, Fmw, Fmh});
  window_.SetText(Control::LabelM, u"");
  window_.SetText(Control::LabelN, u"");
  OKflag = false;

  JG = std::make_unique<TJGdata>();
  const Stopwatch reading;
  JG->OpenTempFile(ExeDir + kExchangeFileName);
  Timings.read = reading.Millis();
  const Stopwatch indexing;
  EntIndex.Build(*JG, GraAttr);
  Timings.index = indexing.Millis();
  JG->S_Init();

  FillList(window_, Control::ComboBox1, LineColourItems());
  FillList(window_, Control::ComboBox2, LineTypeItems());
  window_.SetItemIndex(Control::ComboBox1, col);
  window_.SetItemIndex(Control::ComboBox2, ltp);
  window_.SetChecked(Control::CheckBox2, false);
  if (hat_cr != 0) window_.SetChecked(Control::CheckBox2, true);
  window_.SetChecked(Control::CheckBox3, hat_sn != 0);
  window_.SetText(Control::Edit1, FloatStr(hat_p1));
  window_.SetText(Control::ComboBox4, FloatStr(hat_p2));
  window_.SetText(Control::Edit2, FloatStr(hat_p3));
  window_.SetText(Control::ComboBox5, FloatStr(hat_p4));
  SetStatus(u"ハッチを行う箇所をクリックして下さい。");
  ShowCounters();

  TextCodes = StartTextCodes(*JG);

  ZoomAll();  // only computes the view: nothing is drawn before the first paint
  FirstDrawFlag = true;

  JG->A_LGrp(JG->CurLGrp);
  JG->A_Lay(JG->CurLay);
  JG->A_Col(col, 1);
  JG->A_PCol(col, 1);
  JG->A_Ltp(ltp, 1);
  JG->A_Attr(1);

  if (JG->IPointN > 1) {
    grd = 1;
    grdx = JG->IPoints[1].x;
    grdy = JG->IPoints[1].y;
  }
  // Paper units to file units; ScaleOf is 1 with "bz" and for a group without a usable scale,
  // so the conversion back on OK always undoes this one.
  grdn *= JG->ScaleOf(JG->CurLGrp);
}

void TForm1::FormClose() {
  if (OKflag) {
    const ScreenRect bounds = window_.GetBounds();
    Fmx = bounds.left, Fmy = bounds.top, Fmw = bounds.width, Fmh = bounds.height;
    if (JG) grdn /= JG->ScaleOf(JG->CurLGrp);
    SaveDatFile();
  }
  FirstDrawFlag = false;
  RepBmp.reset();
  WrkBmp = Surface();
  WrkBmpFlag = false;
  SnapOutlines.Stop();
  JG.reset();
  PLN.clear();
}

void TForm1::ComboBox1Change() {
  if (!JG) return;
  col = window_.GetItemIndex(Control::ComboBox1);
  JG->A_Col(col, 1);
  JG->A_PCol(col, 1);
}

void TForm1::ComboBox2Change() {
  if (!JG) return;
  ltp = window_.GetItemIndex(Control::ComboBox2);
  JG->A_Ltp(ltp, 1);
}

void TForm1::SetStatus(std::u16string_view text) {
  window_.SetText(Control::LabelM, text);
}

}  // namespace vardo
