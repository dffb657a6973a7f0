// The script of a scripted run: its steps with their words and numbers,
// and the lines it refuses with the line's number. And the run's record as
// JSON.
#include "app/scripted_run/run_record.h"
#include "app/scripted_run/run_script.h"
#include "app/scripted_run/scripted_session.h"

#include "card/thread_status.h"
#include "foundations/qel_dialogs.h"
#include "platform/controls/application.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <span>

namespace {

using qel::TScriptVerb;

// A script text and a part of the error that refuses it.
struct TRefusedScript {
    const char* Text;
    const char* Part;
};

void ExpectEveryRefused(std::span<const TRefusedScript> cases)
{
    for (const auto& c : cases) {
        try {
            qel::ParseRunScript(c.Text);
            ADD_FAILURE() << c.Text << ": accepted";
        } catch (const qel::EScriptError& error) {
            EXPECT_NE(std::string(error.what()).find(c.Part), std::string::npos) << c.Text << ": " << error.what();
        }
    }
}

TEST(RunScriptTest, StepsTakeTheirWordsAndNumbers)
{
    const std::string text = "# a comment\n"
                             "\n"
                             "answer box Yes \"containers (qel1.dat\"\r\n"
                             "click btnStart\n"
                             "set vedCutTimeBegin \"1,5 s\"\n"
                             "key space\n"
                             "dump /tmp/layout.txt\n"
                             "status save progress 37\n"
                             "status dir 7\n"
                             "wait page 3\n"
                             "wait file /tmp/x 250\n"
                             "expect caption \"QEL KORVEL X2 r6.11.01 [64]  \"\n"
                             "expect dialog box \"say \\\"hi\\\" \\\\ there\"\n";
    std::vector<qel::TScriptStep> steps = qel::ParseRunScript(text);
    ASSERT_EQ(steps.size(), 11u);
    EXPECT_EQ(steps[0].Verb, TScriptVerb::AnswerBox);
    EXPECT_EQ(steps[0].Line, 3);
    EXPECT_EQ(steps[0].Args, (std::vector<std::string>{"Yes", "containers (qel1.dat"}));
    EXPECT_EQ(steps[1].Verb, TScriptVerb::Click);
    EXPECT_EQ(steps[2].Args, (std::vector<std::string>{"vedCutTimeBegin", "1,5 s"}));
    EXPECT_EQ(steps[3].Verb, TScriptVerb::Key);
    EXPECT_EQ(steps[3].Number, 0x20) << "the space bar's key";
    EXPECT_EQ(steps[4].Verb, TScriptVerb::Dump);
    EXPECT_EQ(steps[4].Args, std::vector<std::string>{"/tmp/layout.txt"});
    steps.erase(steps.begin() + 3, steps.begin() + 5);
    EXPECT_EQ(steps[3].Verb, TScriptVerb::Status);
    EXPECT_EQ(steps[3].Number, qel::THREAD_PROGRESS);
    EXPECT_EQ(steps[3].Value, 37);
    EXPECT_EQ(steps[4].Number, 7);
    EXPECT_EQ(steps[5].Verb, TScriptVerb::WaitPage);
    EXPECT_EQ(steps[5].Number, 3);
    EXPECT_EQ(steps[5].LimitMs, qel::DEFAULT_WAIT_MS);
    EXPECT_EQ(steps[6].LimitMs, 250);
    EXPECT_EQ(steps[7].Args, (std::vector<std::string>{"QEL KORVEL X2 r6.11.01 [64]  "}));
    EXPECT_EQ(steps[8].Args, (std::vector<std::string>{"box", "say \"hi\" \\ there"}));
}

TEST(RunScriptTest, BadLinesAreRefusedWithTheirNumber)
{
    const TRefusedScript cases[] = {
        {"fly away", "line 1: unknown step \"fly\""},
        {"\nclick", "line 2: \"click\" takes 1 words, not 0"},
        {"close now", "takes 0 words, not 1"},
        {"wait page three", "\"three\" is not a whole number"},
        {"advance 10ms", "\"10ms\" is not a whole number"},
        {"status card started", "a status is one of dir, data or save"},
        {"check chkOptionCsv maybe", "check takes on or off"},
        {"expect dialog popup", "a dialog is one of box, open, save, folder or colour"},
        {"answer colour 0xGG", "\"0xGG\" is not a hexadecimal colour"},
        {"answer colour 0x1000000", "lies outside 0 .. 0xFFFFFF"},
        {"answer colour red", "\"red\" is not a whole number"},
        {"answer folder", "takes 1 words, not 0"},
        {"key shift", "no key is named \"shift\""},
        {"set edt \"open quote", "line 1: a quote is not closed"},
    };
    ExpectEveryRefused(cases);
    EXPECT_THROW(qel::LoadRunScript("/nonexistent/script.txt"), qel::EScriptError);
}

// The folder browser and the colour dialog are answered from the script as
// any dialog of the run, recorded with their answers, and leave the
// window manager's pointer where it was.
TEST(RunScriptTest, FolderAndColourDialogsAreAnsweredFromTheScript)
{
    qeltest::TempDir dir;
    std::filesystem::create_directories(dir.File("out"));
    const std::string script = "answer folder \"" + dir.File("out") + "\"\n"
                               "answer folder-cancel\n"
                               "answer colour 0x00FF00\n"
                               "answer colour-cancel\n";
    const std::vector<qel::TScriptStep> steps = qel::ParseRunScript(script);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[2].Verb, TScriptVerb::AnswerColour);
    EXPECT_EQ(steps[2].Number, 0x00FF00);

