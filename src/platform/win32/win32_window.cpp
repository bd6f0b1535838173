// The main window: its components as the form designer placed them, the message loop with key
// preview and wheel notches, the paint box's surface, and FormWindow through the system.
#include "platform/win32/win32_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

#include "app/form_layout.h"
#include "platform/win32/win32_check.h"

namespace vardo {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr COLORREF kMoneyGreen = RGB(192, 220, 192);
constexpr COLORREF kMemoColour = RGB(0xBB, 0xEB, 0xF4);
constexpr int kFontHeight = -13;
constexpr int kCheckBoxHeight = 17;
constexpr int kButtonHeight = 35;
constexpr int kComboDropHeight = 160;
constexpr UINT kDefaultBeep = 0xFFFF;

KeyCode KeyCodeOf(WPARAM key) {
  switch (key) {
    case VK_PRIOR:
      return KeyCode::PageUp;
    case VK_NEXT:
      return KeyCode::PageDown;
    case VK_INSERT:
      return KeyCode::Insert;
    case VK_END:
      return KeyCode::End;
    case VK_HOME:
      return KeyCode::Home;
    case VK_LEFT:
      return KeyCode::Left;
    case VK_RIGHT:
      return KeyCode::Right;
    case VK_UP:
      return KeyCode::Up;
    case VK_DOWN:
      return KeyCode::Down;
    case VK_DELETE:
      return KeyCode::Delete;
    case VK_ESCAPE:
      return KeyCode::Escape;
    default:
      return KeyCode::Other;
  }
}

ScreenRect ToScreenRect(const RECT& r) {
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

ScreenRect ClientRectOnScreen(HWND hwnd) {
  RECT r;
  POINT origin{0, 0};
  if (!hwnd || !Check(GetClientRect(hwnd, &r), "GetClientRect") ||
      !Check(ClientToScreen(hwnd, &origin), "ClientToScreen")) {
    return {};
  }
  return {origin.x, origin.y, r.right, r.bottom};
}

ScreenRect WindowRectOnScreen(HWND hwnd) {
  RECT r;
  if (!hwnd || !Check(GetWindowRect(hwnd, &r), "GetWindowRect")) return {};
  return ToScreenRect(r);
}

int ClampToInt(long long v) {
  return static_cast<int>(
      std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// A window placed where no monitor is (a display since taken away, a damaged settings file)
// could never be seen or moved: it goes to the top-left of the nearest monitor's work area.
RECT OnAMonitor(const ScreenRect& bounds) {
  RECT r{bounds.left, bounds.top, ClampToInt(static_cast<long long>(bounds.left) + bounds.width),
         ClampToInt(static_cast<long long>(bounds.top) + bounds.height)};
  if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return r;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!Check(GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info),
             "GetMonitorInfoW")) {
    return r;
  }
  return {info.rcWork.left, info.rcWork.top, info.rcWork.left + bounds.width,
          info.rcWork.top + bounds.height};
}

// The height the form designer gives a 3-D edit for its font.
int EditHeight(HFONT font) {
  const HDC dc = Check(GetDC(nullptr), "GetDC");
  if (!dc) return 21;
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  const bool measured = Check(GetTextMetricsW(dc, &tm), "GetTextMetricsW");
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return measured ? tm.tmHeight + 8 : 21;
}

std::u16string HelpText() {
  std::u16string text;
  for (std::u16string_view line : kHelpLines) {
    if (!text.empty()) text += u"\r\n";
    text += line;
  }
  return text;
}

}  // namespace

Win32Window::Win32Window(std::u16string program_path)
    : program_path_(std::move(program_path)), host_(*this) {
  if (!RegisterClasses()) return;
  font_.reset(Check(CreateFontW(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"),
                    "CreateFontW"));
  face_brush_.reset(Check(CreateSolidBrush(kMoneyGreen), "CreateSolidBrush"));
  memo_brush_.reset(Check(CreateSolidBrush(kMemoColour), "CreateSolidBrush"));
  RECT outer{0, 0, kDesignClientWidth, kDesignClientHeight};
  Check(AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle), "AdjustWindowRectEx");
  OffsetRect(&outer, -outer.left, -outer.top);
  CreateAttached(kMainClass, kExStyle, kFormCaption, kStyle, outer, nullptr, 0);
  if (!hwnd_) return;
  if (!CreateControls()) {
    Check(DestroyWindow(hwnd_), "DestroyWindow");
    return;
  }
  ConnectHandlers();
  AlignChildren(hwnd_, docked_);
}

Win32Window::~Win32Window() {
  if (hwnd_) Check(DestroyWindow(hwnd_), "DestroyWindow");
}

// --- building the window ---

ControlArgs Win32Window::Args(HWND parent, std::u16string_view name, std::u16string_view text,
                              Place place, Align align) {
  ControlArgs a;
  a.parent = parent;
  a.name = name;
  a.text = text;
  a.id = next_id_++;
  a.place = place;
  a.align = align;
  a.font = font_.get();
  a.background = face_brush_.get();
  a.background_colour = kMoneyGreen;
  return a;
}

bool Win32Window::CreateControls() {
  const int edit_height = EditHeight(font_.get());
  bool ok =
      panel2_.Create({Args(hwnd_, u"Panel2", u"", {0, 0, 0, kButtonPanelHeight}, Align::Bottom)}) &&
      button1_.Create(
          {Args(panel2_.hwnd, u"Button1", kButton1Caption, {4, 4, 85, kButtonHeight}), true}) &&
      button2_.Create(
          {Args(panel2_.hwnd, u"Button2", kButton2Caption, {100, 4, 130, kButtonHeight})}) &&
      panel1_.Create({Args(hwnd_, u"Panel1", u"", {}, Align::Client)}) &&
      paint_box1_.Create({Args(panel1_.hwnd, u"PaintBox1", u"", {}, Align::Client), &screen_}) &&
      label_m_.Create(
          {Args(panel1_.hwnd, u"LabelM", u"", {0, 0, 0, kStatusLineHeight}, Align::Bottom), true,
           false}) &&
      panel3_.Create(
          {Args(panel1_.hwnd, u"Panel3", u"", {0, 0, kControlColumnWidth, 0}, Align::Right)}) &&
      panel4_.Create(
          {Args(panel3_.hwnd, u"Panel4", u"", {0, 0, 0, kSettingsPanelHeight}, Align::Top)});
  ok =
      ok && label1_.Create({Args(panel4_.hwnd, u"Label1", u"線色", {8, 8})}) &&
      combo_box1_.Create({Args(panel4_.hwnd, u"ComboBox1", u"", {48, 4, 137, kComboDropHeight})}) &&
      label2_.Create({Args(panel4_.hwnd, u"Label2", u"線種", {8, 32})}) &&
      combo_box2_.Create(
          {Args(panel4_.hwnd, u"ComboBox2", u"", {48, 28, 137, kComboDropHeight})}) &&
      check_box1_.Create(
          {Args(panel4_.hwnd, u"CheckBox1", kCheckBox1Caption, {5, 58, 97, kCheckBoxHeight})}) &&
      // In the free space right of "モノクロ化", ending where the lists end; created next to it so
      // that Tab reaches it next.
      check_box3_.Create(
          {Args(panel4_.hwnd, u"CheckBox3", kCheckBox3Caption, {106, 58, 79, kCheckBoxHeight})}) &&
      label4_.Create({Args(panel4_.hwnd, u"Label4", u"間隔：", {5, 82})}) &&
      edit1_.Create(
          {Args(panel4_.hwnd, u"Edit1", u"", {49, 78, 73, edit_height}), kSpacingMaxLength}) &&
      label5_.Create({Args(panel4_.hwnd, u"Label5", u"図寸mm", {129, 82})}) &&
      label6_.Create({Args(panel4_.hwnd, u"Label6", u"角度：", {5, 110})}) &&
      combo_box4_.Create(
          {Args(panel4_.hwnd, u"ComboBox4", u"", {49, 104, 97, kComboDropHeight}), true}) &&
      label7_.Create({Args(panel4_.hwnd, u"Label7", u"°", {152, 104})}) &&
      check_box2_.Create(
          {Args(panel4_.hwnd, u"CheckBox2", kCheckBox2Caption, {5, 134, 137, kCheckBoxHeight})}) &&
      label8_.Create({Args(panel4_.hwnd, u"Label8", u"間隔：", {5, 160})}) &&
      edit2_.Create(
          {Args(panel4_.hwnd, u"Edit2", u"", {49, 158, 73, edit_height}), kSpacingMaxLength}) &&
      label9_.Create({Args(panel4_.hwnd, u"Label9", u"図寸mm", {129, 162})}) &&
      label10_.Create({Args(panel4_.hwnd, u"Label10", u"角度：", {5, 188})}) &&
      combo_box5_.Create(
          {Args(panel4_.hwnd, u"ComboBox5", u"", {49, 184, 97, kComboDropHeight}), true}) &&
      label11_.Create({Args(panel4_.hwnd, u"Label11", u"°", {152, 184})}) &&
      button3_.Create(
          {Args(panel4_.hwnd, u"Button3", kButton3Caption, {48, 211, 136, kButtonHeight})});
  const std::u16string help = HelpText();
  ControlArgs memo = Args(panel3_.hwnd, u"Memo1", help, {}, Align::Client);
  memo.background = memo_brush_.get();
  memo.background_colour = kMemoColour;
  ok = ok && memo1_.Create({memo}) &&
       label_n_.Create(
           {Args(panel3_.hwnd, u"LabelN", u"", {0, 0, 0, kCounterLineHeight}, Align::Bottom), true,
            false});
  if (!ok) return false;

  // Edits and lists keep the system's white.
  for (Ctrl* c : {static_cast<Ctrl*>(&combo_box1_), static_cast<Ctrl*>(&combo_box2_),
                  static_cast<Ctrl*>(&combo_box4_), static_cast<Ctrl*>(&combo_box5_),
                  static_cast<Ctrl*>(&edit1_), static_cast<Ctrl*>(&edit2_)}) {
    c->background = nullptr;
  }
  for (std::u16string_view angle : kAngleItems) {
    AddItem(Control::ComboBox4, angle);
    AddItem(Control::ComboBox5, angle);
  }
  docked_ = {&panel2_, &panel1_};
  panel1_.children = {&paint_box1_, &label_m_, &panel3_};
  panel3_.children = {&panel4_, &memo1_, &label_n_};
  all_ = {&panel2_,     &button1_,    &button2_,    &panel1_,     &paint_box1_, &label_m_,
          &panel3_,     &panel4_,     &label1_,     &combo_box1_, &label2_,     &combo_box2_,
          &check_box1_, &check_box3_, &label4_,     &edit1_,      &label5_,     &label6_,
          &combo_box4_, &label7_,     &check_box2_, &label8_,     &edit2_,      &label9_,
          &label10_,    &combo_box5_, &label11_,    &button3_,    &memo1_,      &label_n_};
  return true;
}

// What the user does with the controls goes to the form; the surface is shown after each,
// since the handlers draw on it.
void Win32Window::ConnectHandlers() {
  paint_box1_.onMouseDown = [this](const MouseEvent& e) {
    host_.MouseDown(e);
    ShowSurface();
  };
  paint_box1_.onMouseMove = [this](const MouseEvent& e) {
    host_.MouseMove(e);
    ShowSurface();
  };
  paint_box1_.onMouseUp = [this](const MouseEvent& e) {
    host_.MouseUp(e);
    ShowSurface();
  };
  for (auto [button, c] :
       {std::pair{&button1_, Control::Button1}, std::pair{&button2_, Control::Button2},
        std::pair{&button3_, Control::Button3}}) {
    button->onClicked = [this, c] { host_.ControlUsed(c); };
  }
  for (auto [box, c] :
       {std::pair{&check_box1_, Control::CheckBox1}, std::pair{&check_box2_, Control::CheckBox2},
        std::pair{&check_box3_, Control::CheckBox3}}) {
    box->onClicked = [this, c] { host_.ControlUsed(c); };
  }
  for (auto [combo, c] :
       {std::pair{&combo_box1_, Control::ComboBox1}, std::pair{&combo_box2_, Control::ComboBox2},
        std::pair{&combo_box4_, Control::ComboBox4}, std::pair{&combo_box5_, Control::ComboBox5}}) {
    combo->onSelectionChanged = [this, c] { host_.ControlUsed(c); };
  }
}

// --- what the program does ---

void Win32Window::Show() {
  if (host_.Shown() || host_.Closed() || !hwnd_) return;
  host_.Show();
  ShowSurface();
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  focus_ = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (focus_) SetFocus(focus_);
  Check(UpdateWindow(hwnd_), "UpdateWindow");
}

void Win32Window::Run() {
  MSG msg;
  while (!host_.Closed()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || !Check(got != -1, "GetMessageW")) return;
    Dispatch(msg);
  }
}

