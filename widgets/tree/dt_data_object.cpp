// The tree's data object: offered formats, rendering through the owner
// tree, the tree reference block, stored media and advise sinks.
#include "widgets/tree/dt_data_object.h"

#include "platform/streams.h"
#include "widgets/tree/base_data_tree.h"

#include <cstring>
#include <unistd.h>

namespace qel {

TDTDataObject::TDTDataObject(TBaseDataTree* owner, bool forClipboard) : FOwner(owner), FForClipboard(forClipboard)
{
    if (FOwner != nullptr) {
        FOwner->GetNativeClipboardFormats(FFormatEtcArray);
    }
}

TDTDataObject::~TDTDataObject()
{
    // The clipboard let go of the object (another one replaced it): the
    // marks of the cut or copy go with it, unless the tree flushes.
    if (FForClipboard && FOwner != nullptr && !FOwner->TreeStates().Contains(tsClipboardFlushing)) {
        try {
            FOwner->CancelCutOrCopy();
        } catch (...) {
        }
    }
}

bool TDTDataObject::EqualFormatEtc(const plat::TFormatEtc& a, const plat::TFormatEtc& b)
{
    return a.cfFormat == b.cfFormat && a.ptd == b.ptd && a.dwAspect == b.dwAspect && a.lindex == b.lindex &&
           (a.tymed & b.tymed) != 0;
}

int TDTDataObject::FindFormatEtc(const plat::TFormatEtc& format) const
{
    for (std::size_t i = 0; i < FFormatEtcArray.size(); ++i) {
        if (EqualFormatEtc(FFormatEtcArray[i], format)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TDTDataObject::TInternalStgMedium* TDTDataObject::FindInternalStgMedium(plat::CLIPFORMAT format)
{
    for (TInternalStgMedium& each : FInternalStgMediumArray) {
        if (each.Format == format) {
            return &each;
        }
    }
    return nullptr;
}

plat::HRESULT TDTDataObject::ShareStgMedium(const plat::TStgMedium& in, plat::TStgMedium& out, bool copyInMedium,
                                            const std::shared_ptr<void>& holder)
{
    out.tymed = in.tymed;
    out.hGlobal = in.hGlobal;
    out.stream = in.stream;
    out.fileName.clear();
    out.unkForRelease = in.unkForRelease;
    switch (in.tymed) {
    case plat::TYMED_HGLOBAL:
        if (copyInMedium) {
            out.hGlobal = plat::GlobalAlloc(plat::GMEM_FIXED | plat::GMEM_ZEROINIT, plat::GlobalSize(in.hGlobal));
            if (!out.hGlobal) {
                return plat::E_OUTOFMEMORY;
            }
            if (in.hGlobal) {
                out.hGlobal->Bytes() = in.hGlobal->Bytes();
            }
        } else {
            out.unkForRelease = holder;
        }
        break;
    case plat::TYMED_FILE:
        out.fileName = in.fileName;
        break;
    case plat::TYMED_ISTREAM:
    case plat::TYMED_ISTORAGE:
        break;
    case plat::TYMED_GDI:
    case plat::TYMED_MFPICT:
    case plat::TYMED_ENHMF:
        if (copyInMedium) {
            return plat::DV_E_TYMED;
        }
        out.unkForRelease = holder;
        break;
    default:
        return plat::DV_E_TYMED;
    }
    return plat::S_OK;
}

plat::HRESULT TDTDataObject::GetData(const plat::TFormatEtc& format, plat::TStgMedium& medium)
{
    medium = plat::TStgMedium();
    const TTreeClipboardFormats& formats = TreeClipboardFormats();
    if (format.cfFormat == formats.DTReference && formats.DTReference != 0) {
        // A flushed clipboard keeps no tree address, nor does a detached object.
        if (FOwner == nullptr || FOwner->TreeStates().Contains(tsClipboardFlushing)) {
            return plat::E_FAIL;
        }
        medium.hGlobal = plat::GlobalAlloc(plat::GHND | plat::GMEM_SHARE, TreeReferenceSize);
        const std::uint32_t process = static_cast<std::uint32_t>(getpid());
        const std::uint64_t address = reinterpret_cast<std::uintptr_t>(FOwner);
        std::memcpy(medium.hGlobal->Data(), &process, 4);
        std::memcpy(medium.hGlobal->Data() + 8, &address, 8);
        medium.tymed = plat::TYMED_HGLOBAL;
        return plat::S_OK;
    }
    try {
        const plat::HRESULT query = QueryGetData(format);
        if (query != plat::S_OK) {
            return query;
        }
        for (const plat::TFormatEtc& offered : FFormatEtcArray) {
            if (!EqualFormatEtc(offered, format)) {
                continue;
            }
            if (TInternalStgMedium* stored = FindInternalStgMedium(format.cfFormat)) {
                return ShareStgMedium(stored->Medium, medium, false, shared_from_this());
            }
            if (FOwner == nullptr) {
                return plat::E_FAIL;
            }
            return FOwner->RenderOLEData(format, medium, FForClipboard);
        }
        return plat::DV_E_FORMATETC;
    } catch (...) {
        medium = plat::TStgMedium();
        return plat::E_FAIL;
    }
}

plat::HRESULT TDTDataObject::GetDataHere(const plat::TFormatEtc&, plat::TStgMedium&)
{
    return plat::E_NOTIMPL;
}

plat::HRESULT TDTDataObject::QueryGetData(const plat::TFormatEtc& format)
{
    plat::HRESULT result = plat::DV_E_FORMATETC;
    for (const plat::TFormatEtc& offered : FFormatEtcArray) {
        if (offered.cfFormat != format.cfFormat) {
            continue;
        }
        result = plat::DV_E_TYMED;
        if ((offered.tymed & format.tymed) == 0) {
            continue;
        }
        result = plat::DV_E_DVASPECT;
        if (offered.dwAspect != format.dwAspect) {
            continue;
        }
        if (offered.lindex == format.lindex) {
            return plat::S_OK;
        }
        result = plat::DV_E_LINDEX;
    }
    return result;
}

plat::HRESULT TDTDataObject::GetCanonicalFormatEtc(const plat::TFormatEtc&, plat::TFormatEtc&)
{
    return plat::DATA_S_SAMEFORMATETC;
}

plat::HRESULT TDTDataObject::SetData(const plat::TFormatEtc& format, plat::TStgMedium& medium, bool release)
{
    TInternalStgMedium* stored = nullptr;
    if (FindFormatEtc(format) < 0) {
        FFormatEtcArray.push_back(format);
    } else {
        stored = FindInternalStgMedium(format.cfFormat);
    }
    if (stored == nullptr) {
        FInternalStgMediumArray.push_back(TInternalStgMedium{format.cfFormat, plat::TStgMedium()});
        stored = &FInternalStgMediumArray.back();
    } else {
        plat::ReleaseStgMedium(stored->Medium);
    }
    plat::HRESULT result = plat::S_OK;
    if (release) {
        stored->Medium = medium;
    } else {
        result = ShareStgMedium(medium, stored->Medium, true, shared_from_this());
        // The object never holds on to itself.
        if (stored->Medium.unkForRelease.get() == static_cast<const void*>(this)) {
            stored->Medium.unkForRelease.reset();
        }
    }
    if (FAdviseHolder) {
        FAdviseHolder->SendOnDataChange(this, 0, 0);
    }
    return result;
}

plat::HRESULT TDTDataObject::EnumFormatEtc(plat::DWORD direction, std::shared_ptr<plat::IEnumFORMATETC>& formats)
{
    if (direction != plat::DATADIR_GET) {
        formats.reset();
        return plat::OLE_S_USEREG;
    }
    formats = std::make_shared<plat::TFormatEnumerator>(FFormatEtcArray);
    return plat::S_OK;
}

plat::HRESULT TDTDataObject::DAdvise(const plat::TFormatEtc& format, plat::DWORD advf,
                                     std::shared_ptr<plat::IAdviseSink> sink, plat::DWORD& connection)
{
    if (!FAdviseHolder) {
        FAdviseHolder = std::make_unique<plat::TDataAdviseHolder>();
    }
    return FAdviseHolder->Advise(this, format, advf, std::move(sink), connection);
}

plat::HRESULT TDTDataObject::DUnadvise(plat::DWORD connection)
{
    if (!FAdviseHolder) {
        return plat::E_NOTIMPL;
    }
    return FAdviseHolder->Unadvise(connection);
}

} // namespace qel
