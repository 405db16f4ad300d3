// Number conversions of typed and stored texts: the decimal conversion (decimal comma), the
// leading-number conversion (point, stops at the first other character) and the general
// number text of a double (15 significant digits).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vornelle {

// Text typed with a decimal comma: optional blanks around, sign, digits with an optional
// fraction after a comma, optional exponent (1,5E-05). Empty text, a point or any other
// character gives no value; so does a value beyond the range of a double.
std::optional<double> decimalValue(std::string_view text);

// Longest leading number: blanks, sign, digits, optional fraction after a point, optional
// exponent (E-02). "120" gives 120, "2,5" gives 2, "x" gives 0. No value only when the
// number is beyond the range of a double.
std::optional<double> leadingNumber(std::string_view text);

// Leading-number conversion where an out-of-range number counts as having no number (0).
double leadingNumberOr0(std::string_view text);

// Text of a double with up to 15 significant digits, correctly rounded, no trailing zeros;
// scientific form ("1,00000000000655E-05", "1E+15") when the decimal exponent of the rounded
// value is -5 or less, or 15 or more. `separator` is ',' for texts shown to the user and '.'
// for number fields of files. Zero gives "0".
std::string numberText(double value, char separator);

// Appends the same text to `out` without allocating when `out` has room (hot file writers).
void appendNumberText(std::string& out, double value, char separator);

// Round to the nearest whole number, halves to the even neighbour (2,5 -> 2; 3,5 -> 4).
double roundHalfEven(double value);

// Byte and tick counts that stop at UINT64_MAX instead of wrapping round, so that a need
// too large to count stays larger than any free space.
inline uint64_t saturatingProduct(uint64_t a, uint64_t b) {
    return b != 0 && a > UINT64_MAX / b ? UINT64_MAX : a * b;
}
inline uint64_t saturatingSum(uint64_t a, uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

}  // namespace vornelle
