// Record of one logger mission (title, operator, start and stop settings,
// trigger levels, burst rate, buffer sizes): read from a page section, written
// as the mission-data block of a block file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qel {

class TQEL;

struct TMissionData {
    bool bFirstReadQEL = false;        // set by the buffer list's startRead, cleared by nextRead
    bool bValid = false;               // holds mission data; only then is its block written
    std::uint16_t fileVersion = 0;     // not set or used
    std::uint16_t version = 0;         // version of the section, from the section's tag
    std::string sQelType;              // model name of the logger
    std::string sQelVersion;           // firmware version of the logger as text
    std::string sID;                   // serial number, and "-" + start time when it is valid
    std::string sTitle;                // at most 36 characters
    std::string sOperator;             // at most 24 characters
    double rec_starttime = 0.0;        // date-times: days since 1899-12-30
    double rec_endtime = 0.0;
    std::uint16_t rec_ctrl = 0;
    std::uint16_t options = 0;
    std::uint16_t rec_startmode = 0;   // 2: start at a set time
    std::uint16_t rec_stopmode = 0;    // 2: stop at a set time
    double rtc_starttime = 0.0;        // 0 unless rec_startmode is 2
    double rtc_stoptime = 0.0;         // 0 unless rec_stopmode is 2
    float adxl_level_on = 0.0f;        // acceleration levels in g
    float adxl_level_off = 0.0f;
    double rec_fast_rate = 0.0;        // burst sample interval in seconds
    std::uint16_t buffer_pre_cnts = 0;
    std::uint16_t buffer_post_cnts = 0;
    std::uint16_t rec_std_mask = 0;
    double tb_meas_rate = 0.0;
    bool bValidStartTime = false;      // StartTime is valid
    double StartTime = 0.0;            // start of the recording as the decoder found it
};

// Length of the mission-data section in a page.
constexpr std::uint16_t MISSION_DATA_SECTION_SIZE = 86;

// Block type of the mission data in a block file.
constexpr std::uint16_t MISSION_DATA_BLOCK = 27;

// Reads the section at Position of the page (size is the length its tag
// announced) into data and moves Position behind it. Answers False and
// changes nothing unless size is 86 and the section lies within the page.
// The logger (a TQEL649 or TQEL25) names the type and version and decides the
// acceleration scale.
bool ReadMissionData(std::uint16_t version, std::uint16_t size, std::span<const std::uint8_t> page,
                     std::int32_t& Position, const TQEL& logger, TMissionData& data);

// The payload of the mission-data block: the fields in block order, numbers
// little endian, strings as a 16-bit length and 8-bit ANSI characters. The
// block-file writer frames it as block MISSION_DATA_BLOCK.
std::vector<std::uint8_t> MissionDataBlockPayload(const TMissionData& data);

} // namespace qel
