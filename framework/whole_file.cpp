#include "framework/whole_file.h"

#include <windows.h>

#include <algorithm>

#include "framework/code_page_text.h"
#include "framework/scoped_file.h"

namespace {

// Position just past the last folder separator of path. The walk goes
// character by character so that a trail byte that happens to be 0x5C ('\')
// inside a double-byte character is not taken for one.
size_t NameStart(const std::string& path) {
    const char* begin = path.c_str();
    size_t start = 0;
    for (const char* p = begin; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':')
            start = size_t(p - begin) + 1;
    }
    return start;
}

size_t NameStart(const std::wstring& path) {
    const size_t last = path.find_last_of(L"\\/:");
    return last == std::wstring::npos ? 0 : last + 1;
}

// The form of an absolute path the wide file functions take beyond 260
// characters: "\\?\C:\..." or "\\?\UNC\server\...". Short and relative
// paths stay as they are.
std::wstring LongPathForm(const std::wstring& path) {
    if (path.size() < MAX_PATH - 14 || path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    std::wstring whole = path;
    for (wchar_t& c : whole)
        if (c == L'/')
            c = L'\\';
    if (whole.size() > 2 && whole[1] == L':' && whole[2] == L'\\')
        return L"\\\\?\\" + whole;
    if (whole.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + whole.substr(2);
    return path;
}

// A new file in folder for the bytes of a save, its name in *temp (empty
// when none could be made, the system's reason then in GetLastError).
HANDLE CreateTemporary(const std::wstring& folder, std::wstring* temp) {
    unsigned n = (GetTickCount() ^ GetCurrentProcessId()) & 0xFFFF;
    for (int tries = 0; tries < 100; ++tries, ++n) {
        wchar_t name[16];
        wsprintfW(name, L"kfd%04X.tmp", n & 0xFFFF);
        HANDLE file = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            *temp = folder + name;
            return file;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    temp->clear();
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const uint8_t* data, size_t size, int failingWrite) {
    int index = 0;
    for (size_t done = 0; done < size; ++index) {
        const DWORD chunk = DWORD(std::min(size - done, kSaveChunkSize));
        DWORD written = 0;
        if (index == failingWrite) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        if (!WriteFile(file, data + done, chunk, &written, nullptr))
            return false;
        // A short write without an error is a volume that filled up.
        if (written != chunk) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        done += chunk;
    }
    return true;
}

} // namespace

namespace {

// Keeps the system's reason for a failure, taken before any clean-up can
// overwrite it.
template <class Result> Result Failed(Result result, uint32_t* systemError, DWORD error) {
    if (systemError)
        *systemError = error;
    return result;
}

FileReadResult ReadOpenFile(HANDLE handle, uint64_t maxSize, std::vector<uint8_t>* contents,
                            uint32_t* systemError) {
    if (handle == INVALID_HANDLE_VALUE)
        return Failed(FileReadResult::OpenFailed, systemError, GetLastError());
    ScopedFile file(handle);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return Failed(FileReadResult::ReadFailed, systemError, GetLastError());
    if (uint64_t(size.QuadPart) > maxSize)
        return Failed(FileReadResult::TooLarge, systemError, ERROR_SUCCESS);

    std::vector<uint8_t> bytes(size_t(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = DWORD(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr))
            return Failed(FileReadResult::ReadFailed, systemError, GetLastError());
        // The file shrank while we read it: keep what there is.
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    *contents = std::move(bytes);
    return FileReadResult::Ok;
}

} // namespace

FileReadResult ReadWholeFile(const std::string& path, uint64_t maxSize,
                             std::vector<uint8_t>* contents, uint32_t* systemError) {
    return ReadOpenFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                        maxSize, contents, systemError);
}

FileReadResult ReadWholeFile(const std::wstring& path, uint64_t maxSize,
                             std::vector<uint8_t>* contents, uint32_t* systemError) {
    return ReadOpenFile(CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                        maxSize, contents, systemError);
}

bool SaveFileReplacingWithFault(const std::wstring& wanted, const uint8_t* data, size_t size,
                                int failingWrite, uint32_t* systemError) {
    const std::wstring path = LongPathForm(wanted);
    // A read-only target is refused as creating it for writing would be;
    // a rename could otherwise replace it on some systems.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return Failed(false, systemError, ERROR_ACCESS_DENIED);

    // The temporary lives in the target's folder so that the final step is a
    // rename within one volume, never a copy that could fail half-way. Its
    // name is made here: the system's temporary names stop at 260 characters.
    std::wstring folder = path.substr(0, NameStart(path));
    if (folder.empty())
        folder = L".\\";
    std::wstring temp;
    DWORD error = ERROR_SUCCESS;
    bool saved = false;
    {
        ScopedFile file(CreateTemporary(folder, &temp));
        saved = file.ok() && WriteAll(file.Get(), data, size, failingWrite) &&
                FlushFileBuffers(file.Get()) && file.Close();
        if (!saved)
            error = GetLastError();
    }
    if (temp.empty())
        return Failed(false, systemError, error);
    if (saved && !MoveFileExW(temp.c_str(), path.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        saved = false;
        error = GetLastError();
    }
    if (saved)
        return true;
    DeleteFileW(temp.c_str());
    return Failed(false, systemError, error);
}

bool SaveFileReplacingWithFault(const std::string& path, const uint8_t* data, size_t size,
                                int failingWrite, uint32_t* systemError) {
    return SaveFileReplacingWithFault(FromCodePage(path), data, size, failingWrite, systemError);
}

bool SaveFileReplacing(const std::string& path, const uint8_t* data, size_t size,
                       uint32_t* systemError) {
    return SaveFileReplacingWithFault(path, data, size, -1, systemError);
}

bool SaveFileReplacing(const std::wstring& path, const uint8_t* data, size_t size,
                       uint32_t* systemError) {
    return SaveFileReplacingWithFault(path, data, size, -1, systemError);
}

std::string FileNameOf(const std::string& path) {
    return path.substr(NameStart(path));
}
