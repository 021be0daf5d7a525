#include "widgets/sortablegrid/cell_format.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTextInset = 2;
constexpr int kBottomTextInset = 3;

} // namespace

int HorzTextOffset(TAlignment alignment, int cellWidth, int textWidth)
{
    switch (alignment) {
    case taRightJustify: return cellWidth - textWidth - kTextInset;
    case taCenter: return (cellWidth - textWidth) / 2; // C++ division rounds toward zero
    case taLeftJustify: break;
    }
    return kTextInset;
}

int VertTextOffset(TVertAlignment alignment, int cellHeight, int textHeight)
{
    switch (alignment) {
    case taBottomJustify: return cellHeight - textHeight - kBottomTextInset;
    case taMiddle: return (cellHeight - textHeight) / 2;
    case taTopJustify: break;
    }
    return kTextInset;
}

int ProportionalPageSize(int visible, int fixed, int count, int rangeMin, int rangeMax)
{
    if (count <= 0)
        return 1;
    const double exact = double(visible + fixed) / count * (double(rangeMax) - rangeMin + 1);
    // Nearest integer, halves to even.
    const double floor = std::floor(exact);
    const double fraction = exact - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0))
        rounded = floor + 1;
    return std::max(1, int(rounded));
}
