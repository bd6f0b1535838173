// The Win32 shell: the real window's layout, texts and controls, the paint box's pixels, mouse,
// wheel, keys and dialog keys, and the ways the window closes.
#include <windows.h>

#include <gtest/gtest.h>
#include <imm.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/form_layout.h"
#include "common/temp_folder.h"
#include "common/view_state.h"
#include "platform/win32/win32_check.h"
#include "platform/win32/win32_window.h"

namespace vardo {
namespace {

// A 100 x 100 square of lines with its lower left corner at the origin.
constexpr std::string_view kSquare =
    "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\n"
    "lg0\r\nly0\r\nlc2\r\n"
    "0 0 100 0\r\n100 0 100 100\r\n100 100 0 100\r\n0 100 0 0\r\n";

constexpr uint32_t kFrameColour = 0xFFFF00;  // the frame a full redraw draws
constexpr uint32_t kMarkColour = 0xFF0000;   // a region marked by a click

// What a message box showed before the test closed it.
struct SeenBox {
  std::u16string caption;
  std::vector<std::u16string> texts;
};

// Message boxes of this thread are closed with OK as soon as they appear; the timer carries
// the list they are recorded in as its id.
void CALLBACK CloseMessageBoxes(HWND, UINT, UINT_PTR id, DWORD) {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM seen) -> BOOL {
        wchar_t cls[16] = {};
        GetClassNameW(hwnd, cls, 16);
        if (std::wstring_view(cls) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
        SeenBox box{WindowText(hwnd), {}};
        EnumChildWindows(
            hwnd,
            [](HWND child, LPARAM texts) -> BOOL {
              reinterpret_cast<std::vector<std::u16string>*>(texts)->push_back(WindowText(child));
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&box.texts));
        reinterpret_cast<std::vector<SeenBox>*>(seen)->push_back(box);
        PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
        return TRUE;
      },
      static_cast<LPARAM>(id));
}

// Without a window manager to answer it, Wine waits seconds for every window it destroys. The
// test windows go unmanaged (drawn by Wine itself), which nothing here depends on; set before
// the first window loads the display driver, which reads it.
class UnmanagedWineWindows : public ::testing::Environment {
 public:
  void SetUp() override {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      return;
    }
    static constexpr wchar_t kNo[] = L"N";
    RegSetValueExW(key, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(kNo), sizeof kNo);
    RegCloseKey(key);
  }
};
const ::testing::Environment* const kUnmanaged =
    ::testing::AddGlobalTestEnvironment(new UnmanagedWineWindows);

