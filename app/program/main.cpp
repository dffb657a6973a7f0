// The program's entry: it keeps the command line and chooses the back end
// by the environment. QEL_HOST=headless runs the program on the headless
// back end, driven by the script QEL_SCRIPT names and recorded as JSON in
// the file QEL_RUN_RECORD names; otherwise the program opens its window on
// the X display of DISPLAY.
#include "app/program/window_session.h"
#include "app/scripted_run/run_script.h"
#include "app/scripted_run/scripted_session.h"
#include "app/start_up.h"
#include "platform/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Environment(const char* Name)
{
    const char* value = std::getenv(Name);
    return value != nullptr ? value : "";
}

int RunHeadless()
{
    std::vector<qel::TScriptStep> steps;
    const std::string script = Environment("QEL_SCRIPT");
    try {
        if (!script.empty()) {
            steps = qel::LoadRunScript(script);
        }
    } catch (const qel::EScriptError& error) {
        std::fprintf(stderr, "qelreader: %s: %s\n", script.c_str(), error.what());
        return 2;
    }
    qel::TScriptedSession session(std::move(steps), Environment("QEL_RUN_RECORD"));
    return qel::RunProgram(session);
}

} // namespace

int main(int argc, char** argv)
{
    plat::SetCommandLine(argc, argv);
    const std::string host = Environment("QEL_HOST");
    if (host == "headless") {
        return RunHeadless();
    }
    if (!host.empty() && host != "gtk") {
        std::fprintf(stderr, "qelreader: QEL_HOST is \"%s\"; it may be headless or gtk\n", host.c_str());
        return 1;
    }
    if (Environment("DISPLAY").empty()) {
        std::fputs("qelreader: no display to open the window on (DISPLAY is not set; QEL_HOST=headless runs "
                   "without one)\n",
                   stderr);
        return 1;
    }
    qel::TWindowSession session(argc, argv);
    return qel::RunProgram(session);
}
