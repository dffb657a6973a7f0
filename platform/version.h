// The program file's version (major, minor, release, build kind), taken from
// the build's constants in place of a version resource.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

struct TFileVersion {
    std::uint16_t Major = 0;
    std::uint16_t Minor = 0;
    std::uint16_t Release = 0;
    std::uint16_t Build = 0;     // build kind: 1 debug, 2 release, other values neither
    bool bPresent = false;       // false: the file has no version information (all fields 0)
};

// The running program's version.
TFileVersion GetProgramFileVersion();

// The version information of a file: the program's own version for the
// running program's file (ProgramPath()), none for any other file.
TFileVersion GetFileVersion(const std::string& fileName);

} // namespace plat
