// The clipboard of the program: blocks or a data object, text stand-ins,
// flushing, and the exchange with the host for other programs.
#include "platform/controls/clipboard.h"

#include "platform/controls/window_manager.h"
#include "platform/controls/window_messages.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace plat {

namespace {

TClipboardStore* Store()
{
    TWindowManager* manager = TWindowManager::Instance();
    return manager ? &manager->Clipboard() : nullptr;
}

// The formats the clipboard offers now, in order.
std::vector<CLIPFORMAT> OfferedFormats(TClipboardStore& store)
{
    std::vector<CLIPFORMAT> formats;
    if (store.Object) {
        std::shared_ptr<IEnumFORMATETC> enumerator;
        if (store.Object->EnumFormatEtc(DATADIR_GET, enumerator) == S_OK && enumerator) {
            TFormatEtc format;
            unsigned fetched = 0;
            while (enumerator->Next(1, &format, &fetched) == S_OK && fetched == 1) {
                if ((format.tymed & (TYMED_HGLOBAL | TYMED_ISTREAM)) != 0 &&
                    std::find(formats.begin(), formats.end(), format.cfFormat) == formats.end()) {
                    formats.push_back(format.cfFormat);
                }
            }
        }
    } else {
        for (const auto& block : store.Blocks) {
            formats.push_back(block.Format);
        }
    }
    // The two text formats stand in for each other.
    const bool unicode = std::find(formats.begin(), formats.end(), CF_UNICODETEXT) != formats.end();
    const bool ansi = std::find(formats.begin(), formats.end(), CF_TEXT) != formats.end();
    if (unicode && !ansi) {
        formats.push_back(CF_TEXT);
    } else if (ansi && !unicode) {
        formats.push_back(CF_UNICODETEXT);
    }
    return formats;
}

HGLOBAL OwnBlock(TClipboardStore& store, CLIPFORMAT format)
{
    if (store.Object) {
        return GetDataBlock(*store.Object, format);
    }
    for (const auto& block : store.Blocks) {
        if (block.Format == format && block.Data) {
            HGLOBAL copy = GlobalAlloc(GHND, block.Data->Size());
            copy->Bytes() = block.Data->Bytes();
            return copy;
        }
    }
    return nullptr;
}

// Another program's block of a format; nullptr when it offers none.
HGLOBAL ForeignBlock(CLIPFORMAT format)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr) {
        return nullptr;
    }
    if (format == CF_UNICODETEXT || format == CF_TEXT) {
        std::string text;
        if (!manager->Host().ReadForeignClipboardText(text)) {
            return nullptr;
        }
        return format == CF_UNICODETEXT ? TextToUnicodeBlock(text) : TextToAnsiBlock(text);
    }
    std::vector<std::uint8_t> bytes;
    if (IsClipboardFormatInProcess(format) || !manager->Host().ReadForeignClipboardData(format, bytes)) {
        return nullptr;
    }
    HGLOBAL block = GlobalAlloc(GHND, 0);
    block->Bytes() = std::move(bytes);
    return block;
}

HGLOBAL BlockOf(TClipboardStore& store, CLIPFORMAT format)
{
    if (store.Foreign) {
        return ForeignBlock(format);
    }
    if (HGLOBAL block = OwnBlock(store, format)) {
        return block;
    }
    if (format == CF_TEXT) {
        if (HGLOBAL unicode = OwnBlock(store, CF_UNICODETEXT)) {
            return TextToAnsiBlock(UnicodeBlockToText(unicode));
        }
    } else if (format == CF_UNICODETEXT) {
        if (HGLOBAL ansi = OwnBlock(store, CF_TEXT)) {
            return TextToUnicodeBlock(AnsiBlockToText(ansi));
        }
    }
    return nullptr;
}

void TellHost(TClipboardStore& store)
{
    TWindowManager* manager = TWindowManager::Instance();
    if (manager == nullptr) {
        return;
    }
    store.Changed = false;
    // Formats kept in the process are not announced to other programs.
    std::vector<std::uint16_t> formats;
    for (CLIPFORMAT format : OfferedFormats(store)) {
        if (!IsClipboardFormatInProcess(format)) {
            formats.push_back(format);
        }
    }
    manager->Host().ClipboardOffered(formats);
}

