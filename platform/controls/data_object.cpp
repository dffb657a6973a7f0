// Clipboard formats, memory blocks, media, the format enumerator, advise
// holders and the block data object.
#include "platform/controls/data_object.h"

#include "platform/messages.h"
#include "platform/streams.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace plat {

namespace {

constexpr std::size_t MaxBlockSize = std::size_t{1} << 30;

struct TInProcessFormats {
    std::mutex Lock;
    std::vector<CLIPFORMAT> Formats;
};

TInProcessFormats& InProcessFormats()
{
    static TInProcessFormats formats;
    return formats;
}

} // namespace

CLIPFORMAT RegisterClipboardFormat(const std::string& name)
{
    return static_cast<CLIPFORMAT>(RegisterWindowMessage(name));
}

std::string GetClipboardFormatName(CLIPFORMAT format)
{
    return RegisteredMessageName(format);
}

void KeepClipboardFormatInProcess(CLIPFORMAT format)
{
    TInProcessFormats& kept = InProcessFormats();
    const std::lock_guard<std::mutex> guard(kept.Lock);
    if (format != 0 && std::find(kept.Formats.begin(), kept.Formats.end(), format) == kept.Formats.end()) {
        kept.Formats.push_back(format);
    }
}

bool IsClipboardFormatInProcess(CLIPFORMAT format)
{
    TInProcessFormats& kept = InProcessFormats();
    const std::lock_guard<std::mutex> guard(kept.Lock);
    return std::find(kept.Formats.begin(), kept.Formats.end(), format) != kept.Formats.end();
}

HGLOBAL GlobalAlloc(unsigned, std::size_t size)
{
    if (size > MaxBlockSize) {
        return nullptr;
    }
    return std::make_shared<TGlobalMemory>(size);
}

void* GlobalLock(const HGLOBAL& block)
{
    return block ? block->Data() : nullptr;
}

bool GlobalUnlock(const HGLOBAL& block)
{
    return block != nullptr;
}

std::size_t GlobalSize(const HGLOBAL& block)
{
    return block ? block->Size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL)
{
    return nullptr;
}

