// Per-corner rounding of rectangles: each corner round, bevelled or square,
// and the outline path of a rectangle drawn with such corners.
#pragma once

#include "widgets/chart/chart_points.h"

#include "platform/objects/events.h"
#include "platform/objects/persistent.h"

#include <memory>

namespace qel {

class TChtBasePath;
class TChtCanvas;

enum TChtCornerStyle { cosRound, cosBevel, cosNone };

class TChtCorner : public plat::TPersistent {
    PLAT_CLASS(TChtCorner, plat::TPersistent)
public:
    explicit TChtCorner(plat::TNotifyEvent Changed = {});

    TChtCornerStyle Style() const { return FStyle; }
    // A change tells the owner, the corner as sender.
    void SetStyle(TChtCornerStyle Value);

    // From another corner its style, silently.
    void Assign(const plat::TPersistent* Source) override;

private:
    TChtCornerStyle FStyle = cosRound;
    plat::TNotifyEvent IChanged;
};

class TChtCorners : public plat::TPersistent {
    PLAT_CLASS(TChtCorners, plat::TPersistent)
public:
    explicit TChtCorners(plat::TNotifyEvent Changed = {});
    ~TChtCorners() override;

    TChtCorner* LeftBottom() const { return FLeftBottom.get(); }
    void SetLeftBottom(const TChtCorner* Value) { FLeftBottom->Assign(Value); }
    TChtCorner* LeftTop() const { return FLeftTop.get(); }
    void SetLeftTop(const TChtCorner* Value) { FLeftTop->Assign(Value); }
    TChtCorner* RightBottom() const { return FRightBottom.get(); }
    void SetRightBottom(const TChtCorner* Value) { FRightBottom->Assign(Value); }
    TChtCorner* RightTop() const { return FRightTop.get(); }
    void SetRightTop(const TChtCorner* Value) { FRightTop->Assign(Value); }

    // Each corner from its counterpart.
    void Assign(const plat::TPersistent* Source) override;

    // The outline of R as one closed figure, clockwise from the top right
    // corner: straight sides; a round corner the outer quarter of an
    // ellipse X wide and Y high set into the corner; a bevel from half that
    // width before the corner to half that height after it. X and Y are
    // brought to an even number of at least 1 and at most R's size.
    std::unique_ptr<TChtBasePath> CreateCornersPath(TChtCanvas& Canvas, const TRect& R, int X, int Y) const;

private:
    std::unique_ptr<TChtCorner> FLeftBottom;
    std::unique_ptr<TChtCorner> FLeftTop;
    std::unique_ptr<TChtCorner> FRightBottom;
    std::unique_ptr<TChtCorner> FRightTop;
};

} // namespace qel
