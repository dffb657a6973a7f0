// The visual bases of the component library. TPgcGraphicControl paints on
// its parent; TPgcCustomControl is a windowed control that can carry a
// caption label beside it (LabelInfo), tells when the focus has arrived or
// left (AfterEnter, AfterExit, fired once the focus change is complete) and
// reports the wheel with the message's raw fields; TPgcCustomControlEx
// consults a controller, the first one on its form or else the default one.
// The notebook, the editor and the entry fields stand on them.
#pragma once

#include "widgets/pages/pgc_collection_streamer.h"
#include "widgets/pages/pgc_component.h"

#include "platform/controls/custom_control.h"
#include "platform/controls/graphic_control.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qel {

class TPgcAttachedLabel;
class TPgcController;

// The nearest form or frame among the control's parents; nullptr when none.
plat::TWinControl* FindParentFormOrFrame(const plat::TControl* Control);

class TPgcGraphicControl : public TPgcCollectionOwner<plat::TGraphicControl> {
    PLAT_CLASS(TPgcGraphicControl, plat::TGraphicControl)
public:
    explicit TPgcGraphicControl(plat::TComponent* AOwner) : TPgcCollectionOwner(AOwner) {}

    std::string About() const { return std::string(kPgcLibraryVersion); }
    void SetAbout(const std::string&) {}
};

enum TPgcLabelPosition { lpTopLeft, lpBottomLeft };

using TPgcAttachEvent = plat::TEvent<void(plat::TObject* Sender, bool Value)>;

// Where a control's attached label sits, and whether it has one. The
// offsets are from the control's left edge and, above the control
// (lpTopLeft), from its top to the label's bottom; below it (lpBottomLeft),
// from its bottom to the label's top.
class TPgcLabelInfo : public plat::TPersistent {
    PLAT_CLASS(TPgcLabelInfo, plat::TPersistent)
public:
    int OffsetX() const { return FOffsetX; }
    int OffsetY() const { return FOffsetY; }
    bool Visible() const { return FVisible; }
    // Fire OnChange on a change.
    void SetOffsetX(int Value);
    void SetOffsetY(int Value);
    void SetOffsets(int X, int Y);
    // Fires OnAttach (Sender, Value) on a change, after storing it.
    void SetVisible(bool Value);
    // The flag alone, without OnAttach (the control's own bookkeeping).
    void SetVisibleFlag(bool Value) { FVisible = Value; }

    plat::TNotifyEvent OnChange;
    TPgcAttachEvent OnAttach;
    TPgcAttachedLabel* ALabel = nullptr;   // the label, not owned

private:
    int FOffsetX = 0;
    int FOffsetY = 0;
    bool FVisible = false;
};

// The wheel as the message carried it: the notch distance and the pointer's
// screen position as unsigned 16-bit fields (one notch towards the user
// gives Delta 65416).
using TMouseWheelEvent = plat::TEvent<void(plat::TObject* Sender, plat::TShiftState Shift, std::uint16_t Delta,
                                           std::uint16_t XPos, std::uint16_t YPos)>;

class TPgcCustomControl : public TPgcCollectionOwner<plat::TCustomControl> {
    PLAT_CLASS(TPgcCustomControl, plat::TCustomControl)
    PLAT_MESSAGES(TPgcCustomControl, plat::TCustomControl)
public:
    explicit TPgcCustomControl(plat::TComponent* AOwner);
    // Frees the attached label with the control.
    ~TPgcCustomControl() override;

    std::string About() const { return std::string(kPgcLibraryVersion); }
    void SetAbout(const std::string&) {}
    bool Internal() const { return FInternal; }
    void SetInternal(bool Value) { FInternal = Value; }

    // Published by descendants, streamed in place.
    TPgcLabelInfo* LabelInfo() const { return FLabelInfo.get(); }
    // The label while LabelInfo.Visible; otherwise raises "Label not
    // attached" (30244).
    TPgcAttachedLabel* AttachedLabel() const;
    // Where a new label goes.
    TPgcLabelPosition DefaultLabelPosition = lpTopLeft;

    // Fired by a message the control posts itself as the focus arrives or
    // leaves, so after the focus change is complete.
    plat::TNotifyEvent AfterEnter;
    plat::TNotifyEvent AfterExit;
    // The library's wheel event, in place of the platform control's.
    TMouseWheelEvent OnMouseWheel;

    // Moves the control; with a window, its attached label follows.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    bool Loading() const { return ComponentState().Contains(plat::csLoading); }
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
    // Fires OnMouseWheel.
    virtual void DoOnMouseWheel(plat::TShiftState Shift, std::uint16_t Delta, std::uint16_t XPos, std::uint16_t YPos);

    void WMSetFocus(plat::TMessage& Msg);
    void WMKillFocus(plat::TMessage& Msg);
    void WMMouseWheel(plat::TMessage& Msg);
    void CMVisibleChanged(plat::TMessage& Msg);
    void PgcmAfterEnter(plat::TMessage& Msg);
    void PgcmAfterExit(plat::TMessage& Msg);
    void PgcmPositionLabel(plat::TMessage& Msg);
    void PgcmLabelMoved(plat::TMessage& Msg);
    void PgcmAssignLabel(plat::TMessage& Msg);

private:
    void LabelChange(plat::TObject* Sender);
    void LabelAttach(plat::TObject* Sender, bool Value);
    void CreateLabel(plat::TWinControl* FormOrFrame);
    void FreeLabel();
    // True while the label can be placed: visible, with a parent, not loading.
    bool LabelPlaceable() const;
    void PositionLabel();
    // The label's offsets from where it stands now.
    plat::TPoint PresentLabelOffsets() const;
    void PostToSelf(plat::UINT Msg);

    std::unique_ptr<TPgcLabelInfo> FLabelInfo;
    bool FInternal = false;
};

class TPgcCustomControlEx : public TPgcCustomControl {
    PLAT_CLASS(TPgcCustomControlEx, TPgcCustomControl)
public:
    explicit TPgcCustomControlEx(plat::TComponent* AOwner) : TPgcCustomControl(AOwner) {}

    // The assigned controller, or the default controller when none is.
    TPgcController* Controller() const;
    // A component that is not a controller (nullptr included) clears the
    // assignment.
    virtual void SetController(plat::TComponent* Value);
    bool HasController() const { return FController != nullptr; }

protected:
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
    // Before the window is made, a control without a controller takes the
    // first controller among its form's (or frame's) components, else the
    // default controller.
    void CreateWnd() override;

private:
    void AttachController(TPgcController* Value);

    TPgcController* FController = nullptr;
};

} // namespace qel
