// The screen object: the cursor table, the screen cursor and the forms.
#include "platform/controls/screen.h"

#include "platform/controls/form.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_manager.h"
#include "platform/object_list.h"

#include <algorithm>
#include <map>

namespace plat {

PLAT_DEFINE_CLASS(TScreen, TComponent)

TScreen* Screen = nullptr;

namespace {

struct TStandardCursorEntry {
    TCursor Number;
    int Id;             // IDC_ number, or 0 with a shape name
    const char* Shape;
};

constexpr TStandardCursorEntry StandardCursorTable[] = {
    {crArrow, IDC_ARROW, nullptr},          {crCross, IDC_CROSS, nullptr},
    {crIBeam, IDC_IBEAM, nullptr},          {crSizeNESW, IDC_SIZENESW, nullptr},
    {crSizeNS, IDC_SIZENS, nullptr},        {crSizeNWSE, IDC_SIZENWSE, nullptr},
    {crSizeWE, IDC_SIZEWE, nullptr},        {crUpArrow, IDC_UPARROW, nullptr},
    {crHourGlass, IDC_WAIT, nullptr},       {crDrag, 0, "grabbing"},
    {crNoDrop, IDC_NO, nullptr},            {crHSplit, 0, "col-resize"},
    {crVSplit, 0, "row-resize"},            {crMultiDrag, 0, "copy"},
    {crSQLWait, IDC_WAIT, nullptr},         {crNo, IDC_NO, nullptr},
    {crAppStart, IDC_APPSTARTING, nullptr}, {crHelp, IDC_HELP, nullptr},
    {crHandPoint, IDC_HAND, nullptr},       {crSizeAll, IDC_SIZEALL, nullptr},
};

HCURSOR StandardCursor(TCursor number)
{
    if (number == crDefault) {
        return LoadCursor(IDC_ARROW);
    }
    for (const TStandardCursorEntry& entry : StandardCursorTable) {
        if (entry.Number == number) {
            return entry.Id != 0 ? LoadCursor(entry.Id) : LoadCursorByShape(entry.Shape);
        }
    }
    return 0;
}

// The program's numbered cursors, the standard ones from the start.
std::map<TCursor, HCURSOR>& CursorTable()
{
    static std::map<TCursor, HCURSOR> table = [] {
        std::map<TCursor, HCURSOR> standard{{crDefault, StandardCursor(crDefault)}};
        for (const TStandardCursorEntry& entry : StandardCursorTable) {
            standard[entry.Number] = StandardCursor(entry.Number);
        }
        return standard;
    }();
    return table;
}

} // namespace

HCURSOR ScreenCursors(TCursor index)
{
    const std::map<TCursor, HCURSOR>& table = CursorTable();
    const auto at = table.find(index);
    if (at != table.end() && at->second != 0) {
        return at->second;
    }
    const auto standard = table.find(crDefault);
    return standard == table.end() ? 0 : standard->second;
}

void SetScreenCursors(TCursor index, HCURSOR cursor)
{
    std::map<TCursor, HCURSOR>& table = CursorTable();
    if (cursor == 0) {
        const HCURSOR standard = StandardCursor(index);
        if (standard != 0) {
            table[index] = standard;
        } else {
            table.erase(index);
        }
        return;
    }
    table[index] = cursor;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner)
{
}

TScreen::~TScreen()
{
    if (Screen == this) {
        Screen = nullptr;
    }
}

HCURSOR TScreen::Cursors(TCursor index) const
{
    return ScreenCursors(index);
}

void TScreen::SetCursors(TCursor index, HCURSOR cursor)
{
    SetScreenCursors(index, cursor);
}

void TScreen::SetCursor(TCursor value)
{
    if (value == FCursor) {
        return;
    }
    FCursor = value;
    if (TWindowManager::Instance() == nullptr) {
        return;
    }
    if (value != crDefault) {
        plat::SetCursor(Cursors(value));
        return;
    }
    // Back to the controls' own cursors: ask the window under the pointer.
    TPoint point;
    GetCursorPos(point);
    if (const HWND window = WindowFromPoint(point)) {
        const LRESULT hit = SendMessage(window, WM_NCHITTEST, 0, PointToLParam(point.X, point.Y));
        SendMessage(window, WM_SETCURSOR, static_cast<WPARAM>(window),
                    MAKELPARAM(static_cast<std::uint16_t>(hit), WM_MOUSEMOVE));
    } else {
        plat::SetCursor(Cursors(crDefault));
    }
}

TCustomForm* TScreen::Forms(int index) const
{
    if (index < 0 || index >= FormCount()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return FForms[static_cast<std::size_t>(index)];
}

int TScreen::Width() const
{
    TWindowManager* manager = TWindowManager::Instance();
    return manager ? static_cast<int>(manager->Host().ScreenRect().Width()) : 0;
}

int TScreen::Height() const
{
    TWindowManager* manager = TWindowManager::Instance();
    return manager ? static_cast<int>(manager->Host().ScreenRect().Height()) : 0;
}

TRect TScreen::WorkAreaRect() const
{
    TWindowManager* manager = TWindowManager::Instance();
    return manager ? manager->Host().WorkArea() : TRect{};
}

void TScreen::AddForm(TCustomForm* form)
{
    FForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form)
{
    std::erase(FForms, form);
    if (FActiveForm == form) {
        FActiveForm = nullptr;
    }
    if (FFocusedForm == form) {
        FFocusedForm = nullptr;
    }
    if (FActiveControl != nullptr && GetParentForm(FActiveControl) == form) {
        FActiveControl = nullptr;
    }
}

void TScreen::ControlDestroyed(TWinControl* control)
{
    if (FActiveControl == control) {
        FActiveControl = nullptr;
    }
}

void TScreen::SetFocusedState(TWinControl* control, TCustomForm* form)
{
    const bool formChanged = FActiveForm != form;
    const bool controlChanged = FActiveControl != control;
    FActiveControl = control;
    FActiveForm = form;
    if (formChanged) {
        OnActiveFormChange(this);
    }
    if (controlChanged) {
        OnActiveControlChange(this);
    }
}

} // namespace plat
