// The graphic base and the picture holder.
#include "platform/canvas/graphic.h"

#include "platform/canvas/bitmap.h"

namespace plat {

PLAT_DEFINE_CLASS(TGraphic, TPersistent)
PLAT_DEFINE_CLASS(TPicture, TPersistent)

void TGraphic::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    Changed();
}

void TGraphic::Changed()
{
    OnChange(this);
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::GraphicChanged(TObject*)
{
    OnChange(this);
}

void TPicture::SetGraphic(TGraphic* value)
{
    std::unique_ptr<TGraphic> copy;
    if (value != nullptr) {
        copy.reset(value->ClassType()->CreateAs<TGraphic>());
        copy->Assign(value);
        copy->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
    }
    FGraphic = std::move(copy);
    OnChange(this);
}

TBitmap* TPicture::Bitmap()
{
    auto* bitmap = dynamic_cast<TBitmap*>(FGraphic.get());
    if (bitmap != nullptr)
        return bitmap;
    auto fresh = std::make_unique<TBitmap>();
    if (FGraphic && !FGraphic->Empty()) {
        fresh->SetSize(FGraphic->Width(), FGraphic->Height());
        fresh->Canvas()->Draw(0, 0, FGraphic.get());
    }
    fresh->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
    FGraphic = std::move(fresh);
    return static_cast<TBitmap*>(FGraphic.get());
}

int TPicture::Width() const
{
    return FGraphic ? FGraphic->Width() : 0;
}

int TPicture::Height() const
{
    return FGraphic ? FGraphic->Height() : 0;
}

void TPicture::Assign(const TPersistent* source)
{
    if (source == nullptr) {
        SetGraphic(nullptr);
        return;
    }
    if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
        SetGraphic(picture->Graphic());
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        SetGraphic(const_cast<TGraphic*>(graphic));
        return;
    }
    TPersistent::Assign(source);
}

} // namespace plat
