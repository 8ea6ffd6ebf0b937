#pragma once
// Text <-> number conversions shared by the whole program. Every conversion
// uses "." as the decimal separator, whatever the user's locale.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velta {

// Raised when a text that must hold a number does not.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string trim(std::string_view s);

// The lines of a text, ended by LF or CR LF; a last line without its end
// counts too, an empty text has no lines.
std::vector<std::string_view> splitLines(std::string_view text);

// Decimal number: optional sign, digits with an optional ".", optional
// exponent; blanks around it are ignored. Throws ConversionError.
double parseNumber(std::string_view text);
std::optional<double> tryParseNumber(std::string_view text);
// Decimal integer with an optional sign; blanks around it are ignored.
int parseInteger(std::string_view text);
std::optional<int> tryParseInteger(std::string_view text);

// Fixed notation with at most 8 significant digits and exactly `decimals`
// decimals (rounded half away from zero on the value's shortest decimal
// form). Magnitudes of 1e8 or more come out in scientific notation.
std::string formatFixed(double x, int decimals);
inline std::string formatF3(double x) { return formatFixed(x, 3); }
// F2 first rounds with R2, then writes two decimals.
std::string formatF2(double x);
// Shortest text in general notation with up to 15 significant digits.
std::string formatGeneral(double x);

// x rounded half away from zero to two decimals, computed as the deck and
// the unit conversions define it: trunc(x / 0.01 +- 0.5) * 0.01.
double R2(double x);
// Rounded half away from zero to 2 (round2) or 1 (round1) decimals.
double round2(double x);
double round1(double x);
// Nearest integer, halves to the even neighbour (pixel rounding).
long roundEven(double x);

}  // namespace velta
