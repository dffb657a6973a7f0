// The ring of editors that show one paragraph list: attaching and leaving,
// and how every editor of the ring follows an edit made in one of them (its
// view's top, and for the others their caret and selection too).
#include "widgets/pages/pgc_editor.h"

#include "widgets/pages/para_list.h"

#include <algorithm>

namespace qel {

// ---- attaching and leaving ----

TPgcCustomEditor* TPgcCustomEditor::FirstEditor() const
{
    return dynamic_cast<TPgcCustomEditor*>(edParas->Owner());
}

// An editor that shares its list leaves its ring first, so that the others
// keep the text they hold; only an editor alone frees its own list. The
// attaching editor starts at the top of the text it joins.
void TPgcCustomEditor::Attach(TPgcCustomEditor* Editor)
{
    if (Editor == nullptr || Editor == this) {
        return;
    }
    edDetach();
    edParas = Editor->edParas;
    TPgcCustomEditor* owner = FirstEditor();
    edPrev = owner->edPrev;
    edNext = owner;
    owner->edPrev->edNext = this;
    owner->edPrev = this;

    ResetView();
    ResetScrollBars(true);
}

void TPgcCustomEditor::edDetach()
{
    if (edNext == this) {
        delete edParas;
        edParas = nullptr;
        return;
    }
    edPrev->edNext = edNext;
    edNext->edPrev = edPrev;
    if (edParas->Owner() == this) {
        edParas->SetOwner(edNext);
    }
    edPrev = this;
    edNext = this;
    edParas = nullptr;
}

// ---- following an edit ----

// The sender's neighbours first, the sender last.
template <class Fix>
void TPgcCustomEditor::NotifyRing(Fix FixOne)
{
    TPgcCustomEditor* editor = edNext;
    for (;;) {
        const bool isSender = editor == this;
        FixOne(*editor, isSender);
        if (isSender) {
            return;
        }
        editor = editor->edNext;
    }
}

void TPgcCustomEditor::edUpdateOnInsertedText(std::int32_t N, std::int32_t Pos, std::int32_t Count)
{
    NotifyRing([&](TPgcCustomEditor& Editor, bool IsSender) { Editor.edFixInsertedText(N, Pos, Count, IsSender); });
}

void TPgcCustomEditor::edUpdateOnInsertedPara(std::int32_t N, std::int32_t Pos, std::int32_t Indent)
{
    NotifyRing([&](TPgcCustomEditor& Editor, bool IsSender) { Editor.edFixInsertedPara(N, Pos, Indent, IsSender); });
}

void TPgcCustomEditor::edUpdateOnDeletedText(std::int32_t N, std::int32_t Pos, std::int32_t Count)
{
    NotifyRing([&](TPgcCustomEditor& Editor, bool IsSender) { Editor.edFixDeletedText(N, Pos, Count, IsSender); });
}

void TPgcCustomEditor::edUpdateOnDeletedPara(std::int32_t N)
{
    NotifyRing([&](TPgcCustomEditor& Editor, bool IsSender) { Editor.edFixDeletedPara(N, IsSender); });
}

void TPgcCustomEditor::edUpdateOnJoinedParas(std::int32_t N, std::int32_t Pos)
{
    NotifyRing([&](TPgcCustomEditor& Editor, bool IsSender) { Editor.edFixJoinedParas(N, Pos, IsSender); });
}

void TPgcCustomEditor::SetTopFromMarker(const TMarker& TopMarker, bool TakePara, bool EditInTopPara)
{
    std::int32_t column = 0;
    const std::int32_t line = edParas->FindLineByPara(TopMarker.Para, TopMarker.Pos, column);
    if (TakePara) {
        edTopPara = TopMarker.Para;
    }
    edSetTopLine(line);
    if (EditInTopPara) {
        std::int32_t linePos = 0;
        edParas->FindParaByLine(edTopLine, linePos);
        edTopPos = linePos;
    }
}

void TPgcCustomEditor::PlaceCaretAt(const TMarker& Caret)
{
    std::int32_t column = 0;
    edCurPara = Caret.Para;
    edCurLine = edParas->FindLineByPara(Caret.Para, Caret.Pos, column);
    edCurCol = column;
    edLinePos = Caret.Pos - column;
}

template <class FixMarker>
void TPgcCustomEditor::FixSelection(FixMarker Fix)
{
    Fix(edHltBgn);
    Fix(edHltEnd);
    Fix(edAnchor);
    edHltBgnL = LinePosOf(edHltBgn);
    edHltEndL = LinePosOf(edHltEnd);
}

void TPgcCustomEditor::MarkScrollStatePending()
{
    edPendingVSR = true;
    edPendingVSP = true;
    edPendingHSP = true;
    edRedraw(false);
}

void TPgcCustomEditor::edFixInsertedText(std::int32_t N, std::int32_t Pos, std::int32_t Count, bool IsSender)
{
    TMarker top{edTopPara, edTopPos + 1};
    if (TMarker{N, Pos} < top) {
        TPgcParaList::FixMarkerInsertedText(top, N, Pos, Count);
        SetTopFromMarker(top, false, N == edTopPara);
    }
    if (IsSender) {
        return;
    }
    if (edCurPara >= N) {
        TMarker caret = CaretMarker();
        TPgcParaList::FixMarkerInsertedText(caret, N, Pos, Count);
        PlaceCaretAt(caret);
    }
    FixSelection([&](TMarker& M) { TPgcParaList::FixMarkerInsertedText(M, N, Pos, Count); });
    MarkScrollStatePending();
}

void TPgcCustomEditor::edFixInsertedPara(std::int32_t N, std::int32_t Pos, std::int32_t Indent, bool IsSender)
{
    TMarker top{edTopPara, edTopPos + 1};
    if (edTopPara >= N) {
        if (IsSender && top == TMarker{N, Pos}) {
            return;
        }
        const bool inTopPara = N == edTopPara;
        TPgcParaList::FixMarkerInsertedPara(top, N, Pos, Indent);
        SetTopFromMarker(top, true, inTopPara);
    }
    if (IsSender) {
        return;
    }
    if (edCurPara >= N) {
        TMarker caret = CaretMarker();
        TPgcParaList::FixMarkerInsertedPara(caret, N, Pos, Indent);
        PlaceCaretAt(caret);
    }
    FixSelection([&](TMarker& M) { TPgcParaList::FixMarkerInsertedPara(M, N, Pos, Indent); });
    MarkScrollStatePending();
}

void TPgcCustomEditor::edFixDeletedText(std::int32_t N, std::int32_t Pos, std::int32_t Count, bool IsSender)
{
    TMarker top{edTopPara, edTopPos + 1};
    if (edTopPara >= N) {
        TPgcParaList::FixMarkDeletedText(top, N, Pos, Count);
        SetTopFromMarker(top, false, N == edTopPara);
    }
    if (IsSender) {
        return;
    }
    if (edCurPara >= N) {
        TMarker caret = CaretMarker();
        TPgcParaList::FixMarkDeletedText(caret, N, Pos, Count);
        PlaceCaretAt(caret);
    }
    FixSelection([&](TMarker& M) { TPgcParaList::FixMarkDeletedText(M, N, Pos, Count); });
    MarkScrollStatePending();
}

void TPgcCustomEditor::edFixDeletedPara(std::int32_t N, bool IsSender)
{
    TMarker top{edTopPara, edTopPos + 1};
    // A top left beyond the last paragraph follows it back as well.
    if (edTopPara >= N && (N < edTopPara || edTopPos != 0 || edTopPara > ParaCount())) {
        const bool inTopPara = N == edTopPara;
        edParas->FixMarkDeletedPara(top, N);
        SetTopFromMarker(top, true, inTopPara);
    }
    if (IsSender) {
        return;
    }
    if (edCurPara >= N) {
        TMarker caret = CaretMarker();
        edParas->FixMarkDeletedPara(caret, N);
        PlaceCaretAt(caret);
    }
    const bool selectionDeleted = edHltBgn != edHltEnd && edHltBgn.Para == N && edHltEnd.Para == N;
    if (selectionDeleted) {
        edCollapseSelection(false);
    } else {
        FixSelection([&](TMarker& M) { edParas->FixMarkDeletedPara(M, N); });
    }
    MarkScrollStatePending();
}

void TPgcCustomEditor::edFixJoinedParas(std::int32_t N, std::int32_t Pos, bool IsSender)
{
    TMarker top{edTopPara, edTopPos + 1};
    if (edTopPara >= N) {
        const bool inTopPara = N == edTopPara || N + 1 == edTopPara;
        TPgcParaList::FixMarkerJoinedParas(top, N, Pos);
        SetTopFromMarker(top, true, inTopPara);
    }
    if (IsSender) {
        return;
    }
    if (N < edCurPara) {
        TMarker caret = CaretMarker();
        TPgcParaList::FixMarkerJoinedParas(caret, N, Pos);
        PlaceCaretAt(caret);
    }
    FixSelection([&](TMarker& M) { TPgcParaList::FixMarkerJoinedParas(M, N, Pos); });
    MarkScrollStatePending();
}

// After the list re-wrapped every paragraph.
void TPgcCustomEditor::edResetPositionInfo()
{
    std::int32_t column = 0;
    const TMarker caret = CaretMarker();
    edCurLine = edParas->FindLineByPara(caret.Para, caret.Pos, column);
    if (edParas->WordWrap()) {
        column = std::min(column, edParas->LineLength(edCurLine) + 1);
    }
    edCurCol = column;
    std::int32_t linePos = 0;
    edParas->FindParaByLine(edCurLine, linePos);
    edLinePos = linePos;

    std::int32_t topColumn = 0;
    edSetTopLine(edParas->FindLineByPara(edTopPara, edTopPos + 1, topColumn));
    edParas->FindParaByLine(edTopLine, linePos);
    edTopPos = linePos;

    edHltBgnL = LinePosOf(edHltBgn);
    edHltEndL = LinePosOf(edHltEnd);
    edSetHScrollRange();
    edHDelta = std::min(edHDelta, edHSMax);
    ResetScrollBars(true);
}

} // namespace qel
