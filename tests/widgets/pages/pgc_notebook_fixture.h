// The bench of the notebook and meter tests: a headless form, a notebook of
// captioned pages on it whose events are written to one log, pixels read
// back from the form's picture, and screenshots written to the folder
// QEL_SCREENSHOT_DIR names (nothing is written without it).
#pragma once

#include "tests/widgets/pages/pgc_form_fixture.h"

#include "widgets/pages/pgc_notebook.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/window.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace qel::test {

class TNotebookTest : public TPgcFormTest {
protected:
    // A notebook at (10, 10), 220 x 185 unless given, with a page per
    // caption (the first active), its events logged.
    TPgcNotebook* NewNotebook(const std::vector<std::string>& Captions, int Width = 220, int Height = 185)
    {
        auto* notebook = new TPgcNotebook(Form);
        notebook->SetName("Book" + std::to_string(++FBooks));
        notebook->SetBounds(10, 10, Width, Height);
        notebook->SetParent(Form);
        for (std::size_t index = 0; index < Captions.size(); ++index) {
            notebook->InsertPage(Captions[index], static_cast<int>(index));
        }
        if (!Captions.empty()) {
            notebook->SetPageIndex(0);
        }
        Log(notebook);
        Pump();
        Events.clear();
        return notebook;
    }

    // The notebook's events in order: "change:2", "changed:2", "click:1".
    void Log(TPgcNotebook* Notebook)
    {
        Notebook->OnPageChange = [this](plat::TObject*, int Index, bool& Allow) {
            Events.push_back("change:" + std::to_string(Index));
            if (DuringChange) {
                DuringChange(Index);
            }
            Allow = AllowChange;
        };
        Notebook->OnPageChanged = [this](plat::TObject*, int Index) {
            Events.push_back("changed:" + std::to_string(Index));
        };
        Notebook->OnTabClick = [this](plat::TObject*, int Index) { Events.push_back("click:" + std::to_string(Index)); };
    }

    // The colour of a pixel of a control's client area as the form shows it.
    plat::TColor PixelOf(plat::TControl* Control, int X, int Y)
    {
        Pump();
        plat::TCustomForm* form = plat::GetParentForm(Control);
        const auto pixels = Host.Capture(form->Handle());
        plat::TRect window;
        plat::GetWindowRect(form->Handle(), window);
        const plat::TPoint screen = Control->ClientToScreen(plat::Point(X, Y));
        const std::uint8_t* pixel = pixels->ScanLine(screen.Y - window.Top) + 4 * (screen.X - window.Left);
        return static_cast<plat::TColor>(pixel[2] | (pixel[1] << 8) | (pixel[0] << 16));
    }

    // Every pixel of a control's client area, row by row.
    std::vector<plat::TColor> PixelsOf(plat::TControl* Control)
    {
        Pump();
        plat::TCustomForm* form = plat::GetParentForm(Control);
        const auto pixels = Host.Capture(form->Handle());
        plat::TRect window;
        plat::GetWindowRect(form->Handle(), window);
        const plat::TPoint origin = Control->ClientToScreen(plat::Point(0, 0));
        std::vector<plat::TColor> colors;
        for (int y = 0; y < Control->Height(); ++y) {
            const std::uint8_t* row = pixels->ScanLine(origin.Y - window.Top + y) + 4 * (origin.X - window.Left);
            for (int x = 0; x < Control->Width(); ++x) {
                colors.push_back(static_cast<plat::TColor>(row[4 * x + 2] | (row[4 * x + 1] << 8) | (row[4 * x] << 16)));
            }
        }
        return colors;
    }

    void Shot(plat::TCustomForm* ShownForm, const std::string& Name)
    {
        const char* folder = std::getenv("QEL_SCREENSHOT_DIR");
        if (folder == nullptr || *folder == '\0') {
            return;
        }
        Pump();
        Host.SaveScreenshot(ShownForm->Handle(), std::string(folder) + "/" + Name + ".png");
    }

    // Clicks a point of a control's client area.
    void ClickAt(plat::TControl* Control, plat::TPoint Client)
    {
        const plat::TPoint screen = Control->ClientToScreen(Client);
        Host.MouseMove(screen);
        Host.Click(screen);
        Pump();
    }

    static plat::TPoint CentreOf(const plat::TRect& Rect)
    {
        return plat::Point((Rect.Left + Rect.Right) / 2, (Rect.Top + Rect.Bottom) / 2);
    }

    std::vector<std::string> Events;
    bool AllowChange = true;
    std::function<void(int Index)> DuringChange;

private:
    int FBooks = 0;
};

// The palette values the classic look draws with.
inline plat::TColor Rgb(plat::TColor Color)
{
    return static_cast<plat::TColor>(plat::ToColorRef(Color));
}

} // namespace qel::test
