// TComboBox: a choice of lines shown in one field with a drop-down list.
// As a list (csDropDownList) Up and Down choose the previous or next line
// and a typed letter the next line starting with it, each running OnChange
// once; Alt+Down, Alt+Up or F4 open and close the list, a click on a line
// of the open list chooses it and closes the list, Escape or a click
// elsewhere closes it unchanged. As an editable box (csDropDown) the field
// is an edit, and typing changes the text.
#pragma once

#include "platform/controls/custom_control.h"
#include "platform/objects/string_list.h"

#include <memory>

namespace plat {

class TComboDropList;
class TComboEdit;

enum TComboBoxStyle { csDropDown, csDropDownList };

class TCustomComboBox : public TCustomControl {
    PLAT_CLASS(TCustomComboBox, TCustomControl)
    PLAT_MESSAGES(TCustomComboBox, TCustomControl)
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TStrings& Items() { return *FItems; }
    bool Sorted() const { return FItems->Sorted(); }
    void SetSorted(bool value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);
    // The chosen line, -1 for none. Setting it runs no event.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    // Lines the open list shows at once.
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value) { FDropDownCount = std::max(value, 1); }
    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    // Opens the list below the field (above when there is no room).
    void DropDown();
    // Closes the list; accept takes the line it shows chosen.
    void CloseUp(bool accept);
    // The editable field, nullptr for a list.
    TComboEdit* EditField() const { return FEdit; }

    void SetBounds(int left, int top, int width, int height) override;

    TNotifyEvent OnChange;     // the user changed the text or the chosen line
    TNotifyEvent OnSelect;     // the user chose a line
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    virtual void Change();
    virtual void Select();

    void WMGetDlgCode(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMSysKeyDown(TMessage& message);
    void WMChar(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void WMSetText(TMessage& message);
    void WMSize(TMessage& message);
    void CMChildKey(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message);

private:
    friend class TComboEdit;
    friend class TComboDropList;
    // A key for the combo box, from itself or its edit; true when it took it.
    bool ComboKey(std::uint16_t key, bool alt);
    // Chooses a line for the user: text, OnChange and OnSelect on a change.
    void ChooseByUser(int index);
    void EditTextChanged();
    void ItemsChanged(TObject* sender);
    TRect ButtonRect() const;
    TRect FieldRect() const;
    int FieldHeight();
    void PlaceEdit();

    std::unique_ptr<TStringList> FItems;
    std::unique_ptr<TComboDropList> FDropList;   // made on the first drop-down, kept
    TComboEdit* FEdit = nullptr;                 // the editable field (a child)
    TComboBoxStyle FStyle = csDropDown;
    int FItemIndex = -1;
    int FDropDownCount = 8;
    bool FSettingEdit = false;                   // the program, not the user, sets the edit's text
};

class TComboBox : public TCustomComboBox {
    PLAT_CLASS(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

} // namespace plat
