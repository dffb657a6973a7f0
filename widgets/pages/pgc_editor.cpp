// The paragraph editor's frame: construction with its defaults and parts,
// destruction, the settings and their reactions, window creation, focus and
// the platform notifications, and the published form of the class.
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/para_list.h"
#include "widgets/pages/pgc_border.h"
#include "widgets/pages/pgc_colors.h"
#include "widgets/pages/pgc_controller.h"
#include "widgets/pages/pgc_editor_margins.h"
#include "widgets/pages/pgc_fixed_font.h"
#include "widgets/pages/pgc_resources.h"
#include "widgets/pages/pgc_single_caret.h"

#include "platform/canvas/bitmap.h"
#include "platform/controls/cursors.h"
#include "platform/controls/form.h"
#include "platform/controls/screen.h"
#include "platform/controls/window_styles.h"
#include "platform/objects/reader.h"

namespace qel {

PLAT_DEFINE_CLASS(TPgcCustomEditor, TPgcEditBase)

PLAT_DEFINE_CLASS(TPgcEditor, TPgcCustomEditor,
    plat::Published("AutoIndent", &TPgcCustomEditor::AutoIndent, &TPgcCustomEditor::SetAutoIndent).Default(false),
    plat::Published("NewStyleIndent", &TPgcCustomEditor::NewStyleIndent, &TPgcCustomEditor::SetNewStyleIndent)
        .Default(false),
    plat::Published("Borders", &TPgcCustomEditor::Borders, nullptr),
    plat::Published("BorderStyle", &TPgcCustomEditor::BorderStyle, &TPgcCustomEditor::SetBorderStyle,
        {"bsNone", "bsSingle"}).Default(TPgcCustomEditor::bsSingle),
    plat::Published("ByteLimit", &TPgcCustomEditor::ByteLimit, &TPgcCustomEditor::SetByteLimit)
        .Default(TPgcCustomEditor::NoLimit),
    plat::Published("CaretIns", &TPgcCustomEditor::CaretIns, nullptr),
    plat::Published("CaretOvr", &TPgcCustomEditor::CaretOvr, nullptr),
    plat::Published("Ctl3D", &TPgcCustomEditor::Ctl3D, &TPgcCustomEditor::SetCtl3D).Default(true),
    plat::Published("Cursor", &plat::TControl::Cursor, &plat::TControl::SetCursor).Default(plat::crIBeam),
    plat::Published("FixedFont", &TPgcCustomEditor::FixedFont, nullptr),
    plat::Published("HideSelection", &TPgcCustomEditor::HideSelection, &TPgcCustomEditor::SetHideSelection)
        .Default(true),
    plat::Published("HighlightColors", &TPgcCustomEditor::HighlightColors, nullptr),
    plat::Published("InsertMode", &TPgcCustomEditor::InsertMode, &TPgcCustomEditor::SetInsertMode).Default(true),
    plat::Published("LabelInfo", &TPgcCustomControl::LabelInfo, nullptr),
    plat::Published("LeftMargin", &TPgcCustomEditor::LeftMargin, &TPgcCustomEditor::SetLeftMargin),
    plat::Published("RightMargin", &TPgcCustomEditor::RightMargin, &TPgcCustomEditor::SetRightMargin),
    plat::Published("MarginColor", &TPgcCustomEditor::MarginColor, &TPgcCustomEditor::SetMarginColor)
        .Default(plat::clWindow),
    plat::Published("MarginOptions", &TPgcCustomEditor::MarginOptions, nullptr),
    plat::Published("ParaLengthLimit", &TPgcCustomEditor::ParaLengthLimit, &TPgcCustomEditor::SetParaLengthLimit)
        .Default(TPgcCustomEditor::MaxParaLengthLimit),
    plat::Published("ParaLimit", &TPgcCustomEditor::ParaLimit, &TPgcCustomEditor::SetParaLimit)
        .Default(TPgcCustomEditor::NoLimit),
    plat::Published("ReadOnly", &TPgcCustomEditor::ReadOnly, &TPgcCustomEditor::SetReadOnly).Default(false),
    plat::Published("RuleColor", &TPgcCustomEditor::RuleColor, &TPgcCustomEditor::SetRuleColor)
        .Default(plat::clNavy),
    plat::Published("ScrollBars", &TPgcCustomEditor::ScrollBars, &TPgcCustomEditor::SetScrollBars,
        {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}).Default(TPgcCustomEditor::ssBoth),
    plat::Published("ScrollBarsAlways", &TPgcCustomEditor::ScrollBarsAlways,
        &TPgcCustomEditor::SetScrollBarsAlways).Default(false),
    plat::Published("ScrollPastEnd", &TPgcCustomEditor::ScrollPastEnd, &TPgcCustomEditor::SetScrollPastEnd)
        .Default(false),
    plat::Published("ShowBookmarks", &TPgcCustomEditor::ShowBookmarks, &TPgcCustomEditor::SetShowBookmarks)
        .Default(true),
    plat::Published("ShowLineNumbers", &TPgcCustomEditor::ShowLineNumbers, &TPgcCustomEditor::SetShowLineNumbers)
        .Default(false),
    plat::Published("ShowRules", &TPgcCustomEditor::ShowRules, &TPgcCustomEditor::SetShowRules).Default(false),
    plat::Published("ShowWrapColumn", &TPgcCustomEditor::ShowWrapColumn, &TPgcCustomEditor::SetShowWrapColumn)
        .Default(false),
    plat::Published("TabSize", &TPgcCustomEditor::TabSize, &TPgcCustomEditor::SetTabSize).Default(8),
    plat::Published("TabType", &TPgcCustomEditor::TabType, &TPgcCustomEditor::SetTabType,
        {"ttReal", "ttFixed", "ttSmart"}).Default(ttReal),
    plat::Published("TrimWhiteSpace", &TPgcCustomEditor::TrimWhiteSpace, &TPgcCustomEditor::SetTrimWhiteSpace)
        .Default(true),
    plat::Published("UndoBufferSize", &TPgcCustomEditor::UndoBufferSize, &TPgcCustomEditor::SetUndoBufferSize)
        .Default(8192),
    plat::Published("WantEnter", &TPgcCustomEditor::WantEnter, &TPgcCustomEditor::SetWantEnter).Default(true),
    plat::Published("WantTab", &TPgcCustomEditor::WantTab, &TPgcCustomEditor::SetWantTab).Default(false),
    plat::Published("WordWrap", &TPgcCustomEditor::WordWrap, &TPgcCustomEditor::SetWordWrap).Default(false),
    plat::Published("WrapAtLeft", &TPgcCustomEditor::WrapAtLeft, &TPgcCustomEditor::SetWrapAtLeft).Default(true),
    plat::Published("WrapColumn", &TPgcCustomEditor::WrapColumn, &TPgcCustomEditor::SetWrapColumn).Default(80),
    plat::Published("WrapToWindow", &TPgcCustomEditor::WrapToWindow, &TPgcCustomEditor::SetWrapToWindow)
        .Default(false),
    plat::Published("WheelDelta", &TPgcCustomEditor::WheelDelta, &TPgcCustomEditor::SetWheelDelta).Default(1))

PLAT_BEGIN_MESSAGES(TPgcCustomEditor, TPgcEditBase)
    PLAT_MESSAGE(plat::CM_FONTCHANGED, CMFontChanged)
    PLAT_MESSAGE(plat::CM_CTL3DCHANGED, CMCtl3DChanged)
    PLAT_MESSAGE(plat::CM_DIALOGCHAR, CMDialogChar)
    PLAT_MESSAGE(plat::WM_ERASEBKGND, WMEraseBkgnd)
    PLAT_MESSAGE(plat::WM_MOUSEACTIVATE, WMMouseActivate)
    PLAT_MESSAGE(plat::WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(plat::WM_KILLFOCUS, WMKillFocus)
    PLAT_MESSAGE(plat::WM_SIZE, WMSize)
    PLAT_MESSAGE(plat::WM_HSCROLL, WMHScroll)
    PLAT_MESSAGE(plat::WM_VSCROLL, WMVScroll)
    PLAT_MESSAGE(PGCM_SHOWSTATUS, edShowStatusMessage)
    PLAT_MESSAGE(plat::WM_KEYDOWN, WMKeyDown)
    PLAT_MESSAGE(plat::WM_SYSKEYDOWN, WMSysKeyDown)
    PLAT_MESSAGE(plat::WM_CHAR, WMChar)
    PLAT_MESSAGE(plat::WM_GETDLGCODE, WMGetDlgCode)
    PLAT_MESSAGE(plat::WM_SETCURSOR, WMSetCursor)
    PLAT_MESSAGE(plat::WM_LBUTTONDOWN, WMLButtonDown)
    PLAT_MESSAGE(plat::WM_MOUSEMOVE, WMMouseMove)
    PLAT_MESSAGE(plat::WM_LBUTTONUP, WMLButtonUp)
    PLAT_MESSAGE(plat::WM_LBUTTONDBLCLK, WMLButtonDblClk)
    PLAT_MESSAGE(plat::WM_TIMER, WMTimer)
    PLAT_MESSAGE(plat::WM_CAPTURECHANGED, WMCaptureChanged)
PLAT_END_MESSAGES

namespace {

constexpr std::uint16_t DefaultUndoSize = 8192;
constexpr int DefaultWidth = 200;
constexpr int DefaultHeight = 150;
constexpr std::uint32_t AltHeldBit = 1u << 29;     // key data of a character typed with Alt
constexpr plat::WPARAM BackspaceChar = 8;

// Every printable ASCII punctuation character but the underscore, after
// the blanks and line breaks.
constexpr const char* DefaultWordDelimiters = "\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*";

} // namespace

// ---- construction and destruction ----

TPgcCustomEditor::TPgcCustomEditor(plat::TComponent* AOwner)
    : TPgcEditBase(AOwner), FMargins(std::make_unique<TPgcEditorMargins>(this)),
      FWordDelimiters(DefaultWordDelimiters), edPrev(this), edNext(this)
{
    plat::TControlStyle style = ControlStyle();
    style += {plat::csOpaque, plat::csDoubleClicks};
    SetControlStyle(style);
    FClipboardChars.IncludeRange(10, 32);
    edSelCursor = LoadLibraryCursor("PGLINECURSOR");
    NewParaList(DefaultUndoSize, false);
    edCollapseSelection(false);
    CreateCaretAndParts();
    SetCursor(plat::crIBeam);
    SetBounds(Left(), Top(), DefaultWidth, DefaultHeight);
    SetParentColor(false);
}

void TPgcCustomEditor::CreateCaretAndParts()
{
    edCaret = std::make_unique<TPgcCaretPair>(this);
    FHighlightColors = std::make_unique<TPgcColors>(plat::clHighlightText, plat::clHighlight);
    FHighlightColors->OnColorChange = plat::TNotifyEvent(this, &TPgcCustomEditor::edHighlightColorsChanged);
    FBorders = std::make_unique<TPgcBorders>();
    for (TPgcBorder* border : {FBorders->LeftBorder(), FBorders->RightBorder(), FBorders->TopBorder(),
             FBorders->BottomBorder()}) {
        border->OnChange = plat::TNotifyEvent(this, &TPgcCustomEditor::edBordersChanged);
    }
    FFixedFont = std::make_unique<TPgcFixedFont>();
    FFixedFont->SetColor(plat::clWindowText);
    FFixedFont->OnChange = plat::TNotifyEvent(this, &TPgcCustomEditor::edFixedFontChanged);
}

TPgcCustomEditor::~TPgcCustomEditor()
{
    Destroying();
    // The window goes first: its last messages (the focus leaving) still
    // reach a whole editor.
    if (HandleAllocated()) {
        DestroyHandle();
    }
    edCaret.reset();
    if (edSelCursor != 0) {
        plat::DestroyCursor(edSelCursor);
    }
    edDetach();
}

void TPgcCustomEditor::NewParaList(std::uint16_t UndoSize, bool Wrap)
{
    edParas = new TPgcParaList(this, UndoSize, Wrap);
    edParas->SetScreenCursor = [](std::int32_t Cursor) {
        if (plat::Screen != nullptr) {
            plat::Screen->SetCursor(Cursor);
        }
    };
}

// ---- settings ----

void TPgcCustomEditor::SetNewStyleIndent(bool Value)
{
    FNewStyleIndent = Value;
    if (Value) {
        FAutoIndent = true;
    }
}

void TPgcCustomEditor::SetBorderStyle(TBorderStyle Value)
{
    if (Value != FBorderStyle) {
        FBorderStyle = Value;
        edRecreateWnd();
    }
}

void TPgcCustomEditor::SetCtl3D(bool Value)
{
    if (Value != FCtl3D) {
        FCtl3D = Value;
        Perform(plat::CM_CTL3DCHANGED);
    }
}

void TPgcCustomEditor::SetByteLimit(std::int32_t Value)
{
    if (Value < 0) {
        return;
    }
    edParas->SetByteLimit(Value);
    FByteLimit = edParas->MaxBytes();
}

TPgcCaret* TPgcCustomEditor::CaretIns() const
{
    return edCaret->InsCaretType();
}

TPgcCaret* TPgcCustomEditor::CaretOvr() const
{
    return edCaret->OvrCaretType();
}

void TPgcCustomEditor::SetCaretIns(TPgcCaret* Value)
{
    edCaret->SetInsCaretType(Value);
}

void TPgcCustomEditor::SetCaretOvr(TPgcCaret* Value)
{
    edCaret->SetOvrCaretType(Value);
}

void TPgcCustomEditor::SetFixedFont(const plat::TPersistent* Value)
{
    FFixedFont->Assign(Value);
}

void TPgcCustomEditor::SetHideSelection(bool Value)
{
    if (Value != FHideSelection) {
        FHideSelection = Value;
        Invalidate();
    }
}

void TPgcCustomEditor::SetInsertMode(bool Value)
{
    if (Value != FInsertMode) {
        FInsertMode = Value;
        edCaret->SetInsertMode(Value);
        edPositionCaret(0);
    }
}

int TPgcCustomEditor::LeftMargin() const
{
    return FMargins->Left()->LinePosition();
}

void TPgcCustomEditor::SetLeftMargin(int Value)
{
    FMargins->Left()->SetLinePosition(Value);
}

int TPgcCustomEditor::RightMargin() const
{
    return FMargins->Right()->LinePosition();
}

void TPgcCustomEditor::SetRightMargin(int Value)
{
    FMargins->Right()->SetLinePosition(Value);
}

void TPgcCustomEditor::SetMarginColor(plat::TColor Value)
{
    if (Value != FMarginColor) {
        FMarginColor = Value;
        Invalidate();
    }
}

void TPgcCustomEditor::SetParaLengthLimit(std::int32_t Value)
{
    if (Value < 1 || Value > MaxParaLengthLimit || Value == FParaLengthLimit) {
        return;
    }
    edParas->SetMaxParaLen(Value);
    FParaLengthLimit = Value;
    edSetHScrollRange();
    edSetHScrollPos();
}

void TPgcCustomEditor::SetParaLimit(std::int32_t Value)
{
    if (Value < 1) {
        return;
    }
    edParas->SetParaLimit(Value);
    FParaLimit = edParas->MaxParas();
}

void TPgcCustomEditor::SetRuleColor(plat::TColor Value)
{
    FRuleColor = Value;
    if (FShowRules) {
        Invalidate();
    }
}

void TPgcCustomEditor::SetScrollBars(TScrollStyle Value)
{
    if (Value == FScrollBars) {
        return;
    }
    FScrollBars = Value;
    if (Value == ssNone) {
        FScrollBarsAlways = false;
    }
    edRecreateWnd();
}

void TPgcCustomEditor::SetScrollBarsAlways(bool Value)
{
    const bool always = Value && FScrollBars != ssNone;
    if (always != FScrollBarsAlways) {
        FScrollBarsAlways = always;
        edRecreateWnd();
    }
}

void TPgcCustomEditor::SetScrollPastEnd(bool Value)
{
    FScrollPastEnd = Value;
    if (Value) {
        SetWordWrap(false);
    }
}

void TPgcCustomEditor::SetShowBookmarks(bool Value)
{
    if (Value == FShowBookmarks) {
        return;
    }
    FShowBookmarks = Value;
    if (Value) {
        edLoadBookmarkGlyphs();
    } else {
        edBMGlyphs.reset();
    }
    Invalidate();
}

void TPgcCustomEditor::SetShowLineNumbers(bool Value)
{
    if (Value == FShowLineNumbers) {
        return;
    }
    TPgcEditorMargin& left = *FMargins->Left();
    if (Value) {
        edLineNumW = LineNumberWidth();
        if (!Loading()) {
            left.SetLinePosition(left.LinePosition() + edLineNumW + LineNumberGap);
        }
    } else if (!Loading()) {
        left.SetLinePosition(left.LinePosition() - edLineNumW - LineNumberGap);
    }
    FShowLineNumbers = Value;
    Invalidate();
}

void TPgcCustomEditor::SetShowRules(bool Value)
{
    if (Value != FShowRules) {
        FShowRules = Value;
        if (HandleAllocated()) {
            edCalcRowColInfo();
        }
        Invalidate();
    }
}

void TPgcCustomEditor::SetShowWrapColumn(bool Value)
{
    if (Value != FShowWrapColumn) {
        FShowWrapColumn = Value;
        Invalidate();
    }
}

void TPgcCustomEditor::SetTabSize(std::uint8_t Value)
{
    if (Value == 0 || Value == FTabSize) {
        return;
    }
    edParas->SetTabSize(Value);
    FTabSize = edParas->TabSize();
    Invalidate();
}

void TPgcCustomEditor::SetTabType(TTabType Value)
{
    if (Value != FTabType) {
        FTabType = Value;
        Invalidate();
    }
}

void TPgcCustomEditor::SetUndoBufferSize(std::uint16_t Value)
{
    edParas->SetUndoSize(Value);
    FUndoBufferSize = edParas->UndoBuffer().BufSize();
}

void TPgcCustomEditor::SetWordDelimiters(const std::string& Value)
{
    if (!Value.empty()) {
        FWordDelimiters = Value;
    }
}

void TPgcCustomEditor::SetWordWrap(bool Value)
{
    edParas->SetWordWrap(Value);
    FWordWrap = edParas->WordWrap();
    if (FWordWrap) {
        FWrapAtLeft = true;
        FScrollPastEnd = false;
    }
}

void TPgcCustomEditor::SetWrapAtLeft(bool Value)
{
    FWrapAtLeft = edParas->WordWrap() || Value;
}

void TPgcCustomEditor::SetWrapColumn(std::int32_t Value)
{
    if (Value < 1) {
        return;
    }
    edParas->SetWrapColumn(Value);
    FWrapColumn = edParas->WrapColumn();
}

void TPgcCustomEditor::SetWrapToWindow(bool Value)
{
    FWrapToWindow = Value;
    if (HandleAllocated()) {
        edWrapToWindow();
    }
}

void TPgcCustomEditor::edAdjustMargins()
{
    if (!HandleAllocated()) {
        return;
    }
    edCalcRowColInfo();
    edWrapToWindow();
    Repaint();
}

void TPgcCustomEditor::edBordersChanged(plat::TObject*)
{
    for (const TPgcBorder* border : {FBorders->LeftBorder(), FBorders->RightBorder(), FBorders->TopBorder(),
             FBorders->BottomBorder()}) {
        if (border->Enabled()) {
            SetBorderStyle(bsNone);
            SetCtl3D(false);
            break;
        }
    }
    Invalidate();
}

void TPgcCustomEditor::edHighlightColorsChanged(plat::TObject*)
{
    Invalidate();
}

void TPgcCustomEditor::edFixedFontChanged(plat::TObject*)
{
    Perform(plat::CM_FONTCHANGED);
}

void TPgcCustomEditor::edLoadBookmarkGlyphs()
{
    edBMGlyphs = LoadLibraryBitmap("PGMARKERS");
}

// ---- streaming ----

void TPgcCustomEditor::DefineProperties(plat::TFiler& Filer)
{
    TPgcEditBase::DefineProperties(Filer);
    Filer.DefineProperty("Margin", [this](plat::TReader& Reader) { ReadLegacyMargin(Reader); }, {}, false);
}

// Older forms kept one margin for both sides.
void TPgcCustomEditor::ReadLegacyMargin(plat::TReader& Reader)
{
    const int margin = Reader.ReadInteger();
    SetLeftMargin(margin);
    SetRightMargin(margin);
}

// ---- window ----

void TPgcCustomEditor::CreateParams(plat::TCreateParams& Params)
{
    TPgcEditBase::CreateParams(Params);
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) {
        Params.Style |= plat::WS_HSCROLL;
    }
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
        Params.Style |= plat::WS_VSCROLL;
    }
    if (FBorderStyle == bsSingle) {
        if (FCtl3D) {
            Params.ExStyle |= plat::WS_EX_CLIENTEDGE;
        } else {
            Params.Style |= plat::WS_BORDER;
        }
    }
}

