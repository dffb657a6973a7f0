// Version text, command-line switches and system version.
#include "foundations/win_tools.h"

#include "platform/command_line.h"
#include "platform/messages.h"
#include "platform/single_instance.h"
#include "platform/version.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace qel {
namespace {

constexpr std::size_t MAX_PARAM_CHARS = 1000;

// The guard this process holds; null when it holds none.
std::unique_ptr<plat::TSingleInstance> InstanceGuard;

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithNoCase(const std::string& Text, const std::string& Prefix)
{
    if (Text.size() < Prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < Prefix.size(); ++i) {
        if (AsciiUpper(Text[i]) != AsciiUpper(Prefix[i])) {
            return false;
        }
    }
    return true;
}

// The first Count characters of UTF-8 text, never cutting a character.
std::string FirstChars(const std::string& Text, std::size_t Count)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const bool startsChar = (static_cast<unsigned char>(Text[i]) & 0xC0) != 0x80;
        if (startsChar && chars++ == Count) {
            return Text.substr(0, i);
        }
    }
    return Text;
}

} // namespace

void GetFileVersion(const std::string& FileName, std::uint16_t& Major, std::uint16_t& Minor,
                    std::uint16_t& Release, std::uint16_t& Build)
{
    const plat::TFileVersion version = plat::GetFileVersion(FileName);
    Major = version.bPresent ? version.Major : 0;
    Minor = version.bPresent ? version.Minor : 0;
    Release = version.bPresent ? version.Release : 0;
    Build = version.bPresent ? version.Build : 0;
}

std::string FormatFileVersion(std::uint16_t Major, std::uint16_t Minor, std::uint16_t Release, std::uint16_t Build)
{
    char text[40];
    const char kind = Build == 1 ? 'd' : Build == 2 ? 'r' : 'v';
    std::snprintf(text, sizeof text, "%c%u.%02u.%02u", kind, static_cast<unsigned>(Major),
                  static_cast<unsigned>(Minor), static_cast<unsigned>(Release));
    return text;
}

std::string GetFileVersionStr(const std::string& FileName)
{
    std::uint16_t major, minor, release, build;
    GetFileVersion(FileName, major, minor, release, build);
    return FormatFileVersion(major, minor, release, build);
}

bool ClaimSingleInstance(const std::string& Name)
{
    auto guard = std::make_unique<plat::TSingleInstance>(
        Name, plat::RegisterWindowMessage(ACTIVATE_INSTANCE_MESSAGE_NAME));
    if (!guard->IsFirst()) {
        return false;
    }
    InstanceGuard = std::move(guard);
    return true;
}

void ReleaseSingleInstance()
{
    InstanceGuard.reset();
}

void CheckSingleInstance(const std::string& Name)
{
    if (!ClaimSingleInstance(Name)) {
        std::exit(0);
    }
}

std::string GetParamValue(const std::string& Key, const std::string& Default)
{
    for (int i = 1; i <= plat::ParamCount(); ++i) {
        const std::string argument = plat::ParamStr(i);
        if (argument.size() > Key.size() && StartsWithNoCase(argument, Key)) {
            return FirstChars(argument.substr(Key.size()), MAX_PARAM_CHARS);
        }
    }
    return Default;
}

std::int32_t GetWinVersion()
{
    return 0;
}

} // namespace qel
