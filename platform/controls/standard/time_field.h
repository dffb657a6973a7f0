// TTimeField: a time of day in the program's long time format ("HH:mm:ss"),
// edited segment by segment, to the second. It keeps a date beside the
// time, which Time leaves out.
#pragma once

#include "platform/controls/standard/date_time_field.h"

namespace plat {

class TTimeField : public TCustomDateTimeField {
    PLAT_CLASS(TTimeField, TCustomDateTimeField)
public:
    explicit TTimeField(TComponent* owner) : TCustomDateTimeField(owner) {}

    // The hours, minutes and seconds as a fraction of a day.
    TDateTime Time() const;
    // Takes the hours, minutes and seconds of value (milliseconds dropped),
    // keeping the date; raises EConvertError for a value outside the years
    // 1..9999.
    void SetTime(TDateTime value);

protected:
    std::string DefaultFormat() const override;
};

} // namespace plat
