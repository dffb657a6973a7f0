// Storage of the command-line arguments; set on the user-interface thread at
// start-up, read from any thread afterwards.
#include "platform/command_line.h"

#include "platform/known_folders.h"

#include <mutex>
#include <vector>

namespace plat {

namespace {

std::mutex ArgumentsMutex;
std::vector<std::string> Arguments;   // the arguments after the program name

} // namespace

void SetCommandLine(int argc, const char* const* argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
    }
    const std::lock_guard lock(ArgumentsMutex);
    Arguments = std::move(arguments);
}

int ParamCount()
{
    const std::lock_guard lock(ArgumentsMutex);
    return static_cast<int>(Arguments.size());
}

std::string ParamStr(int index)
{
    if (index == 0) {
        return ProgramPath();
    }
    const std::lock_guard lock(ArgumentsMutex);
    if (index < 0 || index > static_cast<int>(Arguments.size())) {
        return {};
    }
    return Arguments[static_cast<std::size_t>(index - 1)];
}

} // namespace plat