LPARAM Point(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// Place of a window in its parent's client area.
RECT PlaceInParent(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE ClientSize(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return {r.right, r.bottom};
}

// What the paint box shows on the display, in surface colours.
Surface Capture(HWND hwnd) {
  const SIZE size = ClientSize(hwnd);
  Surface shot(size.cx, size.cy);
  const HDC window_dc = GetDC(hwnd);
  const HDC memory_dc = CreateCompatibleDC(window_dc);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = size.cx;
  bi.bmiHeader.biHeight = -size.cy;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(window_dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory_dc, bitmap);
  BitBlt(memory_dc, 0, 0, size.cx, size.cy, window_dc, 0, 0, SRCCOPY);
  const auto* pixels = static_cast<const uint32_t*>(bits);
  for (int y = 0; y < size.cy; ++y) {
    for (int x = 0; x < size.cx; ++x) {
      const uint32_t p = pixels[y * size.cx + x] & 0xFFFFFF;
      shot.SetPixel(x, y, ((p & 0xFF) << 16) | (p & 0xFF00) | (p >> 16));
    }
  }
  SelectObject(memory_dc, old);
  DeleteObject(bitmap);
  DeleteDC(memory_dc);
  ReleaseDC(hwnd, window_dc);
  return shot;
}

class Win32WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.empty()) << "no temporary folder";
    WriteFile("JWC_TEMP.TXT", kSquare);
  }
  // The window goes before its folder.
  void TearDown() override { window_.reset(); }

  void WriteFile(std::string_view name, std::string_view bytes) const {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }

  std::string ReadFile(std::string_view name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  bool Exists(std::string_view name) const { return std::filesystem::exists(dir_ / name); }

  Win32Window& Open(bool show = true) {
    window_ = std::make_unique<Win32Window>((dir_ / "VardoHatch.exe").u16string());
    EXPECT_NE(window_->Handle(), nullptr) << "no window (is there a display?)";
    if (show) window_->Show();
    Pump();
    return *window_;
  }

  Win32Window& window() { return *window_; }
  const ViewState& view() const { return window_->form().View; }
  HWND Find(std::u16string_view name) const { return window_->Find(name); }
  std::u16string Text(std::u16string_view name) const { return WindowText(Find(name)); }

  // Lets the window handle what was posted to it, painting included.
  void Pump() {
    window_->ProcessMessages();
    if (window_->Handle()) UpdateWindow(window_->Handle());
  }

  void Post(std::u16string_view name, UINT msg, WPARAM wp, LPARAM lp) {
    PostMessageW(Find(name), msg, wp, lp);
    Pump();
  }

  // A key as the system delivers it: to the window with the focus, else to the active one.
  void Key(UINT msg, WPARAM key, LPARAM lp = 1) {
    const HWND focus = GetFocus();
    PostMessageW(focus ? focus : window_->Handle(), msg, key, lp);
    Pump();
  }

  void Focus(std::u16string_view name) {
    SetFocus(Find(name));
    ASSERT_EQ(GetFocus(), Find(name));
  }

  // The pointer at a point of the paint box, or of the control column.
  void PointAt(const ScreenRect& r, int dx, int dy) {
    SetCursorPos(r.left + dx, r.top + dy);
    POINT p{};
    GetCursorPos(&p);
    ASSERT_EQ(p.x, r.left + dx);
    ASSERT_EQ(p.y, r.top + dy);
  }

  // Monochrome on, a click in the middle of the square and a hatch run.
  void MarkAndRun() {
    SendMessageW(Find(u"CheckBox1"), BM_CLICK, 0, 0);
    Pump();
    ASSERT_TRUE(window().GetChecked(Control::CheckBox1));
    const int x = DrawToPixelX(view(), 50), y = DrawToPixelY(view(), 50);
    Post(u"PaintBox1", WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
    Post(u"PaintBox1", WM_LBUTTONUP, 0, Point(x, y));
    EXPECT_EQ(Capture(Find(u"PaintBox1")).GetPixel(x, y), kMarkColour);
    SendMessageW(Find(u"Button3"), BM_CLICK, 0, 0);
    Pump();
    ASSERT_GT(window().form().AddLineN, 0);
    EXPECT_NE(Text(u"LabelN"), u"線:0　点:0　円弧:0");
  }

  // Runs what may show message boxes, closing each with OK; returns what they showed.
  template <typename F>
  std::vector<SeenBox> ClosingMessageBoxes(F&& f) {
    std::vector<SeenBox> seen;
    const HWND owner = window_->Handle();
    const UINT_PTR timer = reinterpret_cast<UINT_PTR>(&seen);
    SetTimer(owner, timer, 10, CloseMessageBoxes);
    f();
    Pump();
    if (IsWindow(owner)) KillTimer(owner, timer);
    return seen;
  }

  TempFolder folder_{"vardo-win32-"};
  const std::filesystem::path& dir_ = folder_.path();
  std::unique_ptr<Win32Window> window_;
};

// --- layout ---

struct PlaceCase {
  std::u16string_view name;
  std::u16string_view parent;
  int left, top, width, height;  // -1: the control's own
};

TEST_F(Win32WindowTest, ComponentsSitWhereTheFormDesignerPlacedThem) {
  Open(false);
  const SIZE client = ClientSize(Find(u"Form1"));
  ASSERT_EQ(client.cx, kDesignClientWidth);
  ASSERT_EQ(client.cy, kDesignClientHeight);
  // Docked: the button panel at the bottom, the rest above it; in that, the status line at the
  // bottom, the control column on the right, the paint box in what is left.
  const PlaceCase cases[] = {
      {u"Panel2", u"Form1", 0, 352, 499, 41},     {u"Button1", u"Panel2", 4, 4, 85, 35},
      {u"Button2", u"Panel2", 100, 4, 130, 35},   {u"Panel1", u"Form1", 0, 0, 499, 352},
      {u"LabelM", u"Panel1", 0, 336, 499, 16},    {u"Panel3", u"Panel1", 305, 0, 194, 336},
      {u"PaintBox1", u"Panel1", 0, 0, 305, 336},  {u"Panel4", u"Panel3", 0, 0, 194, 248},
      {u"LabelN", u"Panel3", 0, 320, 194, 16},    {u"Memo1", u"Panel3", 0, 248, 194, 72},
      {u"Label1", u"Panel4", 8, 8, -1, -1},       {u"ComboBox1", u"Panel4", 48, 4, 137, -1},
      {u"Label2", u"Panel4", 8, 32, -1, -1},      {u"ComboBox2", u"Panel4", 48, 28, 137, -1},
      {u"CheckBox1", u"Panel4", 5, 58, 97, 17},   {u"CheckBox3", u"Panel4", 106, 58, 79, 17},
      {u"Label4", u"Panel4", 5, 82, -1, -1},      {u"Edit1", u"Panel4", 49, 78, 73, -1},
      {u"Label5", u"Panel4", 129, 82, -1, -1},    {u"Label6", u"Panel4", 5, 110, -1, -1},
      {u"ComboBox4", u"Panel4", 49, 104, 97, -1}, {u"Label7", u"Panel4", 152, 104, -1, -1},
      {u"CheckBox2", u"Panel4", 5, 134, 137, 17}, {u"Label8", u"Panel4", 5, 160, -1, -1},
      {u"Edit2", u"Panel4", 49, 158, 73, -1},     {u"Label9", u"Panel4", 129, 162, -1, -1},
      {u"Label10", u"Panel4", 5, 188, -1, -1},    {u"ComboBox5", u"Panel4", 49, 184, 97, -1},
      {u"Label11", u"Panel4", 152, 184, -1, -1},  {u"Button3", u"Panel4", 48, 211, 136, 35},
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
    const HWND hwnd = Find(c.name);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetParent(hwnd), Find(c.parent));
    const RECT r = PlaceInParent(hwnd);
    EXPECT_EQ(r.left, c.left);
    EXPECT_EQ(r.top, c.top);
    if (c.width >= 0) {
      EXPECT_EQ(r.right - r.left, c.width);
    }
    if (c.height >= 0) {
      EXPECT_EQ(r.bottom - r.top, c.height);
    }
  }
}

