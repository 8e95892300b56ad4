#include <windows.h>

#include <utility>

#include "framework/code_page_text.h"
#include "framework/whole_file.h"
#include "operations/text_file_input.h"
#include "res/resource_ids.h"

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
    TextFileText read = DecodeTextFile(bytes, unicode);
    if (read.codePage) {
        const std::wstring text = FromCodePage(read.codePageBytes);
        read.text.assign(text.begin(), text.end());
    }
    // A zero before any character would empty the box: the operator is told
    // instead, and the box keeps its text.
    if (read.text.empty() && read.cutAtZero) {
        result.messageId = IDS_TEXT_FILE_STARTS_WITH_ZERO;
        return result;
    }
    switch (read.doubt) {
    case Utf16Doubt::OddLength:
        result.doubtQuestionId = IDS_TEXT_FILE_ODD_LENGTH;
        break;
    case Utf16Doubt::ReadsAsUtf8:
        result.doubtQuestionId = IDS_TEXT_FILE_READS_AS_UTF8;
        break;
    case Utf16Doubt::None:
        break;
    }
    if (read.cutAtZero)
        result.charactersBeforeZero = CharacterCount(read.text);
    result.text = std::move(read.text);
    return result;
}
