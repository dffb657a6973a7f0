// The entry field's values: the transfer protocol around the field classes'
// conversions, the typed accessors, the range bounds as records, the epoch,
// validation and the error report.
#include "widgets/pages/pgc_base_entry_field.h"

#include "widgets/pages/pgc_control_messages.h"
#include "widgets/pages/pgc_exceptions.h"
#include "widgets/pages/pgc_messages.h"
#include "widgets/pages/pgc_strings.h"

#include "platform/controls/window_messages.h"
#include "platform/text_encoding.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace qel {

namespace {

constexpr std::uint16_t kMsgParameterInvalid = 30188;
constexpr std::uint16_t kMsgInvalidForType = 30180;
constexpr std::uint16_t kMsgFirstError = 30179;   // the text of error 256
constexpr std::uint16_t kMsgEntryError = 30278;
constexpr std::uint16_t kEndOfText = 255;

// A value of any data type but a string, laid out as the data-type table says.
union TValueBuffer {
    std::uint8_t Bytes[16];
    bool Boolean;
    char16_t Char;
    std::int32_t Long;
    std::uint16_t Word;
    std::int16_t Integer;
    std::uint8_t Byte;
    std::int8_t Short;
    double Real;
    float Single;
    std::int64_t Comp;
};

[[noreturn]] void RaiseParameterInvalid()
{
    throw EPgcException(MessageTextByNumber(kMsgParameterInvalid));
}

[[noreturn]] void RaiseInvalidForType()
{
    throw EEntryFieldError(MessageTextByNumber(kMsgInvalidForType));
}

// Rounds to the nearest integer, a tie to the even one.
double RoundHalfEven(double Value)
{
    return std::nearbyint(Value);
}

std::int32_t SaturatedInt32(double Value)
{
    if (std::isnan(Value)) {
        return 0;
    }
    if (Value >= 2147483647.0) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (Value <= -2147483648.0) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(Value);
}

// The value truncated to 64 bits; EInvalidRangeValue when it does not fit.
std::int64_t TruncatedComp(double Value)
{
    if (!(Value > -9223372036854775808.0 && Value < 9223372036854775808.0)) {
        throw EInvalidRangeValue(EfComp);
    }
    return static_cast<std::int64_t>(Value);
}

float CheckedSingle(double Value)
{
    if (std::isfinite(Value) && std::fabs(Value) > std::numeric_limits<float>::max()) {
        throw EInvalidRangeValue(EfSingle);
    }
    return static_cast<float>(Value);
}

} // namespace

// ---- transfer ----

std::uint16_t TPgcBaseEntryField::GetValue(void* Data)
{
    sefOptions.Include(sefGettingValue);
    struct TClear {
        TsefOptionSet& Flags;
        ~TClear() { Flags.Exclude(sefGettingValue); }
    } clear{sefOptions};
    const std::uint16_t error = ValidateValue();
    if (error == 0) {
        if (DataType() > EfLastDataType) {
            RaiseParameterInvalid();
        }
        TransferData(Data, 1);
    }
    return error;
}

void TPgcBaseEntryField::SetValue(const void* Data)
{
    if (sefOptions.Contains(sefUserValidating)) {
        return;
    }
    if (!HandleAllocated() && Parent() != nullptr) {
        HandleNeeded();
    }
    sefOptions.Include(sefUpdating);
    struct TClear {
        TsefOptionSet& Flags;
        ~TClear() { Flags.Exclude(sefUpdating); }
    } clear{sefOptions};
    if (DataType() > EfLastDataType) {
        RaiseParameterInvalid();
    }
    TransferData(const_cast<void*>(Data), 2);
}

std::uint16_t TPgcBaseEntryField::TransferData(void*, std::uint16_t Flag)
{
    if (Flag != 2 || Designing() || sefOptions.Contains(sefValidating)) {
        return DataSize();
    }
    sefOptions.Exclude(sefRetainPos);
    if (HaveFocus()) {
        PlaceCaretByOption();
        UpdateCaretAndScroll(true);
        if (!sefOptions.Contains(sefGettingValue)) {
            SetSelection(0, kEndOfText);
        }
    } else {
        sefOptions.Exclude(sefInvalid);
    }
    sefOptions.Exclude(sefModified);
    sefOptions.Exclude(sefEverModified);
    Invalidate();
    return DataSize();
}