void TPgcCustomEditor::CreateWnd()
{
    TPgcEditBase::CreateWnd();
    edHScroll = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    edVScroll = FScrollBars == ssVertical || FScrollBars == ssBoth;
    edSetVScrollRange();
    edSetHScrollRange();
    edCalcRowColInfo();
    edWrapToWindow();
    if (FShowBookmarks) {
        edLoadBookmarkGlyphs();
    }
}

// The focus moves on before the window goes (the form's next control takes
// it) and comes back to the new window.
void TPgcCustomEditor::edRecreateWnd()
{
    if (!HandleAllocated()) {
        return;
    }
    const bool focused = Focused();
    if (focused) {
        if (plat::TCustomForm* form = plat::GetParentForm(this)) {
            plat::SendMessage(form->Handle(), plat::WM_NEXTDLGCTL, 0, 0);
        }
    }
    RecreateWnd();
    if (focused && CanFocus()) {
        SetFocus();
    }
}

void TPgcCustomEditor::CMFontChanged(plat::TMessage& Msg)
{
    Inherited(Msg);
    if (Loading() || !HandleAllocated()) {
        return;
    }
    edCalcRowColInfo();
    edWrapToWindow();
    if (Focused()) {
        edSetCaretMetrics();
        edPositionCaret(0);
    }
}

