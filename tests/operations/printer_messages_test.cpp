#include "operations/printer_messages.h"

#include <gtest/gtest.h>

#include "recording_operator.h"
#include "res/resource_ids.h"

namespace {

using R = PrinterResult;
using T = PrinterTask;
constexpr auto W = MessageKind::Warning;
constexpr auto P = MessageKind::Plain;
constexpr auto I = MessageKind::Information;

TEST(PrinterMessages, EachReportShowsItsStringTableMessage) {
    const struct {
        T task;
        R result;
        unsigned id; // 0: nothing is shown
        MessageKind kind;
        MessageCaption caption;
        bool proceedSent = false; // a deletion told to go ahead
    } cases[] = {
        {T::Port, R::PortNotOpened, IDS_COM_OPEN_FAILED, W, MessageCaption::Result},
        {T::Port, R::PortStateUnreadable, IDS_COM_STATE_FAILED, W, MessageCaption::Application},
        {T::Port, R::PortSettingsRefused, IDS_COM_SETUP_FAILED, W, MessageCaption::Application},
        {T::Query, R::Done, IDS_QUERY_DONE, P, MessageCaption::Result},
        {T::Query, R::NothingRegistered, IDS_QUERY_DONE_EMPTY, P, MessageCaption::Result},
        {T::Query, R::NoAnswer, IDS_QUERY_FAILED, W, MessageCaption::Result},
        {T::Query, R::ListingDamaged, IDS_QUERY_FAILED, W, MessageCaption::Result},
        {T::Refresh, R::ListingDamaged, 0, W, MessageCaption::Result},
        {T::DeleteEntry, R::Done, IDS_DELETE_DONE, P, MessageCaption::Result},
        {T::DeleteEntry, R::NothingRegistered, IDS_DELETE_NOTHING, W, MessageCaption::Result},
        {T::DeleteEntry, R::NotPrinterAnswer, IDS_DELETE_FAILED, W, MessageCaption::Result},
        {T::DeleteEntry, R::Declined, 0, W, MessageCaption::Result},
        {T::ClearAll, R::Done, IDS_DELETE_DONE, I, MessageCaption::Result},
        {T::ClearAll, R::NothingRegistered, IDS_DELETE_NOTHING, I, MessageCaption::Result},
        {T::ClearAll, R::NoAnswer, IDS_DELETE_FAILED, W, MessageCaption::Result},
        {T::Download, R::Done, IDS_DOWNLOAD_DONE, P, MessageCaption::Result},
        {T::Download, R::AreaUnusable, IDS_AREA_NG, W, MessageCaption::Result},
        {T::Download, R::CharacterNotAcknowledged, IDS_DOWNLOAD_FAILED, W, MessageCaption::Result},
        {T::Download, R::DataMismatch, IDS_DOWNLOAD_FAILED, W, MessageCaption::Result},
        {T::Download, R::Declined, 0, W, MessageCaption::Result},
        {T::Port, R::Stopped, IDS_PRINTER_STOPPED, W, MessageCaption::Result},
        {T::Query, R::Stopped, IDS_PRINTER_STOPPED, W, MessageCaption::Result},
        {T::ClearAll, R::Stopped, IDS_DELETE_STOPPED, W, MessageCaption::Result},
        {T::DeleteEntry, R::Stopped, IDS_DELETE_STOPPED_UNKNOWN, W, MessageCaption::Result, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.task)) + "/" + std::to_string(int(c.result)));
        RecordingOperator op;
        OperatorPrinterSide side(op);
        PrinterReport report{c.task, c.result};
        report.proceedSent = c.proceedSent;
        side.Tell(report);
        if (c.id == 0) {
            EXPECT_TRUE(op.messages.empty());
            continue;
        }
        EXPECT_EQ(op.messages, (std::vector<ShownMessage>{{c.id, c.kind, c.caption}}));
    }
}

TEST(PrinterMessages, AFailureNamingItsPrinterAddsASecondLine) {
    // The printer is named where the operation found it so: any answer that
    // is no printer's, silence or a wrong acknowledgement, a port that did not
    // open.
    const struct {
        T task;
        R result;
        const char* printer;
        bool replyMissing;
        unsigned id;
        unsigned detail; // 0: the message alone
    } cases[] = {
        {T::Query, R::NotPrinterAnswer, "COM1", false, IDS_QUERY_FAILED, IDS_DETAIL_NOT_PRINTER},
        {T::Query, R::NoAnswer, "127.0.0.1:9100", false, IDS_QUERY_FAILED, IDS_DETAIL_NO_ANSWER},
        {T::Query, R::NoAnswer, "", false, IDS_QUERY_FAILED, 0},
        {T::ClearAll, R::ListingDamaged, "h:1", false, IDS_DELETE_FAILED, IDS_DETAIL_NO_ANSWER},
        {T::Download, R::NotPrinterAnswer, "h:1", false, IDS_DOWNLOAD_FAILED,
         IDS_DETAIL_NOT_PRINTER},
        {T::Download, R::CharacterNotAcknowledged, "h:1", true, IDS_DOWNLOAD_FAILED,
         IDS_DETAIL_NO_ACK},
        {T::Download, R::CharacterNotAcknowledged, "h:1", false, IDS_DOWNLOAD_FAILED,
         IDS_DETAIL_WRONG_ACK},
        {T::Download, R::CharacterNotAcknowledged, "", false, IDS_DOWNLOAD_FAILED, 0},
        {T::Download, R::AreaUnusable, "h:1", false, IDS_AREA_NG, 0},
        {T::Port, R::PortNotOpened, "COM4", false, IDS_COM_OPEN_FAILED, IDS_DETAIL_PORT_NOT_OPENED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.task)) + "/" + std::to_string(int(c.result)));
        RecordingOperator op;
        OperatorPrinterSide side(op);
        PrinterReport report{c.task, c.result, 6, c.printer};
        report.replyMissing = c.replyMissing;
        side.Tell(report);
        EXPECT_EQ(op.MessageIds(), std::vector<unsigned>{c.id});
        EXPECT_EQ(op.details, c.detail ? std::vector<unsigned>{c.detail} : std::vector<unsigned>{});
        if (c.detail) {
            EXPECT_EQ(op.subjects, std::vector<std::string>{c.printer});
        }
    }
}

TEST(PrinterMessages, OnlyTheOverwriteQuestionNamesWhatItReplaces) {
    struct Asked : RecordingOperator {
        std::vector<std::string> lines;
        bool AskYesNoAbout(unsigned id, const std::string& line) override {
            lines.push_back(line);
            return AskYesNo(id);
        }
    } op;
    OperatorPrinterSide side(op, "ID07 OLD");
    EXPECT_TRUE(side.Ask(PrinterQuestion::Overwrite));
    EXPECT_TRUE(side.Ask(PrinterQuestion::DeleteEntry));
    EXPECT_TRUE(side.Ask(PrinterQuestion::ClearAll));
    EXPECT_EQ(op.questions,
              (std::vector<unsigned>{IDS_ASK_OVERWRITE, IDS_ASK_DELETE, IDS_ASK_DELETE_ALL}));
    EXPECT_EQ(op.lines, std::vector<std::string>{"ID07 OLD"});
}

} // namespace
