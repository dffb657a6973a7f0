// The paragraph editor's search and replace over a million generated
// paragraphs: a global search for an absent 8-unit pattern (a full scan),
// with and without case, against a Boyer-Moore-Horspool scan of the same
// paragraphs by the standard library in the same run; then replace-all of a
// pattern found once per paragraph by a text of the same length and by a
// longer one, on the text and on the text twice as long, each in a child
// process of its own. Run by hand.
#include "para_text_generator.h"

#include "widgets/pages/para_list.h"
#include "widgets/pages/pgc_base_unit.h"
#include "widgets/pages/pgc_editor.h"

#include "platform/controls/application.h"
#include "platform/hosts/headless/headless_host.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

using namespace para_bench;

namespace {

constexpr char16_t Absent[] = u"qqxqzqjv";     // letters, never generated in this order by the seed's text
constexpr char16_t Marker[] = u"<#>";          // once at the start of every paragraph
constexpr int Repeats = 3;                     // the best of these runs counts

class TBenchEditor : public qel::TPgcEditor {
public:
    using qel::TPgcEditor::TPgcEditor;
    qel::TPgcParaList& List() const { return edParaList(); }
};

std::unique_ptr<TBenchEditor> Filled(const TGeneratedText& Generated, int Copies, bool Marked)
{
    auto editor = std::make_unique<TBenchEditor>(nullptr);
    std::u16string paragraph;
    for (int copy = 0; copy < Copies; ++copy) {
        for (std::int32_t p = 0; p < Paragraphs; ++p) {
            paragraph.assign(Marked ? Marker : u"");
            paragraph.append(Generated.Paragraph(p));
            editor->List().AppendParaEof(paragraph.data(), static_cast<std::int32_t>(paragraph.size()), false);
        }
    }
    return editor;
}

// The thread's processor seconds of the fastest of Repeats runs.
double Best(const std::function<void()>& Run)
{
    double best = 1e9;
    for (int i = 0; i < Repeats; ++i) {
        const double start = ThreadSeconds();
        Run();
        best = std::min(best, ThreadSeconds() - start);
    }
    return best;
}

// The standard library's scan of every paragraph for the pattern.
std::size_t LibraryScan(const qel::TPgcParaList& List, std::u16string_view Pattern)
{
    const std::boyer_moore_horspool_searcher searcher(Pattern.begin(), Pattern.end());
    std::size_t found = 0;
    for (const qel::TParaNode* node = List.Head(); node != nullptr; node = node->Next) {
        const char16_t* text = node->GetS();
        const char16_t* end = text + node->SLen();
        found += std::search(text, end, searcher) != end ? 1 : 0;
    }
    return found;
}

void SearchBench(const TGeneratedText& Generated)
{
    const auto editor = Filled(Generated, 1, false);
    std::size_t libraryFound = 0;
    const double library = Best([&] { libraryFound = LibraryScan(editor->List(), Absent); });
    bool found = true;
    const double withCase = Best([&] { found = editor->Search(Absent, {qel::soGlobal, qel::soMatchCase}); });
    const double withoutCase = Best([&] { found = found || editor->Search(Absent, {qel::soGlobal}); });
    std::printf("full scan of %d paragraphs: library %.3f s (%zu found), editor with case %.3f s, without %.3f s%s\n",
        Paragraphs, library, libraryFound, withCase, withoutCase, found ? " (FOUND: the pattern is not absent)" : "");
    std::printf("  with case / library: %.2f (target at most 1.5: %s)\n", withCase / library,
        Verdict(withCase <= 1.5 * library));
    std::printf("  without case / library: %.2f (target at most 3: %s)\n", withoutCase / library,
        Verdict(withoutCase <= 3 * library));
}

// Processor seconds of one replace-all over a fresh text of Copies copies of
// the generated paragraphs, and its count, measured in a child process: every
// run starts from the same state of the memory allocator. (In one process a
// run on the short text would reuse memory that a longer text before it left
// mapped, while a run on the long text has to be given fresh memory first, so
// their ratio would say more about the heap's history than about the editor.)
bool ReplaceAllOnce(const TGeneratedText& Generated, int Copies, const char16_t* By, double& Seconds, int& Count)
{
    int channel[2];
    if (pipe(channel) != 0) {
        return false;
    }
    const pid_t child = fork();
    if (child == 0) {
        const auto editor = Filled(Generated, Copies, true);
        const double start = ThreadSeconds();
        const int count = editor->Replace(Marker, By, {qel::soReplaceAll, qel::soGlobal, qel::soMatchCase});
        const double result[2] = {ThreadSeconds() - start, static_cast<double>(count)};
        _exit(write(channel[1], result, sizeof result) == sizeof result ? 0 : 1);
    }
    close(channel[1]);
    double result[2] = {0, 0};
    const bool ok = child > 0 && read(channel[0], result, sizeof result) == sizeof result;
    close(channel[0]);
    int status = 0;
    if (child > 0) {
        waitpid(child, &status, 0);
    }
    Seconds = result[0];
    Count = static_cast<int>(result[1]);
    return ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The fastest of Repeats runs; -1 when a run failed.
double ReplaceAll(const TGeneratedText& Generated, int Copies, const char16_t* By, int& Count)
{
    double best = 1e9;
    for (int i = 0; i < Repeats; ++i) {
        double seconds = 0;
        if (!ReplaceAllOnce(Generated, Copies, By, seconds, Count)) {
            return -1;
        }
        best = std::min(best, seconds);
    }
    return best;
}

void ReplaceBench(const TGeneratedText& Generated)
{
    for (const char16_t* by : {u"[#]", u"<<##>>"}) {
        int once = 0;
        int twice = 0;
        const double single = ReplaceAll(Generated, 1, by, once);
        const double doubled = ReplaceAll(Generated, 2, by, twice);
        std::printf("replace-all by a text %s: %d replacements in %.3f s (target under 2 s: %s); "
                    "%d in %.3f s on twice the text, ratio %.2f (target at most 2: %s)\n",
            std::u16string_view(by).size() == 3 ? "of the same length" : "twice as long", once, single,
            Verdict(single > 0 && single < 2.0 && once == Paragraphs), twice, doubled, doubled / single,
            Verdict(single > 0 && doubled > 0 && doubled <= 2 * single && twice == 2 * Paragraphs));
    }
}

} // namespace

int main()
{
    plat::THeadlessHost host;
    plat::TApplication app{host};
    qel::InitPgcBaseUnit();
    const TGeneratedText generated = Generate(20240601);
    SearchBench(generated);
    ReplaceBench(generated);
    qel::FinalizePgcBaseUnit();
    return 0;
}
