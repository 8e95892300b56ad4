#pragma once
// The registered data panel's content: the records of the last listing, the
// list lines that show them and the memory usage line. The form mirrors it
// into its controls; the console prints it.
#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "printer/exchange_outcome.h"
#include "printer/font_pt.h"

// "ID07 NAME 7200byte" in the ANSI code page.
std::string FormatListLine(const CFontPT& record);

// The entry of records registered under id; null when there is none.
const CFontPT* FindRegistered(const std::vector<CFontPT>& records, int id);

// The line below the overwrite question: "ID07", followed by the entry's name
// when the listing holds the ID.
std::string OverwriteQuestionLine(const std::vector<CFontPT>& listing, int id);

class RegisteredData {
public:
    static constexpr size_t kMaxRecords = 100;

    void Apply(const ListingUpdate& update);

    // The memory usage line: available with a value in KB, or "N/A".
    bool MemoryAvailable() const { return m_bMemoryAvailable; }
    int MemoryKilobytes() const { return int(std::min<uint64_t>(m_nMemoryBytes / 1024, INT_MAX)); }
    // The same in bytes, as the listing stated it.
    uint64_t MemoryBytes() const { return m_nMemoryBytes; }

    std::vector<CFontPT> m_records; // record k is shown by line k
    std::vector<std::string> m_lines;

private:
    bool m_bMemoryAvailable = false; // before the first query: N/A
    uint64_t m_nMemoryBytes = 0;
};
