// What a paragraph list tells the editors that show it: each edit's change,
// and that every paragraph was re-wrapped. The editor control implements it.
#pragma once

#include <cstdint>

namespace qel {

// An editor attached to a paragraph list. The list calls the edUpdateOn...
// notification of the editor that made an edit (the sender), which passes it
// on to every editor of its ring; positions are 1-based paragraph numbers and
// positions within a paragraph.
class TPgcParaListObserver {
public:
    TPgcParaListObserver() = default;
    virtual ~TPgcParaListObserver() = default;
    TPgcParaListObserver(const TPgcParaListObserver&) = delete;
    TPgcParaListObserver& operator=(const TPgcParaListObserver&) = delete;

    // Count units were inserted at Pos of paragraph N (0 for an overwrite).
    virtual void edUpdateOnInsertedText(std::int32_t N, std::int32_t Pos, std::int32_t Count) = 0;
    // Paragraph N was broken before Pos; the new paragraph N + 1 starts with
    // Indent units of indentation.
    virtual void edUpdateOnInsertedPara(std::int32_t N, std::int32_t Pos, std::int32_t Indent) = 0;
    // Count units were deleted at Pos of paragraph N.
    virtual void edUpdateOnDeletedText(std::int32_t N, std::int32_t Pos, std::int32_t Count) = 0;
    // Paragraph N was deleted.
    virtual void edUpdateOnDeletedPara(std::int32_t N) = 0;
    // Paragraph N + 1 was joined to paragraph N at Pos.
    virtual void edUpdateOnJoinedParas(std::int32_t N, std::int32_t Pos) = 0;
    // Every paragraph was re-wrapped: lines and columns must be recomputed.
    virtual void edResetPositionInfo() = 0;
    // The next editor in the ring of editors sharing the list; the editor
    // itself when it is alone.
    virtual TPgcParaListObserver* NextEditor() const = 0;
};

} // namespace qel
