#include "form/sheet_image_file.h"

#include <windows.h>

#include "framework/scoped_file.h"

SheetImageResult SaveSheetImage(const std::wstring& path, const SheetGlyphs& glyphs, uint32_t zoom,
                                uint32_t* systemError) {
    *systemError = 0;
    if (!SheetImageFits(glyphs, zoom))
        return SheetImageResult::TooLarge;
    ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) {
        *systemError = GetLastError();
        return SheetImageResult::WriteFailed;
    }
    DWORD error = ERROR_SUCCESS;
    // The image goes out band by band as it is drawn; a short write (a full
    // disk) stops it.
    const bool written = WriteSheetImage(glyphs, zoom, [&](const uint8_t* data, size_t size) {
        DWORD done = 0;
        if (!WriteFile(file.Get(), data, DWORD(size), &done, nullptr)) {
            error = GetLastError();
            return false;
        }
        if (done != size) {
            error = ERROR_DISK_FULL;
            return false;
        }
        return true;
    });
    if (!file.Close() && error == ERROR_SUCCESS)
        error = GetLastError();
    if (!written || error != ERROR_SUCCESS) {
        // Half an image is no image: nothing is left behind.
        DeleteFileW(path.c_str());
        *systemError = error;
        return SheetImageResult::WriteFailed;
    }
    return SheetImageResult::Saved;
}
