// The entry field's data model: construction, properties, option cleaning,
// the window's creation and the streamed range bounds.
#include "widgets/pages/pgc_base_entry_field.h"

#include "widgets/pages/pgc_control_messages.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/controls/form.h"
#include "platform/controls/window_messages.h"
#include "platform/controls/window_styles.h"
#include "platform/objects/filer.h"
#include "platform/streams.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qel {

PLAT_DEFINE_CLASS(TPgcBaseEntryField, TPgcCustomControlEx)

namespace {

constexpr double kExtendedLimit = 1.7e308;

} // namespace

bool IsPictureMaskChar(char16_t C)
{
    static constexpr std::u16string_view kInputPositions = u"!#123456789ABDEHKLMNOSXYabdhilmnstxy";
    return kInputPositions.find(C) != std::u16string_view::npos;
}

// A device context on one pixel, for measuring text without a window.
struct TPgcBaseEntryField::TTextMeasure {
    plat::TPixelSurface Surface{1, 1, 24};
    plat::TSurfaceDC DC{Surface};
    plat::TLogFont Font;
};

plat::TDeviceContext& TPgcBaseEntryField::MeasuringDC()
{
    if (!FMeasure) {
        FMeasure = std::make_unique<TTextMeasure>();
        FMeasure->DC.SelectFont(FMeasure->Font);
    }
    const plat::TLogFont font = Font()->Handle();
    if (!(font == FMeasure->Font)) {
        FMeasure->Font = font;
        FMeasure->DC.SelectFont(font);
    }
    return FMeasure->DC;
}

TPgcBaseEntryField::TPgcBaseEntryField(plat::TComponent* AOwner)
    : TPgcCustomControlEx(AOwner),
      FBorders(std::make_unique<TPgcBorders>()),
      FEFColors(std::make_unique<TPgcEfColors>()),
      FIntlSup(DefaultIntlSup),
      FUserData(&DefaultUserData())
{
    FControlStyle.Include(plat::csCaptureMouse);
    FControlStyle.Include(plat::csClickEvents);
    FControlStyle.Include(plat::csOpaque);
    const plat::TNotifyEvent bordersChanged(this, &TPgcBaseEntryField::BordersChanged);
    FBorders->LeftBorder()->OnChange = bordersChanged;
    FBorders->RightBorder()->OnChange = bordersChanged;
    FBorders->TopBorder()->OnChange = bordersChanged;
    FBorders->BottomBorder()->OnChange = bordersChanged;
    SetCursor(plat::crIBeam);
    FWidth = 130;
    FHeight = 25;
    FParentColor = false;
    FTabStop = true;
    efPicture[0] = u'X';
    efCaret = std::make_unique<TPgcCaretPair>(this);
    FEFColors->SetOnChange(plat::TNotifyEvent(this, &TPgcBaseEntryField::ColorsChanged));
    ComputeTopMargin();
}

TPgcBaseEntryField::~TPgcBaseEntryField()
{
    if (HaveFocus() && Focused()) {
        if (plat::TCustomForm* form = plat::GetParentForm(this)) {
            form->DefocusControl(this, true);
        }
    }
    FEFColors->SetOnChange(nullptr);
    efCaret.reset();
}

void TPgcBaseEntryField::SetFieldClassAndType(std::uint8_t FieldClass, std::uint8_t DataType)
{
    efFieldClass = FieldClass;
    efDataType = static_cast<std::uint8_t>(FieldClass * 64 + DataType);
    efDataSize = 0;
    CleanOptions();
}

// ---- properties ----

void TPgcBaseEntryField::SetBorderStyle(TBorderStyle Value)
{
    if (Value != FBorderStyle) {
        FBorderStyle = Value;
        RecreateWnd();
    }
}

void TPgcBaseEntryField::SetCtl3D(bool Value)
{
    if (Value != FCtl3D) {
        FCtl3D = Value;
        Perform(plat::CM_CTL3DCHANGED);
    }
}

void TPgcBaseEntryField::SetCaretIns(TPgcCaret* Value)
{
    if (Value != efCaret->InsCaretType()) {
        efCaret->SetInsCaretType(Value);
    }
}

