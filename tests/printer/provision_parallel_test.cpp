// A provisioning plan on four in-process virtual printers at once, each port
// on its own thread as glyphkit-cli runs it. Built natively, and also under
// ThreadSanitizer (the tsan preset), which checks what the threads share:
// the progress board, the plan, the cancel flag and the held-port list.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstring>
#include <thread>

#include "printer/held_ports.h"
#include "printer/provision_run.h"
#include "tools/vprinter/printer_engine.h"

namespace {

using vprinter::FaultPlan;
using vprinter::RegistrationMemory;
using vprinter::StoredFont;

// The printer's replies arrive at once; a read finds them or fails at once,
// as on a line whose printer stays silent.
class EngineLink : public PrinterLink {
public:
    EngineLink(RegistrationMemory& memory, const FaultPlan& faults) : m_engine(memory, faults) {}
    bool WriteBlock(const uint8_t* data, size_t count) override {
        if (onWrite)
            onWrite();
        std::vector<vprinter::TimedBytes> out;
        m_engine.Receive(data, count, out);
        for (const auto& piece : out)
            m_input.insert(m_input.end(), piece.bytes.begin(), piece.bytes.end());
        return true;
    }
    bool ReadBlock(uint8_t* buffer, size_t count, unsigned) override {
        if (m_input.size() < count)
            return false;
        std::memcpy(buffer, m_input.data(), count);
        m_input.erase(m_input.begin(), m_input.begin() + long(count));
        return true;
    }
    std::function<void()> onWrite;

private:
    vprinter::PrinterEngine m_engine;
    std::vector<uint8_t> m_input;
};

constexpr size_t kPorts = 4;

struct Printers {
    std::array<RegistrationMemory, kPorts> memory;
    std::array<FaultPlan, kPorts> faults;
    std::array<std::atomic<int>, kPorts> opened{};
    std::array<std::atomic<int>, kPorts> closed{};
    std::array<std::atomic<int>, kPorts> writes{};
    int unopenable = 0;        // port number that cannot be opened, 0 for none
    int cancelAfterWrites = 0; // the first port's link sets cancel after so many writes
    std::atomic<bool>* cancel = nullptr;

    class Port : public PrinterConnection {
    public:
        Port(Printers& printers, size_t i)
            : m_printers(printers), m_index(i), m_link(printers.memory[i], printers.faults[i]) {
            m_link.onWrite = [this] {
                ++m_printers.writes[m_index];
                if (m_index == 0 && ++m_writes == m_printers.cancelAfterWrites)
                    *m_printers.cancel = true;
            };
        }
        ~Port() override { ++m_printers.closed[m_index]; }
        PrinterLink& Link() override { return m_link; }

    private:
        Printers& m_printers;
        size_t m_index;
        EngineLink m_link;
        int m_writes = 0;
    };

