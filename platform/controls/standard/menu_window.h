// The window of an open pop-up menu and the loop that runs while it shows.
// The menu holds the pointer and sees every key first: the pointer or the
// arrow keys mark an item, a release on an item or Enter chooses it, a
// typed accelerator chooses its item (or marks the next of several), and
// Escape, a press outside the menu or the program losing the keyboard
// close it with nothing chosen. Separators and disabled items cannot be
// chosen. Checked items show a tick (radio items a dot).
#pragma once

#include "platform/canvas/image_list.h"
#include "platform/controls/custom_control.h"
#include "platform/controls/standard/menu_item.h"

#include <vector>

namespace plat {

struct TQueuedInput;

class TMenuWindow : public TCustomControl {
    PLAT_CLASS(TMenuWindow, TCustomControl)
public:
    // Shows the visible items below items with the top-left corner at the
    // screen point (moved to stay on the screen), runs the menu until it
    // closes and answers the item chosen, or nullptr.
    static TMenuItem* Track(TMenuItem& items, TPoint screenPoint, TCustomImageList* images);

    // The item marked now; nullptr when none is.
    TMenuItem* HotItem() const;
    // The items the menu shows, in menu order.
    const std::vector<TMenuItem*>& ShownItems() const { return FShown; }
    // Where an item is shown, in client coordinates; empty when it is not.
    TRect ItemRect(const TMenuItem* item) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    // An item freed while the menu shows leaves it.
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuWindow(TMenuItem& items, TCustomImageList* images);

    // Handles one input while the menu runs; true when it used it.
    bool Input(const TQueuedInput& input);
    // The shown item at a client y, -1 when none.
    int RowAt(int y) const;
    TRect RowRect(int row) const;
    bool Choosable(int row) const;
    void SetHot(int row);
    void MoveHot(int step);
    void Choose(int row);
    void ChooseByAccelerator(char16_t letter);
    void Close() { FDone = true; }
    // Measures the rows and the window for the items.
    TSize Measure();

    std::vector<TMenuItem*> FShown;   // the visible items, in menu order
    std::vector<int> FRowTops;        // client y of each row, and the end
    TCustomImageList* FImages;
    int FHot = -1;
    TMenuItem* FChosen = nullptr;
    bool FDone = false;
};

} // namespace plat
