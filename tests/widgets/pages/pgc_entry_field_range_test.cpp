// Entry-field values and range texts: integer bounds in every number base,
// character, floating, date and time bounds, what each text reads back as,
// the typed accessors and their refusals.
#include "tests/widgets/pages/pgc_entry_field_fixture.h"

#include "widgets/pages/pgc_exceptions.h"

#include "platform/locale.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace qel::test {
namespace {

class TEntryRangeTest : public TEntryFieldTest {
protected:
    // A field of the type whose window was made with the mask.
    TTestEntryField* FieldWithMask(std::uint8_t DataType, std::u16string_view Mask, std::uint16_t MaxLength = 15)
    {
        TTestEntryField* field = AddField(DataType);
        field->ChangePictureMask(Mask);
        field->SetMaxLength(MaxLength);
        field->RecreateWnd();
        field->HandleNeeded();
        return field;
    }
};

struct TRangeCase {
    const char* Name;
    std::uint8_t DataType;
    const char16_t* Mask;
    const char* Text;
    std::optional<std::string> ReadBack;   // nothing: the text is refused
    std::int64_t Bound = 0;                // the integer bound it gives
    bool ReadsBack = true;                 // the text read back gives the bound again
};

TEST_F(TEntryRangeTest, IntegerRangeTextsInEveryNumberBase)
{
    const TRangeCase cases[] = {
        {"long minimum", EfLongInt, u"X", "-2147483648", "-2147483648", -2147483648LL},
        {"long maximum", EfLongInt, u"X", "2147483647", "2147483647", 2147483647},
        {"long beyond 32 bits", EfLongInt, u"X", "2147483648", std::nullopt},
        {"long far beyond", EfLongInt, u"X", "-9999999999", std::nullopt},
        {"byte 255", EfByte, u"X", "255", "255", 255},
        {"byte 256", EfByte, u"X", "256", std::nullopt},
        {"byte negative", EfByte, u"X", "-1", std::nullopt},
        {"short -128", EfShortInt, u"X", "-128", "-128", -128},
        {"short -129", EfShortInt, u"X", "-129", std::nullopt},
        {"word 65535", EfWord, u"X", " 65535 ", "65535", 65535},
        {"integer -32769", EfInteger, u"X", "-32769", std::nullopt},
        {"empty is zero", EfWord, u"X", "", "0", 0},
        {"not a number", EfWord, u"X", "12a", std::nullopt},
        {"hex", EfByte, u"KK", "1F", "1F", 31},
        {"hex with marker", EfByte, u"KK", "$1F", "1F", 31},
        {"hex beyond a byte", EfByte, u"KK", "1FF", std::nullopt},
        {"hex word", EfWord, u"KKKK", "ff", "00FF", 255},
        {"hex integer pattern", EfInteger, u"KKKK", "FFFF", "FFFF", -1},
        {"hex long pattern", EfLongInt, u"KKKKKKKK", "FFFFFFFF", "FFFFFFFF", -1},
        {"binary word", EfWord, u"bbbb", "101", "0000000000000101", 5},
        {"binary sixteen ones", EfInteger, u"b", "1111111111111111", "1111111111111111", -1},
        {"binary other digit", EfWord, u"b", "102", std::nullopt},
        {"binary beyond 32 bits", EfLongInt, u"b", "100000000000000000000000000000000", std::nullopt},
        {"octal", EfByte, u"OOO", "17", "0017", 15},
        {"octal refuses 8 and 9", EfByte, u"OOO", "19", std::nullopt},
        {"octal short pattern", EfShortInt, u"OOO", "7600", "7600", -128},
        {"octal beyond 32 bits", EfLongInt, u"O", "77777777777", std::nullopt},
        // Texts are read in binary, octal, hexadecimal order and written in
        // hexadecimal, octal, binary order.
        {"octal read before hex", EfWord, u"KO", "17", "000F", 15, false},
        {"binary read before octal", EfByte, u"Ob", "101", "0005", 5, false},
        {"binary refuses octal digits", EfByte, u"Ob", "17", std::nullopt},
        {"binary read before hex", EfWord, u"bK", "11", "0003", 3, false},
    };
    for (const TRangeCase& c : cases) {
        TTestEntryField* field = FieldWithMask(c.DataType, c.Mask);
        if (!c.ReadBack) {
            EXPECT_THROW(field->SetRangeHiText(c.Text), EInvalidRangeValue) << c.Name;
            EXPECT_EQ(BoundAs<std::int64_t>(field->RangeHiBound()), 0) << c.Name << ": the bound stays";
            continue;
        }
        field->SetRangeHiText(c.Text);
        EXPECT_EQ(field->RangeHi(), *c.ReadBack) << c.Name;
        EXPECT_EQ(BoundAs<std::int64_t>(field->RangeHiBound()), c.Bound) << c.Name;
        if (c.ReadsBack) {
            field->SetRangeLoText(field->RangeHi());
            EXPECT_EQ(BoundAs<std::int64_t>(field->RangeLoBound()), c.Bound)
                << c.Name << ": the text read back gives the same bound";
        }
    }
}

TEST_F(TEntryRangeTest, CharacterRangeTexts)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "#32"},   {" ", "#32"}, {"#65", "A"},  {"#ab", "#32"}, {"Q", "Q"},
        {"#", "#32"}, {"#35", "#35"}, {"#9", "#9"}, {"xyz", "x"},
    };
    TTestEntryField* field = AddField(EfChar);
    for (const auto& [text, readBack] : cases) {
        field->SetRangeHiText(text);
        EXPECT_EQ(field->RangeHi(), readBack) << text;
        const char16_t bound = BoundAs<char16_t>(field->RangeHiBound());
        field->SetRangeHiText(field->RangeHi());
        EXPECT_EQ(BoundAs<char16_t>(field->RangeHiBound()), bound) << text << ": reads back to the same character";
    }
}

