#include "tools/vprinter/printer_engine.h"

#include <cstdio>
#include <cstring>

#include "fontdata/byte_order.h"

namespace vprinter {

namespace {

constexpr uint8_t STX = 0x02, ETX = 0x03, ACK = 0x06, NAK = 0x15;
constexpr int kWild = -1; // an ID digit of the delete block

// The blocks the tool sends outside a download. None is a prefix of another,
// so the first one that matches completely is the command.
enum Command { kInfo, kProceed, kCancel, kDeleteEntry, kDeleteAll, kDownloadStart, kCount };
const std::vector<int> kBlocks[kCount] = {
    {0x01, 0x46, 0x47},
    {0x02, 0x30, 0x03},
    {0x02, 0x31, 0x03},
    {0x1B, 0x41, 0x1B, 0x46, 0x43, kWild, kWild, 0x1B, 0x5A},
    {0x1B, 0x41, 0x1B, 0x2A, 0x46, 0x1B, 0x5A},
    {0x02, 0x1B, 0x41, 0x1B, 0x46, 0x44},
};
const char* const kNames[kCount] = {"info request", "proceed",    "cancel",
                                    "delete entry", "delete all", "download start"};
const uint8_t kHeaderEnd[3] = {0x1B, 0x5A, 0x03};

// Whether the first min(n, block length) bytes agree with the block.
bool PrefixMatches(const std::vector<int>& block, const uint8_t* p, size_t n) {
    for (size_t i = 0; i < block.size() && i < n; ++i)
        if (block[i] != kWild && block[i] != p[i])
            return false;
    return true;
}

std::string Hex(uint8_t b) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}

} // namespace

PrinterEngine::PrinterEngine(RegistrationMemory& memory, const FaultPlan& faults)
    : memory_(memory), faults_(faults) {}

void PrinterEngine::Receive(const uint8_t* data, size_t size, std::vector<TimedBytes>& out) {
    pending_.insert(pending_.end(), data, data + size);
    size_t pos = 0;
    while (pos < pending_.size()) {
        const size_t used = Step(pending_.data() + pos, pending_.size() - pos, out);
        if (used == 0)
            break;
        pos += used;
    }
    pending_.erase(pending_.begin(), pending_.begin() + long(pos));
    // Whatever followed on a link about to break never reached the printer.
    if (linkDrop_)
        pending_.clear();
}

void PrinterEngine::Abandon() {
    DropHalfReceived("line quiet");
}

void PrinterEngine::LinkClosed() {
    DropHalfReceived("link closed");
    // A question belongs to the operation that asked it; the next link is the
    // next operation, so its Proceed must not answer this one.
    if (context_ != Context::None)
        Note("link closed: the open question is dropped");
    context_ = Context::None;
    linkDrop_ = false;
}

void PrinterEngine::DropHalfReceived(const std::string& why) {
    if (!Busy())
        return;
    Note(why + ": dropped " + std::to_string(pending_.size()) + " pending byte(s)" +
         (mode_ == Mode::Command ? "" : " and the download in progress"));
    pending_.clear();
    if (mode_ != Mode::Command)
        context_ = Context::None;
    mode_ = Mode::Command;
}

bool PrinterEngine::TakeLinkDrop() {
    const bool drop = linkDrop_;
    linkDrop_ = false;
    return drop;
}

size_t PrinterEngine::Step(const uint8_t* p, size_t n, std::vector<TimedBytes>& out) {
    switch (mode_) {
    case Mode::Header:
        return StepHeader(p, n, out);
    case Mode::Frames:
        if (p[0] != STX) {
            // A frame always begins with STX; anything else means the tool
            // gave up on the download and started a new command.
            Note("download abandoned: " + Hex(p[0]) + " where a character frame should start");
            mode_ = Mode::Command;
            context_ = Context::None;
            return StepCommand(p, n, out);
        }
        return StepFrame(p, n, out);
    case Mode::Command:
        break;
    }
    return StepCommand(p, n, out);
}

