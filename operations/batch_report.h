#pragma once
// What the batch provisioning window shows of each printer while a plan runs
// and after, and the result table it saves: state, step, characters and why
// a printer failed, in the window's words.
#include <string>
#include <vector>

#include "operations/result_csv.h"
#include "printer/provision_board.h"

struct PrinterLine {
    std::wstring state;      // 待機中, 登録中, 完了, 失敗, ...
    std::wstring step;       // which registration, while registering
    std::wstring characters; // "k/n" of that registration
    std::wstring message;    // why it failed, or what it kept
};

// result: the printer's result once it has finished, else null.
PrinterLine DescribePrinter(const PortView& view, const PortResult* result,
                            const std::vector<PlannedRegistration>& plan);

// Why the printer did not succeed, on one line; empty when it did.
std::wstring WhyNotDone(const PortResult& result, const std::vector<PlannedRegistration>& plan);

// The result table in the window's words and columns: a header row, then per
// printer its name as given, the address reached, its state, step,
// characters and message as its line shows them, whether it was changed,
// the IDs stored and kept, the memory in use.
std::vector<CsvRow> ResultRows(const std::vector<std::wstring>& printers,
                               const std::vector<PortView>& views,
                               const std::vector<PortResult>& results,
                               const std::vector<PlannedRegistration>& plan);
