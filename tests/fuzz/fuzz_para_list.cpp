// Fuzz target for the paragraph editor's text model: the input is an edit
// script (settings, then editing operations, undo, redo, appends, re-wraps
// and limit changes) run on one paragraph list; after every step the list's
// invariants and lookups are checked against plain walks and fresh re-wraps.
#include "tests/widgets/pages/para_list_checker.h"
#include "widgets/pages/para_list.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr std::int32_t MaxSteps = 60;
constexpr std::uint16_t UndoSizes[] = {0, 24, 160, 1024, 8192};

void Require(const std::string& fault, const char* what, std::int32_t step)
{
    if (!fault.empty()) {
        std::fprintf(stderr, "step %d (%s): %s\n", step, what, fault.c_str());
        std::abort();
    }
}

// One step that is not an editing operation of the undo history.
void RunOtherStep(qel::TPgcParaList& list, qeltest::TScriptReader& in, std::int32_t kind)
{
    switch (kind) {
    case 0:
        qeltest::UndoOnce(list);
        break;
    case 1:
        qeltest::RedoOnce(list);
        break;
    case 2:
        qeltest::AppendText(list, qeltest::ScriptText(in, false), in.Below(2) == 1);
        break;
    case 3:
        list.SetWordWrap(!list.WordWrap());
        break;
    case 4:
        list.SetWrapColumn(in.Below(90) - 2);
        break;
    case 5:
        list.SetTabSize(static_cast<std::uint8_t>(in.Byte()));
        break;
    case 6:
        list.SetMaxParaLen(in.Below(40));
        list.SetByteLimit(in.Below(2) == 1 ? 200 + in.Below(100) : qel::TPgcParaList::NoLimit);
        list.SetParaLimit(in.Below(2) == 1 ? 3 + in.Below(10) : qel::TPgcParaList::NoLimit);
        break;
    case 7:
        list.SetMarker(static_cast<std::uint8_t>(in.Below(12)), in.Below(list.ParaCount() + 1), in.Below(20));
        break;
    default:
        list.UndoBuffer().SetModified();
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    qeltest::TScriptReader in({data, size});
    qel::TPgcParaList list(nullptr, UndoSizes[in.Below(5)], in.Below(2) == 1);
    list.SetWrapColumn(1 + in.Below(40));
    list.SetTabSize(static_cast<std::uint8_t>(1 + in.Below(8)));
    list.SetWalkIndexStride(1 + in.Below(4));
    for (std::int32_t step = 0; step < MaxSteps && !in.AtEnd(); ++step) {
        const std::int32_t kind = in.Below(20);
        if (kind < 11) {
            qeltest::RunScriptOp(list, in, nullptr);
        } else {
            RunOtherStep(list, in, kind - 11);
        }
        Require(qeltest::CheckParaList(list), "invariants", step);
        Require(qeltest::CheckLookups(list, static_cast<std::uint32_t>(step)), "lookups", step);
    }
    return 0;
}