TEST_F(TEntryRangeTest, FloatingRangeTexts)
{
    TTestEntryField* narrow = FieldWithMask(EfDouble, u"X", 5);
    narrow->SetRangeHiText("123456.5");
    EXPECT_EQ(narrow->RangeHi(), "1.2E+5") << "too long for fixed form";
    narrow->SetRangeHiText(narrow->RangeHi());
    EXPECT_EQ(narrow->RangeHi(), "1.2E+5");

    const char16_t decimal = DefaultIntlSup->DecimalChar;
    DefaultIntlSup->DecimalChar = u',';
    TTestEntryField* places = FieldWithMask(EfDouble, u"999.99");
    places->SetRangeHiText("1.5");
    EXPECT_EQ(places->RangeHi(), "1,5");
    places->SetRangeLoText("-2,25");
    EXPECT_DOUBLE_EQ(Ext80AsDouble(places->RangeLoBound().rtExt), -2.25) << "the field's decimal character is read";
    EXPECT_EQ(places->RangeLo(), "-2,25");
    DefaultIntlSup->DecimalChar = decimal;

    TTestEntryField* scientific = FieldWithMask(EfDouble, u"9.99E");
    scientific->SetRangeHiText("1");
    EXPECT_EQ(scientific->RangeHi(), "1E+0") << "the exponent keeps a digit";
    scientific->SetRangeLoText(scientific->RangeHi());
    EXPECT_DOUBLE_EQ(Ext80AsDouble(scientific->RangeLoBound().rtExt), 1.0);

    TTestEntryField* real = FieldWithMask(EfReal, u"X");
    real->SetRangeHiText("2.5e3");
    EXPECT_DOUBLE_EQ(BoundAs<double>(real->RangeHiBound()), 2500.0);
    for (const char* refused : {"1.5x", "e", "1e999", "nan", "inf", "--1"}) {
        EXPECT_THROW(real->SetRangeHiText(refused), EInvalidRangeValue) << refused;
    }
    TTestEntryField* single = FieldWithMask(EfSingle, u"X");
    EXPECT_THROW(single->SetRangeHiText("3.5e38"), EInvalidRangeValue);
    TTestEntryField* comp = FieldWithMask(EfComp, u"X");
    EXPECT_THROW(comp->SetRangeLoText("-9.3e18"), EInvalidRangeValue);
}

