// A component that holds a chart picture as its published property "P",
// and helpers that stream it: how a chart keeps the pictures of its brushes
// and fonts, for the picture tests and the stored-list fuzz target. The
// name is short because the component reader takes a property name of 15
// or more bytes ("Picture.FilterItems") for a bad value tag.
#pragma once

#include "widgets/chart/chart_picture.h"

#include "platform/objects/component.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"
#include "platform/streams.h"

#include <string>

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
    plat::Published("P", &TPictureHolder::Picture, &TPictureHolder::SetPicture))

inline std::string WriteHolder(TPictureHolder& Holder)
{
    plat::TMemoryStream Stream;
    plat::TWriter Writer(Stream);
    Writer.WriteRootComponent(&Holder);
    return std::string(reinterpret_cast<const char*>(Stream.Memory()), static_cast<std::size_t>(Stream.Size()));
}

inline void ReadHolder(const std::string& Bytes, TPictureHolder& Holder)
{
    plat::TMemoryStream Stream;
    Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    Stream.SetPosition(0);
    plat::TReader Reader(Stream);
    Reader.ReadRootComponent(&Holder);
}

} // namespace qel::test
