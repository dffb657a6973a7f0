// TScrollBar: a scroll bar of its own, horizontal or vertical, over a range
// with a page. The arrows step by SmallChange (repeating while held), the
// areas beside the thumb by LargeChange, the thumb is dragged; the arrow,
// page, Home and End keys do the same. Every move runs OnScroll, which may
// change the position, and then OnChange when the position changed.
#pragma once

#include "platform/controls/custom_control.h"
#include "platform/controls/scroll_bars.h"

namespace plat {

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

using TScrollEvent = TEvent<void(TObject* sender, TScrollCode code, int& position)>;

class TScrollBar : public TCustomControl {
    PLAT_CLASS(TScrollBar, TCustomControl)
    PLAT_MESSAGES(TScrollBar, TCustomControl)
public:
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    // Max below min is taken as min; the position and page follow.
    void SetParams(int position, int min, int max);
    void SetMin(int value) { SetParams(FPosition, value, FMax); }
    void SetMax(int value) { SetParams(FPosition, FMin, value); }
    int Position() const { return FPosition; }
    // Kept within Min .. Max - PageSize + 1; runs OnChange on a change.
    void SetPosition(int value) { SetParams(value, FMin, FMax); }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value) { FSmallChange = value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value) { FLargeChange = value; }

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // One step of the given kind; Scroll runs OnScroll and moves.
    virtual void Scroll(TScrollCode code, int position);

    void WMGetDlgCode(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMTimer(TMessage& message);
    void WMCancelMode(TMessage& message);
    void CMEnabledChanged(TMessage& message);

private:
    TScrollBarLayout Layout() const;
    int LastPosition() const;
    // The position a step of this code leads to.
    int Stepped(TScrollCode code) const;
    void EndTracking();

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
    TScrollBarPart FPressed = TScrollBarPart::None;   // the part held down
    TPoint FPointer;                                  // where the pointer is while held
    int FGrabOffset = 0;                              // pointer offset into the dragged thumb
};

} // namespace plat
