// The main window's controls: window classes, the one window procedure, docking, panels, the
// paint box and the system's controls with their notifications.
#include "platform/win32/win32_controls.h"

#include <commctrl.h>
#include <imm.h>
#include <windowsx.h>

#include <algorithm>
#include <array>

#include "platform/win32/win32_check.h"

namespace vardo {

namespace {

// The messages a panel passes up to the main window, which knows every control: notifications
// and the colours of the controls the system paints on the panel.
bool PassedToMainWindow(UINT msg) {
  return msg == WM_COMMAND || msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN;
}

// Our windows paint their own backgrounds, so the classes have none.
bool RegisterOne(const wchar_t* name, WNDPROC proc) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, name, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  return Check(RegisterClassExW(&wc), "RegisterClassExW") != 0;
}

HWND CreateChild(const ControlArgs& args, const wchar_t* window_class, DWORD style,
                 DWORD ex_style = 0) {
  const std::wstring text = Wide(args.text);
  const Place& p = args.place;
  return Check(CreateWindowExW(ex_style, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                               p.left, p.top, p.width, p.height, args.parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                               GetModuleHandleW(nullptr), nullptr),
               "CreateWindowExW");
}

// Takes over what every control shares and gives the control its font.
bool Adopt(Ctrl& c, const ControlArgs& args, HWND hwnd) {
  c.name = args.name;
  c.hwnd = hwnd;
  c.id = args.id;
  c.align = args.align;
  c.place = args.place;
  c.background = args.background;
  c.background_colour = args.background_colour;
  if (!hwnd) return false;
  if (args.font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(args.font), FALSE);
  return true;
}

// Typing in these fields must not go through the input method editor: they take numbers only.
void DisableInputMethod(HWND hwnd) {
  if (hwnd) Check(ImmAssociateContextEx(hwnd, nullptr, 0), "ImmAssociateContextEx");
}

void Dock(Ctrl& c, RECT& rest) {
  const int width = std::max(0, static_cast<int>(rest.right - rest.left));
  const int height = std::max(0, static_cast<int>(rest.bottom - rest.top));
  RECT r = rest;
  switch (c.align) {
    case Align::Top:
      r.bottom = rest.top + c.place.height;
      rest.top = r.bottom;
      break;
    case Align::Bottom:
      r.top = rest.bottom - c.place.height;
      rest.bottom = r.top;
      break;
    case Align::Left:
      r.right = rest.left + c.place.width;
      rest.left = r.right;
      break;
    case Align::Right:
      r.left = rest.right - c.place.width;
      rest.right = r.left;
      break;
    case Align::Client:
      r.right = r.left + width;
      r.bottom = r.top + height;
      break;
    case Align::None:
      return;
  }
  Check(SetWindowPos(c.hwnd, nullptr, r.left, r.top, std::max(0L, r.right - r.left),
                     std::max(0L, r.bottom - r.top), SWP_NOZORDER | SWP_NOACTIVATE),
        "SetWindowPos");
}

unsigned ButtonsOf(WPARAM wp) {
  unsigned buttons = 0;
  if (wp & MK_LBUTTON) buttons |= kMouseLeft;
  if (wp & MK_RBUTTON) buttons |= kMouseRight;
  if (wp & MK_MBUTTON) buttons |= kMouseMiddle;
  return buttons;
}

// Surface colours keep red in the low byte, a 32-bit DIB keeps blue there.
uint32_t DibColour(uint32_t colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

}  // namespace

// --- WindowBase ---

bool WindowBase::RegisterClasses() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  Check(InitCommonControlsEx(&icc), "InitCommonControlsEx");
  return RegisterOne(kMainClass, WndProc) && RegisterOne(kPanelClass, WndProc) &&
         RegisterOne(kPaintBoxClass, WndProc);
}

HWND WindowBase::CreateAttached(const wchar_t* window_class, DWORD ex_style,
                                std::u16string_view text, DWORD style, RECT place, HWND parent,
                                int id) {
  const std::wstring caption = Wide(text);
  // A top-level window takes no control id where a child takes it.
  HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
  return Check(CreateWindowExW(ex_style, window_class, caption.c_str(), style, place.left,
                               place.top, place.right - place.left, place.bottom - place.top,
                               parent, menu, GetModuleHandleW(nullptr), this),
               "CreateWindowExW");
}

LRESULT CALLBACK WindowBase::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* object = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
  }
  auto* object = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!object) return DefWindowProcW(hwnd, msg, wp, lp);
  const LRESULT result = object->OnMessage(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  return result;
}

// --- docking ---

void AlignChildren(HWND parent, const std::vector<Ctrl*>& children) {
  RECT rest;
  if (!Check(GetClientRect(parent, &rest), "GetClientRect")) return;
  for (Align a : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
    for (Ctrl* c : children) {
      if (c->align == a && c->hwnd) Dock(*c, rest);
    }
  }
}

// --- Panel ---

bool Panel::Create(const CreateArgs& args) {
  const Place& p = args.place;
  const HWND h =
      CreateAttached(kPanelClass, WS_EX_CONTROLPARENT, args.text,
                     WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                     {p.left, p.top, p.left + p.width, p.top + p.height}, args.parent, args.id);
  return Adopt(*this, args, h);
}

LRESULT Panel::OnMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (PassedToMainWindow(msg)) return SendMessageW(GetAncestor(h, GA_ROOT), msg, wp, lp);
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT r;
      if (!background || !Check(GetClientRect(h, &r), "GetClientRect")) break;
      Check(FillRect(reinterpret_cast<HDC>(wp), &r, background), "FillRect");
      return 1;
    }
    case WM_SIZE:
      AlignChildren(h, children);
      return 0;
    case WM_NCDESTROY:
      hwnd = nullptr;
      break;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

