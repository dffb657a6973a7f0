// The dialog service switch and the scripted dialogs that tests answer with.
#include "platform/dialogs.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using namespace plat;

TEST(Dialogs, MessageBoxAnswersAndRecords)
{
    TScriptedDialogs dialogs;
    dialogs.ExpectMessageBox(mbNo, "containers");
    dialogs.ExpectMessageBoxDefault();
    dialogs.ExpectMessageBox(mbOK);

    EXPECT_EQ(dialogs.MessageBox("Read all containers?", "", mtConfirmation, {mbYes, mbNo}, mbYes), mrNo);
    EXPECT_EQ(dialogs.MessageBox("Again?", "Question", mtConfirmation, {mbYes, mbNo}, mbYes), mrYes);
    EXPECT_EQ(dialogs.MessageBox("Failed", "", mtError, {mbOK}, mbOK), mrOk);

    ASSERT_EQ(dialogs.Shown().size(), 3u);
    const TShownDialog& first = dialogs.Shown()[0];
    EXPECT_EQ(first.Kind, TDialogKind::MessageBox);
    EXPECT_EQ(first.Text, "Read all containers?");
    EXPECT_EQ(first.Type, mtConfirmation);
    EXPECT_EQ(first.Buttons, (TMsgDlgButtons{mbNo, mbYes}));
    EXPECT_EQ(first.DefaultButton, mbYes);
    EXPECT_EQ(first.Result, mrNo);
    EXPECT_EQ(dialogs.Shown()[1].Caption, "Question");
    EXPECT_EQ(dialogs.Shown()[2].Type, mtError);
    EXPECT_EQ(dialogs.Verify(), "");
}

TEST(Dialogs, ButtonsGiveTheirModalResults)
{
    const struct {
        TMsgDlgBtn Button;
        TModalResult Result;
    } cases[] = {{mbYes, 6}, {mbNo, 7}, {mbOK, 1}, {mbCancel, 2}, {mbAbort, 3}, {mbRetry, 4}, {mbIgnore, 5}};
    for (const auto& c : cases) {
        TScriptedDialogs dialogs;
        dialogs.ExpectMessageBox(c.Button);
        EXPECT_EQ(dialogs.MessageBox("?", "", mtCustom, {c.Button}, c.Button), c.Result) << ButtonName(c.Button);
    }
}

