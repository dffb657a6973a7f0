// Fuzz target for the entry-field base, driven through a test field of any
// data type and field class: random keys with modifiers, typed characters
// (control characters included), pastes of any length, EM_SETSEL values,
// picture masks, MaxLength changes, focus changes, text writes, paints and
// range texts. After every step the edit buffer holds at most MaxLength
// characters; every range text is either refused or read back as a text
// that gives the same bound again.
#include "tests/widgets/pages/para_list_checker.h"
#include "tests/widgets/pages/pgc_test_entry_field.h"

#include "widgets/pages/pgc_base_unit.h"
#include "widgets/pages/pgc_exceptions.h"

#include "platform/canvas/recording_dc.h"
#include "platform/controls/application.h"
#include "platform/controls/clipboard.h"
#include "platform/controls/form.h"
#include "platform/controls/standard/edit_messages.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "platform/hosts/headless/headless_host.h"
#include "platform/text_encoding.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using qel::test::TTestEntryField;
using qeltest::TScriptReader;

constexpr int MaxSteps = 8;

void Require(bool ok, const char* what, int step)
{
    if (!ok) {
        std::fprintf(stderr, "step %d: %s\n", step, what);
        std::abort();
    }
}

struct TBench {
    plat::THeadlessHost Host;
    plat::TApplication App{Host};
    plat::TForm* Form;
    TTestEntryField* Other;
    TBench()
    {
        qel::InitPgcBaseUnit();
        qel::InitIntlUnit();
        Form = App.CreateForm<plat::TForm>();
        Form->SetBounds(0, 0, 280, 40);
        Other = new TTestEntryField(Form, qel::EfString);
        Other->SetParent(Form);
        Other->SetBounds(200, 5, 60, 25);
        Form->Show();
        Host.PumpUntilIdle();
    }
};

TBench& Bench()
{
    static TBench* bench = new TBench();
    return *bench;
}

// A text from a small alphabet that range texts, masks and values use.
std::u16string ScriptedText(TScriptReader& in, std::u16string_view Alphabet, int MaxLength)
{
    const int length = in.Below(MaxLength + 1);
    std::u16string text;
    for (int i = 0; i < length; ++i) {
        text.push_back(Alphabet[static_cast<std::size_t>(in.Below(static_cast<int>(Alphabet.size())))]);
    }
    return text;
}

// Any UTF-16 text, now and then long enough to overflow any field (up to 400 units).
std::u16string AnyText(TScriptReader& in)
{
    const int length = in.Below(4) != 0 ? in.Below(20) : 200 + in.Below(201);
    std::u16string text;
    for (int i = 0; i < length; ++i) {
        const auto unit = static_cast<char16_t>(in.Byte() | in.Byte() << 8);
        text.push_back(unit == 0 ? u'z' : unit);
    }
    return text;
}

void PutOnClipboard(std::u16string_view Text)
{
    const plat::HGLOBAL block = plat::GlobalAlloc(plat::GHND, (Text.size() + 1) * sizeof(char16_t));
    std::memcpy(plat::GlobalLock(block), Text.data(), Text.size() * sizeof(char16_t));
    plat::GlobalUnlock(block);
    plat::OpenClipboard(0);
    plat::EmptyClipboard();
    plat::SetClipboardData(plat::CF_UNICODETEXT, block);
    plat::CloseClipboard();
}

// An integer bound is written in the first of hexadecimal, octal and binary
// that the mask names, but read in the first of binary, octal and
// hexadecimal: with two of them in the mask a text read back may give
// another bound, or be refused.
bool WrittenAndReadInOneBase(const TTestEntryField& Field)
{
    const qel::TsefOptionSet flags = Field.StateFlags();
    const int bases = static_cast<int>(flags.Contains(qel::sefHexadecimal)) +
                      static_cast<int>(flags.Contains(qel::sefOctal)) + static_cast<int>(flags.Contains(qel::sefBinary));
    return Field.DataType() < qel::EfLongInt || Field.DataType() > qel::EfShortInt || bases <= 1;
}

// A range text is refused, or read back as a text that gives the same
// bound (and, for floating bounds, the same text, but for the sign of a
// zero) once more.
void CheckRangeText(TTestEntryField& Field, TScriptReader& in, int Step)
{
    static constexpr std::u16string_view alphabet = u"0123456789#$-+.,eE:/ AFbK1x";
    const std::string text = plat::Utf16ToUtf8(ScriptedText(in, alphabet, 14));
    const bool high = in.Below(2) == 0;
    try {
        high ? Field.SetRangeHiText(text) : Field.SetRangeLoText(text);
    } catch (const qel::EPgcException&) {
        return;
    }
    const qel::TRangeType first = high ? Field.RangeHiBound() : Field.RangeLoBound();
    const std::string readBack = high ? Field.RangeHi() : Field.RangeLo();
    try {
        high ? Field.SetRangeHiText(readBack) : Field.SetRangeLoText(readBack);
    } catch (const qel::EPgcException&) {
        if (!WrittenAndReadInOneBase(Field)) {
            return;
        }
        std::fprintf(stderr, "type %d text \"%s\" read back as \"%s\"\n", Field.DataType(), text.c_str(),
                     readBack.c_str());
        Require(false, "a range text read back is refused", Step);
    }
    const qel::TRangeType second = high ? Field.RangeHiBound() : Field.RangeLoBound();
    const std::uint8_t type = Field.DataType();
    if (type >= qel::EfReal && type <= qel::EfComp) {
        // A negative value that rounds to zero is written "-0"; read back it
        // is a negative zero, which is not below 0 and is written "0".
        const std::string again = high ? Field.RangeHi() : Field.RangeLo();
        const bool signedZero = readBack == "-" + again && again.find_first_of("123456789") == std::string::npos;
        Require(again == readBack || signedZero, "a floating range text is stable", Step);
    } else if (WrittenAndReadInOneBase(Field) && std::memcmp(first.rt10, second.rt10, sizeof first.rt10) != 0) {
        std::fprintf(stderr, "type %d text \"%s\" read back as \"%s\"\n", type, text.c_str(), readBack.c_str());
        Require(false, "a range text reads back to the same bound", Step);
    }
}

