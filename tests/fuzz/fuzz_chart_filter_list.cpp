// Fuzz target for the stored filter list of a chart picture: any bytes read
// as a "FilterItems" value give a list or EReadError / EClassNotFound, and
// leave no update running. A list that was read writes a value that reads
// back and writes the same bytes, and applies to a small bitmap.
//
// Inputs that start with the collection code (14) are read as they are;
// any other input edits a valid list (three bytes per edit: offset low,
// offset high, new byte; a last lone byte cuts the list).
#include "widgets/chart/blur_filter.h"
#include "widgets/chart/chart_picture.h"
#include "widgets/chart/filter_class_registry.h"
#include "widgets/chart/kernel_filters.h"

#include "platform/canvas/bitmap.h"
#include "platform/float_checks.h"
#include "platform/objects/reader.h"
#include "platform/objects/writer.h"
#include "platform/streams.h"
#include "tests/fuzz/input_bytes.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace qel;

std::string WriteList(const TFilterItems& Filters)
{
    plat::TMemoryStream Stream;
    plat::TWriter Writer(Stream);
    TChtPicture::WriteFilters(Writer, Filters);
    return std::string(reinterpret_cast<const char*>(Stream.Memory()), static_cast<std::size_t>(Stream.Size()));
}

// Reads Bytes into Filters; false when the list was refused.
bool ReadList(const std::string& Bytes, TFilterItems& Filters)
{
    plat::TMemoryStream Stream;
    Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    Stream.SetPosition(0);
    plat::TReader Reader(Stream);
    try {
        TChtPicture::ReadFilters(Reader, Filters);
        return true;
    } catch (const plat::EClassNotFound&) {
        return false;
    } catch (const plat::EReadError&) {
        return false;
    }
}

// Every filter class once, with settings off their defaults, an index
// before one item.
std::string ValidList()
{
    RegisterFilterClasses({TBlurFilter::StaticClass(), TSharpenFilter::StaticClass(), TEmbossFilter::StaticClass(),
        TSoftenFilter::StaticClass()});
    TFilterItems Filters(nullptr);
    auto* Blur = static_cast<TBlurFilter*>(Filters.Add(TBlurFilter::StaticClass()));
    Blur->SetAmount(5);
    Blur->SetSteps(3);
    Blur->Region()->SetRectangle({2, 1, 6, 5});
    Filters.Add(TSharpenFilter::StaticClass())->SetEnabled(false);
    Filters.Add(TEmbossFilter::StaticClass())->Region()->SetRectangle({-3, -3, 40, 2});
    Filters.Add(TSoftenFilter::StaticClass());
    std::string Bytes = WriteList(Filters);
    Bytes.insert(1, std::string("\x02\x00", 2));
    return Bytes;
}

std::string ListFor(const std::uint8_t* Data, std::size_t Size)
{
    static const std::string Valid = ValidList();
    if (Size > 0 && Data[0] == static_cast<std::uint8_t>(plat::TValueType::vaCollection)) {
        return std::string(reinterpret_cast<const char*>(Data), Size);
    }
    return qel::fuzz::Mutated(Valid, Data, Size, 0);
}

// Runs the list on a small bitmap unless a blur asks for more passes than
// its editor offers (each pass is cheap, but two billion are not).
void ApplyToSmallBitmap(TFilterItems& Filters)
{
    for (int Index = 0; Index < Filters.Count(); ++Index) {
        const auto* Blur = dynamic_cast<const TBlurFilter*>(Filters.Item(Index));
        if (Blur != nullptr && Blur->Steps() > 20) {
            return;
        }
    }
    plat::TBitmap Bitmap(9, 7, plat::pf24bit);
    for (int Y = 0; Y < 7; ++Y) {
        std::uint8_t* Row = Bitmap.ScanLine(Y);
        for (int K = 0; K < 27; ++K) {
            Row[K] = static_cast<std::uint8_t>(K * 37 + Y * 11);
        }
    }
    try {
        Filters.ApplyTo(Bitmap);
    } catch (const plat::EZeroDivide&) {
        // A blur whose weights sum to 0.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFilterItems Filters(nullptr);
    const bool Read = ReadList(ListFor(data, size), Filters);
    if (Filters.UpdateCount() != 0) {
        std::abort();   // a refused list left its update running
    }
    if (!Read) {
        return 0;
    }
    const std::string Written = WriteList(Filters);
    TFilterItems Again(nullptr);
    if (!ReadList(Written, Again) || Again.Count() != Filters.Count() || WriteList(Again) != Written) {
        std::abort();
    }
    ApplyToSmallBitmap(Filters);
    return 0;
}
