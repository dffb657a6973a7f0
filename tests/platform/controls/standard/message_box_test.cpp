// The message box form on the headless host: caption, picture and buttons
// by type and set, the language of its captions, the default and escape
// buttons, its place on the screen, and a text far too long for it.
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/controls/dialogs/message_dialog.h"
#include "platform/controls/dialogs/message_icon.h"
#include "platform/controls/screen.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "platform/standard_texts.h"

namespace plat::test {
namespace {

class TMessageBoxTest : public TStandardTest {
protected:
    void SetUp() override { Main = NewForm("Main", 200, 150, 500, 400); }
    void TearDown() override { RestoreResStrings(); }

    // The message box showing now; nullptr when none does.
    TMessageForm* ShownBox()
    {
        for (HWND window : Host.VisibleWindows()) {
            if (auto* box = dynamic_cast<TMessageForm*>(TWinControl::FindControl(window))) {
                return box;
            }
        }
        return nullptr;
    }
    // Shows a box and runs step while it shows; answers its result.
    TModalResult Show(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, TMsgDlgBtn defaultButton,
                      const std::function<void(TMessageForm&)>& step)
    {
        Host.Script([&] {
            TMessageForm* box = ShownBox();
            ASSERT_NE(box, nullptr);
            step(*box);
        });
        return MessageDlg(text, "", type, buttons, defaultButton);
    }

