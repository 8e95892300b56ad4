#pragma once
// The main window's document: the registration being composed, created at
// start-up and begun anew by Ctrl+N.
#include "framework/document.h"
#include "operations/settings_record.h"

class CGlyphkitDoc : public CDocument, public SettingsRecord {};
