#pragma once
#include <string_view>

// Reads an ASCII number, the whole text: an optional sign, digits with an
// optional "." and fraction (at least one digit in all), and an optional
// exponent ("e" or "E", optional sign, digits). The value is the number
// rounded once to the platform's extended precision (long double), so that
// integers up to 2^64 keep every digit and exponents reach beyond those of a
// double. False, with value unchanged, for any other text and for a number
// outside the range of long double.
bool ReadExtendedNumber(std::string_view text, long double &value);
