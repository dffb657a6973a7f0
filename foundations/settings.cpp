// Defaults, load and save of the suite settings records.
#include "foundations/settings.h"

#include "foundations/file_names.h"
#include "foundations/language_switch.h"
#include "foundations/qel_registry.h"
#include "platform/known_folders.h"
#include "platform/locale.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace qel {

TRegSettings RegSettings;
TRegReader RegReader;
TRegPrototype RegPrototype;

namespace {

const std::string PROTOTYPE_SECTION = "\\Prototype";
const std::string READER_SECTION = "\\reader";

// Report hint of a user in India, and of everyone else.
constexpr std::int32_t REPORT_HINT_INDIA = 2;
constexpr std::int32_t REPORT_HINT_OTHER = 1;

// The two-letter country of a locale name such as "hi_IN.UTF-8".
std::string CountryOf(const std::string& LocaleName)
{
    const std::size_t start = LocaleName.find('_');
    if (start == std::string::npos) {
        return std::string();
    }
    const std::size_t end = LocaleName.find_first_of(".@", start);
    return LocaleName.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
}

bool UserInIndia()
{
    const std::string country = CountryOf(plat::CurrentLocaleProvider().UserDefaultLocale().Name);
    return country.size() == 2 && (country[0] == 'I' || country[0] == 'i') && (country[1] == 'N' || country[1] == 'n');
}

void ReadCommonValues(TQELRegistry& Registry)
{
    TRegSettings& s = RegSettings;
    s.iRegPortSearch = Registry.ReadI("ComportSearch", s.iRegPortSearch);
    s.iRegPortDevice = Registry.ReadI("ComportDevice", s.iRegPortDevice);
    s.sRegPort = Registry.ReadS("Comport", s.sRegPort);
    s.sRegFileDir = Registry.ReadS("FileDir", s.sRegFileDir);
    s.sRegTemplateFile = Registry.ReadS("TemplateFile", s.sRegTemplateFile);
    s.bRegShowTools = Registry.ReadB("ShowTools", s.bRegShowTools);
    s.iRegLanguage = Registry.ReadI("Language", s.iRegLanguage);
    s.bRegMultipleInstances = Registry.ReadB("MultipleInstances", s.bRegMultipleInstances);
    s.iRegTest = Registry.ReadI("Test", s.iRegTest);
    s.iRegIntern = Registry.ReadI("intern", s.iRegIntern);
    s.bRegCheckRange = Registry.ReadB("CheckRange", s.bRegCheckRange);
    s.sRegValReportFirma = Registry.ReadS("ValReportFirma", s.sRegValReportFirma);
    s.iRegValHint = Registry.ReadI("ReportHint", s.iRegValHint);
    if (s.iRegValHint == 0) {
        s.iRegValHint = UserInIndia() ? REPORT_HINT_INDIA : REPORT_HINT_OTHER;
    }
    s.iRegLocDate = Registry.ReadI("LocDate", s.iRegLocDate);
    s.iRegLocDecimalSeparator = Registry.ReadI("LocDecimalSeparator", s.iRegLocDecimalSeparator);
    s.iRegView = Registry.ReadI("View", s.iRegView);
    s.sRegCustom = Registry.ReadS("CustomApp", s.sRegCustom);
}

void ReadPrototypeValues(TQELRegistry& Registry)
{
    RegPrototype.VersionPC = Registry.ReadI("VersionPC", -1);
    RegPrototype.SetupExe = Registry.ReadS("SetupExe", "");
    RegPrototype.ReaderExe = Registry.ReadS("ReaderExe", "");
    RegPrototype.OnlineExe = Registry.ReadS("OnlineExe", "");
    RegPrototype.FormatExe = Registry.ReadS("FormatExe", "");
}

void ReadReaderValues(TQELRegistry& Registry)
{
    TRegReader& r = RegReader;
    r.Report = Registry.ReadB("Report", r.Report);
    r.FileMode = Registry.ReadI("FileMode", r.FileMode);
    r.OutputMode = Registry.ReadI("OutputMode", r.OutputMode);
    r.MultipleQEL = Registry.ReadB("MultipleQEL", r.MultipleQEL);
    r.QEL50ShowPD = Registry.ReadB("QEL50ShowPD", r.QEL50ShowPD);
    r.ForceExtQEL = Registry.ReadB("ForceExtQEL", r.ForceExtQEL);
}

void LoadFromRegistry(const std::string& AppName)
{
    TQELRegistry registry;
    registry.OpenKeyRead("");
    ReadCommonValues(registry);
    registry.CloseKey();
    registry.OpenKeyRead(PROTOTYPE_SECTION);
    ReadPrototypeValues(registry);
    registry.CloseKey();
    if (AppName == READER_APP_NAME) {
        registry.OpenKeyRead(READER_SECTION);
        ReadReaderValues(registry);
        registry.CloseKey();
    }
}

// A folder of the user's documents folder with its trailing delimiter,
// created when missing; empty when it cannot be had.
std::string DocumentsSubFolder(const std::string& SubFolder)
{
    try {
        const std::string documents = plat::DocumentsFolder();
        if (documents.empty()) {
            return std::string();
        }
        const std::string folder = AddBackslash(documents) + SubFolder;
        return ForceDir(folder) ? AddBackslash(folder) : std::string();
    } catch (const std::exception&) {
        return std::string();
    }
}

} // namespace

