// The suite settings shared with the maker's other programs: the common
// record, this program's "reader" section and the "Prototype" section, with
// their defaults, load and save by application name.
#pragma once

#include <cstdint>
#include <string>

namespace qel {

// The common settings of the suite (values directly in the settings key),
// with their defaults.
struct TRegSettings {
    std::int32_t iRegPortSearch = 2;              // "ComportSearch"
    std::int32_t iRegPortDevice = 0;              // "ComportDevice"
    std::string sRegPort = "COM1";                // "Comport"
    std::string sRegFileDir;                      // "FileDir": the data folder
    std::string sRegFileExt = ".qel";             // block-file extension (not stored)
    std::string sRegTemplateFile;                 // "TemplateFile"
    std::string sRegTemplateExt = ".qse";         // template extension (not stored)
    std::string sQEL = "QEL";                     // prefix of logger names and proposed file names
    bool bRegShowTools = false;                   // "ShowTools"
    std::int32_t iRegLanguage = -1;               // "Language": 0 German, 1 English, 2 French, -1 by the user's language
    bool bRegMultipleInstances = false;           // "MultipleInstances"
    std::int32_t iRegTest = 0;                    // "Test"
    std::int32_t iRegIntern = 0;                  // "intern": internal mode when INTERN_MODE_CODE
    bool bRegCheckRange = true;                   // "CheckRange": range test of logger values
    std::string sRegValReportFirma = "QEL-Electronics"; // "ValReportFirma": company name for reports
    std::string sRegValAuditDir;                  // never set
    std::string sRegValUsersDir;                  // never set
    std::int32_t iRegValHint = 0;                 // "ReportHint": 0 is replaced when loading
    std::int32_t iRegLocDate = 0;                 // "LocDate": short-date format code
    std::int32_t iRegLocDecimalSeparator = 0;     // "LocDecimalSeparator": 1 decimal comma, else point
    std::int32_t iRegView = 0;                    // "View"
    std::string sRegCustom;                       // "CustomApp"
};

// This program's section "reader".
struct TRegReader {
    bool Report = false;                          // the main window shows its report view
    std::int32_t FileMode = 1;
    std::int32_t OutputMode = 2;
    bool MultipleQEL = false;                     // written back at exit
    bool QEL50ShowPD = false;
    bool ForceExtQEL = false;                     // shock-page test of the page decoders
};

// The section "Prototype".
struct TRegPrototype {
    std::int32_t VersionPC = -1;
    std::string SetupExe;
    std::string ReaderExe;
    std::string OnlineExe;
    std::string FormatExe;
};

constexpr std::int32_t INTERN_MODE_CODE = 8253;
inline const std::string READER_APP_NAME = "reader";

// Filled at start-up, then only read (from any thread, without locks).
extern TRegSettings RegSettings;
extern TRegReader RegReader;
extern TRegPrototype RegPrototype;

// Every record to its defaults; sRegValAuditDir, sRegValUsersDir and
// RegPrototype are left alone.
void SetDefaultSettings();

// Defaults, then the values stored under the settings key for AppName.
// Never fails: missing or unreadable values keep their defaults.
void LoadSettings(const std::string& AppName);

// Writes what belongs to AppName; for "reader" only "MultipleQEL" of the
// section "reader". The key and section are created when missing. Never fails.
void SaveSettings(const std::string& AppName);

// Dir when such a folder exists, else the default data folder (see
// GetDefaultDataDir).
std::string CheckDataDir(const std::string& Dir);
// "QEL/data/" in the user's documents folder, created; empty when it cannot be had.
std::string GetDefaultDataDir();
// Name when such a file exists, else the program file with sRegTemplateExt.
std::string CheckTemplateFile(const std::string& Name);

// The suite-wide key of the current user that start-up reads.
inline const std::string SUITE_KEY = "\\Software\\QEL-Electronics\\QEL-Pro";

// Start-up's settings: every record to its defaults, then the five suite
// values "FileDir", "Language" (1 gives German 0, anything else English 1),
// "intern", "LocDate" and "LocDecimalSeparator" of SUITE_KEY, then the data
// folder rule of CheckSuiteFileDir. Never fails.
void LoadSuiteSettings();
// Dir when such a folder exists, else GetSuiteDataDir().
std::string CheckSuiteFileDir(const std::string& Dir);
// "QEL-Pro/data/" in the user's documents folder, created; empty when it cannot be had.
std::string GetSuiteDataDir();

// Real numbers stored as texts by the suite's other programs: scientific
// notation with a period, whatever the locale.
std::string FloatToRegStr(double Value, const std::string& Default);
double RegStrToFloat(const std::string& Text, double Default);

} // namespace qel