void Win32Window::Dispatch(MSG& msg) {
  if (PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool Win32Window::PreTranslate(MSG& msg) {
  if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (KeyPreview(msg.wParam)) return true;
      break;
    case WM_MOUSEWHEEL:
      if (Wheel(GET_WHEEL_DELTA_WPARAM(msg.wParam),
                {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)})) {
        return true;
      }
      break;
  }
  return !hwnd_ || IsDialogMessageW(hwnd_, &msg);
}

// The form sees every key before the focused control; a key it handled goes no further.
bool Win32Window::KeyPreview(WPARAM key) {
  const bool handled = host_.KeyDown(KeyCodeOf(key), (GetKeyState(VK_SHIFT) & 0x8000) != 0);
  ShowSurface();
  return handled;
}

// One handler call per whole notch; what is left of a finer wheel waits for the next message.
bool Win32Window::Wheel(int delta, ScreenPoint pos) {
  wheel_rest_ += delta;
  bool handled = false;
  while (std::abs(wheel_rest_) >= WHEEL_DELTA) {
    const bool up = wheel_rest_ > 0;
    wheel_rest_ += up ? -WHEEL_DELTA : WHEEL_DELTA;
    handled = host_.Wheel(up, pos) || handled;
  }
  ShowSurface();
  return handled;
}

