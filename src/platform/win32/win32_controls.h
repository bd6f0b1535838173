// The Win32 controls of the main window as small structs: each is created from a CreateArgs of
// defaults and reports what the user did through onXxx callbacks. Panels and the paint box are
// windows of our own classes; the rest are the system's controls.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "render/surface.h"

namespace vardo {

// A window of one of our own classes. The one window procedure finds the object through the
// pointer attached at WM_NCCREATE and hands it every message after that.
class WindowBase {
 public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  virtual ~WindowBase() = default;

  // Registers our window classes and loads the common controls; once per process is enough,
  // later calls find everything in place.
  static bool RegisterClasses();

 protected:
  static constexpr wchar_t kMainClass[] = L"VardoHatchMain";
  static constexpr wchar_t kPanelClass[] = L"VardoHatchPanel";
  static constexpr wchar_t kPaintBoxClass[] = L"VardoHatchPaintBox";

  // Creates a window of one of our classes with this object attached to it.
  HWND CreateAttached(const wchar_t* window_class, DWORD ex_style, std::u16string_view text,
                      DWORD style, RECT place, HWND parent, int id);
  virtual LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) = 0;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

// How a control sits in its parent: at its design place, or docked to an edge or to what the
// docked ones leave.
enum class Align { None, Top, Bottom, Left, Right, Client };

// Design place inside the parent's client area; 0 for a size the control takes by itself.
struct Place {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// What every control shares.
struct ControlArgs {
  HWND parent = nullptr;
  std::u16string_view name;  // the component name, as the form calls it
  std::u16string_view text;
  int id = 0;
  Place place;
  Align align = Align::None;
  HFONT font = nullptr;
  // Background of a control the system paints on its parent's colour; null for the system's.
  HBRUSH background = nullptr;
  COLORREF background_colour = 0;
};

struct Ctrl {
  virtual ~Ctrl() = default;
  // A WM_COMMAND notification the control sent to its parent.
  virtual void OnCommand(WORD) {}

  std::u16string name;
  HWND hwnd = nullptr;
  int id = 0;
  Align align = Align::None;
  Place place;
  HBRUSH background = nullptr;
  COLORREF background_colour = 0;
};

// Lays out the docked children inside the parent's client area the way the form designer does:
// top, bottom, left and right edges in that order, then the client rest.
void AlignChildren(HWND parent, const std::vector<Ctrl*>& children);

struct Panel final : Ctrl, WindowBase {
  struct CreateArgs : ControlArgs {};
  bool Create(const CreateArgs& args);

  // Its docked children; the others keep their design places.
  std::vector<Ctrl*> children;

 private:
  LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;
};

// The drawing view: shows the pixels of a surface and reports the mouse.
struct PaintBox final : Ctrl, WindowBase {
  struct CreateArgs : ControlArgs {
    const Surface* surface = nullptr;
  };
  bool Create(const CreateArgs& args);

  std::function<void(const MouseEvent&)> onMouseDown;
  std::function<void(const MouseEvent&)> onMouseMove;
  std::function<void(const MouseEvent&)> onMouseUp;

 private:
  LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc, const RECT& area);
  void Mouse(UINT msg, WPARAM wp, LPARAM lp);

  const Surface* surface_ = nullptr;
  std::vector<uint32_t> scratch_;  // the painted part in the order a DIB keeps its colours
};

struct Button final : Ctrl {
  struct CreateArgs : ControlArgs {
    bool is_default = false;  // Enter clicks it wherever the focus is not on another button
  };
  bool Create(const CreateArgs& args);
  void OnCommand(WORD code) override;

  std::function<void()> onClicked;
};

struct CheckBox final : Ctrl {
  struct CreateArgs : ControlArgs {};
  bool Create(const CreateArgs& args);
  void OnCommand(WORD code) override;

  std::function<void()> onClicked;
};

struct ComboBox final : Ctrl {
  struct CreateArgs : ControlArgs {
    bool editable = false;  // a text field of its own, else a drop-down list
    int visible_items = 8;
  };
  bool Create(const CreateArgs& args);
  void OnCommand(WORD code) override;

  bool editable = false;
  std::function<void()> onSelectionChanged;
};

struct Edit final : Ctrl {
  struct CreateArgs : ControlArgs {
    int max_length = 0;  // characters the user can type; 0 for the system's limit
  };
  bool Create(const CreateArgs& args);
};

// A read-only text of several lines with both scroll bars and no word wrap, not a tab stop.
struct Memo final : Ctrl {
  struct CreateArgs : ControlArgs {};
  bool Create(const CreateArgs& args);
};

struct Label final : Ctrl {
  struct CreateArgs : ControlArgs {
    bool centred = false;
    bool auto_size = true;  // the size of its text; docked labels take the dock's size
  };
  bool Create(const CreateArgs& args);
};

}  // namespace vardo
