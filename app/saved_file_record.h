// The saved-file record of the switch "f:": a text file, created anew at
// start-up, that gets one line per file the program writes. Lines are UTF-8
// and end with CR LF, so every file name reads back byte for byte.
#pragma once

#include <string>

namespace qel {

class TSavedFileRecord {
public:
    TSavedFileRecord() = default;
    ~TSavedFileRecord() { Close(); }
    TSavedFileRecord(const TSavedFileRecord&) = delete;
    TSavedFileRecord& operator=(const TSavedFileRecord&) = delete;

    // Closes the record, then creates FileName anew (an existing file is
    // emptied). Anything but a regular file or a new one (a folder, a pipe,
    // a device), a missing folder or a file that cannot be written leaves
    // the record closed, silently.
    void Open(const std::string& FileName);
    // Text and CR LF, written through at once; nothing while closed.
    void WriteLine(const std::string& Text);
    void Close();
    bool Active() const { return FFile >= 0; }

private:
    int FFile = -1;   // the open file, -1 while closed
};

} // namespace qel
