// Fuzz target for the chart's filter family: a filter of any of the 25
// classes gets any values in its stored properties (angles and percents
// that are not finite, amounts, sizes, counts and brightness far outside
// their editors' ranges), any region, and runs on a small bitmap of either
// pixel format, in 24- or 32-bit rows. It must end without a crash, leave a
// bitmap of a sane size, and store settings that read back the same.
//
// The input is consumed in order: class, bitmap width, height and format,
// rows, a region flag with four region values, then each stored property
// (ordinals 4 bytes, floats 8 bytes); missing bytes read as 0.
#include "tests/fuzz/input_bytes.h"
#include "tests/widgets/chart/stored_filter_list.h"

#include "widgets/chart/chart_filters_unit.h"
#include "widgets/chart/filter_class_registry.h"

#include "platform/canvas/bitmap.h"
#include "platform/float_checks.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace qel;

using fuzz::TInputBytes;

// Sizes and corners of the scaling filters stay small, so that no input
// asks for a bitmap of millions of pixels, and a blur runs no more passes
// than its editor offers (each is cheap, but two billion are not). Every
// other value may be anything.
bool IsBounded(const TChtFilter& Filter, const std::string& Name)
{
    if (Filter.InheritsFrom(plat::FindClass("TResizeFilter"))) {
        return Name == "Width" || Name == "Height" || Name == "Left" || Name == "Top";
    }
    return Name == "Steps";
}

void SetProperties(TChtFilter& Filter, TInputBytes& Input)
{
    for (const plat::TPropInfo* Property : Filter.ClassType()->Properties()) {
        switch (Property->Kind()) {
        case plat::TPropertyKind::Object:
            break;
        case plat::TPropertyKind::Float:
            Property->SetFloat(Filter, Input.Next<double>());
            break;
        default: {
            std::int64_t Value = Input.Next<std::int32_t>();
            if (IsBounded(Filter, Property->Name())) {
                Value %= 21;
            }
            const std::int64_t Span = Property->MaxValue() - Property->MinValue() + 1;
            Value = Property->MinValue() + ((Value - Property->MinValue()) % Span + Span) % Span;
            Property->SetOrdinal(Filter, Value);
            break;
        }
        }
    }
}

void ExpectSameWhenReadBack(const TFilterItems& Filters)
{
    const std::string Bytes = test::StoredFilterList(Filters);
    TFilterItems Read(nullptr);
    test::ReadFilterList(Bytes, Read);
    if (test::StoredFilterList(Read) != Bytes) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool Registered = (InitChartFilters(), true);
    (void)Registered;
    TInputBytes Input(data, size);
    const int ClassIndex = Input.Next<std::uint8_t>() % FilterClassNames->Count();
    const TFilterClass Class = plat::FindClass(FilterClassNames->Strings(ClassIndex), TChtFilter::StaticClass());

    TFilterItems Filters(nullptr);
    TChtFilter& Filter = *Filters.Add(Class);
    const int Width = Input.Next<std::uint8_t>() % 13;
    const int Height = Input.Next<std::uint8_t>() % 13;
    const bool Deep = Input.Next<std::uint8_t>() % 2 == 0;
    plat::TBitmap Bitmap(Width, Height, Deep ? plat::pf32bit : plat::pf24bit);
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        std::uint8_t* Row = Bitmap.ScanLine(Y);
        for (int K = 0; K < Width * (Deep ? 4 : 3); ++K) {
            Row[K] = static_cast<std::uint8_t>(K * 29 + Y * 71);
        }
    }
    Filter.RGBA = Input.Next<std::uint8_t>() % 5 == 0;
    if (Input.Next<std::uint8_t>() % 2 == 0) {
        Filter.Region()->SetRectangle({Input.Next<std::int8_t>(), Input.Next<std::int8_t>(), Input.Next<std::int8_t>(),
            Input.Next<std::int8_t>()});
    }
    SetProperties(Filter, Input);
    ExpectSameWhenReadBack(Filters);

    try {
        Filter.Apply(Bitmap);
    } catch (const plat::EZeroDivide&) {
        // A blur whose weights sum to 0.
    }
    if (Bitmap.Width() > 40 || Bitmap.Height() > 40) {
        std::abort();   // only resize, mirror and rotate change the size, and only so far
    }
    return 0;
}
