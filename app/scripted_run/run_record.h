// The record of a scripted run, written as JSON when the program ends:
//   { "status": 0, "passed": true,
//     "failures": [{"step": 7, "why": "..."}],
//     "window": true,
//     "pages": [{"step": 0, "page": 0}, ...],
//     "captions": [{"step": 0, "caption": "..."}],
//     "titles": [{"step": 0, "title": "KORVEL "}, {"step": 9, "title": "37 %"}],
//     "dialogs": [{"step": 3, "kind": "box", "type": "error", "text": "...",
//                  "buttons": ["Yes", "No"], "default": "Yes", "answer": "No",
//                  "caption": "Confirm", "button_captions": ["&Yes", "&No"]},
//                 {"step": 4, "kind": "save", "title": "Save File", "filter": "...",
//                  "filter_index": 1, "default_ext": "qrec", "folder": "...",
//                  "proposed": "...", "overwrite_prompt": true, "file_must_exist": false,
//                  "answer": "confirmed", "file": "...", "title": "Save File"},
//                 {"step": 6, "kind": "folder", "caption": "...", "start": "...",
//                  "answer": "confirmed", "folder": "..."},
//                 {"step": 7, "kind": "colour", "start": 255, "answer": "cancelled",
//                  "colour": 255}, ...],
//     "files": [{"step": 12, "file": "..."}],
//     "closes": [{"step": 13, "time": 2000, "granted": false}],
//     "activations": 0 }
// Every entry carries the id of the step that ran last when it happened
// (the script line, 0 before the first step). Pages in the order shown;
// captions and titles each time they changed; dialogs in the order shown
// with what they showed (captions as shown, buttons in the order shown) and
// their answers; files as the finish page listed them; close requests of
// the main window with the program's clock (ms) and whether the window
// closed; activations: the second starts that brought the window to the front.
#pragma once

#include "platform/dialogs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qel {

class TRunRecord {
public:
    // The step that entries are put down for.
    void SetStep(int Step) { FStep = Step; }
    int Step() const { return FStep; }

    void Failed(const std::string& Why) { FFailures.push_back({FStep, Why}); }
    bool Passed() const { return FFailures.empty(); }
    std::vector<std::string> Failures() const;

    void WindowShown() { FWindow = true; }
    void PageShown(int Page) { FPages.push_back({FStep, Page}); }
    // Kept when it differs from the last one kept.
    void CaptionSeen(const std::string& Caption);
    void TitleSeen(const std::string& Title);
    void FileListed(const std::string& FileName) { FFiles.push_back({FStep, FileName}); }
    void CloseRequested(std::int64_t TimeMs, bool Granted) { FCloses.push_back({FStep, TimeMs, Granted}); }
    void Activated() { ++FActivations; }
    int Activations() const { return FActivations; }
    // What the run knows of a dialog beyond what it was asked to show.
    struct TDialogNote {
        int Step = 0;                             // the step it showed at
        std::string Caption;                      // the caption or title as shown
        std::vector<std::string> ButtonCaptions;  // a box's buttons as shown, in their order
    };
    // The dialogs shown, each with its note.
    void SetDialogs(const std::vector<plat::TShownDialog>& Dialogs, const std::vector<TDialogNote>& Notes);
    void SetStatus(int Status) { FStatus = Status; }

    std::string ToJson() const;
    // Replaces the file as a whole; raises the platform's file error when
    // it cannot be written.
    void Save(const std::string& FileName) const;

private:
    template <class T>
    struct TAt {
        int Step;
        T Value;
    };
    struct TClose {
        int Step;
        std::int64_t TimeMs;
        bool Granted;
    };

    int FStep = 0;
    int FStatus = 0;
    std::vector<TAt<std::string>> FFailures;
    bool FWindow = false;
    std::vector<TAt<int>> FPages;
    std::vector<TAt<std::string>> FCaptions;
    std::vector<TAt<std::string>> FTitles;
    std::vector<plat::TShownDialog> FDialogs;
    std::vector<TDialogNote> FDialogNotes;   // one per dialog
    std::vector<TAt<std::string>> FFiles;
    std::vector<TClose> FCloses;
    int FActivations = 0;
};

// Text as a JSON string, quotes included (UTF-8 kept, control characters escaped).
std::string JsonString(const std::string& Text);

} // namespace qel
