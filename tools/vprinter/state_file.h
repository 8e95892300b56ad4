#pragma once
// The printer's memory on disk, as text a person can read and seed by hand:
//
//   glyphkit-vprinter-state 1
//   font <100-byte information block in hex>
//   char <10-byte wire record in hex> <glyph bitmap in hex>    (one per character)
//   end
//   logo <ID> <vertical dots> <horizontal dots> <name>         (a blank logo)
#include <string>

#include "tools/vprinter/registration_memory.h"

namespace vprinter {

// Replaces `memory` with the file's content; false with a message in `error`
// (memory unchanged) when the file cannot be read or is malformed.
bool LoadState(const std::string& path, RegistrationMemory& memory, std::string* error);
bool SaveState(const std::string& path, const RegistrationMemory& memory, std::string* error);

// The same, on text in memory.
bool ParseState(const std::string& text, RegistrationMemory& memory, std::string* error);
std::string FormatState(const RegistrationMemory& memory);

} // namespace vprinter
