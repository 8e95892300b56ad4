#include "printer/registered_data.h"

#include <cstdio>

std::string FormatListLine(const CFontPT& record) {
    char line[80];
    std::snprintf(line, sizeof line, "ID%02d %s %llubyte", int(record.m_nId), record.m_szName,
                  static_cast<unsigned long long>(record.m_nDataSize));
    return line;
}

const CFontPT* FindRegistered(const std::vector<CFontPT>& records, int id) {
    for (const CFontPT& record : records)
        if (record.m_nId == id)
            return &record;
    return nullptr;
}

std::string OverwriteQuestionLine(const std::vector<CFontPT>& listing, int id) {
    // The printer only says that the ID is taken; what holds it is known
    // from the last listing, if that still shows it.
    char line[8];
    std::snprintf(line, sizeof line, "ID%02d", id);
    const CFontPT* entry = FindRegistered(listing, id);
    return entry ? std::string(line) + " " + entry->m_szName : std::string(line);
}

void RegisteredData::Apply(const ListingUpdate& update, const LineWidth& lineWidth) {
    switch (update.list) {
    case ListChange::Keep:
        break;
    case ListChange::Empty:
        m_records.clear();
        m_lines.clear();
        break;
    case ListChange::Fill: {
        m_records = update.records;
        m_lines.clear();
        int previous = 0;
        for (const CFontPT& record : m_records) {
            m_lines.push_back(FormatListLine(record));
            const int width = lineWidth ? lineWidth(m_lines.back()) : 0;
            // The query widens only over the line just before; the refresh
            // follows every line, so it ends at the last line's width.
            if (update.extent == ExtentChange::EachLine ||
                (update.extent == ExtentChange::Widening && width > previous))
                m_nExtent = width + 2;
            previous = width;
        }
        break;
    }
    }
    if (update.extent == ExtentChange::Zero)
        m_nExtent = 0;

    switch (update.memory) {
    case MemoryChange::Keep:
        break;
    case MemoryChange::NotAvailable:
        m_bMemoryAvailable = false;
        break;
    case MemoryChange::Zero:
        m_bMemoryAvailable = true;
        m_nMemoryBytes = 0;
        break;
    case MemoryChange::Usage:
        m_bMemoryAvailable = true;
        m_nMemoryBytes = update.memoryUse;
        break;
    }
}
