// How a run ends: OK keeps the hatch and writes the exchange file on closing; Cancel writes
// nothing.
#include "app/form.h"
#include "common/numbers.h"

namespace vardo {

namespace {

// A spacing must be positive; anything else becomes the default spacing.
double Spacing(std::u16string_view text) {
  const double v = ValFloat(text);
  return v > 0 ? v : 1.0;
}

}  // namespace

void TForm1::Button1Click() {
  col = window_.GetItemIndex(Control::ComboBox1);
  ltp = window_.GetItemIndex(Control::ComboBox2);
  hat_cr = window_.GetChecked(Control::CheckBox2) ? 1 : 0;
  hat_p1 = Spacing(window_.GetText(Control::Edit1));
  hat_p2 = ValFloat(window_.GetText(Control::ComboBox4));
  hat_p3 = Spacing(window_.GetText(Control::Edit2));
  hat_p4 = ValFloat(window_.GetText(Control::ComboBox5));
  if (AddLineN + AddTenN + AddArcN == 0) {
    window_.ShowMessage(u"作図していません。");
    return;
  }
  OKflag = true;
  window_.Close();
}

void TForm1::Button2Click() {
  OKflag = false;
  window_.Close();
}

void TForm1::RunGaibuProc() {
  if (!JG) return;
  SetStatus(u"処理中です");
  window_.RepaintNow(Control::LabelM);
  JG->SendMem(u"hd");
  JG->S_EntAll(-1, -1, -1, -1, -1, -1, -1, 0, EscPoll());
  SetStatus(u"ファイル生成中です");
  window_.RepaintNow(Control::LabelM);
  JG->SaveTempFile(ExeDir + u"JWC_TEMP.TXT");
}

}  // namespace vardo
