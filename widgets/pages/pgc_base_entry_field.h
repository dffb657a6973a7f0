// TPgcBaseEntryField: the abstract base of the library's one-line data-entry
// controls. A field edits one value of a declared data type in a fixed edit
// buffer of at most 255 characters, optionally shaped by a picture mask,
// checks it against a low and a high range bound and reports errors through
// its controller. Concrete field classes supply EditCommand, ValidateValue,
// StepValue and the conversion part of TransferData.
//
// The class is split over four sources: the data model and window
// (pgc_base_entry_field.cpp), focus, commands, caret and clipboard
// (pgc_entry_field_input.cpp), values and validation
// (pgc_entry_field_values.cpp), range texts (pgc_entry_field_ranges.cpp)
// and painting (pgc_entry_field_paint.cpp).
#pragma once

#include "widgets/pages/pgc_base_controls.h"
#include "widgets/pages/pgc_border.h"
#include "widgets/pages/pgc_controller.h"
#include "widgets/pages/pgc_data.h"
#include "widgets/pages/pgc_ef_colors.h"
#include "widgets/pages/pgc_entry_field_types.h"
#include "widgets/pages/pgc_intl.h"
#include "widgets/pages/pgc_single_caret.h"
#include "widgets/pages/pgc_user_data.h"

#include "platform/date_time.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace plat {
class TDeviceContext;
class TPopupMenu;
class TStream;
}

namespace qel {

// The value an entry field's AsVariant reads and takes: nothing, a Boolean,
// an integer, a floating value, a date or a text.
struct TEfVariantDate {
    double Value;
};
using TEfVariant = std::variant<std::monostate, bool, std::int32_t, double, TEfVariantDate, std::string>;

// True for the picture-mask characters that stand for an input position.
bool IsPictureMaskChar(char16_t C);
// A whole text as a finite decimal number: an optional sign, digits, one
// decimal point ("." or DecimalChar) and an optional exponent.
std::optional<double> DecimalTextToDouble(std::u16string_view S, char16_t DecimalChar);

class TPgcBaseEntryField : public TPgcCustomControlEx {
    PLAT_CLASS(TPgcBaseEntryField, TPgcCustomControlEx)
    PLAT_MESSAGES(TPgcBaseEntryField, TPgcCustomControlEx)
public:
    enum TBorderStyle { bsNone, bsSingle };
    // The edit buffer holds at most this many characters.
    static constexpr int kMaxLength = 255;

    explicit TPgcBaseEntryField(plat::TComponent* AOwner);
    ~TPgcBaseEntryField() override;

    // ---- data model (pgc_base_entry_field.cpp) ----
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value) override;
    TPgcBorders* Borders() const { return FBorders.get(); }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    TPgcCaret* CaretIns() const { return efCaret->InsCaretType(); }
    TPgcCaret* CaretOvr() const { return efCaret->OvrCaretType(); }
    void SetCaretIns(TPgcCaret* Value);
    void SetCaretOvr(TPgcCaret* Value);
    plat::TColor ControlCharColor() const { return FCtrlColor; }
    void SetControlCharColor(plat::TColor Value);
    std::uint8_t DecimalPlaces() const { return FDecimalPlaces; }
    void SetDecimalPlaces(std::uint8_t Value);
    TPgcEfColors* EFColors() const { return FEFColors.get(); }
    std::uint16_t MaxLength() const { return FMaxLength; }
    // Taken while loading; otherwise only a change within 1 .. 255 and not
    // below the picture's length, which cuts the text and remakes the window.
    void SetMaxLength(std::uint16_t Value);
    TPgcEntryFieldOptions Options() const { return FOptions; }
    void SetOptions(TPgcEntryFieldOptions Value);
    char16_t PadChar() const { return FPadChar; }
    void SetPadChar(char16_t Value);
    char16_t PasswordChar() const { return FPasswordChar; }
    // Character 0 also removes efoPasswordMode.
    void SetPasswordChar(char16_t Value);
    int TextMargin() const { return FTextMargin; }
    // Values of 1 or less are ignored.
    void SetTextMargin(int Value);
    bool Uninitialized() const { return FUninitialized; }
    void SetUninitialized(bool Value);
    TZeroDisplay ZeroDisplay() const { return FZeroDisplay; }
    void SetZeroDisplay(TZeroDisplay Value);
    double ZeroDisplayValue() const { return FZeroDisplayValue; }
    void SetZeroDisplayValue(double Value);
    TPgcIntlSup* IntlSupport() const { return FIntlSup; }
    // nullptr selects DefaultIntlSup.
    void SetIntlSupport(TPgcIntlSup* Value);
    TPgcUserData* UserData() const { return FUserData; }
    // nullptr selects DefaultUserData.
    void SetUserData(TPgcUserData* Value);

