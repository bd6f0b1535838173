// The inline "^" codes of a text: runs cut at style, colour and face changes, codes switched off
// and on, and single characters placed as superscripts, subscripts, overlays and overstrikes.
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/text_helpers.h"
#include "render/text.h"

namespace vardo {

namespace {

constexpr char16_t kGothicFace[] = u"ＭＳ ゴシック";

// What the next flush does after the run is drawn.
enum class Action { None, RestoreColour, GothicFace, RestoreFace };

bool IsDigit1To9(std::u16string_view c) {
  return c.size() == 1 && c[0] >= u'1' && c[0] <= u'9';
}

bool IsPlacementLetter(std::u16string_view c) {
  return c.size() == 1 && std::u16string_view(u"udonbBcw").find(c[0]) != std::u16string_view::npos;
}

// How a specially placed character is drawn: moved back against the text direction and up
// across it from the pen position, its height and width as fractions of the text's, and how far
// the pen moves on afterwards.
struct Placement {
  double back = 0, up = 0;
  double height = 1, width = 1;
  bool advances = false;
};

// The table of placements; g is the distance back to the previous character's cell.
Placement PlacementOf(char16_t special, bool half, double g, double A, double B) {
  const double quarter_up = std::fabs(A) / 4;
  switch (special) {
    case u'u':
      return {0, std::fabs(A) / 2, 0.5, half ? 1 : 0.5, true};
    case u'd':
      return {0, 0, 0.5, half ? 1 : 0.5, true};
    case u'c':
      return {0, quarter_up, 0.5, half ? 1 : 0.5, true};
    case u'o':
      return {g + (half ? B / 8 : B / 4), quarter_up, 0.5, 0.5, false};
    case u'n':
      return {g + (half ? B / 4 : B / 2), 0, 1, 1, false};
    case u'b':
      return {g + (half ? B / 8 : B / 4), 0, 1, 1, false};
    default:  // 'B'
      return {g + (half ? 0.15 : 0.3) * B, 0, 1, 1, false};
  }
}

class InlineWalk {
 public:
  InlineWalk(Graphics& g, const TextFont& font, TextOrigin at)
      : g_(g),
        font_(font),
        pen_(at),
        current_style_(font.style),
        next_style_(font.style),
        face_(font.face),
        remembered_colour_(g.canvas().pen().color) {}

  void Walk(std::u16string_view text) {
    chars_ = Characters(text);
    for (i_ = 0; i_ < chars_.size(); ++i_) {
      const std::u16string_view c = chars_[i_];
      if (c == u"^") {
        if (!Caret()) break;
        continue;
      }
      if (special_ != 0) {
        Place(c);
        special_ = 0;
      } else {
        run_ += c;
      }
      previous_width_ = IsHalfWidth(c) ? 1 : 2;
    }
    if (!run_.empty()) DrawTextRun(g_, Font(current_style_), pen_, run_);
  }

 private:
  bool HasNext() const { return i_ + 1 < chars_.size(); }

  // Appends "^" and the characters as text; what follows counts as after a half-width one.
  void Literal(std::u16string_view x, std::u16string_view y = {}) {
    run_ += u"^";
    run_ += x;
    run_ += y;
    previous_width_ = 1;
  }

  // A "^" at chars_[i_]; false when it ends the walk.
  bool Caret() {
    if (!HasNext()) {
      run_ += u"^";
      return false;
    }
    const std::u16string_view x = chars_[++i_];
    if (!codes_enabled_) {
      if (x == u"^") {
        Flush();
        codes_enabled_ = true;
      } else {
        Literal(x);
      }
      return true;
    }
    return Code(x);
  }

