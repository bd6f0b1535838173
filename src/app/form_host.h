// The form as every shell hosts it: the start-up sequence, a new surface when the paint box
// changes size, and the handler each control runs. A shell turns its toolkit's messages into
// these calls and holds nothing of the form's own.
#pragma once

#include "app/form.h"
#include "platform/platform.h"

namespace vardo {

class FormHost {
 public:
  explicit FormHost(FormWindow& window) : window_(window), form_(window) {}
  FormHost(const FormHost&) = delete;
  FormHost& operator=(const FormHost&) = delete;

  TForm1& form() { return form_; }
  const TForm1& form() const { return form_; }
  bool Shown() const { return shown_; }
  bool Closed() const { return closed_; }

  // --- the window ---
  // FormCreate, FormShow, then the surface laid at the paint box's size and painted. Only the
  // first call acts, and none once the window has closed.
  void Show();
  // The window changed size. Once shown: FormResize, and when the paint box's size is no longer
  // the surface's, the surface is laid anew and painted. A window restored from its icon keeps
  // its picture.
  void Resized();
  // FormClose, once; true only for the call that ran it (the shell then lets its window go).
  bool Close();

  // --- what the user does; nothing once the window has closed ---
  // A button clicked, a check box ticked or cleared, a list's selection changed: the control's
  // handler, when the form has one for it.
  void ControlUsed(Control c);
  void MouseDown(const MouseEvent& e);
  void MouseMove(const MouseEvent& e);
  void MouseUp(const MouseEvent& e);
  // True when the form kept the key from the focused control.
  bool KeyDown(KeyCode key, bool shift);
  // One wheel notch, up (away from the user) or down, with the pointer's screen position; true
  // when the form used it.
  bool Wheel(bool up, ScreenPoint pos);

 private:
  void LaySurface();

  FormWindow& window_;
  TForm1 form_;
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace vardo
