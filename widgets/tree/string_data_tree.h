// The string tree: the data tree whose cells show texts the owner supplies
// on demand. Its nodes carry a 4-byte internal area of the class (the cached
// width of the node's text); TDataStringTree publishes the control's
// properties for the form description.
#pragma once

#include "widgets/tree/base_data_tree.h"

#include <cstdint>

namespace qel {

class TCustomDataStringTree : public TBaseDataTree {
    PLAT_CLASS(TCustomDataStringTree, TBaseDataTree)
public:
    explicit TCustomDataStringTree(plat::TComponent* owner);

protected:
    plat::TClass GetOptionsClass() const override;
    // Offset of the class's internal area in a node block, less NodeDataSize.
    std::uint32_t InternalDataOffset() const { return FInternalDataOffset; }

private:
    std::uint32_t FInternalDataOffset = 0;
};

class TDataStringTree : public TCustomDataStringTree {
    PLAT_CLASS(TDataStringTree, TCustomDataStringTree)
public:
    explicit TDataStringTree(plat::TComponent* owner);

    TStringTreeOptions* TreeOptions() const;
    void SetTreeOptions(const TStringTreeOptions* value) { TBaseDataTree::SetTreeOptions(value); }

protected:
    plat::TClass GetOptionsClass() const override;
};

} // namespace qel