  // The code "^" x; false when it ends the walk.
  bool Code(std::u16string_view x) {
    const char16_t k = x.size() == 1 ? x[0] : 0;
    switch (k) {
      case u'!':
        next_style_ |= kTextBold;
        break;
      case u'/':
        next_style_ |= kTextItalic;
        break;
      case u'_':
        next_style_ |= kTextUnderline;
        break;
      case u'-':
        next_style_ |= kTextStrikeOut;
        break;
      case u'#':
        next_style_ = font_.style;
        break;
      case u'$':
        if (!HasNext()) {
          run_ += u"^$";
          return false;
        }
        if (!IsDigit1To9(chars_[i_ + 1])) {
          Literal(x, chars_[++i_]);
          return true;
        }
        pending_colour_ = chars_[++i_][0] - u'0';
        break;
      case u'\\':
        if (HasNext() && chars_[++i_] == u"\"") action_ = Action::GothicFace;
        break;
      case u'&':
        action_ = Action::RestoreFace;
        break;
      case u'%':
        next_style_ = font_.style;
        action_ = Action::RestoreColour;
        break;
      case u'*':
        codes_enabled_ = false;
        break;
      default:
        if (IsPlacementLetter(x) && HasNext() && chars_[i_ + 1] != u"^") {
          special_ = k;
          break;
        }
        Literal(x);
        return true;
    }
    Flush();
    return true;
  }

  TextFont Font(int style) const {
    TextFont f = font_;
    f.style = style;
    f.face = face_;
    return f;
  }

  void Move(TextOrigin& at, double along, double up) const {
    at.x += std::cos(at.angle) * along - std::sin(at.angle) * up;
    at.y += std::sin(at.angle) * along + std::cos(at.angle) * up;
  }

  void Flush() {
    if (!run_.empty()) {
      DrawTextRun(g_, Font(current_style_), pen_, run_);
      Move(pen_, HalfWidthCount(run_) * (font_.B + font_.D) / 2, 0);
      run_.clear();
    }
    current_style_ = next_style_;
    Pen& pen = g_.canvas().pen();
    if (pending_colour_ != 0) {
      pen.color = g_.attr().GetAttrColcol(pending_colour_);
      pending_colour_ = 0;
    }
    switch (action_) {
      case Action::RestoreColour:
        pen.color = remembered_colour_;
        g_.canvas().brush().color = remembered_colour_;
        break;
      case Action::GothicFace:
        face_ = kGothicFace;
        break;
      case Action::RestoreFace:
        face_ = font_.face;
        break;
      case Action::None:
        break;
    }
    action_ = Action::None;
  }

  // Draws c (and, for a small pair, the half-width character after it) where special_ puts it.
  void Place(std::u16string_view c) {
    const bool half = IsHalfWidth(c);
    const double A = font_.A, B = font_.B, D = font_.D;
    const double g = previous_width_ * (D / 2 + B / 4);
    if (special_ == u'w') {
      if (!half) {
        Literal(u"w", c);
        return;
      }
      std::u16string pair(c);
      if (HasNext() && IsHalfWidth(chars_[i_ + 1])) pair += chars_[++i_];
      const double k = static_cast<double>(pair.size());
      TextOrigin at = pen_;
      Move(at, -(g + k * B / 8), std::fabs(A) / 4);
      TextFont small = Font(current_style_);
      small.A = A / 2;
      small.B = B / 2;
      small.D = 0;
      DrawTextRun(g_, small, at, pair);
      return;
    }
    const Placement p = PlacementOf(special_, half, g, A, B);
    TextOrigin at = pen_;
    Move(at, -p.back, p.up);
    TextFont placed = Font(current_style_);
    placed.A = A * p.height;
    placed.B = B * p.width;
    DrawTextRun(g_, placed, at, c);
    if (p.advances) Move(pen_, (B + D) / 2, 0);
  }

  Graphics& g_;
  const TextFont& font_;
  std::vector<std::u16string_view> chars_;
  size_t i_ = 0;
  std::u16string run_;
  TextOrigin pen_;
  int current_style_;
  int next_style_;
  int pending_colour_ = 0;
  Action action_ = Action::None;
  std::u16string face_;
  char16_t special_ = 0;
  int previous_width_ = 0;
  bool codes_enabled_ = true;
  uint32_t remembered_colour_;
};

}  // namespace

void DrawTextInline(Graphics& g, const TextFont& font, TextOrigin at, std::u16string_view text) {
  InlineWalk(g, font, at).Walk(text);
}

}  // namespace vardo
