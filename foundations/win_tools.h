// Operating-system services of start-up and the writers: the program file's
// version text, command-line switches, the single-instance guard and the
// system version code.
#pragma once

#include <cstdint>
#include <string>

namespace qel {

// All four 0 when the file has no version information.
void GetFileVersion(const std::string& FileName, std::uint16_t& Major, std::uint16_t& Minor,
                    std::uint16_t& Release, std::uint16_t& Build);

// "d" (build 1), "r" (build 2) or "v", then major, ".", minor and ".",
// release, minor and release with at least two digits: r6.11.01.
std::string FormatFileVersion(std::uint16_t Major, std::uint16_t Minor, std::uint16_t Release, std::uint16_t Build);
// The version text of a file; v0.00.00 for a file without version information.
std::string GetFileVersionStr(const std::string& FileName);

// The registered message that the first instance's top-level window whose
// caption is the guard's name receives when a second start asks it to come
// to the front; the window then brings itself to the front.
inline const std::string ACTIVATE_INSTANCE_MESSAGE_NAME = "QEL.KORVEL.ACTIVATE-INSTANCE";

// Claims the single-instance guard Name for this process. False when another
// process of this user holds it: that one has then been asked to come to the
// front. The guard is held until ReleaseSingleInstance or the process ends.
bool ClaimSingleInstance(const std::string& Name);
void ReleaseSingleInstance();
// ClaimSingleInstance, and the end of this process (exit code 0, no
// message) when another instance holds the name.
void CheckSingleInstance(const std::string& Name);

// The rest (at most 1000 characters) of the first argument after the program
// name that is longer than Key and starts with Key, ASCII letters compared
// without case; Default when none matches.
std::string GetParamValue(const std::string& Key, const std::string& Default);

// The system version code of the classic table; every system that is not one
// of the old Windows versions, Linux included, is 0.
std::int32_t GetWinVersion();

} // namespace qel