TEST_F(TEntryRangeTest, DateAndTimeRangeTextsFollowTheDefaultPictures)
{
    TTestEntryField* date = AddField(EfDate);
    const std::u16string picture = DefaultIntlSup->InternationalDate(true);
    std::u16string text = picture;
    const auto fill = [&](std::u16string_view Letters, std::u16string_view Digits) {
        const std::size_t at = text.find(Letters);
        ASSERT_NE(at, std::u16string::npos);
        text.replace(at, Letters.size(), Digits);
    };
    fill(u"dd", u"24");
    fill(u"mm", u"12");
    fill(u"yyyy", u"2025");
    date->SetRangeHiText(plat::Utf16ToUtf8(text));
    EXPECT_EQ(BoundAs<std::int32_t>(date->RangeHiBound()), DateToDayNumber(24, 12, 2025, 0));
    EXPECT_EQ(date->RangeHi(), plat::Utf16ToUtf8(text));
    const std::string twoDigitYear = plat::Utf16ToUtf8(text.substr(0, text.size() - 2));
    EXPECT_THROW(date->SetRangeLoText(twoDigitYear), EInvalidRangeValue);
    date->SetRangeLo(TRangeType{});
    TRangeType none;
    none.rtDate = -1;
    date->SetRangeLo(none);
    EXPECT_EQ(date->RangeLo(), "") << "no date reads as empty";

    TTestEntryField* time = AddField(EfTime);
    std::u16string timeText = DefaultIntlSup->InternationalTime(false);
    timeText.replace(timeText.find(u"hh"), 2, u"13");
    timeText.replace(timeText.find(u"mm"), 2, u"45");
    time->SetRangeHiText(plat::Utf16ToUtf8(timeText));
    EXPECT_EQ(BoundAs<std::int32_t>(time->RangeHiBound()), 13 * 3600 + 45 * 60);
    EXPECT_EQ(time->RangeHi(), plat::Utf16ToUtf8(timeText));
}

TEST_F(TEntryRangeTest, BoundRecordsAreWidenedByDataType)
{
    TTestEntryField* integer = AddField(EfInteger);
    TRangeType value;
    value.rtInt = -7;
    integer->SetRangeLo(value);
    EXPECT_EQ(BoundAs<std::int64_t>(integer->RangeLoBound()), -7);
    TTestEntryField* word = AddField(EfWord);
    value.rtWord = 65000;
    word->SetRangeHi(value);
    EXPECT_EQ(BoundAs<std::int64_t>(word->RangeHiBound()), 65000);
    TTestEntryField* single = AddField(EfSingle);
    TRangeType singleValue;
    singleValue.rtSgl = 1.5f;
    single->SetRangeHi(singleValue);
    EXPECT_DOUBLE_EQ(Ext80AsDouble(single->RangeHiBound().rtExt), 1.5);
}

TEST_F(TEntryRangeTest, IntegerValuesRoundTripAndRefuseValuesOutsideTheirType)
{
    TTestEntryField* longField = AddField(EfLongInt);
    longField->SetAsString("-2147483648");
    EXPECT_EQ(longField->AsInteger(), -2147483647 - 1);
    EXPECT_EQ(longField->AsString(), "-2147483648");
    TTestEntryField* word = AddField(EfWord);
    word->SetAsInteger(65535);
    EXPECT_EQ(word->AsInteger(), 65535);
    EXPECT_THROW(word->SetAsInteger(70000), EInvalidRangeValue);
    EXPECT_EQ(word->AsInteger(), 65535) << "the value stays";
    EXPECT_THROW(word->SetAsString("70000"), EEntryFieldError);
    EXPECT_THROW(word->SetAsString("abc"), EEntryFieldError);
    TTestEntryField* shortInt = AddField(EfShortInt);
    EXPECT_THROW(shortInt->SetAsInteger(-129), EInvalidRangeValue);
    shortInt->SetAsInteger(-128);
    EXPECT_EQ(shortInt->AsInteger(), -128);
    EXPECT_DOUBLE_EQ(shortInt->AsFloat(), -128.0);
}

