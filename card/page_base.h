// Page decoder base: a view on one logger memory page that answers the page
// header's questions, and the choice of decoder class by model and version.
#pragma once

#include "foundations/tick_time.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace qel {

constexpr std::uint16_t PAGE_HEADER_SIZE = 8;   // flags, 40-bit time, start page
constexpr std::uint16_t PAGE_SIZE = 1056;       // a logger memory page

// Base of every page decoder. The bytes of the view belong to the caller (a
// cluster buffer) and must stay unchanged while the decoder uses them.
class TPage {
public:
    static constexpr const char* ClassName = "TPage";

    TPage() = default;
    virtual ~TPage() = default;
    TPage(const TPage&) = delete;
    TPage& operator=(const TPage&) = delete;

    // Header bytes 6-7, little endian; the position is then 8.
    virtual std::uint16_t GetStartPageNo();
    // The 40-bit time at byte 1 (bPageTime) or at the position, in ticks:
    // units of 1000 ticks, 2000 with F512SEC, plus the UTC offset when enabled.
    virtual std::int64_t GetTime(bool bPageTime);
    // The overflow count is below 3.
    virtual bool IsValid();
    // Decodes the page's records into the sample buffers.
    virtual void ReadData();
    // Called before the first and after the last page of each record.
    virtual void BeginRead();
    virtual void FinishRead();
    virtual std::uint16_t GetHeaderSize();

    // Attaches a view of Amount bytes; the position goes to 0.
    void New(std::uint16_t No, const std::uint8_t* pBytes, std::uint16_t Amount)
    {
        FNo = No;
        FMemory = pBytes;
        FSize = Amount;
        FPosition = 0;
    }
    // The byte at the position, which then advances; 0 beyond the view.
    std::uint8_t ReadByte()
    {
        const std::int32_t at = FPosition++;
        return at >= 0 && at < FSize ? FMemory[at] : 0;
    }
    std::uint8_t GetOvfCnt() { return static_cast<std::uint8_t>(FlagsByte() >> 6); }
    bool IsStartPage() { return (FlagsByte() & 0x20) != 0; }
    bool hasExtendedHeader() { return (FlagsByte() & 0x10) != 0; }
    // Bit 4 of the flags, unless the reader setting ForceExtQEL is on.
    bool IsQShockPage();
    std::uint16_t GetNo() const { return FNo; }
    void setUtc(bool bEnabled, std::int64_t offset)
    {
        FUtc.bEnabled = bEnabled;
        FUtc.Offset = bEnabled ? offset : 0;
    }
    TQelUtc GetUtc() const { return FUtc; }

    std::uint16_t FQEL = 0;     // not used by the decoders
    bool F512SEC = false;       // header and record times count units of 2000 ticks

protected:
    // Byte 0; the position is then 1.
    std::uint8_t FlagsByte()
    {
        FPosition = 0;
        return ReadByte();
    }

    std::int32_t FSize = 0;                 // bytes in the view
    std::int32_t FPosition = 0;             // read position in the view
    const std::uint8_t* FMemory = nullptr;  // first byte of the view
    TQelUtc FUtc;                           // added to every computed time
    std::uint16_t FNo = 0;                  // page number given with the bytes
};

// A decoder class: its name, and how to make an object of it, on the heap or
// in caller-provided storage (the header parser builds one per cluster on
// its stack, so no cluster allocates).
struct TPageClass {
    const char* ClassName;
    std::size_t InstanceSize;
    std::size_t InstanceAlign;
    TPage* (*ConstructAt)(void* storage);
    std::unique_ptr<TPage> (*Create)();
};

// Decoder objects fit this storage; a larger class fails to compile.
constexpr std::size_t MAX_PAGE_OBJECT_SIZE = 512;

template <class T>
const TPageClass& PageClassOf()
{
    static_assert(sizeof(T) <= MAX_PAGE_OBJECT_SIZE && alignof(T) <= alignof(std::max_align_t),
                  "page decoders must fit the header parser's storage");
    static const TPageClass pageClass{
        T::ClassName, sizeof(T), alignof(T),
        [](void* storage) -> TPage* { return new (storage) T(); },
        []() -> std::unique_ptr<TPage> { return std::make_unique<T>(); }};
    return pageClass;
}

// A decoder object living in its own storage for one scope.
class TScopedPage {
public:
    explicit TScopedPage(const TPageClass& pageClass) : FPage(pageClass.ConstructAt(FStorage)) {}
    ~TScopedPage() { FPage->~TPage(); }
    TScopedPage(const TScopedPage&) = delete;
    TScopedPage& operator=(const TScopedPage&) = delete;
    TPage& operator*() const { return *FPage; }
    TPage* operator->() const { return FPage; }

private:
    alignas(std::max_align_t) std::byte FStorage[MAX_PAGE_OBJECT_SIZE];
    TPage* FPage;
};

// The decoder class of a model code and PC version word; TPage when no
// decoder serves the pair.
const TPageClass& GetPageClass(std::uint16_t ModelCode, std::uint16_t Version);

} // namespace qel
