// The string tree's own parts of the spine: its internal node area, its
// options class and the published properties of TDataStringTree.
#include "widgets/tree/string_data_tree.h"

#include "platform/canvas/bitmap.h"
#include "platform/objects/filer.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"

namespace qel {

PLAT_DEFINE_CLASS(TCustomDataStringTree, TBaseDataTree)

PLAT_DEFINE_CLASS(TDataStringTree, TCustomDataStringTree,
    plat::Published("AnimationDuration", &TDataStringTree::AnimationDuration, &TDataStringTree::SetAnimationDuration)
        .Default(200),
    plat::Published("AutoExpandDelay", &TDataStringTree::AutoExpandDelay, &TDataStringTree::SetAutoExpandDelay)
        .Default(1000),
    plat::Published("AutoScrollDelay", &TDataStringTree::AutoScrollDelay, &TDataStringTree::SetAutoScrollDelay)
        .Default(1000),
    plat::Published("AutoScrollInterval", &TDataStringTree::AutoScrollInterval,
                    &TDataStringTree::SetAutoScrollInterval)
        .Default(1),
    plat::Published("BorderStyle", &TDataStringTree::BorderStyle, &TDataStringTree::SetBorderStyle,
                    {"bsNone", "bsSingle"})
        .Default(bsSingle),
    plat::Published("ButtonFillMode", &TDataStringTree::ButtonFillMode, &TDataStringTree::SetButtonFillMode,
                    {"fmTreeColor", "fmWindowColor", "fmShaded", "fmTransparent"})
        .Default(fmTreeColor),
    plat::Published("ButtonStyle", &TDataStringTree::ButtonStyle, &TDataStringTree::SetButtonStyle,
                    {"bsRectangle", "bsTriangle"})
        .Default(bsRectangle),
    plat::Published("ChangeDelay", &TDataStringTree::ChangeDelay, &TDataStringTree::SetChangeDelay).Default(0),
    plat::Published("DefaultNodeHeight", &TDataStringTree::DefaultNodeHeight, &TDataStringTree::SetDefaultNodeHeight)
        .Default(18),
    // Stored through the defined property of the same name (not as "Node").
    plat::Published("DefaultText", &TDataStringTree::DefaultText, &TDataStringTree::SetDefaultText).Stored(false),
    plat::Published("DefaultPasteMode", &TDataStringTree::DefaultPasteMode, &TDataStringTree::SetDefaultPasteMode,
                    {"amNoWhere", "amInsertBefore", "amInsertAfter", "amAddChildFirst", "amAddChildLast"})
        .Default(amAddChildLast),
    plat::Published("DragHeight", &TDataStringTree::DragHeight, &TDataStringTree::SetDragHeight).Default(350),
    plat::Published("DragImageKind", &TDataStringTree::DragImageKind, &TDataStringTree::SetDragImageKind,
                    {"diComplete", "diMainColumnOnly", "diNoImage"})
        .Default(diComplete),
    plat::Published("DragOperations", &TDataStringTree::DragOperations, &TDataStringTree::SetDragOperations,
                    {"doCopy", "doMove", "doLink"})
        .Default(TDragOperations{doCopy, doMove}),
    plat::Published("DragType", &TDataStringTree::DragType, &TDataStringTree::SetDragType, {"dtOLE", "dtVCL"})
        .Default(dtOLE),
    plat::Published("DragWidth", &TDataStringTree::DragWidth, &TDataStringTree::SetDragWidth).Default(200),
    plat::Published("EditDelay", &TDataStringTree::EditDelay, &TDataStringTree::SetEditDelay).Default(1000),
    plat::Published("Header", &TDataStringTree::Header, &TDataStringTree::SetHeader),
    plat::Published("HotCursor", &TDataStringTree::HotCursor, &TDataStringTree::SetHotCursor)
        .Default(plat::crDefault),
    plat::Published("IncrementalSearch", &TDataStringTree::IncrementalSearch, &TDataStringTree::SetIncrementalSearch,
                    {"isAll", "isNone", "isInitializedOnly", "isVisibleOnly"})
        .Default(isNone),
    plat::Published("IncrementalSearchStart", &TDataStringTree::IncrementalSearchStart,
                    &TDataStringTree::SetIncrementalSearchStart, {"ssAlwaysStartOver", "ssLastHit", "ssFocusedNode"})
        .Default(ssFocusedNode),
    plat::Published("IncrementalSearchTimeout", &TDataStringTree::IncrementalSearchTimeout,
                    &TDataStringTree::SetIncrementalSearchTimeout)
        .Default(1000),
    plat::Published("Indent", &TDataStringTree::Indent, &TDataStringTree::SetIndent)
        .Default(18),
    plat::Published("LineStyle", &TDataStringTree::LineStyle, &TDataStringTree::SetLineStyle,
                    {"lsCustomStyle", "lsDotted", "lsSolid"})
        .Default(lsDotted),
    plat::Published("Margin", &TDataStringTree::Margin, &TDataStringTree::SetMargin).Default(4),
    plat::Published("NodeAlignment", &TDataStringTree::NodeAlignment, &TDataStringTree::SetNodeAlignment,
                    {"naFromBottom", "naFromTop", "naProportional"})
        .Default(naProportional),
    plat::Published("NodeDataSize", &TDataStringTree::NodeDataSize, &TDataStringTree::SetNodeDataSize).Default(-1),
    plat::Published("RootNodeCount", &TDataStringTree::RootNodeCount, &TDataStringTree::SetRootNodeCount)
        .Default(0),
    plat::Published("ScrollBarOptions", &TDataStringTree::ScrollBarOptions, &TDataStringTree::SetScrollBarOptions),
    plat::Published("SelectionBlendFactor", &TDataStringTree::SelectionBlendFactor,
                    &TDataStringTree::SetSelectionBlendFactor)
        .Default(128),
    plat::Published("TextMargin", &TDataStringTree::TextMargin, &TDataStringTree::SetTextMargin).Default(4),
    plat::Published("TreeOptions", &TDataStringTree::TreeOptions, &TDataStringTree::SetTreeOptions))

TCustomDataStringTree::TCustomDataStringTree(plat::TComponent* owner) : TBaseDataTree(owner)
{
    RegisterStringTreeFormats();
    CreateOptions();
    FInternalDataOffset = AllocateInternalDataArea(4);
}

void TCustomDataStringTree::DefineProperties(plat::TFiler& filer)
{
    TBaseDataTree::DefineProperties(filer);
    const plat::TReaderProc readDefaultText = [this](plat::TReader& reader) { SetDefaultText(reader.ReadString()); };
    filer.DefineProperty("WideDefaultText", readDefaultText, {}, false);
    filer.DefineProperty(
        "DefaultText", readDefaultText, [this](plat::TWriter& writer) { writer.WriteString(DefaultText()); },
        DefaultText() != DefaultNodeText);
    filer.DefineProperty("StringOptions", [this](plat::TReader& reader) { ReadLegacyStringOptions(reader); }, {},
                         false);
}

void TCustomDataStringTree::ReadLegacyStringOptions(plat::TReader& reader)
{
    TDTStringOptions options;
    for (const std::string& name : reader.ReadSet()) {
        if (name == "soSaveCaptions") {
            options.Include(toSaveCaptions);
        } else if (name == "soShowStaticText") {
            options.Include(toShowStaticText);
        }
    }
    if (auto* stringOptions = dynamic_cast<TCustomStringTreeOptions*>(TBaseDataTree::TreeOptions())) {
        stringOptions->SetStringOptions(options);
    }
}

plat::TClass TCustomDataStringTree::GetOptionsClass() const
{
    return TCustomStringTreeOptions::StaticClass();
}

TDataStringTree::TDataStringTree(plat::TComponent* owner) : TCustomDataStringTree(owner)
{
    CreateOptions();
}

plat::TClass TDataStringTree::GetOptionsClass() const
{
    return TStringTreeOptions::StaticClass();
}

TStringTreeOptions* TDataStringTree::TreeOptions() const
{
    return static_cast<TStringTreeOptions*>(TBaseDataTree::TreeOptions());
}

} // namespace qel
