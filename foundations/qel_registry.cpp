// The settings registry class and the choice of the settings key.
#include "foundations/qel_registry.h"

#include "foundations/file_names.h"
#include "platform/ini_file.h"
#include "platform/known_folders.h"

namespace qel {

std::string RegBaseKey = DEFAULT_SETTINGS_KEY;

namespace {

// Whether the key exists below the current user's root or can be created there.
bool KeyAvailable(const std::string& Key)
{
    try {
        plat::TRegistry registry;
        registry.SetRootKey(plat::HKEY_CURRENT_USER);
        return registry.KeyExists(Key) || registry.CreateKey(Key);
    } catch (const std::exception&) {
        return false;
    }
}

std::string RedirectedKey(const std::string& IniFileName)
{
    try {
        plat::TIniFile ini(IniFileName);
        return PROTOTYPE_KEYS + ini.ReadString("Settings", "Key", "unknown");
    } catch (const std::exception&) {
        return std::string();
    }
}

} // namespace

void SelectPrototypeKey()
{
    RegBaseKey = DEFAULT_SETTINGS_KEY;
    const std::string iniFileName = AddBackslash(plat::ProgramFolder()) + REDIRECT_FILE_NAME;
    if (!FileExist(iniFileName)) {
        return;
    }
    const std::string key = RedirectedKey(iniFileName);
    if (!key.empty() && KeyAvailable(key)) {
        RegBaseKey = key;
    }
}

TQELRegistry::TQELRegistry()
{
    SetRootKey(plat::HKEY_CURRENT_USER);
}

void TQELRegistry::OpenKeyRead(const std::string& sKey)
{
    try {
        SetRootKey(plat::HKEY_CURRENT_USER);
        CloseKey();
        OpenKeyReadOnly(RegBaseKey + sKey);
    } catch (const std::exception&) {
    }
}

void TQELRegistry::OpenKeyWrite(const std::string& sKey)
{
    try {
        SetRootKey(plat::HKEY_CURRENT_USER);
        CloseKey();
        OpenKey(RegBaseKey + sKey, true);
    } catch (const std::exception&) {
    }
}

std::int32_t TQELRegistry::ReadI(const std::string& sValue, std::int32_t iDefContents)
{
    try {
        return KeyOpen() && ValueExists(sValue) ? ReadInteger(sValue) : iDefContents;
    } catch (const std::exception&) {
        return iDefContents;
    }
}

std::string TQELRegistry::ReadS(const std::string& sValue, const std::string& sDefContents)
{
    try {
        return KeyOpen() && ValueExists(sValue) ? ReadString(sValue) : sDefContents;
    } catch (const std::exception&) {
        return sDefContents;
    }
}

bool TQELRegistry::ReadB(const std::string& sValue, bool bDefContents)
{
    try {
        return KeyOpen() && ValueExists(sValue) ? ReadBool(sValue) : bDefContents;
    } catch (const std::exception&) {
        return bDefContents;
    }
}

void TQELRegistry::WriteI(const std::string& sValue, std::int32_t iContents)
{
    try {
        if (KeyOpen()) {
            WriteInteger(sValue, iContents);
        }
    } catch (const std::exception&) {
    }
}

void TQELRegistry::WriteS(const std::string& sValue, const std::string& sContents)
{
    try {
        if (KeyOpen()) {
            WriteString(sValue, sContents);
        }
    } catch (const std::exception&) {
    }
}

void TQELRegistry::WriteB(const std::string& sValue, bool bContents)
{
    try {
        if (KeyOpen()) {
            WriteBool(sValue, bContents);
        }
    } catch (const std::exception&) {
    }
}

void TQELRegistry::GetKeyNames(std::vector<std::string>& Strings)
{
    try {
        Strings = plat::TRegistry::GetKeyNames();
    } catch (const std::exception&) {
    }
}

void TQELRegistry::GetValueNames(std::vector<std::string>& Strings)
{
    try {
        Strings = plat::TRegistry::GetValueNames();
    } catch (const std::exception&) {
    }
}

bool TQELRegistry::KeyExists(const std::string& sKey)
{
    try {
        return plat::TRegistry::KeyExists(RegBaseKey + sKey);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace qel
