// The spill files of freed sample buffers leave on a thread of their own:
// each file is first renamed out of the way (at once, so that a new buffer
// may take its name), then removed in the background, so that freeing the
// buffers of a large read does not hold up the window.
#pragma once

#include <string>

namespace qel {

// Renames FileName beside itself and has the renamed file removed in the
// background; removes it at once where it cannot be renamed. A missing file
// is no error.
void DisposeSpillFile(const std::string& FileName);

// Returns once every file handed over so far is removed.
void FlushSpillFileDisposal();

} // namespace qel