void TPgcBaseEntryField::SetInitialValue()
{
    if (Designing()) {
        return;
    }
    TRangeType value;
    const auto containsZero = [](double Low, double High) { return Low <= 0 && High >= 0; };
    switch (DataType()) {
    case EfChar:
        value.rtChar = efRangeLo.rtChar <= u' ' && efRangeHi.rtChar >= u' ' ? u' ' : efRangeLo.rtChar;
        break;
    case EfLongInt:
    case EfWord:
    case EfInteger:
    case EfByte:
    case EfShortInt:
        value.rtLong = efRangeLo.rtLong <= 0 && efRangeHi.rtLong >= 0 ? 0 : efRangeLo.rtLong;
        break;
    case EfReal:
        value.rtReal = containsZero(efRangeLo.rtReal, efRangeHi.rtReal) ? 0 : efRangeLo.rtReal;
        break;
    case EfExtended:
    case EfDouble:
    case EfSingle:
    case EfComp: {
        const double low = Ext80AsDouble(efRangeLo.rtExt);
        if (containsZero(low, Ext80AsDouble(efRangeHi.rtExt))) {
            break;
        }
        if (DataType() == EfSingle) {
            value.rtSgl = static_cast<float>(low);
        } else if (DataType() == EfComp) {
            value.rtComp = static_cast<std::int64_t>(RoundHalfEven(low));
        } else {
            value.rtDbl = low;
        }
        break;
    }
    case EfDate:
    case EfTime:
        value.rtDate = -1;
        break;
    default:
        break;
    }
    TransferData(&value, 2);
}

void TPgcBaseEntryField::ChangePictureMask(std::u16string_view Mask)
{
    if (Mask.empty()) {
        return;
    }
    const auto replaceMask = [&] {
        const std::size_t count = std::min<std::size_t>(Mask.size(), kMaxLength);
        std::copy_n(Mask.data(), count, efPicture.begin());
        efPicture[count] = 0;
        efPicLen = static_cast<std::uint16_t>(count);
    };
    if (ComponentState().Contains(plat::csLoading)) {
        replaceMask();
        return;
    }
    std::u16string text;
    TValueBuffer value{};
    void* data = DataType() == EfString ? static_cast<void*>(&text) : static_cast<void*>(&value);
    TransferData(data, 1);
    replaceMask();
    TransferData(data, 2);
}

void TPgcBaseEntryField::IncreaseValue(bool Wrap, double Delta)
{
    Perform(plat::WM_SETREDRAW, 0);
    StepValue(Wrap, Delta);
    SetSelection(0, 0);
    Perform(plat::WM_SETREDRAW, 1);
    Refresh();
}

void TPgcBaseEntryField::DecreaseValue(bool Wrap, double Delta)
{
    IncreaseValue(Wrap, -Delta);
}

// ---- typed accessors ----

void TPgcBaseEntryField::ExpectDataType(std::initializer_list<std::uint8_t> Types) const
{
    for (std::uint8_t type : Types) {
        if (type == DataType()) {
            return;
        }
    }
    throw EInvalidDataType();
}

template <class T>
T TPgcBaseEntryField::ReadValueAs(T ErrorValue)
{
    TValueBuffer value{};
    FLastError = GetValue(&value);
    if (FLastError != 0) {
        return ErrorValue;
    }
    switch (DataType()) {
    case EfBoolean:
    case EfYesNo:
        return static_cast<T>(value.Boolean);
    case EfLongInt:
        return static_cast<T>(value.Long);
    case EfWord:
        return static_cast<T>(value.Word);
    case EfInteger:
        return static_cast<T>(value.Integer);
    case EfByte:
        return static_cast<T>(value.Byte);
    case EfShortInt:
        return static_cast<T>(value.Short);
    case EfReal:
    case EfExtended:
    case EfDouble:
    case EfDateTime:
        return static_cast<T>(value.Real);
    case EfSingle:
        return static_cast<T>(value.Single);
    case EfComp:
        return static_cast<T>(value.Comp);
    default:
        return static_cast<T>(value.Long);   // day numbers and seconds
    }
}

bool TPgcBaseEntryField::AsBoolean()
{
    ExpectDataType({EfBoolean, EfYesNo});
    return ReadValueAs<bool>(false);
}

