#include "printer/registered_data.h"

#include "printer/text_formats.h"

std::string FormatListLine(const CFontPT& record) {
    return RegistrationIdText(record.m_nId) + " " + record.m_szName + " " +
           std::to_string(record.m_nDataSize) + "byte";
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
    const std::string line = RegistrationIdText(id);
    const CFontPT* entry = FindRegistered(listing, id);
    return entry ? line + " " + entry->m_szName : line;
}

void RegisteredData::Apply(const ListingUpdate& update) {
    switch (update.list) {
    case ListChange::Keep:
        break;
    case ListChange::Empty:
        m_records.clear();
        m_lines.clear();
        break;
    case ListChange::Fill:
        m_records = update.records;
        m_lines.clear();
        for (const CFontPT& record : m_records)
            m_lines.push_back(FormatListLine(record));
        break;
    }

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
