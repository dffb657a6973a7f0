// TDateField: a date in the program's short date format ("dd.MM.yyyy",
// "MM/dd/yyyy", "yyyy-MM-dd", ...), edited segment by segment. It keeps a
// time of day beside the date, which Date leaves out.
#pragma once

#include "platform/controls/standard/date_time_field.h"

namespace plat {

class TDateField : public TCustomDateTimeField {
    PLAT_CLASS(TDateField, TCustomDateTimeField)
public:
    explicit TDateField(TComponent* owner) : TCustomDateTimeField(owner) {}

    // The date at midnight.
    TDateTime Date() const;
    // Takes the date of value, keeping the time; raises EConvertError for a
    // value outside the years 1..9999.
    void SetDate(TDateTime value);

protected:
    std::string DefaultFormat() const override;
};

} // namespace plat
