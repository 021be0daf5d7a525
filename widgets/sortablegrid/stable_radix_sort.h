#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// Stable LSD radix sort by an unsigned 64-bit key, a byte at a time. One pass
// counts every byte of every key; a byte that is the same in all keys costs
// no pass, so keys that span a small range (dates as days) take two or three
// passes over the items instead of the many comparisons of a merge sort.
// Items with equal keys keep their order.
template <class T, class KeyOf>
void StableRadixSort(std::vector<T> &items, KeyOf keyOf)
{
    const std::size_t n = items.size();
    if (n < 2)
        return;
    constexpr int kBytes = 8;
    const std::uint64_t firstKey = keyOf(items.front());
    std::vector<std::array<std::size_t, 256>> counts(kBytes);
    for (const T &item : items) {
        const std::uint64_t key = keyOf(item);
        for (int b = 0; b < kBytes; ++b)
            ++counts[b][(key >> (8 * b)) & 0xFF];
    }
    std::vector<T> buffer;
    std::vector<T> *from = &items;
    std::vector<T> *to = &buffer;
    for (int b = 0; b < kBytes; ++b) {
        std::array<std::size_t, 256> &count = counts[b];
        if (count[(firstKey >> (8 * b)) & 0xFF] == n)
            continue; // the byte is the same everywhere
        if (buffer.empty())
            buffer.resize(n);
        std::size_t start = 0;
        for (std::size_t &c : count)
            start += std::exchange(c, start);
        for (T &item : *from)
            (*to)[count[(keyOf(item) >> (8 * b)) & 0xFF]++] = std::move(item);
        std::swap(from, to);
    }
    if (from != &items)
        items.swap(buffer);
}
