// Where the program finds the user's folders and its own file: documents,
// configuration and runtime folders (XDG rules), the program path and sysfs.
#pragma once

#include <string>

namespace plat {

// Folder paths are absolute and carry no trailing "/". An empty answer means
// the folder cannot be found or made.

// The user's documents folder, created (with its parents) when missing:
// XDG_DOCUMENTS_DIR from the environment, else from user-dirs.dirs in the
// configuration root, else ~/Documents.
std::string DocumentsFolder();

// The user's home folder: $HOME, else the password database.
std::string HomeFolder();

// Per-user configuration root: $XDG_CONFIG_HOME when absolute, else ~/.config.
// Not created here.
std::string ConfigRoot();

// Per-user runtime folder: $XDG_RUNTIME_DIR when absolute, else
// /tmp/<uid>-qel, created private to the user; empty when that folder exists
// but is not a private folder of this user.
std::string RuntimeFolder();

// Full path of the running program file (/proc/self/exe), and its folder.
std::string ProgramPath();
std::string ProgramFolder();

// Root of the kernel's device tree ("/sys"), read for the serial-port list,
// and the folder of the device files ("/dev") the port names point into.
std::string SysfsRoot();
std::string DeviceFolder();

// Overrides for tests: each replaces the rule above by a fixed path (the
// documents folder is still created when missing); an empty path restores
// the rule.
void SetDocumentsFolder(const std::string& path);
void SetConfigRoot(const std::string& path);
void SetRuntimeFolder(const std::string& path);
void SetProgramPath(const std::string& path);
void SetSysfsRoot(const std::string& path);
void SetDeviceFolder(const std::string& path);

} // namespace plat