TEST_F(Win32WindowTest, TheWindowResizesWithItsPanelsAndLaysTheSurfaceAnew) {
  Open();
  const SIZE box = ClientSize(Find(u"PaintBox1"));
  const ViewState before = view();
  const ScreenRect bounds = window().GetBounds();
  window().SetBounds({bounds.left, bounds.top, bounds.width + 100, bounds.height + 60});
  Pump();
  const SIZE grown = ClientSize(Find(u"PaintBox1"));
  EXPECT_EQ(grown.cx, box.cx + 100);
  EXPECT_EQ(grown.cy, box.cy + 60);
  EXPECT_EQ(ClientSize(Find(u"Panel3")).cx, kControlColumnWidth);
  EXPECT_EQ(ClientSize(Find(u"Panel2")).cy, kButtonPanelHeight);
  // The view keeps its centre and scale at the new size.
  EXPECT_EQ(view().ViewWidth, grown.cx);
  EXPECT_EQ(view().ViewHeight, grown.cy);
  EXPECT_DOUBLE_EQ(view().ViewScale, before.ViewScale);
  EXPECT_NEAR(view().ViewXmin + view().ViewXmax, before.ViewXmin + before.ViewXmax, 1e-9);
  // The surface was laid at the new size and repainted: a frame along the new edge, and the
  // back buffer copied in with its own frame along the old one (frames leave out the right and
  // bottom pixel rows), not the drawing rendered anew.
  ASSERT_EQ(window().Screen().Width(), grown.cx);
  ASSERT_EQ(window().Screen().Height(), grown.cy);
  EXPECT_NE(window().Screen().GetPixel(grown.cx - 2, grown.cy / 2), Surface::kWhite);
  EXPECT_EQ(window().Screen().GetPixel(box.cx - 2, box.cy / 2), kFrameColour);
}

