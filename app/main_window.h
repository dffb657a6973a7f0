// TfrmMain: the program's only main window, a page wizard. A page container
// without tabs shows one of twelve pages at a time; every step of the work
// is one page change through ShowPage. The window starts the workers of
// card reading and saving, one at a time, receives their status messages,
// shows their progress and errors, and closes by a protocol that lets a
// running worker stop first.
//
// The class is split by concern: creation, caption, titles and the page
// change (main_window.cpp); the pages' controls (main_window_pages.cpp);
// their texts (main_window_texts.cpp); worker messages, errors and the two
// text callbacks (main_window_workers.cpp); the buttons that move between
// pages (main_window_steps.cpp); the close protocol and the saved-file
// record (main_window_close.cpp).
#pragma once

#include "app/saved_file_record.h"
#include "app/worker_slot.h"
#include "foundations/byte_helpers.h"
#include "platform/controls/form.h"
#include "platform/resource_strings.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

// Posted by the window to itself while the record tree fills in steps.
constexpr plat::UINT WM_FILL_RECORD_TREE = plat::WM_USER + 20;

namespace plat {
class TBevel;
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TLabel;
class TListItem;
class TListView;
class TMemo;
class TMenuItem;
class TPanel;
class TPopupMenu;
class TRadioButton;
class TSpeedButton;
class TThread;
} // namespace plat

namespace qel {

class TPgcEditor;
class TPgcMeter;
class TPgcNotebook;
class TPgcTabPage;
class TRecordTree;
class TSaveFileThread;
class TValidateEdit;

// The wizard's pages, by index in the page container.
constexpr int PAGE_START = 0;          // pgStart: the card is chosen
constexpr int PAGE_INFO = 1;           // pgInfo: the record tree
constexpr int PAGE_FINISH = 2;         // pgFinish: the files written
constexpr int PAGE_PROGRESS = 3;       // pgProgress: a card read runs
constexpr int PAGE_REPORT = 4;         // pgReport: never shown
constexpr int PAGE_SAVE = 5;           // pgSave: a save runs
constexpr int PAGE_NEXT = 6;           // pgNext: never shown
constexpr int PAGE_CUT_CHANNELS = 7;   // pgCutterChannels: channels to save
constexpr int PAGE_CUT_TIME = 8;       // pgCutterTime: the time window
constexpr int PAGE_CUT_FILE = 9;       // pgCutterFile: format and size limit, never shown
constexpr int PAGE_OPTION_FILE = 10;   // pgOptionFile: options of a shock-file save
constexpr int PAGE_SHOCK = 11;         // pgShock: shock file or the standard road
constexpr int WIZARD_PAGE_COUNT = 12;

// Output types of the next save (FCutFileType).
constexpr std::int32_t CUT_FILE_QEL = 0;
constexpr std::int32_t CUT_FILE_MATLAB = 1;
constexpr std::int32_t CUT_FILE_BINARY = 2;
constexpr std::int32_t CUT_FILE_QSHOCK = 3;
constexpr std::int32_t CUT_FILE_BINARY_TIME = 4;
constexpr std::int32_t CUT_FILE_QREC = 5;

// Close states (FCanClose): no request yet -> a request refused while the
// workers stop -> the timer fired and the next request is granted.
constexpr std::int32_t CLOSE_NOT_ASKED = 0;
constexpr std::int32_t CLOSE_PENDING = 1;
constexpr std::int32_t CLOSE_ALLOWED = 10;
// How long a refused close waits for the workers to stop.
constexpr unsigned CLOSE_DELAY_MS = 1000;

// The application title while no percentage shows; also the name of the
// single-instance guard, so only that title lets a second start find us.
inline const std::string APPLICATION_TITLE = "KORVEL ";

class TfrmMain : public plat::TForm {
    PLAT_CLASS(TfrmMain, plat::TForm)
    PLAT_MESSAGES(TfrmMain, plat::TForm)
public:
    // The designed window: its twelve pages and their controls
    // (main_window_pages.cpp). OnCreate is FormCreate.
    explicit TfrmMain(plat::TComponent* AOwner);
    // The window's end (FormDestroy): the reader section of the settings is
    // written and the saved-file record closed.
    ~TfrmMain() override;

    // ---- creation, caption and titles ----
    void FormCreate(plat::TObject* Sender);
    // Window caption := FTitle + " [64]" + two blanks + Text, then " [" +
    // the debug mode's name + "]" while a debug mode is on.
    void SetCaption(const std::string& Text);
    // Application title := Percent + " %" for 0 .. 100; other values leave it.
    void ShowProgressTitle(int Percent);
    // Application title := "KORVEL "; a minimised application is restored,
    // one that is not active is brought to the front.
    void RestoreTitle();
    // The language texts into the controls (after SetLanguage chose them).
    void LoadLanguageRes();
    // The page change: the page's set-up, the page shown, its focus.
    void ShowPage(int Page);

