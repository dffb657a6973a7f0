// Save and open dialogs with their filters, message boxes, folder browsers
// and the colour dialog, each leaving the pointer where it was.
#include "foundations/qel_dialogs.h"

#include "foundations/file_names.h"
#include "foundations/language_table.h"
#include "foundations/settings.h"
#include "platform/resource_strings.h"

#include <fcntl.h>
#include <unistd.h>

namespace qel {

TQelDlg QelDlg;

namespace {

// Saves the pointer's place in MousePos while a dialog opens and puts the
// pointer back there when it has closed.
class TPointerKeeper {
public:
    explicit TPointerKeeper(TQelPoint& MousePos) : FMousePos(MousePos)
    {
        int x = 0;
        int y = 0;
        FKnown = plat::CurrentDialogs().GetPointerPos(x, y);
        if (FKnown) {
            FMousePos = TQelPoint{x, y};
        }
    }
    ~TPointerKeeper()
    {
        if (FKnown) {
            plat::CurrentDialogs().SetPointerPos(FMousePos.X, FMousePos.Y);
        }
    }
    TPointerKeeper(const TPointerKeeper&) = delete;
    TPointerKeeper& operator=(const TPointerKeeper&) = delete;

private:
    TQelPoint& FMousePos;
    bool FKnown = false;
};

// "<text> (*<ext>)|*<ext>"
std::string FilterOf(const std::string& Text, const std::string& Ext)
{
    return Text + " (*" + Ext + ")|*" + Ext;
}

std::string WithoutDot(const std::string& Ext)
{
    return !Ext.empty() && Ext.front() == '.' ? Ext.substr(1) : Ext;
}

// Creates a missing file empty; false when it cannot be created.
bool CreateEmptyFile(const std::string& FileName)
{
    const int fd = ::open(FileName.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

std::string WithFileName(const std::string& Text, const std::string& FileName)
{
    std::string result = Text;
    const std::size_t mark = result.find("%s");
    if (mark != std::string::npos) {
        result.replace(mark, 2, FileName);
    }
    return result;
}

// The block-file filter with the optional shock and QEL619 entries.
std::string OpenQelFilter(bool showQShock)
{
    std::string filter = QelFileFilter();
    if (showQShock) {
        filter += "|QEL649   (*.qshock)|*.qshock|QEL619   (*.q619)|*.q619";
    }
    return filter;
}

} // namespace

std::string QelFileFilter()
{
    return FilterOf(plat::LoadResString(&SQelFile), RegSettings.sRegFileExt);
}

std::string TemplateFileFilter()
{
    return FilterOf(plat::LoadResString(&SQelTemplate), RegSettings.sRegTemplateExt);
}

bool TQelDlg::SaveQelFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile)
{
    return SaveFile("", sInFile, RegSettings.sRegFileExt, QelFileFilter(), bOnlyDir, sOutFile);
}

bool TQelDlg::SaveQShockFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile)
{
    return SaveFile("", sInFile, ".qshock", FilterOf(plat::LoadResString(&SQelFile), ".qshock"), bOnlyDir, sOutFile);
}

bool TQelDlg::SaveMatlabFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile)
{
    return SaveFile("", sInFile, ".mat", "MATLAB (*.mat)|*.mat", bOnlyDir, sOutFile);
}

bool TQelDlg::SaveQRecFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile)
{
    return SaveFile("", sInFile, ".qrec", "QEL-Pro file (*.qrec)|*.qrec", bOnlyDir, sOutFile);
}

bool TQelDlg::SaveTemplateFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile)
{
    return SaveFile("", sInFile, RegSettings.sRegTemplateExt, TemplateFileFilter(), bOnlyDir, sOutFile);
}

bool TQelDlg::SaveBinaryFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile)
{
    return SaveFile("", sInFile, ".bin", "QEL Binary file (*.bin)|*.bin", bOnlyDir, sOutFile);
}

bool TQelDlg::SaveBinaryTimeFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile)
{
    return SaveFile("", sInFile, ".bin2", "QEL Binary2 file with time mark (*.bin2)|*.bin2", bOnlyDir, sOutFile);
}

bool TQelDlg::SaveBmpFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile)
{
    return SaveFile("", sInFile, ".bmp", "Bitmap (*.bmp)|*.bmp", bOnlyDir, sOutFile);
}

bool TQelDlg::SaveJpgFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile)
{
    return SaveFile("", sInFile, ".jpg", "JEPG (*.jpg)|*.jpg", bOnlyDir, sOutFile);
}

bool TQelDlg::SaveCsvFile(const std::string& sInFile, bool bOnlyDir, std::string& sOutFile)
{
    return SaveFile("", sInFile, ".csv", "Text (*.csv)|*.csv", bOnlyDir, sOutFile);
}

bool TQelDlg::SaveFile(const std::string& sTitle, const std::string& sInFile, const std::string& sDefExt,
                       const std::string& sFilter, bool bOnlyDir, std::string& sFile)
{
    plat::TFileDialogOptions options;
    options.Title = sTitle;
    options.DefaultExt = WithoutDot(sDefExt);
    options.Filter = sFilter;
    options.InitialDir = GetFileDir(sInFile);
    if (!bOnlyDir && GetFileName(sInFile) != GetFileExt(sInFile)) {
        options.FileName = GetFileName(sInFile);
    }
    options.OverwritePrompt = true;
    options.PathMustExist = true;
    const TPointerKeeper pointer(MousePos);
    const plat::TFileDialogResult result = plat::CurrentDialogs().SaveFileDialog(options);
    sFile = result.FileName;
    return result.Confirmed;
}

