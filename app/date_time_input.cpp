// TDateTimeInput: the popup's layout, its preparation per mode, the three
// Execute operations with their conversions between seconds and fields,
// and the OK button's check.
#include "app/date_time_input.h"

#include "app/try_str_to_int.h"
#include "platform/controls/application.h"
#include "platform/controls/standard/button.h"
#include "platform/controls/standard/combo_box.h"
#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/date_field.h"
#include "platform/controls/standard/label.h"
#include "platform/controls/standard/panel.h"
#include "platform/controls/standard/time_field.h"
#include "platform/date_time.h"
#include "platform/float_format.h"
#include "platform/locale.h"
#include "platform/standard_texts.h"

#include <array>
#include <cmath>
#include <memory>

namespace qel {

PLAT_DEFINE_CLASS(TDateTimeInput, plat::TForm)

const char* const IntervalListText = "00:00:30,00:01:00,00:05:00,00:10:00,00:30:00,01:00:00,02:00:00,12:00:00,24:00:00";

namespace {

constexpr std::array<double, 9> IntervalTable{30, 60, 300, 600, 1800, 3600, 7200, 43200, 86400};

constexpr int FrameGap = 4;             // between the client edge and the mode's panel
constexpr int ModePanelHeight = 24;
constexpr int IntervalPanelWidth = 206; // the two buttons just fit below it
constexpr int ButtonStripHeight = 31;
constexpr int ButtonWidth = 100;
constexpr int ButtonHeight = 27;
constexpr int DateWidth = 135;
constexpr int TimeWidth = 89;
constexpr int NumberWidth = 64;         // milliseconds and days
constexpr int NumberDigits = 3;

template <class T>
T* NewControl(plat::TComponent* Owner, plat::TWinControl* Parent, const char* Name)
{
    T* control = new T(Owner);
    control->SetName(Name);
    control->SetParent(Parent);
    return control;
}

plat::TPanel* NewPanel(plat::TComponent* Owner, const char* Name)
{
    auto* panel = NewControl<plat::TPanel>(Owner, static_cast<plat::TWinControl*>(Owner), Name);
    panel->SetCaption("");
    panel->SetBevelOuter(plat::bvNone);
    return panel;
}

plat::TButton* NewButton(plat::TComponent* Owner, plat::TPanel* Strip, const char* Name)
{
    auto* button = NewControl<plat::TButton>(Owner, Strip, Name);
    button->SetBounds(0, 0, ButtonWidth, ButtonHeight);
    button->SetMargins({2, 2, 2, 2});
    button->SetAlignWithMargins(true);
    button->SetAlign(plat::alRight);
    return button;
}

// The field edits take three digits at most, typed ones only.
void DropNonDigits(plat::TObject*, char16_t& Key)
{
    if (Key >= u' ' && (Key < u'0' || Key > u'9')) {
        Key = 0;
    }
}

plat::TEdit* NewNumberEdit(plat::TComponent* Owner, plat::TPanel* Panel, const char* Name)
{
    auto* edit = NewControl<plat::TEdit>(Owner, Panel, Name);
    edit->SetAutoSize(false);
    edit->SetWidth(NumberWidth);
    edit->SetMaxLength(NumberDigits);
    edit->OnKeyPress = &DropNonDigits;
    return edit;
}

plat::TLabel* NewLabel(plat::TComponent* Owner, plat::TPanel* Panel, const char* Name)
{
    auto* label = NewControl<plat::TLabel>(Owner, Panel, Name);
    label->SetShowAccelChar(false);
    return label;
}

// Places a mode panel's controls side by side from the left, fields as
// high as the panel, labels centred, and makes the panel as wide as they are.
void LineUp(plat::TPanel& Panel)
{
    int x = 0;
    for (int i = 0; i < Panel.ControlCount(); ++i) {
        plat::TControl& control = *Panel.Controls(i);
        if (dynamic_cast<plat::TLabel*>(&control) != nullptr) {
            control.SetBounds(x, (ModePanelHeight - control.Height()) / 2, control.Width(), control.Height());
        } else {
            control.SetBounds(x, 0, control.Width(), ModePanelHeight);
        }
        x += control.Width();
    }
    Panel.SetWidth(x);
}

// The decimal separator of the user's locale, as the system reports it.
std::string LocaleDecimalSeparator()
{
    const std::string& separator = plat::CurrentLocaleProvider().UserDefaultLocale().DecimalSeparator;
    return separator.empty() ? std::string(".") : separator;
}

double RoundToMSec(double Seconds)
{
    return std::round(Seconds * 1000) / 1000;
}

} // namespace

void FillIntervalList(plat::TStrings& Items)
{
    Items.SetCommaText(IntervalListText);
}

double IntervalSeconds(int Index)
{
    return Index >= 0 && Index < static_cast<int>(IntervalTable.size()) ? IntervalTable[static_cast<std::size_t>(Index)]
                                                                        : 0;
}

TDateTimeInput::TDateTimeInput(plat::TComponent* AOwner) : plat::TForm(AOwner)
{
    SetName("DateTimeInput");
    SetBorderStyle(plat::bsNone);
    SetColor(plat::clBtnFace);
    if (plat::Application != nullptr) {
        SetCaption(plat::Application->Title());
    }
    Font()->SetName("Segoe UI");
    Font()->SetSize(9);
    OnPaint = plat::TNotifyEvent(this, &TDateTimeInput::FormPaint);

    panCtrl = NewPanel(this, "panCtrl");
    panCtrl->SetParentColor(true);
    panCtrl->SetHeight(ButtonStripHeight);
    panCtrl->SetMargins({3, 3, 3, 3});
    panCtrl->SetAlignWithMargins(true);
    panCtrl->SetAlign(plat::alBottom);
    // The first right-aligned button stands at the right edge.
    btnCancel = NewButton(this, panCtrl, "btnCancel");
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(plat::mrCancel);
    btnOK = NewButton(this, panCtrl, "btnOK");
    btnOK->OnClick = plat::TNotifyEvent(this, &TDateTimeInput::btnOKClick);
    btnOK->SetTabOrder(0);

    panDate = NewPanel(this, "panDate");
    panTime = NewPanel(this, "panTime");
    panInterval = NewPanel(this, "panInterval");
    for (plat::TPanel* panel : {panDate, panTime, panInterval}) {
        panel->SetBounds(FrameGap, FrameGap, IntervalPanelWidth, ModePanelHeight);
    }
    panCtrl->SetTabOrder(3);

    dtpDate = NewControl<plat::TDateField>(this, panDate, "dtpDate");
    dtpDate->SetWidth(DateWidth);
    dtpDateTime = NewControl<plat::TTimeField>(this, panDate, "dtpDateTime");
    dtpDateTime->SetWidth(TimeWidth);
    Label1 = NewLabel(this, panDate, "Label1");
    edtDateMSec = NewNumberEdit(this, panDate, "edtDateMSec");

    edtTimeDay = NewNumberEdit(this, panTime, "edtTimeDay");
    Label2 = NewLabel(this, panTime, "Label2");
    Label2->SetCaption(" + ");
    dtpTime = NewControl<plat::TTimeField>(this, panTime, "dtpTime");
    dtpTime->SetWidth(TimeWidth);
    Label3 = NewLabel(this, panTime, "Label3");
    edtTimeMSec = NewNumberEdit(this, panTime, "edtTimeMSec");

    cbxInterval = NewControl<plat::TComboBox>(this, panInterval, "cbxInterval");
    cbxInterval->SetStyle(plat::csDropDownList);
    cbxInterval->SetVisible(false);
    cbxInterval->SetAlign(plat::alClient);
    HandleNeeded();
}

void TDateTimeInput::PrepareForm(plat::TPoint Position, std::int32_t Mode)
{
    FType = Mode;
    SetColor(plat::clBtnFace);
    btnOK->SetCaption(plat::LoadResString(&plat::SButtonOK));
    btnCancel->SetCaption(plat::LoadResString(&plat::SButtonCancel));
    dtpDate->SetFormat(plat::FormatSettings().ShortDateFormat);
    dtpDateTime->SetFormat(plat::FormatSettings().LongTimeFormat);
    dtpTime->SetFormat(plat::FormatSettings().LongTimeFormat);
    std::string separator = " ";
    separator.append(LocaleDecimalSeparator()).append(" ");
    Label1->SetCaption(separator);
    Label3->SetCaption(separator);
    LineUp(*panDate);
    LineUp(*panTime);
    SetBounds(Position.X, Position.Y, Width(), Height());

    plat::TPanel* shown = Mode == 0 ? panDate : Mode == 1 ? panTime : panInterval;
    for (plat::TPanel* panel : {panDate, panTime, panInterval}) {
        panel->SetVisible(panel == shown);
    }
    if (Mode == 0) {
        panDate->SetColor(edtDateMSec->Color());
    } else if (Mode == 1) {
        panTime->SetColor(edtTimeMSec->Color());
    } else {
        FillIntervalList(cbxInterval->Items());
        cbxInterval->SetItemIndex(0);
        cbxInterval->SetVisible(true);
    }
    shown->SetBounds(FrameGap, FrameGap, shown->Width(), shown->Height());
    SetClientWidth(shown->Width() + 2 * FrameGap);
    SetClientHeight(shown->Height() + panCtrl->Height() + 2 * FrameGap);
}

void TDateTimeInput::DoShow()
{
    plat::TForm::DoShow();
    plat::TWinControl* first = FType == 0 ? static_cast<plat::TWinControl*>(dtpDate)
                               : FType == 1 ? static_cast<plat::TWinControl*>(edtTimeDay)
                                            : static_cast<plat::TWinControl*>(cbxInterval);
    if (first->CanFocus()) {
        SetActiveControl(first);
    }
}

int TDateTimeInput::ExecuteDate(plat::TPoint Position, double StartTime, double& Time)
{
    PrepareForm(Position, 0);
    FDateTime = StartTime + Time / plat::SecsPerDay;
    // One decoding for all three fields, so that a value rounding up to the
    // next second shows that second everywhere.
    const plat::TDateTimeParts parts = plat::DecodeDateTime(FDateTime);
    dtpDate->SetDate(plat::EncodeDate(parts.Year, parts.Month, parts.Day));
    dtpDateTime->SetTime(plat::EncodeTime(parts.Hour, parts.Minute, parts.Second, 0));
    edtDateMSec->SetText(plat::FormatFloat("000", parts.MilliSecond));
    const int result = ShowModal();
    if (result == plat::mrOk) {
        Time = RoundToMSec((FDateTime - StartTime) * plat::SecsPerDay);
    }
    return result;
}

int TDateTimeInput::ExecuteTime(plat::TPoint Position, double& Time)
{
    PrepareForm(Position, 1);
    double days = Time / plat::SecsPerDay;
    if (!std::isfinite(days)) {
        days = 0;
    }
    double whole = days > 0 ? std::trunc(days) : 0;
    // The time of day of what is left, to the millisecond (of a negative
    // duration, the time of its fraction's size); a rest that rounds to a
    // whole day is one more day, not the same day's midnight.
    double rest = std::fabs(days - whole);
    rest -= std::trunc(rest);
    std::int64_t msec = std::llround(rest * static_cast<double>(plat::MSecsPerDay));
    if (msec >= plat::MSecsPerDay) {
        msec = 0;
        whole += days > 0 ? 1 : 0;
    }
    const auto part = [&](std::int64_t unit, std::int64_t count) { return static_cast<int>(msec / unit % count); };
    edtTimeDay->SetText(plat::FormatFloat("0", whole));
    dtpTime->SetTime(plat::EncodeTime(part(3600000, 24), part(60000, 60), part(1000, 60), 0));
    edtTimeMSec->SetText(std::to_string(part(1, 1000)));
    const int result = ShowModal();
    if (result == plat::mrOk) {
        Time = RoundToMSec(FDateTime * plat::SecsPerDay);
    }
    return result;
}

int TDateTimeInput::ExecuteInterval(plat::TPoint Position, double& Time)
{
    PrepareForm(Position, 2);
    for (int i = 0; i < cbxInterval->Items().Count(); ++i) {
        if (IntervalSeconds(i) == Time) {
            cbxInterval->SetItemIndex(i);
            break;
        }
    }
    const int result = ShowModal();
    if (result == plat::mrOk) {
        Time = IntervalSeconds(cbxInterval->ItemIndex());
    }
    return result;
}

bool TDateTimeInput::CombineDateTime(std::int32_t MSec, double& Value) const
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int unused = 0;
    plat::DecodeDate(dtpDate->Date(), year, month, day);
    plat::DecodeTime(dtpDateTime->Time(), hour, minute, second, unused);
    return plat::TryEncodeDateTime({year, month, day, hour, minute, second, MSec}, Value);
}

