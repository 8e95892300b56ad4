#pragma once
// The memory usage line of the registered data column, as the window and
// the console tool show it: "メモリ使用量　N/240Kbyte", or N/A before a listing.
#include <string>

#include "printer/registered_data.h"

std::wstring MemoryUsageText(const RegisteredData& data);
