#include "printer/overwrite_question.h"

#include <cstdio>

#include "printer/registered_data.h"
#include "res/resource_ids.h"

std::string OverwriteQuestionLine(const std::vector<CFontPT>& listing, int id) {
    // The printer only says that the ID is taken; what holds it is known
    // from the last listing, if that still shows it.
    char line[8];
    std::snprintf(line, sizeof line, "ID%02d", id);
    const CFontPT* entry = FindRegistered(listing, id);
    return entry ? std::string(line) + " " + entry->m_szName : std::string(line);
}

bool OverwriteQuestionNaming::AskYesNo(unsigned id) {
    if (id == IDS_ASK_OVERWRITE)
        return m_inner.AskYesNoAbout(id, m_line);
    return m_inner.AskYesNo(id);
}
