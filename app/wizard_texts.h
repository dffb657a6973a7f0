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
    BufferFolderUnusable, // "%s": the buffer folder, which cannot hold the buffer files
};

std::string WizardText(TWizardText Text);
// The text with its "%s" replaced by Value.
std::string WizardText(TWizardText Text, const std::string& Value);

} // namespace qel
