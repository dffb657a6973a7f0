// The bench of the wizard's end-to-end tests: a generated card of two
// QEL649 loggers (123456 with a recording wrapped around the card's end
// across qel.dat and qel1.dat, 654321 with a short one) and a qel3.dat of a
// third logger beside them that the read must leave alone; the road from
// Start over the record tree and the data read to the channel page, and
// the samples the card holds, to check what a save wrote.
#pragma once

#include "tests/app/main_window_fixture.h"

#include "tools/cardgen/card_description.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qel::test {

// What the generated card is made of.
struct TWizardCard {
    bool Shock = false;                  // the 123456 recording is a shock recording
    std::uint16_t PcVersion = 0x0120;    // of logger 123456
    std::uint32_t Pages = 12;            // of the 123456 recording
};

// One sample the card holds.
struct TCardSample {
    std::int64_t Time;   // ticks
    std::int16_t Raw;
};

class TWizardCardTest : public TMainWindowTest {
protected:
    static constexpr std::uint32_t FIRST_SERIAL = 123456;
    static constexpr std::uint32_t SECOND_SERIAL = 654321;
    // The channels of the loggers, in the order the channel list shows them;
    // channel 2 is a gap channel of the model.
    static const std::vector<std::uint8_t> CHANNELS;
    // The first sample of the 123456 recording lies at 2000-01-01 00:01:40.
    static constexpr std::int64_t FIRST_SAMPLE_TICKS = 100 * 1'024'000;

    ~TWizardCardTest() override;
    // The listener goes with the window.
    void Stop() override;

    // Writes card/qel.dat, card/qel1.dat and card/qel3.dat.
    void WriteCard(const TWizardCard& Card = {});
    std::string CardFile() const { return Dir.File("card/qel.dat"); }
    // Start clicked, qel.dat chosen, the numbered containers taken: page 1.
    void ReadDirectory();
    // The records of the first logger checked through its "Select all".
    void CheckFirstLoggersRecords();
    // Next on page 1: the data read, until it has ended on its page.
    void ReadData();
    // From Start to the page after the data read.
    void ReadCardToChannels(const TWizardCard& Card = {});

    // The samples the card holds for a channel of the 123456 recording.
    std::vector<TCardSample> Generated(std::uint8_t Channel) const;
    // The suite messages the process's top-level windows got so far.
    int SuiteMessages() const { return FSuiteMessages; }
    // Listens for the suite message on a top-level window of its own.
    void ListenForSuiteMessages();
    // The data folder, with its delimiter.
    static std::string DataFolder();

private:
    cardgen::TRecordingDescription FFirstRecording;
    plat::HWND FListener = 0;
    int FSuiteMessages = 0;
};

} // namespace qel::test
