#pragma once
// The preview of the main form: a fixed sample line in the chosen face, size
// and style, centred in the preview frame on a nearly black ground.
#include <windows.h>

class CGlyphkitDoc;

// paintContext is the form's paint context, read only for its vertical
// resolution; the sample goes into the preview control's own context.
void DrawPreview(HWND previewControl, HDC paintContext, const CGlyphkitDoc& doc);
