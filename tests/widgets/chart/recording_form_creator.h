// An editor form for filter tests: records every control a filter's
// CreateEditor adds, one line per call, and keeps the scroll bars it hands
// out so that a test can watch a filter change their range.
#pragma once

#include "widgets/chart/form_creator.h"

#include <memory>
#include <string>
#include <vector>

namespace qel {

class TRecordingFormCreator : public IFormCreator {
public:
    void AddCheckBox(const std::string& PropName, const std::string& Caption,
        const plat::TNotifyEvent& OnChange) override
    {
        Calls.push_back("CheckBox " + PropName + " \"" + Caption + "\"" + (OnChange ? " with event" : ""));
        CheckBoxEvents.push_back(OnChange);
    }
    void AddColor(const std::string& PropName, const std::string& Caption) override
    {
        Calls.push_back("Color " + PropName + " \"" + Caption + "\"");
    }
    void AddCombo(const std::string& PropName) override { Calls.push_back("Combo " + PropName); }
    void AddInteger(const std::string& PropName, const std::string& Caption, int Min, int Max) override
    {
        Calls.push_back("Integer " + PropName + " \"" + Caption + "\" " + std::to_string(Min) + ".." +
            std::to_string(Max));
    }
    plat::TObject* AddScroll(const std::string& PropName, int Min, int Max) override
    {
        Calls.push_back("Scroll " + PropName + " " + std::to_string(Min) + ".." + std::to_string(Max));
        ScrollBars.push_back(std::make_unique<TScrollBar>(Min, Max));
        return ScrollBars.back().get();
    }

    std::vector<std::string> Calls;
    std::vector<plat::TNotifyEvent> CheckBoxEvents;        // in the order of the check boxes
    std::vector<std::unique_ptr<TScrollBar>> ScrollBars;   // in the order of the scroll bars
};

} // namespace qel
