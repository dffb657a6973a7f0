// An editor stand-in for the paragraph list's tests: it records every
// notification it gets, as text, and can stand in a ring of editors.
#pragma once

#include "widgets/pages/para_list_observer.h"

#include <string>
#include <vector>

namespace qeltest {

class TRecordingObserver : public qel::TPgcParaListObserver {
public:
    void edUpdateOnInsertedText(std::int32_t N, std::int32_t Pos, std::int32_t Count) override
    {
        Record("InsertedText", {N, Pos, Count});
    }
    void edUpdateOnInsertedPara(std::int32_t N, std::int32_t Pos, std::int32_t Indent) override
    {
        Record("InsertedPara", {N, Pos, Indent});
    }
    void edUpdateOnDeletedText(std::int32_t N, std::int32_t Pos, std::int32_t Count) override
    {
        Record("DeletedText", {N, Pos, Count});
    }
    void edUpdateOnDeletedPara(std::int32_t N) override { Record("DeletedPara", {N}); }
    void edUpdateOnJoinedParas(std::int32_t N, std::int32_t Pos) override { Record("JoinedParas", {N, Pos}); }
    void edResetPositionInfo() override { Record("ResetPositionInfo", {}); }
    qel::TPgcParaListObserver* NextEditor() const override { return Next; }

    std::vector<std::string> Calls;   // e.g. "InsertedText(1, 3, 2)"
    qel::TPgcParaListObserver* Next = this;

private:
    void Record(const char* name, std::initializer_list<std::int32_t> args)
    {
        std::string call = std::string(name) + "(";
        const char* separator = "";
        for (const std::int32_t arg : args) {
            call += separator + std::to_string(arg);
            separator = ", ";
        }
        Calls.push_back(call + ")");
    }
};

} // namespace qeltest
