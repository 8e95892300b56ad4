#pragma once
// Command-line arguments of glyphkit-cli: a command word, then positional
// arguments and "--name value" / "--flag" options.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class CliArgs {
public:
    // flags: the option names that take no value (for instance L"bold").
    CliArgs(int argc, wchar_t** argv, const std::set<std::wstring>& flags);

    bool ok() const { return m_error.empty(); }
    const std::wstring& error() const { return m_error; }
    // The option that ended the line without its value; empty for none.
    const std::wstring& withoutValue() const { return m_withoutValue; }
    // The first option given more than once, without "--"; empty for none.
    // Its values are never chosen between: the command refuses the line.
    const std::wstring& repeated() const { return m_repeated; }
    const std::wstring& command() const { return m_command; }
    const std::vector<std::wstring>& positional() const { return m_positional; }

    bool Has(const std::wstring& name) const { return m_options.count(name) != 0; }
    std::optional<std::wstring> Value(const std::wstring& name) const;
    // Options present that are not in known; empty when all are known.
    std::wstring UnknownOption(const std::set<std::wstring>& known) const;

private:
    std::wstring m_command;
    std::vector<std::wstring> m_positional;
    std::map<std::wstring, std::wstring> m_options;
    std::wstring m_error;
    std::wstring m_withoutValue;
    std::wstring m_repeated;
};

// Parses a whole decimal number within [min, max]; nothing on failure.
std::optional<long> ParseDecimal(const std::wstring& text, long min, long max);
// Parses "START-END" with both ends decimal within [min, max].
bool ParseRange(const std::wstring& text, long min, long max, long* start, long* end);
