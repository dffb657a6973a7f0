// The screen object: the table of numbered cursors (the standard ones from
// crDefault down to crSizeAll, and any the program adds, such as 2020), the
// cursor that overrides every control's, the forms, the active form and
// control, and the screen's size and work area. The cursor table is the
// program's: units enter their cursors at start-up, before the screen
// object is made, and take them out at the end, after it is gone.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/controls/control_types.h"
#include "platform/controls/cursors.h"
#include "platform/objects/component.h"

#include <vector>

namespace plat {

class TCustomForm;
class TWinControl;

class TScreen : public TComponent {
    PLAT_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    // The program's cursor table (ScreenCursors, SetScreenCursors).
    HCURSOR Cursors(TCursor index) const;
    void SetCursors(TCursor index, HCURSOR cursor);
    // Overrides the cursor of every control while it is not crDefault.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);

    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int index) const;
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    TCustomForm* FocusedForm() const { return FFocusedForm; }

    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int PixelsPerInch() const { return 96; }

    TNotifyEvent OnActiveControlChange;
    TNotifyEvent OnActiveFormChange;

    // For forms.
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetFocusedState(TWinControl* control, TCustomForm* form);
    void SetFocusedForm(TCustomForm* form) { FFocusedForm = form; }
    void ControlDestroyed(TWinControl* control);

private:
    TCursor FCursor = crDefault;
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TCustomForm* FFocusedForm = nullptr;
    TWinControl* FActiveControl = nullptr;
};

// The screen of the running application (nullptr when none runs).
extern TScreen* Screen;

// The cursor of a number in the program's table; an unknown number gives
// the default cursor.
HCURSOR ScreenCursors(TCursor index);
// Enters a cursor under its number; 0 takes the number out (standard
// numbers then fall back to their standard cursor).
void SetScreenCursors(TCursor index, HCURSOR cursor);

} // namespace plat
