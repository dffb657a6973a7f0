// TPg32RegexEngine: the component library's small regular-expression
// engine. Parse compiles the expression into a table of automaton states
// (no-cost chains shortened, each state's successor set computed once);
// MatchString runs the automaton from each start position with a deque of
// pending states and answers where the first match starts.
//
// Language: characters, "." (any), classes "[...]" and "[^...]" with ranges,
// groups, "*", "+", "?", concatenation and "|"; "^" and "$" anchor the whole
// expression at its very start and end; "\" takes the next character
// literally. Positions are 1-based and count UTF-16 units.
#pragma once

#include "widgets/pages/pgc_int_deque.h"
#include "widgets/pages/pgc_int_list.h"
#include "widgets/pages/pgc_wide_char_set.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat {
class TTextFileWriter;
}

namespace qel {

enum TPg32RegexError : std::uint8_t {
    recNone,         // the expression compiled
    recSuddenEnd,    // it ended where a character, class character or atom was needed
    recMetaChar,     // a metacharacter stood where a character was needed
    recNoCloseParen, // a group lacks its ")"
    recExtraChars,   // text follows a complete expression
    recTooDeep,      // groups nested deeper than MaxGroupDepth
};

// Groups may nest this deep; deeper nesting is refused (recTooDeep) so
// that no expression can exhaust the parser's stack.
constexpr std::int32_t MaxGroupDepth = 200;

// Kinds of automaton states, by MatchType.
enum TPg32MatchType : std::uint8_t {
    mtNone,     // no cost: consumes nothing, links to its successors
    mtAnyChar,  // any character
    mtChar,     // one character (MatchChar)
    mtClass,    // a character of CharClass
    mtNegClass, // a character not in CharClass
    mtTerminal, // a match is found
    mtUnused,   // a no-cost state that compilation made unreachable
};

using TPg32UpcaseChar = char16_t (*)(char16_t);

// a .. z to A .. Z; every other character unchanged.
char16_t AsciiUpCase(char16_t C);

struct TPg32RegexState {
    std::int32_t NextState1 = -1;                 // first successor, -1 none
    std::int32_t NextState2 = -1;                 // second successor, -1 none
    std::unique_ptr<TPg32IntList> NextList;       // after compilation: the states reached from here
    std::unique_ptr<TPg32WideCharSet> CharClass;  // mtClass, mtNegClass
    TPg32MatchType MatchType = mtNone;
    char16_t MatchChar = 0;                       // mtChar
};

class TPg32RegexEngine {
public:
    // IgnoreCase on, AsciiUpCase, logging off, an empty table.
    explicit TPg32RegexEngine(std::u16string aRegexStr = {});
    ~TPg32RegexEngine();
    TPg32RegexEngine(const TPg32RegexEngine&) = delete;
    TPg32RegexEngine& operator=(const TPg32RegexEngine&) = delete;

    // Compiles RegexString. On success aErrorPos 0 and recNone; otherwise
    // the position where the parse stopped, the error, and an empty table.
    // With Logging on, the parse log is written to LogFile ("Parse.log"
    // when empty); a log that cannot be created raises plat::EInOutError.
    bool Parse(std::int32_t& aErrorPos, TPg32RegexError& aErrorCode);
    // The position in S where the first match starts, 0 for none (and for
    // an empty S). Compiles first when the table is empty; an expression
    // that does not compile raises std::runtime_error "The regex was invalid
    // at position %d".
    std::int32_t MatchString(std::u16string_view S);

    bool IgnoreCase() const { return FIgnoreCase; }
    void SetIgnoreCase(bool aValue);
    const std::u16string& RegexString() const { return FRegexStr; }
    void SetRegexString(std::u16string aValue);
    TPg32UpcaseChar Upcase() const { return FUpcase; }
    // nullptr gives AsciiUpCase. A new function clears the table too.
    void SetUpcase(TPg32UpcaseChar aValue);
    bool Logging() const { return FLogging; }
    void SetLogging(bool aValue) { FLogging = aValue; }
    const std::string& LogFile() const { return FLogFile; }
    void SetLogFile(std::string aValue) { FLogFile = std::move(aValue); }

    // The outcome of the last Parse.
    bool AnchorStart() const { return FAnchorStart; }
    bool AnchorEnd() const { return FAnchorEnd; }
    TPg32RegexError ErrorCode() const { return FErrorCode; }
    std::int32_t StartState() const { return FStartState; }
    const std::vector<TPg32RegexState>& Table() const { return FTable; }
    // The most values the deque held during the last MatchString.
    std::size_t PeakQueued() const { return FPeakQueued; }

private:
    // ---- parsing (pgc_regex_parser.cpp); each answers a state or ErrorState ----
    std::int32_t ParseAnchorExpr();
    std::int32_t ParseExpr();
    std::int32_t ParseTerm();
    std::int32_t ParseFactor();
    std::int32_t ParseAtom();
    std::int32_t ParseGroup();
    std::int32_t ParseClass();
    std::int32_t ParseChar();
    bool ParseCharRange(TPg32WideCharSet& aClass);
    bool ParseClassChar(char16_t& aChar);
    std::int32_t AddState(TPg32MatchType aType, char16_t aChar, std::unique_ptr<TPg32WideCharSet> aClass,
        std::int32_t aNext1, std::int32_t aNext2);
    void SetState(std::int32_t aState, std::int32_t aNext1, std::int32_t aNext2);
    std::int32_t Fail(TPg32RegexError aError);
    char16_t Current() const { return FPosn < FRegexStr.size() ? FRegexStr[FPosn] : u'\0'; }
    bool AtEnd() const { return FPosn >= FRegexStr.size(); }

    // ---- compiling (pgc_regex_engine.cpp) ----
    void ShortenNoCostChains();
    void BuildNextLists();
    void FlattenNextLists();
    void ClearTable();

    // ---- parse log (pgc_regex_log.cpp) ----
    void OpenLog();
    void CloseLog();
    void LogLine(std::string_view aLine);
    void LogChar(std::string_view aPrefix, char16_t aChar);
    void LogParseError(std::int32_t aErrorPos);
    void LogTable();
    std::string StateDumpLine(std::int32_t aState) const;

    // ---- matching (pgc_regex_matcher.cpp) ----
    bool MatchesFrom(std::u16string_view S, std::size_t aStart);

    bool FAnchorEnd = false;           // the expression ended with "$"
    bool FAnchorStart = false;         // the expression began with "^"
    TPg32RegexError FErrorCode = recNone;
    bool FIgnoreCase = true;           // compare after FUpcase
    std::size_t FPosn = 0;             // parse cursor, 0-based
    std::int32_t FGroupDepth = 0;      // groups open at the cursor
    std::u16string FRegexStr;
    std::int32_t FStartState = -1;
    std::vector<TPg32RegexState> FTable;
    TPg32UpcaseChar FUpcase = AsciiUpCase;
    bool FLogging = false;
    std::unique_ptr<plat::TTextFileWriter> FLog; // while a logged parse runs
    std::string FLogFile;

    // Matching scratch, built with the table: every state's successor set
    // in one array (FNextStart[s] .. FNextStart[s + 1]), the stamp of the
    // position each state was last queued for, and the deque.
    std::vector<std::int32_t> FNextFlat;
    std::vector<std::int32_t> FNextStart;
    std::vector<std::uint64_t> FQueuedFor;
    std::uint64_t FStamp = 0;
    TPg32IntDeque FDeque{64};
    std::size_t FPeakQueued = 0;
};

} // namespace qel
