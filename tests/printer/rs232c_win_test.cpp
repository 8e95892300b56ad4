#include "printer/rs232c.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "framework/message_text.h"
#include "framework/whole_file.h"
#include "operations/download_file.h"
#include "operations/printer_operation.h"
#include "printer/port_lock.h"
#include "printer/printer_port.h"
#include "recording_printer_operator.h"
#include "res/resource_ids.h"

namespace {

PrinterAddress Com(int port) {
    return PrinterAddress::Com(port);
}

// No COM port of this number is mapped in the test prefix.
constexpr int kUnmappedPort = 99;

// A scratch file in the temporary directory, removed afterwards.
struct ScratchFile {
    std::string path;
    explicit ScratchFile(const std::string& content) {
        char dir[MAX_PATH], name[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        GetTempFileNameA(dir, "GKT", 0, name);
        path = name;
        HANDLE f = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, content.data(), DWORD(content.size()), &written, nullptr);
        CloseHandle(f);
    }
    ~ScratchFile() { DeleteFileA(path.c_str()); }
    HANDLE Open(DWORD access) const {
        return CreateFileA(path.c_str(), access, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
};

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Rs232c, LineSettingsChangeOnlyTheirFieldsAndTurnSoftwareFlowControlOff) {
    DCB dcb;
    std::memset(&dcb, 0xFF, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = 9600;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.fParity = 0;
    DCB expected = dcb;
    expected.BaudRate = 115200;
    expected.fParity = 1;
    expected.fRtsControl = RTS_CONTROL_DISABLE;
    expected.ByteSize = 8;
    expected.Parity = NOPARITY;
    expected.StopBits = ONESTOPBIT;
    expected.fOutX = 0;
    expected.fInX = 0;

    ApplyLineSettings(dcb, 115200, NOPARITY, RTS_CONTROL_DISABLE);
    EXPECT_EQ(std::memcmp(&dcb, &expected, sizeof dcb), 0);
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
    EXPECT_EQ(dcb.fDtrControl, 3u); // as the driver had it
    EXPECT_EQ(dcb.fOutxCtsFlow, 1u);
    EXPECT_EQ(dcb.XonLim, 0xFFFF);
}

TEST(Rs232c, ConfigureReportsAPortWithoutState) {
    ScratchFile file("");
    HANDLE h = file.Open(GENERIC_READ | GENERIC_WRITE);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CRS232C rs;
    EXPECT_EQ(rs.Configure(h, 115200, NOPARITY, RTS_CONTROL_DISABLE), PortSetup::StateUnreadable);
    CloseHandle(h);
    EXPECT_EQ(LoadText(IDS_COM_STATE_FAILED), L"COMﾎﾟｰﾄの状態を取得できませんでした。");
}

TEST(Rs232c, ReadBlockOfNothingSucceedsWithoutReading) {
    ScratchFile file("XYZ");
    HANDLE h = file.Open(GENERIC_READ);
    CRS232C rs;
    char buffer[3] = {'-', '-', '-'};
    EXPECT_EQ(rs.ReadBlock(h, buffer, 0, 100), 1);
    EXPECT_EQ(std::string(buffer, 3), "---");
    EXPECT_EQ(rs.ReadBlock(h, buffer, 3, 100), 1);
    EXPECT_EQ(std::string(buffer, 3), "XYZ");
    CloseHandle(h);
}

TEST(Rs232c, ShortAttemptIsLostAndTheReadFails) {
    ScratchFile file("ABCDEF");
    HANDLE h = file.Open(GENERIC_READ);
    CRS232C rs;
    char buffer[4] = {};
    EXPECT_EQ(rs.ReadBlock(h, buffer, 4, 100), 1);
    EXPECT_EQ(std::string(buffer, 4), "ABCD");
    // "EF" comes in a short attempt, two empty attempts follow: failure, and
    // the two bytes are gone for good.
    EXPECT_EQ(rs.ReadBlock(h, buffer, 4, 100), 0);
    EXPECT_EQ(rs.ReadBlock(h, buffer, 1, 100), 0);
    CloseHandle(h);
}

TEST(Rs232c, WritesSucceedOnlyWithTheWholeCount) {
    ScratchFile file("");
    HANDLE h = file.Open(GENERIC_READ | GENERIC_WRITE);
    CRS232C rs;
    const uint8_t glyph[] = {0x11, 0x13, 0x11, 0x13};
    EXPECT_EQ(rs.WriteByte(h, 0x02, 1), 1);
    EXPECT_EQ(rs.WriteBlock(h, glyph, 4), 1);
    EXPECT_EQ(rs.WriteByte(h, 0x03, 2), 0); // one byte written, two expected
    CloseHandle(h);
    HANDLE readOnly = file.Open(GENERIC_READ);
    EXPECT_EQ(rs.WriteBlock(readOnly, glyph, 4), 0);
    char back[6] = {};
    DWORD got = 0;
    ReadFile(readOnly, back, 6, &got, nullptr);
    CloseHandle(readOnly);
    EXPECT_EQ(std::string(back, got), std::string("\x02\x11\x13\x11\x13\x03", 6));
}

TEST(PrinterPort, PortsThatLeadToNoSerialDeviceAreNotOpened) {
    // COM99 is not mapped; COM20 is mapped to a link under the prefix's
    // ports folder that the tests never create: the name opens, but as
    // neither a character device nor anything with a line state.
    for (int port : {kUnmappedPort, 20})
        EXPECT_FALSE(OpenPrinterPort(port).IsOpen()) << port;
    EXPECT_EQ(LoadText(IDS_COM_OPEN_FAILED), L"COMポートが開けませんでした。");
}

struct Handler : OutcomeHandler {
    std::vector<std::string> calls;
    void PortOpened() override { calls.push_back("opened"); }
    void ApplyListing(const ListingUpdate&, ExtentChange) override { calls.push_back("list"); }
    void ClosePort() override { calls.push_back("close"); }
};

TEST(PrinterPort, OperationOnAnUnmappedPortRunsNoExchange) {
    RecordingPrinterOperator messages;
    Handler handler;
    bool ran = false;
    EXPECT_FALSE(RunPrinterOperation(Com(kUnmappedPort), messages, handler, [&](PrinterLink&) {
        ran = true;
        return ExchangeOutcome{};
    }));
    EXPECT_FALSE(ran);
    EXPECT_TRUE(handler.calls.empty());
    ASSERT_EQ(messages.reports.size(), 1u);
    EXPECT_EQ(messages.reports[0].task, PrinterTask::Port);
    EXPECT_EQ(messages.reports[0].result, PrinterResult::PortNotOpened);
}

TEST(PrinterPort, HandleIsClosedExactlyOnce) {
    ScratchFile file("");
    HANDLE raw = file.Open(GENERIC_READ);
    ASSERT_NE(raw, INVALID_HANDLE_VALUE);
    DWORD flags = 0;
    {
        PortHandle first(raw);
        PortHandle owner(std::move(first));
        EXPECT_FALSE(first.IsOpen());
        EXPECT_TRUE(GetHandleInformation(raw, &flags));
        owner.Close();
        EXPECT_FALSE(owner.IsOpen());
        EXPECT_FALSE(GetHandleInformation(raw, &flags));
        // A handle the system hands out again must survive the owner's end.
        HANDLE again = file.Open(GENERIC_READ);
        owner.Close();
        EXPECT_TRUE(GetHandleInformation(again, &flags));
        CloseHandle(again);
    }
    {
        HANDLE scoped = file.Open(GENERIC_READ);
        { PortHandle owner(scoped); }
        EXPECT_FALSE(GetHandleInformation(scoped, &flags));
    }
}

TEST(PortLock, APortIsClaimedOnceUntilGivenUpOrItsHolderEnds) {
    PortLock first = PortLock::Acquire(Com(kUnmappedPort));
    ASSERT_TRUE(first.IsHeld());
    EXPECT_FALSE(PortLock::Acquire(Com(kUnmappedPort)).IsHeld());
    EXPECT_TRUE(PortLock::Acquire(Com(kUnmappedPort - 1)).IsHeld());
    PortLock moved = std::move(first);
    first.Unlock(); // a moved-from claim gives nothing up
    EXPECT_FALSE(PortLock::Acquire(Com(kUnmappedPort)).IsHeld());
    moved.Unlock();
    EXPECT_TRUE(PortLock::Acquire(Com(kUnmappedPort)).IsHeld());

    // Another holder of the port's mutex, as another program would be; once
    // it ends without giving the port up, the port is free.
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE end = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE mutex = nullptr;
    std::thread holder([&] {
        mutex = CreateMutexA(nullptr, TRUE, "Local\\Glyphkit.COM98");
        SetEvent(held);
        WaitForSingleObject(end, INFINITE);
    });
    WaitForSingleObject(held, INFINITE);
    EXPECT_FALSE(PortLock::Acquire(Com(98)).IsHeld());
    SetEvent(end);
    holder.join();
    EXPECT_TRUE(PortLock::Acquire(Com(98)).IsHeld());
    for (HANDLE h : {held, end, mutex})
        CloseHandle(h);
}

TEST(DownloadFile, TemporaryFileIsCreatedEmptyAndDeleted) {
    std::string path;
    {
        TempDownloadFile temp;
        ASSERT_TRUE(temp.Create());
        path = temp.Path();
        EXPECT_TRUE(Exists(path));
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        EXPECT_EQ(name.substr(0, 3), "VTL");
        std::vector<uint8_t> content{1};
        ASSERT_EQ(ReadWholeFile(path, 1, &content), FileReadResult::Ok);
        EXPECT_TRUE(content.empty());
    }
    EXPECT_FALSE(Exists(path));
}

CFontPT TwoGlyphRecord() {
    CFontPT record;
    FontHeader h;
    h.bytes[56] = 3;
    h.bytes[60] = 2;
    record.SetDownloadData(h, {{0x41, 0, 8, 3}, {0x42, 0, 8, 3}}, 3);
    record.BuildInfoBlock();
    return record;
}

struct NoProgress : DownloadProgress {
    void TransferStarting() override {}
    void CharacterSent(uint32_t, uint32_t) override {}
};

TEST(DownloadFile, ShortFileIsRefusedBeforeThePortIsOpened) {
    ScratchFile file("\x11\x13\x11\x13\x11"); // 5 of 6 bytes
    RecordingPrinterOperator messages;
    Handler handler;
    NoProgress observer;
    EXPECT_EQ(SendDownloadFile(file.path, TwoGlyphRecord(), Com(kUnmappedPort), messages, observer,
                               handler),
              SendResult::FileTooShort);
    // Had the port been tried, PortNotOpened would follow.
    ASSERT_EQ(messages.reports.size(), 1u);
    EXPECT_EQ(messages.reports[0].result, PrinterResult::DataMismatch);
    EXPECT_TRUE(handler.calls.empty());
}

TEST(DownloadFile, WholeFileGoesOnToThePortAndAMissingFileEndsSilently) {
    ScratchFile file(std::string("\x11\x13\x00\x13\x11\x00", 6));
    RecordingPrinterOperator messages;
    Handler handler;
    NoProgress observer;
    EXPECT_EQ(SendDownloadFile(file.path, TwoGlyphRecord(), Com(kUnmappedPort), messages, observer,
                               handler),
              SendResult::PortNotOpened);
    ASSERT_EQ(messages.reports.size(), 1u);
    EXPECT_EQ(messages.reports[0].result, PrinterResult::PortNotOpened);

    RecordingPrinterOperator none;
    EXPECT_EQ(SendDownloadFile(file.path + ".missing", TwoGlyphRecord(), Com(kUnmappedPort), none,
                               observer, handler),
              SendResult::FileUnreadable);
    EXPECT_TRUE(none.reports.empty());
}

} // namespace