TEST_F(TEntryRangeTest, AccessorsOfAnotherDataTypeRaise)
{
    TTestEntryField* date = AddField(EfDate);
    EXPECT_THROW(date->AsInteger(), EInvalidDataType);
    EXPECT_THROW(date->SetAsBoolean(true), EInvalidDataType);
    EXPECT_THROW(date->AsCents(), EInvalidDataType);
    TTestEntryField* text = AddField(EfString);
    EXPECT_THROW(text->AsPgcDate(), EInvalidDataType);
    EXPECT_THROW(text->SetAsFloat(1.0), EInvalidDataType);
}

TEST_F(TEntryRangeTest, AReadWhoseValidationFailsAnswersTheErrorValue)
{
    TTestEntryField* date = AddField(EfDate);
    date->SetAsPgcDate(5000);
    EXPECT_EQ(date->AsPgcDate(), 5000);
    date->OnUserValidation = [&](plat::TObject*, std::uint16_t& Error) { Error = epeInvalidDate; };
    EXPECT_EQ(date->AsPgcDate(), -1);
    EXPECT_EQ(date->LastError(), epeInvalidDate);
    TTestEntryField* word = AddField(EfWord);
    word->TypeIn(u"99999");
    EXPECT_EQ(word->AsInteger(), 0);
    EXPECT_EQ(word->LastError(), epeInvalidValue);
}

// A date written through AsDateTime keeps the day of the date-time (a
// time field its time of day), midnight and 1899-12-30 included; only the
// day number of 1899-12-29 stands for no date.
TEST_F(TEntryRangeTest, DateTimeWritesFollowTheTable)
{
    const std::int32_t dayOfZero = DateToDayNumber(30, 12, 1899, 0);
    const std::int32_t dayBeforeZero = DateToDayNumber(29, 12, 1899, 0);
    ASSERT_EQ(dayBeforeZero, DateTimeToDayNumber(-1.0));
    struct TCase {
        const char* Name;
        std::uint8_t DataType;
        plat::TDateTime Written;
        std::int32_t Stored;
    };
    const TCase cases[] = {
        {"date of 0.0 is 1899-12-30", EfDate, 0.0, dayOfZero},
        {"date of -1.0 is no date", EfDate, -1.0, -1},
        {"date of -1.5 is no date", EfDate, -1.5, -1},
        {"date keeps the day only", EfDate, plat::EncodeDate(2024, 3, 1) + 0.25, DateToDayNumber(1, 3, 2024, 0)},
        {"time of 0.0 is midnight", EfTime, 0.0, 0},
        {"time of a whole day is midnight", EfTime, 45000.0, 0},
        {"time keeps the time of day", EfTime, 45000.5, 12 * 3600},
        {"time drops milliseconds", EfTime, plat::EncodeTime(13, 7, 9, 900), 13 * 3600 + 7 * 60 + 9},
    };
    for (const TCase& c : cases) {
        TTestEntryField* field = AddField(c.DataType);
        field->SetAsDateTime(c.Written);
        std::int32_t stored = 0;
        ASSERT_EQ(field->GetValue(&stored), 0) << c.Name;
        EXPECT_EQ(stored, c.Stored) << c.Name;
    }
    TTestEntryField* empty = AddField(EfDate);
    empty->SetInitialValue();
    EXPECT_EQ(empty->AsDateTime(), 0.0) << "no date reads as 0";
    TTestEntryField* noTime = AddField(EfTime);
    noTime->SetInitialValue();
    EXPECT_EQ(noTime->AsDateTime(), 0.0) << "no time reads as 0";
}

