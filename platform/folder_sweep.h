// Removing what earlier runs left in a folder: the regular files whose names
// a rule picks. Used at start-up for files whose names say who made them.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace plat {

// Removes every regular file directly in Folder whose name (without the
// folder) Picks; sub-folders, links and other kinds of file stay. Answers
// how many went. A missing folder and a file that cannot go are no error.
int RemoveFilesWhere(const std::string& Folder, const std::function<bool(const std::string& Name)>& Picks);

// True when Text is one or more ASCII digits (the numbers in such names).
bool AllDigits(std::string_view Text);

} // namespace plat