void TPgcBaseEntryField::SetAsBoolean(bool Value)
{
    ExpectDataType({EfBoolean, EfYesNo});
    SetValue(&Value);
}

std::int32_t TPgcBaseEntryField::AsInteger()
{
    ExpectDataType({EfLongInt, EfWord, EfInteger, EfByte, EfShortInt});
    return ReadValueAs<std::int32_t>(0);
}

void TPgcBaseEntryField::SetAsInteger(std::int32_t Value)
{
    ExpectDataType({EfLongInt, EfWord, EfInteger, EfByte, EfShortInt});
    static constexpr std::int32_t kLow[] = {0, 0, -32768, 0, -128};
    static constexpr std::int32_t kHigh[] = {0, 65535, 32767, 255, 127};
    const std::size_t index = DataType() - EfLongInt;
    if (DataType() != EfLongInt && (Value < kLow[index] || Value > kHigh[index])) {
        throw EInvalidRangeValue(DataType());
    }
    TValueBuffer value{};
    value.Long = Value;   // the low bytes hold the narrower types
    SetValue(&value);
}

double TPgcBaseEntryField::AsFloat()
{
    ExpectDataType({EfLongInt, EfWord, EfInteger, EfByte, EfShortInt, EfReal, EfExtended, EfDouble, EfSingle,
                    EfComp});
    return ReadValueAs<double>(0);
}

void TPgcBaseEntryField::SetAsFloat(double Value)
{
    ExpectDataType({EfReal, EfExtended, EfDouble, EfSingle, EfComp});
    TValueBuffer value{};
    if (DataType() == EfSingle) {
        value.Single = CheckedSingle(Value);
    } else if (DataType() == EfComp) {
        value.Comp = TruncatedComp(Value);
    } else {
        value.Real = Value;
    }
    SetValue(&value);
}

double TPgcBaseEntryField::AsExtended()
{
    return AsFloat();
}

void TPgcBaseEntryField::SetAsExtended(double Value)
{
    ExpectDataType({EfExtended, EfComp});
    SetAsFloat(Value);
}

std::int32_t TPgcBaseEntryField::AsCents()
{
    ExpectDataType({EfReal, EfExtended, EfDouble, EfSingle});
    const double value = ReadValueAs<double>(0);
    return FLastError != 0 ? 0 : SaturatedInt32(RoundHalfEven(value * 100));
}

void TPgcBaseEntryField::SetAsCents(std::int32_t Value)
{
    ExpectDataType({EfReal, EfExtended, EfDouble, EfSingle});
    const double value = static_cast<double>(static_cast<std::int64_t>(Value) * 100) / 10000;
    TValueBuffer buffer{};
    if (DataType() == EfSingle) {
        buffer.Single = static_cast<float>(value);
    } else {
        buffer.Real = value;
    }
    SetValue(&buffer);
}

plat::TDateTime TPgcBaseEntryField::AsDateTime()
{
    ExpectDataType({EfDate, EfTime, EfDateTime});
    if (DataType() == EfDateTime) {
        return ReadValueAs<double>(0);
    }
    const std::int32_t value = ReadValueAs<std::int32_t>(-1);
    if (value == -1) {
        return 0;
    }
    return DataType() == EfDate ? DayNumberToDateTime(value) : SecondsOfDayToDateTime(value);
}

void TPgcBaseEntryField::SetAsDateTime(plat::TDateTime Value)
{
    ExpectDataType({EfDate, EfTime, EfDateTime});
    TValueBuffer value{};
    if (DataType() == EfDateTime) {
        value.Real = Value;
    } else if (DataType() == EfDate) {
        std::int32_t day = 0;
        std::int32_t month = 0;
        std::int32_t year = 0;
        DayNumberToDMY(DateTimeToDayNumber(Value), day, month, year);
        const std::int32_t julian = DateToDayNumber(day, month, year, Epoch());
        value.Long = julian == DateTimeToDayNumber(-1) ? -1 : julian;
    } else {
        value.Long = DateTimeToSecondsOfDay(Value);
    }
    SetValue(&value);
}

std::int32_t TPgcBaseEntryField::AsPgcDate()
{
    ExpectDataType({EfDate});
    return ReadValueAs<std::int32_t>(-1);
}

