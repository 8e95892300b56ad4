#pragma once
// The largest point size at which a registration fits a printer's memory,
// found by bisection over the memory a build at each size needs.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "check/registration_check.h"

constexpr int kSmallestPointSize = 1;
constexpr int kLargestPointSize = 72;

// The memory a registration needs at a point size; none when it cannot be
// built at that size (which then counts as not fitting).
using MemoryAtSize = std::function<std::optional<uint64_t>(int points)>;

// Asks memoryAt once per size, whatever limits are asked about.
class SizeFitSearch {
public:
    explicit SizeFitSearch(MemoryAtSize memoryAt) : m_memoryAt(std::move(memoryAt)) {}
    // The largest size from 1 to 72 whose memory is at most limit; 0 when
    // none is.
    int Largest(uint64_t limit);
    // Builds asked for so far.
    size_t Builds() const { return m_known.size(); }

private:
    bool Fits(int points, uint64_t limit);

    MemoryAtSize m_memoryAt;
    std::map<int, std::optional<uint64_t>> m_known;
};

// The check window's answers: the largest size that fits an empty printer
// and, after a listing, the one that fits its free memory.
struct SizeFit {
    int empty = 0;
    std::optional<int> free;
};

// The largest size that fits an empty printer and, when verdict comes after
// a listing, the one that fits its free memory.
SizeFit FindFittingSizes(const MemoryAtSize& memoryAt, const MemoryVerdict& verdict);
