#pragma once
// The registration ID (0 to 99) as the operator types it: in the form's field,
// the console tool's --id and a provisioning plan's line.
#include <optional>
#include <string>

// A plain decimal number from 0 to 99, spaces around it allowed; nothing for
// anything else. outOfRange, when given, tells a plain number above 99 apart
// from text that is no number.
std::optional<int> ParseRegistrationId(const std::string& text, bool* outOfRange = nullptr);
