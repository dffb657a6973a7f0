// What an earlier run of the program left behind when it was killed (at
// logout, by a crash, by a lost display): the spill files in its buffer
// folder and the temporary files of a save it had not finished.
#pragma once

namespace qel {

// Removes the spill files in the program's own buffer folder and the
// abandoned temporary files of saves in the data folder. Runs at start-up
// once the single-instance guard holds, so no other run of the program
// can still be using them.
void RemoveFilesOfEarlierRuns();

} // namespace qel