size_t PrinterEngine::StepCommand(const uint8_t* p, size_t n, std::vector<TimedBytes>& out) {
    bool partial = false;
    for (int c = 0; c < kCount; ++c) {
        if (!PrefixMatches(kBlocks[c], p, n))
            continue;
        if (n < kBlocks[c].size()) {
            partial = true;
            continue;
        }
        HandleCommand(c, p, out);
        return kBlocks[c].size();
    }
    if (partial)
        return 0;
    Note("unexpected byte " + Hex(p[0]) + " ignored");
    return 1;
}

void PrinterEngine::HandleCommand(int which, const uint8_t* p, std::vector<TimedBytes>& out) {
    Note(std::string("received ") + kNames[which]);
    switch (which) {
    case kInfo: {
        if (memory_.Empty()) {
            context_ = Context::None;
            Reply({STX, 'A', '0', '0', '0', '0', '0', '0', '0', '0', ETX}, out);
            return;
        }
        const size_t length = memory_.RecordData().size();
        char digits[16];
        std::snprintf(digits, sizeof digits, "%08zu", length);
        std::vector<uint8_t> reply{STX, 'B'};
        reply.insert(reply.end(), digits, digits + 8);
        reply.push_back(ETX);
        context_ = Context::Listing;
        Reply(reply, out);
        return;
    }
    case kProceed:
        Proceed(out);
        return;
    case kCancel:
        Cancel(out);
        return;
    case kDeleteEntry: {
        const int id = ParseIdDigits(p + 5);
        if (id < 0 || !memory_.Find(id)) {
            context_ = Context::None;
            ShortReply('A', out);
            return;
        }
        context_ = Context::DeleteOne;
        deleteId_ = id;
        ShortReply('B', out);
        return;
    }
    case kDeleteAll:
        if (memory_.Empty()) {
            context_ = Context::None;
            ShortReply('A', out);
            return;
        }
        context_ = Context::DeleteAll;
        ShortReply('B', out);
        return;
    case kDownloadStart:
        context_ = Context::None;
        mode_ = Mode::Header;
        return;
    }
}

size_t PrinterEngine::StepHeader(const uint8_t* p, size_t n, std::vector<TimedBytes>& out) {
    const size_t length = kInfoBlockSize + sizeof kHeaderEnd;
    if (n < length)
        return 0;
    mode_ = Mode::Command;
    if (std::memcmp(p + kInfoBlockSize, kHeaderEnd, sizeof kHeaderEnd) != 0) {
        Note("download header without its end block: ignored");
        return length;
    }
    download_ = StoredFont{};
    std::memcpy(download_.info.data(), p, kInfoBlockSize);
    downloadCount_ = ReadBE32(p + 60);
    downloadBytesPerGlyph_ = ReadBE32(p + 56);
    const int id = download_.Id();
    const uint64_t use = MemoryUseOf(downloadCount_, downloadBytesPerGlyph_);
    Note("download header: ID " + std::to_string(id) + ", " + std::to_string(downloadCount_) +
         " characters of " + std::to_string(downloadBytesPerGlyph_) + " bytes, " +
         std::to_string(use) + " bytes of " + std::to_string(kMemoryCapacity - memory_.Used()) +
         " free");
    // A glyph larger than 64 KB is no cell any model can print.
    if (id < 0 || downloadCount_ > kMaxCharacters || downloadBytesPerGlyph_ > 0xFFFF ||
        !memory_.Fits(use, id)) {
        context_ = Context::None;
        ShortReply('N', out);
        return length;
    }
    context_ = Context::Download;
    ShortReply(memory_.Find(id) ? 'B' : 'A', out);
    return length;
}