void TPgcCustomEditor::CMCtl3DChanged(plat::TMessage& Msg)
{
    if (!Loading() && FBorderStyle == bsSingle) {
        edRecreateWnd();
    }
    Inherited(Msg);
}

void TPgcCustomEditor::CMDialogChar(plat::TMessage& Msg)
{
    if (Msg.WParam == BackspaceChar && (static_cast<std::uint32_t>(Msg.LParam) & AltHeldBit) != 0) {
        Msg.Result = 1;
    }
    Inherited(Msg);
}

// The paint covers the whole client area itself.
void TPgcCustomEditor::WMEraseBkgnd(plat::TMessage& Msg)
{
    Msg.Result = 1;
}

void TPgcCustomEditor::WMMouseActivate(plat::TMessage& Msg)
{
    if (!Focused()) {
        Msg.Result = Controller()->ErrorPending() ? plat::MA_NOACTIVATEANDEAT : plat::MA_ACTIVATE;
        return;
    }
    Inherited(Msg);
}

// Every editor and entry field of a controller shares one insert mode,
// which travels with the focus.
void TPgcCustomEditor::WMSetFocus(plat::TMessage& Msg)
{
    Inherited(Msg);
    SetInsertMode(Controller()->InsertMode());
    edCaret->SetLinked(true);
    edSetCaretMetrics();
    edPositionCaret(0);
    edCaret->SetVisible(true);
    if (FHideSelection) {
        edRedraw(false);
    }
}