TEST(Dialogs, UnexpectedDialogsFailClearly)
{
    const struct {
        const char* Name;
        void (*Script)(TScriptedDialogs&);
        const char* MessagePart;
    } cases[] = {
        {"nothing scripted", [](TScriptedDialogs&) {}, "no more dialogs"},
        {"other kind", [](TScriptedDialogs& d) { d.ExpectSaveFileCancel(); }, "expects a save dialog"},
        {"other text", [](TScriptedDialogs& d) { d.ExpectMessageBox(mbYes, "Overwrite"); }, "\"Overwrite\""},
        {"button not shown", [](TScriptedDialogs& d) { d.ExpectMessageBox(mbCancel); }, "\"Cancel\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TScriptedDialogs dialogs;
        c.Script(dialogs);
        try {
            dialogs.MessageBox("Disk is full", "", mtError, {mbYes, mbNo}, mbYes);
            ADD_FAILURE() << "no error";
        } catch (const EUnexpectedDialog& error) {
            EXPECT_NE(std::string(error.what()).find(c.MessagePart), std::string::npos) << error.what();
        }
        ASSERT_EQ(dialogs.Failures().size(), 1u);
        EXPECT_NE(dialogs.Verify().find("Disk is full"), std::string::npos) << dialogs.Verify();
    }
}

TEST(Dialogs, UnusedScriptLinesAreReported)
{
    TScriptedDialogs dialogs;
    dialogs.ExpectOpenFileCancel();
    EXPECT_EQ(dialogs.PendingCount(), 1u);
    EXPECT_NE(dialogs.Verify().find("open dialog was never shown"), std::string::npos);
}

class SaveDialogTest : public testing::Test {
protected:
    SaveDialogTest()
    {
        Options.Filter = "QEL-Pro file (*.qrec)|*.qrec";
        Options.DefaultExt = "qrec";
        Options.InitialDir = Folder.Path().string();
        Options.FileName = "QEL12345_240305_140709.qrec";
        Options.OverwritePrompt = true;
    }
    qeltest::TempDir Folder;
    TFileDialogOptions Options;
    TScriptedDialogs Dialogs;
};

TEST_F(SaveDialogTest, TypedNamesResolveLikeARealDialog)
{
    qeltest::TempDir elsewhere;
    const struct {
        std::string Typed;
        std::string Expected;
    } cases[] = {
        {"", Folder.File("QEL12345_240305_140709.qrec")},  // the proposal confirmed
        {"out", Folder.File("out.qrec")},                   // default extension added
        {"out.csv", Folder.File("out.csv")},
        {elsewhere.File("x"), elsewhere.File("x.qrec")},   // a full name stays in its folder
    };
    for (const auto& c : cases)
        Dialogs.ExpectSaveFile(c.Typed);
    for (const auto& c : cases) {
        const TFileDialogResult result = Dialogs.SaveFileDialog(Options);
        EXPECT_TRUE(result.Confirmed) << c.Typed;
        EXPECT_EQ(result.FileName, c.Expected);
        EXPECT_EQ(result.FileNames, std::vector<std::string>{c.Expected});
    }
    ASSERT_EQ(Dialogs.Shown().size(), 4u);
    EXPECT_EQ(Dialogs.Shown()[0].Options.Filter, "QEL-Pro file (*.qrec)|*.qrec");
    EXPECT_EQ(Dialogs.Shown()[0].Options.InitialDir, Folder.Path().string());
    EXPECT_FALSE(Dialogs.Shown()[0].OverwriteAsked);
}

TEST_F(SaveDialogTest, CancelKeepsTheProposedName)
{
    Dialogs.ExpectSaveFileCancel();
    const TFileDialogResult result = Dialogs.SaveFileDialog(Options);
    EXPECT_FALSE(result.Confirmed);
    EXPECT_EQ(result.FileName, "QEL12345_240305_140709.qrec");
}

TEST_F(SaveDialogTest, ExistingFileAsksBeforeReplacing)
{
    qeltest::WriteWholeFile(Folder.File("old.qrec"), "x");
    Dialogs.ExpectSaveFile("old", true);
    Dialogs.ExpectSaveFile("old", false);
    Dialogs.ExpectSaveFile("old");

    EXPECT_TRUE(Dialogs.SaveFileDialog(Options).Confirmed);
    EXPECT_FALSE(Dialogs.SaveFileDialog(Options).Confirmed);
    Options.OverwritePrompt = false;
    EXPECT_TRUE(Dialogs.SaveFileDialog(Options).Confirmed);

    EXPECT_TRUE(Dialogs.Shown()[0].OverwriteAsked);
    EXPECT_TRUE(Dialogs.Shown()[1].OverwriteAsked);
    EXPECT_FALSE(Dialogs.Shown()[2].OverwriteAsked);
}

TEST_F(SaveDialogTest, MissingFolderCannotBeChosen)
{
    Dialogs.ExpectSaveFile("missing/out");
    EXPECT_THROW(Dialogs.SaveFileDialog(Options), EUnexpectedDialog);
    EXPECT_NE(Dialogs.Verify(), "");
}

TEST(Dialogs, OpenDialogChecksWhatTheDialogWouldAllow)
{
    qeltest::TempDir folder;
    qeltest::WriteWholeFile(folder.File("qel.dat"), "");
    qeltest::WriteWholeFile(folder.File("qel1.dat"), "");
    TFileDialogOptions options;
    options.InitialDir = folder.Path().string();
    options.Filter = "Card (*.dat)|*.dat";
    options.FileMustExist = true;

    TScriptedDialogs dialogs;
    dialogs.ExpectOpenFile("qel.dat");
    dialogs.ExpectOpenFile("nothing.dat");
    dialogs.ExpectOpenFile(std::vector<std::string>{"qel.dat", "qel1.dat"});
    dialogs.ExpectOpenFile(std::vector<std::string>{"qel.dat", "qel1.dat"});
    dialogs.ExpectOpenFileCancel();

    const TFileDialogResult one = dialogs.OpenFileDialog(options);
    EXPECT_TRUE(one.Confirmed);
    EXPECT_EQ(one.FileName, folder.File("qel.dat"));
    EXPECT_THROW(dialogs.OpenFileDialog(options), EUnexpectedDialog);  // must exist
    EXPECT_THROW(dialogs.OpenFileDialog(options), EUnexpectedDialog);  // only one allowed
    options.AllowMultiSelect = true;
    const TFileDialogResult several = dialogs.OpenFileDialog(options);
    EXPECT_EQ(several.FileNames, (std::vector<std::string>{folder.File("qel.dat"), folder.File("qel1.dat")}));
    EXPECT_EQ(several.FileName, folder.File("qel.dat"));
    EXPECT_FALSE(dialogs.OpenFileDialog(options).Confirmed);
    EXPECT_EQ(dialogs.Failures().size(), 2u);
}

TEST(Dialogs, CurrentServiceIsReplacedAndRestored)
{
    EXPECT_THROW(CurrentDialogs().MessageBox("Hello", "", mtInformation, {mbOK}, mbOK), EUnexpectedDialog);
    TScriptedDialogs dialogs;
    dialogs.ExpectMessageBox(mbOK);
    {
        TScopedDialogs scoped(dialogs);
        EXPECT_EQ(CurrentDialogs().MessageBox("Hello", "", mtInformation, {mbOK}, mbOK), mrOk);
    }
    EXPECT_NE(&CurrentDialogs(), &dialogs);
}

} // namespace
