// TMemo: the multi-line edit. Its text is lines separated by CR LF (LF or CR
// alone count as breaks too), wrapped at word boundaries to the width of the
// control (WordWrap), scrolled by whole lines with the wheel and an optional
// vertical scroll bar. Up, Down and the page keys move between the lines
// shown; a read-only memo, such as a note on a page, takes no typing.
#pragma once

#include "platform/controls/standard/custom_edit.h"
#include "platform/objects/strings.h"

#include <memory>
#include <vector>

namespace plat {

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo : public TCustomEdit {
    PLAT_CLASS(TCustomMemo, TCustomEdit)
    PLAT_MESSAGES(TCustomMemo, TCustomEdit)
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    // The text as lines; changing them changes the text.
    TStrings& Lines() { return *FLines; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // ssVertical and ssBoth show a vertical scroll bar when the lines overflow.
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool value) { FWantReturns = value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }

    // The lines as shown: each one's first unit and length (line breaks left out).
    struct TShownLine {
        int Start = 0;
        int Length = 0;
    };
    const std::vector<TShownLine>& ShownLines() const { return FShown; }
    int TopLine() const { return FTopLine; }

protected:
    void CreateParams(TCreateParams& params) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;

    bool MultiLine() const override { return true; }
    bool WantsReturns() const override { return FWantReturns; }
    bool WantsTabs() const override { return FWantTabs; }
    void TextLaidOut() override;
    int IndexAtPoint(TPoint point) override;
    TPoint CaretPointOf(int index) override;
    void ScrollIntoView(int index) override;
    int IndexByLines(int index, int lines) override;
    int PageLines() override;
    int LineStartOf(int index) override;
    int LineEndOf(int index) override;
    void PaintText(TCanvas& canvas) override;

    void WMVScroll(TMessage& message);

private:
    // The shown line that holds index (a wrap point starts the next line).
    int LineOf(int index) const;
    int VisibleLines();
    void SetTopLine(int value);
    void UpdateScrollBar();
    // Appends the shown lines of the text line [start, end).
    void WrapLine(int start, int end, int width);

    std::unique_ptr<TStrings> FLines;
    std::vector<TShownLine> FShown;
    int FTopLine = 0;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = ssNone;
    bool FWantReturns = true;
    bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
    PLAT_CLASS(TMemo, TCustomMemo)
public:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

} // namespace plat