    std::uint16_t DataSize() const;
    std::uint8_t DataType() const { return static_cast<std::uint8_t>(efDataType & 0x3F); }
    std::uint8_t FieldClass() const { return efFieldClass; }
    std::string EditString() const;
    std::u16string EditText() const { return std::u16string(efEditSt.data()); }
    std::string DisplayString();
    bool EverModified() const;
    void SetEverModified(bool Value);
    bool Modified() const { return sefOptions.Contains(sefModified); }
    void SetModified(bool Value);
    std::uint16_t LastError() const { return FLastError; }
    bool IsValid() const { return !sefOptions.Contains(sefInvalid); }
    TsefOptionSet StateFlags() const { return sefOptions; }
    std::u16string PictureMask() const { return std::u16string(efPicture.data()); }
    // The mask character at Index, or the last one at and beyond the mask's end.
    char16_t PictureCharAt(int Index) const;
    // The characters of a picture string value without literals, terminator
    // included: MaxLength - (PicLen - n) + 1, n the mask's input positions
    // ("$" and "," among them).
    std::uint16_t StrippedDataLength() const;

    // Creates the window when needed, then EditTextIsBlank.
    bool FieldIsEmpty();
    virtual std::u16string GetStrippedEditString() const { return EditText(); }
    // At most MaxLength characters of S into the edit buffer.
    virtual void MergeWithPicture(std::u16string_view S);

    // ---- focus, commands, caret, clipboard (pgc_entry_field_input.cpp) ----
    void ClearContents();
    void ClearSelection();
    void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();
    void SelectAll();
    void Deselect() { SetSelection(0, 0); }
    void SetSelection(std::uint16_t Start, std::uint16_t Stop);
    int SelectionStart() const { return efSelStart; }
    void SetSelectionStart(int Value);
    int SelectionLength() const { return efSelEnd - efSelStart; }
    void SetSelectionLength(int Value);
    std::string SelectedText() const;
    void SetSelectedText(const std::string& Value);
    void MoveCaret(int Delta);
    void MoveCaretToEnd() { PlaceCaretAtEnd(); }
    void MoveCaretToStart() { PlaceCaretAtStart(); }
    void ResetCaret() { PlaceCaretByOption(); }
    // The caret index while the field has the focus, else -1.
    int CurrentPos() const;
    virtual void SetCurrentPos(int Value);
    bool InsertMode() const;
    void SetInsertMode(bool Value);
    void ProcessCommand(std::uint16_t Cmd, std::uint16_t CharCode);
    virtual void Restore();
    bool UpdateCaretAndScroll(bool Scroll);
    int HOffset() const { return efHOffset; }
    int TopMargin() const { return efTopMargin; }

