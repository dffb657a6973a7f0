// Tests of the dialog helper against the scripted dialog service.
#include "foundations/qel_dialogs.h"

#include "foundations/language_table.h"
#include "tests/foundations/language_test_support.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace qel {
namespace {

class QelDialogs : public qeltest::LanguageTest {
protected:
    QelDialogs() : FUse(FDialogs) {}
    // The texts of an English start (the built-in texts are German).
    void SetUp() override
    {
        LanguageTest::SetUp();
        for (const TLanguageRes& row : LanguageTexts) {
            PatchResString(row.PTR, row.ENG);
        }
    }
    void TearDown() override
    {
        EXPECT_EQ(FDialogs.Verify(), "");
        LanguageTest::TearDown();
    }
    std::string Folder() const { return FDir.Path().string() + "/"; }
    const plat::TShownDialog& Last() const { return FDialogs.Shown().back(); }

    qeltest::TempDir FDir;
    plat::TScriptedDialogs FDialogs;

private:
    plat::TScopedDialogs FUse;
};

TEST_F(QelDialogs, SaveQRecProposesTheNameInItsFolder)
{
    FDialogs.ExpectSaveFile("run");
    std::string chosen;
    EXPECT_TRUE(QelDlg.SaveQRecFile(Folder() + "QEL12345_240305_140709.qrec", false, chosen));
    const plat::TFileDialogOptions& options = Last().Options;
    EXPECT_EQ(options.InitialDir, Folder());
    EXPECT_EQ(options.FileName, "QEL12345_240305_140709.qrec");
    EXPECT_EQ(options.Filter, "QEL-Pro file (*.qrec)|*.qrec");
    EXPECT_EQ(options.DefaultExt, "qrec");
    EXPECT_EQ(options.Title, "");
    EXPECT_TRUE(options.OverwritePrompt);
    EXPECT_TRUE(options.PathMustExist);
    EXPECT_EQ(chosen, Folder() + "run.qrec");
}

TEST_F(QelDialogs, FiltersAndExtensionsPerFormat)
{
    using TSave = bool (TQelDlg::*)(const std::string&, bool, std::string&);
    struct Case {
        TSave save;
        const char* filter;
        const char* ext;
    };
    const Case cases[] = {
        {&TQelDlg::SaveQelFile, "QEL file (*.qel)|*.qel", "qel"},
        {&TQelDlg::SaveQShockFile, "QEL file (*.qshock)|*.qshock", "qshock"},
        {&TQelDlg::SaveMatlabFile, "MATLAB (*.mat)|*.mat", "mat"},
        {&TQelDlg::SaveQRecFile, "QEL-Pro file (*.qrec)|*.qrec", "qrec"},
        {&TQelDlg::SaveTemplateFile, "QEL template (*.qse)|*.qse", "qse"},
        {&TQelDlg::SaveBinaryFile, "QEL Binary file (*.bin)|*.bin", "bin"},
        {&TQelDlg::SaveBinaryTimeFile, "QEL Binary2 file with time mark (*.bin2)|*.bin2", "bin2"},
        {&TQelDlg::SaveBmpFile, "Bitmap (*.bmp)|*.bmp", "bmp"},
        {&TQelDlg::SaveJpgFile, "JEPG (*.jpg)|*.jpg", "jpg"},
        {&TQelDlg::SaveCsvFile, "Text (*.csv)|*.csv", "csv"},
    };
    for (const Case& c : cases) {
        FDialogs.ExpectSaveFile("out");
        std::string chosen;
        EXPECT_TRUE((QelDlg.*c.save)(Folder() + "x.dat", false, chosen));
        EXPECT_EQ(Last().Options.Filter, c.filter);
        EXPECT_EQ(Last().Options.DefaultExt, c.ext);
        EXPECT_EQ(chosen, Folder() + "out." + c.ext);
    }
}

TEST_F(QelDialogs, FilterTextsFollowTheLanguageAndSettings)
{
    SetLanguage(LanguageTexts, LANGUAGE_GERMAN, 0, false);
    RegSettings.sRegFileExt = ".qel2";
    FDialogs.ExpectSaveFileCancel();
    FDialogs.ExpectSaveFileCancel();
    std::string chosen;
    EXPECT_FALSE(QelDlg.SaveQelFile(Folder() + "a", false, chosen));
    EXPECT_EQ(Last().Options.Filter, "QEL Datei (*.qel2)|*.qel2");
    EXPECT_EQ(Last().Options.DefaultExt, "qel2");
    EXPECT_FALSE(QelDlg.SaveQShockFile(Folder() + "a", false, chosen));
    EXPECT_EQ(Last().Options.Filter, "QEL Datei (*.qshock)|*.qshock");
}

TEST_F(QelDialogs, ProposedNameRules)
{
    std::string chosen = "old";
    FDialogs.ExpectSaveFileCancel();
    EXPECT_FALSE(QelDlg.SaveQRecFile(Folder() + ".qrec", false, chosen));
    EXPECT_EQ(Last().Options.FileName, "");
    EXPECT_EQ(Last().Options.InitialDir, Folder());

    FDialogs.ExpectSaveFileCancel();
    EXPECT_FALSE(QelDlg.SaveQRecFile(Folder() + "run.qrec", true, chosen));
    EXPECT_EQ(Last().Options.FileName, "");

    // A bare name has no folder: the dialog never starts in the root folder.
    FDialogs.ExpectSaveFileCancel();
    EXPECT_FALSE(QelDlg.SaveQRecFile("run.qrec", false, chosen));
    EXPECT_EQ(Last().Options.InitialDir, "");
    EXPECT_EQ(Last().Options.FileName, "run.qrec");
}

TEST_F(QelDialogs, ExistingFileIsNotReplacedWithoutConsent)
{
    qeltest::WriteWholeFile(Folder() + "run.qrec", "keep");
    FDialogs.ExpectSaveFile("", false);
    std::string chosen;
    EXPECT_FALSE(QelDlg.SaveQRecFile(Folder() + "run.qrec", false, chosen));
    EXPECT_TRUE(Last().OverwriteAsked);
    FDialogs.ExpectSaveFile("", true);
    EXPECT_TRUE(QelDlg.SaveQRecFile(Folder() + "run.qrec", false, chosen));
    EXPECT_EQ(chosen, Folder() + "run.qrec");
    EXPECT_EQ(qeltest::ReadWholeFile(Folder() + "run.qrec"), "keep");
}

TEST_F(QelDialogs, MessageBoxes)
{
    FDialogs.ExpectMessageBox(plat::mbNo, "containers");
    FDialogs.ExpectMessageBoxDefault();
    EXPECT_EQ(QelDlg.ShowMsgBox("Should all containers be read?", plat::mtConfirmation, {plat::mbYes, plat::mbNo},
                                plat::mbYes),
              plat::mrNo);
    EXPECT_EQ(Last().Type, plat::mtConfirmation);
    EXPECT_EQ(Last().Buttons, (plat::TMsgDlgButtons{plat::mbYes, plat::mbNo}));
    EXPECT_EQ(Last().DefaultButton, plat::mbYes);
    EXPECT_EQ(QelDlg.ShowMsgBox("again", plat::mtConfirmation, {plat::mbYes, plat::mbNo}, plat::mbYes), plat::mrYes);

    FDialogs.ExpectMessageBoxDefault("Abort");
    QelDlg.ShowErrMsg("Abort by user");
    EXPECT_EQ(Last().Type, plat::mtError);
    EXPECT_EQ(Last().Buttons, plat::TMsgDlgButtons{plat::mbOK});
    EXPECT_EQ(Last().DefaultButton, plat::mbOK);
    EXPECT_EQ(Last().Result, plat::mrOk);

    FDialogs.ExpectMessageBox(plat::mbOK);
    QelDlg.ShowMsg("note", plat::mtInformation);
    EXPECT_EQ(Last().Type, plat::mtInformation);
}

TEST_F(QelDialogs, OpenDialogs)
{
    qeltest::WriteWholeFile(Folder() + "a.qel", "");
    qeltest::WriteWholeFile(Folder() + "b.qel", "");
    std::string chosen;
    FDialogs.ExpectOpenFile("a.qel");
    EXPECT_TRUE(QelDlg.OpenQelFile(Folder(), chosen, true, true));
    EXPECT_EQ(chosen, Folder() + "a.qel");
    EXPECT_EQ(Last().Options.Filter,
              "QEL file (*.qel)|*.qel|QEL649   (*.qshock)|*.qshock|QEL619   (*.q619)|*.q619|QEL-Pro   (*.qrec)|*.qrec");
    EXPECT_TRUE(Last().Options.FileMustExist);
    EXPECT_EQ(Last().Options.FileName, "");

    FDialogs.ExpectOpenFileCancel();
    EXPECT_FALSE(QelDlg.OpenQelFile(Folder(), chosen, false, false));
    EXPECT_EQ(Last().Options.Filter, "QEL file (*.qel)|*.qel");

    std::vector<std::string> files{"earlier"};
    FDialogs.ExpectOpenFile(std::vector<std::string>{"a.qel", "b.qel"});
    EXPECT_TRUE(QelDlg.OpenMultipleQelFile(Folder(), files, false));
    EXPECT_TRUE(Last().Options.AllowMultiSelect);
    EXPECT_EQ(files, (std::vector<std::string>{"earlier", Folder() + "a.qel", Folder() + "b.qel"}));

    FDialogs.ExpectOpenFileCancel();
    EXPECT_FALSE(QelDlg.OpenTemplateFile(Folder(), chosen));
    EXPECT_EQ(Last().Options.Filter, "QEL template (*.qse)|*.qse");
}

TEST_F(QelDialogs, CreateTemplateFile)
{
    std::string chosen;
    FDialogs.ExpectOpenFile("new");
    EXPECT_TRUE(QelDlg.CreateTemplateFile(Folder(), chosen));
    EXPECT_FALSE(Last().Options.FileMustExist);
    EXPECT_EQ(chosen, Folder() + "new.qse");
    EXPECT_TRUE(std::filesystem::is_regular_file(chosen));

    qeltest::WriteWholeFile(Folder() + "kept.qse", "content");
    FDialogs.ExpectOpenFile("kept.qse");
    EXPECT_TRUE(QelDlg.CreateTemplateFile(Folder(), chosen));
    EXPECT_EQ(qeltest::ReadWholeFile(Folder() + "kept.qse"), "content");

    std::filesystem::create_directory(Folder() + "taken.qse");
    FDialogs.ExpectOpenFile("taken.qse");
    FDialogs.ExpectMessageBox(plat::mbOK, "Cannot open file [" + Folder() + "taken.qse] !");
    EXPECT_FALSE(QelDlg.CreateTemplateFile(Folder(), chosen));
    EXPECT_EQ(Last().Type, plat::mtError);
}

TEST_F(QelDialogs, FolderBrowsers)
{
    std::filesystem::create_directories(Folder() + "out/sub");
    const std::string start = Folder() + "out";
    struct Case {
        const char* Name;
        std::function<bool(std::string&)> Select;
        plat::TFolderDialogOptions Expected;
    };
    const Case cases[] = {
        {"SelectDir without a caption", [&](std::string& out) { return QelDlg.SelectDir(start, out); },
         {"", start, false, false, false, false}},
        {"SelectDir with a caption", [&](std::string& out) { return QelDlg.SelectDir("Target", start, out); },
         {"Target", start, true, false, false, true}},
        {"SelectDirectory", [&](std::string& out) {
             return QelDlg.SelectDirectory("title, not shown", "Caption", "/root not used", start, out, true, true,
                                           false);
         },
         {"Caption", start, true, true, true, false}},
        {"SelectDirectory without a start folder", [&](std::string& out) {
             return QelDlg.SelectDirectory("", "Caption", "", "", out, false, false, true);
         },
         {"Caption", "", false, false, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string chosen = "old";
        FDialogs.ExpectSelectFolder(Folder() + "out/sub");
        EXPECT_TRUE(c.Select(chosen));
        EXPECT_EQ(chosen, Folder() + "out/sub/") << "with a path delimiter at its end";
        const plat::TFolderDialogOptions& shown = Last().FolderOptions;
        EXPECT_EQ(shown.Caption, c.Expected.Caption);
        EXPECT_EQ(shown.StartFolder, c.Expected.StartFolder);
        EXPECT_EQ(shown.RootAtStart, c.Expected.RootAtStart);
        EXPECT_EQ(shown.EditBox, c.Expected.EditBox);
        EXPECT_EQ(shown.ShowFiles, c.Expected.ShowFiles);
        EXPECT_EQ(shown.AllowCreateFolders, c.Expected.AllowCreateFolders);

        FDialogs.ExpectSelectFolderCancel();
        EXPECT_FALSE(c.Select(chosen));
        EXPECT_EQ(chosen, "") << "cancelled";
    }
}

TEST_F(QelDialogs, SelectColor)
{
    std::uint32_t colour = 0;
    FDialogs.ExpectColor(0x00FF00);
    EXPECT_TRUE(QelDlg.SelectColor(0x0000FF, colour));
    EXPECT_EQ(colour, 0x00FF00u);
    EXPECT_EQ(Last().ColorOptions.Color, 0x0000FFu);
    EXPECT_EQ(Last().ColorOptions.CustomColors, std::vector<plat::TDialogColor>{0x0000FF}) << "its first custom colour";
    FDialogs.ExpectColorCancel();
    EXPECT_FALSE(QelDlg.SelectColor(0x123456, colour));
    EXPECT_EQ(colour, 0x123456u) << "cancelled: the colour it started at";
}

// Every dialog moves the pointer while it shows; afterwards it stands where
// it stood before, which MousePos keeps.
TEST_F(QelDialogs, EveryDialogPutsThePointerBack)
{
    std::string out;
    std::uint32_t colour = 0;
    std::vector<std::string> files;
    const std::vector<std::pair<const char*, std::function<void()>>> dialogs = {
        {"save", [&] { FDialogs.ExpectSaveFileCancel(); QelDlg.SaveQRecFile(Folder() + "a.qrec", false, out); }},
        {"open", [&] { FDialogs.ExpectOpenFileCancel(); QelDlg.OpenQelFile(Folder(), out, false, false); }},
        {"open several", [&] { FDialogs.ExpectOpenFileCancel(); QelDlg.OpenMultipleQelFile(Folder(), files, false); }},
        {"message box", [&] { FDialogs.ExpectMessageBoxDefault(); QelDlg.ShowMsg("note", plat::mtInformation); }},
        {"folder", [&] { FDialogs.ExpectSelectFolderCancel(); QelDlg.SelectDir(Folder(), out); }},
        {"colour", [&] { FDialogs.ExpectColorCancel(); QelDlg.SelectColor(0, colour); }},
    };
    int place = 0;
    for (const auto& [name, show] : dialogs) {
        ++place;
        FDialogs.SetPointerPos(10 * place, 20 * place);
        show();
        int x = 0;
        int y = 0;
        ASSERT_TRUE(FDialogs.GetPointerPos(x, y));
        EXPECT_EQ(x, 10 * place) << name;
        EXPECT_EQ(y, 20 * place) << name;
        EXPECT_EQ(QelDlg.MousePos.X, 10 * place) << name;
        EXPECT_EQ(QelDlg.MousePos.Y, 20 * place) << name;
    }
    // Without the helper the pointer stays where the dialog took it.
    FDialogs.ExpectColorCancel();
    FDialogs.ColorDialog({});
    int x = 0;
    int y = 0;
    ASSERT_TRUE(FDialogs.GetPointerPos(x, y));
    EXPECT_EQ(x, plat::TScriptedDialogs::DIALOG_POINTER_X);
    EXPECT_EQ(y, plat::TScriptedDialogs::DIALOG_POINTER_Y);
}

} // namespace
} // namespace qel
