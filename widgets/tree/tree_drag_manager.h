// The tree's drag manager: the drop target every tree registers for its
// window, and the data of the tree's own node drags. It hands each drag
// event to its tree, which decides drop modes, effects, expansion of the
// node under the mouse and scrolling at the edges. It answers as a drop
// source too, for drag loops of an application's own; the tree's node drag
// runs the platform's default source, which also holds on the middle
// button. Also the types of the tree's drag events.
#pragma once

#include "platform/controls/control_types.h"
#include "platform/controls/drag_drop.h"
#include "platform/objects/events.h"
#include "widgets/tree/data_node.h"
#include "widgets/tree/data_tree_types.h"
#include "widgets/tree/tree_geometry_types.h"

#include <memory>
#include <vector>

namespace qel {

class TBaseDataTree;

// Where a drag is in its life over a target.
enum TDragState : std::uint8_t { dsDragEnter, dsDragLeave, dsDragMove };

// The clipboard formats a dropped data object offers.
using TFormatArray = std::vector<plat::CLIPFORMAT>;

// Whether the tree would take the drag at pt (client coordinates) in mode;
// accept starts false, effect comes in as the suggested one. source is the
// tree of this process the nodes come from, nullptr for other sources.
using TDTDragOverEvent =
    plat::TEvent<void(plat::TObject* sender, plat::TObject* source, plat::TShiftState shift, TDragState state,
                      plat::TPoint pt, TDropMode mode, plat::DWORD& effect, bool& accept)>;
// A drop: the handler takes the data (ProcessDrop for tree data) and
// answers the effect it did.
using TDTDragDropEvent = plat::TEvent<void(
    plat::TObject* sender, plat::TObject* source, const std::shared_ptr<plat::IDataObject>& dataObject,
    const TFormatArray& formats, plat::TShiftState shift, plat::TPoint pt, plat::DWORD& effect, TDropMode mode)>;
// A drag manager of the application's own in place of the tree's.
class IDTDragManager;
using TDTCreateDragManagerEvent =
    plat::TEvent<void(plat::TObject* sender, std::shared_ptr<IDTDragManager>& dragManager)>;
// A data object of the application's own for a drag; an assigned handler
// that answers nullptr means the drag has no data.
using TDTCreateDataObjectEvent =
    plat::TEvent<void(plat::TObject* sender, std::shared_ptr<plat::IDataObject>& dataObject)>;
// A node drag starts or has ended (target: the tree itself, p in client
// coordinates).
using TDTStartDragEvent = plat::TEvent<void(plat::TObject* sender)>;
using TDTEndDragEvent = plat::TEvent<void(plat::TObject* sender, plat::TObject* target, int x, int y)>;

// What a tree asks of its drag manager.
class IDTDragManager : public plat::IDropTarget, public plat::IDropSource {
public:
    // Tells the platform's drop feedback that the drag has left.
    virtual void ForceDragLeave() = 0;
    // The data of the drag over the tree, else a new data object of the tree.
    virtual std::shared_ptr<plat::IDataObject> GetDataObject() = 0;
    // The tree of this process whose nodes are dragged over this tree.
    virtual TBaseDataTree* GetDragSource() = 0;
    // A drag is over this tree.
    virtual bool GetIsDropTarget() = 0;
};

class TDTDragManager : public IDTDragManager {
public:
    explicit TDTDragManager(TBaseDataTree* owner);
    ~TDTDragManager() override;
    TDTDragManager(const TDTDragManager&) = delete;
    TDTDragManager& operator=(const TDTDragManager&) = delete;

    // The tree is going: the manager answers nothing from now on.
    void Detach() { FOwner = nullptr; }
    TBaseDataTree* Owner() const { return FOwner; }

    // IDTDragManager
    void ForceDragLeave() override;
    std::shared_ptr<plat::IDataObject> GetDataObject() override;
    TBaseDataTree* GetDragSource() override { return FDragSource; }
    bool GetIsDropTarget() override { return FIsDropTarget; }

    // IDropTarget
    plat::HRESULT DragEnter(const std::shared_ptr<plat::IDataObject>& data, plat::DWORD keyState,
                            plat::TPoint screenPoint, plat::DWORD& effect) override;
    plat::HRESULT DragOver(plat::DWORD keyState, plat::TPoint screenPoint, plat::DWORD& effect) override;
    plat::HRESULT DragLeave() override;
    plat::HRESULT Drop(const std::shared_ptr<plat::IDataObject>& data, plat::DWORD keyState,
                       plat::TPoint screenPoint, plat::DWORD& effect) override;

    // IDropSource: Escape or both the left and right buttons cancel, one of
    // them held goes on, neither drops.
    plat::HRESULT QueryContinueDrag(bool escapePressed, plat::DWORD keyState) override;
    plat::HRESULT GiveFeedback(plat::DWORD effect) override;

private:
    TBaseDataTree* FOwner;
    TBaseDataTree* FDragSource = nullptr;
    bool FIsDropTarget = false;
    std::shared_ptr<plat::IDataObject> FDataObject;
};

// The effects of a set of drag operations (all three for an empty set).
plat::DWORD AllowedDropEffects(TDragOperations operations);

} // namespace qel
