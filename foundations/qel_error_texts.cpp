// The texts of error codes, from the program texts of the language table.
#include "foundations/qel_error.h"

#include "foundations/language_table.h"
#include "platform/resource_strings.h"

#include <algorithm>
#include <array>

namespace qel {
namespace {

struct TErrorText {
    std::int32_t Code;
    plat::PResString Text;
};

// Sorted by code.
const std::array<TErrorText, 26> ErrorTexts = {{
    {2, &SErrOpenPort},
    {3, &SErrUserAbort},
    {4, &SErrUnknownCommand},
    {5, &SErrSerialReadWrite},
    {6, &SErrNoModules},
    {7, &SErrRecordActive},
    {8, &SErrRecordStarted},
    {9, &SErrNotInitialised},
    {10, &SErrUnknownFunction},
    {11, &SErrNoBaseModule},
    {12, &SErrNoAnswer},
    {13, &SErrWrongParameters},
    {14, &SErrUnknownException},
    {15, &SErrQelException},
    {20, &SErrNoRecords},
    {21, &SErrUserAbort},
    {22, &SErrConfigurationMode},
    {30, &SErrUnknownVersion},
    {31, &SErrWrongPassword},
    {32, &SErrNoValveTester},
    {41, &SErrFormatting},
    {42, &SErrOtherSerialNo},
    {43, &SErrOtherStructure},
    {105, &SErrModuleActive},
    {1001, &SErrSensorChange},
    {1002, &SErrRecordingNotStarted},
}};

// Line break of the fall-back text: line feed, then carriage return.
constexpr const char* FATAL_BREAK = "\n\r";

// The fall-back text with Code in place of its "%d".
std::string FatalText(std::int32_t Code)
{
    std::string text = plat::LoadResString(&SErrFatal);
    const std::size_t mark = text.find("%d");
    if (mark != std::string::npos) {
        text.replace(mark, 2, std::to_string(Code));
    }
    return text;
}

} // namespace

std::string GetExceptionStr(std::int32_t Code, const std::string& Msg)
{
    const auto row = std::lower_bound(ErrorTexts.begin(), ErrorTexts.end(), Code,
                                      [](const TErrorText& r, std::int32_t code) { return r.Code < code; });
    if (row != ErrorTexts.end() && row->Code == Code) {
        return plat::LoadResString(row->Text);
    }
    return FatalText(Code) + FATAL_BREAK + Msg;
}

std::string GetExceptionStr(std::int32_t Code)
{
    return GetExceptionStr(Code, LastErrorMsg());
}

std::string GetOtherExceptionStr(const std::string& Msg)
{
    return FatalText(0) + FATAL_BREAK + FATAL_BREAK + Msg;
}

} // namespace qel
