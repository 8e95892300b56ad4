#pragma once
// The registration check's largest fitting size: the form's registration
// built at other point sizes by the one build, nothing else changed.
#include "check/registration_check.h"
#include "check/size_fit.h"
#include "operations/registration_build.h"

class InstalledFamilies;
class SettingsRecord;

// The memory the form's registration needs at a size, as the check builds
// it (header and cell only, no glyph rendered); none when it is refused.
MemoryAtSize FormMemoryAtSize(const SettingsRecord& settings, const InstalledFamilies& fonts,
                              const FormFields& fields, const FormEnvironment& environment);
