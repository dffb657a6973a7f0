// The registry class of the suite settings: keys below one settings key of
// the current user, typed reads with a default, writes that never raise; and
// the choice of that settings key (the optional "qel_reg.ini" redirect).
#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qel {

inline const std::string DEFAULT_SETTINGS_KEY = "\\Software\\Torvandix\\QEL";
inline const std::string PROTOTYPE_KEYS = "\\Software\\Torvandix\\QEL_Prototypes\\";
inline const std::string REDIRECT_FILE_NAME = "qel_reg.ini";

// The settings key below the current user's root, with a leading backslash.
extern std::string RegBaseKey;

// RegBaseKey := the default key, or, when "qel_reg.ini" lies in the program's
// folder, PROTOTYPE_KEYS + its value "Key" of section "Settings" ("unknown"
// when missing), provided that key exists or can be created.
void SelectPrototypeKey();

// Never raises: reads give their default for a missing key or value, a value
// of another type or any failure; failed writes are ignored. Reads and writes
// act on the open key however it was opened, and on nothing when no key is
// open (a failed open never falls back to the root).
class TQELRegistry : public plat::TRegistry {
public:
    TQELRegistry();

    // Opens RegBaseKey + sKey (an empty sKey: RegBaseKey itself) of the
    // current user for reading only.
    void OpenKeyRead(const std::string& sKey);
    // Opens RegBaseKey + sKey for reading and writing, creating it and its parents.
    void OpenKeyWrite(const std::string& sKey);

    std::int32_t ReadI(const std::string& sValue, std::int32_t iDefContents);
    std::string ReadS(const std::string& sValue, const std::string& sDefContents);
    // True for any integer but 0.
    bool ReadB(const std::string& sValue, bool bDefContents);

    void WriteI(const std::string& sValue, std::int32_t iContents);
    void WriteS(const std::string& sValue, const std::string& sContents);
    // An integer value 1 or 0.
    void WriteB(const std::string& sValue, bool bContents);

    void GetKeyNames(std::vector<std::string>& Strings);
    void GetValueNames(std::vector<std::string>& Strings);
    // Whether RegBaseKey + sKey exists.
    bool KeyExists(const std::string& sKey);
};

} // namespace qel
