#include "tools/cli/cli_args.h"

#include <algorithm>
#include <cwchar>

#include "framework/decimal_number.h"

CliArgs::CliArgs(int argc, wchar_t** argv, const std::set<std::wstring>& flags) {
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        if (arg.size() > 2 && arg.compare(0, 2, L"--") == 0) {
            std::wstring name = arg.substr(2);
            if (m_options.count(name) && m_repeated.empty())
                m_repeated = name;
            if (flags.count(name)) {
                m_options[name] = L"";
            } else if (i + 1 < argc) {
                m_options.emplace(name, argv[++i]);
            } else {
                m_error = L"option --" + name + L" needs a value";
                m_withoutValue = name;
                return;
            }
        } else if (m_command.empty()) {
            m_command = arg;
        } else {
            m_positional.push_back(arg);
        }
    }
    if (m_command.empty())
        m_error = L"no command given";
}

std::optional<std::wstring> CliArgs::Value(const std::wstring& name) const {
    auto it = m_options.find(name);
    if (it == m_options.end())
        return std::nullopt;
    return it->second;
}

std::wstring CliArgs::UnknownOption(const std::set<std::wstring>& known) const {
    for (const auto& option : m_options)
        if (!known.count(option.first))
            return option.first;
    return L"";
}

std::optional<long> ParseDecimal(const std::wstring& text, long min, long max) {
    // Anything but ASCII is no digit of an option's number.
    if (text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 128; }))
        return std::nullopt;
    const std::optional<int64_t> value =
        DecimalIn(std::string(text.begin(), text.end()), {min, max});
    return value ? std::optional<long>(long(*value)) : std::nullopt;
}

bool ParseRange(const std::wstring& text, long min, long max, long* start, long* end) {
    const size_t dash = text.find(L'-');
    if (dash == std::wstring::npos)
        return false;
    auto first = ParseDecimal(text.substr(0, dash), min, max);
    auto last = ParseDecimal(text.substr(dash + 1), min, max);
    if (!first || !last)
        return false;
    *start = *first;
    *end = *last;
    return true;
}
