// String lists: order, sorting and duplicates, case, index errors, change
// events, comma text, lines, name=value pairs and UTF-8 files.
#include "platform/objects/string_list.h"

#include "platform/object_list.h"
#include "platform/streams.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const plat::TStrings& list)
{
    std::vector<std::string> lines;
    for (int index = 0; index < list.Count(); ++index) {
        lines.push_back(list.Strings(index));
    }
    return lines;
}

TEST(StringList, KeepsInsertionOrderUnlessSorted)
{
    plat::TStringList list;
    for (const char* text : {"pear", "Apple", "fig", "apple"}) {
        list.Add(text);
    }
    list.Insert(1, "kiwi");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"pear", "kiwi", "Apple", "fig", "apple"}));
    EXPECT_EQ(list.IndexOf("APPLE"), 2);   // without case, the first one

    list.SetSorted(true);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Apple", "apple", "fig", "kiwi", "pear"}));
    EXPECT_THROW(list.Insert(0, "x"), plat::EListError);
    EXPECT_THROW(list.Put(0, "x"), plat::EListError);
    int index = -1;
    EXPECT_FALSE(list.Find("grape", index));
    EXPECT_EQ(index, 3);   // where it would go
    EXPECT_TRUE(list.Find("KIWI", index));
    EXPECT_EQ(index, 3);
}

TEST(StringList, SortedDuplicatesAreIgnoredAcceptedOrRefused)
{
    struct TCase {
        plat::TDuplicates Duplicates;
        std::vector<std::string> Expected;
        bool Raises;
    };
    for (const TCase& c : {TCase{plat::dupIgnore, {"a", "B", "c"}, false},
                           TCase{plat::dupAccept, {"a", "B", "b", "c"}, false},
                           TCase{plat::dupError, {"a", "B", "c"}, true}}) {
        SCOPED_TRACE(c.Duplicates);
        plat::TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(c.Duplicates);
        list.Add("c");
        list.Add("B");
        list.Add("a");
        if (c.Raises) {
            EXPECT_THROW(list.Add("b"), plat::EListError);
        } else {
            list.Add("b");
        }
        EXPECT_EQ(Lines(list), c.Expected);
    }

    plat::TStringList caseSensitive;
    caseSensitive.SetSorted(true);
    caseSensitive.SetCaseSensitive(true);
    caseSensitive.Add("b");
    caseSensitive.Add("B");   // another text when case counts
    caseSensitive.Add("b");
    EXPECT_EQ(Lines(caseSensitive), (std::vector<std::string>{"B", "b"}));
    EXPECT_EQ(caseSensitive.IndexOf("b"), 1);
}

TEST(StringList, IndexErrorsNameTheIndex)
{
    plat::TStringList list;
    list.Add("one");
    for (const int index : {-1, 1, 5}) {
        EXPECT_THROW(list.Strings(index), plat::EListError) << index;
        EXPECT_THROW(list.Delete(index), plat::EListError) << index;
        EXPECT_THROW(list.Objects(index), plat::EListError) << index;
    }
    try {
        list.Delete(4);
        FAIL() << "no error";
    } catch (const plat::EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (4)");
    }
    EXPECT_THROW(list.Insert(2, "x"), plat::EListError);
}

TEST(StringList, ChangeEventsFireOutsideUpdatesOnly)
{
    plat::TStringList list;
    std::vector<std::string> events;
    list.OnChanging = [&events](plat::TObject*) { events.push_back("changing"); };
    list.OnChange = [&events, &list](plat::TObject* sender) {
        EXPECT_EQ(sender, &list);
        events.push_back("change " + std::to_string(list.Count()));
    };
    list.Add("a");
    list.BeginUpdate();
    list.Add("b");
    list.BeginUpdate();
    list.SetCommaText("x,y,z");
    list.EndUpdate();
    list.EndUpdate();
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "change 1", "changing", "change 3"}));
}

