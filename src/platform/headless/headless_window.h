// The headless shell: the main form's window kept in memory. Tests and vardo-script drive the
// real controller through it as a user would, and read back what the window shows.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/form.h"
#include "app/form_host.h"
#include "platform/platform.h"
#include "render/surface.h"

namespace vardo {

class HeadlessWindow final : public FormWindow {
 public:
  // The largest paint box the shell lays out, in either direction.
  static constexpr int kMaxPaintSize = 16384;

  // program_path names the program file; its folder holds the exchange and settings files.
  // The paint box starts at the given size (clamped to 1 .. kMaxPaintSize).
  HeadlessWindow(std::u16string program_path, int paint_width, int paint_height);

  TForm1& form() { return host_.form(); }
  const TForm1& form() const { return host_.form(); }

  // --- what a user does ---
  // The form's start-up (FormHost::Show).
  void Show() { host_.Show(); }
  // A new paint-box size: the window grows or shrinks by the same amount, and the form hears of
  // it (FormHost::Resized).
  void ResizePaintBox(int width, int height);
  // Mouse on the paint box; buttons are the MouseButtons held at that moment.
  void Press(unsigned buttons, int x, int y);
  void Move(int x, int y);
  void Release(int x, int y);
  // One wheel notch with the pointer at paint-box pixel (x, y); up zooms out, down zooms in.
  void Wheel(bool up, int x, int y);
  // Moves the pointer without a mouse event; (x, y) relative to the paint box's top-left.
  void PointAt(int x, int y);
  // A key with the pointer where it is; true when the form kept it from the focused control.
  bool Key(KeyCode key, bool shift);
  // Ticks or clears a check box, running its click handler when its state changes.
  void Tick(Control box, bool checked);
  // Selects a list item, running the list's change handler.
  void Select(Control list, int index);
  // Replaces an edit's or editable list's text, as typing would.
  void Type(Control edit, std::u16string_view text);
  // Clicks Button1, Button2 or Button3; a disabled button ignores the click.
  void Click(Control button);
  // Closes the window through its close box.
  void CloseBox() { Close(); }

  // The Esc key's physical state. HoldEscapeAfterPolls makes it go down by itself once the
  // stop poll has answered n more times (n < 0 cancels that).
  void SetEscapeDown(bool down);
  void HoldEscapeAfterPolls(long long n) { esc_countdown_ = n; }
  // The next n bitmaps the form asks for cannot be had.
  void FailBitmaps(int n) { failing_bitmaps_ = n; }

  // --- what the window shows ---
  bool Closed() const { return host_.Closed(); }
  bool Shown() const { return host_.Shown(); }
  bool Checked(Control c) const { return state(c).checked; }
  bool Enabled(Control c) const { return state(c).enabled; }
  const std::vector<std::u16string>& Items(Control c) const { return state(c).items; }
  const std::vector<std::u16string>& Messages() const { return messages_; }
  // Every caption LabelM was given, in order.
  const std::vector<std::u16string>& StatusHistory() const { return status_history_; }
  int Beeps() const { return beeps_; }
  const Surface& Screen() const { return screen_; }

  // --- FormWindow ---
  std::u16string ProgramPath() const override { return program_path_; }
  ScreenRect GetBounds() const override { return bounds_; }
  void SetBounds(const ScreenRect& bounds) override { bounds_ = bounds; }
  void Close() override;
  std::u16string GetText(Control c) const override { return state(c).text; }
  void SetText(Control c, std::u16string_view text) override;
  void RepaintNow(Control) override {}
  void ClearItems(Control c) override;
  void AddItem(Control c, std::u16string_view item) override;
  int GetItemIndex(Control c) const override { return state(c).item_index; }
  void SetItemIndex(Control c, int index) override;
  bool GetChecked(Control c) const override { return state(c).checked; }
  void SetChecked(Control c, bool checked) override { state(c).checked = checked; }
  void SetEnabled(Control c, bool enabled) override { state(c).enabled = enabled; }
  Surface& PaintBox() override { return screen_; }
  bool CreateBitmap(Surface& bitmap, int width, int height) override;
  ScreenPoint CursorPos() const override;
  ScreenRect PaintBoxRect() const override;
  ScreenRect ControlColumnRect() const override;
  void ShowMessage(std::u16string_view text) override { messages_.emplace_back(text); }
  void Beep() override { ++beeps_; }
  void ProcessMessages() override {}
  bool EscapeHeld() override;
  // Nobody holds a key through a redraw in a script: waiting stands for letting go.
  void WaitEscapeUp() override { esc_down_ = false; }

 private:
  struct ControlState {
    std::u16string text;
    std::vector<std::u16string> items;
    int item_index = -1;
    bool checked = false;
    bool enabled = true;
  };
  static constexpr size_t kControls = static_cast<size_t>(Control::LabelN) + 1;

  ControlState& state(Control c) { return controls_[static_cast<size_t>(c)]; }
  const ControlState& state(Control c) const { return controls_[static_cast<size_t>(c)]; }

  std::u16string program_path_;
  int paint_width_;
  int paint_height_;
  ScreenRect bounds_;
  Surface screen_;
  std::array<ControlState, kControls> controls_{};
  ScreenPoint pointer_;  // relative to the paint box's top-left
  unsigned buttons_ = 0;
  bool esc_down_ = false;
  long long esc_countdown_ = -1;
  int failing_bitmaps_ = 0;
  std::vector<std::u16string> messages_;
  std::vector<std::u16string> status_history_;
  int beeps_ = 0;
  FormHost host_;  // last: the form refers to the window while it lives
};

}  // namespace vardo
