#include "fontdata/code_list.h"

#include <new>
#include <utility>

int CCodeList::Setup(uint16_t length, uint16_t* input, uint32_t codePage) {
    Release();
    m_pInput = input;
    m_nLength = length;
    m_nCodePage = codePage;
    try {
        m_output.assign(size_t(length) + 1, 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    try {
        m_lowerStack.assign(size_t(length) + 1, 0);
        m_upperStack.assign(size_t(length) + 1, 0);
    } catch (const std::bad_alloc&) {
        m_lowerStack.clear();
        m_upperStack.clear();
    }
    return 1;
}

void CCodeList::Release() {
    std::vector<uint16_t>().swap(m_output);
    std::vector<uint16_t>().swap(m_lowerStack);
    std::vector<uint16_t>().swap(m_upperStack);
    m_nResult = 0;
}

void CCodeList::Build(const CodePageConversion& conversion) {
    m_nResult = 0;
    if (m_output.empty())
        return;
    if (!conversion.KeepsInexpressibleUnits())
        Filter(conversion);
    if (m_nLength > 1) {
        if (!m_lowerStack.empty() && !m_upperStack.empty())
            QuickSortParts();
        InsertionPass();
    }
    Compact();
}

void CCodeList::Filter(const CodePageConversion& conversion) {
    for (uint16_t i = 0; i < m_nLength; ++i) {
        uint8_t bytes[2];
        int count = 0;
        if (!conversion.UnitToCodePage(m_pInput[i], m_nCodePage, bytes, &count))
            m_pInput[i] = 0;
    }
}

// Quicksort without recursion: the larger part waits on the two stacks, the
// smaller is split next; parts of at most kSmallPartLimit + 1 units are left
// for the insertion pass, which then has only short distances to move.
void CCodeList::QuickSortParts() {
    uint16_t* a = m_pInput;
    size_t depth = 0;
    int first = 0;
    int last = m_nLength - 1;
    for (;;) {
        if (last - first > m_nSmallPartLimit) {
            const uint16_t pivot = a[(first + last) / 2];
            int left = first;
            int right = last;
            do {
                while (a[left] < pivot)
                    ++left;
                while (a[right] > pivot)
                    --right;
                if (left <= right) {
                    std::swap(a[left], a[right]);
                    ++left;
                    --right;
                }
            } while (left <= right);
            // Parts: [first, right] and [left, last].
            if (right - first > last - left) {
                if (right - first > m_nSmallPartLimit) {
                    m_lowerStack[depth] = uint16_t(first);
                    m_upperStack[depth] = uint16_t(right);
                    ++depth;
                }
                first = left;
            } else {
                if (last - left > m_nSmallPartLimit) {
                    m_lowerStack[depth] = uint16_t(left);
                    m_upperStack[depth] = uint16_t(last);
                    ++depth;
                }
                last = right;
            }
            continue;
        }
        if (depth == 0)
            break;
        --depth;
        first = m_lowerStack[depth];
        last = m_upperStack[depth];
    }
}

void CCodeList::InsertionPass() {
    uint16_t* a = m_pInput;
    for (int i = 1; i < m_nLength; ++i) {
        const uint16_t unit = a[i];
        int j = i - 1;
        while (j >= 0 && a[j] > unit) {
            a[j + 1] = a[j];
            --j;
        }
        a[j + 1] = unit;
    }
}

void CCodeList::Compact() {
    uint16_t n = 0;
    for (uint16_t i = 0; i < m_nLength; ++i) {
        const uint16_t unit = m_pInput[i];
        if (unit < 0x20)
            continue;
        if (i > 0 && unit == m_pInput[i - 1])
            continue;
        m_output[n++] = unit;
    }
    m_output[n] = 0;
    m_nResult = n;
}

std::optional<std::vector<uint16_t>>
CollectRegistrationUnits(const std::u16string& text, bool rangeOn, int start, int end,
                         uint32_t codePage, const CodePageConversion& conversion) {
    const size_t rangeCount = rangeOn && end >= start ? size_t(end - start + 1) : 0;
    if (text.size() + rangeCount > kMaxCodeListInput)
        return std::nullopt;
    std::vector<uint16_t> units(text.begin(), text.end());
    units.reserve(text.size() + rangeCount);
    for (size_t k = 0; k < rangeCount; ++k)
        units.push_back(conversion.ByteToUnit(uint8_t(start + k), codePage));
    return units;
}

RegistrationCodes::Outcome RegistrationCodes::Build(const std::u16string& text, bool rangeOn,
                                                    int start, int end, uint32_t codePage,
                                                    const CodePageConversion& conversion) {
    auto collected = CollectRegistrationUnits(text, rangeOn, start, end, codePage, conversion);
    if (!collected)
        return Outcome::TooManyUnits;
    units = std::move(*collected);
    if (!list.Setup(uint16_t(units.size()), units.data(), codePage))
        return Outcome::NoMemory;
    list.Build(conversion);
    return Outcome::Built;
}
