// The registry of the trees' clipboard formats and each tree's list of the
// formats it offers.
#include "widgets/tree/clipboard_formats.h"

#include "platform/ascii_case.h"
#include "platform/objects/object.h"
#include "widgets/tree/base_data_tree.h"
#include "widgets/tree/string_data_tree.h"

#include <algorithm>
#include <array>
#include <mutex>

namespace qel {

namespace {

std::vector<TClipboardFormatListEntry>& List()
{
    static std::vector<TClipboardFormatListEntry> list;
    return list;
}

TTreeClipboardFormats& Formats()
{
    static TTreeClipboardFormats formats;
    return formats;
}

const std::array<const char*, 17> PredefinedDescriptions = {
    "Plain text",       "Windows bitmap",          "Windows metafile", "Symbolic link",   "Data interchange format",
    "Tiff image",       "OEM text",                "DIB image",        "Palette data",    "Pen data",
    "Riff audio data",  "Wav audio data",          "Unicode text",     "Enhanced metafile image",
    "File name(s)",     "Locale descriptor",       "DIB image V5",
};

bool Renders(plat::TClass treeClass, const TClipboardFormatListEntry& entry)
{
    return treeClass != nullptr && entry.TreeClass != nullptr && treeClass->InheritsFrom(entry.TreeClass);
}

} // namespace

void TClipboardFormatList::Add(const std::string& formatString, plat::TClass treeClass, std::uint32_t priority,
                               const plat::TFormatEtc& formatEtc)
{
    auto& list = List();
    list.push_back(TClipboardFormatListEntry{formatString, treeClass, priority, formatEtc});
    std::stable_sort(list.begin(), list.end(), [](const TClipboardFormatListEntry& a,
                                                  const TClipboardFormatListEntry& b) {
        return a.Priority < b.Priority;
    });
}

void TClipboardFormatList::Clear()
{
    List().clear();
}

void TClipboardFormatList::EnumerateFormats(plat::TClass treeClass, TFormatEtcArray& formats,
                                            const plat::TStringList* allowedFormats)
{
    formats.clear();
    for (const TClipboardFormatListEntry& entry : List()) {
        if (Renders(treeClass, entry) && (allowedFormats == nullptr || allowedFormats->IndexOf(entry.Description) >= 0)) {
            formats.push_back(entry.FormatEtc);
        }
    }
}

void TClipboardFormatList::EnumerateFormats(plat::TClass treeClass, plat::TStrings& formats)
{
    for (const TClipboardFormatListEntry& entry : List()) {
        if (Renders(treeClass, entry)) {
            formats.Add(entry.Description);
        }
    }
}

const TClipboardFormatListEntry* TClipboardFormatList::FindFormat(const std::string& formatString)
{
    const auto& list = List();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (plat::SameText(it->Description, formatString)) {
            return &*it;
        }
    }
    return nullptr;
}

plat::TClass TClipboardFormatList::FindFormat(const std::string& formatString, plat::CLIPFORMAT& format)
{
    const TClipboardFormatListEntry* entry = FindFormat(formatString);
    if (entry == nullptr) {
        return nullptr;
    }
    format = entry->FormatEtc.cfFormat;
    return entry->TreeClass;
}

plat::TClass TClipboardFormatList::FindFormat(plat::CLIPFORMAT format, std::string& description)
{
    const auto& list = List();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (it->FormatEtc.cfFormat == format) {
            description = it->Description;
            return it->TreeClass;
        }
    }
    return nullptr;
}

const std::vector<TClipboardFormatListEntry>& TClipboardFormatList::Entries()
{
    return List();
}

plat::CLIPFORMAT RegisterTreeClipboardFormat(const std::string& description, plat::TClass treeClass,
                                             std::uint32_t priority, plat::DWORD tymed, void* ptd, plat::DWORD aspect,
                                             std::int32_t lindex)
{
    const plat::CLIPFORMAT format = plat::RegisterClipboardFormat(description);
    TClipboardFormatList::Add(description, treeClass, priority, plat::TFormatEtc{format, ptd, aspect, lindex, tymed});
    return format;
}

std::string PredefinedFormatDescription(plat::CLIPFORMAT format)
{
    return format >= 1 && format <= PredefinedDescriptions.size() ? PredefinedDescriptions[format - 1u] : "";
}

void RegisterTreeClipboardFormat(plat::CLIPFORMAT format, plat::TClass treeClass, std::uint32_t priority)
{
    std::string description;
    if (format < 18) {
        description = PredefinedFormatDescription(format);
        if (description.empty()) {
            return;
        }
    } else {
        description = plat::GetClipboardFormatName(format);
    }
    TClipboardFormatList::Add(description, treeClass, priority,
                              plat::TFormatEtc{format, nullptr, plat::DVASPECT_CONTENT, -1, plat::TYMED_HGLOBAL});
}

const TTreeClipboardFormats& TreeClipboardFormats()
{
    return Formats();
}

void RegisterBaseTreeFormats()
{
    static std::once_flag once;
    std::call_once(once, [] {
        TTreeClipboardFormats& formats = Formats();
        formats.DTReference = plat::RegisterClipboardFormat("Data Tree Reference");
        formats.DTData = RegisterTreeClipboardFormat("Data Tree Data", TBaseDataTree::StaticClass(), 50);
        // A tree's address means nothing to another program; its node data
        // goes to other programs of the suite, which paste it as a copy.
        plat::KeepClipboardFormatInProcess(formats.DTReference);
    });
}

void RegisterStringTreeFormats()
{
    static std::once_flag once;
    std::call_once(once, [] {
        TTreeClipboardFormats& formats = Formats();
        const plat::TClass stringTree = TCustomDataStringTree::StaticClass();
        formats.Html = RegisterTreeClipboardFormat("HTML Format", stringTree, 80);
        formats.RtfNoObjects = RegisterTreeClipboardFormat("Rich Text Format Without Objects", stringTree, 84);
        formats.Rtf = RegisterTreeClipboardFormat("Rich Text Format", stringTree, 85);
        formats.Csv = RegisterTreeClipboardFormat("CSV", stringTree, 90);
        RegisterTreeClipboardFormat(plat::CF_TEXT, stringTree, 100);
        RegisterTreeClipboardFormat(plat::CF_UNICODETEXT, stringTree, 95);
    });
}

TClipboardFormats::TClipboardFormats(TBaseDataTree* owner) : FOwner(owner)
{
    SetSorted(true);
    SetDuplicates(plat::dupIgnore);
}

bool TClipboardFormats::Renders(const std::string& text) const
{
    const TClipboardFormatListEntry* entry = TClipboardFormatList::FindFormat(text);
    return entry != nullptr && FOwner != nullptr && FOwner->InheritsFrom(entry->TreeClass);
}

int TClipboardFormats::Add(const std::string& text)
{
    return Renders(text) ? plat::TStringList::Add(text) : -1;
}

void TClipboardFormats::Insert(int index, const std::string& text)
{
    if (Renders(text)) {
        plat::TStringList::Insert(index, text);
    }
}

} // namespace qel