    // ---- values and validation (pgc_entry_field_values.cpp) ----
    std::uint16_t GetValue(void* Data);
    void SetValue(const void* Data);
    void SetInitialValue();
    void ChangePictureMask(std::u16string_view Mask);
    void IncreaseValue(bool Wrap, double Delta);
    void DecreaseValue(bool Wrap, double Delta);
    bool AsBoolean();
    void SetAsBoolean(bool Value);
    std::int32_t AsCents();
    void SetAsCents(std::int32_t Value);
    plat::TDateTime AsDateTime();
    void SetAsDateTime(plat::TDateTime Value);
    double AsExtended();
    void SetAsExtended(double Value);
    double AsFloat();
    void SetAsFloat(double Value);
    std::int32_t AsInteger();
    void SetAsInteger(std::int32_t Value);
    std::int32_t AsPgcDate();
    void SetAsPgcDate(std::int32_t Value);
    std::int32_t AsSysDate() { return AsPgcDate(); }
    void SetAsSysDate(std::int32_t Value) { SetAsPgcDate(Value); }
    std::int32_t AsPgcTime();
    void SetAsPgcTime(std::int32_t Value);
    std::int32_t AsSysTime() { return AsPgcTime(); }
    void SetAsSysTime(std::int32_t Value) { SetAsPgcTime(Value); }
    std::string AsString();
    virtual void SetAsString(const std::string& Value);
    std::string Text() { return AsString(); }
    void SetText(const std::string& Value) { SetAsString(Value); }
    TEfVariant AsVariant();
    void SetAsVariant(const TEfVariant& Value);
    int Epoch() const;
    void SetEpoch(int Value);
    bool ValidateSelf();
    virtual std::uint16_t ValidateContents(bool ReportError);
    const TRangeType& RangeHiBound() const { return efRangeHi; }
    const TRangeType& RangeLoBound() const { return efRangeLo; }
    // Widened by data type.
    void SetRangeHi(const TRangeType& Value);
    void SetRangeLo(const TRangeType& Value);
    std::string RangeHi() const;
    std::string RangeLo() const;
    // Raise EInvalidRangeValue for a text that does not convert; the bound stays.
    void SetRangeHiText(const std::string& Value);
    void SetRangeLoText(const std::string& Value);

    // Repaints after the name changes.
    void SetName(const std::string& Value) override;

    // ---- painting and sizing (pgc_entry_field_paint.cpp) ----
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    plat::TNotifyEvent OnChange;
    TValidationErrorEvent OnError;
    TGetEpochEvent OnGetEpoch;
    TUserCommandEvent OnUserCommand;
    TUserValidationEvent OnUserValidation;

protected:
    // ---- data model ----
    bool Designing() const { return ComponentState().Contains(plat::csDesigning); }
    void DefineProperties(plat::TFiler& Filer) override;
    void CreateParams(plat::TCreateParams& Params) override;
    void CreateWnd() override;
    void ComputeDataSize() const;
    virtual void CleanOptions();
    // The class and data type of a concrete field (set by its constructor).
    void SetFieldClassAndType(std::uint8_t FieldClass, std::uint8_t DataType);

    // ---- virtual operations of the field classes ----
    virtual bool CheckBeforeLeave(bool SoftAllowed);
    virtual void PlaceCaretAtEnd();
    virtual void PlaceCaretAtStart();
    // Performs an editing command on the edit buffer. For ccPaste the
    // message's LParam is the address of a zero-terminated text of at most
    // MaxLength characters, to be put in place of the selection.
    virtual void EditCommand(plat::TMessage& Msg, std::uint16_t Cmd) = 0;
    virtual std::uint16_t FirstEditPosition() const { return 0; }
    virtual bool EditTextIsBlank() const;
    // The text to draw, Size characters at most (control characters raised
    // by 64, zero values hidden as ZeroDisplay asks).
    virtual std::u16string BuildDisplayText(std::uint16_t Size);
    virtual bool IsReadOnly() const { return FOptions.Contains(efoReadOnly); }
    virtual void PlaceCaretByOption();
    // The base part: flag 0 and 1 answer DataSize; flag 2 finishes taking a
    // value in (caret, selection, modified flags). Concrete classes convert
    // between Data and the edit buffer and then call it.
    virtual std::uint16_t TransferData(void* Data, std::uint16_t Flag);
    virtual std::uint16_t ValidateValue() = 0;
    virtual void StepValue(bool Wrap, double Delta) = 0;

    virtual void DoOnChange();
    virtual void DoOnError(std::uint16_t ErrorCode, const std::string& ErrorMsg);
    virtual void DoOnUserCommand(std::uint16_t Command);
    virtual void DoOnUserValidation(std::uint16_t& ErrorCode);
    virtual void PopupRestoreClick(plat::TObject* Sender);
    virtual void PopupCutClick(plat::TObject* Sender);
    virtual void PopupCopyClick(plat::TObject* Sender);
    virtual void PopupPasteClick(plat::TObject* Sender);
    virtual void PopupDeleteClick(plat::TObject* Sender);
    virtual void PopupSelectAllClick(plat::TObject* Sender);
    virtual void AdjustHeightToFont();
    virtual std::u16string BuildSampleText();
    virtual void FocusNextControl();
    virtual void FocusPreviousControl();

