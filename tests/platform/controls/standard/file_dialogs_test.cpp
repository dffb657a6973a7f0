// The file dialogs of the standard dialogs over a scripted file chooser:
// filter texts, what the chooser is asked, the default extension, the
// question before a file is replaced, missing folders and files, and
// cancelling; the folder browser on the same chooser, the colour dialog on
// a scripted colour chooser, and the pointer.
#include "tests/platform/controls/standard/standard_fixture.h"

#include "platform/controls/dialogs/message_dialog.h"
#include "platform/controls/dialogs/standard_dialogs.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"

#include <deque>
#include <filesystem>
#include <fstream>

namespace plat::test {
namespace {

namespace fs = std::filesystem;

// A chooser that answers from a list and keeps every request.
class TScriptedChooser : public IFileChooser {
public:
    TFileChooserAnswer Choose(const TFileChooserRequest& request) override
    {
        Requests.push_back(request);
        if (Answers.empty()) {
            ADD_FAILURE() << "the chooser opened once more than expected";
            return {};
        }
        TFileChooserAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void Confirm(std::vector<std::string> names) { Answers.push_back({true, std::move(names)}); }
    void Cancel() { Answers.push_back({}); }

    std::deque<TFileChooserAnswer> Answers;
    std::vector<TFileChooserRequest> Requests;
};

class TFileDialogsTest : public TStandardTest {
protected:
    void SetUp() override
    {
        NewForm("Main");
        Folder = fs::temp_directory_path() / ("qel_dialogs_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                              "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        Options.Filter = "QEL-Pro file (*.qrec)|*.qrec|All files|*.*";
        Options.DefaultExt = "qrec";
        Options.InitialDir = Folder.string();
        Options.FileName = "QEL12345_240305_140709.qrec";
        Options.OverwritePrompt = true;
    }
    void TearDown() override { fs::remove_all(Folder); }

    // Answers the next message box with a key, noting its text.
    void AnswerBox(TVirtualKey key, std::uint8_t modifiers = 0)
    {
        Host.Script([this, key, modifiers] {
            for (HWND window : Host.VisibleWindows()) {
                if (auto* box = dynamic_cast<TMessageForm*>(TWinControl::FindControl(window))) {
                    Boxes.push_back(box->MessageLabel()->Caption());
                }
            }
            Host.Key(key, modifiers);
        });
    }
    std::string InFolder(const std::string& name) const { return (Folder / name).string(); }

    fs::path Folder;
    TFileDialogOptions Options;
    TScriptedChooser Chooser;
    TStandardDialogs Dialogs{&Chooser};
    std::vector<std::string> Boxes;
};

TEST(TDialogFilterTest, PairsBecomeNamedFiltersAndMalformedOnesAreSkipped)
{
    struct TCase {
        const char* Filter;
        std::vector<std::pair<std::string, std::vector<std::string>>> Expected;
        std::vector<int> Pairs;
    };
    const TCase cases[] = {
        {"QEL-Pro file (*.qrec)|*.qrec", {{"QEL-Pro file (*.qrec)", {"*.qrec"}}}, {1}},
        {"Data|*.dat; *.qel ;;|All|*.*", {{"Data", {"*.dat", "*.qel"}}, {"All", {"*.*"}}}, {1, 2}},
        {"|", {}, {}},
        {"", {}, {}},
        {"Odd|*.a|Last", {{"Odd", {"*.a"}}}, {1}},
        {"|*.x|Named|*.n", {{"Named", {"*.n"}}}, {2}},
        {"Empty| ; |B|*.b", {{"B", {"*.b"}}}, {2}},
        {"||||C|*.c", {{"C", {"*.c"}}}, {3}},
    };
    for (const TCase& c : cases) {
        const std::vector<TDialogFilter> filters = ParseDialogFilter(c.Filter);
        std::vector<std::pair<std::string, std::vector<std::string>>> got;
        std::vector<int> pairs;
        for (const TDialogFilter& filter : filters) {
            got.emplace_back(filter.Name, filter.Patterns);
            pairs.push_back(filter.PairIndex);
        }
        EXPECT_EQ(got, c.Expected) << c.Filter;
        EXPECT_EQ(pairs, c.Pairs) << c.Filter;
    }
    const auto filters = ParseDialogFilter("|*.x|Named|*.n|Other|*.o");
    EXPECT_EQ(ChosenFilter(filters, 3), 1u) << "FilterIndex counts the pairs of the text";
    EXPECT_EQ(ChosenFilter(filters, 1), 0u) << "a skipped pair: the first filter";
    EXPECT_EQ(ChosenFilter(filters, 9), 0u);
    EXPECT_EQ(ChosenFilter({}, 1), 0u);
}

TEST_F(TFileDialogsTest, TheChooserGetsTheFiltersFolderNameAndChoiceAndTheNameGetsItsExtension)
{
    Options.FilterIndex = 2;
    Chooser.Confirm({InFolder("out")});
    const TFileDialogResult result = Dialogs.SaveFileDialog(Options);
    ASSERT_EQ(Chooser.Requests.size(), 1u);
    const TFileChooserRequest& request = Chooser.Requests.front();
    EXPECT_TRUE(request.Save);
    ASSERT_EQ(request.Filters.size(), 2u);
    EXPECT_EQ(request.Filters[0].Name, "QEL-Pro file (*.qrec)");
    EXPECT_EQ(request.Filter, 1u);
    EXPECT_EQ(request.Folder, Folder.string());
    EXPECT_EQ(request.Name, "QEL12345_240305_140709.qrec");
    EXPECT_FALSE(request.MultiSelect);
    EXPECT_TRUE(result.Confirmed);
    EXPECT_EQ(result.FileName, InFolder("out.qrec"));
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TFileDialogsTest, AnExistingFileIsReplacedOnlyAfterYesAndNoOpensTheChooserAgain)
{
    std::ofstream(InFolder("out.qrec")) << "old";
    // No (the default, taken by Enter): the chooser opens again with the name.
    Chooser.Confirm({InFolder("out")});
    Chooser.Cancel();
    AnswerBox(VK_RETURN);
    TFileDialogResult result = Dialogs.SaveFileDialog(Options);
    EXPECT_FALSE(result.Confirmed);
    EXPECT_EQ(result.FileName, Options.FileName) << "cancelled: the proposed name";
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_NE(Boxes[0].find(InFolder("out.qrec")), std::string::npos);
    ASSERT_EQ(Chooser.Requests.size(), 2u);
    EXPECT_EQ(Chooser.Requests[1].Name, "out.qrec");
    EXPECT_EQ(Chooser.Requests[1].Folder, Folder.string());
    // Yes replaces.
    Chooser.Confirm({InFolder("out.qrec")});
    AnswerBox('J', ModAlt);   // "&Ja", the built-in text
    result = Dialogs.SaveFileDialog(Options);
    EXPECT_TRUE(result.Confirmed);
    EXPECT_EQ(result.FileName, InFolder("out.qrec"));
    // Without the prompt nothing is asked.
    Options.OverwritePrompt = false;
    Chooser.Confirm({InFolder("out.qrec")});
    EXPECT_TRUE(Dialogs.SaveFileDialog(Options).Confirmed);
    EXPECT_EQ(Boxes.size(), 2u);
}

TEST_F(TFileDialogsTest, AFolderThatDoesNotExistIsRefusedWithAMessage)
{
    Chooser.Confirm({InFolder("missing/out")});
    Chooser.Confirm({InFolder("out")});
    AnswerBox(VK_RETURN);
    const TFileDialogResult result = Dialogs.SaveFileDialog(Options);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_NE(Boxes[0].find(InFolder("missing")), std::string::npos);
    EXPECT_TRUE(result.Confirmed);
    EXPECT_EQ(result.FileName, InFolder("out.qrec"));
}

TEST_F(TFileDialogsTest, OpenDialogsCheckThatEveryFileExistsAndMayChooseSeveral)
{
    std::ofstream(InFolder("a.dat")) << "a";
    std::ofstream(InFolder("b.dat")) << "b";
    TFileDialogOptions options;
    options.Filter = "QEL Card file (*.dat)|*.dat";
    options.InitialDir = Folder.string();
    options.FileMustExist = true;
    options.AllowMultiSelect = true;
    Chooser.Confirm({InFolder("a.dat"), InFolder("c.dat")});
    Chooser.Confirm({InFolder("a.dat"), InFolder("b.dat")});
    AnswerBox(VK_RETURN);
    const TFileDialogResult result = Dialogs.OpenFileDialog(options);
    EXPECT_TRUE(Chooser.Requests.front().MultiSelect);
    EXPECT_FALSE(Chooser.Requests.front().Save);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_NE(Boxes[0].find(InFolder("c.dat")), std::string::npos);
    EXPECT_EQ(result.FileNames, (std::vector<std::string>{InFolder("a.dat"), InFolder("b.dat")}));
    EXPECT_EQ(result.FileName, InFolder("a.dat"));
    // A folder chosen as a file opens the chooser in it.
    fs::create_directories(Folder / "sub");
    Chooser.Confirm({InFolder("sub")});
    Chooser.Cancel();
    EXPECT_FALSE(Dialogs.OpenFileDialog(options).Confirmed);
    EXPECT_EQ(Chooser.Requests.back().Folder, InFolder("sub"));
}

TEST_F(TFileDialogsTest, WithoutAChooserEveryFileDialogIsCancelled)
{
    TStandardDialogs dialogs(nullptr);
    const TFileDialogResult result = dialogs.SaveFileDialog(Options);
    EXPECT_FALSE(result.Confirmed);
    EXPECT_EQ(result.FileName, Options.FileName);
}

// The folder browser: what the chooser is asked, every window of the
// program disabled while it shows, a rooted browser that asks again when a
// folder outside its root is chosen.
TEST_F(TFileDialogsTest, FolderBrowserChoosesAFolderWithTheProgramDisabled)
{
    fs::create_directories(Folder / "inner");
    TForm* other = NewForm("Other");
    other->Show();
    std::vector<bool> enabledWhileShown;
    struct TObservingChooser : TScriptedChooser {
        std::function<void()> OnChoose;
        TFileChooserAnswer Choose(const TFileChooserRequest& request) override
        {
            OnChoose();
            return TScriptedChooser::Choose(request);
        }
    } chooser;
    chooser.OnChoose = [&] {
        for (HWND window : TopLevelWindows()) {
            if (IsWindowVisible(window)) {
                enabledWhileShown.push_back(IsWindowEnabled(window));
            }
        }
    };
    TStandardDialogs dialogs(&chooser);
    TFolderDialogOptions options;
    options.Caption = "Where do the files go?";
    options.StartFolder = InFolder("inner");
    options.RootAtStart = true;
    options.AllowCreateFolders = false;
    options.ShowFiles = true;
    chooser.Confirm({Folder.string()});        // outside the root: asked again
    chooser.Confirm({InFolder("inner")});
    const TFolderDialogResult result = dialogs.SelectFolderDialog(options);
    EXPECT_TRUE(result.Confirmed);
    EXPECT_EQ(result.Folder, InFolder("inner"));
    ASSERT_EQ(chooser.Requests.size(), 2u);
    for (const TFileChooserRequest& request : chooser.Requests) {
        EXPECT_TRUE(request.ChooseFolder);
        EXPECT_EQ(request.Title, "Where do the files go?");
        EXPECT_EQ(request.Folder, InFolder("inner"));
        EXPECT_FALSE(request.CreateFolders);
        EXPECT_TRUE(request.ShowFiles);
    }
    ASSERT_FALSE(enabledWhileShown.empty());
    EXPECT_EQ(std::count(enabledWhileShown.begin(), enabledWhileShown.end(), true), 0) << "every window disabled";
    EXPECT_TRUE(IsWindowEnabled(other->Handle())) << "enabled again afterwards";

    chooser.Cancel();
    const TFolderDialogResult cancelled = dialogs.SelectFolderDialog(options);
    EXPECT_FALSE(cancelled.Confirmed);
    EXPECT_EQ(cancelled.Folder, "");
    EXPECT_FALSE(TStandardDialogs(nullptr).SelectFolderDialog(options).Confirmed) << "no chooser: cancelled";
}

TEST_F(TFileDialogsTest, ColourDialogAnswersTheChosenOrTheStartColour)
{
    struct TColourChooser : IColorChooser {
        std::vector<TColorChooserRequest> Requests;
        std::deque<TColorChooserAnswer> Answers;
        TColorChooserAnswer Choose(const TColorChooserRequest& request) override
        {
            Requests.push_back(request);
            TColorChooserAnswer answer = Answers.front();
            Answers.pop_front();
            return answer;
        }
    } colours;
    TStandardDialogs dialogs(&Chooser, &colours);
    colours.Answers = {{true, 0x00FF00}, {false, 0x123456}};
    const TColorDialogOptions options{0x0000FF, {0x0000FF}};
    TColorDialogResult result = dialogs.ColorDialog(options);
    EXPECT_TRUE(result.Confirmed);
    EXPECT_EQ(result.Color, 0x00FF00u);
    result = dialogs.ColorDialog(options);
    EXPECT_FALSE(result.Confirmed);
    EXPECT_EQ(result.Color, 0x0000FFu) << "cancelled: the start colour";
    ASSERT_EQ(colours.Requests.size(), 2u);
    EXPECT_EQ(colours.Requests[0].Color, 0x0000FFu);
    EXPECT_EQ(colours.Requests[0].CustomColors, std::vector<TDialogColor>{0x0000FF});
    EXPECT_EQ(TStandardDialogs(&Chooser).ColorDialog(options).Color, 0x0000FFu) << "no colour chooser: cancelled";
}

TEST_F(TFileDialogsTest, ThePointerIsTheWindowManagersPointer)
{
    ASSERT_TRUE(SetCursorPos(37, 41));
    int x = 0;
    int y = 0;
    ASSERT_TRUE(Dialogs.GetPointerPos(x, y));
    EXPECT_EQ(x, 37);
    EXPECT_EQ(y, 41);
    Dialogs.SetPointerPos(5, 6);
    TPoint point;
    ASSERT_TRUE(GetCursorPos(point));
    EXPECT_EQ(point, (TPoint{5, 6}));
}

} // namespace
} // namespace plat::test
