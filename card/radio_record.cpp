// Radio records of the QEL539c pages: module look-up and creation, counter
// and values to the module's channels, new values to the module's series.
#include "card/radio_record.h"

#include "card/buffer_list.h"
#include "card/page_reader.h"
#include "loggers/qel539c.h"

namespace qel {

std::uint32_t RadioSeriesChannel(int modulIndex, int channelIndex)
{
    return TQEL539C::FirstRadioChannel + TQEL539C::RadioChannelsPerModul * static_cast<std::uint32_t>(modulIndex) +
           static_cast<std::uint32_t>(channelIndex);
}

namespace {

// The module of the record's serial number; a new one, built from the
// record's head and appended, when the logger has not met it yet.
int FindOrAddModul(TRFSModulList& list, std::uint8_t controlByte, std::uint8_t modulByte, std::uint16_t sn,
                   std::uint8_t cfg)
{
    const int found = list.findModulSN(sn);
    if (found >= 0) {
        return found;
    }
    auto* modul = new TRFSModul;
    modul->modul_no = modulByte & 0x0F;
    modul->sn = sn;
    modul->cfg = cfg;
    modul->position = static_cast<std::uint8_t>(modulByte >> 4);
    modul->rate = 0;
    modul->channels = controlByte & 0x0F;
    modul->ctrl = controlByte & 0xF0;   // kept in place: bit 7 is the transparent mode
    modul->Initialize();
    return list.Add(modul);   // no module had this serial number: the new one is the first
}

} // namespace

bool ReadRadioRecord(TPageReader& in, TQEL539C& logger, std::int64_t time)
{
    // The tag is consumed; bytes 1 to 3 say how many bytes follow them.
    if (!in.Fits(3)) {
        return false;
    }
    in.Byte();
    const std::uint8_t controlByte = in.Byte();
    const std::uint8_t modulByte = in.Byte();
    const int n = controlByte & 0x0F;
    if (!in.Fits(6 + 2 * n)) {
        return false;
    }
    const std::uint16_t sn = in.Word();
    std::uint32_t counter = in.Word();
    counter |= static_cast<std::uint32_t>(in.Byte()) << 16;
    const std::uint8_t cfg = in.Byte();

    const int m = FindOrAddModul(logger.FRFSModulList, controlByte, modulByte, sn, cfg);
    TRFSModul& modul = logger.FRFSModulList.GetItem(m);
    modul.setTransparentConfig(cfg, false);
    const int counterChannel = modul.findRFSChannel(TRFSModul::CounterRfsID);
    if (counterChannel >= 0) {
        modul.GetItem(counterChannel).setValue(static_cast<std::int32_t>(counter));
    }
    for (int j = 0; j < n; ++j) {
        modul.setRFSChannelValue(modul.getChannelIndex(j), in.SmallInt());
    }

    // Each new value is taken once. Taken here without the display text that
    // getValidValue would format, so a sample costs no allocation.
    for (int i = 0; i < modul.getChannels(); ++i) {
        TRFSChannel& channel = modul.GetItem(i);
        std::int32_t raw = 0;
        if (!channel.getValue(raw)) {
            continue;
        }
        const int created = ReadBufferList.addSingleData(RadioSeriesChannel(m, i), time, modul.calcChValue(i, raw));
        if (created >= 0) {
            TBufferBaseData& buffer = *ReadBufferList.GetItem(created);
            buffer.channel_sn = modul.sn;
            buffer.channel_id = static_cast<std::uint16_t>(channel.ID);
        }
    }
    return true;
}

} // namespace qel