// --- the window's own messages ---

LRESULT Win32Window::OnMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE:
      hwnd_ = h;
      break;
    case WM_ERASEBKGND: {
      RECT r;
      if (!face_brush_ || !Check(GetClientRect(h, &r), "GetClientRect")) break;
      Check(FillRect(reinterpret_cast<HDC>(wp), &r, face_brush_.get()), "FillRect");
      return 1;
    }
    case WM_SIZE:
      // A minimised window keeps its layout and its picture.
      if (wp != SIZE_MINIMIZED) Resized();
      return 0;
    case WM_COMMAND:
      if (Ctrl* c = FindCtrl(LOWORD(wp))) c->OnCommand(HIWORD(wp));
      ShowSurface();
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (const LRESULT brush =
              ControlColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
        return brush;
      break;
    case DM_GETDEFID:
      return MAKELRESULT(DefaultButtonId(), DC_HASDEFID);
    case WM_ACTIVATE:
      // The system gives the focus to the window itself on activation; the control that had it
      // is what the user expects back.
      if (LOWORD(wp) == WA_INACTIVE) {
        const HWND f = GetFocus();
        if (f && IsChild(h, f)) focus_ = f;
      } else if (focus_ && IsWindow(focus_)) {
        SetFocus(focus_);
        return 0;
      }
      break;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      for (Ctrl* c : all_) {
        c->hwnd = nullptr;
      }
      break;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

// The form resizes with its panels, then hears of it.
void Win32Window::Resized() {
  AlignChildren(hwnd_, docked_);
  host_.Resized();
  ShowSurface();
}

void Win32Window::ShowSurface() {
  if (paint_box1_.hwnd) Check(InvalidateRect(paint_box1_.hwnd, nullptr, FALSE), "InvalidateRect");
}

LRESULT Win32Window::ControlColour(HDC dc, HWND control) const {
  const Ctrl* c = FindCtrl(control);
  if (!c || !c->background) return 0;
  SetBkColor(dc, c->background_colour);
  return reinterpret_cast<LRESULT>(c->background);
}

// Enter clicks the focused push button, else OK.
int Win32Window::DefaultButtonId() const {
  const HWND f = GetFocus();
  for (const Button* b : {&button1_, &button2_, &button3_}) {
    if (f && b->hwnd == f) return b->id;
  }
  return button1_.id;
}

Ctrl* Win32Window::FindCtrl(int id) const {
  for (Ctrl* c : all_) {
    if (c->id == id) return c;
  }
  return nullptr;
}

Ctrl* Win32Window::FindCtrl(HWND hwnd) const {
  for (Ctrl* c : all_) {
    if (hwnd && c->hwnd == hwnd) return c;
  }
  return nullptr;
}

HWND Win32Window::Find(std::u16string_view name) const {
  if (name == u"Form1") return hwnd_;
  for (const Ctrl* c : all_) {
    if (c->name == name) return c->hwnd;
  }
  return nullptr;
}

HWND Win32Window::HwndOf(Control c) const {
  switch (c) {
    case Control::Button1:
      return button1_.hwnd;
    case Control::Button2:
      return button2_.hwnd;
    case Control::Button3:
      return button3_.hwnd;
    case Control::CheckBox1:
      return check_box1_.hwnd;
    case Control::CheckBox2:
      return check_box2_.hwnd;
    case Control::CheckBox3:
      return check_box3_.hwnd;
    case Control::Edit1:
      return edit1_.hwnd;
    case Control::Edit2:
      return edit2_.hwnd;
    case Control::LabelM:
      return label_m_.hwnd;
    case Control::LabelN:
      return label_n_.hwnd;
    default: {
      const ComboBox* combo = ComboOf(c);
      return combo ? combo->hwnd : nullptr;
    }
  }
}

const ComboBox* Win32Window::ComboOf(Control c) const {
  switch (c) {
    case Control::ComboBox1:
      return &combo_box1_;
    case Control::ComboBox2:
      return &combo_box2_;
    case Control::ComboBox4:
      return &combo_box4_;
    case Control::ComboBox5:
      return &combo_box5_;
    default:
      return nullptr;
  }
}

// --- FormWindow: main window ---

ScreenRect Win32Window::GetBounds() const {
  return WindowRectOnScreen(hwnd_);
}

// The system keeps the size within what the screen allows.
void Win32Window::SetBounds(const ScreenRect& bounds) {
  if (!hwnd_) return;
  const RECT r = OnAMonitor(bounds);
  Check(SetWindowPos(hwnd_, nullptr, r.left, r.top, bounds.width, bounds.height,
                     SWP_NOZORDER | SWP_NOACTIVATE),
        "SetWindowPos");
}

void Win32Window::Close() {
  if (host_.Close() && hwnd_) Check(DestroyWindow(hwnd_), "DestroyWindow");
}

// --- FormWindow: controls ---

std::u16string Win32Window::GetText(Control c) const {
  return WindowText(HwndOf(c));
}

void Win32Window::SetText(Control c, std::u16string_view text) {
  const HWND h = HwndOf(c);
  if (!h) return;
  const std::wstring wide = Wide(text);
  Check(SetWindowTextW(h, wide.c_str()), "SetWindowTextW");
}

void Win32Window::RepaintNow(Control c) {
  const HWND h = HwndOf(c);
  if (!h) return;
  Check(RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW),
        "RedrawWindow");
}

