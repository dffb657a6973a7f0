// The language table: each replaceable program text with its English,
// German and French text, and this program's own program texts.
#pragma once

#include "platform/resource_strings.h"

#include <array>
#include <cstddef>

namespace qel {

// One row: the program text it replaces and its three translations.
struct TLanguageRes {
    plat::PResString PTR;
    const char* ENG;
    const char* DEU;
    const char* FRA;
};

// Dialog texts.
inline constinit const plat::TResString SQelFile{"QEL file"};
inline constinit const plat::TResString SQelTemplate{"QEL template"};
inline constinit const plat::TResString SCannotOpenFile{"Cannot open file [%s] !"};

// Short texts of the title.
inline constinit const plat::TResString SQelTitle{"QEL"};
inline constinit const plat::TResString SVersionMark{"V"};

// Error texts; the error code of each is noted behind it.
inline constinit const plat::TResString SErrFileCreate{"File [%s] cannot be created !"}; // no code
inline constinit const plat::TResString SErrQelException{"The QEL is reporting an exception!"}; // code 15
inline constinit const plat::TResString SErrFormatting{"Error during formatting !"}; // code 41
inline constinit const plat::TResString SErrNoRecords{"No records available!"}; // code 20
inline constinit const plat::TResString SErrOtherStructure{"QEL has an other structure !\r\nPlease read QEL first !"}; // code 43
inline constinit const plat::TResString SErrOtherSerialNo{"QEL has other serial number !\r\nPlease read QEL first !"}; // code 42
inline constinit const plat::TResString SErrSerialReadWrite{"Error when reading/writing to serial port!"}; // code 5
inline constinit const plat::TResString SErrOpenPort{"Cannot open serial port !"}; // code 2
inline constinit const plat::TResString SErrRecordActive{"Record is active!\r\nPlease close record first."}; // code 7
inline constinit const plat::TResString SErrFatal{"Fatal Exception %d has occurred!"}; // fall-back text
inline constinit const plat::TResString SErrUnknownCommand{"Unknown command"}; // code 4
inline constinit const plat::TResString SErrUnknownVersion{"Unknown module version!\r\nPlease install updated QEL software."}; // code 30
inline constinit const plat::TResString SErrModuleActive{"The WiFi or BLE module is still active !\r\nPlease deactivate this module first !"}; // code 105
inline constinit const plat::TResString SErrRecordingNotStarted{"The data recording cannot be started!"}; // code 1002
inline constinit const plat::TResString SErrSensorChange{"A change of the external sensors must be registered first in the logger!\r\nPlease proceed according the brief instructions."}; // code 1001
inline constinit const plat::TResString SErrUserAbort{"Abort by user"}; // code 3 and 21
inline constinit const plat::TResString SErrNoModules{"No modules available !"}; // code 6
inline constinit const plat::TResString SErrRecordStarted{"During readout a record has been started.\r\nThe read data is possibly not valid !"}; // code 8
inline constinit const plat::TResString SErrNotInitialised{"The QEL is not initialised !"}; // code 9
inline constinit const plat::TResString SErrUnknownFunction{"The QEL doesn't know the requested function !"}; // code 10
inline constinit const plat::TResString SErrNoBaseModule{"The base module of the QEL is not available !"}; // code 11
inline constinit const plat::TResString SErrNoAnswer{"The QEL could not answer yet !"}; // code 12
inline constinit const plat::TResString SErrWrongParameters{"The QEL received wrong parameters !"}; // code 13
inline constinit const plat::TResString SErrUnknownException{"The QEL is reporting an unknown exception !"}; // code 14
inline constinit const plat::TResString SErrConfigurationMode{"The QEL is in configuration mode.\r\nPlease turn off the QEL and turn it on again."}; // code 22
inline constinit const plat::TResString SErrWrongPassword{"Wrong password !\r\nPlease try it again."}; // code 31
inline constinit const plat::TResString SErrNoValveTester{"No valve tester can be detected !"}; // code 32

// Texts of the main window and its wizard pages.
inline constinit const plat::TResString SSerialPort{"Serial port"};
inline constinit const plat::TResString SStartButton{"&Start"};
inline constinit const plat::TResString SExitButton{"E&xit"};
inline constinit const plat::TResString SReportButton{"&Report"};
inline constinit const plat::TResString SReportLabel{"Report :"};
inline constinit const plat::TResString SReadingHeader{"Retrieving header information .."};
inline constinit const plat::TResString SReadingData{"Retrieving data .."};
inline constinit const plat::TResString SCreatingFiles{"Creating file(s).."};
inline constinit const plat::TResString SCannotCreateRecordList{"Cannot create record list!"};
inline constinit const plat::TResString SSelectRecords{"Select required records :"};
inline constinit const plat::TResString SSelectAllButton{"Select &all"};
inline constinit const plat::TResString SSelectNoneButton{"Select &none"};
inline constinit const plat::TResString SRecordColumn{"Record"};
inline constinit const plat::TResString SStartTimeColumn{"Start time"};
inline constinit const plat::TResString SModulesColumn{"Modules"};
inline constinit const plat::TResString SModuleColumn{"Module"};
inline constinit const plat::TResString SPagesColumn{"Pages"};
inline constinit const plat::TResString SStatusColumn{"Status"};
inline constinit const plat::TResString STimeColumn{"t"};
inline constinit const plat::TResString SOkButton{"OK"};
inline constinit const plat::TResString SSensors{"Sensors"};
inline constinit const plat::TResString SReadSeveralQel{"Readout from several QEL with equal start time"};
inline constinit const plat::TResString SShowRecordDetails{"Show record details"};
inline constinit const plat::TResString SQelsReadSoFar{"QELs read so far"};
inline constinit const plat::TResString SContinueButton{"Continue"};
inline constinit const plat::TResString SSaveButton{"Save"};
inline constinit const plat::TResString SCancelButton{"Cancel"};
inline constinit const plat::TResString SSaveNamedFiles{"Do you want to save files already named?"};
inline constinit const plat::TResString SFilesGenerated{"Files generated :"};
inline constinit const plat::TResString SAccelerationRateNote{"Please note that the measurement rate of the acceleration sensor can vary about ±5%. This has particularly an effect during vibration measurements on the displayed measurement period."};
inline constinit const plat::TResString SProgramDescription{"This program can read the data of provided microSD card 4GB."};
inline constinit const plat::TResString SReadCardDirectory{"Read SD card directory.."};
inline constinit const plat::TResString SReadCardMemory{"Read SD card memory.."};
inline constinit const plat::TResString SMaximum{"Maximum"};
inline constinit const plat::TResString SValues{"Values"};
inline constinit const plat::TResString SNextButton{"Next"};
inline constinit const plat::TResString SBackButton{"Back"};
inline constinit const plat::TResString SDirectory{"Directory"};
inline constinit const plat::TResString SReadNewly{"Read newly"};
inline constinit const plat::TResString SChannelsStep{"1. Measurement channels"};
inline constinit const plat::TResString SChannelColumn{"Channel"};
inline constinit const plat::TResString SUnitColumn{"Unit"};
inline constinit const plat::TResString SMeasurementParameter{"Measurement parameter"};
inline constinit const plat::TResString STimeStep{"2. Measurement time"};
inline constinit const plat::TResString SStartTimeLabel{"Start time"};
inline constinit const plat::TResString SBeginningLabel{"Beginning [s]"};
inline constinit const plat::TResString SEndLabel{"End [s]"};
inline constinit const plat::TResString SDestinationStep{"3. Destination file"};
inline constinit const plat::TResString SFileFormat{"File format"};
inline constinit const plat::TResString SLimitationParameter{"Limitation parameter"};
inline constinit const plat::TResString SOptionsStep{"4. Options"};
inline constinit const plat::TResString SStartViewer{"Start Viewer"};
inline constinit const plat::TResString SStartCsvConverter{"Start CSV-converter"};
inline constinit const plat::TResString SRepeat{"Repeat"};
inline constinit const plat::TResString SAverageRateNote{"Note:\r\nThe average sampling rate is calculated from the start time, end time and number of measurements.\r\nThis is only useful for measuring data without time gaps!"};
inline constinit const plat::TResString SContainerFormatNote{"Note:\r\n This file format is only used by the QEL Pro software"};
inline constinit const plat::TResString SMoreContainers{"Additional data containers (qel1.dat, etc.) were found in the directory.\r\nShould all containers be read?"};
inline constinit const plat::TResString SBigDataNote{"Note: More than 10,000,000 measured values may not be displayed or processed in all software programmes."};
inline constinit const plat::TResString SSelectAll{"Select all"};
inline constinit const plat::TResString SPositionColumn{"Position"};
inline constinit const plat::TResString SAccelerationMeasurement{"Acceleration measurement"};
inline constinit const plat::TResString SJartoscope{"Jartoscope"};
inline constinit const plat::TResString SShockFileNote{"Note: A QSHOCK file will be created for the Jartoscope"};
inline constinit const plat::TResString SStandard{"standard"};
inline constinit const plat::TResString SOtherFormatsNote{"Note: Files with different formats can be created which however can not be opened with the Jartoscope"};
inline constinit const plat::TResString SStartJartoscope{"Start Jartoscope"};

constexpr std::size_t LANGUAGE_TEXT_ROWS = 123;

// In the order in which the language switch replaces the texts. The button
// and message-box captions are the platform's (platform/standard_texts.h).
extern const std::array<TLanguageRes, LANGUAGE_TEXT_ROWS> LanguageTexts;

} // namespace qel
