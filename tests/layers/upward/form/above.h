#pragma once
// May include the folders below it.
#include "fontdata/reaches_up.h"