// --- texts and controls ---

TEST_F(Win32WindowTest, FormShowPlacesTheWindowFromTheSettingsFile) {
  WriteFile("VardoHatch.dat",
            "\xEF\xBB\xBF"
            "60\r\n70\r\n520\r\n440\r\n");
  Open();
  const ScreenRect bounds = window().GetBounds();
  EXPECT_EQ(bounds.left, 60);
  EXPECT_EQ(bounds.top, 70);
  EXPECT_EQ(bounds.width, 520);
  EXPECT_EQ(bounds.height, 440);
  EXPECT_TRUE(IsWindowVisible(window().Handle()));
}

TEST_F(Win32WindowTest, AWindowPlacedWhereNoMonitorIsComesBackOnOne) {
  WriteFile("VardoHatch.dat",
            "\xEF\xBB\xBF"
            "-2147483000\r\n2147483000\r\n600\r\n2147483647\r\n");
  Open();
  RECT r{};
  GetWindowRect(window().Handle(), &r);
  EXPECT_NE(MonitorFromRect(&r, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(r.right - r.left, 600);
}

TEST_F(Win32WindowTest, ControlsShowTheFormsTexts) {
  Open();
  std::u16string help;
  for (std::u16string_view line : kHelpLines) {
    help += help.empty() ? u"" : u"\r\n";
    help += line;
  }
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"Form1", u"Vardo－塗りハッチ"},
      {u"Button1", u"ＯＫ (&Y)"},
      {u"Button2", u"キャンセル (&N)"},
      {u"Button3", u"作図実行(&G)"},
      {u"CheckBox1", u"モノクロ化"},
      {u"CheckBox2", u"クロスハッチ"},
      {u"CheckBox3", u"端点補正"},
      {u"Label1", u"線色"},
      {u"Label2", u"線種"},
      {u"Label4", u"間隔："},
      {u"Label5", u"図寸mm"},
      {u"Label6", u"角度："},
      {u"Label7", u"°"},
      {u"Label8", u"間隔："},
      {u"Label9", u"図寸mm"},
      {u"Label10", u"角度："},
      {u"Label11", u"°"},
      {u"LabelM", u"ハッチを行う箇所をクリックして下さい。"},
      {u"LabelN", u"線:0　点:0　円弧:0"},
      {u"Edit1", u"1"},
      {u"Edit2", u"1"},
      {u"ComboBox1", u"現在線色"},
      {u"ComboBox2", u"現在線種"},
      {u"ComboBox4", u"0"},
      {u"ComboBox5", u"0"},
      {u"Memo1", help},
  };
  for (const auto& [name, text] : cases) {
    EXPECT_EQ(Text(name), text) << std::string(name.begin(), name.end());
  }
}