    PortOpener Opener() {
        return [this](size_t i) {
            OpenedPrinter printer;
            printer.problem = {PrinterTask::Port, PrinterResult::PortNotOpened};
            if (int(i + 1) == unopenable)
                return printer;
            ++opened[i];
            printer.connection = std::make_unique<Port>(*this, i);
            return printer;
        };
    }
};

// A registration of n characters of 4 bytes each (a 16 x 2 cell).
PlannedRegistration Planned(int id, uint32_t n) {
    PlannedRegistration r;
    r.line = {id + 1, id, "font" + std::to_string(id) + ".kfd"};
    FontHeader h;
    h.bytes[0] = uint8_t('0' + id / 10);
    h.bytes[1] = uint8_t('0' + id % 10);
    std::memcpy(h.bytes.data() + FontHeader::kRegName, "PLAN", 4);
    h.SetWord(FontHeader::kCellWidth, 16);
    h.SetWord(FontHeader::kCellHeight, 2);
    h.SetDWord(FontHeader::kBytesPerGlyph, 4);
    h.SetDWord(FontHeader::kCharCount, n);
    std::vector<GlyphRecord> records;
    for (uint32_t i = 0; i < n; ++i)
        records.push_back({uint16_t(0x41 + i), 0, 16, 2});
    r.record.SetDownloadData(h, records, 4);
    r.record.BuildInfoBlock();
    r.glyphs.assign(4 * n, 0x11);
    return r;
}

vprinter::StoredFont OtherFont(int id) {
    return vprinter::MakeLogo(id, "OTHER", 16, 16);
}

using Arrange = void (*)(Printers&);

TEST(ProvisionParallel, FourPortsAtOnce) {
    // outcomes: one letter a port, o ok, F failed (with failure and message), c cancelled.
    const struct {
        const char* outcomes;
        ProvisionOptions options;
        Arrange arrange;
        bool cancelAtStart;
        PortFailure failure;
        PrinterReport report;
    } cases[] = {
        {"oooo", {}, [](Printers&) {}, false, PortFailure::None, {}},
        {"ooFo",
         {},
         [](Printers& p) { p.faults[2].silent = true; },
         false,
         PortFailure::Report,
         {PrinterTask::Download, PrinterResult::NoAnswer}},
        {"oooF",
         {},
         [](Printers& p) { p.unopenable = 4; },
         false,
         PortFailure::Report,
         {PrinterTask::Port, PrinterResult::PortNotOpened}},
        {"oFoo",
         {},
         [](Printers& p) { p.memory[1].Store(OtherFont(1)); },
         false,
         PortFailure::OverwriteRefused,
         {}},
        {"oooo",
         {false, true},
         [](Printers& p) { p.memory[1].Store(OtherFont(1)); },
         false,
         PortFailure::None,
         {}},
        {"oooo",
         {true, false},
         [](Printers& p) { p.memory[3].Store(OtherFont(7)); },
         false,
         PortFailure::None,
         {}},
        {"cccc", {}, [](Printers&) {}, true, PortFailure::None, {}},
    };
    const std::vector<PlannedRegistration> plan{Planned(1, 30), Planned(2, 12)};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.outcomes) + (c.options.clear ? " clear" : "") +
                     (c.options.overwrite ? " overwrite" : ""));
        Printers printers;
        c.arrange(printers);
        std::atomic<bool> cancel{c.cancelAtStart};
        ProvisionBoard board({"COM1", "COM2", "COM3", "COM4"});
        int ticks = 0;
        ProvisionPorts(
            plan, c.options, printers.Opener(), board, cancel,
            [&] { ticks += int(board.Snapshot().size()); }, std::chrono::milliseconds(1));
        EXPECT_GE(ticks, 4);
        ASSERT_TRUE(board.AllFinished());
        const std::vector<PortResult> results = board.Results();
        for (size_t i = 0; i < kPorts; ++i) {
            SCOPED_TRACE("port " + std::to_string(i + 1));
            const RegistrationMemory& m = printers.memory[i];
            const char expected = c.outcomes[i];
            EXPECT_EQ(results[i].outcome, expected == 'o'   ? PortOutcome::Ok
                                          : expected == 'F' ? PortOutcome::Failed
                                                            : PortOutcome::Cancelled);
            // Each port opened is closed exactly once.
            EXPECT_EQ(printers.opened[i], printers.closed[i]);
            if (expected == 'o') {
                // The printer holds the plan, and what it had unless cleared.
                ASSERT_NE(m.Find(1), nullptr);
                ASSERT_NE(m.Find(2), nullptr);
                EXPECT_EQ(m.Find(1)->CharacterCount(), 30u);
                EXPECT_EQ(m.Find(2)->CharacterCount(), 12u);
                EXPECT_EQ(results[i].listed.size(), m.Entries().size());
                EXPECT_EQ(m.Find(7), nullptr);
            } else if (expected == 'F') {
                EXPECT_EQ(results[i].failure, c.failure);
                if (c.failure == PortFailure::Report) {
                    EXPECT_EQ(results[i].report.task, c.report.task);
                    EXPECT_EQ(results[i].report.result, c.report.result);
                }
                EXPECT_EQ(m.Find(2), nullptr);
            } else {
                EXPECT_EQ(printers.opened[i], 0);
            }
        }
    }
}