void SetDefaultSettings()
{
    TRegSettings defaults;
    defaults.sRegValAuditDir = RegSettings.sRegValAuditDir;
    defaults.sRegValUsersDir = RegSettings.sRegValUsersDir;
    RegSettings = defaults;
    RegReader = TRegReader{};
}

void LoadSettings(const std::string& AppName)
{
    SetDefaultSettings();
    try {
        LoadFromRegistry(AppName);
    } catch (const std::exception&) {
    }
    RegSettings.sRegFileDir = CheckDataDir(RegSettings.sRegFileDir);
    RegSettings.sRegTemplateFile = CheckTemplateFile(RegSettings.sRegTemplateFile);
}

void SaveSettings(const std::string& AppName)
{
    try {
        TQELRegistry registry;
        registry.OpenKeyWrite("");
        registry.CloseKey();
        if (AppName == READER_APP_NAME) {
            registry.OpenKeyWrite(READER_SECTION);
            registry.WriteB("MultipleQEL", RegReader.MultipleQEL);
            registry.CloseKey();
        }
    } catch (const std::exception&) {
    }
}

std::string CheckDataDir(const std::string& Dir)
{
    return DirExist(Dir) ? Dir : GetDefaultDataDir();
}

std::string GetDefaultDataDir()
{
    return DocumentsSubFolder("QEL/data");
}

void LoadSuiteSettings()
{
    SetDefaultSettings();
    RegSettings.iRegLanguage = LANGUAGE_ENGLISH;
    try {
        TQELRegistry registry;
        if (registry.OpenKeyReadOnly(SUITE_KEY)) {
            RegSettings.sRegFileDir = registry.ReadS("FileDir", RegSettings.sRegFileDir);
            if (registry.ReadI("Language", 0) == 1) {
                RegSettings.iRegLanguage = LANGUAGE_GERMAN;
            }
            RegSettings.iRegIntern = registry.ReadI("intern", RegSettings.iRegIntern);
            RegSettings.iRegLocDate = registry.ReadI("LocDate", RegSettings.iRegLocDate);
            RegSettings.iRegLocDecimalSeparator =
                registry.ReadI("LocDecimalSeparator", RegSettings.iRegLocDecimalSeparator);
        }
    } catch (const std::exception&) {
    }
    RegSettings.sRegFileDir = CheckSuiteFileDir(RegSettings.sRegFileDir);
}

std::string CheckSuiteFileDir(const std::string& Dir)
{
    return DirExist(Dir) ? Dir : GetSuiteDataDir();
}

std::string GetSuiteDataDir()
{
    return DocumentsSubFolder("QEL-Pro/data");
}

std::string CheckTemplateFile(const std::string& Name)
{
    return FileExist(Name) ? Name : ReplaceFileExt(plat::ProgramPath(), RegSettings.sRegTemplateExt);
}

std::string FloatToRegStr(double Value, const std::string& Default)
{
    if (!std::isfinite(Value)) {
        return Default;
    }
    // " 1.50000000000000E+0000": a sign place, 15 digits, a four-digit exponent.
    char mantissa[32];
    std::snprintf(mantissa, sizeof mantissa, "%.14E", Value);
    std::string text = mantissa;
    const std::size_t e = text.find('E');
    const int exponent = std::stoi(text.substr(e + 1));
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
    text = text.substr(0, e) + tail;
    return Value < 0 || std::signbit(Value) ? text : " " + text;
}

double RegStrToFloat(const std::string& Text, double Default)
{
    std::size_t start = Text.find_first_not_of(' ');
    if (start == std::string::npos) {
        return Default;
    }
    if (Text[start] == '+') {
        ++start;
        if (start < Text.size() && Text[start] == '-') {
            return Default;
        }
    }
    const char* first = Text.data() + start;
    const char* last = Text.data() + Text.size();
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(value)) {
        return Default;
    }
    return value;
}

} // namespace qel
