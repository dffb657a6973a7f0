// The buffer folder, where the sample buffers spill their chunks: set once at
// start-up below the user's documents folder, and the spill-file names in it.
#pragma once

#include <cstdint>
#include <string>

namespace qel {

// Sets the buffer folder (GetTempFolder) and answers whether its first spill
// file can be created there; that file is created empty and left in place.
// Any failure answers False: the program then ends at start-up.
bool InitTempFolder();

// The documents folder + "QEL/temp/" + the program file's name, with a
// trailing delimiter, created when missing; empty when there is no documents
// folder or the folder cannot be made (spill files then go to the current folder).
std::string GetTempFolder();

// The buffer folder set by InitTempFolder; empty before it and after
// ClearTempFolder, which returns once every freed buffer's file is removed.
std::string BufferFolder();
void ClearTempFolder();

// Buffer folder + "F" + number in decimal + ".mst"; the number is the
// buffer's full index in its list, so no two buffers of a list share a file.
std::string SpillFileName(std::uint32_t number);

// Removes the spill files an earlier run left in Folder (a run that was
// killed): "F<number>.mst", and "F<number>.mst.<number>.gone" of files it
// was removing; nothing else there. Answers how many went.
int RemoveLeftSpillFiles(const std::string& Folder);

} // namespace qel