void RunStep(TBench& Bench, TTestEntryField& Field, TScriptReader& in, int Step)
{
    static constexpr plat::TVirtualKey keys[] = {
        plat::VK_BACK, plat::VK_DELETE, plat::VK_LEFT, plat::VK_RIGHT, plat::VK_HOME, plat::VK_END,
        plat::VK_INSERT, plat::VK_UP, plat::VK_DOWN, 'A', 'C', 'V', 'X', 'Z', '5', plat::VK_NUMPAD3};
    switch (in.Below(12)) {
    case 0:
        Bench.Host.Key(keys[in.Below(static_cast<int>(std::size(keys)))], static_cast<std::uint8_t>(in.Below(8)));
        Bench.Host.PumpUntilIdle();
        break;
    case 1:
        Field.Perform(plat::WM_CHAR, in.Below(2) == 0 ? in.Below(32) : in.Byte() | in.Byte() << 8);
        break;
    case 2:
        PutOnClipboard(AnyText(in));
        Field.PasteFromClipboard();
        break;
    case 3:
        Field.Perform(plat::EM_SETSEL, 0, plat::MAKELPARAM(static_cast<std::uint16_t>(in.Byte() | in.Byte() << 8),
                                                           static_cast<std::uint16_t>(in.Byte() | in.Byte() << 8)));
        break;
    case 4:
        CheckRangeText(Field, in, Step);
        break;
    case 5:
        Field.SetMaxLength(static_cast<std::uint16_t>(in.Byte() + in.Below(2)));
        break;
    case 6:
        Field.ChangePictureMask(ScriptedText(in, u"XK9bO.E-$,!", 12));
        Field.RecreateWnd();
        break;
    case 7:
        (in.Below(2) == 0 ? static_cast<plat::TWinControl*>(&Field) : Bench.Other)->SetFocus();
        Bench.Host.PumpUntilIdle();
        break;
    case 8:
        try {
            Field.SetAsString(plat::Utf16ToUtf8(ScriptedText(in, u"0123456789-.e yY#", 10)));
        } catch (const qel::EPgcException&) {
        }
        break;
    case 9: {
        plat::TRecordingDC dc(nullptr, Field.Width(), Field.Height());
        Field.PaintText(dc, {0, 0, Field.Width(), Field.Height()}, Field.HOffset());
        break;
    }
    case 10:
        Field.SetSelectedText(plat::Utf16ToUtf8(AnyText(in)));
        break;
    default:
        switch (in.Below(6)) {
        case 0: Field.CutToClipboard(); break;
        case 1: Field.CopyToClipboard(); break;
        case 2: Field.Restore(); break;
        case 3: Field.IncreaseValue(in.Below(2) == 1, in.Below(300)); break;
        case 4: Field.SetCurrentPos(in.Below(300) - 20); break;
        default: Field.SetOptions(qel::TPgcEntryFieldOptions::FromBits(in.Byte() | in.Byte() << 8)); break;
        }
        break;
    }
    Require(static_cast<int>(Field.EditText().size()) <= Field.MaxLength(), "the text fits MaxLength", Step);
    Require(Field.MaxLength() >= 1 && Field.MaxLength() <= 255, "MaxLength stays within 1 .. 255", Step);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TBench& bench = Bench();
    TScriptReader in({data, size});
    const auto type = static_cast<std::uint8_t>(in.Below(qel::EfLastDataType + 1));
    const auto fieldClass = static_cast<std::uint8_t>(in.Below(3));
    auto field = std::make_unique<TTestEntryField>(bench.Form, type, fieldClass);
    int reports = 0;
    field->OnError = [&reports](plat::TObject*, std::uint16_t, const std::string&) { ++reports; };
    field->SetParent(bench.Form);
    field->SetBounds(5, 5, 40 + in.Below(150), 25);
    field->HandleNeeded();
    for (int step = 0; step < MaxSteps && !in.AtEnd(); ++step) {
        RunStep(bench, *field, in, step);
    }
    bench.Host.PumpUntilIdle();   // the posted reports and a paint of what is left
    field.reset();
    bench.Host.PumpUntilIdle();
    return 0;
}