// The date-time range texts of a field under its own international
// support: the date picture with the century, a space and the time
// picture, month first or day first.
TEST_F(TEntryRangeTest, DateTimeRangeTextsInMonthFirstAndDayFirstPictures)
{
    struct TCase {
        const char* Locale;
        const char* ShortDate;
        const char* Separator;
        const char* Text;
    };
    const TCase cases[] = {
        {"en_US", "MM/dd/yy", "/", "03/05/2024 13:07"},
        {"de_DE", "dd.MM.yyyy", ".", "05.03.2024 13:07"},
    };
    const plat::TDateTime moment = plat::EncodeDate(2024, 3, 5) + plat::EncodeTime(13, 7, 0, 0);
    for (const TCase& c : cases) {
        plat::TLocaleInfo info = plat::LocaleInfoFromName(c.Locale);
        info.ShortDateFormat = c.ShortDate;
        info.DateSeparator = c.Separator;
        info.TimeSeparator = ":";
        info.TimeLeadingZero = true;
        info.LongTimeFormat = "HH:mm:ss";
        const plat::TFixedLocaleProvider provider(info);
        std::unique_ptr<TPgcIntlSup> intl;
        {
            const plat::TScopedLocaleProvider scope(provider);
            intl = std::make_unique<TPgcIntlSup>();
        }
        TTestEntryField* field = AddField(EfDateTime);
        field->SetIntlSupport(intl.get());
        field->SetRangeHiText(c.Text);
        EXPECT_DOUBLE_EQ(BoundAs<double>(field->RangeHiBound()), moment) << c.Locale;
        EXPECT_EQ(field->RangeHi(), c.Text) << c.Locale;
        EXPECT_THROW(field->SetRangeLoText(std::string(c.Text) + "0"), EInvalidRangeValue) << c.Locale;
        field->SetIntlSupport(nullptr);
    }
}

TEST_F(TEntryRangeTest, BooleanTextsAndCents)
{
    TTestEntryField* yesNo = AddField(EfYesNo);
    yesNo->SetAsString("yes");
    EXPECT_TRUE(yesNo->AsBoolean());
    EXPECT_TRUE(std::get<bool>(yesNo->AsVariant()));
    yesNo->SetAsString("");
    EXPECT_FALSE(yesNo->AsBoolean());
    yesNo->SetAsString("true");
    EXPECT_TRUE(yesNo->AsBoolean()) << "the true character counts too";
    TTestEntryField* money = AddField(EfDouble);
    money->SetAsCents(1234);
    EXPECT_DOUBLE_EQ(money->AsFloat(), 12.34);
    EXPECT_EQ(money->AsCents(), 1234);
    money->SetAsFloat(0.125);
    EXPECT_EQ(money->AsCents(), 12) << "a tie rounds to the even cent";
    money->SetAsVariant(TEfVariant{2.5});
    EXPECT_DOUBLE_EQ(money->AsFloat(), 2.5);
    money->SetAsVariant(TEfVariant{std::string("7.25")});
    EXPECT_DOUBLE_EQ(money->AsFloat(), 7.25);
}

TEST_F(TEntryRangeTest, TheInitialValueComesFromTheRange)
{
    TTestEntryField* inRange = AddField(EfLongInt);
    inRange->SetRangeLoText("-5");
    inRange->SetRangeHiText("5");
    inRange->SetInitialValue();
    EXPECT_EQ(inRange->AsInteger(), 0);
    TTestEntryField* above = AddField(EfLongInt);
    above->SetRangeLoText("10");
    above->SetRangeHiText("20");
    above->SetInitialValue();
    EXPECT_EQ(above->AsInteger(), 10);
    above->IncreaseValue(true, 15);
    EXPECT_EQ(above->AsInteger(), 10) << "25 wraps to the low bound";
    above->DecreaseValue(false, 1);
    EXPECT_EQ(above->AsInteger(), 10) << "held at the low bound";
}

TEST_F(TEntryRangeTest, ADataTypeCodeOutsideTheTableIsRefused)
{
    TTestEntryField field(nullptr, 20);
    std::uint8_t value[16] = {};
    EXPECT_THROW(field.GetValue(value), EPgcException);
    EXPECT_THROW(field.SetValue(value), EPgcException);
    EXPECT_EQ(field.DataSize(), 0);
}

TEST_F(TEntryRangeTest, AChangedMaskKeepsTheValue)
{
    TTestEntryField* field = AddField(EfString);
    field->SetAsString("kept");
    field->ChangePictureMask(u"XXXXXX");
    EXPECT_EQ(field->PictureMask(), u"XXXXXX");
    EXPECT_EQ(field->AsString(), "kept");
    field->ChangePictureMask(u"");
    EXPECT_EQ(field->PictureMask(), u"XXXXXX") << "an empty mask is ignored";
}

} // namespace
} // namespace qel::test