plat::TModalResult TQelDlg::ShowMsgBox(const std::string& Msg, plat::TMsgDlgType DlgType,
                                       plat::TMsgDlgButtons Buttons, plat::TMsgDlgBtn DefaultButton)
{
    const TPointerKeeper pointer(MousePos);
    return plat::CurrentDialogs().MessageBox(Msg, "", DlgType, Buttons, DefaultButton);
}

void TQelDlg::ShowMsg(const std::string& Msg, plat::TMsgDlgType DlgType)
{
    ShowMsgBox(Msg, DlgType, {plat::mbOK}, plat::mbOK);
}

void TQelDlg::ShowErrMsg(const std::string& Msg)
{
    ShowMsg(Msg, plat::mtError);
}

plat::TFileDialogResult TQelDlg::ShowOpen(const std::string& sTitle, const std::string& sInDir,
                                          const std::string& sDefExt, const std::string& sFilter,
                                          TOpenOptions oOptions)
{
    plat::TFileDialogOptions options;
    options.Title = sTitle;
    options.DefaultExt = WithoutDot(sDefExt);
    options.Filter = sFilter;
    options.InitialDir = GetFileDir(sInDir);
    options.PathMustExist = true;
    options.FileMustExist = oOptions.FileMustExist;
    options.AllowMultiSelect = oOptions.AllowMultiSelect;
    const TPointerKeeper pointer(MousePos);
    return plat::CurrentDialogs().OpenFileDialog(options);
}

bool TQelDlg::OpenFile(const std::string& sTitle, const std::string& sInDir, const std::string& sDefExt,
                       const std::string& sFilter, TOpenOptions oOptions, std::string& sFile)
{
    const plat::TFileDialogResult result = ShowOpen(sTitle, sInDir, sDefExt, sFilter, oOptions);
    sFile = result.FileName;
    return result.Confirmed;
}

bool TQelDlg::OpenQelFile(const std::string& sInDir, std::string& sOutFile, bool showQShock, bool showQREC)
{
    std::string filter = OpenQelFilter(showQShock);
    if (showQREC) {
        filter += "|QEL-Pro   (*.qrec)|*.qrec";
    }
    return OpenFile("", sInDir, RegSettings.sRegFileExt, filter, TOpenOptions{}, sOutFile);
}

bool TQelDlg::OpenTemplateFile(const std::string& sInDir, std::string& sOutFile)
{
    return OpenFile("", sInDir, RegSettings.sRegTemplateExt, TemplateFileFilter(), TOpenOptions{}, sOutFile);
}

bool TQelDlg::OpenMultipleQelFile(const std::string& sInDir, std::vector<std::string>& sOutFile, bool showQShock)
{
    const plat::TFileDialogResult result =
        ShowOpen("", sInDir, RegSettings.sRegFileExt, OpenQelFilter(showQShock), TOpenOptions{true, true});
    if (result.Confirmed) {
        sOutFile.insert(sOutFile.end(), result.FileNames.begin(), result.FileNames.end());
    }
    return result.Confirmed;
}

bool TQelDlg::CreateTemplateFile(const std::string& sInDir, std::string& sOutFile)
{
    if (!OpenFile("", sInDir, RegSettings.sRegTemplateExt, TemplateFileFilter(), TOpenOptions{false, false},
                  sOutFile)) {
        return false;
    }
    if (FileExist(sOutFile) || CreateEmptyFile(sOutFile)) {
        return true;
    }
    ShowErrMsg(WithFileName(plat::LoadResString(&SCannotOpenFile), sOutFile));
    return false;
}

bool TQelDlg::SelectDir(const std::string& sIn, std::string& sOut)
{
    plat::TFolderDialogOptions options;
    options.StartFolder = sIn;
    options.AllowCreateFolders = false;
    return SelectFolder(options, sOut);
}

bool TQelDlg::SelectDir(const std::string& sCaption, const std::string& sIn, std::string& sOut)
{
    return SelectDirectory("", sCaption, "", sIn, sOut, false, false, true);
}

bool TQelDlg::SelectDirectory(const std::string& sTitle, const std::string& Caption, const std::string& Root,
                              const std::string& StartFolder, std::string& sOut, bool EditBox, bool ShowFiles,
                              bool AllowCreateDirs)
{
    (void)sTitle;
    (void)Root;
    plat::TFolderDialogOptions options;
    options.Caption = Caption;
    options.StartFolder = StartFolder;
    options.RootAtStart = !StartFolder.empty();
    options.EditBox = EditBox;
    options.ShowFiles = ShowFiles;
    options.AllowCreateFolders = AllowCreateDirs;
    return SelectFolder(options, sOut);
}

bool TQelDlg::SelectFolder(const plat::TFolderDialogOptions& Options, std::string& sOut)
{
    const TPointerKeeper pointer(MousePos);
    const plat::TFolderDialogResult result = plat::CurrentDialogs().SelectFolderDialog(Options);
    sOut = result.Confirmed ? AddBackslash(result.Folder) : std::string();
    return result.Confirmed;
}

bool TQelDlg::SelectColor(std::uint32_t InColor, std::uint32_t& OutColor)
{
    const TPointerKeeper pointer(MousePos);
    const plat::TColorDialogResult result = plat::CurrentDialogs().ColorDialog(plat::TColorDialogOptions{InColor, {InColor}});
    OutColor = result.Confirmed ? result.Color : InColor;
    return result.Confirmed;
}

} // namespace qel