// The bytes up to the first zero: text formats end with one.
HGLOBAL WithoutTerminator(const HGLOBAL& block)
{
    const std::vector<std::uint8_t>& bytes = block->Bytes();
    HGLOBAL copy = GlobalAlloc(GHND, 0);
    copy->Bytes().assign(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
    return copy;
}

// The value after "name" in the description of the HTML envelope; -1 when
// it is missing.
long EnvelopeOffset(const std::string& head, const char* name)
{
    const std::size_t at = head.find(name);
    if (at == std::string::npos) {
        return -1;
    }
    const char* digits = head.c_str() + at + std::strlen(name);
    char* end = nullptr;
    const long value = std::strtol(digits, &end, 10);
    return end == digits ? -1 : value;
}

// What another program gets for a format of ours: HTML as the document
// the envelope's StartHTML and EndHTML mark, 8-bit separated text as
// UTF-8, rich text without its terminating zero; other formats as they are.
HGLOBAL ForOtherPrograms(CLIPFORMAT format, const HGLOBAL& block)
{
    if (!block || format == CF_TEXT || format == CF_UNICODETEXT) {
        return block;
    }
    const std::string name = GetClipboardFormatName(format);
    if (name == "HTML Format") {
        const HGLOBAL text = WithoutTerminator(block);
        if (text->Size() == 0) {
            return text;
        }
        // The offsets stand in the description at the start of the envelope.
        const std::size_t headSize = std::min<std::size_t>(text->Size(), 200);
        const std::string head(reinterpret_cast<const char*>(text->Data()), headSize);
        const long start = EnvelopeOffset(head, "StartHTML:");
        const long end = EnvelopeOffset(head, "EndHTML:");
        if (start >= 0 && start <= end && static_cast<std::size_t>(end) <= text->Size()) {
            text->Bytes().erase(text->Bytes().begin() + end, text->Bytes().end());
            text->Bytes().erase(text->Bytes().begin(), text->Bytes().begin() + start);
        }
        return text;
    }
    if (name == "CSV") {
        const std::string utf8 = AnsiBlockToText(block);
        HGLOBAL text = GlobalAlloc(GHND, 0);
        text->Bytes().assign(utf8.begin(), utf8.end());
        return text;
    }
    if (name == "Rich Text Format" || name == "Rich Text Format Without Objects") {
        return WithoutTerminator(block);
    }
    return block;
}

} // namespace

void TClipboardStore::Clear()
{
    Blocks.clear();
    Foreign = false;
    // Moved out first: the object's destructor may look at the clipboard.
    std::shared_ptr<IDataObject> old = std::move(Object);
    Object.reset();
    old.reset();
}

bool OpenClipboard(HWND owner)
{
    TClipboardStore* store = Store();
    if (store == nullptr || store->Open) {
        return false;
    }
    store->Open = true;
    store->Owner = owner;
    return true;
}

bool CloseClipboard()
{
    TClipboardStore* store = Store();
    if (store == nullptr || !store->Open) {
        return false;
    }
    store->Open = false;
    if (store->Changed) {
        TellHost(*store);
    }
    return true;
}

bool EmptyClipboard()
{
    TClipboardStore* store = Store();
    if (store == nullptr || !store->Open) {
        return false;
    }
    const HWND previous = store->Owner;
    store->Clear();
    if (previous != 0 && IsWindow(previous)) {
        SendMessage(previous, WM_DESTROYCLIPBOARD, 0, 0);
    }
    store->Changed = true;
    return true;
}

HGLOBAL SetClipboardData(CLIPFORMAT format, HGLOBAL block)
{
    TClipboardStore* store = Store();
    if (store == nullptr || !store->Open || format == 0 || !block) {
        return nullptr;
    }
    if (store->Object || store->Foreign) {
        store->Clear();
    }
    std::erase_if(store->Blocks, [&](const auto& each) { return each.Format == format; });
    store->Blocks.push_back(TClipboardStore::TBlock{format, block});
    store->Changed = true;
    return block;
}

HGLOBAL GetClipboardData(CLIPFORMAT format)
{
    TClipboardStore* store = Store();
    return store ? BlockOf(*store, format) : nullptr;
}

