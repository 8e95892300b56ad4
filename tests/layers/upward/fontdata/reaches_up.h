#pragma once
// A lower folder that includes a higher one: the layer check must refuse it.
#include "form/above.h"
