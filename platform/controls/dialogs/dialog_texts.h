// The texts the standard dialogs show besides the message box captions of
// standard_texts.h, replaceable by the language switch like any program text.
#pragma once

#include "platform/resource_strings.h"

namespace plat {

inline constinit const TResString SFileExistsReplace{"%s already exists.\nDo you want to replace it?"};
inline constinit const TResString SFolderDoesNotExist{"The folder %s does not exist.\nCheck the name and try again."};
inline constinit const TResString SFileDoesNotExist{"%s\nFile not found.\nCheck the file name and try again."};

} // namespace plat
