#include "widgets/sortablegrid/extended_number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

constexpr int kMantissaBits = std::numeric_limits<long double>::digits;

// The largest k whose 10^k long double holds exactly: 5^k needs fewer bits
// than the mantissa has (the factor 2^k goes into the exponent).
constexpr int MaxExactPower()
{
    int k = 0;
    while ((k + 1) * 2.321928094887362 < kMantissaBits) // log2(5)
        ++k;
    return k;
}
constexpr int kMaxExactPower = MaxExactPower();

constexpr std::array<long double, kMaxExactPower + 1> kPowersOfTen = [] {
    std::array<long double, kMaxExactPower + 1> powers{};
    long double power = 1;
    for (auto &entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool ReadExtendedNumber(std::string_view text, long double &value)
{
    const std::size_t n = text.size();
    std::size_t pos = 0;
    const bool negative = pos < n && text[pos] == '-';
    if (pos < n && (text[pos] == '-' || text[pos] == '+'))
        ++pos;

    // Up to 19 significant digits gather in an integer; with the power of ten
    // they make the value in one rounding when both are exact (the common case).
    std::uint64_t mantissa = 0;
    int significant = 0;
    int digits = 0;
    long exponent = 0;
    bool exact = true;
    auto takeDigit = [&](char c, bool fraction) {
        ++digits;
        if (significant == 0 && c == '0') {
            exponent -= fraction ? 1 : 0;
            return;
        }
        if (significant == 19) {
            exact = false;
            return;
        }
        mantissa = mantissa * 10 + std::uint64_t(c - '0');
        ++significant;
        exponent -= fraction ? 1 : 0;
    };
    while (pos < n && IsDigit(text[pos]))
        takeDigit(text[pos++], false);
    if (pos < n && text[pos] == '.') {
        ++pos;
        while (pos < n && IsDigit(text[pos]))
            takeDigit(text[pos++], true);
    }
    if (digits == 0)
        return false;
    if (pos < n && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        const bool negativeExponent = pos < n && text[pos] == '-';
        if (pos < n && (text[pos] == '-' || text[pos] == '+'))
            ++pos;
        if (pos == n || !IsDigit(text[pos]))
            return false;
        long written = 0;
        while (pos < n && IsDigit(text[pos])) {
            written = std::min(written * 10 + (text[pos++] - '0'), 1000000L);
        }
        exponent += negativeExponent ? -written : written;
    }
    if (pos != n)
        return false;

    const bool mantissaExact = kMantissaBits >= 64 || mantissa < (std::uint64_t(1) << kMantissaBits);
    long double result = 0;
    if (mantissa == 0) {
        result = 0;
    } else if (exact && mantissaExact && std::labs(exponent) <= kMaxExactPower) {
        result = static_cast<long double>(mantissa);
        result = exponent >= 0 ? result * kPowersOfTen[exponent] : result / kPowersOfTen[-exponent];
    } else {
        const char *begin = text.data() + (text[0] == '-' || text[0] == '+' ? 1 : 0);
        const auto [end, error] = std::from_chars(begin, text.data() + n, result);
        if (error != std::errc() || end != text.data() + n)
            return false;
    }
    if (!std::isfinite(result))
        return false;
    value = negative ? -result : result;
    return true;
}
