// Entry-field data model: defaults, option cleaning, MaxLength, the data
// sizes of picture strings and the range bounds in the component stream.
#include "tests/widgets/pages/pgc_entry_field_fixture.h"
#include "tests/widgets/pages/pgc_stream_bytes.h"

#include "widgets/pages/pgc_control_messages.h"

#include "platform/objects/writer.h"
#include "platform/streams.h"

#include <gtest/gtest.h>

namespace qel::test {
namespace {

using Opts = TPgcEntryFieldOptions;

class TEntryModelTest : public TEntryFieldTest {
protected:
    // The bytes the stream holds for a binary property, or nothing when the
    // property was not written.
    static std::optional<std::string> StreamedBinary(TPgcBaseEntryField& Field, const std::string& Name)
    {
        const std::string bytes = StreamOf(Field);
        const std::string key = StreamName(Name) + '\x0C';   // the name, then a binary value
        const std::size_t at = bytes.find(key);
        if (at == std::string::npos) {
            return std::nullopt;
        }
        const std::size_t lengthAt = at + key.size();
        const auto length = static_cast<std::uint8_t>(bytes.at(lengthAt));
        return bytes.substr(lengthAt + 4, length);
    }

    static std::string StreamOf(TPgcBaseEntryField& Field)
    {
        plat::TMemoryStream stream;
        plat::TWriter writer(stream);
        writer.WriteRootComponent(&Field);
        std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
        stream.SetPosition(0);
        stream.ReadBuffer(bytes.data(), stream.Size());
        return bytes;
    }
};

TEST_F(TEntryModelTest, ANewFieldHasTheDocumentedDefaults)
{
    TTestEntryField field(nullptr, EfString);
    EXPECT_EQ(field.PictureMask(), u"X");
    EXPECT_EQ(field.MaxLength(), 15);
    EXPECT_EQ(field.Options(), (Opts{efoCaretToEnd, efoTrimBlanks}));
    EXPECT_EQ(field.PasswordChar(), u'*');
    EXPECT_EQ(field.PadChar(), u' ');
    EXPECT_EQ(field.TextMargin(), 2);
    EXPECT_EQ(field.Width(), 130);
    EXPECT_EQ(field.Height(), 25);
    EXPECT_TRUE(field.AutoSize());
    EXPECT_EQ(field.ControlCharColor(), plat::clRed);
    EXPECT_EQ(field.ZeroDisplay(), zdShow);
    EXPECT_EQ(field.BorderStyle(), TPgcBaseEntryField::bsSingle);
    EXPECT_EQ(field.IntlSupport(), DefaultIntlSup);
    EXPECT_EQ(field.UserData(), &DefaultUserData());
    EXPECT_EQ(field.EFColors()->Error()->BackColor(), plat::clRed);
    EXPECT_EQ(field.EFColors()->Disabled()->TextColor(), plat::clGrayText);
    EXPECT_EQ(field.EFColors()->Highlight()->BackColor(), plat::clHighlight);
    const TRangeType zero{};
    EXPECT_EQ(std::memcmp(field.RangeHiBound().rt10, zero.rt10, 10), 0);
    EXPECT_EQ(std::memcmp(field.RangeLoBound().rt10, zero.rt10, 10), 0);
    EXPECT_EQ(field.CurrentPos(), -1);
}

TEST_F(TEntryModelTest, OptionsAreCleanedByFieldClassAndDataType)
{
    const Opts all{efoArrowIncDec, efoCaretToEnd, efoForceInsert, efoInputRequired, efoPasswordMode, efoReadOnly,
                   efoRightAlign, efoRightJustify, efoSoftValidation, efoStripLiterals, efoTrimBlanks};
    struct TCase {
        const char* Name;
        std::uint8_t FieldClass;
        std::uint8_t DataType;
        Opts Given;
        Opts Expected;
    };
    const TCase cases[] = {
        {"force insert wins", EfClassSimple, EfString, Opts{efoForceInsert, efoForceOvertype}, Opts{efoForceInsert}},
        {"simple string", EfClassSimple, EfString, all, all - Opts{efoRightJustify, efoStripLiterals}},
        {"simple char", EfClassSimple, EfChar, all,
         all - Opts{efoCaretToEnd, efoForceInsert, efoTrimBlanks, efoRightJustify, efoStripLiterals}},
        {"picture yes/no", EfClassPicture, EfYesNo, all,
         all - Opts{efoCaretToEnd, efoForceInsert, efoTrimBlanks, efoRightJustify, efoStripLiterals}},
        {"simple long", EfClassSimple, EfLongInt, all, all - Opts{efoTrimBlanks, efoRightJustify, efoStripLiterals}},
        {"picture comp", EfClassPicture, EfComp, all, all - Opts{efoTrimBlanks, efoStripLiterals}},
        {"picture date", EfClassPicture, EfDate, all, all - Opts{efoTrimBlanks, efoRightJustify, efoStripLiterals}},
        {"picture string", EfClassPicture, EfString, all, all},
        {"numeric loses six", EfClassNumeric, EfDouble, all,
         all - Opts{efoCaretToEnd, efoForceInsert, efoTrimBlanks, efoRightJustify, efoStripLiterals, efoRightAlign}},
        {"simple date keeps", EfClassSimple, EfDate, all, all},
    };
    for (const TCase& c : cases) {
        TTestEntryField field(nullptr, c.DataType, c.FieldClass);
        field.SetOptions(c.Given);
        EXPECT_EQ(field.Options().Bits(), c.Expected.Bits()) << c.Name;
    }
}

TEST_F(TEntryModelTest, RightJustifyAddsTrimBlanksToAStringAndAPictureStringWithoutTrimLosesIt)
{
    TTestEntryField simple(nullptr, EfString, EfClassPicture);
    simple.SetOptions(Opts{efoRightJustify});
    EXPECT_TRUE(simple.Options().Contains(efoTrimBlanks));
    TTestEntryField picture(nullptr, EfLongInt, EfClassPicture);
    picture.SetOptions(Opts{efoRightJustify});
    EXPECT_TRUE(picture.Options().Contains(efoRightJustify)) << "a picture number keeps it";
}

TEST_F(TEntryModelTest, MaxLengthTakesOnlyUsableValuesAndCutsTheText)
{
    TTestEntryField* field = AddField(EfString, EfClassPicture);
    field->ChangePictureMask(u"99-99");
    field->SetAsString("abcdefghij");
    for (const std::uint16_t refused : {0, 256, 4}) {
        field->SetMaxLength(refused);
        EXPECT_EQ(field->MaxLength(), 15) << refused;
    }
    field->SetMaxLength(6);
    EXPECT_EQ(field->MaxLength(), 6);
    EXPECT_EQ(field->EditText(), u"abcdef");
    EXPECT_TRUE(field->HandleAllocated()) << "the window was made anew";
}

TEST_F(TEntryModelTest, APasswordCharacterOfZeroEndsPasswordMode)
{
    TTestEntryField field(nullptr, EfString);
    field.SetOptions(Opts{efoPasswordMode});
    field.SetPasswordChar(u'#');
    EXPECT_TRUE(field.Options().Contains(efoPasswordMode));
    field.SetPasswordChar(0);
    EXPECT_FALSE(field.Options().Contains(efoPasswordMode));
}

TEST_F(TEntryModelTest, APictureStringWithoutLiteralsHasTheStrippedDataSize)
{
    TTestEntryField* field = AddField(EfString, EfClassPicture);
    field->ChangePictureMask(u"99-99");
    field->SetMaxLength(5);
    EXPECT_EQ(field->DataSize(), 12) << "(5 + 1) characters of two bytes";
    field->SetOptions(Opts{efoStripLiterals, efoTrimBlanks});
    EXPECT_EQ(field->StrippedDataLength(), 5);
    EXPECT_EQ(field->DataSize(), 10) << "(5 - 1 + 1) characters: one literal";
    EXPECT_EQ(field->Perform(PGCM_DATASIZE), 10);
}

TEST_F(TEntryModelTest, DataSizesFollowTheDataType)
{
    const std::pair<std::uint8_t, int> sizes[] = {{EfChar, 2},   {EfBoolean, 1}, {EfLongInt, 4}, {EfWord, 2},
                                                  {EfByte, 1},   {EfReal, 8},    {EfSingle, 4},  {EfComp, 8},
                                                  {EfDate, 4},   {EfTime, 4},    {EfDateTime, 8}};
    for (const auto& [type, size] : sizes) {
        TTestEntryField field(nullptr, type);
        EXPECT_EQ(field.DataSize(), size) << int(type);
    }
}

TEST_F(TEntryModelTest, RangeBoundsAreStreamedAsTheirTenBytes)
{
    TTestEntryField* word = AddField(EfWord);
    word->SetRangeHiText("65535");
    word->SetRangeLoText("2");
    EXPECT_EQ(StreamedBinary(*word, "RangeHigh"), std::string("\xFF\xFF\0\0\0\0\0\0\0\0", 10));
    EXPECT_EQ(StreamedBinary(*word, "RangeLow"), std::string("\x02\0\0\0\0\0\0\0\0\0", 10));

    for (const std::uint8_t type : {EfString, EfBoolean, EfYesNo}) {
        TTestEntryField* field = AddField(type);
        EXPECT_EQ(StreamedBinary(*field, "RangeHigh"), std::nullopt) << int(type);
        EXPECT_EQ(StreamedBinary(*field, "RangeLow"), std::nullopt) << int(type);
    }
}

TEST_F(TEntryModelTest, StreamedBoundsAreReadBackByDataType)
{
    TTestEntryField* word = AddField(EfWord);
    word->SetRangeHiText("65535");
    const std::string stream = StreamOf(*word);
    struct TCase {
        std::uint8_t DataType;
        std::int64_t Expected;
    };
    for (const TCase& c : {TCase{EfInteger, -1}, TCase{EfShortInt, -1}, TCase{EfWord, 65535}, TCase{EfLongInt, 65535}}) {
        TTestEntryField field(nullptr, c.DataType);
        ReadStreamBytes(field, stream);
        EXPECT_EQ(BoundAs<std::int64_t>(field.RangeHiBound()), c.Expected) << int(c.DataType);
    }
    TTestEntryField* longField = AddField(EfLongInt);
    longField->SetRangeLoText("-5");
    TTestEntryField readBack(nullptr, EfLongInt);
    ReadStreamBytes(readBack, StreamOf(*longField));
    EXPECT_EQ(BoundAs<std::int64_t>(readBack.RangeLoBound()), -5);
    EXPECT_EQ(readBack.RangeLo(), "-5");
}

} // namespace
} // namespace qel::test
