// TForm1: the main window's controller, free of any window toolkit. Shells call its handlers;
// it reaches the window only through FormWindow.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "attributes/graphics_attributes.h"
#include "common/view_state.h"
#include "document/model.h"
#include "hatch/end_snap.h"
#include "hatch/hatch.h"
#include "hatch/outline_worker.h"
#include "platform/platform.h"
#include "render/entity_index.h"
#include "render/glyph.h"
#include "render/surface.h"
#include "render/text_codes.h"

namespace vardo {

class Graphics;

// The exchange file beside the program: read at start-up, rewritten on OK.
inline constexpr char16_t kExchangeFileName[] = u"JWC_TEMP.TXT";

// Wall time in milliseconds of the start-up steps and of the last redraw and extents, for
// vardo-script's "print timings".
struct FormTimings {
  double read = 0;     // reading the exchange file
  double index = 0;    // building the entity index
  double extents = 0;  // the last extents computation
  double redraw = 0;   // the last redraw, back buffer included
};

// The entity a click found: its kind and index (etp, eno) and the point picked on it.
struct PickedElement {
  int etp = 0, eno = 0;
  double picx = 0, picy = 0;
};

class TForm1 {
 public:
  explicit TForm1(FormWindow& window);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // --- events the shell delivers ---
  void FormCreate();
  void FormShow();
  void FormClose();
  void FormResize();
  void FormKeyDown(KeyEvent& e);
  void FormMouseWheelDown(WheelEvent& e);
  void FormMouseWheelUp(WheelEvent& e);
  void PaintBox1Paint();
  void PaintBox1MouseDown(const MouseEvent& e);
  void PaintBox1MouseMove(const MouseEvent& e);
  void PaintBox1MouseUp(const MouseEvent& e);
  void ComboBox1Change();
  void ComboBox2Change();
  void CheckBox1Click();
  void CheckBox3Click();
  void Button1Click();
  void Button2Click();
  void Button3Click();

  // --- operations ---
  // Every field of the settings file at its default.
  void SetDefaultSettings();
  void OpenDatFile();
  void SaveDatFile();
  // Writes the exchange file; false, after telling the user why, when it could not be written.
  bool RunGaibuProc();
  void Redraw();
  void ZoomAll();
  // Scale times f about the drawing point under the screen position (X, Y).
  void ZoomAt(int X, int Y, double f);
  void ZoomWindow(double x1, double y1, double x2, double y2);
  void ZoomOut(double x1, double y1, double x2, double y2);
  void CenterAt(double x, double y);
  void DrawRubberBand();
  // What a click asks of the document before it marks: the entity within five pixels of the
  // drawing point (x, y), if there is one (GetElement2).
  std::optional<PickedElement> PickElement(double x, double y) const;
  void FillRegion(int X, int Y);
  void ClearHatch();

  // --- fields ---
  std::u16string DatFile;
  bool OKflag = false;
  // The fields of the settings file start at the defaults of its table (form_settings.cpp).
  int Fmx{}, Fmy{}, Fmw{}, Fmh{};
  int grd{};
  double grdn{};  // paper units in the settings file, file units while the form runs
  double grdx = 0, grdy = 0;
  bool FirstDrawFlag = false;
  double mwheel2 = 1.5;
  unsigned MouseBtnState = 0;
  int MouseBtnX = 0, MouseBtnY = 0;
  bool DrawRB1 = false;
  int DrawRBx1 = 0, DrawRBy1 = 0, DrawRBx2 = 0, DrawRBy2 = 0;
  std::optional<Surface> RepBmp;  // back buffer; empty optional = none
  Surface WrkBmp;                 // screen copy of a pan gesture
  bool WrkBmpFlag = false;
  int col{}, ltp{}, wid{};
  int hat_cr{};
  double hat_p1{}, hat_p2{}, hat_p3{}, hat_p4{};
  // 1 = hatch ends moved onto the drawing's own lines: the state of "端点補正", kept by
  // FormShow and CheckBox3Click, read by Button3Click.
  int hat_sn{};
  int AddLineN = 0, AddTenN = 0, AddArcN = 0;
  int HatX = 0, HatY = 0;
  std::unique_ptr<TJGdata> JG;
  // Where JG's entities draw: built once JG is read, brought up to date with the hatch lines
  // added and removed before each redraw; the redraw and the hatch query it.
  EntityIndex EntIndex;
  // The outlines the end correction moves hatch ends onto, kept from run to run while the
  // drawing, the display and the view stay as they were, and made ready on a thread of their
  // own from a region's click on. That thread reads JG and EntIndex: whatever changes either
  // stops it first.
  OutlineWorker SnapOutlines;
  // Redraw walks every entity on one thread: the reference the culled, threaded redraw is held
  // to pixel for pixel.
  bool PlainRedraw = false;
  PolyLines PLN;        // traced contours of the last run
  FormTimings Timings;  // set by FormShow, ZoomAll and Redraw; read by the tools

  // Owned by the form, handed to whoever draws or converts coordinates.
  TgraAttribute GraAttr;
  ViewState View;
  std::u16string ExeDir;
  TextCodeValues TextCodes;
  std::unique_ptr<GlyphRasterizer> Glyphs;  // the platform's fonts, from creation on

 private:
  int PaintWidth() const;
  int PaintHeight() const;
  // The view a change left behind, or the one before it when the change ran out of the range
  // of doubles (zooming far in or out).
  void KeepSoundView(const ViewState& before);
  void SetWindowFromCentre(double cx, double cy);
  // The scale that shows dx x dy with a tenth to spare, centred on (cx, cy).
  void FitWindow(double cx, double cy, double dx, double dy);
  void DrawGrid(Graphics& g);
  void DrawMarks(Graphics& g);
  void TakeBackBuffer();
  void ZoomAtPixel(int px, int py, double f);
  void ShiftView(KeyCode key, bool fine);
  void SwapPreviousView();
  // The click branch of a release: the pick mark at the press point, then the region fill at
  // the release pixel.
  void ClickAt(double sx, double sy, int X, int Y);
  void ShowCounters();
  void SetStatus(std::u16string_view text);
  void ShowStatusNow(std::u16string_view text);
  void AbortRun();
  void RefuseRun(HatchPassOutcome outcome);
  // One family of hatch lines with the spacing and angle of the main or the cross controls.
  HatchPassOutcome HatchFamily(bool cross, const HatchServices& services, const EndSnap* snap);
  StopPoll EscPoll();
  bool Ready() const { return JG && FirstDrawFlag; }

  FormWindow& window_;
};

}  // namespace vardo
