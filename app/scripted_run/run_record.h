// The record of a scripted run, written as JSON when the program ends:
//   { "status": 0, "passed": true, "failures": [...], "window": true,
//     "pages": [0, 3, 1], "captions": [...], "titles": [...],
//     "dialogs": [{"kind": "box", "type": "error", "caption": "...",
//                  "text": "...", "answer": "OK"}, ...],
//     "files": [...], "activations": 0 }
// Pages in the order shown; captions and titles each time they changed;
// dialogs in the order shown with their answers; files as the finish page
// listed them; activations: the second starts that brought the window to
// the front.
#pragma once

#include "platform/dialogs.h"

#include <string>
#include <vector>

namespace qel {

class TRunRecord {
public:
    void Failed(const std::string& Why) { FFailures.push_back(Why); }
    bool Passed() const { return FFailures.empty(); }
    const std::vector<std::string>& Failures() const { return FFailures; }

    void WindowShown() { FWindow = true; }
    void PageShown(int Page) { FPages.push_back(Page); }
    // Kept when it differs from the last one kept.
    void CaptionSeen(const std::string& Caption);
    void TitleSeen(const std::string& Title);
    void FileListed(const std::string& FileName) { FFiles.push_back(FileName); }
    void Activated() { ++FActivations; }
    int Activations() const { return FActivations; }
    void SetDialogs(const std::vector<plat::TShownDialog>& Dialogs) { FDialogs = Dialogs; }
    void SetStatus(int Status) { FStatus = Status; }

    std::string ToJson() const;
    // Replaces the file as a whole; raises the platform's file error when
    // it cannot be written.
    void Save(const std::string& FileName) const;

private:
    int FStatus = 0;
    std::vector<std::string> FFailures;
    bool FWindow = false;
    std::vector<int> FPages;
    std::vector<std::string> FCaptions;
    std::vector<std::string> FTitles;
    std::vector<plat::TShownDialog> FDialogs;
    std::vector<std::string> FFiles;
    int FActivations = 0;
};

// Text as a JSON string, quotes included (UTF-8 kept, control characters escaped).
std::string JsonString(const std::string& Text);

} // namespace qel
