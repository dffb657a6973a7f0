// Mouse cursors: the table of standard shapes, picture cursors and cursor
// resources, and the cursor shown now.
#include "platform/controls/cursors.h"

#include "platform/ascii_case.h"
#include "platform/controls/window_manager.h"

#include <map>

namespace plat {

namespace {

struct TStandardCursor {
    int Id;
    const char* Shape;
};

// Shape names as hosts know them (the CSS cursor names).
constexpr TStandardCursor StandardCursors[] = {
    {IDC_ARROW, "default"},       {IDC_IBEAM, "text"},          {IDC_WAIT, "wait"},
    {IDC_CROSS, "crosshair"},     {IDC_UPARROW, "n-resize"},    {IDC_SIZENWSE, "nwse-resize"},
    {IDC_SIZENESW, "nesw-resize"}, {IDC_SIZEWE, "ew-resize"},   {IDC_SIZENS, "ns-resize"},
    {IDC_SIZEALL, "move"},        {IDC_NO, "not-allowed"},      {IDC_HAND, "pointer"},
    {IDC_APPSTARTING, "progress"}, {IDC_HELP, "help"},
    // Shapes of our own cursor numbers (split bars, dragging).
    {32660, "col-resize"},        {32661, "row-resize"},        {32662, "grabbing"},
    {32663, "copy"},              {32664, "alias"},
};

// Picture cursors get handles above the standard numbers.
constexpr HCURSOR FirstPictureCursor = 0x10000;

struct TCursorTable {
    std::map<HCURSOR, TCursorImage> Pictures;
    std::map<std::string, TCursorImage> Resources; // by folded name
    HCURSOR NextHandle = FirstPictureCursor;
};

TCursorTable& Table()
{
    static TCursorTable table;
    return table;
}

} // namespace

HCURSOR LoadCursor(int id)
{
    for (const TStandardCursor& standard : StandardCursors) {
        if (standard.Id == id) {
            return id;
        }
    }
    return 0;
}

HCURSOR LoadCursorByShape(const std::string& shape)
{
    for (const TStandardCursor& standard : StandardCursors) {
        if (shape == standard.Shape) {
            return standard.Id;
        }
    }
    return 0;
}

HCURSOR CreateCursorFromImage(const TCursorImage& image)
{
    if (!image.Pixels) {
        return 0;
    }
    TCursorTable& table = Table();
    const HCURSOR handle = table.NextHandle++;
    table.Pictures.emplace(handle, image);
    return handle;
}

void RegisterCursorResource(const std::string& name, const TCursorImage& image)
{
    Table().Resources[FoldCase(name)] = image;
}

HCURSOR LoadCursorResource(const std::string& name)
{
    TCursorTable& table = Table();
    const auto at = table.Resources.find(FoldCase(name));
    return at == table.Resources.end() ? 0 : CreateCursorFromImage(at->second);
}

bool DestroyCursor(HCURSOR cursor)
{
    return Table().Pictures.erase(cursor) > 0;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr) {
        return 0;
    }
    const HCURSOR old = manager->CurrentCursor;
    if (old != cursor) {
        manager->CurrentCursor = cursor;
        manager->Host().SetHostCursor(cursor);
    }
    return old;
}

HCURSOR GetCursor()
{
    TWindowManager* manager = TWindowManager::Instance();
    return manager ? manager->CurrentCursor : 0;
}

int ShowCursor(bool show)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr) {
        return show ? 0 : -1;
    }
    manager->CursorShowCount += show ? 1 : -1;
    return manager->CursorShowCount;
}

bool GetCursorInfo(TCursorInfo& info)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr) {
        return false;
    }
    info.flags = manager->CursorShowCount >= 0 ? CURSOR_SHOWING : 0;
    info.hCursor = manager->CurrentCursor;
    info.ptScreenPos = manager->CursorPos;
    return true;
}

std::string CursorShapeName(HCURSOR cursor)
{
    if (cursor == 0) {
        return "default";
    }
    for (const TStandardCursor& standard : StandardCursors) {
        if (standard.Id == cursor) {
            return standard.Shape;
        }
    }
    return {};
}

const TCursorImage* CursorPicture(HCURSOR cursor)
{
    TCursorTable& table = Table();
    const auto at = table.Pictures.find(cursor);
    return at == table.Pictures.end() ? nullptr : &at->second;
}

} // namespace plat
