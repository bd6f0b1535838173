// The headless shell: control states, a paint box of a given size, the pointer, a scripted Esc
// key, and the message boxes and beeps the form asked for.
#include "platform/headless/headless_window.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "app/form_layout.h"

namespace vardo {

namespace {

int ClampPaintSize(int v) {
  return std::clamp(v, 1, HeadlessWindow::kMaxPaintSize);
}

// Screen arithmetic saturates: a window placed at the edge of the int range by a damaged
// settings file must not overflow.
int SatAdd(int a, long long b) {
  return static_cast<int>(std::clamp<long long>(a + b, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

}  // namespace

HeadlessWindow::HeadlessWindow(std::u16string program_path, int paint_width, int paint_height)
    : program_path_(std::move(program_path)),
      paint_width_(ClampPaintSize(paint_width)),
      paint_height_(ClampPaintSize(paint_height)),
      bounds_{0, 0, paint_width_ + kControlColumnWidth,
              paint_height_ + kStatusLineHeight + kButtonPanelHeight},
      pointer_{paint_width_ / 2, paint_height_ / 2},
      host_(*this) {
  for (std::u16string_view angle : kAngleItems) {
    state(Control::ComboBox4).items.emplace_back(angle);
    state(Control::ComboBox5).items.emplace_back(angle);
  }
}

void HeadlessWindow::ResizePaintBox(int width, int height) {
  if (Closed()) return;
  width = ClampPaintSize(width);
  height = ClampPaintSize(height);
  bounds_.width = SatAdd(bounds_.width, width - paint_width_);
  bounds_.height = SatAdd(bounds_.height, height - paint_height_);
  paint_width_ = width;
  paint_height_ = height;
  host_.Resized();
}

void HeadlessWindow::Press(unsigned buttons, int x, int y) {
  if (Closed()) return;
  pointer_ = {x, y};
  buttons_ = buttons;
  host_.MouseDown({buttons, x, y});
}

void HeadlessWindow::Move(int x, int y) {
  if (Closed()) return;
  pointer_ = {x, y};
  host_.MouseMove({buttons_, x, y});
}

void HeadlessWindow::Release(int x, int y) {
  if (Closed()) return;
  pointer_ = {x, y};
  buttons_ = 0;
  host_.MouseUp({0, x, y});
}

void HeadlessWindow::Wheel(bool up, int x, int y) {
  if (Closed()) return;
  pointer_ = {x, y};
  host_.Wheel(up, CursorPos());
}

void HeadlessWindow::PointAt(int x, int y) {
  pointer_ = {x, y};
}

bool HeadlessWindow::Key(KeyCode key, bool shift) {
  return host_.KeyDown(key, shift);
}

void HeadlessWindow::Tick(Control box, bool checked) {
  if (Closed() || state(box).checked == checked) return;
  state(box).checked = checked;
  host_.ControlUsed(box);
}

void HeadlessWindow::Select(Control list, int index) {
  if (Closed()) return;
  SetItemIndex(list, index);
  host_.ControlUsed(list);
}

void HeadlessWindow::Type(Control edit, std::u16string_view text) {
  if (Closed()) return;
  state(edit).text = text;
}

void HeadlessWindow::Click(Control button) {
  if (Closed() || !state(button).enabled) return;
  host_.ControlUsed(button);
}

void HeadlessWindow::SetEscapeDown(bool down) {
  esc_down_ = down;
  esc_countdown_ = -1;
}

void HeadlessWindow::Close() {
  host_.Close();
}

void HeadlessWindow::SetText(Control c, std::u16string_view text) {
  state(c).text = text;
  if (c == Control::LabelM) status_history_.emplace_back(text);
}

void HeadlessWindow::ClearItems(Control c) {
  state(c).items.clear();
  state(c).item_index = -1;
}

void HeadlessWindow::AddItem(Control c, std::u16string_view item) {
  state(c).items.emplace_back(item);
}

void HeadlessWindow::SetItemIndex(Control c, int index) {
  ControlState& s = state(c);
  const bool inside = index >= 0 && static_cast<size_t>(index) < s.items.size();
  s.item_index = inside ? index : -1;
  // An editable list shows the selected item as its text.
  if (inside && (c == Control::ComboBox4 || c == Control::ComboBox5)) {
    s.text = s.items[static_cast<size_t>(index)];
  }
}

bool HeadlessWindow::CreateBitmap(Surface& bitmap, int width, int height) {
  if (failing_bitmaps_ > 0) {
    --failing_bitmaps_;
    bitmap = Surface();
    return false;
  }
  return bitmap.Resize(width, height);
}

ScreenPoint HeadlessWindow::CursorPos() const {
  const ScreenRect box = PaintBoxRect();
  return {SatAdd(box.left, pointer_.x), SatAdd(box.top, pointer_.y)};
}

// The client area has no frame here: the paint box sits at the window's top-left, the control
// column to its right, both above the status line (docked to the bottom before the column).
ScreenRect HeadlessWindow::PaintBoxRect() const {
  return {bounds_.left, bounds_.top, paint_width_, paint_height_};
}

ScreenRect HeadlessWindow::ControlColumnRect() const {
  return {SatAdd(bounds_.left, paint_width_), bounds_.top, kControlColumnWidth, paint_height_};
}

bool HeadlessWindow::EscapeHeld() {
  if (esc_countdown_ == 0) {
    esc_down_ = true;
    esc_countdown_ = -1;
  } else if (esc_countdown_ > 0) {
    --esc_countdown_;
  }
  return esc_down_;
}

}  // namespace vardo
