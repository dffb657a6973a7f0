// The pop-up menu's window: rows, the classic look, and the loop of input
// it runs while open.
#include "platform/controls/standard/menu_window.h"

#include "platform/canvas/gdi_constants.h"
#include "platform/controls/application.h"
#include "platform/controls/screen.h"
#include "platform/controls/standard/popup_params.h"
#include "platform/controls/standard/standard_drawing.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_manager.h"

#include <algorithm>
#include <memory>

namespace plat {

PLAT_DEFINE_CLASS(TMenuWindow, TCustomControl)

namespace {

constexpr int Frame = 3;            // the raised edge and a pixel inside it
constexpr int CheckColumn = 20;     // room for the tick or picture left of the caption
constexpr int RightMargin = 20;
constexpr int SeparatorHeight = 8;

} // namespace

TMenuWindow::TMenuWindow(TMenuItem& items, TCustomImageList* images) : TCustomControl(nullptr), FImages(images)
{
    FVisible = false;
    FColor = clMenu;
    FBrush->SetColor(FColor);
    for (int i = 0; i < items.Count(); ++i) {
        if (items.Items(i)->Visible()) {
            FShown.push_back(items.Items(i));
            items.Items(i)->FreeNotification(this);
        }
    }
}

void TMenuWindow::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    const auto at = std::find(FShown.begin(), FShown.end(), component);
    if (operation != opRemove || at == FShown.end()) {
        return;
    }
    FShown.erase(at);
    FHot = -1;
    if (FChosen == component) {
        FChosen = nullptr;
    }
    if (FShown.empty()) {
        Close();
        return;
    }
    const TSize size = Measure();
    SetBounds(Left(), Top(), size.cx, size.cy);
    Invalidate();
}

void TMenuWindow::CreateParams(TCreateParams& params)
{
    SetPopupParams(params, *this, 0, WS_EX_TOPMOST, GetActiveWindow());
}

TSize TMenuWindow::Measure()
{
    TCanvas& canvas = *Canvas();
    canvas.Font()->Assign(Font());
    const int rowHeight = std::max(plat::LineHeight(canvas) + 6, 19);
    int width = 0;
    int y = Frame;
    FRowTops.clear();
    for (TMenuItem* item : FShown) {
        FRowTops.push_back(y);
        y += item->IsLine() ? SeparatorHeight : rowHeight;
        if (!item->IsLine()) {
            TFontStyles style = Font()->Style();
            if (item->Default()) {
                style.Include(fsBold);
            }
            canvas.Font()->SetStyle(style);
            width = std::max(width, canvas.TextWidth(StripAccelerators(item->Caption())));
        }
    }
    FRowTops.push_back(y);
    return TSize{width + CheckColumn + RightMargin + 2 * Frame, y + Frame};
}

