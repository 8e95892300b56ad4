#pragma once
// The code list of a registration: the distinct UTF-16 units of the text and
// the one-byte range, ascending, without control codes and (on most systems)
// without units the font's code page cannot express.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fontdata/code_page.h"

class CCodeList {
public:
    static constexpr uint16_t kSmallPartLimit = 10;

    CCodeList() = default;
    CCodeList(const CCodeList&) = delete;
    CCodeList& operator=(const CCodeList&) = delete;

    // input: the caller's units, filtered and sorted in place by Build.
    // Returns 0 when the output block cannot be had, else 1; missing stacks
    // only cost speed.
    int Setup(uint16_t length, uint16_t* input, uint32_t codePage);
    void Build(const CodePageConversion& conversion);
    void Release();

    uint16_t Count() const { return m_nResult; }
    // The n codes followed by a zero unit.
    const uint16_t* Codes() const { return m_output.data(); }
    uint32_t CodePage() const { return m_nCodePage; }

private:
    void Filter(const CodePageConversion& conversion);
    void QuickSortParts();
    void InsertionPass();
    void Compact();

    uint16_t* m_pInput = nullptr;
    uint16_t m_nLength = 0;
    uint16_t m_nResult = 0;
    std::vector<uint16_t> m_output;
    std::vector<uint16_t> m_lowerStack;
    std::vector<uint16_t> m_upperStack;
    uint16_t m_nSmallPartLimit = kSmallPartLimit;
    uint32_t m_nCodePage = 0;
};

// Most units a code list can take (its length is 16 bits).
constexpr size_t kMaxCodeListInput = 65535;

// The units of a registration: the text's units, then, when the range switch
// is on, one unit per byte value from start to end (ascending) converted from
// the code page. Nothing when the total would exceed kMaxCodeListInput.
std::optional<std::vector<uint16_t>> CollectRegistrationUnits(const std::u16string& text,
                                                              bool rangeOn, int start, int end,
                                                              uint32_t codePage,
                                                              const CodePageConversion& conversion);

// The code list of a registration together with the units it was built from
// (the list reads and sorts them in place, so both live in one place).
struct RegistrationCodes {
    enum class Outcome { Built, TooManyUnits, NoMemory };

    std::vector<uint16_t> units;
    CCodeList list;

    // Collects the units (see CollectRegistrationUnits) and builds the list.
    Outcome Build(const std::u16string& text, bool rangeOn, int start, int end, uint32_t codePage,
                  const CodePageConversion& conversion);
};