    qel::TScriptedSession session(steps, "");
    plat::TApplication application(session.OpenHost());
    plat::TScopedDialogs use(session.Dialogs());
    plat::SetCursorPos(123, 45);
    std::string folder;
    EXPECT_TRUE(qel::QelDlg.SelectDir(dir.Path().string(), folder));
    EXPECT_EQ(folder, dir.File("out") + "/");
    EXPECT_FALSE(qel::QelDlg.SelectDir(dir.Path().string(), folder));
    std::uint32_t colour = 0;
    EXPECT_TRUE(qel::QelDlg.SelectColor(0xFF, colour));
    EXPECT_EQ(colour, 0x00FF00u);
    EXPECT_FALSE(qel::QelDlg.SelectColor(0xFF, colour));
    EXPECT_EQ(colour, 0xFFu);
    plat::TPoint pointer;
    ASSERT_TRUE(plat::GetCursorPos(pointer));
    EXPECT_EQ(pointer, (plat::TPoint{123, 45}));

    EXPECT_TRUE(session.Record().Passed());
    qel::TRunRecord record;
    const auto& dialogs = dynamic_cast<qel::TRunDialogs&>(session.Dialogs());
    record.SetDialogs(dialogs.Shown(), dialogs.Notes());
    const std::string json = record.ToJson();
    EXPECT_NE(json.find("{\"step\": 0, \"kind\": \"folder\", \"caption\": \"\", \"start\": " + qel::JsonString(dir.Path().string()) +
                        ", \"answer\": \"confirmed\", \"folder\": " + qel::JsonString(dir.File("out")) + "}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"step\": 0, \"kind\": \"colour\", \"start\": 255, \"answer\": \"confirmed\", \"colour\": 65280}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"step\": 0, \"kind\": \"colour\", \"start\": 255, \"answer\": \"cancelled\", \"colour\": 255}"),
              std::string::npos)
        << json;
}

TEST(RunScriptTest, UserStepsTakeTheirTargetsKeysAndModifiers)
{
    const std::string text = "check node DT on QEL123456 \"Select all\" 3\n"
                             "check row lvwCutChannels off RH\n"
                             "popup DT\n"
                             "popup DT key\n"
                             "choose \"Save directory list!\"\n"
                             "wait exit\n"
                             "wait exit 500\n";
    const std::vector<qel::TScriptStep> steps = qel::ParseRunScript(text);
    ASSERT_EQ(steps.size(), 7u);
    EXPECT_EQ(steps[0].Verb, TScriptVerb::CheckNode);
    EXPECT_EQ(steps[0].Args, (std::vector<std::string>{"DT", "on", "QEL123456", "Select all", "3"}));
    EXPECT_EQ(steps[1].Verb, TScriptVerb::CheckRow);
    EXPECT_EQ(steps[1].Args, (std::vector<std::string>{"lvwCutChannels", "off", "RH"}));
    EXPECT_EQ(steps[2].Verb, TScriptVerb::Popup);
    EXPECT_EQ(steps[3].Args, (std::vector<std::string>{"DT", "key"}));
    EXPECT_EQ(steps[4].Verb, TScriptVerb::Choose);
    EXPECT_EQ(steps[5].Verb, TScriptVerb::WaitExit);
    EXPECT_EQ(steps[5].LimitMs, qel::DEFAULT_WAIT_MS);
    EXPECT_EQ(steps[6].LimitMs, 500);

    const struct {
        const char* Word;
        std::uint16_t Key;
        std::uint8_t Modifiers;
    } keys[] = {
        {"backspace", plat::VK_BACK, 0},
        {"delete", plat::VK_DELETE, 0},
        {"menu", plat::VK_APPS, 0},
        {"pagedown", plat::VK_NEXT, 0},
        {"f12", plat::VK_F1 + 11, 0},
        {"ctrl+a", 'A', plat::ModControl},
        {"shift+tab", plat::VK_TAB, plat::ModShift},
        {"ctrl+shift+end", plat::VK_END, plat::ModControl | plat::ModShift},
        {"alt+7", '7', plat::ModAlt},
        {"f13", 0, 0},
        {"meta+a", 0, 0},
        {"ctrl+", 0, 0},
    };
    for (const auto& each : keys) {
        const qel::TScriptKey key = qel::ScriptKeyOf(each.Word);
        EXPECT_EQ(key.Key, each.Key) << each.Word;
        if (each.Key != 0) {
            EXPECT_EQ(key.Modifiers, each.Modifiers) << each.Word;
        }
    }
    const std::vector<qel::TScriptStep> pressed = qel::ParseRunScript("key ctrl+shift+delete");
    EXPECT_EQ(pressed[0].Number, plat::VK_DELETE);
    EXPECT_EQ(pressed[0].Value, plat::ModControl | plat::ModShift);
}

