#include "check/size_fit.h"

#include "printer/text_formats.h"

namespace {

// Hinting can make a cell a dot smaller at the next size up, so the memory
// a registration needs is not strictly monotonic in its size everywhere.
// Such dips span a size or two; after the bisection, this many sizes above
// its answer are tried as well, and one that fits starts the search again
// from there.
constexpr int kSizesCheckedAbove = 4;

} // namespace

bool SizeFitSearch::Fits(int points, uint64_t limit) {
    auto known = m_known.find(points);
    if (known == m_known.end())
        known = m_known.emplace(points, m_memoryAt(points)).first;
    return known->second && *known->second <= limit;
}

int SizeFitSearch::Largest(uint64_t limit) {
    // fitting: a size known to fit (0 stands for none); the sizes above
    // tooLarge are not searched by this round of the bisection.
    int fitting = 0;
    int tooLarge = kLargestPointSize + 1;
    for (;;) {
        while (tooLarge - fitting > 1) {
            const int middle = fitting + (tooLarge - fitting) / 2;
            if (Fits(middle, limit))
                fitting = middle;
            else
                tooLarge = middle;
        }
        int above = 0;
        for (int points = tooLarge + 1;
             points <= kLargestPointSize && points <= tooLarge + kSizesCheckedAbove; ++points)
            if (Fits(points, limit))
                above = points;
        if (above == 0)
            return fitting;
        fitting = above;
        tooLarge = kLargestPointSize + 1;
    }
}

SizeFit FindFittingSizes(const MemoryAtSize& memoryAt, const MemoryVerdict& verdict) {
    SizeFitSearch search(memoryAt);
    SizeFit fit;
    fit.empty = search.Largest(kPrinterMemoryBytes);
    if (verdict.listingRead)
        fit.free = search.Largest(verdict.freeBytes);
    return fit;
}