void TPgcBaseEntryField::SetCaretOvr(TPgcCaret* Value)
{
    if (Value != efCaret->OvrCaretType()) {
        efCaret->SetOvrCaretType(Value);
    }
}

void TPgcBaseEntryField::SetControlCharColor(plat::TColor Value)
{
    FCtrlColor = Value;
}

void TPgcBaseEntryField::SetDecimalPlaces(std::uint8_t Value)
{
    if (Value != FDecimalPlaces) {
        FDecimalPlaces = Value;
        RecreateWnd();
    }
}

void TPgcBaseEntryField::SetMaxLength(std::uint16_t Value)
{
    if (ComponentState().Contains(plat::csLoading)) {
        FMaxLength = Value;
        return;
    }
    if (Value == FMaxLength || Value < 1 || Value > kMaxLength || Value < efPicLen) {
        return;
    }
    FMaxLength = Value;
    efEditSt[Value] = 0;
    efDataSize = 0;
    RecreateWnd();
}

void TPgcBaseEntryField::SetOptions(TPgcEntryFieldOptions Value)
{
    if (Value != FOptions) {
        FOptions = Value;
        if (FOptions.Contains(efoForceInsert)) {
            FOptions.Exclude(efoForceOvertype);
        }
        if (FOptions.Contains(efoRightJustify) && DataType() == EfString) {
            FOptions.Include(efoTrimBlanks);
        }
        if (FOptions.Contains(efoRightAlign)) {
            UpdateCaretAndScroll(true);
        }
        if (!FOptions.Contains(efoTrimBlanks) && efDataType == EfClassPicture * 64 + EfString) {
            FOptions.Exclude(efoRightJustify);
        }
    }
    CleanOptions();
    efDataSize = 0;
    Refresh();
}

void TPgcBaseEntryField::SetPadChar(char16_t Value)
{
    if (Value != FPadChar) {
        FPadChar = Value;
        Refresh();
    }
}

void TPgcBaseEntryField::SetPasswordChar(char16_t Value)
{
    if (Value != FPasswordChar) {
        FPasswordChar = Value;
        if (Value == 0) {
            FOptions.Exclude(efoPasswordMode);
        }
        Refresh();
    }
}

void TPgcBaseEntryField::SetTextMargin(int Value)
{
    if (Value != FTextMargin && Value > 1) {
        FTextMargin = Value;
        Refresh();
    }
}

void TPgcBaseEntryField::SetUninitialized(bool Value)
{
    if (Value != FUninitialized) {
        FUninitialized = Value;
        CleanOptions();
    }
}

void TPgcBaseEntryField::SetZeroDisplay(TZeroDisplay Value)
{
    if (Value != FZeroDisplay) {
        FZeroDisplay = Value;
        Refresh();
    }
}

void TPgcBaseEntryField::SetZeroDisplayValue(double Value)
{
    if (Value != FZeroDisplayValue) {
        FZeroDisplayValue = Value;
        Refresh();
    }
}

void TPgcBaseEntryField::SetIntlSupport(TPgcIntlSup* Value)
{
    FIntlSup = Value != nullptr ? Value : DefaultIntlSup;
}

void TPgcBaseEntryField::SetUserData(TPgcUserData* Value)
{
    FUserData = Value != nullptr ? Value : &DefaultUserData();
}

std::uint16_t TPgcBaseEntryField::DataSize() const
{
    if (efDataSize == 0) {
        ComputeDataSize();
    }
    return efDataSize;
}

std::string TPgcBaseEntryField::EditString() const
{
    return plat::Utf16ToUtf8(EditText());
}

std::string TPgcBaseEntryField::DisplayString()
{
    return plat::Utf16ToUtf8(BuildDisplayText(kMaxLength));
}

bool TPgcBaseEntryField::EverModified() const
{
    return sefOptions.Contains(sefEverModified) || sefOptions.Contains(sefModified);
}

void TPgcBaseEntryField::SetEverModified(bool Value)
{
    if (Value) {
        sefOptions.Include(sefEverModified);
    } else {
        sefOptions.Exclude(sefEverModified);
        sefOptions.Exclude(sefModified);
    }
}

