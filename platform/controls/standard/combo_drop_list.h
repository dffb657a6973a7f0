// TComboDropList: the list a combo box opens. It is a popup of its own that
// never takes the keyboard (the combo box keeps the focus and moves its
// selection); it holds the mouse while open: the row under the pointer is
// the one shown chosen, a release on a row chooses it, a press elsewhere
// closes it, and its scroll bar scrolls it.
#pragma once

#include "platform/controls/standard/list_box.h"

namespace plat {

class TCustomComboBox;

class TComboDropList : public TCustomListBox {
    PLAT_CLASS(TComboDropList, TCustomListBox)
    PLAT_MESSAGES(TComboDropList, TCustomListBox)
public:
    explicit TComboDropList(TCustomComboBox& combo);

    // Shows the list at screen bounds with a line chosen; byMouse: the
    // release of the press that opened it chooses nothing.
    void Open(const TRect& screenBounds, int index, bool byMouse);
    void Close();
    bool IsOpen() const { return FOpen; }
    // Moves the chosen line as a navigation key does.
    void MoveByKey(std::uint16_t key);
    // The combo box's lines changed.
    void LinesChanged() { ItemsChanged(this); }
    using TCustomListBox::DoMouseWheel;

protected:
    void CreateParams(TCreateParams& params) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool ShowsFocusFrame() const override { return false; }

    // Keys reach the window holding the mouse first: the combo box's keys
    // go to it while the list is open.
    void CNKeyDown(TMessage& message);
    void WMCaptureChanged(TMessage& message);
    void WMVScroll(TMessage& message);
    void WMMouseActivate(TMessage& message);

private:
    bool OnScrollBar(TPoint screen) const;

    TCustomComboBox& FCombo;
    bool FOpen = false;
    bool FAwaitingRelease = false;   // the press that opened it is still held
    bool FScrolling = false;         // its scroll bar tracks the mouse
};

} // namespace plat
