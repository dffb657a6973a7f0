// TComboBox: the field with its drop-down button, keys and mouse, and the
// choice between its lines.
#include "platform/controls/standard/combo_box.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/controls/screen.h"
#include "platform/controls/standard/combo_drop_list.h"
#include "platform/controls/standard/combo_edit.h"
#include "platform/controls/standard/standard_drawing.h"
#include "platform/controls/system_metrics.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"

namespace plat {

PLAT_DEFINE_CLASS(TCustomComboBox, TCustomControl,
    Published("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount).Default(8),
    Published("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex).Default(-1),
    Published("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted).Default(false),
    Published("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle, {"csDropDown", "csDropDownList"})
        .Default(csDropDown),
    Published("TabStop", &TCustomComboBox::TabStop, &TCustomComboBox::SetTabStop).Default(true))
PLAT_DEFINE_CLASS(TComboBox, TCustomComboBox)

PLAT_BEGIN_MESSAGES(TCustomComboBox, TCustomControl)
    PLAT_MESSAGE(WM_GETDLGCODE, WMGetDlgCode)
    PLAT_MESSAGE(WM_KEYDOWN, WMKeyDown)
    PLAT_MESSAGE(WM_SYSKEYDOWN, WMSysKeyDown)
    PLAT_MESSAGE(WM_CHAR, WMChar)
    PLAT_MESSAGE(WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(WM_KILLFOCUS, WMKillFocus)
    PLAT_MESSAGE(WM_SETTEXT, WMSetText)
    PLAT_MESSAGE(WM_SIZE, WMSize)
    PLAT_MESSAGE(CM_CHILDKEY, CMChildKey)
    PLAT_MESSAGE(CM_FONTCHANGED, CMFontChanged)
    PLAT_MESSAGE(CM_ENABLEDCHANGED, CMEnabledChanged)
PLAT_END_MESSAGES

namespace {

constexpr int TextMargin = 2;
// What the field adds to a line of text: the sunken edge and a margin.
constexpr int FieldExtra = 8;

} // namespace

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TCustomControl(owner), FItems(std::make_unique<TStringList>())
{
    FControlStyle -= TControlStyle{csAcceptsControls, csSetCaption, csClickEvents, csDoubleClicks};
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(FColor);
    FWidth = 145;
    FHeight = 21;
    FItems->OnChange = TNotifyEvent(this, &TCustomComboBox::ItemsChanged);
    FEdit = new TComboEdit(*this);
    FEdit->SetParent(this);
}

TCustomComboBox::~TCustomComboBox()
{
    FItems->OnChange = nullptr;
    FDropList.reset();
}

void TCustomComboBox::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomComboBox::CreateWnd()
{
    TCustomControl::CreateWnd();
    SetHeight(FieldHeight());
    PlaceEdit();
}

int TCustomComboBox::FieldHeight()
{
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());
    return plat::LineHeight(canvas) + FieldExtra;
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height)
{
    // The field's height follows the font, whatever is asked.
    if (HandleAllocated() && !ComponentState().Contains(csLoading)) {
        height = FieldHeight();
    }
    TCustomControl::SetBounds(left, top, width, height);
}

TRect TCustomComboBox::ButtonRect() const
{
    const TRect client = ClientRect();
    return Rect(std::max(client.Left, Minus(client.Right, ScrollBarSize - 1)), client.Top, client.Right, client.Bottom);
}

TRect TCustomComboBox::FieldRect() const
{
    TRect field = ClientRect();
    field.Right = ButtonRect().Left;
    return field;
}

void TCustomComboBox::PlaceEdit()
{
    if (FEdit == nullptr) {
        return;
    }
    const TRect field = InflateRect(FieldRect(), -1, -1);
    FEdit->SetBounds(field.Left, field.Top, SaturateInt(std::max<std::int64_t>(field.Width(), 0)),
                     SaturateInt(std::max<std::int64_t>(field.Height(), 0)));
}

void TCustomComboBox::SetSorted(bool value)
{
    FItems->SetSorted(value);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value)
{
    if (value == FStyle) {
        return;
    }
    FStyle = value;
    if (value == csDropDownList) {
        delete FEdit;
        FEdit = nullptr;
    } else {
        FEdit = new TComboEdit(*this);
        FEdit->SetParent(this);
        PlaceEdit();
    }
    SetItemIndex(FItemIndex);
    Invalidate();
}

void TCustomComboBox::SetItemIndex(int value)
{
    if (value < -1 || value >= FItems->Count()) {
        value = -1;
    }
    FItemIndex = value;
    FText = value >= 0 ? FItems->Get(value) : std::string();
    if (FEdit != nullptr) {
        FSettingEdit = true;
        FEdit->SetText(FText);
        FEdit->SelectAll();
        FSettingEdit = false;
    }
    Invalidate();
}

void TCustomComboBox::ChooseByUser(int index)
{
    if (index < 0 || index >= FItems->Count() || index == FItemIndex) {
        return;
    }
    SetItemIndex(index);
    const auto life = Life();
    Change();
    if (life->Alive()) {
        Select();
    }
}

void TCustomComboBox::Change()
{
    OnChange(this);
}

void TCustomComboBox::Select()
{
    OnSelect(this);
}

void TCustomComboBox::EditTextChanged()
{
    if (FSettingEdit) {
        return;
    }
    FText = FEdit->Text();
    FItemIndex = FItems->IndexOf(FText);
    Change();
}

void TCustomComboBox::ItemsChanged(TObject*)
{
    if (FItemIndex >= FItems->Count()) {
        SetItemIndex(-1);
    }
    if (FDropList != nullptr && FDropList->IsOpen()) {
        FDropList->LinesChanged();
    }
    Invalidate();
}

bool TCustomComboBox::DroppedDown() const
{
    return FDropList != nullptr && FDropList->IsOpen();
}

void TCustomComboBox::SetDroppedDown(bool value)
{
    if (value) {
        DropDown();
    } else {
        CloseUp(false);
    }
}

void TCustomComboBox::DropDown()
{
    if (DroppedDown() || !HandleAllocated()) {
        return;
    }
    const auto life = Life();
    OnDropDown(this);
    if (!life->Alive()) {
        return;
    }
    if (FDropList == nullptr) {
        FDropList = std::make_unique<TComboDropList>(*this);
    }
    const int rows = std::clamp(FItems->Count(), 1, FDropDownCount);
    const int height = rows * FDropList->ItemHeight() + 2 * BorderSize;
    TRect field;
    GetWindowRect(Handle(), field);
    const TRect area = Screen != nullptr ? Screen->WorkAreaRect() : Rect(0, 0, 0, 0);
    int top = field.Bottom;
    if (Screen != nullptr && std::int64_t{top} + height > area.Bottom && std::int64_t{field.Top} - height >= area.Top) {
        top = Minus(field.Top, height);
    }
    const int width = SaturateInt(field.Width());
    int left = field.Left;
    if (Screen != nullptr) {
        left = std::max(std::min<int>(left, SaturateInt(std::int64_t{area.Right} - width)), area.Left);
    }
    FDropList->Open(Bounds(left, top, width, height), FItemIndex, (GetKeyState(VK_LBUTTON) & 0x8000) != 0);
    Invalidate();
}

void TCustomComboBox::CloseUp(bool accept)
{
    if (!DroppedDown()) {
        return;
    }
    const int chosen = FDropList->ItemIndex();
    FDropList->Close();
    Invalidate();
    const auto life = Life();
    if (accept) {
        ChooseByUser(chosen);
        if (!life->Alive()) {
            return;
        }
    }
    OnCloseUp(this);
}

bool TCustomComboBox::ComboKey(std::uint16_t key, bool alt)
{
    const bool dropped = DroppedDown();
    if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
        if (dropped) {
            CloseUp(true);
        } else {
            DropDown();
        }
        return true;
    }
    if (alt) {
        return false;
    }
    if (dropped) {
        switch (key) {
        case VK_RETURN:
            CloseUp(true);
            return true;
        case VK_ESCAPE:
            CloseUp(false);
            return true;
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END:
            FDropList->MoveByKey(key);
            return true;
        default:
            return false;
        }
    }
    const int last = FItems->Count() - 1;
    switch (key) {
    case VK_UP:
        ChooseByUser(std::max(FItemIndex - 1, 0));
        return true;
    case VK_DOWN:
        ChooseByUser(std::min(FItemIndex + 1, last));
        return true;
    case VK_PRIOR:
        ChooseByUser(std::max(FItemIndex - (FDropDownCount - 1), 0));
        return true;
    case VK_NEXT:
        ChooseByUser(std::min(std::max(FItemIndex, 0) + FDropDownCount - 1, last));
        return true;
    case VK_HOME:
        // Home and End move the caret in an editable field.
        if (FEdit == nullptr) {
            ChooseByUser(0);
            return true;
        }
        return false;
    case VK_END:
        if (FEdit == nullptr) {
            ChooseByUser(last);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TCustomComboBox::Paint()
{
    TCanvas& canvas = *Canvas();
    const TRect field = FieldRect();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(FColor);
    canvas.FillRect(field);
    if (FEdit == nullptr) {
        const bool focused = Focused() && !DroppedDown();
        const TRect text = InflateRect(field, -1, -1);
        if (focused) {
            canvas.Brush()->SetColor(clHighlight);
            canvas.FillRect(text);
        }
        canvas.Font()->Assign(Font());
        const TColor color = !Enabled() ? clGrayText : focused ? clHighlightText : Font()->Color();
        DrawCaption(canvas, FText, Rect(text.Left + TextMargin, text.Top, text.Right, text.Bottom),
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, true, color);
        if (focused) {
            canvas.Brush()->SetStyle(bsSolid);
            canvas.DrawFocusRect(text);
        }
    }
    const TRect button = ButtonRect();
    const TRect face = DrawPushButtonFace(canvas, button, DroppedDown(), false);
    DrawArrow(canvas, DroppedDown() ? OffsetRect(face, 1, 1) : face, TArrowDirection::Down,
              Enabled() ? clBtnText : clGrayText);
}

void TCustomComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        const auto life = Life();
        if (CanFocus() && !Focused() && (FEdit == nullptr || !FEdit->Focused())) {
            if (FEdit != nullptr) {
                FEdit->SetFocus();
            } else {
                SetFocus();
            }
            if (!life->Alive()) {
                return;
            }
        }
        if (DroppedDown()) {
            CloseUp(false);
        } else if (FEdit == nullptr || ButtonRect().Contains(x, y)) {
            DropDown();
        }
        if (!life->Alive()) {
            return;
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

bool TCustomComboBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) {
        return true;
    }
    return DroppedDown() && FDropList->DoMouseWheel(shift, wheelDelta, mousePos);
}

void TCustomComboBox::WMGetDlgCode(TMessage& message)
{
    message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (DroppedDown() ? DLGC_WANTALLKEYS : 0);
}

void TCustomComboBox::WMKeyDown(TMessage& message)
{
    if (DoKeyDown(message)) {
        return;
    }
    ComboKey(static_cast<std::uint16_t>(message.WParam), false);
}

void TCustomComboBox::WMSysKeyDown(TMessage& message)
{
    if (DoKeyDown(message)) {
        return;
    }
    if (!ComboKey(static_cast<std::uint16_t>(message.WParam), true)) {
        DefaultHandler(message);
    }
}

void TCustomComboBox::WMChar(TMessage& message)
{
    if (DoKeyPress(message)) {
        return;
    }
    const auto letter = static_cast<char16_t>(message.WParam);
    if (FEdit != nullptr || letter <= u' ') {
        return;
    }
    const int index = NextLineWithFirstLetter(*FItems, DroppedDown() ? FDropList->ItemIndex() : FItemIndex, letter);
    if (index < 0) {
        return;
    }
    if (DroppedDown()) {
        FDropList->SetItemIndex(index);
    } else {
        ChooseByUser(index);
    }
}

void TCustomComboBox::WMSetFocus(TMessage& message)
{
    Inherited(message);
    if (FEdit != nullptr && FEdit->CanFocus()) {
        FEdit->SetFocus();
    }
    Invalidate();
}

void TCustomComboBox::WMKillFocus(TMessage& message)
{
    // The focus moving into its own field keeps the list.
    if (FEdit == nullptr || static_cast<HWND>(message.WParam) != FEdit->Handle()) {
        CloseUp(false);
    }
    Invalidate();
    Inherited(message);
}

void TCustomComboBox::WMSetText(TMessage& message)
{
    Inherited(message);
    const int index = FItems->IndexOf(FText);
    if (FEdit != nullptr) {
        FItemIndex = index;
        FSettingEdit = true;
        FEdit->SetText(FText);
        FSettingEdit = false;
    } else {
        SetItemIndex(index);
    }
    Invalidate();
}

void TCustomComboBox::WMSize(TMessage& message)
{
    Inherited(message);
    PlaceEdit();
    Invalidate();
}

void TCustomComboBox::CMChildKey(TMessage& message)
{
    // Keys of the editable field: the list keys belong to the combo box.
    if (FEdit != nullptr && reinterpret_cast<TControl*>(message.LParam) == FEdit &&
        ComboKey(static_cast<std::uint16_t>(message.WParam), GetKeyState(VK_MENU) < 0)) {
        message.Result = 1;
        return;
    }
    Inherited(message);
}

void TCustomComboBox::CMFontChanged(TMessage& message)
{
    Inherited(message);
    if (HandleAllocated()) {
        SetHeight(FieldHeight());
    }
    if (FEdit != nullptr) {
        FEdit->SetFont(Font());
    }
    Invalidate();
}

void TCustomComboBox::CMEnabledChanged(TMessage& message)
{
    CloseUp(false);
    Inherited(message);
    Invalidate();
}

} // namespace plat