void TPgcBaseEntryField::SetAsPgcDate(std::int32_t Value)
{
    ExpectDataType({EfDate});
    SetValue(&Value);
}

std::int32_t TPgcBaseEntryField::AsPgcTime()
{
    ExpectDataType({EfTime});
    return ReadValueAs<std::int32_t>(-1);
}

void TPgcBaseEntryField::SetAsPgcTime(std::int32_t Value)
{
    ExpectDataType({EfTime});
    SetValue(&Value);
}

std::string TPgcBaseEntryField::AsString()
{
    if (DataType() == EfString) {
        std::u16string text;
        FLastError = GetValue(&text);
        return FLastError != 0 ? std::string() : plat::Utf16ToUtf8(text);
    }
    std::u16string text = EditText();
    if (FOptions.Contains(efoTrimBlanks)) {
        const std::size_t first = text.find_first_not_of(u' ');
        const std::size_t last = text.find_last_not_of(u' ');
        text = first == std::u16string::npos ? std::u16string() : text.substr(first, last - first + 1);
    }
    FLastError = 0;
    return plat::Utf16ToUtf8(text);
}

void TPgcBaseEntryField::SetAsString(const std::string& Value)
{
    if (sefOptions.Contains(sefUserValidating)) {
        return;
    }
    const std::u16string text = plat::Utf8ToUtf16(Value);
    switch (DataType()) {
    case EfString:
        SetValue(&text);
        return;
    case EfBoolean:
    case EfYesNo: {
        const char16_t first = text.empty() ? char16_t(0) : UpCaseWideChar(text[0]);
        const bool value = !text.empty() && (first == FIntlSup->TrueChar || first == FIntlSup->YesChar);
        SetValue(&value);
        return;
    }
    default:
        break;
    }
    const std::optional<TRangeType> converted = TextToRange(text);
    if (!converted) {
        RaiseInvalidForType();
    }
    NarrowAndSetValue(*converted);
}

void TPgcBaseEntryField::NarrowAndSetValue(const TRangeType& Converted)
{
    TValueBuffer value{};
    switch (DataType()) {
    case EfLongInt:
    case EfWord:
    case EfInteger:
    case EfByte:
    case EfShortInt:
        // The range text's conversion has refused values outside the type.
        value.Long = static_cast<std::int32_t>(Converted.rtLong);
        break;
    case EfExtended:
    case EfDouble:
        value.Real = Ext80AsDouble(Converted.rtExt);
        break;
    case EfSingle:
        value.Single = static_cast<float>(Ext80AsDouble(Converted.rtExt));
        break;
    case EfComp:
        value.Comp = static_cast<std::int64_t>(RoundHalfEven(Ext80AsDouble(Converted.rtExt)));
        break;
    default:
        std::memcpy(value.Bytes, Converted.rt10, sizeof Converted.rt10);
        break;
    }
    SetValue(&value);
}

TEfVariant TPgcBaseEntryField::AsVariant()
{
    switch (DataType()) {
    case EfBoolean:
    case EfYesNo:
        return AsBoolean();
    case EfLongInt:
    case EfWord:
    case EfInteger:
    case EfByte:
    case EfShortInt:
        return AsInteger();
    case EfReal:
    case EfDouble:
    case EfSingle:
        return AsFloat();
    case EfExtended:
    case EfComp:
        return AsExtended();
    default:
        return AsString();
    }
}

