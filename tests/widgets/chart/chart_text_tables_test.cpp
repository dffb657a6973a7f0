// Tests of the built-in language tables as data: translations that keep what the
// program fills in or matches, and caption lists in the form the lookup expects.
#include "widgets/chart/chart_language.h"
#include "widgets/chart/chart_language_data.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qel {
namespace {

struct TLanguageCase {
    const char* Name;
    const TChartLanguageData& Data;
    std::size_t MessageRows;
    std::size_t SeriesNameRows;
    std::size_t ListRows;
    std::size_t MoreListRows;
    std::size_t RepeatedKeys;
    const TChartLanguageList* (*BuiltList)();
};

std::vector<TLanguageCase> Languages()
{
    return {
        {"German", ChartGermanData(), 261, 210, 845, 422, 12, &ChartGermanList},
        {"French", ChartFrenchData(), 229, 167, 589, 595, 7, &ChartFrenchList},
    };
}

// The English row of an entry.
const TChartTextRow& EnglishRow(TChartTextSlot Slot)
{
    return Slot.Table == TChartTextTable::Messages ? ChartEnglishMessageRows()[Slot.Index]
                                                   : ChartEnglishSeriesNameRows()[Slot.Index];
}

// Format conversions in order of appearance ("%s", "%d", "%.2f", "%%"); a "%" not
// followed by a conversion (as in "100 %") is plain text.
std::vector<std::string> Conversions(const std::string& Text)
{
    const auto IsDigit = [&](std::size_t At) { return At < Text.size() && Text[At] >= '0' && Text[At] <= '9'; };
    std::vector<std::string> Found;
    for (std::size_t Start = Text.find('%'); Start != std::string::npos; Start = Text.find('%', Start + 1)) {
        std::size_t At = Start + 1;
        if (At < Text.size() && Text[At] == '%') {
            Found.push_back("%%");
            Start = At;
            continue;
        }
        if (At < Text.size() && Text[At] == '-') {
            ++At;
        }
        while (IsDigit(At)) {
            ++At;
        }
        if (At < Text.size() && Text[At] == '.' && IsDigit(At + 1)) {
            for (++At; IsDigit(At); ++At) {
            }
        }
        if (At < Text.size() && std::string_view("sdfgeuxnmp").find(Text[At]) != std::string_view::npos) {
            Found.push_back(Text.substr(Start, At - Start + 1));
        }
    }
    return Found;
}

TEST(ChartTextTables, ConversionScannerFindsFormatConversionsOnly)
{
    EXPECT_EQ(Conversions("Page %d of %d"), (std::vector<std::string>{"%d", "%d"}));
    EXPECT_EQ(Conversions("%.2f %%"), (std::vector<std::string>{"%.2f", "%%"}));
    EXPECT_EQ(Conversions("##0.## % and 0 %"), std::vector<std::string>{});
    EXPECT_EQ(Conversions("Williams %R"), std::vector<std::string>{});
}

bool IsValidUtf8(const std::string& Text)
{
    for (std::size_t I = 0; I < Text.size();) {
        const auto Lead = static_cast<unsigned char>(Text[I]);
        const std::size_t Length = Lead < 0x80 ? 1 : (Lead >> 5) == 0x6 ? 2 : (Lead >> 4) == 0xE ? 3 : (Lead >> 3) == 0x1E ? 4 : 0;
        if (Length == 0 || I + Length > Text.size()) {
            return false;
        }
        for (std::size_t K = 1; K < Length; ++K) {
            if ((static_cast<unsigned char>(Text[I + K]) & 0xC0) != 0x80) {
                return false;
            }
        }
        I += Length;
    }
    return true;
}

// Head and Tail with a visible mark for the joining piece.
std::string FullText(const TChartTextRow& Row)
{
    return Row.Join == TChartJoin::None ? Row.Head : std::string(Row.Head) + "<join>" + Row.Tail;
}

TEST(ChartTextTables, TranslationsAssignEachEntryOnceInTheirCounts)
{
    for (const TLanguageCase& Language : Languages()) {
        std::set<std::pair<TChartTextTable, std::uint16_t>> Seen;
        std::size_t Messages = 0;
        for (const TChartTextRow& Row : Language.Data.Texts) {
            EXPECT_TRUE(Seen.insert({Row.Slot.Table, Row.Slot.Index}).second)
                << Language.Name << " assigns " << Row.Head << " twice";
            Messages += Row.Slot.Table == TChartTextTable::Messages;
        }
        EXPECT_EQ(Messages, Language.MessageRows) << Language.Name;
        EXPECT_EQ(Language.Data.Texts.size() - Messages, Language.SeriesNameRows) << Language.Name;
    }
}

TEST(ChartTextTables, TranslationsKeepConversionsFilterPatternsAndExtension)
{
    for (const TLanguageCase& Language : Languages()) {
        for (const TChartTextRow& Row : Language.Data.Texts) {
            const TChartTextRow& English = EnglishRow(Row.Slot);
            const std::string Text = FullText(Row);
            const std::string Original = FullText(English);
            EXPECT_EQ(Conversions(Text), Conversions(Original)) << Language.Name << ": " << Text;
            const auto Pipe = Original.find('|');
            if (Pipe != std::string::npos) {
                ASSERT_NE(Text.find('|'), std::string::npos) << Language.Name << ": " << Text;
                EXPECT_EQ(Text.substr(Text.find('|')), Original.substr(Pipe)) << Language.Name << ": " << Text;
            }
            EXPECT_EQ(Row.Join == TChartJoin::FileExtension, English.Join == TChartJoin::FileExtension)
                << Language.Name << ": " << Text;
            EXPECT_TRUE(IsValidUtf8(Text)) << Language.Name << ": " << Text;
            EXPECT_FALSE(std::string(Row.Head).empty()) << Language.Name;
        }
    }
}

struct TListRow {
    std::string Key;
    std::string Text;
};

std::vector<TListRow> SplitRows(std::span<const char* const> Rows)
{
    std::vector<TListRow> Split;
    for (const char* Row : Rows) {
        const std::string Line = Row;
        const auto Equals = Line.find('=');
        EXPECT_NE(Equals, std::string::npos) << Line;
        Split.push_back({Line.substr(0, Equals), Equals == std::string::npos ? "" : Line.substr(Equals + 1)});
    }
    return Split;
}

TEST(ChartTextTables, ListRowsHaveKeysTheCaptionLookupCanFind)
{
    for (const TLanguageCase& Language : Languages()) {
        EXPECT_EQ(Language.Data.ListRows.size(), Language.ListRows) << Language.Name;
        EXPECT_EQ(Language.Data.MoreListRows.size(), Language.MoreListRows) << Language.Name;
        auto Rows = SplitRows(Language.Data.ListRows);
        const auto More = SplitRows(Language.Data.MoreListRows);
        Rows.insert(Rows.end(), More.begin(), More.end());

        std::map<std::string, int> KeyCount;
        for (const TListRow& Row : Rows) {
            const std::string& Key = Row.Key;
            ++KeyCount[Key];
            EXPECT_FALSE(Key.empty()) << Language.Name;
            EXPECT_EQ(Key.find_first_of("abcdefghijklmnopqrstuvwxyz&\r\n"), std::string::npos)
                << Language.Name << ": " << Key;
            EXPECT_NE(Key.back(), ':') << Language.Name << ": " << Key;
            EXPECT_FALSE(Key.ends_with("...")) << Language.Name << ": " << Key;
            EXPECT_NE(Key.front(), ' ') << Language.Name << ": " << Key;
            EXPECT_NE(Key.back(), ' ') << Language.Name << ": " << Key;
            EXPECT_FALSE(Row.Text.empty()) << Language.Name << ": " << Key;
            EXPECT_EQ(Row.Text.find_first_of("\r\n"), std::string::npos) << Language.Name << ": " << Key;
            EXPECT_TRUE(IsValidUtf8(Row.Text)) << Language.Name << ": " << Key;
        }
        std::size_t Repeated = 0;
        for (const auto& [Key, Count] : KeyCount) {
            EXPECT_LE(Count, 2) << Language.Name << ": " << Key;
            Repeated += Count == 2;
        }
        EXPECT_EQ(Repeated, Language.RepeatedKeys) << Language.Name;
    }
}

// The text of the first row with Key, as the caption lookup finds it.
std::string FirstText(const TChartLanguageList& List, const std::string& Key)
{
    for (const std::string& Row : List) {
        if (Row.compare(0, Key.size() + 1, Key + "=") == 0) {
            return Row.substr(Key.size() + 1);
        }
    }
    return "<no row>";
}

TEST(ChartTextTables, BuiltListsHoldTheRowsInOrderAndTheKnownTranslations)
{
    InitChartTexts();
    ChartLanguageGerman();
    ChartLanguageFrench();
    for (const TLanguageCase& Language : Languages()) {
        ASSERT_NE(Language.BuiltList(), nullptr) << Language.Name;
        const TChartLanguageList& List = *Language.BuiltList();
        std::vector<std::string> Expected(Language.Data.ListRows.begin(), Language.Data.ListRows.end());
        Expected.insert(Expected.end(), Language.Data.MoreListRows.begin(), Language.Data.MoreListRows.end());
        EXPECT_EQ(List, Expected) << Language.Name;
    }

    struct Case {
        const TChartLanguageList* List;
        const char* Key;
        const char* Text;
    };
    const Case Known[] = {
        {ChartGermanList(), "GRADIENT EDITOR", "Verlaufseditor"},
        {ChartGermanList(), "GRADIENT", "Verlauf"},
        {ChartGermanList(), "DIRECTION", "Richtung"},
        {ChartGermanList(), "% BAR DEPTH", "% Säulentiefe"},
        {ChartGermanList(), "VISIBLE", "anzeigen"},
        {ChartGermanList(), "VIEW", "anzeigen"},
        {ChartFrenchList(), "GRADIENT EDITOR", "Editeur de dégradé"},
        {ChartFrenchList(), "NO", "Non"},
        {ChartFrenchList(), "PERIOD", "Période"},
    };
    for (const Case& Row : Known) {
        EXPECT_EQ(FirstText(*Row.List, Row.Key), Row.Text) << Row.Key;
    }
    FinalizeChartTexts();
}

} // namespace
} // namespace qel
