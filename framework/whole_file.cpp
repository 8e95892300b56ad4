#include "framework/whole_file.h"

#include <windows.h>

#include <algorithm>

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
    return ReadOpenFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                        maxSize, contents, systemError);
}

bool SaveFileReplacingWithFault(const std::string& path, const uint8_t* data, size_t size,
                                int failingWrite, uint32_t* systemError) {
    // A read-only target is refused as creating it for writing would be;
    // a rename could otherwise replace it on some systems.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return Failed(false, systemError, ERROR_ACCESS_DENIED);

    // The temporary lives in the target's folder so that the final step is a
    // rename within one volume, never a copy that could fail half-way.
    std::string folder = path.substr(0, NameStart(path));
    if (folder.empty())
        folder = ".";
    char temp[MAX_PATH];
    if (GetTempFileNameA(folder.c_str(), "kfd", 0, temp) == 0)
        return Failed(false, systemError, GetLastError());

    bool saved = false;
    DWORD error = ERROR_SUCCESS;
    {
        ScopedFile file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        saved = file.ok() && WriteAll(file.Get(), data, size, failingWrite) &&
                FlushFileBuffers(file.Get()) && file.Close();
        if (!saved)
            error = GetLastError();
    }
    if (saved &&
        !MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        saved = false;
        error = GetLastError();
    }
    if (saved)
        return true;
    DeleteFileA(temp);
    return Failed(false, systemError, error);
}

bool SaveFileReplacing(const std::string& path, const uint8_t* data, size_t size,
                       uint32_t* systemError) {
    return SaveFileReplacingWithFault(path, data, size, -1, systemError);
}

std::string FileNameOf(const std::string& path) {
    return path.substr(NameStart(path));
}