int TMenuWindow::RowAt(int y) const
{
    for (std::size_t row = 0; row + 1 < FRowTops.size(); ++row) {
        if (y >= FRowTops[row] && y < FRowTops[row + 1]) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

TRect TMenuWindow::RowRect(int row) const
{
    const auto index = static_cast<std::size_t>(row);
    return Rect(Frame, FRowTops[index], ClientWidth() - Frame, FRowTops[index + 1]);
}

bool TMenuWindow::Choosable(int row) const
{
    return row >= 0 && row < static_cast<int>(FShown.size()) && !FShown[static_cast<std::size_t>(row)]->IsLine() &&
           FShown[static_cast<std::size_t>(row)]->Enabled();
}

TMenuItem* TMenuWindow::HotItem() const
{
    return FHot >= 0 ? FShown[static_cast<std::size_t>(FHot)] : nullptr;
}

TRect TMenuWindow::ItemRect(const TMenuItem* item) const
{
    const auto at = std::find(FShown.begin(), FShown.end(), item);
    return at == FShown.end() ? TRect{} : RowRect(static_cast<int>(at - FShown.begin()));
}

void TMenuWindow::SetHot(int row)
{
    if (!Choosable(row)) {
        row = -1;
    }
    if (row != FHot) {
        FHot = row;
        Invalidate();
    }
}

void TMenuWindow::MoveHot(int step)
{
    const int count = static_cast<int>(FShown.size());
    int row = FHot < 0 ? (step > 0 ? -1 : count) : FHot;
    for (int tries = 0; tries < count; ++tries) {
        row = (row + step + count) % count;
        if (Choosable(row)) {
            SetHot(row);
            return;
        }
    }
}

void TMenuWindow::Choose(int row)
{
    if (Choosable(row)) {
        FChosen = FShown[static_cast<std::size_t>(row)];
        Close();
    }
}

void TMenuWindow::ChooseByAccelerator(char16_t letter)
{
    std::vector<int> matches;
    for (std::size_t row = 0; row < FShown.size(); ++row) {
        if (!FShown[row]->IsLine() && IsAccelerator(letter, FShown[row]->Caption())) {
            matches.push_back(static_cast<int>(row));
        }
    }
    if (matches.size() == 1) {
        Choose(matches.front());
        return;
    }
    // Several items share the letter: each press marks the next of them.
    for (int row : matches) {
        if (row > FHot && Choosable(row)) {
            SetHot(row);
            return;
        }
    }
    for (int row : matches) {
        if (Choosable(row)) {
            SetHot(row);
            return;
        }
    }
}

bool TMenuWindow::Input(const TQueuedInput& input)
{
    TRect window;
    GetWindowRect(Handle(), window);
    const bool inside = window.Contains(input.X, input.Y);
    const int row = inside ? RowAt(Minus(input.Y, window.Top)) : -1;
    switch (input.Kind) {
    case THostInputKind::MouseMove:
        SetHot(row);
        return true;
    case THostInputKind::ButtonDown:
        if (!inside) {
            Close();
        }
        return true;
    case THostInputKind::ButtonUp:
        if (inside) {
            Choose(row);
        }
        return true;
    case THostInputKind::KeyDown:
        switch (input.Value) {
        case VK_UP:
            MoveHot(-1);
            break;
        case VK_DOWN:
            MoveHot(1);
            break;
        case VK_HOME:
            SetHot(-1);
            MoveHot(1);
            break;
        case VK_END:
            SetHot(-1);
            MoveHot(-1);
            break;
        case VK_RETURN:
            Choose(FHot);
            break;
        case VK_ESCAPE:
        case VK_MENU:
        case VK_F10:
            Close();
            break;
        default:
            break;
        }
        return true;
    case THostInputKind::Char:
        ChooseByAccelerator(static_cast<char16_t>(input.Value));
        return true;
    case THostInputKind::KeyUp:
    case THostInputKind::Wheel:
    case THostInputKind::HorizontalWheel:
        return true;
    case THostInputKind::PointerLeft:
        SetHot(-1);
        return true;
    case THostInputKind::Deactivated:
        Close();
        return false;
    default:
        return false;
    }
}

void TMenuWindow::Paint()
{
    TCanvas& canvas = *Canvas();
    TRect client = ClientRect();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clMenu);
    canvas.FillRect(client);
    canvas.RequireState();
    if (canvas.Handle() == nullptr) {
        return;
    }
    canvas.Handle()->DrawEdge(client, EDGE_RAISED, BF_RECT);
    for (std::size_t index = 0; index < FShown.size(); ++index) {
        const TMenuItem& item = *FShown[index];
        const TRect row = RowRect(static_cast<int>(index));
        if (item.IsLine()) {
            TRect line = Rect(row.Left + 1, row.Top + SeparatorHeight / 2 - 1, row.Right - 1, row.Top + SeparatorHeight / 2 + 1);
            canvas.Handle()->DrawEdge(line, EDGE_ETCHED, BF_TOP);
            continue;
        }
        const bool hot = static_cast<int>(index) == FHot;
        if (hot) {
            canvas.Brush()->SetStyle(bsSolid);
            canvas.Brush()->SetColor(clHighlight);
            canvas.FillRect(row);
        }
        const TColor color = hot ? clHighlightText : clMenuText;
        const TRect mark = Rect(row.Left, row.Top, row.Left + CheckColumn, row.Bottom);
        if (item.Checked()) {
            DrawMenuCheck(canvas, mark, item.RadioItem(), item.Enabled() ? color : clGrayText);
        } else if (FImages != nullptr && item.ImageIndex() >= 0 && item.ImageIndex() < FImages->Count()) {
            FImages->Draw(&canvas, static_cast<int>(mark.Left + (mark.Width() - FImages->Width()) / 2),
                          static_cast<int>(mark.Top + (mark.Height() - FImages->Height()) / 2), item.ImageIndex(),
                          item.Enabled());
        }
        canvas.Font()->Assign(Font());
        if (item.Default()) {
            canvas.Font()->SetStyle(canvas.Font()->Style() + TFontStyles{fsBold});
        }
        const TRect text = Rect(mark.Right, row.Top, row.Right - RightMargin / 2, row.Bottom);
        DrawCaption(canvas, item.Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT, item.Enabled(), color);
    }
}

TMenuItem* TMenuWindow::Track(TMenuItem& items, TPoint screenPoint, TCustomImageList* images)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (Application == nullptr || manager == nullptr) {
        return nullptr;
    }
    std::unique_ptr<TMenuWindow> menu(new TMenuWindow(items, images));
    if (menu->FShown.empty()) {
        return nullptr;
    }
    const TSize size = menu->Measure();
    const TRect area = Screen != nullptr ? Screen->WorkAreaRect() : Bounds(screenPoint.X, screenPoint.Y, size.cx, size.cy);
    // Opens to the right and down from the point, or the other way where the screen ends.
    int left = std::int64_t{screenPoint.X} + size.cx > area.Right ? Minus(screenPoint.X, size.cx) : screenPoint.X;
    int top = std::int64_t{screenPoint.Y} + size.cy > area.Bottom ? Minus(screenPoint.Y, size.cy) : screenPoint.Y;
    left = std::max(left, area.Left);
    top = std::max(top, area.Top);
    menu->SetBounds(left, top, size.cx, size.cy);
    const HWND window = menu->Handle();
    ShowWindow(window, SW_SHOWNOACTIVATE);
    TMenuWindow* running = menu.get();
    const auto hook = std::make_shared<const TInputHook>([running](const TQueuedInput& input) {
        return running->Input(input);
    });
    manager->InputHooks.push_back(hook);
    SetCapture(window);
    const auto end = [&] {
        std::erase(manager->InputHooks, hook);
        if (GetCapture() == window) {
            ReleaseCapture();
        }
    };
    try {
        while (!running->FDone && !Application->Terminated()) {
            Application->HandleMessage();
        }
    } catch (...) {
        end();
        throw;
    }
    end();
    return running->FChosen;
}

} // namespace plat
