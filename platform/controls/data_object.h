// Data exchanged through the clipboard and drag and drop: clipboard format
// numbers (predefined ones, names registered from 0xC000), memory blocks,
// format descriptions and storage media, and the data object interface
// with its format enumerator and change notifications. Objects are shared
// by std::shared_ptr: the last holder frees them.
#pragma once

#include "platform/controls/window_styles.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

class TStream;

using HRESULT = std::int32_t;
using CLIPFORMAT = std::uint16_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x8004006A);
constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069);
constexpr HRESULT DV_E_DVASPECT = static_cast<HRESULT>(0x8004006B);
constexpr HRESULT DV_E_LINDEX = static_cast<HRESULT>(0x80040068);
constexpr HRESULT DATA_S_SAMEFORMATETC = 0x00040130;
constexpr HRESULT OLE_S_USEREG = 0x00040000;
constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003);
constexpr HRESULT OLE_E_NOCONNECTION = static_cast<HRESULT>(0x80040004);
constexpr HRESULT CLIPBRD_E_CANT_OPEN = static_cast<HRESULT>(0x800401D0);
constexpr HRESULT CLIPBRD_E_CANT_SET = static_cast<HRESULT>(0x800401D2);
constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101);
constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100);
constexpr HRESULT DRAGDROP_E_INVALIDHWND = static_cast<HRESULT>(0x80040102);
constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;

constexpr bool SUCCEEDED(HRESULT result) { return result >= 0; }
constexpr bool FAILED(HRESULT result) { return result < 0; }

// Predefined clipboard formats.
constexpr CLIPFORMAT CF_TEXT = 1;         // 8-bit text in the ANSI code page, NUL-terminated
constexpr CLIPFORMAT CF_BITMAP = 2;
constexpr CLIPFORMAT CF_OEMTEXT = 7;
constexpr CLIPFORMAT CF_DIB = 8;
constexpr CLIPFORMAT CF_UNICODETEXT = 13;  // UTF-16 little endian, NUL-terminated
constexpr CLIPFORMAT CF_HDROP = 15;
constexpr CLIPFORMAT CF_LOCALE = 16;
constexpr CLIPFORMAT CF_MAX_PREDEFINED = 17;

// The same number (0xC000 up) for the same name, compared without case;
// shared with registered window messages, as the platform does. 0 for an
// empty name.
CLIPFORMAT RegisterClipboardFormat(const std::string& name);
// The registered name of a format; empty for predefined and unknown ones.
std::string GetClipboardFormatName(CLIPFORMAT format);
// Formats whose data only makes sense inside this process (they carry
// addresses or node records): the clipboard never offers them to other
// programs.
void KeepClipboardFormatInProcess(CLIPFORMAT format);
bool IsClipboardFormatInProcess(CLIPFORMAT format);

// A block of memory handed between owners (the clipboard, data objects).
class TGlobalMemory {
public:
    explicit TGlobalMemory(std::size_t size) : FBytes(size) {}
    std::uint8_t* Data() { return FBytes.data(); }
    std::size_t Size() const { return FBytes.size(); }
    std::vector<std::uint8_t>& Bytes() { return FBytes; }

private:
    std::vector<std::uint8_t> FBytes;
};
using HGLOBAL = std::shared_ptr<TGlobalMemory>;

constexpr unsigned GMEM_FIXED = 0x0000;
constexpr unsigned GMEM_MOVEABLE = 0x0002;
constexpr unsigned GMEM_ZEROINIT = 0x0040;
constexpr unsigned GMEM_SHARE = 0x2000;
constexpr unsigned GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// Blocks always start zero-filled; nullptr for a size beyond 1 GiB.
HGLOBAL GlobalAlloc(unsigned flags, std::size_t size);
void* GlobalLock(const HGLOBAL& block);
bool GlobalUnlock(const HGLOBAL& block);
std::size_t GlobalSize(const HGLOBAL& block);
// Lets go of the block; answers nullptr.
HGLOBAL GlobalFree(HGLOBAL block);
// Blocks of text in the clipboard's text formats, and back.
HGLOBAL TextToUnicodeBlock(const std::string& utf8);
HGLOBAL TextToAnsiBlock(const std::string& utf8);
std::string UnicodeBlockToText(const HGLOBAL& block);
std::string AnsiBlockToText(const HGLOBAL& block);

constexpr DWORD DVASPECT_CONTENT = 1;
constexpr DWORD TYMED_NULL = 0;
constexpr DWORD TYMED_HGLOBAL = 1;
constexpr DWORD TYMED_FILE = 2;
constexpr DWORD TYMED_ISTREAM = 4;
constexpr DWORD TYMED_ISTORAGE = 8;
constexpr DWORD TYMED_GDI = 16;
constexpr DWORD TYMED_MFPICT = 32;
constexpr DWORD TYMED_ENHMF = 64;
constexpr DWORD DATADIR_GET = 1;
constexpr DWORD DATADIR_SET = 2;

struct TFormatEtc {
    CLIPFORMAT cfFormat = 0;
    void* ptd = nullptr;              // target device; always null here
    DWORD dwAspect = DVASPECT_CONTENT;
    std::int32_t lindex = -1;
    DWORD tymed = TYMED_HGLOBAL;      // mask of the media asked for or offered
    friend bool operator==(const TFormatEtc&, const TFormatEtc&) = default;
};

