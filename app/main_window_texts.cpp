// The texts of the main window's controls, from the program texts of the
// language the start-up chose.
#include "app/main_window.h"

#include "foundations/language_switch.h"
#include "foundations/language_table.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/check_box.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/memo.h"
#include "platform/controls/standard/radio_button.h"
#include "platform/controls/standard/speed_button.h"

#include <utility>
#include <vector>

namespace qel {
namespace {

// The note of the binary file with time mark: a designed text, the same in
// every language.
const char* const BINARY_TIME_FILE_NOTE =
    "Hinweis:\r\nDie Binärdatei mit Zeitmarke enthält zu jedem Messwert seine Zeit.\r\n"
    "Sie eignet sich auch für Messdaten mit Zeitlücken.";

} // namespace

void TfrmMain::LoadLanguageRes()
{
    const std::vector<std::pair<plat::TControl*, plat::PResString>> texts = {
        {Label5, &SProgramDescription},
        {btnStart, &SStartButton},
        {btnExit, &SExitButton},
        {btnStartReport, &SReportButton},
        {Label6, &SSelectRecords},
        {btnInfoOK, &SNextButton},
        {btnInfoCancel, &SReadNewly},
        {Label2, &SFilesGenerated},
        {Label1, &SAccelerationRateNote},
        {btnFinishRepeat, &SRepeat},
        {btnFinishDir, &SDirectory},
        {btnFinishClose, &SExitButton},
        {btnProgressCancel, &SCancelButton},
        {Label7, &SReportLabel},
        {btnReportOK, &SOkButton},
        {Label8, &SCreatingFiles},
        {btnSaveCancel, &SCancelButton},
        {lblNextTitle, &SQelsReadSoFar},
        {btnNextContinue, &SContinueButton},
        {btnNextSave, &SSaveButton},
        {btnNextCancel, &SCancelButton},
        {lblTitleCutChannels, &SChannelsStep},
        {memHintBig, &SBigDataNote},
        {btnCutChannelsNext, &SNextButton},
        {btnCutChannelsBackShock, &SBackButton},
        {btnCutChannelsBack, &SDirectory},
        {lblTitleCutTime, &STimeStep},
        {lblCutTimeStart, &SStartTimeLabel},
        {lblCutTimeBegin, &SBeginningLabel},
        {lblCutTimeEnd, &SEndLabel},
        {btnCutTimeNext, &SNextButton},
        {btnCutTimeBack, &SBackButton},
        {lblTitleCutFile, &SDestinationStep},
        {lblCutFileFormat, &SFileFormat},
        {lblCutFileLimit, &SLimitationParameter},
        {rbnCutFileMax, &SMaximum},
        {lblCutFileValues, &SValues},
        {memFileHint, &SAverageRateNote},
        {menFileQRECHint, &SContainerFormatNote},
        {btnCutFileNext, &SNextButton},
        {btnCutFileBack, &SBackButton},
        {lblTitleOptionFile, &SOptionsStep},
        {chkOptionCsv, &SStartCsvConverter},
        {btnOptionFileNext, &SNextButton},
        {btnOptionFileBack, &SBackButton},
        {lblShockTab, &SAccelerationMeasurement},
        {rbnShockQSHOCK, &SJartoscope},
        {memShockQSHOCKHint, &SShockFileNote},
        {rbnShockQEL, &SStandard},
        {memShockQELHint, &SOtherFormatsNote},
        {btnShockNext, &SNextButton},
        {btnShockDir, &SDirectory},
    };
    for (const auto& [control, text] : texts) {
        control->SetCaption(LoadLanguageStr(text));
    }
    memFile2Hint->SetCaption(BINARY_TIME_FILE_NOTE);
    SpeedButton1->SetCaption("...");
    SpeedButton2->SetCaption("...");
}

} // namespace qel
