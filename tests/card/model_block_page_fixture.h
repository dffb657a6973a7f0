// Fixture of the QEL539c and QEL28 decoder tests: pages of the variable-length
// format built with cardgen, decoded from a view of exactly the chosen size.
#pragma once

#include "card/page_base.h"
#include "tests/card/decoder_fixture.h"
#include "tools/cardgen/cluster_writer.h"
#include "tools/cardgen/var_records.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qeltest {

class ModelBlockPageTest : public DecoderTest {
protected:
    static constexpr std::uint64_t HEADER_UNITS = 5000;   // header time of the test pages
    static constexpr std::int64_t HEADER_TICKS = HEADER_UNITS * 1000;

    using TPageBytes = std::array<std::uint8_t, qel::PAGE_SIZE>;

    // A page: header (time HEADER_UNITS), the records fill writes from byte 8,
    // then zeros.
    static TPageBytes BuildPage(const std::function<void(qel::cardgen::TVarRecordWriter&)>& fill)
    {
        TPageBytes page{};
        qel::cardgen::TPageHeaderFields header;
        header.TimeUnits = HEADER_UNITS;
        qel::cardgen::WritePageHeader(page, header);
        qel::cardgen::TVarRecordWriter writer(page, qel::cardgen::kPageHeaderSize);
        fill(writer);
        return page;
    }

    // Hand-made records from byte 8.
    static TPageBytes RawPage(const std::vector<std::uint8_t>& records)
    {
        return BuildPage([&records](qel::cardgen::TVarRecordWriter& writer) { writer.AddBytes(records); });
    }

    // Decodes the first size bytes of the page with the decoder of the model;
    // the view is a copy of exactly that size, so that a read past it is
    // caught by the sanitizer build.
    static void DecodeView(std::uint16_t model, std::uint16_t version, const TPageBytes& page,
                           std::uint16_t size = qel::PAGE_SIZE)
    {
        const std::vector<std::uint8_t> view(page.begin(), page.begin() + size);
        const std::unique_ptr<qel::TPage> decoder = qel::GetPageClass(model, version).Create();
        decoder->BeginRead();
        decoder->New(0, view.data(), size);
        decoder->ReadData();
        decoder->FinishRead();
    }
};

} // namespace qeltest