void TPgcBaseEntryField::SetAsVariant(const TEfVariant& Value)
{
    const std::uint8_t type = DataType();
    const auto textOf = [](const TEfVariant& V) -> std::string {
        if (const auto* b = std::get_if<bool>(&V)) {
            return *b ? "True" : "False";
        }
        if (const auto* i = std::get_if<std::int32_t>(&V)) {
            return std::to_string(*i);
        }
        if (const auto* d = std::get_if<double>(&V)) {
            char buffer[40];
            std::snprintf(buffer, sizeof buffer, "%.15g", *d);
            return buffer;
        }
        if (const auto* t = std::get_if<TEfVariantDate>(&V)) {
            char buffer[40];
            std::snprintf(buffer, sizeof buffer, "%.15g", t->Value);
            return buffer;
        }
        return std::get<std::string>(V);
    };
    if (std::holds_alternative<std::monostate>(Value)) {
        return;
    }
    if (const auto* i = std::get_if<std::int32_t>(&Value); i != nullptr && type >= EfLongInt && type <= EfShortInt) {
        SetAsInteger(*i);
    } else if (const auto* d = std::get_if<double>(&Value); d != nullptr && type >= EfReal && type <= EfComp) {
        SetAsFloat(*d);
    } else if (const auto* t = std::get_if<TEfVariantDate>(&Value); t != nullptr && type == EfDate) {
        SetAsDateTime(t->Value);
    } else if (const auto* b = std::get_if<bool>(&Value); b != nullptr && (type == EfBoolean || type == EfYesNo)) {
        SetAsBoolean(*b);
    } else {
        SetAsString(textOf(Value));
    }
}

// ---- range bounds as records ----

void TPgcBaseEntryField::SetRangeBound(TRangeType& Bound, const TRangeType& Value)
{
    TRangeType widened = Value;
    switch (DataType()) {
    case EfWord:
        widened.rtLong = Value.rtWord;
        break;
    case EfByte:
        widened.rtLong = Value.rtByte;
        break;
    case EfInteger:
        widened.rtLong = Value.rtInt;
        break;
    case EfShortInt:
        widened.rtLong = Value.rtSht;
        break;
    case EfDouble:
        widened = TRangeType{};
        widened.rtExt = Ext80FromDouble(Value.rtDbl);
        break;
    case EfSingle:
        widened = TRangeType{};
        widened.rtExt = Ext80FromDouble(Value.rtSgl);
        break;
    case EfComp:
        widened = TRangeType{};
        widened.rtExt = Ext80FromDouble(static_cast<double>(Value.rtComp));
        break;
    default:
        break;   // EfLongInt copies its 8 bytes, the others their 10
    }
    Bound = widened;
}

void TPgcBaseEntryField::SetRangeHi(const TRangeType& Value)
{
    SetRangeBound(efRangeHi, Value);
}

void TPgcBaseEntryField::SetRangeLo(const TRangeType& Value)
{
    SetRangeBound(efRangeLo, Value);
}

std::string TPgcBaseEntryField::RangeHi() const
{
    return plat::Utf16ToUtf8(RangeToText(efRangeHi));
}

std::string TPgcBaseEntryField::RangeLo() const
{
    return plat::Utf16ToUtf8(RangeToText(efRangeLo));
}

void TPgcBaseEntryField::SetRangeText(TRangeType& Bound, const std::string& Value)
{
    if (ComponentState().Contains(plat::csLoading)) {
        return;
    }
    const std::optional<TRangeType> converted = TextToRange(plat::Utf8ToUtf16(Value));
    if (!converted) {
        throw EInvalidRangeValue(DataType());
    }
    Bound = *converted;
}

void TPgcBaseEntryField::SetRangeHiText(const std::string& Value)
{
    SetRangeText(efRangeHi, Value);
}

void TPgcBaseEntryField::SetRangeLoText(const std::string& Value)
{
    SetRangeText(efRangeLo, Value);
}

// ---- epoch ----

int TPgcBaseEntryField::Epoch() const
{
    int epoch = FEpoch;
    if (ComponentState().Contains(plat::csWriting)) {
        return epoch;
    }
    OnGetEpoch(const_cast<TPgcBaseEntryField*>(this), epoch);
    if (epoch == 0 && HasController()) {
        epoch = Controller()->Epoch();
    }
    return epoch;
}

void TPgcBaseEntryField::SetEpoch(int Value)
{
    if (Value == FEpoch
        || (Value != 0 && (Value < TPgcController::kMinEpoch || Value > TPgcController::kMaxEpoch))) {
        return;
    }
    FEpoch = Value;
    if (HasController() && Controller()->Epoch() == FEpoch) {
        FEpoch = 0;   // the field follows its controller
    }
}

// ---- validation ----

std::uint16_t TPgcBaseEntryField::RequiredInputError() const
{
    const bool required = FOptions.Contains(efoInputRequired) && !IsReadOnly();
    const bool blank = EditTextIsBlank() || (FUninitialized && !sefOptions.Contains(sefModified));
    return required && blank ? epeInputRequired : 0;
}

