#pragma once
#include <QSize>

#include <algorithm>

// The preview and the picker show pictures stretched into a panel of about
// 300 x 230 pixels, so no picture is kept larger than kLargestSide on either
// side: a larger one is reduced by keeping every step-th line and pixel from
// the first, which bounds the memory and time of showing it whatever size a
// file claims. Pictures within the bound stay whole.
namespace picture_reduction {

constexpr int kLargestSide = 4096;

// The smallest step that brings both sides within the bound; 1 for a picture
// within it.
constexpr int Step(QSize size)
{
    return std::max(1, (std::max(size.width(), size.height()) + kLargestSide - 1) / kLargestSide);
}

// The size of the picture keeping every step-th line and pixel.
constexpr QSize Reduced(QSize size)
{
    const int step = Step(size);
    return {(size.width() + step - 1) / step, (size.height() + step - 1) / step};
}

} // namespace picture_reduction