// An editable list keeps its text when its items go, as the form expects of it.
void Win32Window::ClearItems(Control c) {
  const ComboBox* combo = ComboOf(c);
  if (!combo || !combo->hwnd) return;
  const std::u16string text = combo->editable ? WindowText(combo->hwnd) : std::u16string();
  SendMessageW(combo->hwnd, CB_RESETCONTENT, 0, 0);
  if (combo->editable) SetText(c, text);
}

void Win32Window::AddItem(Control c, std::u16string_view item) {
  const ComboBox* combo = ComboOf(c);
  if (!combo || !combo->hwnd) return;
  const std::wstring wide = Wide(item);
  const LRESULT index =
      SendMessageW(combo->hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  Check(index >= 0, "CB_ADDSTRING");
}

int Win32Window::GetItemIndex(Control c) const {
  const ComboBox* combo = ComboOf(c);
  if (!combo || !combo->hwnd) return -1;
  const LRESULT index = SendMessageW(combo->hwnd, CB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void Win32Window::SetItemIndex(Control c, int index) {
  const ComboBox* combo = ComboOf(c);
  if (!combo || !combo->hwnd) return;
  // -1 clears the selection; not every system clears it for other indices outside the list.
  const LRESULT count = SendMessageW(combo->hwnd, CB_GETCOUNT, 0, 0);
  const bool inside = index >= 0 && index < count;
  SendMessageW(combo->hwnd, CB_SETCURSEL, inside ? static_cast<WPARAM>(index) : WPARAM(-1), 0);
}

bool Win32Window::GetChecked(Control c) const {
  const HWND h = HwndOf(c);
  return h && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::SetChecked(Control c, bool checked) {
  const HWND h = HwndOf(c);
  if (h) SendMessageW(h, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Window::SetEnabled(Control c, bool enabled) {
  const HWND h = HwndOf(c);
  if (h) EnableWindow(h, enabled);
}

// --- FormWindow: paint box ---

bool Win32Window::CreateBitmap(Surface& bitmap, int width, int height) {
  return bitmap.Resize(width, height);
}

// --- FormWindow: pointer and geometry ---

ScreenPoint Win32Window::CursorPos() const {
  POINT p{0, 0};
  Check(GetCursorPos(&p), "GetCursorPos");
  return {p.x, p.y};
}

ScreenRect Win32Window::PaintBoxRect() const {
  return ClientRectOnScreen(paint_box1_.hwnd);
}

ScreenRect Win32Window::ControlColumnRect() const {
  return WindowRectOnScreen(panel3_.hwnd);
}

// --- FormWindow: system ---

void Win32Window::ShowMessage(std::u16string_view text) {
  const std::wstring wide = Wide(text);
  const std::wstring caption = Wide(kFormCaption);
  Check(MessageBoxW(hwnd_, wide.c_str(), caption.c_str(), MB_OK), "MessageBoxW");
}

void Win32Window::Beep() {
  Check(MessageBeep(kDefaultBeep), "MessageBeep");
}

// Pending messages once, each through the same key preview and dialog keys as the loop.
void Win32Window::ProcessMessages() {
  ShowSurface();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The loop that waits for it must still see it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

bool Win32Window::EscapeHeld() {
  return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

void Win32Window::WaitEscapeUp() {
  while (EscapeHeld()) {
    Sleep(10);
  }
}

}  // namespace vardo
