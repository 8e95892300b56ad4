#include "check/sheet_image_file.h"

#include <vector>

bool CSheetImageSave::Start(const std::wstring& path) {
    Cancel();
    m_error = 0;
    m_path = path;
    // The folder of the chosen name, for a temporary file beside it: the
    // rename at the end then stays on one volume.
    std::vector<wchar_t> full(32768, L'\0');
    wchar_t* name = nullptr;
    const DWORD length = GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), &name);
    if (length == 0 || length >= full.size()) {
        m_error = length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    const std::wstring folder(full.data(), name ? size_t(name - full.data()) : length);
    wchar_t temporary[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(folder.c_str(), L"gk", 0, temporary)) {
        m_error = GetLastError();
        // A folder that is not there is named so, not as a wrong name.
        if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
            m_error = ERROR_PATH_NOT_FOUND;
        return false;
    }
    m_temporary = temporary;
    m_file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
    if (m_file == INVALID_HANDLE_VALUE) {
        Fail(GetLastError());
        return false;
    }
    return true;
}

CSheetImageSave::Step CSheetImageSave::Continue(uint32_t budgetMs) {
    if (m_file == INVALID_HANDLE_VALUE)
        return Step::Failed;
    DWORD error = ERROR_SUCCESS;
    const auto sink = [&](const uint8_t* data, size_t size) {
        DWORD done = 0;
        if (!WriteFile(m_file, data, DWORD(size), &done, nullptr)) {
            error = GetLastError();
            return false;
        }
        if (done != size) {
            error = ERROR_DISK_FULL;
            return false;
        }
        return true;
    };
    const ULONGLONG start = GetTickCount64();
    while (!m_writer->Done() && GetTickCount64() - start < budgetMs)
        if (!m_writer->WriteNext(sink))
            return Fail(error != ERROR_SUCCESS ? error : ERROR_NOT_ENOUGH_MEMORY);
    if (!m_writer->Done())
        return Step::Going;
    // A full disk may show only when the file is closed.
    const HANDLE file = m_file;
    m_file = INVALID_HANDLE_VALUE;
    if (!CloseHandle(file))
        return Fail(GetLastError());
    if (!MoveFileExW(m_temporary.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return Fail(GetLastError());
    m_temporary.clear();
    return Step::Saved;
}

void CSheetImageSave::Cancel() {
    if (m_file != INVALID_HANDLE_VALUE) {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
    if (!m_temporary.empty()) {
        DeleteFileW(m_temporary.c_str());
        m_temporary.clear();
    }
}

CSheetImageSave::Step CSheetImageSave::Fail(uint32_t error) {
    Cancel();
    m_error = error;
    return Step::Failed;
}

SheetImageResult SaveSheetImage(const std::wstring& path, const SheetGlyphs& glyphs, uint32_t zoom,
                                uint32_t* systemError) {
    return SaveImage(path, std::make_unique<SheetImageWriter>(glyphs, zoom), systemError);
}

SheetImageResult SaveImage(const std::wstring& path, std::unique_ptr<MonoImageWriter> writer,
                           uint32_t* systemError) {
    *systemError = 0;
    CSheetImageSave save(std::move(writer));
    if (!save.Fits())
        return SheetImageResult::TooLarge;
    CSheetImageSave::Step step =
        save.Start(path) ? CSheetImageSave::Step::Going : CSheetImageSave::Step::Failed;
    while (step == CSheetImageSave::Step::Going)
        step = save.Continue(UINT32_MAX);
    if (step == CSheetImageSave::Step::Failed) {
        *systemError = save.Error();
        return SheetImageResult::WriteFailed;
    }
    return SheetImageResult::Saved;
}