    // ---- commands and clipboard ----
    void PerformCommand(plat::TMessage& Msg, std::uint16_t Cmd);
    // Puts the selected characters on the clipboard as Unicode text, the
    // control characters of the edit buffer kept as they are.
    void CopySelectionToClipboard();
    void SaveEditString();
    // Edits that change the text call this: modified flags and OnChange.
    void TextChanged();
    // The edit buffer, its length and the selection for the field classes.
    TEditString& EditBuffer() { return efEditSt; }
    int EditLength() const;
    int CaretIndex() const { return efHPos; }
    void SetCaretIndex(int Value) { efHPos = Value; }
    int SelStart() const { return efSelStart; }
    int SelEnd() const { return efSelEnd; }
    bool HaveFocus() const { return sefOptions.Contains(sefHaveFocus); }

    // ---- range texts ----
    // The bound from text by data type; nullopt when it does not convert.
    std::optional<TRangeType> TextToRange(const std::u16string& S) const;
    std::u16string RangeToText(const TRangeType& Bound) const;
    std::u16string IntegerToText(std::int32_t Value) const;
    std::optional<std::int64_t> TextToInteger(const std::u16string& S) const;
    enum class TNumberBase { Decimal, Binary, Octal, Hexadecimal };
    // The base integer texts are read in: binary, octal or hexadecimal, the
    // first the picture names.
    TNumberBase ReadNumberBase() const;
    int RangeDecimalPlaces() const;
    // The field's own date picture (four-digit years), a space and its time
    // picture without seconds.
    std::u16string DateTimePicture() const;
    std::u16string FloatToRangeText(double X, int P) const;

    // ---- painting ----
    void Paint() override;
    // Draws the field's text into DC inside R from the character at Offset.
    void PaintText(plat::TDeviceContext& DC, const plat::TRect& R, int Offset);
    void PaintBorders();
    void ComputeTopMargin();
    int TextWidth(std::u16string_view Text);
    void BordersChanged(plat::TObject* Sender);
    void ColorsChanged(plat::TObject* Sender);

    // ---- message handlers ----
    void WMSetFocus(plat::TMessage& Msg);
    void WMKillFocus(plat::TMessage& Msg);
    void WMKeyDown(plat::TMessage& Msg);
    void WMSysKeyDown(plat::TMessage& Msg);
    void WMChar(plat::TMessage& Msg);
    void WMCopy(plat::TMessage& Msg);
    void WMCut(plat::TMessage& Msg);
    void WMClear(plat::TMessage& Msg);
    void WMPaste(plat::TMessage& Msg);
    void WMSetText(plat::TMessage& Msg);
    void WMGetText(plat::TMessage& Msg);
    void WMGetTextLength(plat::TMessage& Msg);
    void WMGetDlgCode(plat::TMessage& Msg);
    void WMLButtonDown(plat::TMessage& Msg);
    void WMLButtonDblClk(plat::TMessage& Msg);
    void WMMouseMove(plat::TMessage& Msg);
    void WMRButtonUp(plat::TMessage& Msg);
    void WMMouseActivate(plat::TMessage& Msg);
    void EMGetSel(plat::TMessage& Msg);
    void EMSetSel(plat::TMessage& Msg);
    void EMGetModify(plat::TMessage& Msg);
    void EMSetModify(plat::TMessage& Msg);
    void CMDialogChar(plat::TMessage& Msg);
    void PgcmDataSize(plat::TMessage& Msg);
    void PgcmReportError(plat::TMessage& Msg);
    void WMEraseBkgnd(plat::TMessage& Msg);
    void WMSize(plat::TMessage& Msg);
    void CMFontChanged(plat::TMessage& Msg);
    void CMCtl3DChanged(plat::TMessage& Msg);
    void CMEnabledChanged(plat::TMessage& Msg);
    void WMSetFont(plat::TMessage& Msg);
    void WMImeNotify(plat::TMessage& Msg);

