// The product's shell: the main form's real Windows window. It builds the window and its
// controls as the form designer laid them out, hands the system's events to the form's
// handlers and answers FormWindow with the system's services.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "app/form.h"
#include "app/form_host.h"
#include "platform/platform.h"
#include "platform/win32/win32_controls.h"
#include "render/surface.h"

namespace vardo {

class Win32Window final : public FormWindow, private WindowBase {
 public:
  // program_path names the program file; its folder holds the exchange and settings files.
  // The window is built hidden; Handle() is null when the system refused it.
  explicit Win32Window(std::u16string program_path);
  ~Win32Window() override;

  TForm1& form() { return host_.form(); }
  const TForm1& form() const { return host_.form(); }

  // --- what the program does ---
  // The form's start-up (FormHost::Show), then the window shown with the focus on its first
  // control. Only the first call acts.
  void Show();
  // The message loop, until the window has closed.
  void Run();

  // --- what the window shows ---
  bool Closed() const { return host_.Closed(); }
  // Null before the window exists and once it is gone.
  HWND Handle() const { return hwnd_; }
  // A component's window by the form's name for it ("Form1", "Panel3", "Label4", "Memo1"...);
  // null when there is none.
  HWND Find(std::u16string_view name) const;
  const Surface& Screen() const { return screen_; }

  // --- FormWindow ---
  std::u16string ProgramPath() const override { return program_path_; }
  ScreenRect GetBounds() const override;
  void SetBounds(const ScreenRect& bounds) override;
  void Close() override;
  std::u16string GetText(Control c) const override;
  void SetText(Control c, std::u16string_view text) override;
  void RepaintNow(Control c) override;
  void ClearItems(Control c) override;
  void AddItem(Control c, std::u16string_view item) override;
  int GetItemIndex(Control c) const override;
  void SetItemIndex(Control c, int index) override;
  bool GetChecked(Control c) const override;
  void SetChecked(Control c, bool checked) override;
  void SetEnabled(Control c, bool enabled) override;
  Surface& PaintBox() override { return screen_; }
  bool CreateBitmap(Surface& bitmap, int width, int height) override;
  ScreenPoint CursorPos() const override;
  ScreenRect PaintBoxRect() const override;
  ScreenRect ControlColumnRect() const override;
  void ShowMessage(std::u16string_view text) override;
  void Beep() override;
  void ProcessMessages() override;
  bool EscapeHeld() override;
  void WaitEscapeUp() override;

 private:
  struct GdiDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
  };
  template <typename Handle>
  using Gdi = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;

  LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;
  bool CreateControls();
  void ConnectHandlers();
  ControlArgs Args(HWND parent, std::u16string_view name, std::u16string_view text, Place place,
                   Align align = Align::None);
  // Key preview and the wheel first, then the dialog keys (Tab, Enter, Alt+letter); true when
  // the message needs no dispatch of its own.
  bool PreTranslate(MSG& msg);
  void Dispatch(MSG& msg);
  bool KeyPreview(WPARAM key);
  bool Wheel(int delta, ScreenPoint pos);
  void Resized();
  void ShowSurface();
  LRESULT ControlColour(HDC dc, HWND control) const;
  int DefaultButtonId() const;
  Ctrl* FindCtrl(int id) const;
  Ctrl* FindCtrl(HWND hwnd) const;
  HWND HwndOf(Control c) const;
  const ComboBox* ComboOf(Control c) const;

  std::u16string program_path_;
  HWND hwnd_ = nullptr;
  Gdi<HFONT> font_;
  Gdi<HBRUSH> face_brush_;
  Gdi<HBRUSH> memo_brush_;
  int next_id_ = 100;

  // The components, in the order they are created (which is also the tab order).
  Panel panel2_;
  Button button1_;
  Button button2_;
  Panel panel1_;
  vardo::PaintBox paint_box1_;
  Label label_m_;
  Panel panel3_;
  Panel panel4_;
  Label label1_;
  ComboBox combo_box1_;
  Label label2_;
  ComboBox combo_box2_;
  CheckBox check_box1_;
  CheckBox check_box3_;
  Label label4_;
  Edit edit1_;
  Label label5_;
  Label label6_;
  ComboBox combo_box4_;
  Label label7_;
  CheckBox check_box2_;
  Label label8_;
  Edit edit2_;
  Label label9_;
  Label label10_;
  ComboBox combo_box5_;
  Label label11_;
  Button button3_;
  Memo memo1_;
  Label label_n_;
  std::vector<Ctrl*> docked_;  // the form's own docked panels
  std::vector<Ctrl*> all_;

  Surface screen_;
  HWND focus_ = nullptr;  // the control that had the focus when the window was last active
  int wheel_rest_ = 0;    // wheel movement short of a whole notch
  FormHost host_;         // last: the form refers to the window while it lives
};

}  // namespace vardo
