#pragma once
// Reading and saving whole files on Windows (paths in the ANSI code page), and
// the font data file's Load and Save on top of them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fontdata/font_data_file.h"

class CGlyphkitDoc;

enum class FileReadResult { Ok, OpenFailed, TooLarge, ReadFailed };

// Reads the whole file at path when it holds at most maxSize bytes.
FileReadResult ReadWholeFile(const std::string& path, uint64_t maxSize,
                             std::vector<uint8_t>* contents);

// Writes data to path. The bytes go to a temporary file in the same folder
// that then replaces the target, so a failure at any point (full disk, write
// error, read-only or locked target) leaves an existing file as it was and
// no temporary behind. Returns false on failure.
bool SaveFileReplacing(const std::string& path, const uint8_t* data, size_t size);
// The same with the write of chunk failingWrite (counted from 0, chunks of
// kSaveChunkSize bytes) failing as on a full disk; for tests.
constexpr size_t kSaveChunkSize = 64 * 1024;
bool SaveFileReplacingWithFault(const std::string& path, const uint8_t* data, size_t size,
                                int failingWrite);

// The name and extension of path without its folder. Double-byte aware: a
// Shift_JIS trail byte 0x5C is not a separator.
std::string FileNameOf(const std::string& path);

// Largest font data file that Load reads.
constexpr uint64_t kMaxFontDataFileSize = 256u * 1024 * 1024;

// Save's writing: 0 when written, else IDS_CREATE_FILE_FAILED.
unsigned WriteFontDataFileAt(const std::string& path, const std::vector<uint8_t>& bytes);
// Load's reading: IDS_READ_FILE_FAILED when the file cannot be read (nothing
// changed), else what LoadFontDataInto reports.
FontDataLoad ReadFontDataFileAt(const std::string& path, CGlyphkitDoc& doc);
