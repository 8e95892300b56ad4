#pragma once
// The printer's side of the command protocol, driven byte by byte: it takes
// what arrives on the line and says what to send back and when. No I/O here,
// so tests run it in-process and the pty loop only moves bytes.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/vprinter/fault_plan.h"
#include "tools/vprinter/registration_memory.h"

namespace vprinter {

// Bytes to send after waiting delayMs (counted from the end of the previous piece).
struct TimedBytes {
    int delayMs = 0;
    std::vector<uint8_t> bytes;
};

class PrinterEngine {
public:
    PrinterEngine(RegistrationMemory& memory, const FaultPlan& faults);

    // Takes received bytes; appends the pieces to send to `out`.
    void Receive(const uint8_t* data, size_t size, std::vector<TimedBytes>& out);
    // The line has been quiet: drops a half-received command or download.
    void Abandon();
    // Whether a command or download is half received.
    bool Busy() const { return !pending_.empty() || mode_ != Mode::Command; }
    // The link has ended (a connection closed): the next one starts a new
    // operation with nothing half received and no question open.
    void LinkClosed();
    // Whether the fault plan wants the link broken now; asking clears it.
    bool TakeLinkDrop();

    // Notes for the log (what was understood, faults applied).
    std::function<void(const std::string&)> onNote;
    // Called after every change to the registration memory.
    std::function<void()> onChange;
    // Character k (1-based) of a download was taken; its ACK is sent when
    // this returns.
    std::function<void(int k)> onCharacter;

    int charactersReceived() const { return charactersReceived_; }

private:
    enum class Mode { Command, Header, Frames };
    enum class Context { None, Listing, DeleteOne, DeleteAll, Download };

    void DropHalfReceived(const std::string& why);
    size_t Step(const uint8_t* p, size_t n, std::vector<TimedBytes>& out);
    size_t StepCommand(const uint8_t* p, size_t n, std::vector<TimedBytes>& out);
    size_t StepHeader(const uint8_t* p, size_t n, std::vector<TimedBytes>& out);
    size_t StepFrame(const uint8_t* p, size_t n, std::vector<TimedBytes>& out);
    void HandleCommand(int which, const uint8_t* p, std::vector<TimedBytes>& out);
    void Proceed(std::vector<TimedBytes>& out);
    void Cancel(std::vector<TimedBytes>& out);
    void Commit();
    void Reply(std::vector<uint8_t> bytes, std::vector<TimedBytes>& out);
    void ShortReply(char code, std::vector<TimedBytes>& out);
    void Note(const std::string& text);

    RegistrationMemory& memory_;
    FaultPlan faults_;
    std::vector<uint8_t> pending_;
    Mode mode_ = Mode::Command;
    Context context_ = Context::None;
    int deleteId_ = -1;
    StoredFont download_;
    uint32_t downloadCount_ = 0;
    uint32_t downloadBytesPerGlyph_ = 0;
    int repliesSent_ = 0;
    int charactersReceived_ = 0;
    bool linkDrop_ = false;
};

} // namespace vprinter
