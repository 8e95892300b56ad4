// Saving and reading whole files on the real file system (under Wine).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/whole_file.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the temporary path, removed with its files afterwards.
class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        char unique[MAX_PATH];
        GetTempFileNameA(base, "gkt", 0, unique);
        DeleteFileA(unique);
        m_path = unique;
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~TempFolder() {
        for (const std::string& name : Files()) {
            const std::string file = Path(name);
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileA(file.c_str()))
                RemoveDirectoryA(file.c_str());
        }
        RemoveDirectoryA(m_path.c_str());
    }
    std::string Path(const std::string& name) const { return m_path + "\\" + name; }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(Path("*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..")
                names.push_back(name);
        } while (FindNextFileA(find, &found));
        FindClose(find);
        return names;
    }

private:
    std::string m_path;
};

Bytes Pattern(size_t size, uint8_t seed) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = uint8_t(seed + i * 7 + (i >> 8));
    return bytes;
}

Bytes ReadBack(const std::string& path) {
    Bytes bytes;
    EXPECT_EQ(ReadWholeFile(path, 1u << 30, &bytes), FileReadResult::Ok) << path;
    return bytes;
}

TEST(WholeFile, SaveCreatesAndReplacesWithExactlyTheBytes) {
    TempFolder folder;
    const std::string path = folder.Path("a.kfd");
    const Bytes first = Pattern(200000, 1);
    ASSERT_TRUE(SaveFileReplacing(path, first.data(), first.size()));
    EXPECT_EQ(ReadBack(path), first);
    // A shorter save leaves no tail of the longer file.
    const Bytes second = Pattern(152, 9);
    ASSERT_TRUE(SaveFileReplacing(path, second.data(), second.size()));
    EXPECT_EQ(ReadBack(path), second);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"a.kfd"});
}

TEST(WholeFile, FailedWriteLeavesTheOldFileAndNoTemporary) {
    TempFolder folder;
    const std::string path = folder.Path("keep.kfd");
    const Bytes old = Pattern(1000, 3);
    ASSERT_TRUE(SaveFileReplacing(path, old.data(), old.size()));
    const Bytes replacement = Pattern(3 * kSaveChunkSize + 5, 4); // four writes
    for (int failing = 0; failing < 4; ++failing) {
        EXPECT_FALSE(
            SaveFileReplacingWithFault(path, replacement.data(), replacement.size(), failing))
            << "write " << failing;
        EXPECT_EQ(ReadBack(path), old) << "write " << failing;
        EXPECT_EQ(folder.Files(), std::vector<std::string>{"keep.kfd"}) << "write " << failing;
    }
}

TEST(WholeFile, ReadOnlyTargetIsRefusedAndKept) {
    TempFolder folder;
    const std::string path = folder.Path("ro.kfd");
    const Bytes old = Pattern(500, 5);
    ASSERT_TRUE(SaveFileReplacing(path, old.data(), old.size()));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const Bytes replacement = Pattern(700, 6);
    EXPECT_FALSE(SaveFileReplacing(path, replacement.data(), replacement.size()));
    EXPECT_EQ(ReadBack(path), old);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"ro.kfd"});
}

TEST(WholeFile, TargetHeldOpenByAnotherIsKept) {
    TempFolder folder;
    const std::string path = folder.Path("held.kfd");
    const Bytes old = Pattern(300, 2);
    ASSERT_TRUE(SaveFileReplacing(path, old.data(), old.size()));
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const Bytes replacement = Pattern(400, 3);
    uint32_t error = 0; // the reason survives the clean-up of the temporary
    EXPECT_FALSE(SaveFileReplacing(path, replacement.data(), replacement.size(), &error));
    EXPECT_NE(error, 0u);
    CloseHandle(held);
    EXPECT_EQ(ReadBack(path), old);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"held.kfd"});
}

TEST(WholeFile, MissingFolderOrFolderAsTargetFails) {
    TempFolder folder;
    const Bytes bytes = Pattern(10, 7);
    EXPECT_FALSE(SaveFileReplacing(folder.Path("none\\x.kfd"), bytes.data(), bytes.size()));
    ASSERT_TRUE(CreateDirectoryA(folder.Path("dir.kfd").c_str(), nullptr));
    EXPECT_FALSE(SaveFileReplacing(folder.Path("dir.kfd"), bytes.data(), bytes.size()));
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"dir.kfd"});
}

TEST(WholeFile, ReadWholeFileHonoursTheLimit) {
    TempFolder folder;
    const std::string path = folder.Path("r.bin");
    const Bytes bytes = Pattern(4096, 8);
    ASSERT_TRUE(SaveFileReplacing(path, bytes.data(), bytes.size()));
    Bytes got{1, 2, 3};
    EXPECT_EQ(ReadWholeFile(path, 4095, &got), FileReadResult::TooLarge);
    EXPECT_EQ(got, (Bytes{1, 2, 3}));
    EXPECT_EQ(ReadWholeFile(path, 4096, &got), FileReadResult::Ok);
    EXPECT_EQ(got, bytes);
    uint32_t error = 0;
    EXPECT_EQ(ReadWholeFile(folder.Path("missing"), 4096, &got, &error),
              FileReadResult::OpenFailed);
    EXPECT_EQ(error, uint32_t(ERROR_FILE_NOT_FOUND));
}

// Wide paths: names outside the code page, and folders beyond 260
// characters, where the temporary goes too.
TEST(WholeFile, WidePathsOfAnyNameAndLength) {
    TempFolder folder;
    const std::string base = folder.Path("");
    std::wstring deep(base.begin(), base.end() - 1);
    std::vector<std::wstring> made;
    while (deep.size() < 300) {
        deep += L"\\" + std::wstring(50, L'w');
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
        made.push_back(deep);
    }
    const Bytes bytes = Pattern(1000, 9);
    for (const std::wstring& path :
         {std::wstring(base.begin(), base.end()) + L"\u7d75\U0001F600.kfd",
          deep + L"\\Jos\u00e9e.kfd"}) {
        ASSERT_TRUE(SaveFileReplacing(path, bytes.data(), bytes.size())) << path.size();
        ASSERT_TRUE(SaveFileReplacing(path, bytes.data(), bytes.size())) << "replaced";
        Bytes got;
        EXPECT_EQ(ReadWholeFile(path, 4096, &got), FileReadResult::Ok);
        EXPECT_EQ(got, bytes);
        DeleteFileW((path.size() < MAX_PATH ? path : L"\\\\?\\" + path).c_str());
    }
    for (auto at = made.rbegin(); at != made.rend(); ++at)
        EXPECT_TRUE(RemoveDirectoryW((L"\\\\?\\" + *at).c_str())) << "a temporary left behind";
}

TEST(WholeFile, FileNameOfSkipsDoubleByteTrailBytes) {
    ASSERT_EQ(GetACP(), 932u) << "the test expects the Japanese code page";
    // 表 in Shift_JIS is 95 5C: its trail byte is the backslash.
    EXPECT_EQ(FileNameOf("C:\\data\\\x95\x5C.kfd"), "\x95\x5C.kfd");
    EXPECT_EQ(FileNameOf("C:\\\x95\x5C\\a.kfd"), "a.kfd");
    EXPECT_EQ(FileNameOf("b.kfd"), "b.kfd");
    EXPECT_EQ(FileNameOf("C:b.kfd"), "b.kfd");
}

} // namespace
