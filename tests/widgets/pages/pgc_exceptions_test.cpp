// Tests of the library's exceptions: texts and codes of each class, the
// middle classes they are caught as, and the range message per data type.
#include "widgets/pages/pgc_exceptions.h"

#include "platform/locale.h"
#include "widgets/pages/pgc_intl.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qel {
namespace {

struct TThrowCase {
    const char* name;
    std::function<void()> raise;
    std::string text;
    std::int32_t code;
    std::function<bool()> caughtAsMiddleClass; // raises again and catches as the middle class
};

template <class TMiddle>
std::function<bool()> CaughtAs(std::function<void()> raise)
{
    return [raise] {
        try {
            raise();
        } catch (const TMiddle&) {
            return true;
        } catch (...) {
        }
        return false;
    };
}

template <class E>
TThrowCase Case(const char* name, std::string text, std::int32_t code, std::function<bool()> (*middle)(std::function<void()>))
{
    std::function<void()> raise = [] { throw E(); };
    return {name, raise, std::move(text), code, middle(raise)};
}

TEST(PgcExceptions, EachClassCarriesItsTextAndCode)
{
    const std::vector<TThrowCase> cases = {
        Case<ENoTimersAvailable>("ENoTimersAvailable", "No Window's timers are available", 0, CaughtAs<EPgcException>),
        Case<EDuplicateCommand>("EDuplicateCommand", "Duplicate command found while adding a new command to the table", 0,
            CaughtAs<ECmdProcessorError>),
        Case<ETableNotFound>("ETableNotFound", "Command table not found or command table index out of range", 0,
            CaughtAs<ECmdProcessorError>),
        Case<EInvalidDataType>("EInvalidDataType", "Invalid data type for this field", 0, CaughtAs<EEntryFieldError>),
        Case<EInvalidLineOrCol>("EInvalidLineOrCol", "Invalid line or column", 0, CaughtAs<EEditorError>),
        Case<EInvalidLineOrPara>("EInvalidLineOrPara", "Invalid line or paragraph index", 0, CaughtAs<EEditorError>),
        Case<EInvalidPageIndex>("EInvalidPageIndex", "Invalid page index value", 0, CaughtAs<ENotebookError>),
        Case<EInvalidTabFont>("EInvalidTabFont", "Invalid font. Non toTop oriented tabs require a True-Type font", 0,
            CaughtAs<ENotebookError>),
        Case<EInvalidTriggerHandle>("EInvalidTriggerHandle", "Invalid trigger handle", 0, CaughtAs<ETimerPoolError>),
        Case<EInvalidFixedFont>("EInvalidFixedFont", "Invalid font assignment. Font must be a fixed font", 0,
            CaughtAs<EFixedFontError>),
        {"EInvalidRangeValue", [] { throw EInvalidRangeValue(7); },
            "Invalid range. Enter a value between (0) and (255)", 0,
            CaughtAs<EEntryFieldError>([] { throw EInvalidRangeValue(7); })},
        {"EEditorError", [] { throw EEditorError(u"Paragraph too long", 5); }, "Paragraph too long", 5,
            CaughtAs<EEditorError>([] { throw EEditorError(u"x", 5); })},
    };
    for (const TThrowCase& c : cases) {
        try {
            c.raise();
            ADD_FAILURE() << c.name << " raised nothing";
        } catch (const EPgcException& e) {
            EXPECT_EQ(std::string(e.what()), c.text) << c.name;
            EXPECT_EQ(e.ErrorCode, c.code) << c.name;
        }
        EXPECT_TRUE(c.caughtAsMiddleClass()) << c.name;
    }
}

TEST(PgcExceptions, MiddleClassesDoNotCatchEachOther)
{
    EXPECT_FALSE(CaughtAs<EEditorError>([] { throw EInvalidPageIndex(); })());
    EXPECT_FALSE(CaughtAs<ENotebookError>([] { throw EInvalidLineOrPara(); })());
    EXPECT_FALSE(CaughtAs<ECmdProcessorError>([] { throw EInvalidDataType(); })());
    EXPECT_TRUE(CaughtAs<std::exception>([] { throw ENoTimersAvailable(); })());
}

TEST(PgcExceptions, RangeMessagePerDataType)
{
    const std::vector<std::pair<int, const char*>> cases = {
        {4, "Invalid range. Enter a value between (-2147483648) and (2147483647)"},
        {5, "Invalid range. Enter a value between (0) and (65535)"},
        {6, "Invalid range. Enter a value between (-32768) and (32767)"},
        {7, "Invalid range. Enter a value between (0) and (255)"},
        {8, "Invalid range. Enter a value between (-128) and (127)"},
        {9, "Invalid range. Enter a value between (-1.7e+38) and (+1.7e+38)"},
        {10, "Invalid range. Enter a value between (-1.1e+4932) and (+1.1e+4932)"},
        {11, "Invalid range. Enter a value between (-1.7e+308) and (+1.7e+308)"},
        {12, "Invalid range. Enter a value between (-3.4e+38) and (+3.4e+38)"},
        {13, "Invalid range. Enter a value between (-9.2e+18) and (+9.2e+18)"},
        {0, "Invalid range value"},
        {1, "Invalid range value"},
        {3, "Invalid range value"},
        {16, "Invalid range value"},
        {200, "Invalid range value"},
        {255, "Invalid range value"},
    };
    for (const auto& [code, text] : cases) {
        const EInvalidRangeValue error(static_cast<std::uint8_t>(code));
        EXPECT_EQ(std::string(error.what()), text) << code;
        EXPECT_EQ(error.ErrorCode, 0) << code;
    }
}

TEST(PgcExceptions, DateAndTimeRangesQuoteTheCurrentPictures)
{
    struct TCase {
        const char* Locale;
        const char* Date;
        const char* Time;
    };
    const TCase cases[] = {
        {"en_US", "Invalid date range. Enter a value using 'MM/DD/yyyy' as the format",
            "Invalid time range. Enter a value using 'Hh:mm tt' as the format"},
        {"de_DE", "Invalid date range. Enter a value using 'dd/mm/yyyy' as the format",
            "Invalid time range. Enter a value using 'hh:mm' as the format"},
    };
    for (const TCase& c : cases) {
        const plat::TFixedLocaleProvider provider(c.Locale);
        const plat::TScopedLocaleProvider scope(provider);
        InitIntlUnit();
        EXPECT_EQ(std::string(EInvalidRangeValue(14).what()), c.Date) << c.Locale;
        EXPECT_EQ(std::string(EInvalidRangeValue(15).what()), c.Time) << c.Locale;
        EXPECT_EQ(EInvalidRangeValue(14).ErrorCode, 0);
    }
    // The pictures follow the support when it reads its locale again.
    {
        const plat::TFixedLocaleProvider provider("en_US");
        const plat::TScopedLocaleProvider scope(provider);
        DefaultIntlSup->ResetInternationalInfo();
    }
    EXPECT_EQ(std::string(EInvalidRangeValue(14).what()),
        "Invalid date range. Enter a value using 'MM/DD/yyyy' as the format");
    FinalizeIntlUnit();
    EXPECT_EQ(DefaultIntlSup, nullptr);
    EXPECT_EQ(std::string(EInvalidRangeValue(15).what()), "Invalid time range. Enter a value using '' as the format");
}

TEST(PgcExceptions, KeepsUtf16AndGivesUtf8)
{
    const EEditorError error(u"Gr\u00F6\u00DFe \u20AC", 0xFFFFFFFFu);
    EXPECT_EQ(error.Message(), u"Gr\u00F6\u00DFe \u20AC");
    EXPECT_EQ(std::string(error.what()), "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC");
    EXPECT_EQ(error.ErrorCode, -1) << "the 32-bit code is kept bit for bit";
    const EPgcException plain(u"any text");
    EXPECT_EQ(plain.ErrorCode, 0);
}

} // namespace
} // namespace qel