// --- PaintBox ---

bool PaintBox::Create(const CreateArgs& args) {
  surface_ = args.surface;
  const Place& p = args.place;
  const HWND h =
      CreateAttached(kPaintBoxClass, 0, args.text, WS_CHILD | WS_VISIBLE,
                     {p.left, p.top, p.left + p.width, p.top + p.height}, args.parent, args.id);
  return Adopt(*this, args, h);
}

LRESULT PaintBox::OnMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = Check(BeginPaint(h, &ps), "BeginPaint");
      if (dc) Paint(dc, ps.rcPaint);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      Mouse(msg, wp, lp);
      return 0;
    case WM_NCDESTROY:
      hwnd = nullptr;
      break;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

// Copies the surface out as it stands; what lies outside it (a surface that could not be had)
// shows white.
void PaintBox::Paint(HDC dc, const RECT& area) {
  const int sw = surface_ ? surface_->Width() : 0;
  const int sh = surface_ ? surface_->Height() : 0;
  const int x0 = std::max(0, static_cast<int>(area.left));
  const int y0 = std::max(0, static_cast<int>(area.top));
  const int x1 = std::min(sw, static_cast<int>(area.right));
  const int y1 = std::min(sh, static_cast<int>(area.bottom));
  if (x1 > x0 && y1 > y0) {
    const int w = x1 - x0, h = y1 - y0;
    scratch_.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
      const uint32_t* row = surface_->Row(y0 + y) + x0;
      std::transform(row, row + w, scratch_.begin() + static_cast<ptrdiff_t>(y) * w, DibColour);
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down, as the surface keeps its rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    Check(SetDIBitsToDevice(dc, x0, y0, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0,
                            static_cast<UINT>(h), scratch_.data(), &bi, DIB_RGB_COLORS),
          "SetDIBitsToDevice");
  }
  if (sw < area.right || sh < area.bottom) {
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, 0, 0, sw, sh);
    Check(FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), "FillRect");
    RestoreDC(dc, saved);
  }
}

// A gesture keeps the mouse until its last button is up, so a release outside the paint box
// still ends it.
void PaintBox::Mouse(UINT msg, WPARAM wp, LPARAM lp) {
  const MouseEvent e{ButtonsOf(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SetCapture(hwnd);
      if (onMouseDown) onMouseDown(e);
      return;
    case WM_MOUSEMOVE:
      if (onMouseMove) onMouseMove(e);
      return;
    default:
      if (e.buttons == 0 && GetCapture() == hwnd) Check(ReleaseCapture(), "ReleaseCapture");
      if (onMouseUp) onMouseUp(e);
      return;
  }
}

// --- system controls ---

bool Button::Create(const CreateArgs& args) {
  const DWORD style = WS_TABSTOP | (args.is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  return Adopt(*this, args, CreateChild(args, WC_BUTTONW, style));
}

// Enter reaches a button through the main window even while it is disabled.
void Button::OnCommand(WORD code) {
  if (code == BN_CLICKED && onClicked && IsWindowEnabled(hwnd)) onClicked();
}

bool CheckBox::Create(const CreateArgs& args) {
  return Adopt(*this, args, CreateChild(args, WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX));
}

void CheckBox::OnCommand(WORD code) {
  if (code == BN_CLICKED && onClicked) onClicked();
}

bool ComboBox::Create(const CreateArgs& args) {
  editable = args.editable;
  const DWORD style =
      WS_TABSTOP | WS_VSCROLL | (editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST);
  if (!Adopt(*this, args, CreateChild(args, WC_COMBOBOXW, style))) return false;
  Check(SendMessageW(hwnd, CB_SETMINVISIBLE, static_cast<WPARAM>(args.visible_items), 0),
        "CB_SETMINVISIBLE");
  DisableInputMethod(hwnd);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (editable && Check(GetComboBoxInfo(hwnd, &info), "GetComboBoxInfo")) {
    DisableInputMethod(info.hwndItem);
  }
  return true;
}

void ComboBox::OnCommand(WORD code) {
  if (code == CBN_SELCHANGE && onSelectionChanged) onSelectionChanged();
}

bool Edit::Create(const CreateArgs& args) {
  if (!Adopt(*this, args,
             CreateChild(args, WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE))) {
    return false;
  }
  if (args.max_length > 0) SendMessageW(hwnd, EM_LIMITTEXT, args.max_length, 0);
  DisableInputMethod(hwnd);
  return true;
}

bool Memo::Create(const CreateArgs& args) {
  const DWORD style =
      WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  return Adopt(*this, args, CreateChild(args, WC_EDITW, style, WS_EX_CLIENTEDGE));
}

bool Label::Create(const CreateArgs& args) {
  const DWORD style = SS_NOPREFIX | (args.centred ? SS_CENTER : SS_LEFT);
  if (!Adopt(*this, args, CreateChild(args, WC_STATICW, style))) return false;
  if (!args.auto_size) return true;
  const HDC dc = Check(GetDC(hwnd), "GetDC");
  if (!dc) return true;
  const HGDIOBJ old = SelectObject(dc, args.font ? args.font : GetStockObject(DEFAULT_GUI_FONT));
  const std::wstring text = Wide(args.text);
  RECT r{0, 0, 0, 0};
  if (Check(DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                      DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX),
            "DrawTextW")) {
    place.width = r.right - r.left;
    place.height = r.bottom - r.top;
    Check(SetWindowPos(hwnd, nullptr, 0, 0, place.width, place.height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE),
          "SetWindowPos");
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return true;
}

}  // namespace vardo
