// The picture of a message box's type: a yellow warning triangle, a red
// error disc with a cross, a blue information disc with an "i" and a blue
// question disc with a "?" (none for a custom box), 32 pixels square.
#pragma once

#include "platform/controls/graphic_control.h"
#include "platform/dialogs.h"

namespace plat {

class TMessageIcon : public TGraphicControl {
    PLAT_CLASS(TMessageIcon, TGraphicControl)
public:
    static constexpr int Size = 32;

    TMessageIcon(TComponent* owner, TMsgDlgType type);
    TMsgDlgType Type() const { return FType; }

protected:
    void Paint() override;

private:
    TMsgDlgType FType;
};

} // namespace plat
