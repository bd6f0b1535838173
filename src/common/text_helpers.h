// Character classes and text widths in half-width units, path pieces and Japanese era dates.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vardo {

// Half-width: the text compares ordinally between " " and "~" or between U+FF61 and U+FF9F
// (both inclusive). Everything else, surrogate pairs and control characters included, is
// full-width.
bool IsHalfWidth(std::u16string_view ch);
bool IsHalfWidth(char16_t unit);

// 1 when the first unit of s is a high surrogate, 2 when a low one, else 0.
int SurrogateKind(std::u16string_view s);

// -1 when i lies outside s; 1 at the high unit and 2 at the low unit of a well-formed pair
// (pairs found scanning from the start); 0 otherwise, lone surrogates included.
int SurrogatePos(std::u16string_view s, int i);

// The characters of s in order, each a view into s: a well-formed surrogate pair is one
// character, any other unit (a lone surrogate included) one.
std::vector<std::u16string_view> Characters(std::u16string_view s);

// Width in half-width units: 1 per half-width unit, 2 per other character (a pair counts 2).
int HalfWidthCount(std::u16string_view s);

// Half-width units of the characters that start before the last unit, control characters
// counting 0: the gaps of a run after which spacing applies.
int GapUnits(std::u16string_view s);

// Length of a run of s with character width w and spacing sp, the last spacing included.
double TextRunLength(std::u16string_view s, double w, double sp);

constexpr int kSplitPathMax = 80;

struct PathPieces {
  std::array<std::u16string, kSplitPathMax + 1> part;
  int last = 0;  // index of the last component
};

// Components of a path split at "\" and "/" (a doubled "\\" or "//" counts as one separator).
// Past component kSplitPathMax every further separator empties that last component.
PathPieces SplitPath(std::u16string_view path);

// The n-th word of s (words end at each " "), or the last word when s has fewer than n blanks.
std::u16string NthWord(std::u16string_view s, int n);

// The text after the last "\" or "/"; empty for a blank path or one containing NUL.
std::u16string PathFileName(std::u16string_view path);

// path with the extension of its file name replaced by ext ("." added when ext lacks it); an
// empty ext removes the extension with its ".". Empty for an empty path or one containing NUL.
std::u16string PathChangeExt(std::u16string_view path, std::u16string_view ext);

struct DateYMD {
  int year = 0, month = 0, day = 0;
};

struct Era {
  std::u16string name;  // empty before the first era
  std::u16string year;  // era year as an integer text; empty before the first era
};

struct EraDateTexts {
  std::u16string year;    // the year as an integer text
  Era era_without_reiwa;  // dates from 2019-05-01 on stay in 平成
  Era era_with_reiwa;
};

EraDateTexts EraDate(const DateYMD& date);

}  // namespace vardo
