// The screen object: the table of numbered cursors (the standard ones from
// crDefault down to crSizeAll, and any the program adds, such as 2020), the
// cursor that overrides every control's, the forms, the active form and
// control, and the screen's size and work area.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/controls/control_types.h"
#include "platform/controls/cursors.h"
#include "platform/objects/component.h"

#include <map>
#include <vector>

namespace plat {

class TCustomForm;
class TWinControl;

class TScreen : public TComponent {
    PLAT_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    // The cursor of a number; an unknown number gives the default cursor.
    HCURSOR Cursors(TCursor index) const;
    // Enters a cursor under its number; 0 takes the number out (standard
    // numbers then fall back to their standard cursor).
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
    std::map<TCursor, HCURSOR> FCursors;
    TCursor FCursor = crDefault;
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TCustomForm* FFocusedForm = nullptr;
    TWinControl* FActiveControl = nullptr;
};

// The screen of the running application (nullptr when none runs).
extern TScreen* Screen;

} // namespace plat