size_t PrinterEngine::StepFrame(const uint8_t* p, size_t n, std::vector<TimedBytes>& out) {
    const int k = int(download_.records.size()) + 1;
    if (k == faults_.dropLinkCharacter) {
        Note("fault: link broken during character " + std::to_string(k) + "; download dropped");
        mode_ = Mode::Command;
        context_ = Context::None;
        linkDrop_ = true;
        return 0;
    }
    const size_t length = 2 + kWireRecordSize + downloadBytesPerGlyph_;
    if (n < length)
        return 0;
    if (p[length - 1] != ETX) {
        Note("character " + std::to_string(k) + ": frame does not end in ETX; download dropped");
        mode_ = Mode::Command;
        context_ = Context::None;
        Reply({NAK}, out);
        return length;
    }
    std::array<uint8_t, kWireRecordSize> record;
    std::memcpy(record.data(), p + 1, kWireRecordSize);
    if (k == faults_.wrongAckCharacter) {
        Note("fault: character " + std::to_string(k) + " answered with " +
             Hex(faults_.wrongAckByte) + "; download dropped");
        mode_ = Mode::Command;
        context_ = Context::None;
        Reply({faults_.wrongAckByte}, out);
        return length;
    }
    download_.records.push_back(record);
    download_.glyphs.insert(download_.glyphs.end(), p + 1 + kWireRecordSize, p + length - 1);
    ++charactersReceived_;
    if (onCharacter)
        onCharacter(k);
    Reply({ACK}, out);
    if (download_.records.size() == downloadCount_)
        Commit();
    return length;
}

void PrinterEngine::Proceed(std::vector<TimedBytes>& out) {
    if (context_ == Context::None) {
        Note("proceed without a question: ignored");
        return;
    }
    const Context context = context_;
    context_ = Context::None;
    if (faults_.silentAfterProceed) {
        Note("fault: silent after proceed");
        return;
    }
    switch (context) {
    case Context::Listing: {
        std::vector<uint8_t> data{STX};
        const auto records = memory_.RecordData();
        data.insert(data.end(), records.begin(), records.end());
        data.push_back(ETX);
        Reply(data, out);
        return;
    }
    case Context::DeleteOne:
        memory_.Remove(deleteId_);
        Note("deleted ID " + std::to_string(deleteId_));
        ShortReply('E', out);
        if (onChange)
            onChange();
        return;
    case Context::DeleteAll:
        memory_.Clear();
        Note("deleted everything");
        ShortReply('E', out);
        if (onChange)
            onChange();
        return;
    case Context::Download:
        ShortReply('O', out);
        if (downloadCount_ == 0)
            Commit();
        else
            mode_ = Mode::Frames;
        return;
    case Context::None:
        return;
    }
}

void PrinterEngine::Cancel(std::vector<TimedBytes>& out) {
    if (context_ == Context::None) {
        Note("cancel without a question: ignored");
        return;
    }
    context_ = Context::None;
    ShortReply('S', out);
}

void PrinterEngine::Commit() {
    mode_ = Mode::Command;
    context_ = Context::None;
    const int id = download_.Id();
    Note("registered ID " + std::to_string(id) + " with " +
         std::to_string(download_.CharacterCount()) + " characters");
    memory_.Store(std::move(download_));
    download_ = StoredFont{};
    if (onChange)
        onChange();
}

void PrinterEngine::ShortReply(char code, std::vector<TimedBytes>& out) {
    Reply({STX, uint8_t(code), ETX}, out);
}

void PrinterEngine::Reply(std::vector<uint8_t> bytes, std::vector<TimedBytes>& out) {
    const int index = ++repliesSent_;
    if (faults_.silent) {
        Note("fault: silent");
        return;
    }
    if (index == faults_.dropReply) {
        Note("fault: reply " + std::to_string(index) + " dropped");
        return;
    }
    const bool split =
        bytes.size() >= 2 && (faults_.splitReply == -1 || faults_.splitReply == index);
    if (!split) {
        out.push_back({faults_.replyDelayMs, std::move(bytes)});
        return;
    }
    Note("fault: reply " + std::to_string(index) + " split in two");
    const size_t half = bytes.size() / 2;
    out.push_back({faults_.replyDelayMs, {bytes.begin(), bytes.begin() + long(half)}});
    out.push_back({faults_.splitDelayMs, {bytes.begin() + long(half), bytes.end()}});
}

void PrinterEngine::Note(const std::string& text) {
    if (onNote)
        onNote(text);
}

} // namespace vprinter
