// The non-visual bases of the component library: TPgcComponent (which may
// own collections of sub-components, streamed as its children) and
// TPg32Component. Both show the library's version in About.
#pragma once

#include "widgets/pages/pgc_collection_streamer.h"

#include "platform/objects/component.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qel {

// The version text every library class answers in About.
inline constexpr std::string_view kPgcLibraryVersion = "v2.10";

// Raises the platform's general error with the text of a library message.
[[noreturn]] void RaisePgcError(std::uint16_t MessageNumber);

class TPgcComponent : public TPgcCollectionOwner<plat::TComponent> {
    PLAT_CLASS(TPgcComponent, plat::TComponent)
public:
    explicit TPgcComponent(plat::TComponent* AOwner) : TPgcCollectionOwner(AOwner) {}

    // "v2.10"; writing changes nothing and it is never streamed.
    std::string About() const { return std::string(kPgcLibraryVersion); }
    void SetAbout(const std::string&) {}
    // Set by other components that build this one as a part of themselves.
    bool Internal() const { return FInternal; }
    void SetInternal(bool Value) { FInternal = Value; }

private:
    bool FInternal = false;
};

class TPg32Component : public plat::TComponent {
    PLAT_CLASS(TPg32Component, plat::TComponent)
public:
    explicit TPg32Component(plat::TComponent* AOwner) : plat::TComponent(AOwner) {}

    std::string About() const { return std::string(kPgcLibraryVersion); }
    void SetAbout(const std::string&) {}
    bool Internal() const { return FInternal; }
    void SetInternal(bool Value) { FInternal = Value; }

private:
    bool FInternal = false;
};

} // namespace qel
