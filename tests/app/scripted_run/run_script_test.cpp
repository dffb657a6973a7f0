// The script of a scripted run: its steps with their words and numbers,
// and the lines it refuses with the line's number. And the run's record as
// JSON.
#include "app/scripted_run/run_record.h"
#include "app/scripted_run/run_script.h"
#include "app/scripted_run/scripted_session.h"

#include "card/thread_status.h"
#include "foundations/qel_dialogs.h"
#include "platform/controls/application.h"
#include "platform/controls/window_input.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using qel::TScriptVerb;

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
    const struct {
        const char* Text;
        const char* Part;
    } cases[] = {
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
    for (const auto& c : cases) {
        try {
            qel::ParseRunScript(c.Text);
            ADD_FAILURE() << c.Text << ": accepted";
        } catch (const qel::EScriptError& error) {
            EXPECT_NE(std::string(error.what()).find(c.Part), std::string::npos) << c.Text << ": " << error.what();
        }
    }
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
    record.SetDialogs(dynamic_cast<plat::TScriptedDialogs&>(session.Dialogs()).Shown());
    const std::string json = record.ToJson();
    EXPECT_NE(json.find("{\"kind\": \"folder\", \"caption\": \"\", \"start\": " + qel::JsonString(dir.Path().string()) +
                        ", \"answer\": \"confirmed\", \"folder\": " + qel::JsonString(dir.File("out")) + "}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"kind\": \"colour\", \"start\": 255, \"answer\": \"confirmed\", \"colour\": 65280}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"kind\": \"colour\", \"start\": 255, \"answer\": \"cancelled\", \"colour\": 255}"),
              std::string::npos)
        << json;
}

TEST(RunRecordTest, JsonKeepsTextsAndChangesOnly)
{
    qel::TRunRecord record;
    record.WindowShown();
    record.PageShown(0);
    record.PageShown(3);
    record.CaptionSeen("QEL \"x\"");
    record.CaptionSeen("QEL \"x\"");
    record.TitleSeen("KORVEL ");
    record.TitleSeen("37 %");
    record.FileListed("/data/Größe\\1.qel");
    record.Failed("line 2: found page 1\n");
    const std::string json = record.ToJson();
    EXPECT_NE(json.find("\"passed\": false"), std::string::npos) << json;
    EXPECT_NE(json.find("\"pages\": [0, 3]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"captions\": [\"QEL \\\"x\\\"\"]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"titles\": [\"KORVEL \", \"37 %\"]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"files\": [\"/data/Größe\\\\1.qel\"]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"failures\": [\"line 2: found page 1\\n\"]"), std::string::npos) << json;
    EXPECT_EQ(qel::JsonString(std::string("a\x01" "b\tc")), "\"a\\u0001b\\tc\"");
}

} // namespace
