// The form as every shell hosts it: start-up, the surface on resize, controls to handlers.
#include "app/form_host.h"

namespace vardo {

namespace {

// The controls the form has a handler for; the others only hold values the form reads.
struct ControlHandler {
  Control control;
  void (TForm1::*handler)();
};

constexpr ControlHandler kControlHandlers[] = {
    {Control::Button1, &TForm1::Button1Click},      {Control::Button2, &TForm1::Button2Click},
    {Control::Button3, &TForm1::Button3Click},      {Control::CheckBox1, &TForm1::CheckBox1Click},
    {Control::CheckBox3, &TForm1::CheckBox3Click},  {Control::ComboBox1, &TForm1::ComboBox1Change},
    {Control::ComboBox2, &TForm1::ComboBox2Change},
};

}  // namespace

void FormHost::Show() {
  if (shown_ || closed_) return;
  shown_ = true;
  form_.FormCreate();
  form_.FormShow();
  LaySurface();
}

void FormHost::Resized() {
  if (!shown_ || closed_) return;
  form_.FormResize();
  const ScreenRect box = window_.PaintBoxRect();
  const Surface& surface = window_.PaintBox();
  if (box.width != surface.Width() || box.height != surface.Height()) LaySurface();
}

void FormHost::LaySurface() {
  const ScreenRect box = window_.PaintBoxRect();
  window_.PaintBox().Resize(box.width, box.height);
  form_.PaintBox1Paint();
}

bool FormHost::Close() {
  if (closed_) return false;
  closed_ = true;
  form_.FormClose();
  return true;
}

void FormHost::ControlUsed(Control c) {
  if (closed_) return;
  for (const ControlHandler& h : kControlHandlers) {
    if (h.control == c) (form_.*h.handler)();
  }
}

void FormHost::MouseDown(const MouseEvent& e) {
  if (!closed_) form_.PaintBox1MouseDown(e);
}

void FormHost::MouseMove(const MouseEvent& e) {
  if (!closed_) form_.PaintBox1MouseMove(e);
}

void FormHost::MouseUp(const MouseEvent& e) {
  if (!closed_) form_.PaintBox1MouseUp(e);
}

bool FormHost::KeyDown(KeyCode key, bool shift) {
  if (closed_) return false;
  KeyEvent e{key, shift};
  form_.FormKeyDown(e);
  return e.Handled;
}

bool FormHost::Wheel(bool up, ScreenPoint pos) {
  if (closed_) return false;
  WheelEvent e{pos};
  if (up) {
    form_.FormMouseWheelUp(e);
  } else {
    form_.FormMouseWheelDown(e);
  }
  return e.Handled;
}

}  // namespace vardo
