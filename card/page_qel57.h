// Page decoders of the QEL57 family (model code 0x661D): four-byte records
// after limit packets, with external-sensor data from QEL57b and D-Bus data from QEL57c.
#pragma once

#include "card/page_base.h"

#include <cstdint>

namespace qel {

class TPageReader;
class TQEL57;
struct TFourByteRecord;
class TQEL57b;

namespace page_qel57 {

// The decoder of the first generation (PC versions below 2.00), and the
// record loop that the later generations share. Page layout: header, limit
// packets, two skipped bytes, extended-sensor packets (QEL57b on), records.
// Times count units of 2000 ticks. Samples go to ReadBufferList for the
// current logger of QelList, which must be of the generation's class (else
// std::logic_error).
class TPage_V1 : public TPage {
public:
    static constexpr const char* ClassName = "TPage_V1";

    TPage_V1();

    // Twice the base's time.
    std::int64_t GetTime(bool bPageTime) override;
    // Decodes the attached page; a record or packet that does not fit in the
    // rest of the page ends it, keeping what was decoded before.
    void ReadData() override;
    // 0 without header bit 0; else 15 on a start page, 1 on any other page.
    int GetLimitPackets();

protected:
    // What sets a generation apart; fixed per class.
    struct TGeneration {
        int SensorPacketsOnStartPage;   // extended-sensor packets of a start page (0: none at all)
        std::uint8_t LastExtendedKind;  // kinds 1 to this in extended records (0: nibble 12 is a value)
        bool DBusRecords;               // nibble 13 is a D-Bus record
    };

    explicit TPage_V1(const TGeneration& generation);

    // Extended-sensor packets of this page: SensorPacketsOnStartPage on a
    // start page, 1 on any other; none in the first generation.
    int ExtSensPackets();
    // Takes the current logger as the generation's class, once per page.
    virtual void TakeCurrentLogger();

    TQEL57* FLogger = nullptr;      // the logger of the page being decoded
    TQEL57b* FExtLogger = nullptr;  // the same, from the second generation on

private:
    bool ReadLimitPackets(TPageReader& in, int count);
    bool ReadExtSensPackets(TPageReader& in, int count);
    // The record's first four bytes are read; False ends the page.
    bool ReadExtendedRecord(TPageReader& in, const TFourByteRecord& head, std::int64_t& time);
    bool ReadDBusRecord(TPageReader& in, const TFourByteRecord& head, std::int64_t& time);

    TGeneration FGeneration;
};

// The class for a PC version word: the first generation below 0x0200, the
// second below 0x0300, the third from 0x0300.
const TPageClass& SelectPageClass(std::uint16_t Version);

} // namespace page_qel57

namespace page_qel57b {

// Second generation (PC versions 2.xx): extended-sensor packets (16 on a
// start page) and extended records of kinds 1 and 2; logger TQEL57b.
class TPage_V1 : public page_qel57::TPage_V1 {
public:
    TPage_V1();
    int GetExtSensPackets() { return ExtSensPackets(); }

protected:
    void TakeCurrentLogger() override;
};

} // namespace page_qel57b

namespace page_qel57c {

// Third generation (PC versions from 3.00): 24 extended-sensor packets on a
// start page, extended records of kinds 1 to 3 and D-Bus records, whose
// blocks go to DBusDataList; logger TQEL57c.
class TPage_V1 : public page_qel57::TPage_V1 {
public:
    TPage_V1();
    int GetExtSensPackets() { return ExtSensPackets(); }
    // A record begins: DBusDataList is emptied, so after a read it holds
    // the blocks of the last record read.
    void BeginRead() override;

protected:
    void TakeCurrentLogger() override;
};

} // namespace page_qel57c

} // namespace qel