void TPgcBaseEntryField::SetModified(bool Value)
{
    if (Value) {
        sefOptions.Include(sefModified);
        sefOptions.Include(sefEverModified);
    } else {
        sefOptions.Exclude(sefModified);
    }
}

char16_t TPgcBaseEntryField::PictureCharAt(int Index) const
{
    if (efPicLen == 0) {
        return 0;
    }
    return efPicture[static_cast<std::size_t>(std::clamp(Index, 0, efPicLen - 1))];
}

std::uint16_t TPgcBaseEntryField::StrippedDataLength() const
{
    int inputPositions = 0;
    for (int i = 0; i < efPicLen; ++i) {
        const char16_t c = efPicture[static_cast<std::size_t>(i)];
        if (IsPictureMaskChar(c) || c == u'$' || c == u',') {
            ++inputPositions;
        }
    }
    const int length = FMaxLength - (efPicLen - inputPositions) + 1;
    return static_cast<std::uint16_t>(std::max(length, 1));
}

int TPgcBaseEntryField::EditLength() const
{
    return static_cast<int>(std::char_traits<char16_t>::length(efEditSt.data()));
}

bool TPgcBaseEntryField::FieldIsEmpty()
{
    HandleNeeded();
    return EditTextIsBlank();
}

bool TPgcBaseEntryField::EditTextIsBlank() const
{
    for (const char16_t* p = efEditSt.data(); *p != 0; ++p) {
        if (*p != u' ') {
            return false;
        }
    }
    return true;
}

void TPgcBaseEntryField::MergeWithPicture(std::u16string_view S)
{
    const std::size_t count = std::min<std::size_t>(S.size(), FMaxLength);
    std::copy_n(S.data(), count, efEditSt.begin());
    efEditSt[count] = 0;
}

void TPgcBaseEntryField::SetName(const std::string& Value)
{
    TPgcCustomControlEx::SetName(Value);
    Invalidate();
}

// ---- option cleaning and data size ----

void TPgcBaseEntryField::CleanOptions()
{
    if (ComponentState().Contains(plat::csLoading)) {
        return;
    }
    const std::uint8_t type = DataType();
    const TPgcEntryFieldOptions literals{efoRightJustify, efoStripLiterals};
    if (efFieldClass == EfClassNumeric) {
        FOptions -= TPgcEntryFieldOptions{efoCaretToEnd, efoForceInsert, efoTrimBlanks, efoRightJustify,
                                          efoStripLiterals, efoRightAlign};
    } else if (type >= EfChar && type <= EfYesNo) {
        FOptions -= TPgcEntryFieldOptions{efoCaretToEnd, efoForceInsert, efoTrimBlanks} + literals;
    } else if (efFieldClass == EfClassSimple && type == EfString) {
        FOptions -= literals;
    } else if (efFieldClass == EfClassSimple && type >= EfLongInt && type <= EfComp) {
        FOptions -= TPgcEntryFieldOptions{efoTrimBlanks} + literals;
    } else if (efFieldClass == EfClassPicture && type >= EfLongInt && type <= EfComp) {
        FOptions -= TPgcEntryFieldOptions{efoTrimBlanks, efoStripLiterals};
    } else if (efFieldClass == EfClassPicture && type >= EfDate && type <= EfDateTime) {
        FOptions -= TPgcEntryFieldOptions{efoTrimBlanks} + literals;
    }
    if (Designing() && FOptions.Contains(efoInputRequired) && type >= EfChar && type <= EfComp) {
        FUninitialized = true;
    }
}

void TPgcBaseEntryField::ComputeDataSize() const
{
    static constexpr std::uint16_t kSizes[] = {0, 2, 1, 1, 4, 2, 2, 1, 1, 8, 8, 8, 4, 8, 4, 4, 8};
    const std::uint8_t type = DataType();
    if (type == EfString) {
        const bool stripped = efDataType == EfClassPicture * 64 + EfString && FOptions.Contains(efoStripLiterals);
        efDataSize = static_cast<std::uint16_t>(((stripped ? StrippedDataLength() - 1 : FMaxLength) + 1) * 2);
    } else {
        efDataSize = type <= EfLastDataType ? kSizes[type] : 0;
    }
}