// Ctrl+C while the first port is sending its characters: that port, and any
// other not done yet, ends cancelled; no port closes twice.
TEST(ProvisionParallel, CancelDuringATransferStopsThatPort) {
    for (int writes : {3, 10, 40}) {
        SCOPED_TRACE(writes);
        Printers printers;
        std::atomic<bool> cancel{false};
        printers.cancel = &cancel;
        printers.cancelAfterWrites = writes;
        ProvisionBoard board({"COM1", "COM2", "COM3", "COM4"});
        ProvisionPorts(
            {Planned(1, 30), Planned(2, 12)}, {}, printers.Opener(), board, cancel, [] {},
            std::chrono::milliseconds(1));
        const std::vector<PortResult> results = board.Results();
        EXPECT_EQ(results[0].outcome, PortOutcome::Cancelled);
        EXPECT_EQ(results[0].step, PortStep::Registering);
        EXPECT_EQ(printers.opened[0], 1);
        for (size_t i = 0; i < kPorts; ++i) {
            // A port not yet open when the run was stopped is never opened.
            EXPECT_LE(printers.opened[i], 1);
            EXPECT_EQ(printers.closed[i], printers.opened[i]);
            EXPECT_NE(results[i].outcome, PortOutcome::Failed);
            if (results[i].outcome == PortOutcome::Ok)
                EXPECT_NE(printers.memory[i].Find(2), nullptr);
        }
    }
}

// Ten printers, three at a time: the others show as waiting until a place is
// free, and never more than three are open at once.
TEST(ProvisionParallel, AtMostJobsPrintersAtOnce) {
    constexpr size_t kMany = 10;
    RegistrationMemory memory[kMany];
    std::atomic<int> open{0}, mostOpen{0}, entered{0};
    std::atomic<bool> release{false};
    std::vector<std::string> names;
    for (size_t i = 0; i < kMany; ++i)
        names.push_back("printer-" + std::to_string(i));
    class Held : public PrinterConnection {
    public:
        Held(RegistrationMemory& m, std::atomic<int>& open) : m_link(m, {}), m_open(open) {}
        ~Held() override { --m_open; }
        PrinterLink& Link() override { return m_link; }

    private:
        EngineLink m_link;
        std::atomic<int>& m_open;
    };
    // The first printers wait in their opening until the test has seen the
    // board with the others waiting.
    const PortOpener opener = [&](size_t i) {
        OpenedPrinter printer;
        const int now = ++open;
        for (int most = mostOpen; now > most && !mostOpen.compare_exchange_weak(most, now);)
            ;
        ++entered;
        while (!release)
            std::this_thread::yield();
        printer.connection = std::make_unique<Held>(memory[i], open);
        return printer;
    };
    ProvisionBoard board(names);
    std::atomic<bool> cancel{false};
    std::string seen;
    ProvisionPorts(
        {Planned(1, 30)}, {}, opener, board, cancel,
        [&] {
            if (release || entered < 3)
                return;
            for (const PortView& port : board.Snapshot())
                seen += port.step == PortStep::Waiting ? 'w' : 'o';
            release = true;
        },
        std::chrono::milliseconds(1), 3);
    EXPECT_EQ(seen, "ooowwwwwww");
    EXPECT_EQ(mostOpen, 3);
    EXPECT_EQ(open, 0);
    for (const PortResult& result : board.Results())
        EXPECT_EQ(result.outcome, PortOutcome::Ok);
    for (const RegistrationMemory& m : memory)
        EXPECT_NE(m.Find(1), nullptr);
}

// One printer at a time, Ctrl+C during the first one's transfer: the printers
// whose turn had not come end cancelled without being opened.
TEST(ProvisionParallel, CancelledBeforeTheirTurnPrintersAreNotTouched) {
    Printers printers;
    std::atomic<bool> cancel{false};
    printers.cancel = &cancel;
    printers.cancelAfterWrites = 5;
    ProvisionBoard board({"COM1", "COM2", "COM3", "COM4"});
    ProvisionPorts(
        {Planned(1, 30)}, {}, printers.Opener(), board, cancel, [] {}, std::chrono::milliseconds(1),
        1);
    const std::vector<PortResult> results = board.Results();
    EXPECT_EQ(results[0].step, PortStep::Registering);
    for (size_t i = 0; i < kPorts; ++i) {
        EXPECT_EQ(results[i].outcome, PortOutcome::Cancelled);
        EXPECT_EQ(printers.opened[i], i == 0 ? 1 : 0);
        EXPECT_EQ(printers.closed[i], printers.opened[i]);
    }
    for (size_t i = 1; i < kPorts; ++i)
        EXPECT_EQ(results[i].step, PortStep::Waiting);
}

