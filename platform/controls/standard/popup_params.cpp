// The creation parameters of popup windows.
#include "platform/controls/standard/popup_params.h"

namespace plat {

void SetPopupParams(TCreateParams& params, const TControl& control, DWORD style, DWORD exStyle, HWND owner)
{
    params.Caption.clear();
    params.Style = WS_POPUP | style;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | exStyle;
    params.ClassStyle = CS_SAVEBITS;
    params.X = control.Left();
    params.Y = control.Top();
    params.Width = control.Width();
    params.Height = control.Height();
    params.WndParent = owner;
}

} // namespace plat
