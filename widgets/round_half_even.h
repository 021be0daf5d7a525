#pragma once
#include <cstdint>

// numerator / denominator (denominator > 0) rounded to the nearest integer,
// halves to the even neighbour, in exact integer arithmetic.
inline std::int64_t DivideRoundHalfEven(std::int64_t numerator, std::int64_t denominator)
{
    std::int64_t quotient = numerator / denominator;
    std::int64_t remainder = numerator % denominator;
    if (remainder < 0) {
        --quotient;
        remainder += denominator;
    }
    if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0))
        ++quotient;
    return quotient;
}