bool TDateTimeInput::CombineDayTime(std::int32_t Days, std::int32_t MSec, double& Value) const
{
    if (Days < 0 || Days > 999 || MSec < 0 || MSec > 999) {
        return false;
    }
    int hour = 0;
    int minute = 0;
    int second = 0;
    int unused = 0;
    plat::DecodeTime(dtpTime->Time(), hour, minute, second, unused);
    Value = Days + plat::EncodeTime(hour, minute, second, MSec);
    return true;
}

void TDateTimeInput::btnOKClick(plat::TObject*)
{
    bool success = false;
    double value = FDateTime;
    std::int32_t msec = 0;
    std::int32_t days = 0;
    switch (FType) {
    case 0:
        if (!TryStrToInt(edtDateMSec->Text(), msec)) {
            return;
        }
        success = CombineDateTime(msec, value);
        break;
    case 1:
        if (!TryStrToInt(edtTimeDay->Text(), days) || !TryStrToInt(edtTimeMSec->Text(), msec)) {
            return;
        }
        success = CombineDayTime(days, msec, value);
        break;
    case 2:
        success = true;
        break;
    default:
        break;
    }
    if (!success) {
        SetColor(plat::clRed);
        return;
    }
    FDateTime = value;
    SetColor(plat::clBtnFace);
    SetModalResult(plat::mrOk);
}

void TDateTimeInput::FormPaint(plat::TObject*)
{
    plat::TCanvas& canvas = *Canvas();
    canvas.Brush()->SetStyle(plat::bsSolid);
    canvas.Brush()->SetColor(plat::clBlack);
    canvas.FrameRect(ClientRect());
}

int ExecuteDateInput(plat::TPoint Position, double StartTime, double& Time)
{
    const auto popup = std::make_unique<TDateTimeInput>(nullptr);
    return popup->ExecuteDate(Position, StartTime, Time);
}

} // namespace qel
