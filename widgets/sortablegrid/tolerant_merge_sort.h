#pragma once
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

// Stable bottom-up merge sort with a three-way comparison (negative, zero,
// positive). It asks nothing of the comparison: every step moves elements only
// to where the insertion or merge puts them, so even an inconsistent
// comparison ends after O(n log n) steps and yields every element exactly once.
template <class T, class Compare>
void TolerantMergeSort(std::vector<T> &items, Compare compare)
{
    const std::size_t n = items.size();
    constexpr std::size_t kRun = 24;

    for (std::size_t start = 0; start < n; start += kRun) {
        const std::size_t end = std::min(start + kRun, n);
        for (std::size_t i = start + 1; i < end; ++i) {
            T item = std::move(items[i]);
            std::size_t j = i;
            for (; j > start && compare(item, items[j - 1]) < 0; --j)
                items[j] = std::move(items[j - 1]);
            items[j] = std::move(item);
        }
    }
    if (n <= kRun)
        return;

    std::vector<T> buffer(n);
    std::vector<T> *from = &items;
    std::vector<T> *to = &buffer;
    for (std::size_t width = kRun; width < n; width *= 2) {
        for (std::size_t low = 0; low < n; low += 2 * width) {
            const std::size_t middle = std::min(low + width, n);
            const std::size_t high = std::min(low + 2 * width, n);
            auto &src = *from;
            auto &dst = *to;
            std::size_t left = low, right = middle, out = low;
            // Ties take the left element first, which keeps the sort stable.
            while (left < middle && right < high) {
                if (compare(src[right], src[left]) < 0)
                    dst[out++] = std::move(src[right++]);
                else
                    dst[out++] = std::move(src[left++]);
            }
            while (left < middle)
                dst[out++] = std::move(src[left++]);
            while (right < high)
                dst[out++] = std::move(src[right++]);
        }
        std::swap(from, to);
    }
    if (from != &items)
        items.swap(buffer);
}
