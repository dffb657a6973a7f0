// TDTDataObject: the data object a tree puts on the clipboard or hands to
// a drag. It offers the formats the tree lists (taken once, when it is
// made), renders the tree's own data through the tree, answers which tree
// in which process made it, and keeps what consumers store into it. The
// tree it belongs to lets go of it when it is destroyed, after which it
// renders nothing.
#pragma once

#include "platform/controls/data_object.h"
#include "widgets/tree/clipboard_formats.h"

#include <memory>
#include <vector>

namespace qel {

class TBaseDataTree;

class TDTDataObject final : public plat::IDataObject, public std::enable_shared_from_this<TDTDataObject> {
public:
    TDTDataObject(TBaseDataTree* owner, bool forClipboard);
    ~TDTDataObject() override;
    TDTDataObject(const TDTDataObject&) = delete;
    TDTDataObject& operator=(const TDTDataObject&) = delete;

    TBaseDataTree* Owner() const { return FOwner; }
    bool ForClipboard() const { return FForClipboard; }
    // The owner is going: nothing refers to it from now on.
    void Detach() { FOwner = nullptr; }
    const TFormatEtcArray& Formats() const { return FFormatEtcArray; }

    plat::HRESULT GetData(const plat::TFormatEtc& format, plat::TStgMedium& medium) override;
    plat::HRESULT GetDataHere(const plat::TFormatEtc& format, plat::TStgMedium& medium) override;
    plat::HRESULT QueryGetData(const plat::TFormatEtc& format) override;
    plat::HRESULT GetCanonicalFormatEtc(const plat::TFormatEtc& format, plat::TFormatEtc& canonical) override;
    plat::HRESULT SetData(const plat::TFormatEtc& format, plat::TStgMedium& medium, bool release) override;
    plat::HRESULT EnumFormatEtc(plat::DWORD direction, std::shared_ptr<plat::IEnumFORMATETC>& formats) override;
    plat::HRESULT DAdvise(const plat::TFormatEtc& format, plat::DWORD advf, std::shared_ptr<plat::IAdviseSink> sink,
                          plat::DWORD& connection) override;
    plat::HRESULT DUnadvise(plat::DWORD connection) override;

    // Same format, device, aspect and index, and the media share a kind.
    static bool EqualFormatEtc(const plat::TFormatEtc& a, const plat::TFormatEtc& b);
    // Out takes In's data: a copy of a block with copyInMedium, else a
    // share that keeps holder alive.
    static plat::HRESULT ShareStgMedium(const plat::TStgMedium& in, plat::TStgMedium& out, bool copyInMedium,
                                        const std::shared_ptr<void>& holder);

private:
    struct TInternalStgMedium {
        plat::CLIPFORMAT Format;
        plat::TStgMedium Medium;
    };
    int FindFormatEtc(const plat::TFormatEtc& format) const;
    TInternalStgMedium* FindInternalStgMedium(plat::CLIPFORMAT format);

    TBaseDataTree* FOwner;
    bool FForClipboard;
    TFormatEtcArray FFormatEtcArray;
    std::vector<TInternalStgMedium> FInternalStgMediumArray;
    std::unique_ptr<plat::TDataAdviseHolder> FAdviseHolder;
};

// The 16 bytes of "Data Tree Reference": process id, 0, the tree's address.
constexpr std::size_t TreeReferenceSize = 16;

} // namespace qel
