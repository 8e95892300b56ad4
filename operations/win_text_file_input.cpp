#include <windows.h>

#include "framework/code_page_text.h"
#include "framework/whole_file.h"
#include "operations/text_file_input.h"
#include "res/resource_ids.h"

namespace {

std::u16string DecodeAnsiText(const std::vector<uint8_t>& bytes) {
    const std::wstring text = FromCodePage(AnsiTextBytes(bytes));
    return std::u16string(text.begin(), text.end());
}

} // namespace

TextFileResult ReadRegistrationTextFile(const std::wstring& path, bool unicode) {
    TextFileResult result;
    std::vector<uint8_t> bytes;
    switch (ReadWholeFile(path, kMaxTextFileBytes, &bytes, &result.systemError)) {
    case FileReadResult::OpenFailed:
    case FileReadResult::ReadFailed:
        return result;
    case FileReadResult::TooLarge:
        result.opened = true;
        result.messageId = IDS_TEXT_FILE_TOO_LARGE;
        return result;
    case FileReadResult::Ok:
        break;
    }
    result.opened = true;
    result.text = unicode ? DecodeUtf16Text(bytes) : DecodeAnsiText(bytes);
    return result;
}
