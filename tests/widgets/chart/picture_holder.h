// A component that holds a chart picture as its published property
// "Picture": how a chart keeps the pictures of its brushes and fonts, for
// the picture tests.
#pragma once

#include "component_stream.h"

#include "widgets/chart/chart_picture.h"

#include "platform/objects/component.h"

namespace qel::test {

class TPictureHolder : public plat::TComponent {
    PLAT_CLASS(TPictureHolder, plat::TComponent)
public:
    using plat::TComponent::TComponent;

    TChtPicture* Picture() const { return &FPicture; }
    void SetPicture(TChtPicture* Value) { FPicture.Assign(Value); }

private:
    mutable TChtPicture FPicture;
};

inline PLAT_DEFINE_CLASS(TPictureHolder, plat::TComponent,
    plat::Published("Picture", &TPictureHolder::Picture, &TPictureHolder::SetPicture))

} // namespace qel::test