// Data in one medium; unkForRelease, when set, is the holder that owns the
// data (the medium then only refers to it).
struct TStgMedium {
    DWORD tymed = TYMED_NULL;
    HGLOBAL hGlobal;
    std::shared_ptr<TStream> stream;
    std::string fileName;
    std::shared_ptr<void> unkForRelease;
};

// Frees what the medium holds (or drops its reference to the holder).
void ReleaseStgMedium(TStgMedium& medium);

class IEnumFORMATETC {
public:
    virtual ~IEnumFORMATETC() = default;
    // Copies up to count formats from the current index; S_OK when count were copied.
    virtual HRESULT Next(unsigned count, TFormatEtc* formats, unsigned* fetched) = 0;
    virtual HRESULT Skip(unsigned count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(std::shared_ptr<IEnumFORMATETC>& copy) = 0;
};

// An enumerator over a fixed list of formats.
class TFormatEnumerator final : public IEnumFORMATETC {
public:
    explicit TFormatEnumerator(std::vector<TFormatEtc> formats, std::size_t index = 0)
        : FFormats(std::move(formats)), FIndex(index) {}
    HRESULT Next(unsigned count, TFormatEtc* formats, unsigned* fetched) override;
    HRESULT Skip(unsigned count) override;
    HRESULT Reset() override;
    HRESULT Clone(std::shared_ptr<IEnumFORMATETC>& copy) override;

private:
    std::vector<TFormatEtc> FFormats;
    std::size_t FIndex;
};

class IDataObject;

// Told when the data of an object it watches changes.
class IAdviseSink {
public:
    virtual ~IAdviseSink() = default;
    virtual void OnDataChange(const TFormatEtc& format, const TStgMedium& medium) = 0;
};

constexpr DWORD ADVF_NODATA = 1;

class IDataObject {
public:
    virtual ~IDataObject() = default;
    virtual HRESULT GetData(const TFormatEtc& format, TStgMedium& medium) = 0;
    virtual HRESULT GetDataHere(const TFormatEtc& format, TStgMedium& medium) = 0;
    virtual HRESULT QueryGetData(const TFormatEtc& format) = 0;
    virtual HRESULT GetCanonicalFormatEtc(const TFormatEtc& format, TFormatEtc& canonical) = 0;
    // release: the object takes over the medium's data; else it keeps a copy.
    virtual HRESULT SetData(const TFormatEtc& format, TStgMedium& medium, bool release) = 0;
    virtual HRESULT EnumFormatEtc(DWORD direction, std::shared_ptr<IEnumFORMATETC>& formats) = 0;
    virtual HRESULT DAdvise(const TFormatEtc& format, DWORD advf, std::shared_ptr<IAdviseSink> sink,
                            DWORD& connection) = 0;
    virtual HRESULT DUnadvise(DWORD connection) = 0;
};

// Keeps the sinks that watch a data object (CreateDataAdviseHolder).
class TDataAdviseHolder {
public:
    HRESULT Advise(IDataObject* object, const TFormatEtc& format, DWORD advf, std::shared_ptr<IAdviseSink> sink,
                   DWORD& connection);
    HRESULT Unadvise(DWORD connection);
    // Tells every sink; renders the data for those that want it.
    HRESULT SendOnDataChange(IDataObject* object, DWORD reserved, DWORD advf);

private:
    struct TConnection {
        DWORD Id;
        TFormatEtc Format;
        DWORD Advf;
        std::shared_ptr<IAdviseSink> Sink;
    };
    std::vector<TConnection> FConnections;
    DWORD FNextId = 1;
};

// A data object that holds blocks by format: what the clipboard answers for
// data that did not come as an object, and a simple object for tests and
// programs that offer plain data.
class TBlockDataObject : public IDataObject {
public:
    TBlockDataObject() = default;
    // Offers the block under the format (TYMED_HGLOBAL), replacing an older one.
    void Add(CLIPFORMAT format, HGLOBAL block);

    HRESULT GetData(const TFormatEtc& format, TStgMedium& medium) override;
    HRESULT GetDataHere(const TFormatEtc& format, TStgMedium& medium) override;
    HRESULT QueryGetData(const TFormatEtc& format) override;
    HRESULT GetCanonicalFormatEtc(const TFormatEtc& format, TFormatEtc& canonical) override;
    HRESULT SetData(const TFormatEtc& format, TStgMedium& medium, bool release) override;
    HRESULT EnumFormatEtc(DWORD direction, std::shared_ptr<IEnumFORMATETC>& formats) override;
    HRESULT DAdvise(const TFormatEtc& format, DWORD advf, std::shared_ptr<IAdviseSink> sink,
                    DWORD& connection) override;
    HRESULT DUnadvise(DWORD connection) override;

private:
    struct TBlock {
        CLIPFORMAT Format;
        HGLOBAL Data;
    };
    std::vector<TBlock> FBlocks;
    TDataAdviseHolder FAdvise;
};

// Reads a whole format as a block: asks for HGLOBAL first, then for a stream
// (an object that answers a stream whenever one is among the media asked
// for still hands over its block form).
HGLOBAL GetDataBlock(IDataObject& object, CLIPFORMAT format);

} // namespace plat