void TPgcBaseEntryField::RunValidation()
{
    FLastError = RequiredInputError();
    if (FLastError != 0) {
        return;
    }
    sefOptions.Include(sefValidating);
    struct TClear {
        TsefOptionSet& Flags;
        ~TClear() { Flags.Exclude(sefValidating); }
    } clear{sefOptions};
    FLastError = ValidateValue();
}

std::uint16_t TPgcBaseEntryField::ValidateContents(bool ReportError)
{
    const plat::TWinControl* parent = Parent();
    if (!Enabled() || !Visible() || parent == nullptr || !parent->Enabled() || !parent->Visible()) {
        return 0;
    }
    const bool wasValid = IsValid();
    RunValidation();
    if (ReportError && FLastError != 0 && HandleAllocated()) {
        plat::PostMessage(FHandle, PGCM_REPORTERROR, FLastError, 0);
    }
    if (FLastError == 0) {
        sefOptions.Exclude(sefInvalid);
    } else if (FOptions.Contains(efoSoftValidation)) {
        sefOptions.Include(sefInvalid);
    }
    if (IsValid() != wasValid) {
        Invalidate();
    }
    return FLastError;
}

bool TPgcBaseEntryField::ValidateSelf()
{
    return ValidateContents(!FOptions.Contains(efoSoftValidation)) == 0;
}

bool TPgcBaseEntryField::CheckBeforeLeave(bool SoftAllowed)
{
    if (!Visible() || !Enabled()) {
        return true;
    }
    HandleNeeded();
    RunValidation();
    efHPos = std::min(efHPos, EditLength());
    if (FLastError == 0) {
        sefOptions.Exclude(sefInvalid);
        return true;
    }
    if (SoftAllowed && FOptions.Contains(efoSoftValidation)) {
        sefOptions.Include(sefInvalid);
        return true;
    }
    if (FOptions.Contains(efoSoftValidation)) {
        sefOptions.Include(sefInvalid);
    }
    sefOptions.Include(sefErrorPending);
    if (HaveFocus()) {
        sefOptions.Include(sefRetainPos);
    }
    // The focus request and report below count as a soft failure while they
    // are being posted.
    const bool soft = FOptions.Contains(efoSoftValidation);
    FOptions.Include(efoSoftValidation);
    RequestFocusBack();
    TPgcController* controller = Controller();
    if (!controller->ErrorPending()) {
        plat::PostMessage(FHandle, PGCM_REPORTERROR, FLastError, 0);
    }
    controller->SetErrorPending(true);
    if (!soft) {
        FOptions.Exclude(efoSoftValidation);
    }
    return false;
}

void TPgcBaseEntryField::RequestFocusBack()
{
    Controller()->PostControllerMessage(PGCM_SHOWCONTROL, 0, this);
}

std::u16string TPgcBaseEntryField::ErrorTextOf(std::uint16_t Code) const
{
    if (Code >= epeUserFirst) {
        return plat::Utf8ToUtf16(Controller()->ErrorText());
    }
    if (Code >= epeRangeError && Code <= epePartialEntry) {
        return MessageTextByNumber(static_cast<std::uint16_t>(kMsgFirstError + (Code - epeRangeError)));
    }
    return MessageTextByNumber(kMsgEntryError);
}

void TPgcBaseEntryField::PgcmReportError(plat::TMessage& Msg)
{
    const auto code = static_cast<std::uint16_t>(Msg.WParam);
    if (code == 0) {
        return;
    }
    const std::string text = plat::Utf16ToUtf8(ErrorTextOf(code));
    TPgcController* controller = Controller();
    if (text != controller->ErrorText()) {
        controller->SetErrorText(text);
    }
    DoOnError(code, text);
}

void TPgcBaseEntryField::DoOnError(std::uint16_t ErrorCode, const std::string& ErrorMsg)
{
    if (OnError) {
        OnError(this, ErrorCode, ErrorMsg);
    } else {
        Controller()->DoOnError(this, ErrorCode, ErrorMsg);
    }
}

void TPgcBaseEntryField::DoOnUserValidation(std::uint16_t& ErrorCode)
{
    if (!sefOptions.Contains(sefNoUserValidate)) {
        OnUserValidation(this, ErrorCode);
    }
}

} // namespace qel