    // ---- workers ----
    // One worker at a time: while a card reader or a saver is held, nothing
    // happens and the answer is false. Otherwise Create makes the worker
    // and starts it, and the window holds it until its final message.
    bool RunCardWorker(const std::function<std::shared_ptr<plat::TThread>()>& Create);
    bool RunSaveWorker(const std::function<std::shared_ptr<TSaveFileThread>()>& Create);
    bool WorkerRunning() const { return FCardThread.Held() || FSaveFileThread.Held(); }
    // At the program's end: every held worker is told to stop and joined.
    void StopWorkers();
    void WMCardDirStatus(plat::TMessage& Message);
    void WMCardDataStatus(plat::TMessage& Message);
    // The next step of the record tree's fill (WM_FILL_RECORD_TREE).
    void WMFillRecordTree(plat::TMessage& Message);
    void WMSaveStatus(plat::TMessage& Message);
    // The handler of exceptions that leave an event handler: the error text,
    // except for the codes 3 and 21, and never for a dialog no script
    // expected (the scripted dialogs end that run themselves).
    void AppException(plat::TObject* Sender, const std::exception& E);
    // The text of an error code in an error box.
    void ShowErrorCode(std::int32_t Code);

    // ---- text lines of a save ----
    // On the user-interface thread: a report line (kept only while the
    // reader setting Report is on), a written file's full name (saved-file
    // record, then the finish page's list).
    void AddReport(const std::string& sText);
    void AddSaveInfo(const std::string& sText);
    // The callbacks a save thread gets: they hand each line to this window's
    // thread, in order, ahead of the thread's final message.
    TAddReport ReportCallback();
    TAddReport SaveInfoCallback();

    // ---- close protocol and saved-file record ----
    void FormCloseQuery(plat::TObject* Sender, bool& CanClose);
    void CloseTimerTimer();
    std::int32_t CanCloseState() const { return FCanClose; }
    void OpenLogFile(const std::string& FileName);
    void WriteLogLine(const std::string& Text);
    void CloseLogFile();
    bool LogFileActive() const { return FResFile.Active(); }

    // ---- card selection, directory read and record tree ----
    // The open dialog, then the directory read of the chosen container.
    void btnStartClick(plat::TObject* Sender);
    // The card image from FileName (and after "qel.dat" its numbered
    // neighbours, when the user wants them) and the directory reader started.
    void StartReadDir(const std::string& FileName);
    // The record tree filled from the record list; Next enabled when it
    // shows a record.
    void FillRecordTree();
    // The record list of every logger into "directory list.txt" of the data
    // folder, reported by a box.
    void popSaveDirClick(plat::TObject* Sender);

    // ---- data read, channels and time window ----
    // Next on the record page: the checked records of the checked logger
    // selected and, when there is one, their data read.
    void btnInfoOkClick(plat::TObject* Sender);
    // The logger of the first selected record (EQel 30, after page 0, when
    // its model does not know the version) and the data reader started.
    void StartReadData();
    // The channel list's columns, once at creation.
    void InitChannelList();
    // The channel list's rows and the time page's fields from the read list.
    void FillChannelList();
    void lvwCutChannelsItemChecked(plat::TObject* Sender, plat::TListItem* Item);
    // The date and time popup under the begin and the end field.
    void SpeedButton1Click(plat::TObject* Sender);
    void SpeedButton2Click(plat::TObject* Sender);

    // ---- saving ----
    // Next on the time page: both fields valid, then the container format
    // without size limit and the save.
    void btnCutTimeNextClick(plat::TObject* Sender);
    // Next on the format page: the size limit and output type, then the save.
    void btnCutFileNextClick(plat::TObject* Sender);
    // Next on the options page: the shock file's save.
    void btnOptionFileNextClick(plat::TObject* Sender);
    // The buffers and the time window (or the whole read of a shock file),
    // the output file, the save thread.
    void StartSave();
    // Proposes a unique name in the data folder and asks for the output
    // file; EQel (21) when the dialog is cancelled. False, after an error
    // box naming it, when the chosen file cannot be written there.
    bool ChooseOutputFile(std::int32_t FileType, std::int64_t StartTime);
    void StartSaveThread(std::int32_t TimeMode, std::int64_t TimeStart, std::int64_t TimeEnd);

