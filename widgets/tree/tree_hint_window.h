// The tree's hint window: shows a node's hint, or in tooltip mode the whole
// text of a cut-off cell laid over the cell, sized from the hint data the
// tree filled; arrow keys and non-client moves leave it open.
#pragma once

#include "platform/controls/hint_window.h"
#include "widgets/tree/data_tree_events.h"

namespace qel {

class TDataTreeHintWindow : public plat::THintWindow {
    PLAT_CLASS(TDataTreeHintWindow, plat::THintWindow)
public:
    explicit TDataTreeHintWindow(plat::TComponent* owner);

    // data points to a TDTHintData; nullptr or an empty text give an empty
    // rectangle, and so does a tooltip whose text fits its cell.
    plat::TRect CalcHintRect(int maxWidth, const std::string& hint, void* data) override;
    bool IsHintMsg(const plat::TMsg& msg) override;
    // The window's own copy of the hint data.
    const TDTHintData& HintData() const { return FHintData; }
    int TextHeight() const { return FTextHeight; }

protected:
    void CreateParams(plat::TCreateParams& params) override;
    void Paint() override;

private:
    // The font for the data: the tree's (tooltip) or the hint font scaled
    // to the tree's resolution.
    void PrepareFont(plat::TCanvas* canvas);
    bool Tooltip() const;

    TDTHintData FHintData;
    int FTextHeight = 0;
};

} // namespace qel
