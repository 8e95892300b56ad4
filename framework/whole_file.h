#pragma once
// Whole files on Windows: read one in one go, save one so that a failure
// leaves the old file as it was. Wide paths reach any name and go beyond 260
// characters; ANSI paths are those of the code page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class FileReadResult { Ok, OpenFailed, TooLarge, ReadFailed };

// Reads the whole file at path when it holds at most maxSize bytes. When
// opening or reading fails, systemError (if given) receives the system's
// error code; a file that is too large has none (0).
FileReadResult ReadWholeFile(const std::string& path, uint64_t maxSize,
                             std::vector<uint8_t>* contents, uint32_t* systemError = nullptr);
FileReadResult ReadWholeFile(const std::wstring& path, uint64_t maxSize,
                             std::vector<uint8_t>* contents, uint32_t* systemError = nullptr);

// Writes data to path. The bytes go to a temporary file in the same folder
// that then replaces the target, so a failure at any point (full disk, write
// error, read-only or locked target) leaves an existing file as it was and
// no temporary behind. Returns false on failure, with the system's error
// code of the step that failed in systemError (if given).
bool SaveFileReplacing(const std::string& path, const uint8_t* data, size_t size,
                       uint32_t* systemError = nullptr);
bool SaveFileReplacing(const std::wstring& path, const uint8_t* data, size_t size,
                       uint32_t* systemError = nullptr);
// The same with the write of chunk failingWrite (counted from 0, chunks of
// kSaveChunkSize bytes) failing as on a full disk; for tests.
constexpr size_t kSaveChunkSize = 64 * 1024;
bool SaveFileReplacingWithFault(const std::string& path, const uint8_t* data, size_t size,
                                int failingWrite, uint32_t* systemError = nullptr);
bool SaveFileReplacingWithFault(const std::wstring& path, const uint8_t* data, size_t size,
                                int failingWrite, uint32_t* systemError = nullptr);

// The name and extension of path without its folder. Double-byte aware: a
// Shift_JIS trail byte 0x5C is not a separator.
std::string FileNameOf(const std::string& path);