TEST_F(Win32WindowTest, ListsHoldTheFormsItems) {
  Open();
  const auto item = [&](std::u16string_view list, int i) {
    wchar_t buffer[64] = {};
    SendMessageW(Find(list), CB_GETLBTEXT, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(buffer));
    return Utf16(buffer);
  };
  EXPECT_EQ(SendMessageW(Find(u"ComboBox1"), CB_GETCOUNT, 0, 0), 266);
  EXPECT_EQ(SendMessageW(Find(u"ComboBox2"), CB_GETCOUNT, 0, 0), 51);
  EXPECT_EQ(SendMessageW(Find(u"ComboBox4"), CB_GETCOUNT, 0, 0), 16);
  EXPECT_EQ(SendMessageW(Find(u"ComboBox5"), CB_GETCOUNT, 0, 0), 16);
  EXPECT_EQ(item(u"ComboBox1", 10), u"SXF-1");
  EXPECT_EQ(item(u"ComboBox1", 265), u"SXF-256");
  EXPECT_EQ(item(u"ComboBox2", 19), u"SXF-1");
  EXPECT_EQ(item(u"ComboBox5", 9), u"-30");
  // Out of the list selects nothing; an editable list keeps its text when its items go.
  window().SetItemIndex(Control::ComboBox1, 266);
  EXPECT_EQ(window().GetItemIndex(Control::ComboBox1), -1);
  window().SetItemIndex(Control::ComboBox1, 265);
  EXPECT_EQ(window().GetItemIndex(Control::ComboBox1), 265);
  window().SetText(Control::ComboBox4, u"12.5");
  window().ClearItems(Control::ComboBox4);
  EXPECT_EQ(SendMessageW(Find(u"ComboBox4"), CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(window().GetText(Control::ComboBox4), u"12.5");
}

TEST_F(Win32WindowTest, ControlsHaveTheirFontLimitsAndStyles) {
  Open();
  for (std::u16string_view name : {u"Button1", u"Button3", u"CheckBox1", u"Label5", u"LabelM",
                                   u"LabelN", u"Edit1", u"ComboBox1", u"ComboBox5", u"Memo1"}) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    LOGFONTW font{};
    const auto hfont = reinterpret_cast<HFONT>(SendMessageW(Find(name), WM_GETFONT, 0, 0));
    ASSERT_EQ(GetObjectW(hfont, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(std::wstring_view(font.lfFaceName), L"Tahoma");
  }
  EXPECT_EQ(SendMessageW(Find(u"Edit1"), EM_GETLIMITTEXT, 0, 0), kSpacingMaxLength);
  EXPECT_EQ(SendMessageW(Find(u"Edit2"), EM_GETLIMITTEXT, 0, 0), kSpacingMaxLength);
  const LONG memo = GetWindowLongW(Find(u"Memo1"), GWL_STYLE);
  EXPECT_EQ(memo & (ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL),
            ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL);
  EXPECT_EQ(memo & WS_TABSTOP, 0);
  EXPECT_EQ(GetWindowLongW(Find(u"Button1"), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongW(Find(u"Button2"), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST_F(Win32WindowTest, EditsAndListsTakeNoInputMethod) {
  Open();
  for (std::u16string_view name :
       {u"Edit1", u"Edit2", u"ComboBox1", u"ComboBox2", u"ComboBox4", u"ComboBox5"}) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    EXPECT_EQ(ImmGetContext(Find(name)), nullptr);
  }
  for (std::u16string_view name : {u"ComboBox4", u"ComboBox5"}) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(Find(name), &info));
    EXPECT_EQ(ImmGetContext(info.hwndItem), nullptr);
  }
}

// --- the paint box ---

TEST_F(Win32WindowTest, ThePaintBoxShowsTheSurfaceExactly) {
  Open();
  const Surface& screen = window().Screen();
  ASSERT_GT(screen.Width(), 0);
  EXPECT_EQ(screen.GetPixel(0, 0), kFrameColour);
  const Surface shown = Capture(Find(u"PaintBox1"));
  ASSERT_EQ(shown.Width(), screen.Width());
  ASSERT_EQ(shown.Height(), screen.Height());
  EXPECT_EQ(shown.GetPixel(0, 0), kFrameColour) << "red and blue must not change places";
  EXPECT_TRUE(shown == screen);
}

TEST_F(Win32WindowTest, AMiddleDragPansWithTheMouseCaptured) {
  Open();
  const ViewState before = view();
  Post(u"PaintBox1", WM_MBUTTONDOWN, MK_MBUTTON, Point(100, 100));
  EXPECT_EQ(GetCapture(), Find(u"PaintBox1"));
  Post(u"PaintBox1", WM_MOUSEMOVE, MK_MBUTTON, Point(130, 90));
  Post(u"PaintBox1", WM_MBUTTONUP, 0, Point(130, 90));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_NEAR(view().ViewXmin, before.ViewXmin - 30 / before.ViewScale, 1e-9);
  EXPECT_NEAR(view().ViewYmin, before.ViewYmin - 10 / before.ViewScale, 1e-9);
}

TEST_F(Win32WindowTest, AClickWithoutMonochromeAsksForIt) {
  Open();
  Post(u"PaintBox1", WM_LBUTTONDOWN, MK_LBUTTON, Point(50, 50));
  Post(u"PaintBox1", WM_LBUTTONUP, 0, Point(50, 50));
  EXPECT_EQ(Text(u"LabelM"),
            u"□モノクロ化　にチェックを入れてから　ハッチを行う箇所をクリックして下さい。");
}

struct WheelCase {
  const char* what;
  bool over_column;
  std::vector<int> deltas;
  double factor;
};

TEST_F(Win32WindowTest, TheWheelZoomsOneStepPerNotchOverThePaintBoxOnly) {
  const WheelCase cases[] = {
      {"down zooms in", false, {-WHEEL_DELTA}, 1.5},
      {"two notches at once", false, {2 * WHEEL_DELTA}, 1 / 2.25},
      {"halves make a notch", false, {WHEEL_DELTA / 2, WHEEL_DELTA / 2}, 1 / 1.5},
      {"half a notch is nothing yet", false, {WHEEL_DELTA / 2}, 1},
      {"over the column", true, {-WHEEL_DELTA}, 1},
  };
  for (const WheelCase& c : cases) {
    SCOPED_TRACE(c.what);
    Open();
    const ScreenRect r = c.over_column ? window().ControlColumnRect() : window().PaintBoxRect();
    const double scale = view().ViewScale;
    for (int delta : c.deltas) {
      PostMessageW(Find(u"Form1"), WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                   Point(r.left + r.width / 2, r.top + r.height / 2));
      Pump();
    }
    EXPECT_DOUBLE_EQ(view().ViewScale, scale * c.factor);
  }
}

// --- keys ---

TEST_F(Win32WindowTest, KeysReachTheFormFirstAndAreConsumedWhenHandled) {
  Open();
  Focus(u"ComboBox1");
  ASSERT_EQ(window().GetItemIndex(Control::ComboBox1), 0);
  PointAt(window().PaintBoxRect(), 20, 20);
  const double scale = view().ViewScale;
  Key(WM_KEYDOWN, VK_PRIOR);
  EXPECT_DOUBLE_EQ(view().ViewScale, scale * 1.5);
  const double ymin = view().ViewYmin;
  Key(WM_KEYDOWN, VK_DOWN);
  EXPECT_LT(view().ViewYmin, ymin);
  EXPECT_EQ(window().GetItemIndex(Control::ComboBox1), 0) << "the list saw the key";

  // Over the control column the key is the focused list's.
  PointAt(window().ControlColumnRect(), 20, 20);
  const ViewState before = view();
  Key(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(view().ViewYmin, before.ViewYmin);
  EXPECT_EQ(window().GetItemIndex(Control::ComboBox1), 1);
  EXPECT_EQ(window().form().col, 1) << "ComboBox1Change did not run";
}

TEST_F(Win32WindowTest, TabMovesThroughTheControlsInOrder) {
  Open();
  Focus(u"Button1");
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), Find(u"Button2"));
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), Find(u"ComboBox1"));
  // The memo is no tab stop: from the last control Tab goes round to the first.
  Focus(u"Button3");
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), Find(u"Button1"));

  BYTE keys[256] = {};
  ASSERT_TRUE(GetKeyboardState(keys));
  keys[VK_SHIFT] = 0x80;
  ASSERT_TRUE(SetKeyboardState(keys));
  Key(WM_KEYDOWN, VK_TAB);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(GetFocus(), Find(u"Button3"));
}