    TForm* Main = nullptr;
};

TEST_F(TMessageBoxTest, CaptionAndPictureFollowTheTypeAndButtonsStandInTheirOrder)
{
    const struct {
        TMsgDlgType Type;
        const char* Caption;
    } cases[] = {{mtWarning, "Warnung"},
                 {mtError, "Fehler"},
                 {mtInformation, "Informationen"},
                 {mtConfirmation, "Bestätigung"},
                 {mtCustom, "QEL test"}};
    App.SetTitle("QEL test");
    for (const auto& c : cases) {
        Show("Text", c.Type, {mbCancel, mbNo, mbYes}, mbYes, [&](TMessageForm& box) {
            EXPECT_EQ(Host.CaptionOf(box.Handle()), c.Caption);
            auto* picture = dynamic_cast<TMessageIcon*>(box.FindComponent("Image"));
            EXPECT_EQ(picture != nullptr, c.Type != mtCustom) << c.Caption << ": a picture except for a custom box";
            std::vector<std::pair<int, std::string>> order;
            for (TMsgDlgBtn kind : {mbYes, mbNo, mbCancel}) {
                order.emplace_back(box.ButtonOf(kind)->Left(), box.ButtonOf(kind)->Caption());
            }
            std::sort(order.begin(), order.end());
            EXPECT_EQ(order, (std::vector<std::pair<int, std::string>>{{order[0].first, "&Ja"},
                                                                       {order[1].first, "&Nein"},
                                                                       {order[2].first, "Abbrechen"}}));
            EXPECT_EQ(box.ButtonOf(mbOK), nullptr);
            EXPECT_EQ(box.MessageLabel()->Caption(), "Text");
            Shot(box.Handle(), std::string("message_box_") + c.Caption);
            Host.Key(VK_ESCAPE);
        });
    }
}

TEST_F(TMessageBoxTest, CaptionsComeFromTheStandardTextsSoTheyFollowTheLanguage)
{
    // What the language switch does for English; the built-in texts are German.
    ReplaceResString(&SMsgBoxYes, "&Yes");
    ReplaceResString(&SMsgBoxNo, "&No");
    ReplaceResString(&SMsgBoxConfirm, "Confirm");
    ReplaceResString(&SButtonCancel, "Cancel");
    const TModalResult result = Show("Read all containers?", mtConfirmation, {mbYes, mbNo}, mbYes,
                                     [&](TMessageForm& box) {
                                         EXPECT_EQ(Host.CaptionOf(box.Handle()), "Confirm");
                                         EXPECT_EQ(box.ButtonOf(mbYes)->Caption(), "&Yes");
                                         EXPECT_EQ(box.ButtonOf(mbNo)->Caption(), "&No");
                                         Shot(box.Handle(), "message_box_english");
                                         Host.Key('N', ModAlt);
                                     });
    EXPECT_EQ(result, mrNo) << "Alt with the English accelerator";
    EXPECT_EQ(LoadResString(&SButtonCancel), "Cancel") << "the forms' standard Cancel caption";
}

TEST_F(TMessageBoxTest, TheDefaultButtonHasTheFocusAndEnterPressesIt)
{
    EXPECT_EQ(Show("Read all containers?", mtConfirmation, {mbYes, mbNo}, mbYes,
                   [&](TMessageForm& box) {
                       EXPECT_TRUE(box.ButtonOf(mbYes)->Focused());
                       Shot(box.Handle(), "message_box");
                       Host.Key(VK_RETURN);
                   }),
              mrYes);
    EXPECT_EQ(Show("Read all containers?", mtConfirmation, {mbYes, mbNo}, mbYes,
                   [&](TMessageForm& box) { Host.Click(box.ButtonOf(mbNo)->ClientToScreen(Point(30, 12))); }),
              mrNo);
    EXPECT_EQ(Show("Replace it?", mtConfirmation, {mbYes, mbNo}, mbNo,
                   [&](TMessageForm& box) {
                       EXPECT_TRUE(box.ButtonOf(mbNo)->Focused());
                       Host.Key(VK_RETURN);
                   }),
              mrNo);
}

TEST_F(TMessageBoxTest, EscapeAndTheCloseBoxPressCancelElseNoElseOK)
{
    const struct {
        TMsgDlgButtons Buttons;
        TModalResult Expected;
    } cases[] = {
        {{mbYes, mbNo, mbCancel}, mrCancel},
        {{mbYes, mbNo}, mrNo},
        {{mbOK}, mrOk},
        {{mbOK, mbCancel}, mrCancel},
    };
    for (const auto& c : cases) {
        for (const bool closeBox : {false, true}) {
            const TModalResult result = Show("Text", mtWarning, c.Buttons, mbYes, [&](TMessageForm& box) {
                if (closeBox) {
                    Host.CloseWindow(box.Handle());
                } else {
                    Host.Key(VK_ESCAPE);
                }
            });
            EXPECT_EQ(result, c.Expected) << (closeBox ? "close box" : "Escape");
        }
    }
    // Without any of the three, Escape and the close box do nothing.
    Host.Script([&] {
        Host.Key(VK_ESCAPE);
        Host.CloseWindow(ShownBox()->Handle());
    });
    Host.Script([&] {
        ASSERT_NE(ShownBox(), nullptr) << "still open";
        Host.Key('W', ModAlt);   // "&Wiederholen", the built-in text
    });
    EXPECT_EQ(MessageDlg("Text", "", mtError, {mbAbort, mbRetry, mbIgnore}, mbAbort), mrRetry);
}

TEST_F(TMessageBoxTest, TheBoxStandsCentredOnTheMainForm)
{
    Show("Centred", mtInformation, {mbOK}, mbOK, [&](TMessageForm& box) {
        const TRect main = Main->BoundsRect();
        const TRect shown = box.BoundsRect();
        EXPECT_NEAR((shown.Left + shown.Right) / 2, (main.Left + main.Right) / 2, 1);
        EXPECT_NEAR((shown.Top + shown.Bottom) / 2, (main.Top + main.Bottom) / 2, 1);
        Host.Key(VK_RETURN);
    });
    // A main form at the screen's edge: the box stays on the screen.
    Main->SetBounds(-300, -200, 400, 300);
    Show("Centred", mtInformation, {mbOK}, mbOK, [&](TMessageForm& box) {
        const TRect area = Screen->WorkAreaRect();
        EXPECT_GE(box.Left(), area.Left);
        EXPECT_GE(box.Top(), area.Top);
        Host.Key(VK_RETURN);
    });
}

TEST_F(TMessageBoxTest, ATenThousandCharacterMessageWrapsAndTheBoxStaysInsideTheScreen)
{
    std::string text;
    while (text.size() < 10000) {
        text += "measured values " + std::to_string(text.size()) + " ";
    }
    text.resize(10000);
    Show(text, mtError, {mbOK}, mbOK, [&](TMessageForm& box) {
        const TRect area = Screen->WorkAreaRect();
        const TRect shown = Host.HostWindowBounds(box.Handle());
        EXPECT_GE(shown.Left, area.Left);
        EXPECT_GE(shown.Top, area.Top);
        EXPECT_LE(shown.Right, area.Right);
        EXPECT_LE(shown.Bottom, area.Bottom);
        EXPECT_GT(box.MessageLabel()->Height(), 10 * box.MessageLabel()->Canvas()->TextHeight("X")) << "wrapped";
        EXPECT_TRUE(box.ButtonOf(mbOK)->Showing());
        EXPECT_LE(box.ButtonOf(mbOK)->ClientToScreen(Point(0, 25)).Y, area.Bottom) << "the button stays reachable";
        Host.Key(VK_RETURN);
    });
}

// Error texts break their lines with CR LF or LF CR; either pair is one
// line break on the box, as each lone character is.
TEST_F(TMessageBoxTest, EachLineBreakPairShowsAsOneBreak)
{
    const struct {
        const char* Text;
        int Lines;
    } cases[] = {{"first", 1},           {"first\r\nsecond", 2},   {"first\n\rsecond", 2},
                 {"first\nsecond", 2},   {"first\rsecond", 2},      {"first\n\r\n\rsecond", 3},
                 {"first\r\n\r\nsecond", 3}, {"first\n\nsecond", 3}, {"first\r\rsecond", 3}};
    for (const auto& c : cases) {
        Show(c.Text, mtError, {mbOK}, mbOK, [&](TMessageForm& box) {
            const int line = box.MessageLabel()->Canvas()->TextHeight("X");
            EXPECT_EQ(box.MessageLabel()->Height(), c.Lines * line) << c.Text;
            Host.Key(VK_RETURN);
        });
    }
}

TEST_F(TMessageBoxTest, ThePointerCanBePutBackWhereItStoodBeforeTheBox)
{
    Host.MouseMove(Point(50, 60));
    Pump();
    TPoint before;
    ASSERT_TRUE(GetCursorPos(before));
    Show("Text", mtInformation, {mbOK}, mbOK,
         [&](TMessageForm& box) { Host.Click(box.ButtonOf(mbOK)->ClientToScreen(Point(10, 10))); });
    TPoint after;
    GetCursorPos(after);
    EXPECT_NE(after, before) << "the click moved the pointer";
    ASSERT_TRUE(SetCursorPos(before.X, before.Y));
    GetCursorPos(after);
    EXPECT_EQ(after, before);
}

} // namespace
} // namespace plat::test