// ---- window ----

void TPgcBaseEntryField::CreateParams(plat::TCreateParams& Params)
{
    TPgcCustomControlEx::CreateParams(Params);
    if (FBorderStyle == bsSingle) {
        if (FCtl3D) {
            Params.ExStyle |= plat::WS_EX_CLIENTEDGE;
        } else {
            Params.Style |= plat::WS_BORDER;
        }
    }
    efPicLen = static_cast<std::uint16_t>(std::char_traits<char16_t>::length(efPicture.data()));
    if (FMaxLength == 0) {
        FMaxLength = efPicLen;
    }
    sefOptions = TsefOptionSet{sefInsert, sefCharOK};
}

void TPgcBaseEntryField::CreateWnd()
{
    TPgcCustomControlEx::CreateWnd();
    efHOffset = 0;
    efHPos = 0;
    efSelStart = 0;
    efSelEnd = 0;
    ComputeDataSize();
    const std::uint8_t type = DataType();
    if (FOptions.Contains(efoInputRequired) && type >= EfChar && type <= EfComp) {
        SetUninitialized(true);
    }
    const std::u16string_view mask(efPicture.data());
    const auto markFlag = [&](TsefOption Flag, bool On) {
        if (On) {
            sefOptions.Include(Flag);
        } else {
            sefOptions.Exclude(Flag);
        }
    };
    markFlag(sefHexadecimal, mask.find(u'K') != mask.npos);
    markFlag(sefBinary, mask.find(u'b') != mask.npos);
    markFlag(sefOctal, mask.find(u'O') != mask.npos);
    markFlag(sefNumeric, efFieldClass == EfClassNumeric);
    sefOptions.Include(sefNoLiterals);
    CleanOptions();
    Canvas()->Font()->Assign(Font());
    AdjustHeightToFont();
    ComputeTopMargin();
    efRightAlignActive = FOptions.Contains(efoRightAlign);
}

// ---- streaming of the range bounds ----

bool TPgcBaseEntryField::RangeStreamed() const
{
    const std::uint8_t type = DataType();
    return type != EfString && type != EfBoolean && type != EfYesNo;
}

void TPgcBaseEntryField::DefineProperties(plat::TFiler& Filer)
{
    TPgcCustomControlEx::DefineProperties(Filer);
    const bool stored = RangeStreamed();
    Filer.DefineBinaryProperty(
        "RangeHigh", [this](plat::TStream& s) { ReadRangeBound(s, efRangeHi, true); },
        [this](plat::TStream& s) { s.WriteBuffer(efRangeHi.rt10, sizeof efRangeHi.rt10); }, stored);
    Filer.DefineBinaryProperty(
        "RangeLow", [this](plat::TStream& s) { ReadRangeBound(s, efRangeLo, false); },
        [this](plat::TStream& s) { s.WriteBuffer(efRangeLo.rt10, sizeof efRangeLo.rt10); }, stored);
}

void TPgcBaseEntryField::ReadRangeBound(plat::TStream& Stream, TRangeType& Bound, bool High)
{
    TRangeType read;
    Stream.ReadBuffer(read.rt10, sizeof read.rt10);
    switch (DataType()) {
    case EfExtended: {
        const double value = Ext80AsDouble(read.rtExt);
        const double limited = High ? std::min(value, kExtendedLimit) : std::max(value, -kExtendedLimit);
        if (limited != value || std::isinf(value)) {
            read.rtExt = Ext80FromDouble(std::isinf(value) ? (value > 0 ? kExtendedLimit : -kExtendedLimit)
                                                            : limited);
        }
        break;
    }
    case EfInteger:
    case EfShortInt:
        read.rtLong = read.rtInt;
        break;
    case EfLongInt: {
        std::int32_t low;
        std::memcpy(&low, read.rt10, sizeof low);
        read.rtLong = low;
        break;
    }
    default:
        break;
    }
    Bound = read;
}

} // namespace qel
