// Tolerant number conversion and locale-independent number formatting.
#pragma once

#include <string>
#include <string_view>

namespace vardo {

// The integer the whole of s denotes (leading blanks, sign, decimal or "$"/"x"/"0x" hexadecimal
// of up to eight digits taken as a 32-bit pattern), else 0.
int ValInt(std::u16string_view s);

// The number the whole of s denotes ("." is the decimal point whatever the locale), else 0.0.
// Never returns NaN or infinity: a value too large for a double reads as 0.
double ValFloat(std::u16string_view s);

std::u16string IntStr(int v);

// General format with 15 significant digits, always "." as the decimal separator.
std::u16string FloatStr(double v);

// Narrow (ASCII) forms of the two formatters, for files and tools that write bytes.
std::string IntStrA(int v);
std::string FloatStrA(double v);

// Append the formatted value to out without building a temporary string (the writer's hot path).
void AppendIntStr(std::u16string& out, int v);
void AppendFloatStr(std::u16string& out, double v);

// Rounds half away from zero. Values beyond the 32-bit range are clamped to it (NaN gives 0).
int RoundOff(double v);

// The multiple of step nearest to v, halves away from zero.
double SnapTo(double v, double step);

void SwapDouble(double& a, double& b);

// Converts a string of ASCII characters to UTF-16 (for literals and formatted numbers).
std::u16string Widen(std::string_view ascii);

}  // namespace vardo
