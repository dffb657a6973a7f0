// The regular-expression engine's parse log: one line per token the parser
// recognises, then either the error with a caret under the failing
// character or the compiled state table.
#include "widgets/pages/pgc_regex_engine.h"

#include "platform/objects/text_file.h"
#include "platform/text_encoding.h"

#include <cstdio>

namespace qel {
namespace {

std::string Quoted(std::u16string_view Text)
{
    std::string quoted(1, '"');
    quoted.append(plat::Utf16ToUtf8(Text));
    quoted.push_back('"');
    return quoted;
}

// A number right-aligned in 3 columns.
std::string Columns3(std::int32_t Value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%3d", static_cast<int>(Value));
    return text;
}

const char* ErrorLine(TPg32RegexError Error)
{
    switch (Error) {
    case recNone: return "-->no error";
    case recSuddenEnd: return "-->unexpected end of regex";
    case recMetaChar: return "-->found metacharacter in wrong place";
    case recNoCloseParen: return "-->missing close paren";
    case recExtraChars: return "-->extra chars after valid regex";
    case recTooDeep: return "-->groups nested too deeply";
    }
    return "";
}

const char* KindText(TPg32MatchType Type)
{
    switch (Type) {
    case mtNone: return "  no match";
    case mtAnyChar: return "  any char";
    case mtChar: return "    char:";
    case mtClass: return "     class";
    case mtNegClass: return " neg class";
    case mtTerminal: return "*******END";
    case mtUnused: return "        --";
    }
    return "";
}

} // namespace

void TPg32RegexEngine::OpenLog()
{
    FLog = std::make_unique<plat::TTextFileWriter>(FLogFile.empty() ? std::string("Parse.log") : FLogFile);
    LogLine("Parsing regex: " + Quoted(FRegexStr));
}

void TPg32RegexEngine::CloseLog()
{
    if (FLog) {
        FLog->Close();
        FLog.reset();
    }
}

void TPg32RegexEngine::LogLine(std::string_view aLine)
{
    if (FLog) {
        FLog->WriteLine(std::string(aLine));
    }
}

void TPg32RegexEngine::LogChar(std::string_view aPrefix, char16_t aChar)
{
    if (FLog) {
        LogLine(std::string(aPrefix) + Quoted(std::u16string_view(&aChar, 1)));
    }
}

void TPg32RegexEngine::LogParseError(std::int32_t aErrorPos)
{
    if (!FLog) {
        return;
    }
    LogLine("***parse error found at " + std::to_string(aErrorPos));
    LogLine(ErrorLine(FErrorCode));
    LogLine(Quoted(FRegexStr));
    // The opening quote takes the first column, so the caret in a field one
    // wider than the position stands under the failing character.
    LogLine(std::string(static_cast<std::size_t>(aErrorPos), ' ') + "^");
}

void TPg32RegexEngine::LogTable()
{
    if (!FLog) {
        return;
    }
    LogLine("");
    LogLine("Transition table dump for " + Quoted(FRegexStr));
    if (FAnchorStart) {
        LogLine("anchored at start of string");
    }
    if (FAnchorEnd) {
        LogLine("anchored at end of string");
    }
    LogLine("start state: " + Columns3(FStartState));
    for (std::size_t s = 0; s < FTable.size(); ++s) {
        LogLine(StateDumpLine(static_cast<std::int32_t>(s)));
    }
}

std::string TPg32RegexEngine::StateDumpLine(std::int32_t aState) const
{
    const TPg32RegexState& state = FTable[static_cast<std::size_t>(aState)];
    std::string line = Columns3(aState) + KindText(state.MatchType);
    if (state.MatchType == mtChar) {
        line += plat::Utf16ToUtf8(std::u16string_view(&state.MatchChar, 1));
    }
    // After compilation every state but the terminal and the retired ones
    // has its successor set.
    if (state.NextList) {
        line += " next:";
        for (const std::int32_t next : state.NextList->Items()) {
            line.push_back(' ');
            line += std::to_string(next);
        }
    }
    return line;
}

} // namespace qel
