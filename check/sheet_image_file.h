#pragma once
// The registration check's sheet saved as a 1-bit BMP file, for the window's
// 画像として保存 and the console tool's check --image.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "check/check_sheet.h"

// A save the window runs a slice at a time between its messages. The image
// goes to a temporary file beside the one chosen and takes its name only
// when complete: a save that is cancelled or fails leaves nothing behind.
class CSheetImageSave {
public:
    // glyphs must outlive the save.
    CSheetImageSave(const SheetGlyphs& glyphs, uint32_t zoom)
        : m_writer(std::make_unique<SheetImageWriter>(glyphs, zoom)) {}
    // Another picture, such as the label line.
    explicit CSheetImageSave(std::unique_ptr<MonoImageWriter> writer)
        : m_writer(std::move(writer)) {}
    ~CSheetImageSave() { Cancel(); }
    CSheetImageSave(const CSheetImageSave&) = delete;
    CSheetImageSave& operator=(const CSheetImageSave&) = delete;

    // Whether the image fits a BMP file, and its size.
    bool Fits() const { return m_writer->Fits(); }
    uint64_t FileSize() const { return m_writer->FileSize(); }
    uint64_t Written() const { return m_writer->Written(); }

    // Opens the temporary file for path; false with the system's reason in
    // Error().
    bool Start(const std::wstring& path);
    enum class Step { Going, Saved, Failed };
    // Writes for about budgetMs milliseconds; after Failed, Error() holds the
    // system's reason and the temporary file is gone.
    Step Continue(uint32_t budgetMs);
    // Stops the save and deletes what it wrote.
    void Cancel();
    uint32_t Error() const { return m_error; }

private:
    Step Fail(uint32_t error);

    std::unique_ptr<MonoImageWriter> m_writer;
    std::wstring m_path;
    std::wstring m_temporary;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    uint32_t m_error = 0;
};

enum class SheetImageResult { Saved, TooLarge, WriteFailed };

// Writes the image of the sheet at zoom to path at once. After WriteFailed,
// systemError holds the system's reason and no partial file is left.
SheetImageResult SaveSheetImage(const std::wstring& path, const SheetGlyphs& glyphs, uint32_t zoom,
                                uint32_t* systemError);
// The same for another picture.
SheetImageResult SaveImage(const std::wstring& path, std::unique_ptr<MonoImageWriter> writer,
                           uint32_t* systemError);
