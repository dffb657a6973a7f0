// The wizard's own messages that the language table does not hold, in the
// language the start-up chose (German or English).
#pragma once

#include <string>

namespace qel {

enum class TWizardText {
    NotACardFile,       // a chosen container that is no regular file
    NoSamplesRead,      // a data read that decoded no sample
    FolderNotWritable,  // the chosen output file cannot be written there
    NoFileWritten,      // a save that ended without naming a file
};

std::string WizardText(TWizardText Text);

} // namespace qel
