// TDateTimeInput: the small borderless popup that edits one time value in
// seconds and closes with OK (1) or Cancel (2). Date mode edits a date, a
// time of day and milliseconds standing for seconds after a start time;
// duration mode days, a time of day and milliseconds; interval mode one of
// nine fixed intervals. An OK whose fields do not make a value turns the
// popup red and keeps it open; the caller's value changes only on OK. The
// main window's time page opens it under its time fields through
// ExecuteDateInput.
#pragma once

#include "platform/canvas/graphics_types.h"
#include "platform/controls/form.h"

#include <cstdint>

namespace plat {
class TButton;
class TComboBox;
class TDateField;
class TEdit;
class TLabel;
class TPanel;
class TStrings;
class TTimeField;
} // namespace plat

namespace qel {

// The interval list as one comma-separated text, shortest first.
extern const char* const IntervalListText;
// Puts the nine intervals into Items, in order.
void FillIntervalList(plat::TStrings& Items);
// The seconds of the interval at Index; 0 for any other index (-1, none
// chosen, included).
double IntervalSeconds(int Index);

class TDateTimeInput : public plat::TForm {
    PLAT_CLASS(TDateTimeInput, plat::TForm)
public:
    explicit TDateTimeInput(plat::TComponent* AOwner);

    // Position is the screen point of the popup's top-left corner. Each
    // answers the modal result: 1 for OK, 2 for Cancel, Escape or closing.
    // Time, in seconds after StartTime (a calendar date-time in days), takes
    // the new value rounded to the millisecond on OK. Raises EConvertError,
    // before anything shows, when the date lies outside the years 1..9999.
    int ExecuteDate(plat::TPoint Position, double StartTime, double& Time);
    // Time is a duration in seconds; on OK the new one, rounded to the millisecond.
    int ExecuteTime(plat::TPoint Position, double& Time);
    // Time is an interval in seconds; the entry equal to it is chosen (else the
    // first); on OK the seconds of the chosen entry.
    int ExecuteInterval(plat::TPoint Position, double& Time);

    // OK: when the fields make a value, takes it and closes with 1; else the
    // popup turns red (non-numeric fields: nothing happens at all).
    void btnOKClick(plat::TObject* Sender);
    // A one-pixel black frame along the edge of the client area.
    void FormPaint(plat::TObject* Sender);

    // The popup's controls, owned by it.
    plat::TPanel* panCtrl;        // bottom strip with the two buttons
    plat::TButton* btnCancel;
    plat::TButton* btnOK;
    plat::TPanel* panDate;        // date mode
    plat::TPanel* panTime;        // duration mode
    plat::TPanel* panInterval;    // interval mode
    plat::TDateField* dtpDate;
    plat::TTimeField* dtpDateTime;
    plat::TLabel* Label1;         // decimal separator before the milliseconds (date mode)
    plat::TComboBox* cbxInterval;
    plat::TEdit* edtDateMSec;
    plat::TEdit* edtTimeDay;
    plat::TLabel* Label2;         // " + " between days and time (duration mode)
    plat::TTimeField* dtpTime;
    plat::TLabel* Label3;         // decimal separator before the milliseconds (duration mode)
    plat::TEdit* edtTimeMSec;

protected:
    // The first field of the mode shown takes the keyboard.
    void DoShow() override;

private:
    // Captions, formats, separators, place, the mode's panel and the size.
    void PrepareForm(plat::TPoint Position, std::int32_t Mode);
    // The date mode's fields as one date-time; false when they make none.
    bool CombineDateTime(std::int32_t MSec, double& Value) const;
    // The duration mode's fields as days; false for days or milliseconds
    // outside 0..999.
    bool CombineDayTime(std::int32_t Days, std::int32_t MSec, double& Value) const;

    std::int32_t FType = 0;   // 0 date, 1 duration, 2 interval
    double FDateTime = 0;     // the value in days: a date-time, or a duration
};

// Shows a popup of its own in date mode (ExecuteDate) and frees it, also
// when an error passes.
int ExecuteDateInput(plat::TPoint Position, double StartTime, double& Time);

} // namespace qel