// Converging: each printer listed first, only what its listing does not show
// as planned is sent. The printers hold, before the run: nothing; the whole
// plan; the first registration only; the first and an older second one (one
// character fewer).
TEST(ProvisionParallel, ConvergeSendsOnlyWhatIsNotThereAsPlanned) {
    const std::vector<PlannedRegistration> plan{Planned(1, 30), Planned(2, 12)};
    const std::vector<std::vector<PlannedRegistration>> before{
        {}, plan, {plan[0]}, {plan[0], Planned(2, 11)}};
    const struct {
        std::optional<bool> overwrite; // the default with converge is yes
        const char* outcomes;
        std::vector<std::vector<size_t>> kept;
    } cases[] = {
        {std::nullopt, "oooo", {{}, {0, 1}, {0}, {0}}},
        {false, "oooF", {{}, {0, 1}, {0}, {}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.outcomes);
        Printers printers;
        std::atomic<bool> cancel{false};
        for (size_t i = 0; i < kPorts; ++i) {
            EngineLink link(printers.memory[i], {});
            ProvisionBoard seeding({"seed"});
            ProvisionBoard::Port progress(seeding, 0);
            ASSERT_EQ(ProvisionPort(link, before[i], {}, progress, cancel).outcome,
                      PortOutcome::Ok);
        }
        ProvisionOptions options;
        options.converge = true;
        options.overwrite = c.overwrite.value_or(true);
        ProvisionBoard board({"COM1", "COM2", "COM3", "COM4"});
        ProvisionPorts(
            plan, options, printers.Opener(), board, cancel, [] {}, std::chrono::milliseconds(1),
            2);
        const std::vector<PortResult> results = board.Results();
        for (size_t i = 0; i < kPorts; ++i) {
            SCOPED_TRACE("port " + std::to_string(i + 1));
            EXPECT_EQ(results[i].outcome,
                      c.outcomes[i] == 'o' ? PortOutcome::Ok : PortOutcome::Failed);
            EXPECT_EQ(results[i].kept, c.kept[i]);
            const StoredFont* second = printers.memory[i].Find(2);
            ASSERT_NE(second, nullptr);
            EXPECT_EQ(second->CharacterCount(), c.outcomes[i] == 'o' ? 12u : 11u);
        }
        // Holding the plan already, the second printer was only listed: the
        // information request and the proceed for its records.
        EXPECT_EQ(printers.writes[1], 2);
        if (c.outcomes[3] == 'F')
            EXPECT_EQ(results[3].failure, PortFailure::OverwriteRefused);
    }
}

// Threads claiming the same few ports: never two holders of one port.
TEST(HeldPorts, OneHolderPerPortAcrossThreads) {
    HeldPorts held;
    std::array<std::atomic<int>, 3> holders{};
    std::atomic<int> overlaps{0};
    std::atomic<int> claims{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&, t] {
            for (int k = 0; k < 2000; ++k) {
                const int port = (t + k) % 3 + 1;
                const std::string name = "COM" + std::to_string(port);
                if (!held.Claim(name))
                    continue;
                ++claims;
                if (++holders[size_t(port - 1)] != 1)
                    ++overlaps;
                EXPECT_TRUE(held.IsHeld(name));
                --holders[size_t(port - 1)];
                held.Release(name);
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(overlaps, 0);
    EXPECT_GT(claims, 0);
    for (int port = 1; port <= 3; ++port)
        EXPECT_FALSE(held.IsHeld("COM" + std::to_string(port)));
}

} // namespace
