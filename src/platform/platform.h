// The one boundary between the main form's controller and its window: plain event structs and
// the interface through which TForm1 reaches its window, its controls and the system.
#pragma once

#include <string>
#include <string_view>

#include "render/surface.h"

namespace vardo {

// The controls TForm1 reads or changes, by the names the form gives them.
enum class Control {
  Button1,    // "ＯＫ (&Y)"
  Button2,    // "キャンセル (&N)"
  Button3,    // "作図実行(&G)"
  CheckBox1,  // "モノクロ化"
  CheckBox2,  // "クロスハッチ"
  CheckBox3,  // "端点補正"
  ComboBox1,  // line colour list
  ComboBox2,  // line type list
  ComboBox4,  // angle (editable list)
  ComboBox5,  // cross-hatch angle (editable list)
  Edit1,      // spacing
  Edit2,      // cross-hatch spacing
  LabelM,     // status line
  LabelN,     // counter line
};

// Screen pixels, origin at the top-left of the screen.
struct ScreenPoint {
  int x = 0;
  int y = 0;
};

struct ScreenRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Mouse button bits, as the form keeps them in MouseBtnState.
enum MouseButtons : unsigned {
  kMouseLeft = 1,
  kMouseRight = 2,
  kMouseMiddle = 4,
};

// A press, move or release on the paint box.
struct MouseEvent {
  unsigned buttons = 0;  // MouseButtons held at that moment (a press includes its own button)
  int X = 0;             // paint-box pixel
  int Y = 0;
};

// One wheel notch anywhere over the window.
struct WheelEvent {
  ScreenPoint MousePos;  // the pointer's screen position
  bool Handled = false;  // set by the handler when it used the notch
};

enum class KeyCode {
  Other,  // any key the form has no use for
  PageUp,
  PageDown,
  Insert,
  End,
  Home,
  Left,
  Right,
  Up,
  Down,
  Delete,
  Escape,
};

// A key the window sees before its focused control does.
struct KeyEvent {
  KeyCode Key = KeyCode::Other;
  bool Shift = false;
  bool Handled = false;  // set by the handler to keep the key from the focused control
};

// What TForm1 asks of its window. The shell implements it and calls the form's handlers; the
// form never learns which toolkit, if any, stands behind it. All calls come from the one
// user-interface thread.
//
// The paint box's surface is the screen: it keeps its pixels until the form draws again. The
// shell shows them after every handler it calls returns and whenever it processes pending
// messages, and calls PaintBox1Paint only when it lays the surface anew (first show, new
// paint-box size).
class FormWindow {
 public:
  virtual ~FormWindow() = default;

  // --- program ---
  // Full path of the program file (the settings file and the exchange file lie beside it).
  virtual std::u16string ProgramPath() const = 0;

  // --- main window ---
  // Outer position and size of the window on the screen.
  virtual ScreenRect GetBounds() const = 0;
  virtual void SetBounds(const ScreenRect& bounds) = 0;
  // Closes the window: the shell calls FormClose, then the program ends. A second call does
  // nothing.
  virtual void Close() = 0;

  // --- controls ---
  // Caption of a label, text of an edit or of an editable list.
  virtual std::u16string GetText(Control c) const = 0;
  virtual void SetText(Control c, std::u16string_view text) = 0;
  // Shows a label's caption at once, before long work that processes no messages.
  virtual void RepaintNow(Control c) = 0;
  virtual void ClearItems(Control c) = 0;
  virtual void AddItem(Control c, std::u16string_view item) = 0;
  // -1 when nothing is selected.
  virtual int GetItemIndex(Control c) const = 0;
  // An index outside the list selects nothing.
  virtual void SetItemIndex(Control c, int index) = 0;
  virtual bool GetChecked(Control c) const = 0;
  // Changes the tick without running the box's click handler.
  virtual void SetChecked(Control c, bool checked) = 0;
  virtual void SetEnabled(Control c, bool enabled) = 0;

  // --- paint box ---
  // The paint box's pixels. Its size is the paint box's size, or 0 x 0 when the memory for
  // that size could not be had.
  virtual Surface& PaintBox() = 0;
  // Lays an off-screen bitmap anew at the given size; false (bitmap empty) when it cannot be
  // had.
  virtual bool CreateBitmap(Surface& bitmap, int width, int height) = 0;

  // --- pointer and geometry, in screen pixels ---
  virtual ScreenPoint CursorPos() const = 0;
  virtual ScreenRect PaintBoxRect() const = 0;
  // The control column Panel3 on the right.
  virtual ScreenRect ControlColumnRect() const = 0;

  // --- system ---
  // A modal box with the text and an OK button.
  virtual void ShowMessage(std::u16string_view text) = 0;
  // The default system sound.
  virtual void Beep() = 0;
  // Lets pending window messages (and so other handlers) run once, then returns.
  virtual void ProcessMessages() = 0;
  // Whether the Esc key is held down at this moment (the stop poll of long loops).
  virtual bool EscapeHeld() = 0;
  // Returns once the Esc key is up, processing no messages meanwhile.
  virtual void WaitEscapeUp() = 0;
};

}  // namespace vardo
