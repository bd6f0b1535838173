// The text pipeline: a text's layout from its baseline, runs at a fixed pitch or with measured
// advances, the inline control codes, and single glyphs placed on the view.
#pragma once

#include <string>
#include <string_view>

#include "render/graphics.h"

namespace vardo {

// Style bits of a text's font.
enum TextStyleBits : int {
  kTextBold = 1,
  kTextItalic = 2,
  kTextUnderline = 4,
  kTextStrikeOut = 8,
};

// How the characters of a text are drawn; sizes in paper millimetres.
struct TextFont {
  int style = 0;  // TextStyleBits
  // The face; "@" before it asks for its vertical form, "@@" for that form turned by 180°.
  std::u16string face;
  double A = 0;  // glyph height; negative hangs the glyphs below the baseline
  double B = 0;  // cell width of a full-width character; a half-width one is half as wide
  double D = 0;  // spacing after a full-width character; half of it after a half-width one
};

// A text's baseline in drawing coordinates: where it starts and where it ends.
struct TextBaseline {
  double bx = 0, by = 0, ex = 0, ey = 0;
};

// Where a run of characters starts and its direction (radians, anticlockwise).
struct TextOrigin {
  double x = 0, y = 0, angle = 0;
};

// A whole text along its baseline: the size guard (a height or width under 6 or over 1000
// pixels, or no font service, shows the baseline as a line three pixels wide), mirrored text
// for a negative width, the trailing equal-spacing and compression markers, the substitution
// codes, and then measured advances (spacing 0.001..0.01), one plain run, or the inline codes.
void DrawTextString(Graphics& g, TextFont font, const TextBaseline& line, std::u16string_view text);

// The characters one after another at the pitch of the font: B + D for a full-width character,
// half of it for a half-width one.
void DrawTextRun(Graphics& g, const TextFont& font, TextOrigin at, std::u16string_view text);

// The characters each advanced by its own width, measured in the face at the font's height and
// scaled to its width (D plays no part); the glyphs keep the font's width.
void DrawTextProportional(Graphics& g, const TextFont& font, TextOrigin at,
                          std::u16string_view text);

// The text with its "^" codes obeyed: style, colour and face changes, codes off and on, and
// characters placed as superscripts, subscripts, overlays and overstrikes. Colour codes change
// the pen of g's canvas, which the glyphs take; they stay there after the text.
void DrawTextInline(Graphics& g, const TextFont& font, TextOrigin at, std::u16string_view text);

// One character (a UTF-16 unit or a surrogate pair) with its cell placed on (at.x, at.y) by the
// base code (0 bottom-left .. 8 top-right as for texts; any other value acts as 0), in the pen
// colour. Skipped when no corner of its cell lies inside the view window.
void DrawGlyph(Graphics& g, int base, const TextFont& font, TextOrigin at, std::u16string_view ch);

}  // namespace vardo
