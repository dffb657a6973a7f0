// Quoted literal text in format patterns: '...' or "...", shared by the date
// and number formatters.
#pragma once

#include <string>
#include <string_view>

namespace plat {

inline bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

// Index just past the quoted text that opens at text[at] (the end when the
// closing quote is missing).
inline std::size_t SkipQuoted(std::string_view text, std::size_t at)
{
    const auto close = text.find(text[at], at + 1);
    return close == std::string_view::npos ? text.size() : close + 1;
}

// Appends the text between the quotes that open at text[at]; returns SkipQuoted.
inline std::size_t AppendQuoted(std::string_view text, std::size_t at, std::string& out)
{
    const std::size_t end = SkipQuoted(text, at);
    const std::size_t textEnd = (end > at + 1 && text[end - 1] == text[at]) ? end - 1 : end;
    out.append(text.substr(at + 1, textEnd - at - 1));
    return end;
}

} // namespace plat