HGLOBAL TextToUnicodeBlock(const std::string& utf8)
{
    const std::u16string text = Utf8ToUtf16(utf8);
    HGLOBAL block = GlobalAlloc(GHND, (text.size() + 1) * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        block->Data()[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        block->Data()[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
    return block;
}

HGLOBAL TextToAnsiBlock(const std::string& utf8)
{
    const std::string text = Utf8ToAnsi(utf8);
    HGLOBAL block = GlobalAlloc(GHND, text.size() + 1);
    std::memcpy(block->Data(), text.data(), text.size());
    return block;
}

std::string UnicodeBlockToText(const HGLOBAL& block)
{
    std::u16string text;
    const std::size_t units = GlobalSize(block) / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = static_cast<char16_t>(block->Data()[2 * i] | (block->Data()[2 * i + 1] << 8));
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    return Utf16ToUtf8(text);
}

std::string AnsiBlockToText(const HGLOBAL& block)
{
    const std::size_t size = GlobalSize(block);
    const char* bytes = reinterpret_cast<const char*>(GlobalLock(block));
    const std::size_t length = bytes ? std::find(bytes, bytes + size, '\0') - bytes : 0;
    return AnsiToUtf8(std::string_view(bytes ? bytes : "", length));
}

void ReleaseStgMedium(TStgMedium& medium)
{
    medium = TStgMedium();
}

HRESULT TFormatEnumerator::Next(unsigned count, TFormatEtc* formats, unsigned* fetched)
{
    unsigned copied = 0;
    while (copied < count && FIndex < FFormats.size()) {
        formats[copied++] = FFormats[FIndex++];
    }
    if (fetched != nullptr) {
        *fetched = copied;
    }
    return copied == count ? S_OK : S_FALSE;
}

HRESULT TFormatEnumerator::Skip(unsigned count)
{
    if (FIndex + count > FFormats.size()) {
        return S_FALSE;
    }
    FIndex += count;
    return S_OK;
}

HRESULT TFormatEnumerator::Reset()
{
    FIndex = 0;
    return S_OK;
}

HRESULT TFormatEnumerator::Clone(std::shared_ptr<IEnumFORMATETC>& copy)
{
    copy = std::make_shared<TFormatEnumerator>(FFormats, FIndex);
    return S_OK;
}

HRESULT TDataAdviseHolder::Advise(IDataObject* object, const TFormatEtc& format, DWORD advf,
                                  std::shared_ptr<IAdviseSink> sink, DWORD& connection)
{
    if (!sink) {
        return E_INVALIDARG;
    }
    (void)object;
    connection = FNextId++;
    FConnections.push_back(TConnection{connection, format, advf, std::move(sink)});
    return S_OK;
}

HRESULT TDataAdviseHolder::Unadvise(DWORD connection)
{
    const auto erased = std::erase_if(FConnections, [&](const TConnection& each) { return each.Id == connection; });
    return erased > 0 ? S_OK : OLE_E_NOCONNECTION;
}

HRESULT TDataAdviseHolder::SendOnDataChange(IDataObject* object, DWORD, DWORD)
{
    const std::vector<TConnection> connections = FConnections;
    for (const TConnection& connection : connections) {
        TStgMedium medium;
        if ((connection.Advf & ADVF_NODATA) == 0 && object != nullptr) {
            object->GetData(connection.Format, medium);
        }
        connection.Sink->OnDataChange(connection.Format, medium);
    }
    return S_OK;
}

void TBlockDataObject::Add(CLIPFORMAT format, HGLOBAL block)
{
    std::erase_if(FBlocks, [&](const TBlock& each) { return each.Format == format; });
    FBlocks.push_back(TBlock{format, std::move(block)});
}

HRESULT TBlockDataObject::GetData(const TFormatEtc& format, TStgMedium& medium)
{
    medium = TStgMedium();
    const HRESULT found = QueryGetData(format);
    if (found != S_OK) {
        return found;
    }
    for (const TBlock& block : FBlocks) {
        if (block.Format == format.cfFormat) {
            medium.tymed = TYMED_HGLOBAL;
            medium.hGlobal = block.Data;
            return S_OK;
        }
    }
    return DV_E_FORMATETC;
}

HRESULT TBlockDataObject::GetDataHere(const TFormatEtc&, TStgMedium&)
{
    return E_NOTIMPL;
}

HRESULT TBlockDataObject::QueryGetData(const TFormatEtc& format)
{
    for (const TBlock& block : FBlocks) {
        if (block.Format != format.cfFormat) {
            continue;
        }
        if ((format.tymed & TYMED_HGLOBAL) == 0) {
            return DV_E_TYMED;
        }
        if (format.dwAspect != DVASPECT_CONTENT) {
            return DV_E_DVASPECT;
        }
        return format.lindex == -1 ? S_OK : DV_E_LINDEX;
    }
    return DV_E_FORMATETC;
}

HRESULT TBlockDataObject::GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc&)
{
    return DATA_S_SAMEFORMATETC;
}

HRESULT TBlockDataObject::SetData(const TFormatEtc& format, TStgMedium& medium, bool release)
{
    if (medium.tymed != TYMED_HGLOBAL || !medium.hGlobal) {
        return DV_E_TYMED;
    }
    HGLOBAL block = medium.hGlobal;
    if (!release) {
        block = GlobalAlloc(GHND, medium.hGlobal->Size());
        block->Bytes() = medium.hGlobal->Bytes();
    }
    Add(format.cfFormat, std::move(block));
    if (release) {
        ReleaseStgMedium(medium);
    }
    FAdvise.SendOnDataChange(this, 0, 0);
    return S_OK;
}

HRESULT TBlockDataObject::EnumFormatEtc(DWORD direction, std::shared_ptr<IEnumFORMATETC>& formats)
{
    if (direction != DATADIR_GET) {
        formats.reset();
        return OLE_S_USEREG;
    }
    std::vector<TFormatEtc> list;
    for (const TBlock& block : FBlocks) {
        list.push_back(TFormatEtc{block.Format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
    }
    formats = std::make_shared<TFormatEnumerator>(std::move(list));
    return S_OK;
}

HRESULT TBlockDataObject::DAdvise(const TFormatEtc& format, DWORD advf, std::shared_ptr<IAdviseSink> sink,
                                  DWORD& connection)
{
    return FAdvise.Advise(this, format, advf, std::move(sink), connection);
}

HRESULT TBlockDataObject::DUnadvise(DWORD connection)
{
    return FAdvise.Unadvise(connection);
}

HGLOBAL GetDataBlock(IDataObject& object, CLIPFORMAT format)
{
    TStgMedium medium;
    if (object.GetData(TFormatEtc{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, medium) != S_OK &&
        object.GetData(TFormatEtc{format, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM}, medium) != S_OK) {
        return nullptr;
    }
    HGLOBAL block;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        block = GlobalAlloc(GHND, medium.hGlobal->Size());
        block->Bytes() = medium.hGlobal->Bytes();
    } else if (medium.tymed == TYMED_ISTREAM && medium.stream) {
        TStream& stream = *medium.stream;
        const std::int64_t size = stream.Size() - stream.Position();
        if (size >= 0 && static_cast<std::uint64_t>(size) <= MaxBlockSize) {
            block = GlobalAlloc(GHND, static_cast<std::size_t>(size));
            const std::int64_t got = stream.Read(block->Data(), size);
            block->Bytes().resize(static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
        }
    }
    ReleaseStgMedium(medium);
    return block;
}

} // namespace plat
