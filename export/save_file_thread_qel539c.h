// Block-file saver of the QEL539c loggers (model code 0x6615): the logger's
// own channels and its radio modules' channels, named by module where known.
#pragma once

#include "export/save_file_thread.h"

#include <string>

namespace qel {

// Blocks 20, 1, 2, 3, 13, 5, 25, 15, 6, 7, 26 (layout 3: the channel serial
// number and ID that the radio-module buffers carry), then stored rows.
//
// Block 3 names a radio channel by its module ("SM-" and the module's serial
// number), any other channel by the settings' prefix and the logger's serial
// number. The optional logger-name file beside the program (its name with
// ".txt") may give such a name a display text in its section "loggers":
// "SM-1234=Boiler room" makes the entry "Boiler room [SM-1234]"; names are
// compared without regard to letter case.
class TSaveFileThreadQEL539c : public TSaveFileThread {
public:
    static const TSaveFileThreadClassInfo ClassInfo;
    using TSaveFileThread::TSaveFileThread;

protected:
    void WriteHeader(std::int64_t FirstTime) override;
    bool WriteData(std::int64_t FirstTime) override;
};

// The logger-name file of the running program: its path with ".txt" in
// place of its extension.
std::string LoggerNameFileName();

} // namespace qel