bool IsClipboardFormatAvailable(CLIPFORMAT format)
{
    TClipboardStore* store = Store();
    if (store == nullptr) {
        return false;
    }
    if (store->Foreign) {
        return ForeignBlock(format) != nullptr;
    }
    const std::vector<CLIPFORMAT> formats = OfferedFormats(*store);
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

CLIPFORMAT EnumClipboardFormats(CLIPFORMAT format)
{
    TClipboardStore* store = Store();
    if (store == nullptr) {
        return 0;
    }
    const std::vector<CLIPFORMAT> formats = OfferedFormats(*store);
    if (format == 0) {
        return formats.empty() ? 0 : formats.front();
    }
    const auto at = std::find(formats.begin(), formats.end(), format);
    return (at == formats.end() || at + 1 == formats.end()) ? 0 : *(at + 1);
}

int CountClipboardFormats()
{
    TClipboardStore* store = Store();
    return store ? static_cast<int>(OfferedFormats(*store).size()) : 0;
}

HWND GetClipboardOwner()
{
    TClipboardStore* store = Store();
    return store ? store->Owner : 0;
}

HRESULT OleSetClipboard(std::shared_ptr<IDataObject> object)
{
    TClipboardStore* store = Store();
    if (store == nullptr || store->Open) {
        return CLIPBRD_E_CANT_OPEN;
    }
    const HWND previous = store->Owner;
    store->Clear();
    store->Owner = 0;
    if (previous != 0 && IsWindow(previous)) {
        SendMessage(previous, WM_DESTROYCLIPBOARD, 0, 0);
    }
    store->Object = std::move(object);
    TellHost(*store);
    return S_OK;
}

HRESULT OleGetClipboard(std::shared_ptr<IDataObject>& object)
{
    TClipboardStore* store = Store();
    if (store == nullptr) {
        return CLIPBRD_E_CANT_OPEN;
    }
    if (store->Object) {
        object = store->Object;
        return S_OK;
    }
    auto blocks = std::make_shared<TBlockDataObject>();
    if (store->Foreign) {
        if (HGLOBAL text = BlockOf(*store, CF_UNICODETEXT)) {
            blocks->Add(CF_UNICODETEXT, text);
            blocks->Add(CF_TEXT, BlockOf(*store, CF_TEXT));
        }
        for (std::uint16_t format : TWindowManager::Current().Host().ForeignClipboardFormats()) {
            if (HGLOBAL block = ForeignBlock(format)) {
                blocks->Add(format, block);
            }
        }
    } else {
        for (CLIPFORMAT format : OfferedFormats(*store)) {
            if (HGLOBAL block = BlockOf(*store, format)) {
                blocks->Add(format, block);
            }
        }
    }
    object = blocks;
    return S_OK;
}

HRESULT OleFlushClipboard()
{
    TClipboardStore* store = Store();
    if (store == nullptr || store->Open) {
        return CLIPBRD_E_CANT_OPEN;
    }
    if (!store->Object) {
        return S_OK;
    }
    std::vector<TClipboardStore::TBlock> rendered;
    for (CLIPFORMAT format : OfferedFormats(*store)) {
        if (HGLOBAL block = GetDataBlock(*store->Object, format)) {
            rendered.push_back(TClipboardStore::TBlock{format, block});
        }
    }
    store->Clear();
    store->Blocks = std::move(rendered);
    TellHost(*store);
    return S_OK;
}

HRESULT OleIsCurrentClipboard(const std::shared_ptr<IDataObject>& object)
{
    TClipboardStore* store = Store();
    return store != nullptr && object && store->Object == object ? S_OK : S_FALSE;
}

bool SetClipboardText(const std::string& text)
{
    if (!OpenClipboard(0)) {
        return false;
    }
    EmptyClipboard();
    const bool done = SetClipboardData(CF_UNICODETEXT, TextToUnicodeBlock(text)) != nullptr;
    CloseClipboard();
    return done;
}

std::string GetClipboardText()
{
    const HGLOBAL block = GetClipboardData(CF_UNICODETEXT);
    return block ? UnicodeBlockToText(block) : std::string();
}

bool HasClipboardText()
{
    return IsClipboardFormatAvailable(CF_UNICODETEXT);
}

HGLOBAL RenderClipboardForHost(CLIPFORMAT format)
{
    TClipboardStore* store = Store();
    if (store == nullptr || store->Foreign || IsClipboardFormatInProcess(format)) {
        return nullptr;
    }
    return ForOtherPrograms(format, BlockOf(*store, format));
}

void ForeignClipboardTookOver()
{
    TClipboardStore* store = Store();
    if (store == nullptr) {
        return;
    }
    const HWND previous = store->Owner;
    store->Clear();
    store->Owner = 0;
    store->Foreign = true;
    if (previous != 0 && IsWindow(previous)) {
        SendMessage(previous, WM_DESTROYCLIPBOARD, 0, 0);
    }
}

} // namespace plat