    // ---- steps between pages ----
    void btnExitClick(plat::TObject* Sender);
    void btnInfoCancelClick(plat::TObject* Sender);
    void btnReportOKClick(plat::TObject* Sender);
    void btnProgressCancelClick(plat::TObject* Sender);
    void btnSaveCancelClick(plat::TObject* Sender);
    void btnCutChannelsNextClick(plat::TObject* Sender);
    void btnCutChannelsBackShockClick(plat::TObject* Sender);
    void btnCutChannelsBackClick(plat::TObject* Sender);
    void btnCutTimeBackClick(plat::TObject* Sender);
    void btnOptionFileBackClick(plat::TObject* Sender);
    void btnShockNextClick(plat::TObject* Sender);
    void btnFinishRepeatClick(plat::TObject* Sender);
    void btnFinishDirClick(plat::TObject* Sender);
    void btnFinishCloseClick(plat::TObject* Sender);
    void cbxCutFileFormatChange(plat::TObject* Sender);

    // The page shown, and what a run's record follows: every page change,
    // every written file the finish page lists, every close request with
    // whether it closed the window.
    int PageIndex() const;
    std::function<void(int Page)> OnPageShown;
    std::function<void(const std::string& FileName)> OnFileListed;
    std::function<void(bool Granted)> OnCloseRequested;

    // ---- the designed controls ----
    TPgcNotebook* PgcNotebook1 = nullptr;
    TPgcTabPage* pgStart = nullptr;
    TPgcTabPage* pgInfo = nullptr;
    TPgcTabPage* pgFinish = nullptr;
    TPgcTabPage* pgProgress = nullptr;
    TPgcTabPage* pgReport = nullptr;
    TPgcTabPage* pgSave = nullptr;
    TPgcTabPage* pgNext = nullptr;
    TPgcTabPage* pgCutterChannels = nullptr;
    TPgcTabPage* pgCutterTime = nullptr;
    TPgcTabPage* pgCutterFile = nullptr;
    TPgcTabPage* pgOptionFile = nullptr;
    TPgcTabPage* pgShock = nullptr;
    // page 0
    plat::TLabel* Label5 = nullptr;
    plat::TButton* btnStart = nullptr;
    plat::TButton* btnExit = nullptr;
    plat::TButton* btnStartReport = nullptr;
    // page 1
    plat::TLabel* Label6 = nullptr;
    TRecordTree* DT = nullptr;
    plat::TPopupMenu* PopupMenu1 = nullptr;
    plat::TMenuItem* popSaveDir = nullptr;
    plat::TButton* btnInfoOK = nullptr;
    plat::TButton* btnInfoCancel = nullptr;
    // page 2
    plat::TLabel* Label2 = nullptr;
    TPgcEditor* oedResult = nullptr;
    plat::TLabel* Label1 = nullptr;
    plat::TButton* btnFinishRepeat = nullptr;
    plat::TButton* btnFinishDir = nullptr;
    plat::TButton* btnFinishClose = nullptr;
    // page 3
    plat::TLabel* lblInfo = nullptr;
    TPgcMeter* omeProgress = nullptr;
    plat::TLabel* lblBaudrate = nullptr;
    plat::TButton* btnProgressCancel = nullptr;
    // page 4
    plat::TLabel* Label7 = nullptr;
    TPgcEditor* oedReport = nullptr;
    plat::TButton* btnReportOK = nullptr;
    // page 5
    plat::TLabel* Label8 = nullptr;
    TPgcMeter* omeSave = nullptr;
    plat::TButton* btnSaveCancel = nullptr;
    // page 6
    plat::TLabel* lblNextTitle = nullptr;
    TPgcEditor* oedNext = nullptr;
    plat::TComboBox* cbxPort2 = nullptr;
    plat::TSpeedButton* sbnInterfaceRefresh2 = nullptr;
    plat::TButton* btnNextContinue = nullptr;
    plat::TButton* btnNextSave = nullptr;
    plat::TButton* btnNextCancel = nullptr;
    // page 7
    plat::TLabel* lblTitleCutChannels = nullptr;
    plat::TListView* lvwCutChannels = nullptr;
    plat::TMemo* memHintBig = nullptr;
    plat::TButton* btnCutChannelsNext = nullptr;
    plat::TButton* btnCutChannelsBackShock = nullptr;
    plat::TButton* btnCutChannelsBack = nullptr;
    // page 8
    plat::TLabel* lblTitleCutTime = nullptr;
    plat::TLabel* lblCutTimeStart = nullptr;
    plat::TLabel* lblCutTimeBegin = nullptr;
    plat::TLabel* lblCutTimeEnd = nullptr;
    plat::TEdit* edtCutTimeStart = nullptr;
    TValidateEdit* vedCutTimeBegin = nullptr;
    TValidateEdit* vedCutTimeEnd = nullptr;
    plat::TSpeedButton* SpeedButton1 = nullptr;
    plat::TSpeedButton* SpeedButton2 = nullptr;
    plat::TButton* btnCutTimeNext = nullptr;
    plat::TButton* btnCutTimeBack = nullptr;
    // page 9
    plat::TLabel* lblTitleCutFile = nullptr;
    plat::TLabel* lblCutFileFormat = nullptr;
    plat::TComboBox* cbxCutFileFormat = nullptr;
    plat::TLabel* lblCutFileLimit = nullptr;
    plat::TRadioButton* rbnCutFileMax = nullptr;
    plat::TRadioButton* rbnCutFileUser = nullptr;
    TValidateEdit* vedCutFileUser = nullptr;
    plat::TLabel* lblCutFileValues = nullptr;
    plat::TMemo* memFileHint = nullptr;
    plat::TMemo* memFile2Hint = nullptr;
    plat::TMemo* menFileQRECHint = nullptr;
    plat::TButton* btnCutFileNext = nullptr;
    plat::TButton* btnCutFileBack = nullptr;
    // page 10
    plat::TLabel* lblTitleOptionFile = nullptr;
    plat::TCheckBox* chkOptionCsv = nullptr;
    plat::TCheckBox* chkOptionViewer = nullptr;
    plat::TButton* btnOptionFileNext = nullptr;
    plat::TButton* btnOptionFileBack = nullptr;
    // page 11
    plat::TLabel* lblShockTab = nullptr;
    plat::TRadioButton* rbnShockQSHOCK = nullptr;
    plat::TMemo* memShockQSHOCKHint = nullptr;
    plat::TRadioButton* rbnShockQEL = nullptr;
    plat::TMemo* memShockQELHint = nullptr;
    plat::TButton* btnShockNext = nullptr;
    plat::TButton* btnShockDir = nullptr;

private:
    // main_window_pages.cpp
    void CreatePages();
    void CreateStartPage();
    void CreateInfoPage();
    void CreateFinishPage();
    void CreateProgressPage();
    void CreateReportPage();
    void CreateSavePage();
    void CreateNextPage();
    void CreateCutChannelsPage();
    void CreateCutTimePage();
    void CreateCutFilePage();
    void CreateOptionFilePage();
    void CreateShockPage();
    void ConnectEvents();

