// An entry field on a real window while a composition is typed into it:
// the X server shows the program's own picture, with the composition at
// the field's caret, and the committed composition becomes the field's
// text. The capture is saved as test_output/gtk_host/entry_field_composition.png.
#include "tests/platform/hosts_gtk/gtk_form_bench.h"
#include "tests/platform/hosts_gtk/scripted_input_method.h"
#include "tests/widgets/pages/pgc_test_entry_field.h"

#include "widgets/pages/pgc_base_unit.h"
#include "widgets/pages/pgc_controller.h"
#include "widgets/pages/pgc_intl.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/controls/caret.h"
#include "platform/controls/input_method.h"
#include "platform/controls/window_paint.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

namespace qel::test {
namespace {

using Pixels = std::unique_ptr<plat::TPixelSurface>;

// Whether two pictures show the same colours everywhere.
bool SamePicture(plat::TPixelSurface& a, plat::TPixelSurface& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) {
        return false;
    }
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (std::memcmp(a.ScanLine(y) + 4 * x, b.ScanLine(y) + 4 * x, 3) != 0) {
                return false;
            }
        }
    }
    return true;
}

class GtkHostEntryFieldComposition : public plat::test::TGtkFormTest {
protected:
    GtkHostEntryFieldComposition() : TGtkFormTest(NewScriptedIm)
    {
        InitPgcBaseUnit();
        InitIntlUnit();
        plat::SetSysLocaleFarEast(true);
        new TPgcController(Form);
        Field = new TTestEntryField(Form, EfString);
        Field->SetParent(Form);
        Field->SetMaxLength(40);
        Field->SetBounds(10, 10, 260, Field->Height());
        Pump();
        Field->SetFocus();
        Pump();
    }
    ~GtkHostEntryFieldComposition() override
    {
        plat::SetSysLocaleFarEast(std::nullopt);
        FinalizeIntlUnit();
        FinalizePgcBaseUnit();
    }

    // What the X server shows of the form, in 32-bit pixels.
    Pixels Captured()
    {
        GdkWindow* window = FormWindow();
        GdkPixbuf* shot =
            gdk_pixbuf_get_from_window(window, 0, 0, gdk_window_get_width(window), gdk_window_get_height(window));
        if (shot == nullptr) {
            return nullptr;
        }
        const int width = gdk_pixbuf_get_width(shot);
        auto pixels = std::make_unique<plat::TPixelSurface>(width, gdk_pixbuf_get_height(shot), 32);
        const int channels = gdk_pixbuf_get_n_channels(shot);
        for (int y = 0; y < pixels->Height(); ++y) {
            const guchar* from = gdk_pixbuf_get_pixels(shot) + y * gdk_pixbuf_get_rowstride(shot);
            std::uint8_t* to = pixels->ScanLine(y);
            for (int x = 0; x < pixels->Width(); ++x) {
                to[4 * x] = from[channels * x + 2];
                to[4 * x + 1] = from[channels * x + 1];
                to[4 * x + 2] = from[channels * x];
                to[4 * x + 3] = 255;
            }
        }
        g_object_unref(shot);
        return pixels;
    }

    // Waits until the window shows the program's picture; answers it.
    Pixels Shown()
    {
        Pixels shown;
        const bool same = WaitUntil([&] {
            shown = Captured();
            Pixels composed = plat::ComposeTopLevelWindow(Form->Handle());
            return shown != nullptr && composed != nullptr && SamePicture(*shown, *composed);
        });
        EXPECT_TRUE(same) << "the window shows the program's picture";
        return shown;
    }

    TTestEntryField* Field = nullptr;
};

TEST_F(GtkHostEntryFieldComposition, TheWindowShowsTheCompositionAtTheFieldsCaret)
{
    g_signal_emit_by_name(Im, "commit", "Tokyo ");
    Pump();
    ASSERT_EQ(Field->EditText(), u"Tokyo ");
    const Pixels before = Shown();
    plat::TPoint caret;
    plat::GetCaretPos(caret);
    const plat::TPoint at = Field->ClientToScreen(caret);

    g_signal_emit_by_name(Im, "preedit-start");
    ScriptPreedit(Im, "d\xC5\x8Dngj\xC4\xABng", 4);   // pinyin before its conversion
    Pump();
    const Pixels during = Shown();
    ASSERT_TRUE(before != nullptr && during != nullptr);
    const char* dir = std::getenv("QEL_TEST_BINARY_DIR");
    const std::filesystem::path folder =
        std::filesystem::path(dir != nullptr ? dir : "/tmp") / "test_output" / "gtk_host";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(during->SaveToPng((folder / "entry_field_composition.png").string()));
    const int x0 = at.X - Form->Left();
    const int y0 = at.Y - Form->Top();
    int changed = 0;
    for (int y = y0; y < y0 + 14; ++y) {
        for (int x = x0; x < x0 + 60; ++x) {
            changed += std::memcmp(before->ScanLine(y) + 4 * x, during->ScanLine(y) + 4 * x, 3) != 0 ? 1 : 0;
        }
    }
    EXPECT_GT(changed, 50) << "the composition shows at the caret";
    EXPECT_EQ(Field->EditText(), u"Tokyo ") << "a composition is not yet text";

    g_signal_emit_by_name(Im, "commit", "d\xC5\x8Dngj\xC4\xABng");
    ScriptPreedit(Im, "", 0);
    g_signal_emit_by_name(Im, "preedit-end");
    Pump();
    EXPECT_EQ(Field->EditText(), u"Tokyo d\u014Dngj\u012Bng");
    EXPECT_EQ(plat::ImmGetCompositionString(plat::ImmGetContext(Field->Handle()), plat::GCS_COMPSTR), u"");
}

} // namespace
} // namespace qel::test