// "端点補正" starts ticked as the settings say, each click changes the setting, its caption fits
// beside its mark, and Tab goes from "モノクロ化" to it and on to the spacing.
TEST_F(Win32WindowTest, TheEndCorrectionBoxIsTickedAndTogglesTheSetting) {
  Open();
  const HWND box = Find(u"CheckBox3");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(window().GetChecked(Control::CheckBox3));
  EXPECT_EQ(window().form().hat_sn, 1);
  for (const int expected : {0, 1}) {
    SendMessageW(box, BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), expected ? BST_CHECKED : BST_UNCHECKED);
    EXPECT_EQ(window().form().hat_sn, expected) << "CheckBox3Click did not run";
  }

  const HDC dc = GetDC(box);
  ASSERT_NE(dc, nullptr);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
  SIZE text{};
  EXPECT_TRUE(GetTextExtentPoint32W(dc, L"端点補正", 4, &text));
  SelectObject(dc, old);
  ReleaseDC(box, dc);
  EXPECT_LE(GetSystemMetrics(SM_CXMENUCHECK) + 4 + text.cx, 79);

  Focus(u"CheckBox1");
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), box);
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), Find(u"Edit1"));
}

TEST_F(Win32WindowTest, EnterAndAltYPressOkWhichRefusesWithoutHatch) {
  Open();
  Focus(u"Edit1");
  const std::vector<SeenBox> by_enter = ClosingMessageBoxes([&] { Key(WM_KEYDOWN, VK_RETURN); });
  ASSERT_EQ(by_enter.size(), 1u);
  EXPECT_EQ(by_enter[0].caption, u"Vardo－塗りハッチ");
  EXPECT_NE(std::find(by_enter[0].texts.begin(), by_enter[0].texts.end(), u"作図していません。"),
            by_enter[0].texts.end());
  EXPECT_FALSE(window().Closed());

  const std::vector<SeenBox> by_alt_y =
      ClosingMessageBoxes([&] { Key(WM_SYSCHAR, 'y', 1 | (1 << 29)); });
  EXPECT_EQ(by_alt_y.size(), 1u);
  EXPECT_FALSE(window().Closed());
  EXPECT_TRUE(IsWindow(Find(u"Form1")));
}

