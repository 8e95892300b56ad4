#include "operations/result_csv.h"

namespace {

std::string Field(const std::string& text) {
    // A field with a separator, quote or line break is quoted, its quotes
    // doubled.
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string field = "\"";
    for (char c : text)
        field += c == '"' ? std::string("\"\"") : std::string(1, c);
    return field + "\"";
}

} // namespace

std::string CsvText(const std::vector<CsvRow>& rows) {
    std::string text = "\xEF\xBB\xBF";
    for (const CsvRow& row : rows) {
        for (size_t i = 0; i < row.size(); ++i)
            text += (i ? "," : "") + Field(row[i]);
        text += "\r\n";
    }
    return text;
}
