// How a run ends: OK writes the exchange file and then closes, keeping the window open with a
// message when the file cannot be written; Cancel writes nothing.
#include <system_error>

#include "app/form.h"
#include "common/error_text.h"
#include "common/numbers.h"

namespace vardo {

namespace {

// A spacing must be positive; anything else becomes the default spacing.
double Spacing(std::u16string_view text) {
  const double v = ValFloat(text);
  return v > 0 ? v : 1.0;
}

// The message box of an OK whose exchange file could not be written, with the system's reason.
std::u16string WriteFailedMessage(const std::error_code& error) {
  return std::u16string(kExchangeFileName) + u" を書き込めませんでした。\n理由：" +
         ErrorText(error) +
         u"\n作図したハッチはそのままです。原因を取り除いてからもう一度ＯＫを押すか、"
         u"キャンセルで終了して下さい。";
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
  // The exchange file is written while the window is still open: when it cannot be, the user
  // is told why and keeps the hatch, to try again or cancel.
  if (!RunGaibuProc()) return;
  OKflag = true;
  window_.Close();
}

void TForm1::Button2Click() {
  OKflag = false;
  window_.Close();
}

bool TForm1::RunGaibuProc() {
  if (!JG) return false;
  const std::u16string status = window_.GetText(Control::LabelM);
  ShowStatusNow(u"処理中です");
  std::error_code error;
  if (JG->CommitTempFile(
          ExeDir + kExchangeFileName, EscPoll(), [this] { ShowStatusNow(u"ファイル生成中です"); },
          &error)) {
    return true;
  }
  SetStatus(status);
  window_.ShowMessage(WriteFailedMessage(error));
  return false;
}

}  // namespace vardo