TEST_F(Win32WindowTest, AltGRunsTheHatchAndAltNCancels) {
  const std::string drawing = ReadFile("JWC_TEMP.TXT");
  Open();
  const std::u16string status = Text(u"LabelM");
  Focus(u"Edit1");
  Key(WM_SYSCHAR, 'g', 1 | (1 << 29));
  EXPECT_NE(Text(u"LabelM"), status) << "Button3Click did not run";
  Key(WM_SYSCHAR, 'n', 1 | (1 << 29));
  EXPECT_TRUE(window().Closed());
  EXPECT_EQ(window().Handle(), nullptr);
  EXPECT_EQ(window().form().JG, nullptr) << "FormClose did not run";
  EXPECT_EQ(ReadFile("JWC_TEMP.TXT"), drawing);
  EXPECT_FALSE(Exists("VardoHatch.dat"));
}

TEST_F(Win32WindowTest, KeysReachTheFormWhenARunLeftNoFocus) {
  Open();
  SendMessageW(Find(u"CheckBox1"), BM_CLICK, 0, 0);
  const int x = DrawToPixelX(view(), 50), y = DrawToPixelY(view(), 50);
  Post(u"PaintBox1", WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
  Post(u"PaintBox1", WM_LBUTTONUP, 0, Point(x, y));
  SendMessageW(Find(u"Button3"), BM_CLICK, 0, 0);
  Pump();
  ASSERT_GT(window().form().AddLineN, 0);
  // Button3 had the focus and was disabled during the run: nothing has it now, and the system
  // sends keys to the window itself as system keys.
  ASSERT_EQ(GetFocus(), nullptr);
  PointAt(window().PaintBoxRect(), x, y);
  Key(WM_SYSKEYDOWN, VK_DELETE);
  EXPECT_EQ(window().form().AddLineN, 0);
  EXPECT_EQ(Text(u"LabelN"), u"線:0　点:0　円弧:0");
}

TEST_F(Win32WindowTest, EscapeHeldFollowsTheKey) {
  Open();
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = VK_ESCAPE;
  ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
  EXPECT_TRUE(window().EscapeHeld());
  input.ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
  EXPECT_FALSE(window().EscapeHeld());
  Pump();
}

// --- closing ---

TEST_F(Win32WindowTest, TheCloseBoxClosesWithoutWriting) {
  const std::string drawing = ReadFile("JWC_TEMP.TXT");
  Open();
  const HWND hwnd = window().Handle();
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_TRUE(window().Closed());
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(window().form().JG, nullptr) << "FormClose did not run";
  EXPECT_EQ(ReadFile("JWC_TEMP.TXT"), drawing);
  EXPECT_FALSE(Exists("VardoHatch.dat"));
}

TEST_F(Win32WindowTest, MarkRunAndOkWriteTheExchangeFileAndTheSettings) {
  Open();
  MarkAndRun();
  const ScreenRect bounds = window().GetBounds();
  SendMessageW(Find(u"Button1"), BM_CLICK, 0, 0);
  Pump();
  EXPECT_TRUE(window().Closed());
  const std::string written = ReadFile("JWC_TEMP.TXT");
  EXPECT_EQ(written.substr(0, 4), "hd\r\n");
  EXPECT_GT(written.size(), kSquare.size());
  const std::string settings = ReadFile("VardoHatch.dat");
  EXPECT_EQ(settings.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(settings.substr(3, settings.find("\r\n") - 3), std::to_string(bounds.left));
}

// A folder where the exchange file's temporary copy goes: OK tells why the file could not be
// written, in a box with the program's title, and the window stays; once the folder is gone OK
// writes and closes.
TEST_F(Win32WindowTest, OkThatCannotWriteSaysWhyAndStaysOpen) {
  const std::string drawing = ReadFile("JWC_TEMP.TXT");
  std::filesystem::create_directory(dir_ / "JWC_TEMP.TXT.vardo-tmp");
  WriteFile("JWC_TEMP.TXT.vardo-tmp/keep", "x");
  Open();
  MarkAndRun();
  const std::vector<SeenBox> seen =
      ClosingMessageBoxes([&] { SendMessageW(Find(u"Button1"), BM_CLICK, 0, 0); });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, u"Vardo－塗りハッチ");
  EXPECT_TRUE(std::any_of(seen[0].texts.begin(), seen[0].texts.end(), [](const auto& text) {
    return text.starts_with(u"JWC_TEMP.TXT を書き込めませんでした。\n理由：");
  }));
  EXPECT_FALSE(window().Closed());
  EXPECT_EQ(ReadFile("JWC_TEMP.TXT"), drawing);
  EXPECT_FALSE(Exists("VardoHatch.dat"));

  std::filesystem::remove_all(dir_ / "JWC_TEMP.TXT.vardo-tmp");
  SendMessageW(Find(u"Button1"), BM_CLICK, 0, 0);
  Pump();
  EXPECT_TRUE(window().Closed());
  EXPECT_EQ(ReadFile("JWC_TEMP.TXT").substr(0, 4), "hd\r\n");
  EXPECT_TRUE(Exists("VardoHatch.dat"));
}

}  // namespace
}  // namespace vardo