    TsefOptionSet sefOptions;   // state flags

private:
    // Value transfer with a temporary of the field's type.
    template <class T>
    T ReadValueAs(T ErrorValue);
    void ExpectDataType(std::initializer_list<std::uint8_t> Types) const;
    // The required-input rule: 258 or 0.
    std::uint16_t RequiredInputError() const;
    // Required-input rule, then ValidateValue with sefValidating: LastError.
    void RunValidation();
    void RequestFocusBack();
    void SignalRefusal();
    // Sends the field's own window the message (nothing without a window).
    void SendToSelf(plat::UINT Msg);
    bool AnotherFieldErrorPending() const;
    bool IsWindowOnSameForm(plat::HWND Window) const;
    void NotifyPreEdit(plat::HWND LosingWindow);
    void NotifyPostEdit(plat::HWND GainingWindow);
    // The input method commits a running composition to the field.
    void CompleteImeComposition();
    // With an East Asian input locale, the composition window stands at the
    // caret (client point X, Y) in the field's font.
    void PlaceCompositionWindow(int X, int Y);
    // Routes a translated key command (shared by WM_KEYDOWN and WM_SYSKEYDOWN).
    void RouteKeyCommand(plat::TMessage& Msg, std::uint16_t Cmd);
    void ShowPopupMenu(plat::TPoint ClientPoint);
    std::u16string ErrorTextOf(std::uint16_t Code) const;
    void SetRangeBound(TRangeType& Bound, const TRangeType& Value);
    void SetRangeText(TRangeType& Bound, const std::string& Value);
    void ReadRangeBound(plat::TStream& Stream, TRangeType& Bound, bool High);
    bool RangeStreamed() const;
    void NarrowAndSetValue(const TRangeType& Converted);
    void PaintOffscreen();
    // Measures in the field's font without a window.
    plat::TDeviceContext& MeasuringDC();

    bool FAutoSize = true;
    std::unique_ptr<TPgcBorders> FBorders;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;                      // a sunken edge in place of the plain border
    plat::TColor FCtrlColor = plat::clRed;
    std::uint8_t FDecimalPlaces = 0;
    std::unique_ptr<TPgcEfColors> FEFColors;
    std::int32_t FEpoch = 0;                 // 0 = the controller's
    TPgcIntlSup* FIntlSup;                   // not owned
    std::uint16_t FLastError = 0;
    std::uint16_t FMaxLength = 15;           // 1 .. 255
    TPgcEntryFieldOptions FOptions{efoCaretToEnd, efoTrimBlanks};
    char16_t FPadChar = u' ';
    char16_t FPasswordChar = u'*';
    std::int32_t FTextMargin = 2;            // pixels between the edge and the text
    bool FUninitialized = false;
    TPgcUserData* FUserData;                 // not owned
    TZeroDisplay FZeroDisplay = zdShow;
    double FZeroDisplayValue = 0;

    std::unique_ptr<TPgcCaretPair> efCaret;
    mutable std::uint16_t efDataSize = 0;    // bytes of the value; 0 until computed
    std::uint8_t efDataType = 0;             // field class * 64 + data type
    TEditString efEditSt{};                  // zero-terminated, at most MaxLength characters
    std::uint8_t efFieldClass = 0;
    std::int32_t efHOffset = 0;              // first character drawn
    std::int32_t efHPos = 0;                 // caret index
    std::uint16_t efPicLen = 1;
    TPictureMask efPicture{};                // zero-terminated
    TRangeType efRangeHi;
    TRangeType efRangeLo;
    bool efRightAlignActive = false;
    std::optional<std::u16string> efSaveEdit; // the edit buffer at focus entry, for Restore
    std::int32_t efSelStart = 0;
    std::int32_t efSelEnd = 0;               // exclusive; equal to efSelStart for no selection
    std::int32_t efTopMargin = 0;

    struct TTextMeasure;
    std::unique_ptr<TTextMeasure> FMeasure;  // made at the first measurement
};

} // namespace qel