TEST(StringList, CommaTextQuotesWhatNeedsIt)
{
    struct TCase {
        std::vector<std::string> Lines;
        std::string Text;
    };
    for (const TCase& c : {TCase{{"a", "b c", "", "say \"hi\"", "x,y"}, R"(a,"b c","","say ""hi""","x,y")"},
                           TCase{{""}, R"("")"}, TCase{{}, ""}, TCase{{"Grüße"}, "Grüße"}}) {
        SCOPED_TRACE(c.Text);
        plat::TStringList list;
        for (const std::string& line : c.Lines) {
            list.Add(line);
        }
        EXPECT_EQ(list.CommaText(), c.Text);
        plat::TStringList back;
        back.SetCommaText(c.Text);
        EXPECT_EQ(Lines(back), c.Lines);
    }

    // Blanks split unquoted parts; a trailing comma adds an empty part.
    plat::TStringList parsed;
    parsed.SetCommaText("  one two , \"three, four\" ,five,");
    EXPECT_EQ(Lines(parsed), (std::vector<std::string>{"one", "two", "three, four", "five", ""}));
    parsed.StrictDelimiter = true;
    parsed.Delimiter = ';';
    parsed.SetDelimitedText("a b;c");
    EXPECT_EQ(Lines(parsed), (std::vector<std::string>{"a b", "c"}));
    EXPECT_EQ(parsed.DelimitedText(), "a b;c");
}

TEST(StringList, TextLinesAndValues)
{
    plat::TStringList list;
    list.SetText("one\r\ntwo\nthree\rfour\n");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"one", "two", "three", "four"}));
    EXPECT_EQ(list.Text(), "one\ntwo\nthree\nfour\n");

    list.SetText("Port=COM3\nBaud=9600\nempty=");
    EXPECT_EQ(list.Values("baud"), "9600");
    EXPECT_EQ(list.Names(0), "Port");
    EXPECT_EQ(list.Values("missing"), "");
    list.SetValue("Baud", "115200");
    list.SetValue("Parity", "N");
    list.SetValue("port", "");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Baud=115200", "empty=", "Parity=N"}));
}

TEST(StringList, OwnedObjectsAreFreedAndAssignCopiesLines)
{
    struct TCounted : plat::TObject {
        explicit TCounted(int& alive) : Alive(alive) { ++Alive; }
        ~TCounted() override { --Alive; }
        int& Alive;
    };
    int alive = 0;
    {
        plat::TStringList owning(true);
        owning.AddObject("a", new TCounted(alive));
        owning.AddObject("b", new TCounted(alive));
        owning.AddObject("c", new TCounted(alive));
        owning.Delete(0);
        EXPECT_EQ(alive, 2);
        plat::TStringList copy;
        copy.Assign(&owning);
        EXPECT_EQ(Lines(copy), (std::vector<std::string>{"b", "c"}));
        EXPECT_EQ(copy.Objects(1), owning.Objects(1));
        copy.Move(1, 0);
        EXPECT_EQ(Lines(copy), (std::vector<std::string>{"c", "b"}));
    }
    EXPECT_EQ(alive, 0);
}

TEST(StringList, FilesAreUtf8AndReadOldWindows1252)
{
    qeltest::TempDir folder;
    plat::TStringList list;
    list.Add("Grüße");
    list.Add("Zeile 2");
    const std::string file = folder.File("lines.txt");
    list.SaveToFile(file);
    EXPECT_EQ(qeltest::ReadWholeFile(file), "Grüße\nZeile 2\n");

    struct TCase {
        const char* Name;
        std::string Bytes;
        std::vector<std::string> Lines;
    };
    for (const TCase& c : {TCase{"UTF-8 with mark", "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e\r\nx", {"Grüße", "x"}},
                           TCase{"Windows-1252", "Gr\xFC\xDF" "e\n", {"Grüße"}}}) {
        SCOPED_TRACE(c.Name);
        std::ofstream(file, std::ios::binary) << c.Bytes;
        plat::TStringList read;
        read.LoadFromFile(file);
        EXPECT_EQ(Lines(read), c.Lines);
    }
    plat::TStringList missing;
    EXPECT_THROW(missing.LoadFromFile(folder.File("none.txt")), plat::EFOpenError);
}

} // namespace