void TPgcCustomEditor::WMKillFocus(plat::TMessage& Msg)
{
    edCaret->SetLinked(false);
    if (FHideSelection) {
        edRedraw(false);
    }
    Controller()->SetInsertMode(FInsertMode);
    Inherited(Msg);
}

void TPgcCustomEditor::DoOnMouseWheel(plat::TShiftState Shift, std::uint16_t Delta, std::uint16_t XPos,
    std::uint16_t YPos)
{
    TPgcEditBase::DoOnMouseWheel(Shift, Delta, XPos, YPos);
    constexpr std::uint16_t TowardsUser = 0x8000;
    edVScrollBy((Delta & TowardsUser) != 0 ? FWheelDelta : -FWheelDelta);
}

void TPgcCustomEditor::BeginUpdate()
{
    if (HandleAllocated()) {
        plat::SendMessage(Handle(), plat::WM_SETREDRAW, 0, 0);
    }
}

void TPgcCustomEditor::EndUpdate()
{
    if (HandleAllocated()) {
        plat::SendMessage(Handle(), plat::WM_SETREDRAW, 1, 0);
        Invalidate();
    }
}

// ---- events ----

void TPgcCustomEditor::DoOnChange()
{
    OnChange(this);
}

void TPgcCustomEditor::DoOnShowStatus(int LineNum, int ColNum)
{
    OnShowStatus(this, LineNum, ColNum);
}

void TPgcCustomEditor::DoOnTopLineChanged(int Line)
{
    OnTopLineChanged(this, Line);
}

void TPgcCustomEditor::edShowStatusMessage(plat::TMessage& Msg)
{
    DoOnShowStatus(static_cast<int>(Msg.LParam), static_cast<int>(Msg.WParam));
}

} // namespace qel
