// The bench of the standard-control tests: the controls test bench with a
// helper that places a control on a form, and screenshots written to the
// folder QEL_SCREENSHOT_DIR names (nothing is written without it).
#pragma once

#include "tests/platform/controls/controls_fixture.h"

#include <ostream>
#include <string>

namespace plat {

// Rectangles in failure messages.
inline void PrintTo(const TRect& rect, std::ostream* out)
{
    *out << "(" << rect.Left << ", " << rect.Top << ", " << rect.Right << ", " << rect.Bottom << ")";
}

} // namespace plat

namespace plat::test {

class TStandardTest : public TControlsTest {
protected:
    // Places control (owned by the form) at bounds and shows it.
    template <class T>
    T* Place(TWinControl* parent, const std::string& name, const TRect& bounds)
    {
        T* control = new T(GetParentForm(parent) != nullptr ? static_cast<TComponent*>(GetParentForm(parent)) : parent);
        control->SetName(name);
        control->SetBoundsRect(bounds);
        control->SetParent(parent);
        return control;
    }
    // Writes the window's picture as <name>.png when screenshots are asked for.
    void Shot(HWND topLevel, const std::string& name);
    // The colour of a screen pixel of the host's composed screen.
    TColor ScreenPixel(TPoint screen);
    // The bounds the layout dump gives for a control path ("Form.Panel.OK");
    // an empty rectangle and a test failure when the path is not there.
    TRect DumpedBounds(const std::string& path);
    // Clicks the client point of a control.
    void ClickAt(TControl* control, TPoint client, THostButton button = THostButton::Left);
};

} // namespace plat::test