TEST(RunScriptTest, BadUserStepsAreRefused)
{
    const TRefusedScript cases[] = {
        {"check node DT on", "\"check node\" takes 3 or more words, not 2"},
        {"check node DT maybe QEL1", "check takes on or off"},
        {"check row lvw on", "\"check row\" takes 3 words, not 2"},
        {"popup DT mouse", "a pop-up menu opens by click or key"},
        {"choose", "\"choose\" takes 1 words, not 0"},
        {"wait exit soon", "\"soon\" is not a whole number"},
        {"key ctrl+meta", "no key is named \"ctrl+meta\""},
    };
    ExpectEveryRefused(cases);
}

TEST(RunRecordTest, EntriesCarryTheirStepAndTextsKeepTheirCharacters)
{
    qel::TRunRecord record;
    record.WindowShown();
    record.PageShown(0);
    record.CaptionSeen("QEL \"x\"");
    record.SetStep(4);
    record.PageShown(3);
    record.CaptionSeen("QEL \"x\"");
    record.TitleSeen("KORVEL ");
    record.TitleSeen("37 %");
    record.TitleSeen("37 %");
    record.FileListed("/data/Größe\\1.qel");
    record.CloseRequested(2000, false);
    record.Failed("line 2: found page 1\n");
    plat::TShownDialog box;
    box.Text = "Unknown module version!\r\nPlease install updated QEL software.";
    box.Type = plat::mtConfirmation;
    box.Buttons = {plat::mbNo, plat::mbYes};
    box.DefaultButton = plat::mbCancel;   // not shown: the first button is preset
    box.Result = plat::mrNo;
    plat::TShownDialog save;
    save.Kind = plat::TDialogKind::SaveFile;
    save.Options.Filter = "QREC (*.qrec)|*.qrec";
    save.Options.DefaultExt = "qrec";
    save.FileResult.Confirmed = true;
    save.FileResult.FileName = "/data/a.qrec";
    record.SetDialogs({box, save}, {{3, "Bestätigung", {"&Ja", "&Nein"}}, {5, "Save File", {}}});
    const std::string json = record.ToJson();
    const char* const parts[] = {
        "\"passed\": false",
        "\"pages\": [{\"step\": 0, \"page\": 0}, {\"step\": 4, \"page\": 3}]",
        "\"captions\": [{\"step\": 0, \"caption\": \"QEL \\\"x\\\"\"}]",
        "\"titles\": [{\"step\": 4, \"title\": \"KORVEL \"}, {\"step\": 4, \"title\": \"37 %\"}]",
        "\"files\": [{\"step\": 4, \"file\": \"/data/Größe\\\\1.qel\"}]",
        "\"failures\": [{\"step\": 4, \"why\": \"line 2: found page 1\\n\"}]",
        "\"closes\": [{\"step\": 4, \"time\": 2000, \"granted\": false}]",
        "{\"step\": 3, \"kind\": \"box\", \"type\": \"confirmation\", \"text\": \"Unknown module version!\\r\\nPlease "
        "install updated QEL software.\", \"buttons\": [\"Yes\", \"No\"], \"default\": \"Yes\", \"answer\": \"No\", "
        "\"caption\": \"Bestätigung\", \"button_captions\": [\"&Ja\", \"&Nein\"]}",
        "{\"step\": 5, \"kind\": \"save\", \"filter\": \"QREC (*.qrec)|*.qrec\", \"filter_index\": 1, "
        "\"default_ext\": \"qrec\", \"folder\": \"\", \"proposed\": \"\", \"overwrite_prompt\": false, "
        "\"file_must_exist\": false, \"answer\": \"confirmed\", \"file\": \"/data/a.qrec\", \"title\": \"Save File\"}",
    };
    for (const char* part : parts) {
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    }
    EXPECT_EQ(record.Failures(), std::vector<std::string>{"line 2: found page 1\n"});
    EXPECT_EQ(qel::JsonString(std::string("a\x01" "b\tc")), "\"a\\u0001b\\tc\"");
}

} // namespace
