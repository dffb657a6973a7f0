// The program's command-line arguments, kept once at start-up so that any
// unit can ask for them by number.
#pragma once

#include <string>

namespace plat {

// Keeps the arguments of main(); argv[0] is not kept (ParamStr(0) is the program path).
void SetCommandLine(int argc, const char* const* argv);

// Number of arguments after the program name.
int ParamCount();

// Argument i (1 .. ParamCount()); 0 gives the program's full path; any other
// index an empty text.
std::string ParamStr(int index);

} // namespace plat
