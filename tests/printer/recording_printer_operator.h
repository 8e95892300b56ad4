#pragma once
// A printer operator for tests: records what it is asked and told, answers
// every question with a scripted answer.
#include <vector>

#include "printer/printer_operator.h"

class RecordingPrinterOperator : public PrinterOperator {
public:
    explicit RecordingPrinterOperator(bool answer = true) : answer(answer) {}

    bool Ask(PrinterQuestion question) override {
        questions.push_back(question);
        return answer;
    }
    void Tell(const PrinterReport& report) override { reports.push_back(report); }

    bool answer;
    std::vector<PrinterQuestion> questions;
    std::vector<PrinterReport> reports;
};
