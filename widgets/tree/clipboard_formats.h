// The clipboard formats the data trees render: one process-wide registry of
// format descriptions by tree class and priority (lower first), and the
// list each tree keeps of the descriptions it offers. The registry renders
// nothing; the trees and their data objects do.
#pragma once

#include "platform/controls/data_object.h"
#include "platform/objects/string_list.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qel {

class TBaseDataTree;

using TFormatEtcArray = std::vector<plat::TFormatEtc>;

struct TClipboardFormatListEntry {
    std::string Description;
    plat::TClass TreeClass;     // the class that renders it, and its descendants
    std::uint32_t Priority;
    plat::TFormatEtc FormatEtc;
};

// The registry: entries kept sorted by priority (equal priorities in no
// defined order), touched on the user-interface thread only.
class TClipboardFormatList {
public:
    static void Add(const std::string& formatString, plat::TClass treeClass, std::uint32_t priority,
                    const plat::TFormatEtc& formatEtc);
    static void Clear();
    // The formats of the entries treeClass (or a descendant) renders, in
    // priority order; allowedFormats, when given, keeps only the
    // descriptions it holds.
    static void EnumerateFormats(plat::TClass treeClass, TFormatEtcArray& formats,
                                 const plat::TStringList* allowedFormats = nullptr);
    // Appends their descriptions.
    static void EnumerateFormats(plat::TClass treeClass, plat::TStrings& formats);
    // By description, case ignored, highest priority first; nullptr when none.
    static const TClipboardFormatListEntry* FindFormat(const std::string& formatString);
    // The entry's class and format number; nullptr (format untouched) when none.
    static plat::TClass FindFormat(const std::string& formatString, plat::CLIPFORMAT& format);
    // The class and description of a format number; nullptr (description
    // untouched) when none.
    static plat::TClass FindFormat(plat::CLIPFORMAT format, std::string& description);
    static const std::vector<TClipboardFormatListEntry>& Entries();
};

// Registers a named format with the platform and the registry; answers its number.
plat::CLIPFORMAT RegisterTreeClipboardFormat(const std::string& description, plat::TClass treeClass,
                                             std::uint32_t priority, plat::DWORD tymed = plat::TYMED_HGLOBAL,
                                             void* ptd = nullptr, plat::DWORD aspect = plat::DVASPECT_CONTENT,
                                             std::int32_t lindex = -1);
// Registers a format that has a number already: the predefined ones (1 to
// 17) under their descriptions, others under their registered names;
// 0 and other unknown numbers below 18 register nothing.
void RegisterTreeClipboardFormat(plat::CLIPFORMAT format, plat::TClass treeClass, std::uint32_t priority);
// The description of a predefined format (1 to 17); empty for others.
std::string PredefinedFormatDescription(plat::CLIPFORMAT format);

// The formats of the trees, registered once per process: the base tree's
// ("Data Tree Reference" with the platform only, "Data Tree Data") when the
// first tree is made, the string tree's when the first string tree is.
struct TTreeClipboardFormats {
    plat::CLIPFORMAT DTReference = 0;
    plat::CLIPFORMAT DTData = 0;
    plat::CLIPFORMAT Html = 0;
    plat::CLIPFORMAT RtfNoObjects = 0;
    plat::CLIPFORMAT Rtf = 0;
    plat::CLIPFORMAT Csv = 0;
};
const TTreeClipboardFormats& TreeClipboardFormats();
void RegisterBaseTreeFormats();
void RegisterStringTreeFormats();

// The descriptions a tree offers: sorted, case ignored, each once; only
// descriptions the registry holds for the owner's class (or an ancestor)
// get in.
class TClipboardFormats : public plat::TStringList {
public:
    explicit TClipboardFormats(TBaseDataTree* owner);
    TBaseDataTree* Owner() const { return FOwner; }
    // -1 when the owner's class renders no format of that description.
    int Add(const std::string& text) override;
    // Sorted: EListError when the owner can render the format, else nothing.
    void Insert(int index, const std::string& text) override;

private:
    bool Renders(const std::string& text) const;

    TBaseDataTree* FOwner;
};

} // namespace qel
