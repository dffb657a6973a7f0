// The one place where the program opens dialogs: save dialogs per output
// format, open dialogs of the suite's file types, message boxes, folder
// browsers and the colour dialog, through the platform's dialog service.
// Every dialog leaves the mouse pointer where it stood before it opened.
#pragma once

#include "platform/dialogs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qel {

// Options of an open dialog beyond the fixed ones (path must exist, resizable).
struct TOpenOptions {
    bool FileMustExist = true;
    bool AllowMultiSelect = false;
};

// A screen point.
struct TQelPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
};

class TQelDlg {
public:
    // The pointer's place when the last dialog opened; it goes back there
    // when the dialog has closed.
    TQelPoint MousePos;

    // Save dialogs of the output formats: sInFile is the proposed full name
    // (only its folder when bOnlyDir); true when the user confirmed. sOutFile
    // receives the dialog's file name, also when cancelled.
    bool SaveQelFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile);
    bool SaveQShockFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile);
    bool SaveMatlabFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile);
    bool SaveQRecFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile);
    bool SaveTemplateFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile);
    bool SaveBinaryFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile);
    bool SaveBinaryTimeFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile);
    bool SaveBmpFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile);
    bool SaveJpgFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile);
    bool SaveCsvFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile);

    // The common save dialog: starts in the folder of sInFile, proposes its
    // name (none when bOnlyDir, or when the name is only an extension), asks
    // before overwriting and adds sDefExt to a name typed without extension.
    bool SaveFile(const std::string& sTitle, const std::string& sInFile, const std::string& sDefExt,
                  const std::string& sFilter, bool bOnlyDir, std::string& sFile);

    // A modal message box; the result is the modal result of the button pressed.
    plat::TModalResult ShowMsgBox(const std::string& Msg, plat::TMsgDlgType DlgType, plat::TMsgDlgButtons Buttons,
                                  plat::TMsgDlgBtn DefaultButton);
    // With the one button OK.
    void ShowMsg(const std::string& Msg, plat::TMsgDlgType DlgType);
    void ShowErrMsg(const std::string& Msg);

    // The common open dialog, starting in the folder of sInDir.
    bool OpenFile(const std::string& sTitle, const std::string& sInDir, const std::string& sDefExt,
                  const std::string& sFilter, TOpenOptions oOptions, std::string& sFile);
    bool OpenQelFile(const std::string& sInDir, std::string& sOutFile, bool showQShock, bool showQREC);
    bool OpenTemplateFile(const std::string& sInDir, std::string& sOutFile);
    // Appends every chosen file to sOutFile.
    bool OpenMultipleQelFile(const std::string& sInDir, std::vector<std::string>& sOutFile, bool showQShock);
    // An open dialog that accepts a new name; a new file is created empty.
    bool CreateTemplateFile(const std::string& sInDir, std::string& sOutFile);

    // Folder browsers, in the middle of the screen with every other window
    // of the program disabled. Confirmed: sOut is the chosen folder with a
    // path delimiter at its end; cancelled: false and sOut empty.
    // No text above the folders, starting at sIn.
    bool SelectDir(const std::string& sIn, std::string& sOut);
    // sCaption above the folders, rooted at and starting in sIn, with the
    // new-folder button.
    bool SelectDir(const std::string& sCaption, const std::string& sIn, std::string& sOut);
    // Caption above the folders; rooted at StartFolder when one is given;
    // an edit box, the files and the new-folder button as asked. sTitle and
    // Root are not shown.
    bool SelectDirectory(const std::string& sTitle, const std::string& Caption, const std::string& Root,
                         const std::string& StartFolder, std::string& sOut, bool EditBox, bool ShowFiles,
                         bool AllowCreateDirs);
    // The colour dialog starting at InColor, which is also its first custom
    // colour; OutColor is the colour chosen, InColor when cancelled.
    bool SelectColor(std::uint32_t InColor, std::uint32_t& OutColor);

private:
    // A folder browser; sOut as the public browsers give it.
    bool SelectFolder(const plat::TFolderDialogOptions& Options, std::string& sOut);
    plat::TFileDialogResult ShowOpen(const std::string& sTitle, const std::string& sInDir, const std::string& sDefExt,
                                     const std::string& sFilter, TOpenOptions oOptions);
};

extern TQelDlg QelDlg;

// Filters of the open dialogs.
std::string QelFileFilter();
std::string TemplateFileFilter();

} // namespace qel
