#pragma once
// What a printer's listing must show of a planned registration: its ID, name,
// character count, data size and the character codes in the order they were
// sent.
#include <cstdint>
#include <string>
#include <vector>

#include "printer/font_pt.h"
#include "printer/provision_plan.h"

enum class ListingMismatch { None, Missing, Name, CharacterCount, DataSize, CharacterCode };

struct ListingDifference {
    ListingMismatch what = ListingMismatch::None;
    int id = 0;
    // Name: the names, in the ANSI code page.
    std::string plannedName;
    std::string listedName;
    // CharacterCount, DataSize: the numbers; CharacterCode: the codes.
    uint64_t planned = 0;
    uint64_t listed = 0;
    size_t character = 0; // CharacterCode: 0-based position in the registration
};

// The first way in which the listing's entry for the planned ID differs from
// the registration; what is None when it shows the registration.
ListingDifference CompareWithListing(const PlannedRegistration& planned,
                                     const std::vector<CFontPT>& listed);
