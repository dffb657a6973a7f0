// Tests of the chart texts at start-up and of the three language setters.
#include "chart_text_fixture.h"

#include "widgets/chart/chart_language_data.h"

#include <algorithm>
#include <set>

namespace qel {
namespace {

using Msg = TChartMessage;
using Name = TChartSeriesName;

struct TQuotedText {
    TChartTextSlot Slot;
    const char* Text;
};

// English texts that other chart modules and callers rely on.
const TQuotedText EnglishTexts[] = {
    {Msg::AxisMinAboveMax, "Axis Minimum Value must be <= Maximum"},
    {Msg::OfFormat, "%s of %s"},
    {Msg::OfTwoLines, "%s\rof %s"},
    {Msg::PercentPattern, "##0.## %"},
    {Msg::ValuePattern, "#,##0.###"},
    {Msg::AxisTitle, "Axis Title"},
    {Msg::Line, "Line"},
    {Msg::Bar, "Bar"},
    {Msg::HorizBar, "Horizontal\rBar"},
    {Msg::HorizLine, "Horizontal\rLine"},
    {Msg::HorizArea, "Horizontal\rArea"},
    {Msg::DefaultFontName, "Arial"},
    {Msg::DefaultFontSize, "8"},
    {Msg::XmlFilter, "XML files (*.xml)|*.xml"},
    {Msg::Front3D, "3D Front"},
    {Msg::OptionsEllipsis, "&Options..."},
    {Msg::InvalidChartFile, "Invalid Chart in *.cht file"},
    {Msg::WrongFileFormat, "Wrong *.cht file format"},
    {Msg::EmptyChartFile, "Empty *.cht file"},
    // Filter display names and editor captions
    {Msg::Blur, "Blur"},
    {Msg::Sharpen, "Sharpen"},
    {Msg::Emboss, "Emboss"},
    {Msg::Antialias, "Anti-Alias"},
    {Msg::Resize, "Resize"},
    {Msg::Crop, "Crop"},
    {Msg::Invert, "Invert"},
    {Msg::GrayScale, "Gray scale"},
    {Msg::Mosaic, "Mosaic"},
    {Msg::Flip, "Flip"},
    {Msg::Reverse, "Reverse"},
    {Msg::Brightness, "Brightness"},
    {Msg::Contrast, "Contrast"},
    {Msg::Color, "Color"},
    {Msg::ColorReplacer, "Color Replacer"},
    {Msg::HueLumSat, "Hue,Lum,Sat"},
    {Msg::GammaCorrection, "Gamma correction"},
    {Msg::Rotate, "Rotate"},
    {Msg::Mirror, "Mirror"},
    {Msg::Tile, "Tile"},
    {Msg::Bevel, "Bevel"},
    {Msg::Equalize, "Equalize"},
    {Msg::Zoom, "Zoom"},
    {Msg::Sobel, "Sobel"},
    {Msg::Sepia, "Sepia"},
    {Msg::Width, "Width"},
    {Msg::Height, "Height"},
    {Msg::Left, "Left"},
    {Msg::Top, "Top"},
    {Msg::Smooth, "Smooth"},
    {Msg::FilterPercent, "Percent"},
    {Msg::FilterBack, "Back"},
    {Msg::FilterAutosize, "Autosize"},
    {Msg::FilterColumns, "Columns"},
    {Msg::FilterRows, "Rows"},
    // Series names
    {Name::Polar, "Polar"},
    {Name::Candle, "Candle"},
    {Name::MovingAverage, "Moving\rAverage"},
    {Name::WebPFiles, "WebP files|*.webp"},
};

void ExpectTexts(std::span<const TQuotedText> Expected, const char* Language)
{
    for (const TQuotedText& Quoted : Expected) {
        const std::string& Text = Quoted.Slot.Table == TChartTextTable::Messages
            ? ChartMessages.at(Quoted.Slot.Index)
            : ChartSeriesNames.at(Quoted.Slot.Index);
        EXPECT_EQ(Text, Quoted.Text) << Language << ", expected " << Quoted.Text;
    }
}

TEST_F(ChartTextTest, StartUpHoldsEnglishAndNoList)
{
    ExpectTexts(EnglishTexts, "start-up");
    EXPECT_EQ(ChartLanguageList, nullptr);
    EXPECT_EQ(ChartLineBreak, "\r");
    EXPECT_EQ(ChartFileExtension, "cht");
    EXPECT_FALSE(ChartHotkeyInParentheses);
    EXPECT_TRUE(ChartLanguageSetterFlag);
    EXPECT_EQ(ChartGermanList(), nullptr);
    EXPECT_EQ(ChartFrenchList(), nullptr);
    for (const std::string& Text : Snapshot()) {
        EXPECT_FALSE(Text.empty());
    }
}

TEST_F(ChartTextTest, EveryEntryReadsItsRowThroughItsId)
{
    // An English row missing, doubled or out of order leaves an entry wrong here.
    const auto Messages = ChartEnglishMessageRows();
    ASSERT_EQ(Messages.size(), ChartMessageCount);
    for (std::size_t I = 0; I < Messages.size(); ++I) {
        ASSERT_EQ(Messages[I].Slot.Table, TChartTextTable::Messages);
        ASSERT_EQ(Messages[I].Slot.Index, I) << Messages[I].Head;
    }
    const auto Names = ChartEnglishSeriesNameRows();
    ASSERT_EQ(Names.size(), ChartSeriesNameCount + 1);
    for (std::size_t I = 0; I < ChartSeriesNameCount; ++I) {
        ASSERT_EQ(Names[I].Slot.Table, TChartTextTable::SeriesNames);
        ASSERT_EQ(Names[I].Slot.Index, I) << Names[I].Head;
        EXPECT_EQ(ChartText(static_cast<Name>(I)), ComposeChartText(Names[I]));
    }
    EXPECT_EQ(ChartText(Msg::Antialias), "Anti-Alias");
}

TEST_F(ChartTextTest, CompositeEntriesUseThePiecesOfTheMomentOfAssignment)
{
    ChartLineBreak = "<br>";
    ChartFileExtension = "xyz";
    EXPECT_EQ(ChartText(Msg::InvalidChartFile), "Invalid Chart in *.cht file") << "not before assignment";

    ChartLanguageEnglish();
    EXPECT_EQ(ChartText(Msg::InvalidChartFile), "Invalid Chart in *.xyz file");
    EXPECT_EQ(ChartText(Msg::WrongFileFormat), "Wrong *.xyz file format");
    EXPECT_EQ(ChartText(Msg::EmptyChartFile), "Empty *.xyz file");
    EXPECT_EQ(ChartText(Msg::HorizBar), "Horizontal<br>Bar");
    EXPECT_EQ(ChartText(Msg::SeriesChangeWarning), "Changing the series type may<br>lose some of its settings.");

    const auto CountContaining = [](const auto& Texts, const std::string& Piece) {
        return std::count_if(Texts.begin(), Texts.end(),
                             [&](const std::string& Text) { return Text.find(Piece) != std::string::npos; });
    };
    EXPECT_EQ(CountContaining(ChartMessages, "<br>"), 5);
    EXPECT_EQ(CountContaining(ChartSeriesNames, "<br>"), 28);
    EXPECT_EQ(CountContaining(ChartMessages, "xyz"), 3);

    ChartLanguageGerman();
    EXPECT_EQ(ChartText(Msg::InvalidChartFile), "Ungültiges Diagramm in *.xyz-Datei");
    EXPECT_EQ(ChartText(Name::MovingAverage), "Gleitender<br>Durchschnitt");
}

const TQuotedText GermanTexts[] = {
    {Msg::AxisTitle, "Achs-Titel"},
    {Msg::Bar, "Säule"},
    {Msg::HorizBar, "Balken"},
    {Msg::OptionsEllipsis, "&Optionen..."},
    {Msg::PercentPattern, "##0.## %"},
    {Msg::InvalidChartFile, "Ungültiges Diagramm in *.cht-Datei"},
    {Msg::HorizLine, "Horizontale\rLinie"},
    {Msg::Front3D, "3D Front"},
    {Msg::DefaultFontName, "Arial"},
    {Msg::DefaultFontSize, "8"},
    {Msg::Antialias, "Kantenglättung"},
    {Name::MovingAverage, "Gleitender\rDurchschnitt"},
};

const TQuotedText FrenchTexts[] = {
    {Msg::AxisTitle, "Titre de l'axe"},
    {Msg::Bar, "Barre"},
    {Msg::HorizBar, "Barre\rhorizontale"},
    {Msg::InvalidChartFile, "Graphique non valide dans le fichier *.cht"},
    {Msg::Front3D, "3D Front"},
    {Msg::DefaultFontName, "Arial"},
    {Name::MovingAverage, "Moyenne\rmobile"},
};

TEST_F(ChartTextTest, GermanAfterStartUpAssignsItsEntriesAndLeavesTheRestEnglish)
{
    const auto English = Snapshot();
    ChartLanguageGerman();
    ExpectTexts(GermanTexts, "German");
    ASSERT_NE(ChartGermanList(), nullptr);
    EXPECT_EQ(ChartLanguageList, ChartGermanList());
    EXPECT_EQ(ChartLanguageList->size(), 1267u);

    const auto German = Snapshot();
    std::set<std::size_t> Assigned;
    for (const TChartTextRow& Row : ChartGermanData().Texts) {
        Assigned.insert(SnapshotIndex(Row.Slot));
        EXPECT_EQ(EntryText(Row.Slot), ComposeChartText(Row));
    }
    EXPECT_EQ(Assigned.size(), 471u);
    std::size_t KeptEnglish = 0;
    for (std::size_t I = 0; I < German.size(); ++I) {
        if (!Assigned.contains(I)) {
            EXPECT_EQ(German[I], English[I]) << "entry " << I << " is not German and must stay English";
            ++KeptEnglish;
        }
    }
    EXPECT_EQ(KeptEnglish, 333u);
}

TEST_F(ChartTextTest, FrenchAfterGermanKeepsTheGermanTextsFrenchDoesNotAssign)
{
    ChartLanguageGerman();
    const auto German = Snapshot();
    ChartLanguageFrench();
    ExpectTexts(FrenchTexts, "French");
    EXPECT_EQ(ChartText(Msg::OptionsEllipsis), "&Optionen...");
    ASSERT_NE(ChartFrenchList(), nullptr);
    EXPECT_EQ(ChartLanguageList, ChartFrenchList());
    EXPECT_EQ(ChartLanguageList->size(), 1184u);

    std::set<std::size_t> FrenchAssigned;
    for (const TChartTextRow& Row : ChartFrenchData().Texts) {
        FrenchAssigned.insert(SnapshotIndex(Row.Slot));
    }
    EXPECT_EQ(FrenchAssigned.size(), 396u);
    const auto Mixed = Snapshot();
    for (std::size_t I = 0; I < Mixed.size(); ++I) {
        if (!FrenchAssigned.contains(I)) {
            EXPECT_EQ(Mixed[I], German[I]) << "entry " << I;
        }
    }
}

TEST_F(ChartTextTest, GermanEnglishGermanReusesTheBuiltList)
{
    const auto English = Snapshot();
    ChartLanguageGerman();
    const auto German = Snapshot();
    const TChartLanguageList* FirstList = ChartGermanList();

    ChartLanguageEnglish();
    EXPECT_EQ(Snapshot(), English);
    EXPECT_EQ(ChartLanguageList, nullptr);
    EXPECT_EQ(ChartGermanList(), FirstList) << "the list lives on while English is in force";

    ChartLanguageGerman();
    EXPECT_EQ(Snapshot(), German);
    EXPECT_EQ(ChartGermanList(), FirstList);
    EXPECT_EQ(ChartLanguageList, FirstList);
    EXPECT_EQ(FirstList->size(), 1267u);
}

TEST_F(ChartTextTest, EnglishTwiceEqualsEnglishOnce)
{
    const auto English = Snapshot();
    ChartLanguageFrench();
    ChartLanguageEnglish();
    const auto Once = Snapshot();
    ChartLanguageEnglish();
    EXPECT_EQ(Snapshot(), Once);
    EXPECT_EQ(Once, English);
    EXPECT_EQ(ChartLanguageList, nullptr);
    EXPECT_NE(ChartFrenchList(), nullptr);
}

TEST_F(ChartTextTest, EverySetterSetsBothFlags)
{
    for (void (*Setter)() : {&ChartLanguageEnglish, &ChartLanguageGerman, &ChartLanguageFrench}) {
        ChartHotkeyInParentheses = true;
        ChartLanguageSetterFlag = false;
        Setter();
        EXPECT_FALSE(ChartHotkeyInParentheses);
        EXPECT_TRUE(ChartLanguageSetterFlag);
    }
}

TEST_F(ChartTextTest, SettersSwitchByLanguageIndexThroughPlainFunctionPointers)
{
    // The program's language switch holds the setters as plain function pointers
    // and calls the one of its language index: 0 German, 1 English, 2 French.
    struct Case {
        void (*Setter)();
        const char* AxisTitle;
        const TChartLanguageList* (*List)();
    };
    const Case ByIndex[] = {
        {&ChartLanguageGerman, "Achs-Titel", &ChartGermanList},
        {&ChartLanguageEnglish, "Axis Title", nullptr},
        {&ChartLanguageFrench, "Titre de l'axe", &ChartFrenchList},
    };
    for (const Case& Language : ByIndex) {
        Language.Setter();
        EXPECT_EQ(ChartText(Msg::AxisTitle), Language.AxisTitle);
        EXPECT_EQ(ChartLanguageList, Language.List ? Language.List() : nullptr) << Language.AxisTitle;
    }
}

TEST_F(ChartTextTest, ShutdownClearsTextsAndFreesListsAndStartUpRestoresEnglish)
{
    ChartLanguageGerman();
    ChartLanguageFrench();
    FinalizeChartTexts();
    EXPECT_EQ(ChartGermanList(), nullptr);
    EXPECT_EQ(ChartFrenchList(), nullptr);
    EXPECT_EQ(ChartLanguageList, nullptr);
    EXPECT_TRUE(ChartLineBreak.empty());
    EXPECT_TRUE(ChartFileExtension.empty());
    for (const std::string& Text : Snapshot()) {
        EXPECT_TRUE(Text.empty());
    }

    InitChartTexts();
    ExpectTexts(EnglishTexts, "after restart");
}

} // namespace
} // namespace qel