    // main_window_card_read.cpp
    // Everything a former read left: loggers, records, read data and the
    // views showing them (not the finish page's list), then the card image.
    void ClearFormerRead();
    // main_window_info_page.cpp
    void InitInfoTree();
    // Next on the record page while the tree shows a record.
    void EnableInfoNext();

    // main_window_data_read.cpp
    // The loggers and the read data, with the save list referring to them.
    void ClearReadData();
    void DataReadFinished();
    // Next on the channel page only while a channel is checked.
    void UpdateChannelsNext();
    // The popup under Field, which takes the seconds chosen on OK.
    void EditTimeInPopup(TValidateEdit& Field);

    // main_window_save.cpp
    // Broadcast and finish page, or an error when the save named no file.
    void SaveFinished();

    // main_window.cpp
    void ApplySwitches();
    void PreparePage(int Page);
    void FocusPage(int Page);

    // main_window_workers.cpp
    // The common part of every final message: the worker let go, the title back.
    void WorkerEnded(TWorkerSlot& Slot);
    void ReportProgress(TPgcMeter& Meter, plat::LPARAM Percent);
    // A card reader's status message; Reading names what it reads, Finished
    // is the step after its end.
    void CardReaderStatus(plat::TMessage& Message, plat::PResString Reading, void (TfrmMain::*Finished)());
    void CardReadFailed(std::int32_t Code);
    // The record page shown after the directory read: the record tree fills
    // in steps, the page painted after the first; OK waits for the last.
    void DirectoryReadFinished();
    // One step of that fill; the next is posted until the tree is full.
    void FillRecordTreeStep(int Count);
    void ShowErrorText(const std::string& Text);
    // The first selected record of the record list is a shock recording.
    bool ActiveRecordIsShock() const;

    void WMTimer(plat::TMessage& Message);

    std::string FTitle;                      // front part of the window caption
    std::int32_t FCanClose = CLOSE_NOT_ASKED;
    TWorkerSlot FCardThread;                 // the running card-directory or card-data reader
    std::string FFileDir;                    // folder the open dialog starts in
    TWorkerSlot FSaveFileThread;             // the running saver
    double FCutStartTime = 0;                // calendar time of the read's first sample
    std::int32_t FCutFileType = CUT_FILE_QEL;
    TSavedFileRecord FResFile;               // the saved-file record of "f:"
    bool FQShock = false;                    // the last data read is a shock recording
    int FFilesListed = 0;                    // files the running or last save has named
};

} // namespace qel
